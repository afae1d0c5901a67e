// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window's share of a calculation: the document tells its views, the window
// fills its charts afresh and the frame is painted, with the window shown beside the
// journal against the same with it hidden. Runs on Qt's offscreen platform.
#include "BenchSupport.h"

#include "ChartsWindow.h"
#include "PrintCommands.h"
#include "TabulonDoc.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>

#include <array>

namespace {

constexpr int kIterations = 60;

// A frame as the program's, 1280 by 800 pixels, with the Charts window docked at its side
// (where it takes a good part of the width), shown or hidden.
struct ChartedFrame {
    explicit ChartedFrame(bool shown) {
        frame.setCentralWidget(new QWidget(&frame));
        charts = new ChartsWindow(doc, printCommands, &frame);
        frame.addDockWidget(Qt::RightDockWidgetArea, charts);
        charts->setVisible(shown);
        frame.resize(1280, 800);
        frame.show();
        QApplication::processEvents();
    }

    CTabulonDoc doc;
    QMainWindow frame;
    PrintCommands printCommands{&frame, [](QPrinter*) { return 0; }};
    ChartsWindow* charts = nullptr;
};

// One calculation, from the dialog's values to the frame painted again: the calculation
// with the views' updates, then the posted work (the charts' scenes post their changes, the
// views then their repaints).
struct Seconds {
    double update = 0;
    double paint = 0;
};
Seconds CalculationSeconds(ChartedFrame& charted, const PolicyDialogData& values) {
    const bench::Clock::time_point start = bench::Clock::now();
    charted.doc.RunCalculation(PolicyKind::Insurance, values);
    Seconds seconds;
    seconds.update = bench::SecondsSince(start);
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
    seconds.paint = bench::SecondsSince(start) - seconds.update;
    return seconds;
}

// Both frames in turn within each iteration, so that they see the same machine; the time
// shown is the visible window's, extra_ms what it adds (5 ms at most is the aim). The
// calculations alternate between two policies and ages, so every one changes the charts.
void BM_CalculationWithCharts(benchmark::State& state) {
    ChartedFrame hidden(false);
    ChartedFrame shown(true);
    const std::array<PolicyDialogData, 2> values = {
        bench::FullReportValues(bench::kPolicies[1], 40),
        bench::FullReportValues(bench::kPolicies[2], 60)};
    // The first calculation makes the charts; the benchmark is about the ones after it.
    CalculationSeconds(hidden, values[1]);
    CalculationSeconds(shown, values[1]);
    double hiddenSeconds = 0, shownSeconds = 0, shownUpdate = 0;
    std::size_t turn = 0;
    for (auto _ : state) {
        const PolicyDialogData& next = values[turn++ % values.size()];
        const Seconds withoutCharts = CalculationSeconds(hidden, next);
        hiddenSeconds += withoutCharts.update + withoutCharts.paint;
        const Seconds withCharts = CalculationSeconds(shown, next);
        shownSeconds += withCharts.update + withCharts.paint;
        shownUpdate += withCharts.update;
        state.SetIterationTime(withCharts.update + withCharts.paint);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["hidden_ms"] = hiddenSeconds / runs * 1e3;
    state.counters["shown_ms"] = shownSeconds / runs * 1e3;
    // Of which filling the charts, the rest being their painting.
    state.counters["shown_update_ms"] = shownUpdate / runs * 1e3;
    state.counters["extra_ms"] = (shownSeconds - hiddenSeconds) / runs * 1e3;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::RegisterBenchmark("CalculationWithCharts", BM_CalculationWithCharts)
        ->UseManualTime()
        ->Iterations(kIterations)
        ->Unit(benchmark::kMillisecond);
    return bench::RunRegistered(argc, argv);
}
