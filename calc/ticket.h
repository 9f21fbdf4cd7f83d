// SPDX-License-Identifier: MIT
#pragma once

#include "card.h"
#include "catalogue.h"
#include "state.h"

#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace ztc {

// What the calculation reads of a runner list: each item's text and whether it is selected.
struct ListItem {
    QString text;
    bool selected = false;

    bool operator==(const ListItem &) const = default;
};
using RunnerList = QList<ListItem>;

// Everything the calculation reads besides the state record.
struct TicketInput {
    QString wagerType;
    std::array<RunnerList, kLegCount> legs; // leg A first

    const RunnerList &leg(int n) const { return legs[static_cast<std::size_t>(n - 1)]; }
    RunnerList &leg(int n) { return legs[static_cast<std::size_t>(n - 1)]; }
};

// Ordered tuples taking one value from each position with no value twice; values not above 0
// never take part. Cost grows with the number of values, not with their product.
double countDistinctTuples(std::span<const std::vector<double>> positions);

// Combinations of a same-race exotic: Exacta and Trifecta from the lists' selections,
// Superfecta and Super High 5 from the runner arrays and counts of the record. 0 for a missing
// or empty text and for any text that names none of the four.
double CountExoticCombos(const std::optional<QString> &wagerType, const TicketInput &input,
                         const CalcState &state);

// Steps shared by every run: zero runner positions 1 onward and every count.
void resetRunnerStore(CalcState &state);

// The ticket text for one recognised wager type. It rebuilds the runner store from scratch,
// filling the arrays and counts for a Superfecta and a Super High 5, so that a second call for
// the same selections (a nested recalculation) cannot store the runners twice.
QString describeTicket(const WagerType &wager, const TicketInput &input, CalcState &state,
                       const QLocale &locale);

// One whole calculation. Nothing happens in help mode; otherwise the store is reset and the
// ticket text returned, or nothing when the wager-type text names no wager type.
std::optional<QString> calculateTicket(const TicketInput &input, CalcState &state,
                                       const QLocale &locale);

// What a leg's list holds for its race: "1" to its runners, at most kMaxField, then "All"; the
// chosen runners selected, but for those who do not run.
RunnerList raceList(const Race &race, const QSet<int> &chosen);

// What a ticket covers, with the maths a handicapper checks by hand: its factors are each leg's
// runners for a multi-race wager; for a same-race exotic whose legs nest (a box, a key), the
// runners each position has left once the positions before it have taken theirs. A part-wheel's
// legs overlap otherwise: its factors are its legs' runners, and their product counts the
// combinations that would use a horse twice as well.
struct TicketCount {
    double combinations = 0;
    QList<double> factors;

    double product() const;
    bool operator==(const TicketCount &) const = default;
};

// The count of the legs' runners (values not above 0 take no part) for a wager type.
TicketCount countLegs(const WagerType &wager, std::span<const std::vector<double>> legs);

// The count for the wager type the input names, from its legs' selections, as the ticket's total
// counts them; nothing where the text names no wager type.
std::optional<TicketCount> countTicket(const TicketInput &input);

// "154 combinations", "1 combination", in the locale's digits.
QString describeCombinations(double combinations, const QLocale &locale);

// "2 × 11 × 7 × 1 = 154 combinations", "3 × 2 × 1 = 6 combinations", or for a part-wheel
// "2 × 3 × 4 = 24; 16 use a horse twice: 8 combinations", in the locale's digits.
QString describeCount(const TicketCount &count, const QLocale &locale);

} // namespace ztc
