// SPDX-License-Identifier: MIT
#include "state.h"

#include <algorithm>

namespace ztc {

void CalcState::clearLeg(int leg) {
    RunnerArray &r = runners(leg);
    std::fill(r.begin() + 1, r.end(), 0.0);
    idex(leg) = 0;
}

void CalcState::clearAllLegs() {
    for (int leg = 1; leg <= kLegCount; ++leg)
        clearLeg(leg);
}

} // namespace ztc
