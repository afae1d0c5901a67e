// SPDX-License-Identifier: GPL-3.0-or-later
// The product engine on one life to age 120: a yearly leg, a monthly leg under udd, and the
// full policy-value schedule, each against the time it is allowed.
#include "BenchSupport.h"

#include "TableRegistry.h"
#include "Valuation.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>

namespace {

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr double kYearlyLimitSeconds = 3e-6;
constexpr double kMonthlyLimitSeconds = 5e-6;
constexpr double kScheduleLimitSeconds = 30e-6;

// A Makeham table (the Standard Ultimate Life Table's law) for ages 0 to 119, so that a
// life at 0 runs to age 120.
TableRegistry TablesToAge120(int& id) {
    TableRegistry tables;
    MortalityTableData data;
    data.name = "Makeham to 120";
    data.firstAge = 0;
    const double a = 0.00022, b = 0.0000027, c = 1.124;
    for (int age = 0; age < 120; ++age) {
        const double force = a + b / std::log(c) * std::pow(c, age) * (c - 1.0);
        data.values.push_back(-std::expm1(-force));
    }
    id = tables.Add(data);
    return tables;
}

void Measure(benchmark::State& state, const Product& product, FractionalAge fractional,
             bool schedule, double limit) {
    int id = 0;
    const TableRegistry tables = TablesToAge120(id);
    const Life life{id, 0};
    const Basis basis{5.0, fractional};
    const double cpuStart = ThreadCpuSeconds();
    for (auto _ : state) {
        Valuation value = ValueProduct(tables, life, basis, product, schedule);
        benchmark::DoNotOptimize(value);
        benchmark::ClobberMemory();
    }
    // CPU time of this thread per valuation, which a busy machine does not inflate as it
    // does the wall time, and how it compares with the limit (below 1 meets it).
    const double perRun = (ThreadCpuSeconds() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["cpu_us"] = perRun * 1e6;
    state.counters["cpu_x_limit"] = perRun / limit;
}

Product OneLeg(LegKind kind, int frequency, int premiumFrequency) {
    Product product;
    BenefitLeg leg;
    leg.kind = kind;
    leg.frequency = frequency;
    product.benefits.push_back(leg);
    product.premium.forLife = true;
    product.premium.frequency = premiumFrequency;
    return product;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Product/WholeLifeYearly/age:0", Measure,
                                 OneLeg(LegKind::WholeLife, 1, 1), FractionalAge::Udd, false,
                                 kYearlyLimitSeconds)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Product/AnnuityMonthlyUdd/age:0", Measure,
                                 OneLeg(LegKind::Annuity, 12, 12), FractionalAge::Udd, false,
                                 kMonthlyLimitSeconds)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Product/PolicyValueSchedule/age:0", Measure,
                                 OneLeg(LegKind::WholeLife, 12, 12), FractionalAge::Udd, true,
                                 kScheduleLimitSeconds)
        ->Unit(benchmark::kMicrosecond);
    return bench::RunRegistered(argc, argv);
}
