// SPDX-License-Identifier: MIT
// The core on any input, one libFuzzer target per build of this file (ZTC_FUZZ_TARGET): the
// leading-number reading, the money reading and the ticket calculation.
#include "numbers.h"
#include "oracle.h"
#include "ticket.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace ztc;

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

// Each build uses one of these. Never NaN nor a negative zero; a short run of plain digits reads as
// its value.
[[maybe_unused]] void val(QByteArrayView bytes) {
    const double v = Val(QString::fromUtf8(bytes));
    check(!std::isnan(v) && !(v == 0 && std::signbit(v)));
    if (bytes.size() > 0 && bytes.size() <= 15 &&
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; }))
        check(v == double(bytes.toByteArray().toLongLong()));
}

// A finite amount or none, in locales with other signs, separators and digits.
[[maybe_unused]] void money(QByteArrayView bytes) {
    static const QLocale locales[] = {QLocale("en_US"), QLocale("de_DE"), QLocale("fr_FR"),
                                      QLocale("ja_JP"), QLocale("ar_EG"), QLocale::c()};
    if (bytes.isEmpty())
        return;
    const auto amount = toMoney(QString::fromUtf8(bytes.sliced(1)),
                                locales[std::size_t(bytes[0]) % std::size(locales)]);
    check(!amount || std::isfinite(*amount));
}

// Any input model and leftovers in the record: a ticket has its line structure, the store
// holds exactly the runners stored, and the fast counter agrees with plain enumeration.
[[maybe_unused]] void ticket(QByteArrayView bytes) {
    static const QStringList wagers =
        wagerTypeItems() + QStringList{"EXACTA", "super HIGH 5", " Double", "", "pick 6 "};
    static const QStringList texts = {"1",   "2",   "3",   "4", "5",     "6",     "7",  "8",
                                      "9",   "10",  "All", "0", "-2",    "3.0",   " 4", "e",
                                      "&H5", "2e0", "1,5", "x", "1e400", "&HFFFF"};
    qsizetype at = 0;
    auto next = [&] { return at < bytes.size() ? uint8_t(bytes[at++]) : uint8_t(0); };
    TicketInput input{wagers.at(next() % wagers.size()), {}};
    for (RunnerList &list : input.legs)
        for (int i = next() % 8; i > 0; --i) {
            const uint8_t b = next();
            list.append({texts.at((b >> 1) % texts.size()), bool(b & 1)});
        }
    CalcState state;
    state.dblBaseAmt = next() / 4.0 - 10;
    for (int leg = 1; leg <= kLegCount; ++leg) {
        state.idex(leg) = qint16(next() % 120);
        state.runners(leg).fill(next() % 6);
    }
    state.intHelpMode = qint16(next() % 8 == 0);
    const CalcState before = state;
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const std::optional<QString> text = calculateTicket(input, state, us);
    const WagerType *wager = findWagerType(input.wagerType);
    if (before.intHelpMode == 1)
        return check(!text && state == before);
    check(text.has_value() == bool(wager));
    for (int leg = 1; leg <= kLegCount; ++leg)
        for (int i = 0; i <= kMaxField; ++i)
            check(i == 0 ? state.runners(leg)[0] == before.runners(leg)[0]
                         : (i <= state.idex(leg)) == (state.runners(leg)[std::size_t(i)] > 0));
    if (!wager)
        return;
    const QStringList lines = text->split(QStringLiteral("\r\n"));
    check(lines.size() == wager->legs + 3 && lines.at(wager->legs + 1).isEmpty());
    check(lines.first() == formatCurrency(state.dblBaseAmt, us) + u' ' + input.wagerType);
    for (int leg = 1; leg <= wager->legs; ++leg)
        check(lines.at(leg).startsWith(QStringLiteral("Leg") + legLetter(leg) + u':'));
    if (!wager->isExotic())
        return;
    std::vector<std::vector<double>> positions;
    for (int leg = 1; leg <= wager->legs; ++leg) {
        std::vector<double> &values = positions.emplace_back();
        for (const ListItem &item : input.leg(leg))
            if (item.selected && wager->legs <= 3)
                values.push_back(Val(item.text));
        for (int i = 1; i <= state.idex(leg); ++i)
            values.push_back(state.runners(leg)[std::size_t(i)]);
    }
    const double count = CountExoticCombos(input.wagerType, input, state);
    check(count == oracle::bruteForceCount(positions));
    check(lines.last() ==
          QStringLiteral("Total Ticket Cost: ") + formatCurrency(count * state.dblBaseAmt, us));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZTC_FUZZ_TARGET(QByteArrayView(data, qsizetype(size)));
    return 0;
}
