// tabulon-cli batch on a file of 100,000 policies, run as a process (it is single-threaded,
// so it uses one core): policies per second of wall time and of CPU time.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr double kTargetPoliciesPerSecond = 100000;

// A batch of policies of every kind, type and table, with ages, terms, rates and amounts
// spread over the ranges the dialogs admit, and both ways of giving the amount.
std::string BatchText(std::int64_t rows) {
    std::mt19937 random(20261208);
    std::string text = "kind,policy,table,age,term,rate,amount,given\n";
    for (std::int64_t i = 0; i < rows; ++i) {
        const bench::PolicyCase& policy = bench::kPolicies[random() % 5];
        const bool pension = policy.kind == PolicyKind::Pension;
        const int maxTerm = PolicyLimits::MaxTerm(policy.kind);
        text += pension ? "pension," : "insurance,";
        text += std::to_string(policy.policyIndex + 1) + ",";
        text += std::to_string(random() % 4 + 1) + ",";
        text += std::to_string(random() % 100) + ",";
        text += std::to_string(random() % maxTerm + 1) + ",";
        text += std::to_string(random() % 12) + ",";
        text += std::to_string(random() % 1000000) + "." + std::to_string(random() % 100) + ",";
        text += random() % 4 == 0 ? (pension ? "payment" : "premium") : "amount";
        text += '\n';
    }
    return text;
}

void BM_BatchProcess(benchmark::State& state) {
    const std::string path = bench::DataFolder() + "/batch-" + std::to_string(state.range(0)) + ".csv";
    bench::WriteWholeFile(path, BatchText(state.range(0)));
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        const bench::ChildResult result = bench::RunChild({TABULON_CLI, "batch", path});
        if (result.status != 0) {
            state.SkipWithError("tabulon-cli batch failed");
            break;
        }
        wall += result.wallSeconds;
        cpu += result.cpuSeconds;
        state.SetIterationTime(result.wallSeconds);
    }
    ::unlink(path.c_str());
    const double policies = static_cast<double>(state.range(0) * state.iterations());
    state.SetItemsProcessed(state.range(0) * state.iterations());
    state.counters["per_cpu_s"] = policies / cpu;
    // Above 1 meets the aim of 100,000 policies a second on one core.
    state.counters["x_target"] = policies / cpu / kTargetPoliciesPerSecond;
}

} // namespace

BENCHMARK(BM_BatchProcess)->Arg(100000)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
