// SPDX-License-Identifier: MIT
// One runner click, as a real mouse event, until the ticket text shows the new ticket.
#include "formdriver.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace ztc;

namespace {

void BM_ClickToTicket(benchmark::State &bench, const char *wager, const char *fieldSize) {
    Form1 w;
    w.show();
    driver::pick(w.Combo2, wager);
    driver::focusBox(w.Combo1);
    driver::retype(w.Combo1, fieldSize);
    for (int leg = 1; leg <= legsFor(wager); ++leg)
        driver::clickItem(w.list(leg), w.list(leg)->count() - 1); // "All"
    ListBox *list = w.List1;
    const QPoint at = list->visualItemRect(list->item(0)).center();
    for (auto _ : bench) {
        const QString before = w.Text1->text();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (w.Text1->text() == before)
            bench.SkipWithError("the ticket did not change");
    }
}

BENCHMARK_CAPTURE(BM_ClickToTicket, SuperHigh5_99, "Super High 5", "99")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ClickToTicket, SuperHigh5_20, "Super High 5", "20")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ClickToTicket, Pick6_20, "Pick 6", "20")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ClickToTicket, Pick6_99, "Pick 6", "99")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
