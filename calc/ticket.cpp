// SPDX-License-Identifier: MIT
#include "ticket.h"

#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
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

double TicketCount::product() const {
    double product = 1;
    for (double factor : factors)
        product *= factor;
    return product;
}

namespace {

// The runners each position has left once the positions with fewer runners have taken theirs,
// where the legs nest: any two legs' runners the same, one's all among the other's, or none in
// common. Then every runner taken before a position takes one of its own, whichever he is.
// Empty where the legs do not nest.
QList<double> nestedFactors(std::span<const std::vector<double>> legs) {
    std::vector<std::vector<double>> sets;
    for (const std::vector<double> &leg : legs) {
        std::vector<double> &set = sets.emplace_back();
        std::copy_if(leg.begin(), leg.end(), std::back_inserter(set),
                     [](double v) { return v > 0; });
        std::sort(set.begin(), set.end());
        set.erase(std::unique(set.begin(), set.end()), set.end());
    }
    std::vector<std::size_t> order(sets.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return sets[a].size() < sets[b].size(); });
    QList<double> factors(qsizetype(sets.size()));
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::vector<double> &here = sets[order[i]];
        double taken = 0;
        for (std::size_t j = 0; j < i; ++j) {
            const std::vector<double> &before = sets[order[j]];
            if (!before.empty() &&
                std::includes(here.begin(), here.end(), before.begin(), before.end()))
                taken += 1;
            else if (std::find_first_of(here.begin(), here.end(), before.begin(), before.end()) !=
                     here.end())
                return {};
        }
        factors[qsizetype(order[i])] = std::max(0.0, double(here.size()) - taken);
    }
    return factors;
}

} // namespace

TicketCount countLegs(const WagerType &wager, std::span<const std::vector<double>> legs) {
    TicketCount count;
    for (const std::vector<double> &leg : legs)
        count.factors << double(leg.size());
    if (!wager.isExotic()) {
        count.combinations = count.product();
        return count;
    }
    count.combinations = countDistinctTuples(legs);
    const QList<double> nested = nestedFactors(legs);
    TicketCount byPosition{count.combinations, nested};
    if (!nested.isEmpty() && byPosition.product() == count.combinations)
        count.factors = nested;
    return count;
}

std::optional<TicketCount> countTicket(const TicketInput &input) {
    const WagerType *wager = findWagerType(input.wagerType);
    if (!wager)
        return std::nullopt;
    std::vector<std::vector<double>> legs;
    for (int leg = 1; leg <= wager->legs; ++leg) {
        const RunnerList &list = input.leg(leg);
        // As the ticket's text reads a leg: every item but the last, "All".
        legs.push_back(selectedValues(list.mid(0, std::max<qsizetype>(0, list.size() - 1))));
    }
    return countLegs(*wager, legs);
}

QString describeCount(const TicketCount &count, const QLocale &locale) {
    const auto number = [&](double n) { return locale.toString(n, 'f', 0); };
    QStringList factors;
    for (double factor : count.factors)
        factors << number(factor);
    QString maths = factors.join(QStringLiteral(" \u00d7 ")) + QStringLiteral(" = ");
    const double product = count.product();
    if (product != count.combinations)
        maths +=
            number(product) +
            QStringLiteral("; %1 use a horse twice: ").arg(number(product - count.combinations));
    return maths + describeCombinations(count.combinations, locale);
}

QString describeCombinations(double combinations, const QLocale &locale) {
    return locale.toString(combinations, 'f', 0) +
           (combinations == 1 ? QStringLiteral(" combination") : QStringLiteral(" combinations"));
}

} // namespace ztc
