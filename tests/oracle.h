// SPDX-License-Identifier: MIT
#pragma once

// Plain enumeration of ordered tuples with distinct values above 0, one value per position: the
// reference the fast counter is checked against.

#include "play.h"

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

// Every combination of the card's running runners, each looked for in every ticket: the
// different ones and those more than one ticket holds.
inline Overlap bruteForceOverlap(const WagerType &wager, const Card &card,
                                 std::span<const Ticket> tickets) {
    Overlap overlap;
    std::vector<std::array<QList<int>, kLegCount>> held;
    for (const Ticket &ticket : tickets)
        for (std::array<QList<int>, kLegCount> &legs = held.emplace_back();
             int leg : {1, 2, 3, 4, 5, 6})
            legs[std::size_t(leg - 1)] = ticket.running(leg, card);
    std::vector<int> combination;
    auto walk = [&](auto &self, int leg) -> void {
        if (leg > wager.legs) {
            int holders = 0;
            for (const auto &legs : held) {
                bool holds = true;
                for (int l = 1; l <= wager.legs && holds; ++l)
                    holds = legs[std::size_t(l - 1)].contains(combination[std::size_t(l - 1)]);
                holders += holds;
            }
            overlap.different += holders >= 1;
            overlap.heldTwice += holders >= 2;
            return;
        }
        for (int runner : card.race(leg).running()) {
            if (wager.isExotic() &&
                std::find(combination.begin(), combination.end(), runner) != combination.end())
                continue;
            combination.push_back(runner);
            self(self, leg + 1);
            combination.pop_back();
        }
    };
    walk(walk, 1);
    return overlap;
}

} // namespace ztc::oracle
