// SPDX-License-Identifier: MIT
// The ticket calculation on random input models: the text always has a ticket's line
// structure, the runner store holds exactly what was stored, and the fast exotic counter
// agrees with plain enumeration.
#include "numbers.h"
#include "oracle.h"
#include "ticket.h"

#include <cstdlib>

using namespace ztc;

namespace {

class Bytes {
  public:
    Bytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t next() { return m_pos < m_size ? m_data[m_pos++] : 0; }

  private:
    const uint8_t *m_data;
    size_t m_size, m_pos = 0;
};

void check(bool ok) {
    if (!ok)
        std::abort();
}

const QStringList kWagers =
    wagerTypeItems() + QStringList{"EXACTA", "super HIGH 5", " Double", "", "pick 6 "};
const QStringList kItems = {"1",   "2",   "3",   "4", "5",     "6",     "7",  "8",
                            "9",   "10",  "All", "0", "-2",    "3.0",   " 4", "e",
                            "&H5", "2e0", "1,5", "x", "1e400", "&HFFFF"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Bytes in(data, size);
    TicketInput input{kWagers.at(in.next() % kWagers.size()), {}};
    for (RunnerList &list : input.legs) {
        const int count = in.next() % 8;
        for (int i = 0; i < count; ++i) {
            const uint8_t b = in.next();
            list.append({kItems.at((b >> 1) % kItems.size()), bool(b & 1)});
        }
    }
    CalcState state;
    state.dblBaseAmt = double(in.next()) / 4 - 10;
    for (int leg = 1; leg <= kLegCount; ++leg) { // leftovers of an earlier run
        state.idex(leg) = qint16(in.next() % 120);
        state.runners(leg).fill(double(in.next() % 6));
    }
    state.intHelpMode = qint16(in.next() % 8 == 0);
    const CalcState before = state;
    const QLocale us(QLocale::English, QLocale::UnitedStates);

    const std::optional<QString> ticket = calculateTicket(input, state, us);
    if (before.intHelpMode == 1) {
        check(!ticket && state == before);
        return 0;
    }
    const WagerType *wager = findWagerType(input.wagerType);
    check(bool(ticket) == bool(wager));
    for (int leg = 1; leg <= kLegCount; ++leg) {
        const RunnerArray &r = state.runners(leg);
        check(r[0] == before.runners(leg)[0]);
        for (int i = 1; i <= kMaxField; ++i)
            check((i <= state.idex(leg)) == (r[std::size_t(i)] > 0));
    }
    if (!wager)
        return 0;

    const QStringList lines = ticket->split(QStringLiteral("\r\n"));
    check(lines.size() == wager->legs + 3);
    check(lines.first() == formatCurrency(state.dblBaseAmt, us) + u' ' + input.wagerType);
    for (int leg = 1; leg <= wager->legs; ++leg)
        check(lines.at(leg).startsWith(QStringLiteral("Leg") + legLetter(leg) +
                                       QStringLiteral(": ")));
    check(lines.at(wager->legs + 1).isEmpty());
    check(lines.last().startsWith(QStringLiteral("Total Ticket Cost: ")));

    if (wager->isExotic()) {
        std::vector<std::vector<double>> positions;
        for (int leg = 1; leg <= wager->legs; ++leg) {
            std::vector<double> values;
            if (wager->legs <= 3) {
                for (const ListItem &item : input.leg(leg))
                    if (item.selected)
                        values.push_back(Val(item.text));
            } else {
                for (int i = 1; i <= state.idex(leg); ++i)
                    values.push_back(state.runners(leg)[std::size_t(i)]);
            }
            positions.push_back(values);
        }
        const double total = CountExoticCombos(input.wagerType, input, state) * state.dblBaseAmt;
        check(lines.last() == QStringLiteral("Total Ticket Cost: ") + formatCurrency(total, us));
        check(CountExoticCombos(input.wagerType, input, state) ==
              oracle::bruteForceCount(positions));
    }
    return 0;
}
