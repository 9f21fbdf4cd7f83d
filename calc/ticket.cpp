// SPDX-License-Identifier: MIT
#include "ticket.h"

#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ztc {

double countDistinctTuples(std::span<const std::vector<double>> positions) {
    const std::size_t k = positions.size();
    if (k == 0 || k > 8)
        return 0;

    std::vector<std::pair<double, std::size_t>> values; // (runner, position)
    for (std::size_t p = 0; p < k; ++p)
        for (double v : positions[p])
            if (v > 0) // also drops NaN
                values.emplace_back(v, p);
    std::sort(values.begin(), values.end());

    // ways[S]: ways to fill the set S of positions with distinct runners seen so far. Each
    // distinct runner fills at most one position, once per copy of it in that position.
    std::vector<double> ways(std::size_t{1} << k, 0.0);
    ways[0] = 1;
    std::vector<double> copies(k);
    for (std::size_t i = 0; i < values.size();) {
        std::fill(copies.begin(), copies.end(), 0.0);
        std::size_t j = i;
        for (; j < values.size() && values[j].first == values[i].first; ++j)
            copies[values[j].second] += 1;
        i = j;
        // Larger sets first, so each set grows from counts that exclude this runner.
        for (std::size_t set = ways.size() - 1; set > 0; --set)
            for (std::size_t p = 0; p < k; ++p)
                if ((set >> p & 1) && copies[p] > 0)
                    ways[set] += ways[set ^ (std::size_t{1} << p)] * copies[p];
    }
    return ways.back();
}

namespace {

std::vector<double> selectedValues(const RunnerList &list) {
    std::vector<double> values;
    for (const ListItem &item : list)
        if (item.selected)
            values.push_back(Val(item.text));
    return values;
}

std::vector<double> storedRunners(const CalcState &state, int leg) {
    const RunnerArray &r = state.runners(leg);
    const int count = std::clamp<int>(state.idex(leg), 0, kMaxField);
    return {r.begin() + 1, r.begin() + 1 + count};
}

} // namespace

double CountExoticCombos(const std::optional<QString> &wagerType, const TicketInput &input,
                         const CalcState &state) {
    if (!wagerType || wagerType->isEmpty())
        return 0;
    const QString lower = wagerType->toLower();
    std::vector<std::vector<double>> positions;
    if (lower == u"exacta" || lower == u"trifecta") {
        for (int leg = 1; leg <= (lower == u"exacta" ? 2 : 3); ++leg)
            positions.push_back(selectedValues(input.leg(leg)));
    } else if (lower == u"superfecta" || lower == u"super high 5") {
        for (int leg = 1; leg <= (lower == u"superfecta" ? 4 : 5); ++leg)
            positions.push_back(storedRunners(state, leg));
    } else {
        return 0;
    }
    return countDistinctTuples(positions);
}

void resetRunnerStore(CalcState &state) {
    state.clearAllLegs();
}

QString describeTicket(const WagerType &wager, const TicketInput &input, CalcState &state,
                       const QLocale &locale) {
    resetRunnerStore(state);
    const bool storesRunners = wager.legs >= 4 && wager.isExotic();
    double product = 1;
    QStringList legTexts;
    for (int leg = 1; leg <= wager.legs; ++leg) {
        const RunnerList &list = input.leg(leg);
        QStringList chosen;
        // The last item is "All" and is never read.
        for (qsizetype i = 0; i + 1 < list.size(); ++i) {
            if (!list[i].selected)
                continue;
            chosen << list[i].text;
            if (storesRunners) {
                const double runner = Val(list[i].text);
                // The arrays hold a whole field; nothing is ever written past them.
                if (runner > 0 && state.idex(leg) < kMaxField) {
                    qint16 &count = state.idex(leg);
                    ++count;
                    state.runners(leg)[static_cast<std::size_t>(count)] = runner;
                }
            }
        }
        product *= static_cast<double>(chosen.size());
        legTexts << chosen.join(u',');
    }

    const double combinations =
        wager.isExotic() ? CountExoticCombos(input.wagerType, input, state) : product;
    const double total = combinations * state.dblBaseAmt;

    const QString crlf = QStringLiteral("\r\n");
    const bool dollars = state.bolBaseInUsDollars;
    QString text =
        formatCurrency(state.dblBaseAmt, locale, dollars) + u' ' + input.wagerType + crlf;
    for (int leg = 1; leg <= wager.legs; ++leg)
        text += QStringLiteral("Leg") + legLetter(leg) + QStringLiteral(": ") + legTexts[leg - 1] +
                crlf;
    text += crlf + QStringLiteral("Total Ticket Cost: ") + formatCurrency(total, locale, dollars);
    return text;
}

std::optional<QString> calculateTicket(const TicketInput &input, CalcState &state,
                                       const QLocale &locale) {
    if (state.intHelpMode == 1)
        return std::nullopt;
    resetRunnerStore(state);
    std::optional<QString> ticket;
    for (const WagerType *wager : calcOrder())
        if (wager->matches(input.wagerType))
            ticket = describeTicket(*wager, input, state, locale);
    return ticket;
}

RunnerList raceList(const Race &race, const QSet<int> &chosen) {
    RunnerList list;
    for (const QString &text : runnerListItems(race.runners)) {
        const int runner = text.toInt();
        list.append({text, race.runs(runner) && chosen.contains(runner)});
    }
    return list;
}

std::optional<TicketCount> countTicket(const TicketInput &input) {
    const WagerType *wager = findWagerType(input.wagerType);
    if (!wager)
        return std::nullopt;
    std::vector<std::vector<double>> positions;
    double choices = 1;
    for (int leg = 1; leg <= wager->legs; ++leg) {
        const RunnerList &list = input.leg(leg);
        // As the ticket's text reads a leg: every item but the last, "All".
        positions.push_back(selectedValues(list.mid(0, std::max<qsizetype>(0, list.size() - 1))));
        choices *= double(positions.back().size());
    }
    if (!wager->isExotic())
        return TicketCount{choices, 0};
    const double combinations = countDistinctTuples(positions);
    return TicketCount{combinations, choices - combinations};
}

QString describeCount(const TicketCount &count, const QLocale &locale) {
    const QString combinations = locale.toString(count.combinations, 'f', 0) +
                                 (count.combinations == 1 ? QStringLiteral(" combination")
                                                          : QStringLiteral(" combinations"));
    if (count.leftOut <= 0)
        return combinations;
    return combinations + QStringLiteral(" (%1 left out: a horse twice)")
                              .arg(locale.toString(count.leftOut, 'f', 0));
}

} // namespace ztc
