// SPDX-License-Identifier: GPL-3.0-or-later
// Identities every valuation must keep, on several tables, rates and fractional-age
// conventions: they hold for any mortality, so a fault in one leg or column shows at once.
#include "CalculationRecord.h"
#include "CaseNames.h"
#include "ProductNames.h"
#include "ProductTestSupport.h"
#include "Valuation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

namespace {

using namespace product_support;

struct Setting {
    const char* table; // "SULT", "ILT" or a built-in table's code
    int age;
    double ratePercent;
    FractionalAge fractional;
    int frequency;
};

void PrintTo(const Setting& s, std::ostream* out) {
    *out << s.table << " age " << s.age << " at " << std::setprecision(17) << s.ratePercent << "% "
         << FractionalName(s.fractional) << " m=" << s.frequency;
}

class ProductIdentities : public ::testing::TestWithParam<Setting> {
protected:
    double Epv(const Product& product) const { return Value(product).benefitEpv; }
    Valuation Value(const Product& product, bool policyValues = false, int ageShift = 0) const {
        const Setting& s = GetParam();
        return ValueProduct(Published().tables, {TableId(), s.age + ageShift},
                            {s.ratePercent, s.fractional}, product, policyValues);
    }
    int M() const { return GetParam().frequency; }
    // l at the age reached after t years.
    double LivingAt(int t) const {
        return Published().tables.Find(TableId())->Living(GetParam().age + t);
    }
    int TableId() const {
        const std::string table = GetParam().table;
        return table == "SULT"  ? Published().sult
               : table == "ILT" ? Published().ilt
                                : std::stoi(table);
    }
    double V() const { return 100.0 / (100.0 + GetParam().ratePercent); }
};

constexpr double kTolerance = 1e-12;

// A = 1 - d a-due, for whole life and for a 15-year endowment (yearly: d a-due is the
// discount on each premium-year's 1, paid back at the end of the year of death).
TEST_P(ProductIdentities, AssuranceIsOneLessDiscountTimesAnnuityDue) {
    const double d = 1.0 - V();
    EXPECT_NEAR(Epv(Of({Leg(LegKind::WholeLife)})), 1.0 - d * Epv(Of({Annuity()})), kTolerance);
    EXPECT_NEAR(Epv(Of({Leg(LegKind::Endowment, 1, 15)})), 1.0 - d * Epv(Of({Annuity(15)})),
                kTolerance);
}

TEST_P(ProductIdentities, EndowmentIsTermPlusPureEndowment) {
    const double endowment = Epv(Of({Leg(LegKind::Endowment, 700, 12, 3, M())}));
    const double parts = Epv(Of({Leg(LegKind::Term, 700, 12, 3, M())})) +
                         Epv(Of({Leg(LegKind::PureEndowment, 700, 12, 3)}));
    EXPECT_NEAR(endowment, parts, kTolerance * endowment);
    // One product of both legs is their sum, leg by leg.
    const Valuation both =
        Value(Of({Leg(LegKind::Term, 700, 12, 3, M()), Leg(LegKind::PureEndowment, 700, 12, 3)}));
    EXPECT_NEAR(both.benefitEpv, both.legEpv[0] + both.legEpv[1], kTolerance * endowment);
}

TEST_P(ProductIdentities, DeferredPlusTemporaryIsWhole) {
    for (const Timing timing : {Timing::Advance, Timing::Arrears}) {
        const double whole = Epv(Of({Annuity(0, M(), timing)}));
        const double split =
            Epv(Of({Annuity(10, M(), timing)})) + Epv(Of({Annuity(0, M(), timing, 10)}));
        EXPECT_NEAR(whole, split, kTolerance * whole) << TimingName(timing);
    }
    const double cover = Epv(Of({Leg(LegKind::WholeLife, 1, 0, 0, M())}));
    const double coverSplit = Epv(Of({Leg(LegKind::Term, 1, 10, 0, M())})) +
                              Epv(Of({Leg(LegKind::WholeLife, 1, 0, 10, M())}));
    EXPECT_NEAR(cover, coverSplit, kTolerance);
}

// a(m) = a-due(m) - (1/m)(1 - E at the end): each payment moves from the start to the end of
// its 1/m-year.
TEST_P(ProductIdentities, ImmediateIsDueLessTheFirstPaymentPlusTheOneAtTheEnd) {
    const double atEnd = Epv(Of({Leg(LegKind::PureEndowment, 1, 20)}));
    EXPECT_NEAR(Epv(Of({Annuity(20, M(), Timing::Arrears)})),
                Epv(Of({Annuity(20, M())})) - (1.0 - atEnd) / M(), kTolerance * 20);
    EXPECT_NEAR(Epv(Of({Annuity(0, M(), Timing::Arrears)})), Epv(Of({Annuity(0, M())})) - 1.0 / M(),
                kTolerance * 20);
}

// The products whose schedules the next two tests hold.
std::vector<Product> ScheduleProducts(int m) {
    return {
        WithPremiums(Of({Leg(LegKind::WholeLife, 1000, 0, 0, m)}), 0, m),
        WithPremiums(Of({Leg(LegKind::Endowment, 500, 20, 0, m)}), 15, m),
        WithPremiums(Of({Leg(LegKind::Term, 1000, 20), Annuity(0, m, Timing::Advance, 20, 2500)}),
                     20, m),
        Of({Annuity(10, m, Timing::Arrears, 5, 1200), Leg(LegKind::PureEndowment, 300, 8, 2)}),
    };
}

TEST_P(ProductIdentities, PolicyValueAtIssueIsZeroWithTheSolvedPremium) {
    for (const Product& product : ScheduleProducts(M())) {
        const Valuation value = Value(product, true);
        EXPECT_NEAR(value.policyValues.front(), 0.0, kTolerance * 10 * value.benefitEpv)
            << std::setprecision(17) << "net premium " << value.netPremium;
    }
}

// The remaining cash flows at duration t as a product written at age x + t; dueNow gets the
// survival benefits that fall due at t itself.
Product RemainingAt(const Product& product, int t, double& dueNow) {
    Product rest;
    dueNow = 0.0;
    for (BenefitLeg leg : product.benefits) {
        const bool forLife = leg.term == 0;
        const bool paysOnSurvival =
            leg.kind == LegKind::Endowment || leg.kind == LegKind::PureEndowment;
        if (paysOnSurvival && t == leg.deferral + leg.term)
            dueNow += leg.amount;
        if (t <= leg.deferral) {
            leg.deferral -= t;
        } else if (forLife) {
            leg.deferral = 0;
        } else if (t < leg.deferral + leg.term) {
            leg.term = leg.deferral + leg.term - t;
            leg.deferral = 0;
        } else {
            continue;
        }
        rest.benefits.push_back(leg);
    }
    return rest;
}

// tV by the recursion against the direct prospective value at every duration before the end:
// the remaining benefits' EPV at x + t less the premium times the remaining premiums' EPV.
TEST_P(ProductIdentities, RecursionEqualsProspectiveValueAtEveryDuration) {
    for (const Product& product : ScheduleProducts(M())) {
        const Valuation value = Value(product, true);
        const int end = static_cast<int>(value.policyValues.size()) - 1;
        const int premiumYears = product.premium.forLife ? end : product.premium.term;
        for (int t = 1; t < end && LivingAt(t) > 0.0; ++t) {
            double dueNow = 0.0;
            const Product rest = RemainingAt(product, t, dueNow);
            const double benefits = rest.benefits.empty() ? 0.0 : Value(rest, false, t).benefitEpv;
            const double premiums =
                t < premiumYears
                    ? Value(Of({Annuity(premiumYears - t, product.premium.frequency)}), false, t)
                          .benefitEpv
                    : 0.0;
            const double direct = dueNow + benefits - value.premium * premiums;
            ASSERT_NEAR(value.policyValues[t], direct, 1e-9 * (1.0 + std::fabs(direct)))
                << std::setprecision(17) << "duration " << t;
        }
    }
}

const Setting kSettings[] = {
    {"SULT", 45, 5, FractionalAge::Udd, 1},
    {"SULT", 45, 5, FractionalAge::Udd, 12},
    {"SULT", 60, 3.25, FractionalAge::Woolhouse2, 4},
    {"SULT", 30, 0, FractionalAge::Woolhouse3, 2},
    {"ILT", 40, 6, FractionalAge::Woolhouse3, 12},
    {"ILT", 70, 100, FractionalAge::Udd, 4},
    {"1", 50, 4, FractionalAge::Udd, 12},
    {"3", 35, 7.5, FractionalAge::Woolhouse3, 4},
};

INSTANTIATE_TEST_SUITE_P(Settings, ProductIdentities, ::testing::ValuesIn(kSettings),
                         [](const auto& info) {
                             const Setting& s = info.param;
                             return testing_support::CaseName(std::string(s.table) + " " +
                                                              std::to_string(s.age) + " " +
                                                              FractionalName(s.fractional) + " m" +
                                                              std::to_string(s.frequency)) +
                                    "_" + std::to_string(info.index);
                         });

// Whole life on a built-in table at a whole-percent rate: the product engine and the
// Insurance pricing of the calculation record give the same two unit values.
TEST(ProductEngineAndInsurancePricing, AgreeOnWholeLifeToTwelveDigits) {
    const TableRegistry tables;
    for (const int table : {1, 2, 3, 4}) {
        for (const int age : {0, 35, 60, 90}) {
            for (const int rate : {0, 3, 5, 12}) {
                CCalculationRecord record;
                record.m_nTable = table;
                record.m_nAge = age;
                record.m_dRate = rate;
                record.m_nPolicyType = 1;
                record.m_nInputKind = 1;
                record.Calculate(PolicyKind::Insurance);
                const Valuation value =
                    ValueProduct(tables, {table, age}, {static_cast<double>(rate)},
                                 WithPremiums(Of({Leg(LegKind::WholeLife)}), 0), false);
                EXPECT_NEAR(value.benefitEpv, record.m_dUnitAmountPV,
                            1e-12 * record.m_dUnitAmountPV)
                    << "table " << table << " age " << age << " rate " << rate;
                EXPECT_NEAR(value.premiumAnnuityEpv, record.m_dUnitAnnualPV,
                            1e-12 * record.m_dUnitAnnualPV)
                    << "table " << table << " age " << age << " rate " << rate;
            }
        }
    }
}

// A removed table takes its id with it; the others keep theirs, and their names.
TEST(ProductTableRegistry, IdsStayWithTheirTablesWhenAnotherIsRemoved) {
    TableRegistry tables;
    MortalityTableData data;
    data.firstAge = 60;
    data.values = {0.1, 0.2, 1.0};
    data.name = "first";
    const int first = tables.Add(data);
    data.name = "second\nline";
    const int second = tables.Add(data);
    tables.Remove(first);
    EXPECT_EQ(tables.Find(first), nullptr);
    ASSERT_NE(tables.Find(second), nullptr);
    EXPECT_EQ(tables.Find(second)->name, "second line");
    EXPECT_EQ(tables.Add(data), second + 1);
    tables.Remove(1);
    ASSERT_NE(tables.Find(1), nullptr);
    EXPECT_EQ(tables.Find(1)->name, "National, male");
}

} // namespace
