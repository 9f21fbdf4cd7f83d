// SPDX-License-Identifier: MIT
// The calculation at its worst case (every runner selected in every leg) and the exotic counter
// against plain enumeration.
#include "oracle.h"
#include "ticket.h"

#include <benchmark/benchmark.h>

using namespace ztc;

namespace {

const QLocale kUS(QLocale::English, QLocale::UnitedStates);

TicketInput everyRunner(const WagerType &wager, int field) {
    TicketInput in{QString::fromLatin1(wager.display), {}};
    for (RunnerList &list : in.legs) {
        for (const QString &text : runnerListItems(field))
            list.append({text, true});
        list.last().selected = false; // "All"
    }
    return in;
}

void BM_Calc(benchmark::State &bench, const WagerType *wager, int field) {
    const TicketInput in = everyRunner(*wager, field);
    CalcState s;
    s.dblBaseAmt = 2;
    for (auto _ : bench)
        benchmark::DoNotOptimize(calculateTicket(in, s, kUS));
}

std::vector<std::vector<double>> fullField(int positions, int field) {
    std::vector<double> runners;
    for (int r = 1; r <= field; ++r)
        runners.push_back(r);
    return std::vector<std::vector<double>>(static_cast<std::size_t>(positions), runners);
}

void BM_FastCounter(benchmark::State &bench) {
    const auto p = fullField(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    for (auto _ : bench)
        benchmark::DoNotOptimize(countDistinctTuples(p));
}

void BM_BruteForce(benchmark::State &bench) {
    const auto p = fullField(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    for (auto _ : bench)
        benchmark::DoNotOptimize(oracle::bruteForceCount(p));
}

const int registered = [] {
    for (const WagerType &w : wagerTypes())
        for (int field : {20, kMaxField})
            benchmark::RegisterBenchmark(
                (std::string("Calc/") + w.display + "/" + std::to_string(field)).c_str(), BM_Calc,
                &w, field);
    return 0;
}();

} // namespace

BENCHMARK(BM_FastCounter)->Args({2, 20})->Args({5, 20})->Args({5, 99});
BENCHMARK(BM_BruteForce)->Args({2, 20})->Args({5, 20})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
