// SPDX-License-Identifier: GPL-3.0-or-later
// One calculation end to end (record, statistics, pricing, solve, every report line) and
// the pricing alone, for each policy type at ages 0 and 60.
#include "BenchSupport.h"

#include "TabulonDoc.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <utility>

namespace {

constexpr double kReportLimitSeconds = 200e-6;
constexpr double kPricingLimitSeconds = 5e-6;
// The journal is started afresh whenever it holds this many lines, so it stays small.
constexpr std::size_t kJournalResetLines = 100000;

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reports the manually timed (wall clock) seconds and how they compare with a limit (below
// 1 meets it), and the same for the loop's CPU time, which a busy machine does not inflate.
void ReportAgainstLimit(benchmark::State& state, double seconds, double cpuSeconds, double limit) {
    const double runs = static_cast<double>(state.iterations());
    state.counters["us"] = seconds / runs * 1e6;
    state.counters["x_limit"] = seconds / runs / limit;
    state.counters["cpu_x_limit"] = cpuSeconds / runs / limit;
}

void Report(benchmark::State& state, const bench::PolicyCase& policy, int age) {
    const PolicyDialogData values = bench::FullReportValues(policy, age);
    CTabulonDoc doc;
    doc.OnNewDocument();
    double seconds = 0;
    std::size_t lines = 0;
    const double cpuStart = ThreadCpuSeconds();
    for (auto _ : state) {
        const std::size_t before = doc.GetLines()->GetCount();
        const bench::Clock::time_point start = bench::Clock::now();
        doc.RunCalculation(policy.kind, values);
        const double elapsed = bench::SecondsSince(start);
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        lines = doc.GetLines()->GetCount() - before;
        if (doc.GetLines()->GetCount() > kJournalResetLines)
            doc.OnNewDocument();
    }
    const double cpuSeconds = ThreadCpuSeconds() - cpuStart;
    state.counters["lines"] = static_cast<double>(lines);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
    ReportAgainstLimit(state, seconds, cpuSeconds, kReportLimitSeconds);
}

// The calculation without the report lines and without the net income: table load,
// statistics, term quantities, pricing, solve.
void Pricing(benchmark::State& state, const bench::PolicyCase& policy, int age) {
    CCalculationRecord record;
    CopyToRecord(bench::FullReportValues(policy, age), record);
    record.m_bNetIncome = 0;
    double seconds = 0;
    const double cpuStart = ThreadCpuSeconds();
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        record.Calculate(policy.kind);
        benchmark::DoNotOptimize(record.m_dPremium);
        benchmark::ClobberMemory();
        const double elapsed = bench::SecondsSince(start);
        state.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    ReportAgainstLimit(state, seconds, ThreadCpuSeconds() - cpuStart, kPricingLimitSeconds);
}

} // namespace

int main(int argc, char** argv) {
    using Measure = void (*)(benchmark::State&, const bench::PolicyCase&, int);
    for (const auto& [name, measure] : {std::pair<const char*, Measure>{"Report/", Report},
                                        std::pair<const char*, Measure>{"Pricing/", Pricing}}) {
        for (const bench::PolicyCase& policy : bench::kPolicies) {
            for (const int age : {0, 60}) {
                const std::string title =
                    name + std::string(policy.name) + "/age:" + std::to_string(age);
                benchmark::RegisterBenchmark(title.c_str(), measure, policy, age)
                    ->UseManualTime()
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
    return bench::RunRegistered(argc, argv);
}
