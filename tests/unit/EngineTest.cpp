// SPDX-License-Identifier: GPL-3.0-or-later
// The actuarial engine: table loading, life statistics and pricing on their edge cases and
// the identities between policy types. Unit values and premiums of the worked examples (table 1,
// age 60, rate 5 percent, term 5, amount 10000 given), and the life-table statistics behind them.
#include "CalculationRecord.h"
#include "MortalityTables.h"

#include "CaseNames.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <string>
#include <vector>

namespace {

CCalculationRecord Priced(int table, int age, int term, int rate, int policyType, PolicyKind kind) {
    CCalculationRecord record;
    record.m_nTable = table;
    record.m_nAge = age;
    record.m_nTerm = term;
    record.m_dRate = rate;
    record.m_nPolicyType = policyType;
    record.Calculate(kind);
    return record;
}

constexpr PolicyKind kInsurance = PolicyKind::Insurance;
constexpr PolicyKind kPension = PolicyKind::Pension;

TEST(LivingColumn, HoldsTheChosenTableClosedByZero) {
    CCalculationRecord record;
    record.m_nTable = 1;
    record.LoadLivingColumn();
    EXPECT_EQ(record.m_dLiving[0], 100000.0);
    EXPECT_EQ(record.m_dLiving[70], 60261.0);
    EXPECT_EQ(record.m_dLiving[106], 1.0);
    EXPECT_EQ(record.m_dLiving[107], 0.0);

    record.m_nTable = 3;
    record.LoadLivingColumn();
    EXPECT_EQ(record.m_dLiving[106], 0.0);

    record.m_nTable = 2;
    record.LoadLivingColumn();
    record.m_nTable = 4;
    record.LoadLivingColumn();
    for (int x = 0; x < 107; ++x)
        ASSERT_EQ(record.m_dLiving[x], g_fLivingTables[3][x]) << "age " << x;
}

TEST(MortalityTables, EveryTableStartsAtTheRadixAndNeverIncreases) {
    for (int t = 0; t < kTableCount; ++t) {
        EXPECT_EQ(g_fLivingTables[t][0], 100000.0f);
        for (int x = 1; x < kTableSlots; ++x)
            ASSERT_LE(g_fLivingTables[t][x], g_fLivingTables[t][x - 1]) << "table " << t + 1;
        EXPECT_EQ(g_fLivingTables[t][107], 0.0f);
    }
    // Only table 3 runs out of people before the last age in use.
    EXPECT_EQ(g_fLivingTables[0][106], 1.0f);
    EXPECT_EQ(g_fLivingTables[1][106], 6.0f);
    EXPECT_EQ(g_fLivingTables[2][106], 0.0f);
    EXPECT_EQ(g_fLivingTables[3][106], 4.0f);
}

TEST(TermQuantities, EndAgeIsCappedAndTheFlagSaysWhetherTheTermFits) {
    CCalculationRecord record;
    record.m_nAge = 100;
    record.m_nTerm = 7;
    record.ComputeTermQuantities();
    EXPECT_EQ(record.m_nEndAge, 107);
    EXPECT_EQ(record.m_bTermInTable, 1);
    record.m_nTerm = 8;
    record.ComputeTermQuantities();
    EXPECT_EQ(record.m_nEndAge, 107);
    EXPECT_EQ(record.m_bTermInTable, 0);
    record.m_dRate = 0;
    record.ComputeTermQuantities();
    EXPECT_EQ(record.m_dDiscountFactor, 1.0);
    record.m_dRate = 100;
    record.ComputeTermQuantities();
    EXPECT_EQ(record.m_dDiscountFactor, 0.5);
}

// Applicants at the last age with someone alive: one age is covered, and it is certain.
TEST(LifeStatistics, LastAgeIsCertainDeathWithNoSpread) {
    for (const int table : {1, 2, 4}) {
        const CCalculationRecord r = Priced(table, 106, 5, 5, 1, kInsurance);
        EXPECT_EQ(r.m_dDeathProb[106], 1.0) << "table " << table;
        EXPECT_EQ(r.m_dCumDeathProb[106], 1.0);
        EXPECT_EQ(r.m_dSurvivalProb[106], 0.0);
        EXPECT_EQ(r.m_dMeanAgeAtDeath, 106.0);
        EXPECT_EQ(r.m_dSdAgeAtDeath, 0.0);
        EXPECT_EQ(r.m_dMeanLifetime, 0.5);
        EXPECT_EQ(r.m_dSdLifetime, 0.0);
        // Whole life: one premium, the amount paid a year later.
        EXPECT_EQ(r.m_dUnitAnnualPV, 1.0);
        EXPECT_EQ(r.m_dUnitAmountPV, 100.0 / 105.0);
    }
}

TEST(LifeStatistics, TableThreeAt105DiesWithinTheYear) {
    const CCalculationRecord r = Priced(3, 105, 5, 5, 1, kInsurance);
    EXPECT_EQ(r.m_dDeathProb[105], 1.0);
    EXPECT_EQ(r.m_dDeathProb[106], 0.0);
    EXPECT_EQ(r.m_dMeanAgeAtDeath, 105.0);
    EXPECT_EQ(r.m_dMeanLifetime, 0.5);
    EXPECT_EQ(r.m_dSdAgeAtDeath, 0.0);
    EXPECT_EQ(r.m_dSdLifetime, 0.0);
}

TEST(LifeStatistics, TableThreeAt106HasNobodyAndEverythingIsNotANumber) {
    const CCalculationRecord r = Priced(3, 106, 5, 5, 1, kInsurance);
    EXPECT_TRUE(std::isnan(r.m_dDeathProb[106]));
    EXPECT_TRUE(std::isnan(r.m_dMeanAgeAtDeath));
    EXPECT_TRUE(std::isnan(r.m_dSdLifetime));
    EXPECT_TRUE(std::isnan(r.m_dUnitAnnualPV));
    EXPECT_TRUE(std::isnan(r.m_dUnitAmountPV));
}

TEST(LifeStatistics, AtAgeZeroDeathProbabilitiesAreDeathsOverTheRadix) {
    const CCalculationRecord r = Priced(2, 0, 5, 5, 1, kInsurance);
    for (int x = 0; x < 107; ++x)
        ASSERT_EQ(r.m_dDeathProb[x], (r.m_dLiving[x] - r.m_dLiving[x + 1]) / 100000.0) << x;
    // The remaining lifetime is the age at death plus half a year.
    EXPECT_NEAR(r.m_dMeanLifetime, r.m_dMeanAgeAtDeath + 0.5, 1e-12);
    EXPECT_NEAR(r.m_dSdLifetime, r.m_dSdAgeAtDeath, 1e-9);
}

TEST(LifeStatistics, EntriesBelowTheAgeKeepWhatAnEarlierCalculationLeft) {
    CCalculationRecord r = Priced(1, 30, 5, 5, 1, kInsurance);
    double before[3][107];
    for (int x = 0; x < 107; ++x) {
        before[0][x] = r.m_dDeathProb[x];
        before[1][x] = r.m_dAnnuity[x];
        before[2][x] = r.m_dDiscount[x];
    }
    r.m_nAge = 60;
    r.m_nTable = 2;
    r.m_nPolicyType = 2;
    r.Calculate(kInsurance);
    for (int x = 30; x < 60; ++x) {
        ASSERT_EQ(r.m_dDeathProb[x], before[0][x]) << x;
        ASSERT_EQ(r.m_dAnnuity[x], before[1][x]) << x;
        ASSERT_EQ(r.m_dDiscount[x], before[2][x]) << x;
    }
    // Term life leaves the pricing columns zero from the end of the term on.
    for (int x = 65; x < 107; ++x) {
        ASSERT_EQ(r.m_dAnnuity[x], 0.0) << x;
        ASSERT_EQ(r.m_dDiscount[x], 0.0) << x;
    }
}

// The one calculation entry: the net income only when it is wanted, every row handed on in
// increasing age with the survivors last, probabilities adding up to one and an expected
// discounted net income of zero for the solved amount and premium.
TEST(CalculationEntry, NetIncomeRowsCoverTheDistributionAndBalance) {
    for (const PolicyKind kind : {kInsurance, kPension}) {
        for (const PolicyInfo& policy : PoliciesOf(kind)) {
            for (const int age : {0, 60, 104}) {
                SCOPED_TRACE(std::string(policy.commandName) + " at " + std::to_string(age));
                CCalculationRecord r;
                r.m_nTable = 1;
                r.m_nAge = age;
                r.m_nTerm = 5;
                r.m_nPolicyType = policy.code;
                r.m_nInputKind = 1;
                std::vector<NetIncomeRow> rows;
                const auto keep = [&rows](const NetIncomeRow& row) { rows.push_back(row); };
                r.Calculate(kind, keep);
                EXPECT_TRUE(rows.empty());
                EXPECT_NEAR(r.m_dRunningSum, 1.0, 1e-12); // still the statistics' sum

                r.m_bNetIncome = 1;
                r.Calculate(kind, keep);
                const int deathRows =
                    policy.usesTerm ? std::min(5, r.m_nAges - age) : r.m_nAges - age;
                ASSERT_EQ(rows.size(),
                          static_cast<std::size_t>(deathRows + (policy.usesTerm ? 1 : 0)));
                double total = 0;
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    EXPECT_EQ(rows[i].age, age + static_cast<int>(i));
                    EXPECT_EQ(rows[i].survivors, i == static_cast<std::size_t>(deathRows));
                    total += rows[i].probability;
                }
                EXPECT_NEAR(total, 1.0, 1e-12);
                EXPECT_NEAR(r.m_dRunningSum, 0.0, 1e-9 * r.m_dAmount);
            }
        }
    }
}

struct IdentityCase {
    int table, age, rate;
};

void PrintTo(const IdentityCase& c, std::ostream* out) {
    *out << "table " << c.table << ", age " << c.age << ", rate " << c.rate;
}

class PricingIdentities : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(PricingIdentities, HoldBetweenWholeLifeEndowmentAndLifePension) {
    const IdentityCase c = GetParam();
    const CCalculationRecord whole = Priced(c.table, c.age, 10, c.rate, 1, kInsurance);
    const double v = whole.m_dDiscountFactor;
    EXPECT_NEAR(whole.m_dUnitAmountPV, 1 - (1 - v) * whole.m_dUnitAnnualPV, 1e-12);

    const CCalculationRecord endowment = Priced(c.table, c.age, 10, c.rate, 3, kInsurance);
    if (c.age + 10 <= 107) {
        EXPECT_NEAR(endowment.m_dUnitAmountPV, 1 - (1 - v) * endowment.m_dUnitAnnualPV, 1e-12);
    }

    const CCalculationRecord pension = Priced(c.table, c.age, 10, c.rate, 1, kPension);
    EXPECT_NEAR(-pension.m_dUnitAnnualPV, whole.m_dUnitAnnualPV - 1, 1e-12);
    EXPECT_EQ(pension.m_dUnitAmountPV, -1.0);

    // A term past the end of the table prices like the policy for life.
    const CCalculationRecord longTerm = Priced(c.table, c.age, 107, c.rate, 2, kInsurance);
    EXPECT_NEAR(longTerm.m_dUnitAnnualPV, whole.m_dUnitAnnualPV, 1e-12);
    EXPECT_NEAR(longTerm.m_dUnitAmountPV, whole.m_dUnitAmountPV, 1e-12);
    if (c.age + 100 >= 106) {
        const CCalculationRecord longAnnuity = Priced(c.table, c.age, 100, c.rate, 2, kPension);
        EXPECT_NEAR(longAnnuity.m_dUnitAnnualPV, pension.m_dUnitAnnualPV, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(AcrossTablesAgesAndRates, PricingIdentities,
                         ::testing::Values(IdentityCase{1, 60, 5}, IdentityCase{2, 0, 3},
                                           IdentityCase{3, 40, 0}, IdentityCase{4, 90, 12},
                                           IdentityCase{1, 100, 100}, IdentityCase{2, 105, 1}),
                         [](const auto& info) {
                             const IdentityCase& c = info.param;
                             return "Table" + std::to_string(c.table) + "Age" +
                                    std::to_string(c.age) + "Rate" + std::to_string(c.rate);
                         });

TEST(PricingAtRateZero, CountsPremiumsAndPaymentsAndDeathProbabilities) {
    const CCalculationRecord whole = Priced(1, 60, 5, 0, 1, kInsurance);
    EXPECT_NEAR(whole.m_dUnitAmountPV, 1.0, 1e-12);
    EXPECT_NEAR(whole.m_dUnitAnnualPV, whole.m_dMeanAgeAtDeath - 60 + 1, 1e-10);

    const CCalculationRecord term = Priced(1, 60, 5, 0, 2, kInsurance);
    EXPECT_NEAR(term.m_dUnitAmountPV, term.m_dCumDeathProb[64], 1e-12);

    const CCalculationRecord pension = Priced(1, 60, 5, 0, 1, kPension);
    EXPECT_NEAR(pension.m_dUnitAnnualPV, -(pension.m_dMeanAgeAtDeath - 60), 1e-10);
}

TEST(PricingOneYearTerm, CoversTheFirstAgeAlone) {
    const CCalculationRecord term = Priced(1, 60, 1, 5, 2, kInsurance);
    const double v = term.m_dDiscountFactor;
    EXPECT_NEAR(term.m_dUnitAnnualPV, 1.0, 1e-15);
    EXPECT_EQ(term.m_dUnitAmountPV, v * term.m_dDeathProb[60]);
    const CCalculationRecord endowment = Priced(1, 60, 1, 5, 3, kInsurance);
    EXPECT_NEAR(endowment.m_dUnitAmountPV, v, 1e-15);
}

TEST(PensionPricing, NobodyLeftToPayMeansAZeroValue) {
    const CCalculationRecord at106 = Priced(1, 106, 5, 5, 1, kPension);
    EXPECT_EQ(at106.m_dUnitAnnualPV, 0.0);
    EXPECT_EQ(at106.m_dUnitAmountPV, -1.0);
    EXPECT_EQ(at106.m_dAnnuitySum, 0.0);
    EXPECT_EQ(Priced(3, 105, 5, 5, 1, kPension).m_dUnitAnnualPV, 0.0);
    EXPECT_EQ(Priced(3, 105, 5, 5, 2, kPension).m_dUnitAnnualPV, 0.0);
}

TEST(PensionPricing, At105OnTableOneOnlyTheLastAgePays) {
    for (const int policy : {1, 2}) {
        const CCalculationRecord r = Priced(1, 105, 3, 5, policy, kPension);
        const double v = r.m_dDiscountFactor;
        EXPECT_NEAR(r.m_dUnitAnnualPV, -0.25 * v, 1e-15) << "policy " << policy;
        EXPECT_EQ(r.m_dDiscount[106], v);
        EXPECT_EQ(r.m_dDiscount[105], 0.0);
    }
}

TEST(PensionPricing, TheSlotAfterTheLastAgeHoldsOneMorePayment) {
    const CCalculationRecord r = Priced(1, 60, 47, 5, 2, kPension);
    const double v = r.m_dDiscountFactor;
    EXPECT_EQ(r.m_dDiscount[107], r.m_dDiscount[106] + std::pow(v, 47.0));
}

// A term of 0 leaves nothing to price; the routines must not look below the applicant's age.
TEST(ZeroTerm, PricesNothingAndReadsNothingBelowTheAge) {
    for (const int policy : {2, 3}) {
        CCalculationRecord r;
        r.m_dSurvivalProb[59] = 12345.0; // would show up if the age below were read
        r.m_nTable = 1;
        r.m_nAge = 60;
        r.m_nTerm = 0;
        r.m_nPolicyType = policy;
        r.Calculate(kInsurance);
        EXPECT_EQ(r.m_dUnitAnnualPV, 0.0) << "policy " << policy;
        EXPECT_EQ(r.m_dUnitAmountPV, 0.0) << "policy " << policy;
    }
    EXPECT_EQ(Priced(1, 60, 0, 5, 2, kPension).m_dUnitAnnualPV, 0.0);
}

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
