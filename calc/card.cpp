// SPDX-License-Identifier: MIT
#include "card.h"

#include <algorithm>

namespace ztc {

QList<int> Race::running(char grade) const {
    QList<int> runs;
    for (int runner = 1; runner <= runners; ++runner)
        if (!scratched.contains(runner) && (!grade || grades.value(runner) == grade))
            runs << runner;
    return runs;
}

Card::Card(WagerKind kind, int runners) : m_kind(kind) {
    for (Race &race : m_races)
        race.runners = std::clamp(runners, 0, kMaxField);
}

void Card::change(int leg, const std::function<void(Race &)> &how) {
    Race race = this->race(leg);
    how(race);
    race.runners = std::clamp(race.runners, 0, kMaxField);
    const auto beyond = [&](int runner) { return !(runner >= 1 && runner <= race.runners); };
    race.scratched.removeIf(beyond);
    race.grades.removeIf([&](const auto &graded) { return beyond(graded.key()); });
    for (int l = 1; l <= kLegCount; ++l)
        if (l == leg || oneRace())
            m_races[std::size_t(l - 1)] = race;
}

void Card::scratch(int leg, int runner, bool scratched) {
    change(leg, [&](Race &race) {
        if (scratched)
            race.scratched.insert(runner);
        else
            race.scratched.remove(runner);
    });
}

void Card::setRunners(int leg, int runners) {
    change(leg, [&](Race &race) { race.runners = runners; });
}

void Card::restoreAll(int leg) {
    change(leg, [](Race &race) { race.scratched.clear(); });
}

void Card::grade(int leg, int runner, char grade) {
    change(leg, [&](Race &race) {
        if (grade)
            race.grades.insert(runner, grade);
        else
            race.grades.remove(runner);
    });
}

void Card::resize(int runners) {
    for (int leg = 1; leg <= kLegCount; ++leg)
        setRunners(leg, runners);
}

} // namespace ztc
