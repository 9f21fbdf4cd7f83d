// SPDX-License-Identifier: MIT
#pragma once

// Plain enumeration of ordered tuples with distinct values above 0, one value per position: the
// reference the fast counter is checked against.

#include <algorithm>
#include <span>
#include <vector>

namespace ztc::oracle {

inline double bruteForceCount(std::span<const std::vector<double>> positions) {
    std::vector<double> chosen;
    auto count = [&](auto &self, std::size_t depth) -> double {
        if (depth == positions.size())
            return 1;
        double n = 0;
        for (double v : positions[depth]) {
            if (!(v > 0) || std::find(chosen.begin(), chosen.end(), v) != chosen.end())
                continue;
            chosen.push_back(v);
            n += self(self, depth + 1);
            chosen.pop_back();
        }
        return n;
    };
    return positions.empty() ? 0 : count(count, 0);
}

} // namespace ztc::oracle
