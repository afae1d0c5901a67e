// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the desktop program's first painted window against a minimal Qt Widgets
// window (blank), and against a main window with menus and text, all started as processes
// on the offscreen platform with a probe that ends them at their first paint. Measured in
// turn within each iteration, so all three see the same machine.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

void BM_FirstPaintedWindow(benchmark::State& state) {
    char folder[] = "/tmp/tabulon-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        state.SkipWithError("cannot make a settings folder");
        return;
    }
    // Settings and runtime files go to a scratch folder, not the user's own.
    const std::vector<std::string> env = {
        "QT_QPA_PLATFORM=offscreen", std::string("LD_PRELOAD=") + TABULON_FIRST_PAINT_PROBE,
        std::string("XDG_CONFIG_HOME=") + folder, std::string("XDG_RUNTIME_DIR=") + folder};
    double minimal = 0, withText = 0, tabulon = 0;
    for (auto _ : state) {
        const bench::ChildResult blank = bench::RunChild({TABULON_MINIMAL_WINDOW}, env);
        const bench::ChildResult text =
            bench::RunChild({TABULON_MINIMAL_WINDOW, "--with-text"}, env);
        const bench::ChildResult full = bench::RunChild({TABULON_DESKTOP}, env);
        if (blank.status != 0 || text.status != 0 || full.status != 0) {
            state.SkipWithError("a program did not reach its first paint");
            break;
        }
        minimal += blank.wallSeconds;
        withText += text.wallSeconds;
        tabulon += full.wallSeconds;
        state.SetIterationTime(full.wallSeconds);
    }
    std::system((std::string("rm -rf '") + folder + "'").c_str());
    const double runs = static_cast<double>(state.iterations());
    state.counters["minimal_ms"] = minimal / runs * 1e3;
    state.counters["text_ms"] = withText / runs * 1e3;
    state.counters["tabulon_ms"] = tabulon / runs * 1e3;
    // At most 1.5 is the aim against the blank window.
    state.counters["x_minimal"] = tabulon / minimal;
    state.counters["x_text"] = tabulon / withText;
}

} // namespace

BENCHMARK(BM_FirstPaintedWindow)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
