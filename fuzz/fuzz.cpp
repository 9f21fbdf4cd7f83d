// SPDX-License-Identifier: MIT
// The core on any input, one libFuzzer target per build of this file (ZTC_FUZZ_TARGET): the
// leading-number reading, the money reading, the ticket calculation with its count, and a play
// read from text and counted.
#include "numbers.h"
#include "oracle.h"
#include "playtext.h"
#include "ticket.h"

#include <cmath>
#include <cstdlib>

using namespace ztc;

namespace {

void check(bool ok) {
    ok ? void() : std::abort();
}

// Each build uses one of these. The leading-number reading: never NaN nor a negative zero.
[[maybe_unused]] void val(QByteArrayView bytes) {
    const double v = Val(QString::fromUtf8(bytes));
    check(!std::isnan(v) && !(v == 0 && std::signbit(v)));
}

// The money reading: a finite amount or none, in locales with other signs, separators and digits.
[[maybe_unused]] void money(QByteArrayView bytes) {
    static const QLocale locales[] = {QLocale("en_US"), QLocale("fr_FR"), QLocale("ar_EG"),
                                      QLocale::c()};
    if (bytes.isEmpty())
        return;
    const auto amount = toMoney(QString::fromUtf8(bytes.sliced(1)),
                                locales[std::size_t(bytes[0]) % std::size(locales)]);
    check(!amount || std::isfinite(amount->amount));
}

// Any input model, over leftovers of an earlier run: a ticket exactly for a wager type, and a
// store that holds exactly the runners stored.
[[maybe_unused]] void ticket(QByteArrayView bytes) {
    static const QStringList texts =
        wagerTypeItems() +
        QStringList{"EXACTA", "", "1", "2", "3", "All", "0", "-2", " 4", "1e400"};
    auto next = [&, at = qsizetype(0)]() mutable { return at < bytes.size() ? bytes[at++] : 0; };
    TicketInput input{texts.at(uint8_t(next()) % 12), {}};
    CalcState state;
    for (int leg = 1; leg <= kLegCount; ++leg) {
        if (next() % 2 == 0) {
            // A race as it is run: its size, scratches and chosen runners, some out of range.
            Race race{next() % 24, {}, {}};
            QSet<int> chosen;
            for (int i = next() % 8; i > 0; --i)
                race.scratched << next() % 24;
            for (int i = next() % 8; i > 0; --i)
                chosen << next() % 24;
            input.leg(leg) = raceList(race, chosen);
            for (const ListItem &item : std::as_const(input.leg(leg)))
                check(!item.selected || race.runs(item.text.toInt()));
        }
        for (int i = next() % 8; i > 0; --i)
            input.leg(leg).append({texts.at(uint8_t(next()) % texts.size()), next() % 2 == 0});
        state.idex(leg) = qint16(next());
        state.runners(leg).fill(next() % 6);
    }
    state.dblBaseAmt = next() / 4.0;
    const auto text = calculateTicket(input, state, QLocale(QLocale::English));
    check(text.has_value() == (findWagerType(input.wagerType) != nullptr));
    // The count, beside the ticket: for the same tickets, never negative, never lost.
    const auto count = countTicket(input);
    check(count.has_value() == text.has_value());
    check(!count || (std::isfinite(count->combinations) && count->combinations >= 0 &&
                     count->product() >= count->combinations));
    for (int leg = 1; leg <= kLegCount; ++leg)
        for (int i = 1; i <= kMaxField; ++i)
            check((i <= state.idex(leg)) == (state.runners(leg)[std::size_t(i)] > 0));
}

// Any text read as a play over small races: read whole or refused with a line and a reason;
// read, its count what every combination looked for in every ticket gives, and its text read
// back the same.
[[maybe_unused]] void play(QByteArrayView bytes) {
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    const PlayReading reading = readPlay(QString::fromUtf8(bytes), locale,
                                         [](const WagerType &w) { return Card(w.kind, 5); });
    check(reading.problem.isEmpty() == bool(reading.play.wager));
    if (!reading.play.wager)
        return;
    const Play &play = reading.play;
    check(play.tickets.size() >= 1 && play.tickets.size() <= kMostTickets);
    const PlayCount count = play.count();
    double size = 1;
    for (int leg = 1; leg <= play.wager->legs; ++leg)
        size *= play.card.race(leg).runners;
    if (size <= 20000) {
        const Overlap brute = oracle::bruteForceOverlap(*play.wager, play.card, play.tickets);
        check(count.overlapCounted && count.different == brute.different &&
              count.heldTwice == brute.heldTwice);
    }
    check(!count.overlapCounted ||
          (count.different <= count.bought && count.heldTwice <= count.different));
    const PlayReading again = readPlay(playText(play, locale), locale,
                                       [](const WagerType &w) { return Card(w.kind, 5); });
    check(again.play.tickets == play.tickets && again.play.card == play.card);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZTC_FUZZ_TARGET(QByteArrayView(data, qsizetype(size)));
    return 0;
}
