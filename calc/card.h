// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <array>
#include <functional>

namespace ztc {

// A race as it is run: runners 1 to runners, of whom the scratched run in no combination and can
// never be chosen. A handicapper grades runners A, B or C, for the A-B-C tickets made of them.
struct Race {
    int runners = 0;
    QSet<int> scratched;
    QHash<int, char> grades;

    bool runs(int runner) const {
        return runner >= 1 && runner <= runners && !scratched.contains(runner);
    }
    // Those who run, in number order; of a grade, where one is given.
    QList<int> running(char grade = 0) const;

    bool operator==(const Race &) const = default;
};

// The races a ticket is made over. A multi-race wager's legs are races of their own; a same-race
// exotic's legs are all the one race, so what changes one leg's race changes every leg's.
class Card {
  public:
    Card() = default;
    // Every race of that many runners (at most kMaxField), none scratched.
    Card(WagerKind kind, int runners);

    WagerKind kind() const { return m_kind; }
    // Another kind of wager over the same races, as they are.
    void setKind(WagerKind kind) { m_kind = kind; }
    bool oneRace() const { return m_kind == WagerKind::SameRaceExotic; }
    const Race &race(int leg) const { return m_races[std::size_t(leg - 1)]; }

    // Changes the leg's race, which for one race is every leg's. A race never holds more than
    // kMaxField runners, nor scratches beyond its runners.
    void change(int leg, const std::function<void(Race &)> &how);
    void scratch(int leg, int runner, bool scratched);
    void setRunners(int leg, int runners);
    void restoreAll(int leg);
    // Grades the runner A, B or C, or (0) takes his grade away.
    void grade(int leg, int runner, char grade);
    // Every race that many runners, keeping the scratches that still fall within them.
    void resize(int runners);

    bool operator==(const Card &) const = default;

  private:
    WagerKind m_kind = WagerKind::MultiRace;
    std::array<Race, kLegCount> m_races{};
};

} // namespace ztc
