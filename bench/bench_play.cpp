// SPDX-License-Identifier: MIT
// A play's count: its different combinations and those held twice, over plays of the sizes a
// player makes and beyond, never enumerated. Each made at random from a fixed seed.
#include "play.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace ztc;

namespace {

// Tickets of a wager type over races of a field, each runner in each leg at the given chance
// (in percent), at least one.
Play atRandom(const char *wager, int field, int tickets, int chance) {
    QRandomGenerator rng(20261209);
    Play play{findWagerType(QString::fromLatin1(wager)), {}, {}};
    play.card = Card(play.wager->kind, field);
    for (int t = 0; t < tickets; ++t) {
        Ticket ticket{play.wager, {1, true}, {}};
        for (int leg = 1; leg <= play.wager->legs; ++leg) {
            QList<int> &runners = ticket.legs[std::size_t(leg - 1)];
            for (int runner = 1; runner <= field; ++runner)
                if (int(rng.bounded(100)) < chance)
                    runners << runner;
            if (runners.isEmpty())
                runners << 1 + int(rng.bounded(field));
        }
        play.tickets << ticket;
    }
    return play;
}

// An A-B-C Pick 6 over races of 14: two A horses, three B and three C in each leg; the all-A
// ticket and a B and a C backup for each leg.
Play abcPick6() {
    Play play{findWagerType(QStringLiteral("Pick 6")), Card(WagerKind::MultiRace, 14), {}};
    Ticket all{play.wager, {2, true}, {}};
    for (QList<int> &leg : all.legs)
        leg = {1, 2};
    play.tickets << all;
    for (const QList<int> &more : {QList<int>{3, 4, 5}, QList<int>{6, 7, 8}})
        for (const QList<int> &leg : all.legs) {
            Ticket backup = all;
            backup.base.amount = 0.5;
            backup.legs[std::size_t(&leg - all.legs.data())] = QList<int>{1, 2} + more;
            play.tickets << backup;
        }
    return play;
}

void BM_Count(benchmark::State &bench, const Play &play) {
    for (auto _ : bench)
        benchmark::DoNotOptimize(play.count());
}

const int registered = [] {
    const std::pair<const char *, Play> plays[] = {
        {"Pick6/64 at random over races of 20", atRandom("Pick 6", 20, 64, 50)},
        {"Pick6/64 of a few horses a leg over races of 20", atRandom("Pick 6", 20, 64, 15)},
        {"Pick6/A-B-C, 13 tickets", abcPick6()},
        {"Pick4/16 at random over races of 12", atRandom("Pick 4", 12, 16, 30)},
        {"Superfecta/64 at random in a race of 14", atRandom("Superfecta", 14, 64, 40)},
        {"SuperHigh5/32 at random in a race of 20", atRandom("Super High 5", 20, 32, 30)},
    };
    for (const auto &[name, play] : plays)
        benchmark::RegisterBenchmark(name, BM_Count, play)->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
