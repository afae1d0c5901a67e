// SPDX-License-Identifier: GPL-3.0-or-later
// Products on two lives and with expenses: published joint-life and last-survivor values,
// each row naming where its figure is printed, and the identities that hold for any
// mortality (joint plus last survivor, reversionary plus joint, gross against net).
#include "CaseNames.h"
#include "Pricing.h"
#include "ProductNames.h"
#include "ProductTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>

namespace {

using namespace product_support;

// Tables for the two-life example with its husband and wife columns, and one whose life never
// dies before age 150.
struct CoupleRegistry {
    TableRegistry tables;
    int ilt = 0;
    int husband = 0;
    int wife = 0;
    int immortal = 0;
};

int AddLivingTable(TableRegistry& tables, const char* name, int firstAge,
                   std::vector<double> living) {
    MortalityTableData data;
    data.name = name;
    data.firstAge = firstAge;
    data.kind = MortalityTableData::Kind::L;
    data.values = std::move(living);
    return tables.Add(data);
}

const CoupleRegistry& Couples() {
    static const CoupleRegistry registry = [] {
        CoupleRegistry made;
        made.tables = Published().tables;
        made.ilt = Published().ilt;
        made.husband =
            AddLivingTable(made.tables, "husband", 65, {43302, 42854, 42081, 41351, 40050});
        made.wife = AddLivingTable(made.tables, "wife", 60, {47260, 47040, 46755, 46500, 46227});
        made.immortal = AddLivingTable(made.tables, "immortal", 0, std::vector<double>(151, 1e5));
        return made;
    }();
    return registry;
}

SecondLife Second(int tableId, int age, LifeStatus status, bool premiumsLast = false) {
    return SecondLife{{tableId, age}, status, premiumsLast};
}

PricedProduct Price(const Life& first, const std::optional<SecondLife>& second, double rate,
                    FractionalAge fractional, const Product& product, const Expenses& expenses = {},
                    bool policyValues = false) {
    return PriceProduct(Couples().tables, first, second, {rate, fractional}, product, expenses,
                        policyValues);
}

struct PublishedCoupleCase {
    const char* name;
    const char* source;
    bool onIlt; // otherwise the husband's and the wife's tables
    double ratePercent;
    int firstAge;
    int secondAge;
    LifeStatus status;
    Product product;
    double expected;
    double tolerance; // half a unit of the last printed decimal
};

void PrintTo(const PublishedCoupleCase& c, std::ostream* out) {
    *out << c.name << " (" << c.source << ")";
}

class PublishedCoupleValues : public ::testing::TestWithParam<PublishedCoupleCase> {};

TEST_P(PublishedCoupleValues, MeetThePrintedFigure) {
    const PublishedCoupleCase& c = GetParam();
    const CoupleRegistry& registry = Couples();
    const Life first{c.onIlt ? registry.ilt : registry.husband, c.firstAge};
    const SecondLife second = Second(c.onIlt ? registry.ilt : registry.wife, c.secondAge, c.status);
    const double computed =
        Price(first, second, c.ratePercent, FractionalAge::Udd, c.product).net.benefitEpv;
    EXPECT_NEAR(computed, c.expected, c.tolerance)
        << std::setprecision(17) << c.name << " from " << c.source << ": computed " << computed;
}

constexpr auto Joint = LifeStatus::Joint;
constexpr auto Last = LifeStatus::LastSurvivor;
constexpr const char* kBowers =
    "Bowers et al., Actuarial Mathematics, Illustrative Life Table, joint-life annuities at 6%";
constexpr const char* kFinan = "Finan, A Reading of the Theory of Life Contingency Models, ILT 6%";
constexpr const char* kAmlcr = "Dickson, Hardy, Waters, AMLCR 2nd ed., Example 9.1 (section 9.4)";

// Survival probabilities are the EPVs of pure endowments at 0%.
const PublishedCoupleCase kCases[] = {
    {"due 40 40", kBowers, true, 6, 40, 40, Joint, Of({Annuity()}), 13.60357, 5e-6},
    {"due 61 61", kBowers, true, 6, 61, 61, Joint, Of({Annuity()}), 8.92659, 5e-6},
    {"due 78 78", kBowers, true, 6, 78, 78, Joint, Of({Annuity()}), 4.57002, 5e-6},
    {"due 95 95", kBowers, true, 6, 95, 95, Joint, Of({Annuity()}), 1.85998, 5e-6},
    {"due 40 50", kBowers, true, 6, 40, 50, Joint, Of({Annuity()}), 12.47840, 5e-6},
    {"due 61 71", kBowers, true, 6, 61, 71, Joint, Of({Annuity()}), 7.28853, 5e-6},
    {"due 78 88", kBowers, true, 6, 78, 88, Joint, Of({Annuity()}), 3.34060, 5e-6},
    {"due 95 105", kBowers, true, 6, 95, 105, Joint, Of({Annuity()}), 1.39571, 5e-6},

    {"last survivor A 60 70", kFinan, true, 6, 60, 70, Last, Of({Leg(LegKind::WholeLife)}), 0.3118,
     5e-5},
    {"joint due 60 70", kFinan, true, 6, 60, 70, Joint, Of({Annuity()}), 7.5563, 5e-5},
    {"last survivor due 50 60", kFinan, true, 6, 50, 60, Last, Of({Annuity()}), 14.2178, 5e-5},
    {"joint immediate 30 40 for 10", kFinan, true, 6, 30, 40, Joint,
     Of({Annuity(10, 1, Timing::Arrears)}), 7.169, 5e-4},

    {"joint 3 year survival 66 60", kAmlcr, false, 0, 66, 60, Joint,
     Of({Leg(LegKind::PureEndowment, 1, 3)}), 0.9195, 5e-5},
    {"last survivor 2 year survival 65 62", kAmlcr, false, 0, 65, 62, Last,
     Of({Leg(LegKind::PureEndowment, 1, 2)}), 0.9997, 5e-5},
    {"last survivor due 65 60 for 5", kAmlcr, false, 5, 65, 60, Last, Of({Annuity(5)}), 4.5437,
     5e-5},
};

INSTANTIATE_TEST_SUITE_P(Published, PublishedCoupleValues, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             return testing_support::CaseName(info.param.name);
                         });

// Identities on the ILT, for ages, rates and conventions where they must hold exactly (up to
// rounding): each status's values are sums of the single lives' under UDD on each life and
// under Woolhouse's two terms; woolhouse3 takes mu of each status from its own survival.
struct CoupleSetting {
    int firstAge;
    int secondAge;
    double ratePercent;
    FractionalAge fractional;
    int frequency;
};

void PrintTo(const CoupleSetting& s, std::ostream* out) {
    *out << s.firstAge << ":" << s.secondAge << " at " << s.ratePercent << "% "
         << FractionalName(s.fractional) << " m=" << s.frequency;
}

class CoupleIdentities : public ::testing::TestWithParam<CoupleSetting> {
protected:
    double Epv(const Product& product, std::optional<LifeStatus> status, bool secondAlone = false,
               bool premiumsLast = false) const {
        const CoupleSetting& s = GetParam();
        const int ilt = Couples().ilt;
        const Life first{ilt, secondAlone ? s.secondAge : s.firstAge};
        std::optional<SecondLife> second;
        if (status)
            second = Second(ilt, s.secondAge, *status, premiumsLast);
        return Price(first, second, s.ratePercent, s.fractional, product).net.benefitEpv;
    }
    Product Due() const { return Of({Annuity(0, GetParam().frequency)}); }
    double Tolerance() const {
        return GetParam().fractional == FractionalAge::Woolhouse3 && GetParam().frequency > 1
                   ? 5e-3
                   : 1e-11;
    }
};

TEST_P(CoupleIdentities, JointAndLastSurvivorAnnuitiesAddUpToTheSingleLives) {
    const double sum = Epv(Due(), Joint) + Epv(Due(), Last);
    const double singles = Epv(Due(), std::nullopt) + Epv(Due(), std::nullopt, true);
    EXPECT_NEAR(sum, singles, Tolerance() * singles);
}

TEST_P(CoupleIdentities, JointAndLastSurvivorInsurancesAddUpToTheSingleLives) {
    const Product cover = Of({Leg(LegKind::WholeLife, 1, 0, 0, GetParam().frequency)});
    const double sum = Epv(cover, Joint) + Epv(cover, Last);
    const double singles = Epv(cover, std::nullopt) + Epv(cover, std::nullopt, true);
    EXPECT_NEAR(sum, singles, 1e-11 * singles);
}

TEST_P(CoupleIdentities, ReversionaryAndJointAnnuitiesAddUpToTheSecondLife) {
    for (const Timing timing : {Timing::Advance, Timing::Arrears}) {
        const Product annuity = Of({Annuity(0, GetParam().frequency, timing)});
        const double sum = Epv(annuity, Joint) + Epv(annuity, LifeStatus::Reversionary);
        const double second = Epv(annuity, std::nullopt, true);
        EXPECT_NEAR(sum, second, 1e-11 * second) << TimingName(timing);
    }
}

TEST_P(CoupleIdentities, JointAssuranceIsOneLessDiscountTimesJointAnnuityDue) {
    const double d = GetParam().ratePercent / (100.0 + GetParam().ratePercent);
    const double cover = Epv(Of({Leg(LegKind::WholeLife)}), Joint);
    EXPECT_NEAR(cover, 1.0 - d * Epv(Of({Annuity()}), Joint), 1e-12);
}

TEST_P(CoupleIdentities, GrossRecursionAndZeroIssueValueHoldOnEveryStatus) {
    const CoupleSetting& s = GetParam();
    const Expenses expenses{150, 40, 12, 5, 30};
    const Product product =
        WithPremiums(Of({Leg(LegKind::Endowment, 1000, 20, 0, s.frequency)}), 15, s.frequency);
    for (const bool premiumsLast : {false, true}) {
        for (const LifeStatus status : {Joint, Last}) {
            const SecondLife second = Second(Couples().ilt, s.secondAge, status, premiumsLast);
            const PricedProduct priced = Price({Couples().ilt, s.firstAge}, second, s.ratePercent,
                                               s.fractional, product, expenses, true);
            EXPECT_NEAR(priced.gross.policyValues.at(0), 0.0, 1e-9)
                << LifeStatusName(status) << " premiums last " << premiumsLast;
            EXPECT_NEAR(priced.net.policyValues.at(0), 0.0, 1e-9);
            EXPECT_GT(priced.gross.premium, priced.net.netPremium);
        }
    }
}

const CoupleSetting kSettings[] = {
    {40, 40, 6, FractionalAge::Udd, 1},        {30, 45, 6, FractionalAge::Udd, 12},
    {61, 71, 4, FractionalAge::Woolhouse2, 4}, {75, 60, 3.5, FractionalAge::Woolhouse3, 12},
    {90, 100, 0, FractionalAge::Udd, 2},       {50, 50, 6, FractionalAge::Woolhouse3, 1},
};

INSTANTIATE_TEST_SUITE_P(Ilt, CoupleIdentities, ::testing::ValuesIn(kSettings),
                         [](const auto& info) {
                             const CoupleSetting& s = info.param;
                             return "Ages" + std::to_string(s.firstAge) + "And" +
                                    std::to_string(s.secondAge) + "M" +
                                    std::to_string(s.frequency) + "_" + std::to_string(info.index);
                         });

// The same double, NaN included.
bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// One life through PriceProduct is ValueProduct bit for bit, and so is a joint status whose
// second life never dies; without expenses gross is net bit for bit.
TEST(CoupleEngine, SingleLifeAndImmortalPartnerKeepTheSingleLifeValuesBitForBit) {
    const CoupleRegistry& registry = Couples();
    const Product products[] = {
        WithPremiums(Of({Leg(LegKind::Endowment, 1000, 25, 0, 12)}), 20, 12),
        WithPremiums(Of({Leg(LegKind::Term, 500, 20), Annuity(0, 4, Timing::Arrears, 20, 100)}), 0,
                     1),
        Of({Annuity(0, 12)}),
    };
    for (const FractionalAge fractional :
         {FractionalAge::Udd, FractionalAge::Woolhouse2, FractionalAge::Woolhouse3}) {
        for (const Product& product : products) {
            const Life life{registry.ilt, 45};
            const Valuation single =
                ValueProduct(registry.tables, life, {6.0, fractional}, product, true);
            const PricedProduct priced =
                Price(life, std::nullopt, 6.0, fractional, product, {}, true);
            const PricedProduct joint = Price(life, Second(registry.immortal, 20, Joint), 6.0,
                                              fractional, product, {}, true);
            for (const Valuation& value : {priced.net, joint.net}) {
                EXPECT_EQ(value.legEpv, single.legEpv) << FractionalName(fractional);
                EXPECT_EQ(value.benefitEpv, single.benefitEpv);
                EXPECT_EQ(value.netPremium, single.netPremium);
                EXPECT_EQ(value.policyValues, single.policyValues);
            }
            EXPECT_TRUE(SameBits(priced.net.benefitSd, single.benefitSd));
            EXPECT_TRUE(SameBits(priced.net.lossSd, single.lossSd));
            EXPECT_EQ(priced.gross.premium, single.netPremium);
            EXPECT_EQ(priced.gross.policyValues, single.policyValues);
        }
    }
}

// A single premium with percent-of-premium expenses: G (1 - P/100) = benefits + expenses.
TEST(CoupleEngine, SinglePremiumGrossMeetsBenefitsAndExpenses) {
    const Life life{Couples().ilt, 50};
    const Product product = Of({Leg(LegKind::Term, 10000, 15)});
    const Expenses expenses{200, 3, 0, 0, 75};
    const PricedProduct priced =
        Price(life, std::nullopt, 6.0, FractionalAge::Udd, product, expenses);
    const double benefits = priced.net.benefitEpv;
    const double expected = (benefits + 200.0 + 75.0 * benefits / 10000.0) / (1.0 - 0.03);
    EXPECT_NEAR(priced.gross.premium, expected, 1e-9 * expected);
}

// The gross policy value at t is the gross value at issue of what remains, priced afresh at
// x + t with the renewal expenses in place of the initial ones and the gross premium given.
TEST(CoupleEngine, GrossPolicyValuesEqualTheProspectiveValueOfWhatRemains) {
    const int ilt = Couples().ilt;
    const Expenses expenses{300, 50, 25, 4, 60};
    for (const int frequency : {1, 4}) {
        const Product product =
            WithPremiums(Of({Leg(LegKind::Endowment, 10000, 20, 0, frequency)}), 20, frequency);
        const PricedProduct priced =
            Price({ilt, 40}, std::nullopt, 6.0, FractionalAge::Udd, product, expenses, true);
        for (int t = 1; t < 20; ++t) {
            Product rest = WithPremiums(Of({Leg(LegKind::Endowment, 10000, 20 - t, 0, frequency)}),
                                        20 - t, frequency);
            rest.premium.given = priced.gross.premium;
            const Expenses renewal{25, 4, 25, 4, 60};
            const PricedProduct afresh =
                Price({ilt, 40 + t}, std::nullopt, 6.0, FractionalAge::Udd, rest, renewal, true);
            EXPECT_NEAR(priced.gross.policyValues.at(t), afresh.gross.policyValues.at(0), 1e-8)
                << "duration " << t << " m=" << frequency;
        }
    }
}

TEST(CoupleEngine, ReversionaryRefusesDeathBenefits) {
    const CoupleRegistry& registry = Couples();
    const auto fault = FindTwoLifeFault(registry.tables, {registry.ilt, 60},
                                        Second(registry.ilt, 55, LifeStatus::Reversionary),
                                        Of({Annuity(), Leg(LegKind::Term, 1, 10)}));
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->field, TwoLifeFault::Field::Lives);
    EXPECT_THROW(Price({registry.ilt, 60}, Second(registry.ilt, 55, LifeStatus::Reversionary), 6,
                       FractionalAge::Udd, Of({Leg(LegKind::WholeLife)})),
                 std::invalid_argument);
}

} // namespace
