// SPDX-License-Identifier: MIT
#pragma once

// The plain nested enumeration of ordered tuples with distinct values, one loop per position:
// the reference the fast counter is checked against.

#include <cstddef>
#include <span>
#include <vector>

namespace ztc::oracle {

inline double enumerate(std::span<const std::vector<double>> positions, std::size_t depth,
                        std::vector<double> &chosen) {
    if (depth == positions.size())
        return 1;
    double count = 0;
    for (double v : positions[depth]) {
        if (!(v > 0))
            continue;
        bool repeated = false;
        for (double c : chosen)
            repeated = repeated || c == v;
        if (repeated)
            continue;
        chosen.push_back(v);
        count += enumerate(positions, depth + 1, chosen);
        chosen.pop_back();
    }
    return count;
}

inline double bruteForceCount(std::span<const std::vector<double>> positions) {
    if (positions.empty())
        return 0;
    std::vector<double> chosen;
    return enumerate(positions, 0, chosen);
}

} // namespace ztc::oracle
