// SPDX-License-Identifier: MIT
#pragma once

// A play within the track's rules and the player's budget: the least base and the least ticket a
// track takes for each wager type, the largest base a budget buys, and the A-B-C tickets made
// from a card's graded runners.

#include "play.h"

#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <variant>

namespace ztc {

// What a track takes at the least for a wager type: a base, and (0 where it has none) a ticket's
// cost.
struct Minimums {
    double base = 0;
    double ticket = 0;

    bool operator==(const Minimums &) const = default;
};

// A minimum per wager type, in the order of wagerTypes().
using MinimumTable = std::array<Minimums, 9>;

// Common US values: $1 Double and Exacta; $0.50 Pick 3, Pick 4, Pick 5 and Trifecta; $0.10
// Superfecta; $2 Pick 6; $1 Super High 5; no minimum per ticket.
MinimumTable commonMinimums();
// The minimums of a wager type in a table.
const Minimums &minimumsFor(const MinimumTable &table, const WagerType &wager);
// The greatest minimum the table takes: more is no track's rule, but a mistake.
inline constexpr double kMostMinimum = 500;

// What a ticket at its base falls short of, in words: "Under the $0.50 minimum for a Pick 4:
// this base is $0.10"; nothing where it meets its minimums.
QString shortfall(const Ticket &ticket, double combinations, const Minimums &minimums,
                  const QLocale &locale);

// The largest budget taken, and the step bases go in.
inline constexpr double kMostBudget = 1000000;
inline constexpr double kBaseStep = 0.10;

// Bases for tickets that fit a budget: each ticket's base kept in ratio to the others', on the
// $0.10 step, the largest whose total cost fits and that meets the minimums; or, where none
// fits, the least budget that would.
struct Fit {
    QList<double> bases; // one per ticket; empty where nothing fits
    double cost = 0;     // what they come to, or the least budget that would fit
};
Fit fitBudget(std::span<const Ticket> tickets, std::span<const double> combinations,
              const Minimums &minimums, double budget);

// A card's runners graded A, B or C, leg by leg: the A-B-C tickets made of them. The all-A ticket
// at its base; for each leg with B horses, that leg's A and B horses with the other legs' A
// horses at the backup base; with C, the same with that leg's A and C horses. Or what is
// missing: a leg with no A horse.
std::variant<QList<Ticket>, QString> abcTickets(const WagerType &wager, const Card &card,
                                                Money allA, Money backup, bool withC);

} // namespace ztc
