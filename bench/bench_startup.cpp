// SPDX-License-Identifier: MIT
// Start-up to the first mapped window: the calculator against a bare window holding one list of
// runners.
// Each start is a fresh process, and the two alternate so that both meet the same machine; the
// ratio of the medians is reported. Run it under a real display server (Xvfb) to measure
// mapping; offscreen it measures construction alone.
#include "catalogue.h"
#include "form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <unistd.h>

namespace {

double startMs(const char *kind) {
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("--start"), kind});
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

void BM_StartUp(benchmark::State &state) {
    std::vector<double> calculator, bare;
    for (auto _ : state) {
        calculator.push_back(startMs("calculator"));
        bare.push_back(startMs("bare"));
    }
    state.counters["calculator_ms"] = median(calculator);
    state.counters["bare_ms"] = median(bare);
    state.counters["ratio"] = median(calculator) / median(bare);
}
BENCHMARK(BM_StartUp)->Iterations(40)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--start") {
        QApplication app(argc, argv);
        std::unique_ptr<QWidget> window;
        if (std::string_view(argv[2]) == "bare") {
            window = std::make_unique<QWidget>();
            window->resize(763, 492);
            (new QListWidget(window.get()))->addItems(ztc::runnerListItems(20));
        } else {
            window = std::make_unique<ztc::Form1>();
        }
        window->show();
        // Mapped and drawn, its text too: the end of start-up. Leave at once, as the cost of
        // tearing down is not start-up's.
        const bool exposed = QTest::qWaitForWindowExposed(window.get());
        window->repaint();
        _exit(exposed ? 0 : 1);
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
