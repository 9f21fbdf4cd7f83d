// SPDX-License-Identifier: MIT
#include "rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace ztc {

namespace {

// Money in whole cents, as tracks and bases count it: compared as such, of any size.
double cents(double amount) {
    return std::round(amount * 100);
}

QString aWager(const WagerType &wager) {
    const QString name = QString::fromLatin1(wager.display);
    return (QStringLiteral("AEIOU").contains(name[0]) ? QStringLiteral("an ")
                                                      : QStringLiteral("a ")) +
           name;
}

// The least whole multiple of step at or above n.
std::int64_t stepUp(long double n, std::int64_t step) {
    return std::int64_t(std::ceil(n / step)) * step;
}

} // namespace

MinimumTable commonMinimums() {
    return {{{1.00, 0},
             {0.50, 0},
             {0.50, 0},
             {0.50, 0},
             {2.00, 0},
             {1.00, 0},
             {0.50, 0},
             {0.10, 0},
             {1.00, 0}}};
}

const Minimums &minimumsFor(const MinimumTable &table, const WagerType &wager) {
    return table[std::size_t(&wager - wagerTypes().data())];
}

QString shortfall(const Ticket &ticket, double combinations, const Minimums &minimums,
                  const QLocale &locale) {
    const auto money = [&](double amount) {
        return formatCurrency(amount, locale, ticket.base.usDollars);
    };
    if (cents(ticket.base.amount) < cents(minimums.base))
        return QStringLiteral("Under the %1 minimum for %2: this base is %3")
            .arg(money(minimums.base), aWager(*ticket.wager), money(ticket.base.amount));
    const double cost = combinations * ticket.base.amount;
    if (combinations > 0 && cents(cost) < cents(minimums.ticket))
        return QStringLiteral("Under the %1 minimum ticket for %2: this ticket costs %3")
            .arg(money(minimums.ticket), aWager(*ticket.wager), money(cost));
    return {};
}

Fit fitBudget(std::span<const Ticket> tickets, std::span<const double> combinations,
              const Minimums &minimums, double budget) {
    // Each base a whole number of units, in the ratio of the bases as they are; a unit of s cents,
    // s on the step, makes every base one on the step too. Bases beyond any budget are taken as
    // the budget's largest: no budget keeps their ratio anyway.
    const auto baseCents = [](const Ticket &ticket) {
        return std::int64_t(std::clamp(cents(ticket.base.amount), 1.0, cents(kMostBudget)));
    };
    std::int64_t unit = 0;
    for (const Ticket &ticket : tickets)
        unit = std::gcd(unit, baseCents(ticket));
    if (!unit)
        return {};
    const std::int64_t step = std::int64_t(cents(kBaseStep));
    long double perCent = 0; // what the tickets cost for each cent of unit
    std::int64_t least = step;
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        const std::int64_t units = baseCents(tickets[i]) / unit;
        const long double bought = combinations[i];
        perCent += units * bought;
        least = std::max(least, stepUp((long double)cents(minimums.base) / units, step));
        if (bought > 0)
            least = std::max(least, stepUp(cents(minimums.ticket) / (units * bought), step));
    }
    const auto basesOf = [&](std::int64_t s) {
        QList<double> bases;
        for (const Ticket &ticket : tickets)
            bases << double(baseCents(ticket) / unit * s) / 100;
        return bases;
    };
    if (perCent <= 0)
        return {basesOf(least), 0};
    const std::int64_t most =
        std::int64_t(std::floor(std::min(cents(budget), cents(kMostBudget)) / (perCent * step))) *
        step;
    if (most < least)
        return {{}, double(perCent * least / 100)};
    return {basesOf(most), double(perCent * most / 100)};
}

std::variant<QList<Ticket>, QString> abcTickets(const WagerType &wager, const Card &card,
                                                Money allA, Money backup, bool withC) {
    if (wager.isExotic())
        return QStringLiteral("A-B-C tickets are made over the races of a multi-race wager");
    Ticket all{&wager, allA, {}};
    for (int leg = 1; leg <= wager.legs; ++leg) {
        all.legs[std::size_t(leg - 1)] = card.race(leg).running('A');
        if (all.legs[std::size_t(leg - 1)].isEmpty())
            return QStringLiteral("Leg %1 has no A horse: grade one there first")
                .arg(legLetter(leg));
    }
    QList<Ticket> made{all};
    for (const char grade : withC ? QByteArray("BC") : QByteArray("B"))
        for (int leg = 1; leg <= wager.legs; ++leg) {
            const QList<int> more = card.race(leg).running(grade);
            if (more.isEmpty())
                continue;
            Ticket backupTicket = all;
            backupTicket.base = backup;
            QList<int> &widened = backupTicket.legs[std::size_t(leg - 1)];
            widened << more;
            std::sort(widened.begin(), widened.end());
            made << backupTicket;
        }
    return made;
}

} // namespace ztc
