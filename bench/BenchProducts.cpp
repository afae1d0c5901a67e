// SPDX-License-Identifier: GPL-3.0-or-later
// The product engine on one life to age 120: a yearly leg, a monthly leg under udd, and the
// full policy-value schedule, each against the time it is allowed. And what select rates,
// a second life and expenses cost beside the same product without them.
#include "BenchSupport.h"

#include "Pricing.h"
#include "TableFile.h"
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

// Runs `with` and `without` in turn, each timed by this thread's CPU clock, and reports
// their CPU times per call and with/without against the allowed ratio (below 1 meets it).
template <class With, class Without>
void MeasureRatio(benchmark::State& state, With with, Without without, double allowed) {
    double withSeconds = 0, withoutSeconds = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        auto a = with();
        benchmark::DoNotOptimize(a);
        const double middle = ThreadCpuSeconds();
        auto b = without();
        benchmark::DoNotOptimize(b);
        withoutSeconds += ThreadCpuSeconds() - middle;
        withSeconds += middle - start;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["with_us"] = withSeconds / runs * 1e6;
    state.counters["without_us"] = withoutSeconds / runs * 1e6;
    state.counters["ratio"] = withSeconds / withoutSeconds;
    state.counters["ratio_x_allowed"] = withSeconds / withoutSeconds / allowed;
}

// Whole life with premiums for life on [20], selected at 20, against the same life on the
// table's ultimate rates (the shipped Standard Select Survival Model): at most 1.5 times.
void BM_SelectAgainstUltimate(benchmark::State& state) {
    TableRegistry tables;
    const int id = tables.Add(ReadMortalityTableFile(TABULON_STANDARD_TABLES "/SSSM.csv"));
    const Product product = OneLeg(LegKind::WholeLife, 12, 12);
    const Basis basis{5.0, FractionalAge::Udd};
    MeasureRatio(
        state,
        [&] {
            return ValueProduct(tables, Life{id, 20, true}, basis, product, false);
        },
        [&] {
            return ValueProduct(tables, Life{id, 20, false}, basis, product, false);
        },
        1.5);
}

// A joint-life annuity on (0) and (0), both to age 120, against the annuity on one of them:
// at most twice.
void BM_TwoLivesAgainstOne(benchmark::State& state) {
    int id = 0;
    const TableRegistry tables = TablesToAge120(id);
    const Product product = OneLeg(LegKind::Annuity, 12, 12);
    const Basis basis{5.0, FractionalAge::Udd};
    const std::optional<SecondLife> second = SecondLife{Life{id, 0}, LifeStatus::Joint, false};
    MeasureRatio(
        state,
        [&] {
            return PriceProduct(tables, Life{id, 0}, second, basis, product, {}, false);
        },
        [&] {
            return PriceProduct(tables, Life{id, 0}, std::nullopt, basis, product, {}, false);
        },
        2.0);
}

// Whole life on (0) with every kind of expense, gross and net policy values at every
// duration, against the net policy values alone: at most 1.5 times.
void BM_GrossAgainstNetPolicyValues(benchmark::State& state) {
    int id = 0;
    const TableRegistry tables = TablesToAge120(id);
    const Product product = OneLeg(LegKind::WholeLife, 12, 12);
    const Basis basis{5.0, FractionalAge::Udd};
    Expenses expenses;
    expenses.initial = 300;
    expenses.initialPremiumPercent = 50;
    expenses.renewal = 20;
    expenses.renewalPremiumPercent = 3;
    expenses.claim = 100;
    MeasureRatio(
        state,
        [&] {
            return PriceProduct(tables, Life{id, 0}, std::nullopt, basis, product, expenses, true);
        },
        [&] {
            return ValueProduct(tables, Life{id, 0}, basis, product, true);
        },
        1.5);
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
    benchmark::RegisterBenchmark("Product/SelectAgainstUltimate", BM_SelectAgainstUltimate)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Product/TwoLivesAgainstOne/ages:0,0", BM_TwoLivesAgainstOne)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Product/GrossAgainstNetPolicyValues/age:0",
                                 BM_GrossAgainstNetPolicyValues)
        ->Unit(benchmark::kMicrosecond);
    return bench::RunRegistered(argc, argv);
}
