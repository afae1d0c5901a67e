// SPDX-License-Identifier: GPL-3.0-or-later
// The series the charts draw: one entry per age shown, the record's own values, and the
// report's net-income rows, for every policy kind and at the extremes.
#include "ChartSeries.h"
#include "MortalityTables.h"
#include "ReportLine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>

using testing_support::LinesFrom;
using testing_support::Values;

namespace {

struct ChartCase {
    const char* name;
    PolicyKind kind;
    PolicyDialogData values;
};

void PrintTo(const ChartCase& chartCase, std::ostream* out) {
    *out << chartCase.name;
}

PolicyDialogData WithTable(PolicyDialogData values, int tableIndex) {
    values.m_nTableIndex = tableIndex;
    return values;
}

// The same double, not-a-number of either sign included.
bool Same(double expected, double actual) {
    return std::isnan(expected) ? std::isnan(actual) : expected == actual;
}

std::string WithoutTrailingBlanks(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// A chart row in the report's formats (trailing blanks left off: they depend on the policy).
std::string AsReportRow(const NetIncomeRow& row) {
    CStringList line;
    if (!row.valuesShown)
        report::AppendLine(line, "%8d+ %11.4f", row.age, row.probability);
    else
        report::AppendLine(line,
                           row.survivors ? "%8d+ %11.4f %12.2f %10.2f" : "%9d %11.4f %12.2f %10.2f",
                           row.age, row.probability, row.undiscounted, row.discounted);
    return WithoutTrailingBlanks(std::string(line.GetAt(0)));
}

class ChartSeriesOf : public ::testing::TestWithParam<ChartCase> {};

TEST_P(ChartSeriesOf, FollowsTheRecordAndTheReport) {
    const ChartCase& chartCase = GetParam();
    PolicyDialogData values = chartCase.values;
    values.m_bNetIncome = 1;
    CTabulonDoc doc;
    EXPECT_FALSE(HoldsCalculation(doc));
    doc.RunCalculation(chartCase.kind, values);
    ASSERT_TRUE(HoldsCalculation(doc));
    const double runningSum = doc.m_dRunningSum;

    const ChartSeries series = BuildChartSeries(doc);

    EXPECT_EQ(std::memcmp(&runningSum, &doc.m_dRunningSum, sizeof runningSum), 0)
        << "the record must be left as it was";
    EXPECT_EQ(series.pension, chartCase.kind == PolicyKind::Pension);
    EXPECT_EQ(series.age, values.m_nAge);
    EXPECT_EQ(series.table, values.m_nTableIndex + 1);
    EXPECT_EQ(series.policyType, values.m_nPolicyIndex + 1);
    EXPECT_TRUE(Same(doc.m_dPremium, series.premium));

    const std::size_t shown = static_cast<std::size_t>(doc.m_nAges - values.m_nAge);
    ASSERT_EQ(series.ages.size(), shown);
    ASSERT_EQ(series.living.size(), shown);
    ASSERT_EQ(series.deathProb.size(), shown);
    for (std::size_t i = 0; i < shown; ++i) {
        const int x = values.m_nAge + static_cast<int>(i);
        ASSERT_EQ(series.ages[i], x);
        ASSERT_TRUE(Same(doc.m_dLiving[x], series.living[i])) << "l at age " << x;
        ASSERT_TRUE(Same(doc.m_dDeathProb[x], series.deathProb[i])) << "q at age " << x;
    }
    EXPECT_TRUE(Same(doc.m_dMeanAgeAtDeath, series.meanAgeAtDeath));
    EXPECT_TRUE(Same(doc.m_dSdAgeAtDeath, series.sdAgeAtDeath));

    // The report's net-income rows lie between the third and fourth dashed rule.
    const std::vector<std::string> report = LinesFrom(doc);
    const std::string rule = "--------- ----------- ------------ ----------  ";
    const auto first = std::find(report.begin(), report.end(), rule) + 1;
    const auto last = std::find(first, report.end(), rule);
    ASSERT_NE(last, report.end());
    std::vector<std::string> expectedRows;
    std::transform(first, last, std::back_inserter(expectedRows), WithoutTrailingBlanks);
    std::vector<std::string> chartRows;
    std::transform(series.netIncome.begin(), series.netIncome.end(), std::back_inserter(chartRows),
                   AsReportRow);
    EXPECT_EQ(chartRows, expectedRows);

    CStringList edni;
    report::AppendLine(edni, "               1.0000        EDNI= %10.2f ", std::fabs(series.edni));
    EXPECT_EQ(std::string(edni.GetAt(0)), *(last + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Policies, ChartSeriesOf,
    ::testing::Values(ChartCase{"TermLifeAt60", PolicyKind::Insurance, Values(1)},
                      ChartCase{"WholeLifeAt0", PolicyKind::Insurance, Values(0, 0)},
                      ChartCase{"EndowmentPastTheTable", PolicyKind::Insurance, Values(2, 60, 50)},
                      ChartCase{"LifeAnnuityAt60", PolicyKind::Pension, Values(0)},
                      ChartCase{"TermAnnuityPastTheTable", PolicyKind::Pension, Values(1, 60, 80)},
                      // Nobody lives at 106 in table 3: every probability is 0/0.
                      ChartCase{"WholeLifeAt106Table3", PolicyKind::Insurance,
                                WithTable(Values(0, 106), 2)},
                      // No payment falls due at 106: the payment solved is infinite.
                      ChartCase{"LifeAnnuityAt106", PolicyKind::Pension, Values(0, 106)}),
    [](const ::testing::TestParamInfo<ChartCase>& info) { return std::string(info.param.name); });

TEST(ChartSeries, TakesTheTermFromPoliciesThatUseOne) {
    CTabulonDoc doc;
    const struct {
        PolicyKind kind;
        int policyIndex;
        bool usesTerm;
    } cases[] = {{PolicyKind::Insurance, 0, false},
                 {PolicyKind::Insurance, 1, true},
                 {PolicyKind::Insurance, 2, true},
                 {PolicyKind::Pension, 0, false},
                 {PolicyKind::Pension, 1, true}};
    for (const auto& c : cases) {
        doc.RunCalculation(c.kind, Values(c.policyIndex, 40, 12));
        const ChartSeries series = BuildChartSeries(doc);
        EXPECT_EQ(series.usesTerm, c.usesTerm) << "policy index " << c.policyIndex;
        EXPECT_EQ(series.term, 12);
        EXPECT_EQ(series.rate, 5.0);
    }
}

// A calculation on an imported table, then an earlier imported table removed (the codes
// after it move up): the charts still name the calculation's own table.
TEST(ChartSeries, NamesItsOwnTableAfterAnEarlierImportedTableIsRemoved) {
    const double living[] = {100000, 90000, 70000, 40000};
    const int earlier = AddMortalityTable("Earlier", 60, living);
    const int used = AddMortalityTable("Used", 60, living);
    CTabulonDoc doc;
    PolicyDialogData values = Values(0, 61);
    values.m_nTableIndex = used - 1;
    doc.RunCalculation(PolicyKind::Insurance, values);
    RemoveMortalityTable(earlier);
    const ChartSeries series = BuildChartSeries(doc);
    RemoveMortalityTable(used - 1);
    EXPECT_EQ(series.tableName, "Used");
    EXPECT_EQ(series.living.front(), 90000.0);
}

} // namespace
