// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a user's table file end to end (open, read, parse, check) through the entry
// --table-file and Import Table use: a 121-age table as XTbML and as CSV, and the SOA's
// 2015 VBT select-and-ultimate file (2,053 cells: 103 ultimate rates and 78 issue ages of
// 25 select rates). The aims: well under a millisecond for the 121-age XTbML file, under
// 5 ms for the 2015 VBT file; x_limit is the time over the aim.
#include "BenchSupport.h"
#include "TableFile.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr double kLimitSeconds = 1e-3;
constexpr double kSelectLimitSeconds = 5e-3;

// q(x) of a Gompertz-like table over ages 0 to 120, as a file would print it.
std::string Rate(int age) {
    char text[32];
    const double q = std::fmin(1.0, 0.0002 * std::exp(0.09 * age));
    const auto end = std::to_chars(text, text + sizeof text, q, std::chars_format::fixed, 6);
    return std::string(text, end.ptr);
}

std::string XtbmlFile() {
    std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<XTbML>\r\n"
                       "  <ContentClassification>\r\n    <TableIdentity>1</TableIdentity>\r\n"
                       "    <TableName>Benchmark Table, ANB</TableName>\r\n"
                       "  </ContentClassification>\r\n  <Table>\r\n    <MetaData>\r\n"
                       "      <ScalingFactor>0</ScalingFactor>\r\n"
                       "      <AxisDef id=\"Age\">\r\n        <AxisName>Age</AxisName>\r\n"
                       "        <MinScaleValue>0</MinScaleValue>\r\n"
                       "        <MaxScaleValue>120</MaxScaleValue>\r\n      </AxisDef>\r\n"
                       "    </MetaData>\r\n    <Values>\r\n      <Axis>\r\n";
    for (int age = 0; age <= 120; ++age)
        text += "        <Y t=\"" + std::to_string(age) + "\">" + Rate(age) + "</Y>\r\n";
    return text + "      </Axis>\r\n    </Values>\r\n  </Table>\r\n</XTbML>\r\n";
}

std::string CsvFile() {
    std::string text = "age,qx\r\n";
    for (int age = 0; age <= 120; ++age)
        text += std::to_string(age) + "," + Rate(age) + "\r\n";
    return text;
}

// Reads the file once per iteration; returns the wall time per read in seconds.
double ReadRepeatedly(benchmark::State& state, const std::string& path, int ages,
                      int selectPeriod = 0) {
    const bench::Clock::time_point start = bench::Clock::now();
    for (auto _ : state) {
        const MortalityTableData table = ReadMortalityTableFile(path);
        benchmark::DoNotOptimize(table.values.data());
        if (static_cast<int>(table.values.size()) != ages || table.select.period != selectPeriod) {
            state.SkipWithError("the table read has the wrong number of ages");
            return 0;
        }
    }
    return bench::SecondsSince(start) / static_cast<double>(state.iterations());
}

void BM_ReadXtbmlTable(benchmark::State& state) {
    const std::string path = bench::DataFolder() + "/table-121.xml";
    bench::WriteWholeFile(path, XtbmlFile());
    state.counters["x_limit"] = ReadRepeatedly(state, path, 121) / kLimitSeconds;
}
BENCHMARK(BM_ReadXtbmlTable)->Unit(benchmark::kMicrosecond);

void BM_ReadCsvTable(benchmark::State& state) {
    const std::string path = bench::DataFolder() + "/table-121.csv";
    bench::WriteWholeFile(path, CsvFile());
    ReadRepeatedly(state, path, 121);
}
BENCHMARK(BM_ReadCsvTable)->Unit(benchmark::kMicrosecond);

void BM_ReadSelectAndUltimateXtbml(benchmark::State& state) {
    state.counters["x_limit"] =
        ReadRepeatedly(state,
                       TABULON_TABLE_SAMPLES "/soa-3224-2015-vbt-female-nonsmoker-rr100-anb.xml",
                       103, 25) /
        kSelectLimitSeconds;
}
BENCHMARK(BM_ReadSelectAndUltimateXtbml)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
