// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace ztc {

// Room for the largest field; position 0 is never used.
using RunnerArray = std::array<double, kMaxField + 1>;

// The one record of state that the window's handlers and the calculation share.
struct CalcState {
    double dblBaseAmt = 0;
    bool bolBaseInUsDollars = false; // else in the locale's own currency

    qint16 intIdexA = 0, intIdexB = 0, intIdexC = 0, intIdexD = 0, intIdexE = 0, intIdexF = 0;

    RunnerArray dblRunnersA{}, dblRunnersB{}, dblRunnersC{}, dblRunnersD{}, dblRunnersE{},
        dblRunnersF{};

    bool bolAutoListPopulateUnderway = false;
    QString strTextPersisted;
    qint16 intHelpMode = 0;

    // Per-leg access, leg 1 to 6.
    qint16 &idex(int leg) { return this->*kIdex[index(leg)]; }
    qint16 idex(int leg) const { return this->*kIdex[index(leg)]; }
    RunnerArray &runners(int leg) { return this->*kRunners[index(leg)]; }
    const RunnerArray &runners(int leg) const { return this->*kRunners[index(leg)]; }

    // Zero positions 1 onward of one leg's array and its count; position 0 stays as it is.
    void clearLeg(int leg);
    void clearAllLegs();

    bool operator==(const CalcState &) const = default;

  private:
    static std::size_t index(int leg) {
        Q_ASSERT(leg >= 1 && leg <= kLegCount);
        return static_cast<std::size_t>(leg - 1);
    }
    static constexpr std::array kIdex{&CalcState::intIdexA, &CalcState::intIdexB,
                                      &CalcState::intIdexC, &CalcState::intIdexD,
                                      &CalcState::intIdexE, &CalcState::intIdexF};
    static constexpr std::array kRunners{&CalcState::dblRunnersA, &CalcState::dblRunnersB,
                                         &CalcState::dblRunnersC, &CalcState::dblRunnersD,
                                         &CalcState::dblRunnersE, &CalcState::dblRunnersF};
};

} // namespace ztc
