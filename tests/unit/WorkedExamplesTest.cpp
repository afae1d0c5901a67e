// SPDX-License-Identifier: GPL-3.0-or-later
// Unit values and premiums of the worked examples (table 1, age 60, rate 5 percent,
// term 5, amount 10000 given), and the life-table statistics behind them.
#include "CaseNames.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

namespace {

struct PricingCase {
    PolicyKind kind;
    int policyIndex;
    double unitAnnual; // expected to six decimals
    double unitAmount;
    double premium; // to two decimals
};

void RunDefaultCase(CTabulonDoc& doc, PolicyKind kind, int policyIndex) {
    doc.RunCalculation(kind, testing_support::Values(policyIndex));
}

void PrintTo(const PricingCase& c, std::ostream* out) {
    *out << PolicyOf(c.kind, c.policyIndex + 1).journalName;
}

class WorkedExample : public ::testing::TestWithParam<PricingCase> {};

TEST_P(WorkedExample, UnitValuesAndPremiumMatchToThePrintedDecimals) {
    const PricingCase& expected = GetParam();
    CTabulonDoc doc;
    RunDefaultCase(doc, expected.kind, expected.policyIndex);
    EXPECT_NEAR(doc.m_dUnitAnnualPV, expected.unitAnnual, 5e-7)
        << std::setprecision(17) << doc.m_dUnitAnnualPV;
    EXPECT_NEAR(doc.m_dUnitAmountPV, expected.unitAmount, 5e-7) << doc.m_dUnitAmountPV;
    EXPECT_NEAR(doc.m_dPremium, expected.premium, 5e-3) << doc.m_dPremium;
    EXPECT_DOUBLE_EQ(doc.m_dAmount, 10000.0);
}

// Expected values as the worked examples of insurance and pension pricing print them.
INSTANTIATE_TEST_SUITE_P(
    TableOneAgeSixty, WorkedExample,
    ::testing::Values(PricingCase{PolicyKind::Insurance, 0, 11.277437, 0.462979, 410.54},
                      PricingCase{PolicyKind::Insurance, 1, 4.375607, 0.090595, 207.04},
                      PricingCase{PolicyKind::Insurance, 2, 4.375607, 0.791638, 1809.21},
                      PricingCase{PolicyKind::Pension, 0, -10.277437, -1.0, 973.01},
                      PricingCase{PolicyKind::Pension, 1, -4.076650, -1.0, 2452.99}),
    [](const auto& info) {
        return testing_support::CaseName(
            PolicyOf(info.param.kind, info.param.policyIndex + 1).journalName);
    });

TEST(LifeStatistics, TableOneAtSixtyGivesTheDocumentedMoments) {
    CTabulonDoc doc;
    RunDefaultCase(doc, PolicyKind::Insurance, 0);
    EXPECT_NEAR(doc.m_dDeathProb[60], 1470.0 / 79784.0, 1e-15);
    EXPECT_NEAR(doc.m_dSurvivalProb[60], 0.9815753, 5e-8);
    EXPECT_NEAR(doc.m_dMeanAgeAtDeath, 76.73, 0.005);
    EXPECT_NEAR(doc.m_dSdAgeAtDeath, 9.07, 0.005);
    EXPECT_NEAR(doc.m_dMeanLifetime, 17.23, 0.005);
    EXPECT_NEAR(doc.m_dSdLifetime, 9.07, 0.005);
    // The last survival probability is zero only up to rounding, and not clamped.
    EXPECT_NEAR(doc.m_dSurvivalProb[106], 0.0, 1e-15);
}

} // namespace
