// SPDX-License-Identifier: MIT
#include "play.h"

#include "ticket.h"

#include <QHash>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

namespace ztc {

namespace {

// A set of tickets, one bit each.
using Mask = std::uint64_t;

struct Counted {
    double covered = 0;
    double twice = 0;
};

// Bits set, inline: where the processor's own count is not in the baseline (x86-64's),
// std::popcount is a call into the compiler's library, a third of a large play's count.
constexpr int bitsSet(std::uint64_t x) {
#if defined(__x86_64__) && !defined(__POPCNT__)
    x -= (x >> 1) & 0x5555555555555555;
    x = (x & 0x3333333333333333) + ((x >> 2) & 0x3333333333333333);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0f;
    return int((x * 0x0101010101010101) >> 56);
#else
    return std::popcount(x);
#endif
}

int single(Mask mask) {
    return bitsSet(mask) == 1 ? std::countr_zero(mask) : -1;
}

// A set of runners of a race, one bit each.
struct Runners {
    std::array<std::uint64_t, 2> bits{};

    void add(int runner) { bits[std::size_t(runner / 64)] |= std::uint64_t{1} << (runner % 64); }
    Runners operator&(const Runners &other) const {
        return {{bits[0] & other.bits[0], bits[1] & other.bits[1]}};
    }
    Runners operator|(const Runners &other) const {
        return {{bits[0] | other.bits[0], bits[1] | other.bits[1]}};
    }
    int size() const { return bitsSet(bits[0]) + bitsSet(bits[1]); }
};
static_assert(kMaxField < 128);

// Sums of inclusion and exclusion, whose terms may outgrow any double's exact integers.
__extension__ using Exact = __int128;

// Multi-race: a combination takes one runner from each leg's race. Walking the legs, the
// tickets that can still hold a combination narrow with each leg's runner, and the count from a
// leg on depends only on which those are; runners of a leg that the same tickets hold are alike.
// Once few tickets are left, inclusion and exclusion over them counts the rest at once: the
// combinations that every ticket of a group holds are the product of their legs' common runners,
// and a group with no common runner in some leg counts nothing, nor does any group grown from it.
class MultiRaceOverlap {
  public:
    MultiRaceOverlap(int legs, const Card &card, std::span<const Ticket> tickets, double &work)
        : m_legs(legs), m_work(work), m_holders(std::size_t(legs + 1)),
          m_alike(std::size_t(legs + 1)), m_memo(std::size_t(legs + 1)), m_runners(tickets.size()) {
        for (int leg = 1; leg <= legs; ++leg) {
            for (std::size_t t = 0; t < tickets.size(); ++t)
                for (int runner : tickets[t].running(leg, card)) {
                    m_runners[t][std::size_t(leg)].add(runner);
                    m_holders[std::size_t(leg)][std::size_t(runner)] |= Mask{1} << t;
                }
            QHash<Mask, double> alike;
            for (const Mask held : m_holders[std::size_t(leg)])
                if (held)
                    alike[held] += 1;
            for (auto it = alike.cbegin(); it != alike.cend(); ++it)
                m_alike[std::size_t(leg)].emplace_back(it.key(), it.value());
        }
    }

    // The combinations of legs leg onward that some ticket of mask holds, and those two hold.
    Counted count(int leg, Mask mask) {
        if (m_work < 0)
            return {};
        if (bitsSet(mask) <= kFew)
            return *byInclusion(leg, mask, m_work);
        QHash<Mask, Counted> &memo = m_memo[std::size_t(leg)];
        if (const auto it = memo.constFind(mask); it != memo.cend())
            return *it;
        std::vector<std::pair<Mask, double>> next;
        for (const auto &[held, runners] : m_alike[std::size_t(leg)]) {
            const Mask still = held & mask;
            if (!still)
                continue;
            const auto same = std::find_if(next.begin(), next.end(),
                                           [&](const auto &n) { return n.first == still; });
            if (same == next.end())
                next.emplace_back(still, runners);
            else
                same->second += runners;
        }
        m_work -= double(m_alike[std::size_t(leg)].size());
        // Many kinds of runner, and no combination that all the tickets hold (which would make
        // every group of them one to count): tickets that share little, as inclusion and
        // exclusion likes them, if it can be done within what is left for trying.
        std::optional<Counted> total;
        if (next.size() > kFewKinds && m_trying > 0 && !sharing(leg, mask))
            total = byInclusion(leg, mask, m_trying);
        if (!total) {
            total.emplace();
            for (const auto &[still, runners] : next) {
                const Counted onward = leg == m_legs ? Counted{1, bitsSet(still) >= 2 ? 1.0 : 0.0}
                                                     : count(leg + 1, still);
                total->covered += runners * onward.covered;
                total->twice += runners * onward.twice;
            }
        }
        memo.insert(mask, *total);
        return *total;
    }

  private:
    // Tickets few enough for inclusion and exclusion: at most 2^kFew groups, most of them never
    // visited.
    static constexpr int kFew = 12;
    // Kinds of runner so few that a step is cheaper than trying inclusion and exclusion.
    static constexpr std::size_t kFewKinds = 4;
    using Common = std::array<Runners, kLegCount + 1>;

    // Whether every ticket of mask holds some one combination of legs leg onward.
    bool sharing(int leg, Mask mask) const {
        for (int l = leg; l <= m_legs; ++l) {
            Runners common;
            common.bits = {~std::uint64_t{0}, ~std::uint64_t{0}};
            for (Mask m = mask; m; m &= m - 1)
                common = common & m_runners[std::size_t(std::countr_zero(m))][std::size_t(l)];
            if (!common.size())
                return false;
        }
        return true;
    }

    // Those of the tickets that hold a runner of each leg's common runners.
    Mask holding(int leg, const Common &common) const {
        Mask can = ~Mask{0};
        for (int l = leg; l <= m_legs && can; ++l) {
            Mask any = 0;
            for (std::size_t word = 0; word < 2; ++word)
                for (std::uint64_t bits = common[std::size_t(l)].bits[word]; bits; bits &= bits - 1)
                    any |=
                        m_holders[std::size_t(l)][word * 64 + std::size_t(std::countr_zero(bits))];
            can &= any;
        }
        return can;
    }

    // Gives up, and gives nothing, once it has spent what the budget holds.
    std::optional<Counted> byInclusion(int leg, Mask mask, double &budget) {
        Exact covered = 0, twice = 0;
        // Each group once, grown by tickets after its last that share a combination with it.
        const auto grow = [&](const auto &self, Mask can, const Common &common, int size) -> bool {
            for (; can; can &= can - 1) {
                const std::size_t t = std::size_t(std::countr_zero(can));
                if ((budget -= 1) < 0)
                    return false;
                Common shared;
                Exact combinations = 1;
                for (int l = leg; l <= m_legs; ++l) {
                    shared[std::size_t(l)] = common[std::size_t(l)] & m_runners[t][std::size_t(l)];
                    combinations *= shared[std::size_t(l)].size();
                }
                const int grown = size + 1;
                covered += grown % 2 ? combinations : -combinations;
                twice += (grown % 2 ? -1 : 1) * (grown - 1) * combinations;
                const Mask later = can & ~((Mask{2} << t) - 1);
                if (later && !self(self, later & holding(leg, shared), shared, grown))
                    return false;
            }
            return true;
        };
        Common every;
        for (int l = leg; l <= m_legs; ++l)
            for (Mask m = mask; m; m &= m - 1)
                every[std::size_t(l)] = every[std::size_t(l)] |
                                        m_runners[std::size_t(std::countr_zero(m))][std::size_t(l)];
        if (!grow(grow, mask, every, 0))
            return std::nullopt;
        return Counted{double(covered), double(twice)};
    }

    int m_legs;
    double &m_work;        // what may still be done before the count gives up
    double m_trying = 2e6; // what may still go on trying inclusion and exclusion on many tickets
    // Per leg and runner: the tickets holding him.
    std::vector<std::array<Mask, kMaxField + 1>> m_holders;
    std::vector<std::vector<std::pair<Mask, double>>> m_alike; // per leg: holders, runners
    std::vector<QHash<Mask, Counted>> m_memo;
    std::vector<Common> m_runners; // per ticket and leg: the runners it holds who run
};

// Same-race exotic: the positions are filled from one race, no horse twice. Runners that the
// same tickets hold in every position are alike, so a position is filled from a kind of runner
// rather than a runner, and what the past positions leave is how many of each kind they used.
class SameRaceOverlap {
  public:
    SameRaceOverlap(int positions, const Card &card, std::span<const Ticket> tickets, double &work)
        : m_positions(positions), m_work(work) {
        QHash<int, std::vector<Mask>> holders; // runner: the tickets holding him, per position
        for (std::size_t t = 0; t < tickets.size(); ++t)
            for (int p = 0; p < positions; ++p)
                for (int runner : tickets[t].running(p + 1, card)) {
                    std::vector<Mask> &held = holders[runner];
                    held.resize(std::size_t(positions));
                    held[std::size_t(p)] |= Mask{1} << t;
                }
        for (const std::vector<Mask> &held : std::as_const(holders)) {
            const auto kind = std::find(m_held.begin(), m_held.end(), held);
            if (kind == m_held.end()) {
                m_held.push_back(held);
                m_size.push_back(1);
            } else {
                ++m_size[std::size_t(kind - m_held.begin())];
            }
        }
        m_used.assign(m_size.size(), 0);
    }

    Counted count(int position, Mask mask) {
        if (m_work < 0)
            return {};
        m_work -= double(m_held.size());
        if (position == m_positions)
            return {1, bitsSet(mask) >= 2 ? 1.0 : 0.0};
        if (const int t = single(mask); t >= 0)
            return {alone(t, position), 0};
        QByteArray key(reinterpret_cast<const char *>(&mask), sizeof mask);
        key.append(char(position));
        key.append(reinterpret_cast<const char *>(m_used.data()), qsizetype(m_used.size()));
        if (const auto it = m_memo.constFind(key); it != m_memo.cend())
            return *it;
        Counted total;
        for (std::size_t kind = 0; kind < m_held.size(); ++kind) {
            const double left = m_size[kind] - m_used[kind];
            const Mask still = m_held[kind][std::size_t(position)] & mask;
            if (left <= 0 || !still)
                continue;
            ++m_used[kind];
            const Counted onward = count(position + 1, still);
            --m_used[kind];
            total.covered += left * onward.covered;
            total.twice += left * onward.twice;
        }
        m_memo.insert(key, total);
        return total;
    }

  private:
    // One ticket's combinations from a position on, of the runners the past positions left.
    double alone(int t, int from) const {
        std::vector<std::vector<double>> positions;
        for (int p = from; p < m_positions; ++p) {
            std::vector<double> &runners = positions.emplace_back();
            for (std::size_t kind = 0; kind < m_held.size(); ++kind)
                if (m_held[kind][std::size_t(p)] >> t & 1)
                    for (int n = m_used[kind]; n < m_size[kind]; ++n)
                        runners.push_back(double(kind * (kMaxField + 1)) + n + 1);
        }
        return countDistinctTuples(positions);
    }

    int m_positions;
    double &m_work;                        // what may still be done before the count gives up
    std::vector<std::vector<Mask>> m_held; // per kind of runner: the tickets, per position
    std::vector<int> m_size;               // per kind: how many runners
    std::vector<std::uint8_t> m_used;      // per kind: how many the past positions took
    QHash<QByteArray, Counted> m_memo;
};

} // namespace

QList<int> Ticket::running(int leg, const Card &card) const {
    QList<int> runs;
    for (int runner : legs[std::size_t(leg - 1)])
        if (card.race(leg).runs(runner))
            runs << runner;
    return runs;
}

double Ticket::combinations(const Card &card) const {
    if (!wager)
        return 0;
    std::vector<std::vector<double>> positions;
    double product = 1;
    for (int leg = 1; leg <= wager->legs; ++leg) {
        std::vector<double> &runners = positions.emplace_back();
        for (int runner : running(leg, card))
            runners.push_back(runner);
        product *= double(runners.size());
    }
    return wager->isExotic() ? countDistinctTuples(positions) : product;
}

bool Ticket::hasEmptyLeg(const Card &card) const {
    for (int leg = 1; wager && leg <= wager->legs; ++leg)
        if (running(leg, card).isEmpty())
            return true;
    return false;
}

Overlap countOverlap(const WagerType &wager, const Card &card, std::span<const Ticket> tickets) {
    tickets = tickets.first(std::min<std::size_t>(tickets.size(), kMostTickets));
    if (tickets.empty())
        return {};
    const Mask all = tickets.size() == 64 ? ~Mask{0} : (Mask{1} << tickets.size()) - 1;
    // Far beyond any play a person makes, which takes a small fraction of this; a tangle that
    // needs more would keep the window waiting for seconds.
    double work = 3e6;
    const Counted counted = wager.isExotic()
                                ? SameRaceOverlap(wager.legs, card, tickets, work).count(0, all)
                                : MultiRaceOverlap(wager.legs, card, tickets, work).count(1, all);
    if (work < 0)
        return {0, 0, false};
    return {counted.covered, counted.twice, true};
}

PlayCount Play::count() const {
    PlayCount total;
    for (const Ticket &ticket : tickets) {
        const double combinations = ticket.combinations(card);
        total.bought += combinations;
        total.cost += combinations * ticket.base.amount;
    }
    if (wager) {
        const Overlap overlap = countOverlap(*wager, card, tickets);
        total.different = overlap.different;
        total.heldTwice = overlap.heldTwice;
        total.overlapCounted = overlap.counted;
    }
    return total;
}

} // namespace ztc
