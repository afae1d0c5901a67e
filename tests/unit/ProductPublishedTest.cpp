// SPDX-License-Identifier: GPL-3.0-or-later
// The product engine against published values on the Standard Ultimate Life Table (SULT)
// and the Illustrative Life Table (ILT), each row naming where its figure is printed.
#include "CaseNames.h"
#include "ProductTestSupport.h"
#include "Valuation.h"

#include <gtest/gtest.h>

#include <iomanip>

namespace {

using namespace product_support;

// What a row compares with its published figure.
enum class Figure {
    BenefitEpv,           // the EPV of the benefits
    SecondMomentThousand, // 1000 times the second moment of the benefits' present value
    Variance,             // the variance of the benefits' present value
    NetPremium,           // the solved annual premium
    PolicyValueAtTen,     // 10V
};

struct PublishedProductCase {
    const char* name;
    const char* source;
    bool onSult; // otherwise ILT
    double ratePercent;
    FractionalAge fractional;
    int age;
    Product product;
    Figure figure;
    double expected;
    double tolerance; // half a unit of the last printed decimal
};

void PrintTo(const PublishedProductCase& c, std::ostream* out) {
    *out << c.name << " (" << c.source << ")";
}

double Computed(const PublishedProductCase& c) {
    const PublishedRegistry& registry = Published();
    const Life life{c.onSult ? registry.sult : registry.ilt, c.age};
    const Valuation value = ValueProduct(registry.tables, life, {c.ratePercent, c.fractional},
                                         c.product, c.figure == Figure::PolicyValueAtTen);
    switch (c.figure) {
    case Figure::BenefitEpv:
        return value.benefitEpv;
    case Figure::SecondMomentThousand:
        return 1000.0 * value.benefitSecondMoment;
    case Figure::Variance:
        return value.benefitSd * value.benefitSd;
    case Figure::NetPremium:
        return value.netPremium;
    case Figure::PolicyValueAtTen:
        return value.policyValues.at(10);
    }
    return 0.0;
}

class PublishedProductValues : public ::testing::TestWithParam<PublishedProductCase> {};

TEST_P(PublishedProductValues, MeetThePrintedFigure) {
    const PublishedProductCase& c = GetParam();
    EXPECT_NEAR(Computed(c), c.expected, c.tolerance)
        << std::setprecision(17) << c.name << " from " << c.source << ": computed " << Computed(c)
        << ", printed " << c.expected;
}

constexpr auto W3 = FractionalAge::Woolhouse3;
constexpr auto Udd = FractionalAge::Udd;
constexpr auto Arrears = Timing::Arrears;
constexpr const char* kAmlcr = "Dickson, Hardy, Waters, AMLCR 2nd ed., Tables 5.1 and 5.2";
constexpr const char* kBowers = "Bowers et al., Actuarial Mathematics, Illustrative Life Table";
// 1000 2A(x), the second moment of whole life cover of 1, is the table's column at 6%.
constexpr const char* kSoa = "SOA exam LTAM/MLC written-answer solutions on the SULT";

const PublishedProductCase kCases[] = {
    {"a 20", kAmlcr, true, 5, W3, 20, Of({Annuity(0, 1, Arrears)}), Figure::BenefitEpv, 18.966,
     5e-4},
    {"a4 20", kAmlcr, true, 5, W3, 20, Of({Annuity(0, 4, Arrears)}), Figure::BenefitEpv, 19.338,
     5e-4},
    {"due 20", kAmlcr, true, 5, W3, 20, Of({Annuity()}), Figure::BenefitEpv, 19.966, 5e-4},
    {"due4 20", kAmlcr, true, 5, W3, 20, Of({Annuity(0, 4)}), Figure::BenefitEpv, 19.588, 5e-4},
    {"a 20 10", kAmlcr, true, 5, W3, 20, Of({Annuity(10, 1, Arrears)}), Figure::BenefitEpv, 7.711,
     5e-4},
    {"a4 20 10", kAmlcr, true, 5, W3, 20, Of({Annuity(10, 4, Arrears)}), Figure::BenefitEpv, 7.855,
     5e-4},
    {"due4 20 10", kAmlcr, true, 5, W3, 20, Of({Annuity(10, 4)}), Figure::BenefitEpv, 7.952, 5e-4},
    {"a 80", kAmlcr, true, 5, W3, 80, Of({Annuity(0, 1, Arrears)}), Figure::BenefitEpv, 7.548,
     5e-4},
    {"a4 80", kAmlcr, true, 5, W3, 80, Of({Annuity(0, 4, Arrears)}), Figure::BenefitEpv, 7.917,
     5e-4},
    {"due 80", kAmlcr, true, 5, W3, 80, Of({Annuity()}), Figure::BenefitEpv, 8.548, 5e-4},
    {"due4 80", kAmlcr, true, 5, W3, 80, Of({Annuity(0, 4)}), Figure::BenefitEpv, 8.167, 5e-4},
    {"a 80 10", kAmlcr, true, 5, W3, 80, Of({Annuity(10, 1, Arrears)}), Figure::BenefitEpv, 6.128,
     5e-4},
    {"a4 80 10", kAmlcr, true, 5, W3, 80, Of({Annuity(10, 4, Arrears)}), Figure::BenefitEpv, 6.373,
     5e-4},
    {"due4 80 10", kAmlcr, true, 5, W3, 80, Of({Annuity(10, 4)}), Figure::BenefitEpv, 6.539, 5e-4},

    {"ILT due12 60", kBowers, false, 6, Udd, 60, Of({Annuity(0, 12)}), Figure::BenefitEpv, 10.68036,
     5e-6},
    {"ILT A4 30", kBowers, false, 6, Udd, 30, Of({Leg(LegKind::WholeLife, 1, 0, 0, 4)}),
     Figure::BenefitEpv, 0.1048, 5e-5},
    {"ILT term 30 10 at 4", "Bowers et al., Example 4.2.2 (ILT, 4%)", false, 4, Udd, 30,
     Of({Leg(LegKind::Term, 1, 10)}), Figure::BenefitEpv, 0.015773, 5e-7},
    {"ILT term 30 10 at 4 variance", "Bowers et al., Example 4.2.2 (ILT, 4%)", false, 4, Udd, 30,
     Of({Leg(LegKind::Term, 1, 10)}), Figure::Variance, 0.012471, 5e-7},
    {"ILT 2A 26", kBowers, false, 6, Udd, 26, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 19.8657, 5e-5},
    {"ILT 2A 39", kBowers, false, 6, Udd, 39, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 45.4833, 5e-5},
    {"ILT 2A 43", kBowers, false, 6, Udd, 43, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 59.4833, 5e-5},
    {"ILT 2A 55", kBowers, false, 6, Udd, 55, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 130.6687, 5e-5},
    {"ILT 2A 62", kBowers, false, 6, Udd, 62, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 199.4077, 5e-5},
    {"ILT 2A 77", kBowers, false, 6, Udd, 77, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 421.0184, 5e-5},
    {"ILT 2A 83", kBowers, false, 6, Udd, 83, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 526.6012, 5e-5},
    {"ILT 2A 99", kBowers, false, 6, Udd, 99, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 768.1330, 5e-5},
    {"ILT 2A 110", kBowers, false, 6, Udd, 110, Of({Leg(LegKind::WholeLife)}),
     Figure::SecondMomentThousand, 857.0377, 5e-5},

    {"due 60 10", kSoa, true, 5, Udd, 60, Of({Annuity(10)}), Figure::BenefitEpv, 7.9555, 5e-5},
    {"due 60 20", kSoa, true, 5, Udd, 60, Of({Annuity(20)}), Figure::BenefitEpv, 12.3816, 5e-5},
    {"E 50 10", kSoa, true, 5, Udd, 50, Of({Leg(LegKind::PureEndowment, 1, 10)}),
     Figure::BenefitEpv, 0.60182, 5e-6},
    {"due 50 10", kSoa, true, 5, Udd, 50, Of({Annuity(10)}), Figure::BenefitEpv, 8.0550, 5e-5},
    {"endowment 80 10", kSoa, true, 5, Udd, 80, Of({Leg(LegKind::Endowment, 1, 10)}),
     Figure::BenefitEpv, 0.67674, 5e-6},
    {"E 80 10", kSoa, true, 5, Udd, 80, Of({Leg(LegKind::PureEndowment, 1, 10)}),
     Figure::BenefitEpv, 0.33952, 5e-6},
    {"due 80 10", kSoa, true, 5, Udd, 80, Of({Annuity(10)}), Figure::BenefitEpv, 6.7885, 5e-5},
    {"term 80 10", kSoa, true, 5, Udd, 80, Of({Leg(LegKind::Term, 1, 10)}), Figure::BenefitEpv,
     0.33722, 5e-6},
    {"due 65", kSoa, true, 5, Udd, 65, Of({Annuity()}), Figure::BenefitEpv, 13.5498, 5e-5},
    {"E 65 5", kSoa, true, 5, Udd, 65, Of({Leg(LegKind::PureEndowment, 1, 5)}), Figure::BenefitEpv,
     0.75455, 5e-6},
    {"due 65 5", kSoa, true, 5, Udd, 65, Of({Annuity(5)}), Figure::BenefitEpv, 4.4889, 5e-5},
    {"E 45 20", kSoa, true, 5, Udd, 45, Of({Leg(LegKind::PureEndowment, 1, 20)}),
     Figure::BenefitEpv, 0.35994, 5e-6},
    {"due 45 20", kSoa, true, 5, Udd, 45, Of({Annuity(20)}), Figure::BenefitEpv, 12.9391, 5e-5},
    {"due 55 10", kSoa, true, 5, Udd, 55, Of({Annuity(10)}), Figure::BenefitEpv, 8.0192, 5e-5},
    // One printed solution gives 17.8161 for a-due 45:20 + 20E45 a-due 65 = 12.9391 + 0.35994
    // x 13.5498; that arithmetic gives 17.81622, so the arithmetic's 17.8162 is held (and the
    // two-row sum is checked on its own below).
    {"due 45", kSoa, true, 5, Udd, 45, Of({Annuity()}), Figure::BenefitEpv, 17.8162, 5e-5},

    // 1,000 of cover for 20 years and 2,500 a year from 65, premiums for 20 years.
    {"two legs on 45", kSoa, true, 5, Udd, 45,
     WithPremiums(Of({Leg(LegKind::Term, 1000, 20), Annuity(0, 1, Timing::Advance, 20, 2500)}), 20),
     Figure::NetPremium, 944.16, 5e-3},
};

INSTANTIATE_TEST_SUITE_P(Published, PublishedProductValues, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             return testing_support::CaseName(info.param.name);
                         });

// Whole life on (40): 50,000 in the first 20 years and 100,000 after, premium 875 a year for
// 20 years (SOA exam solution on the SULT at 5%): 10V = 11,152.11.
TEST(PublishedPolicyValue, TwoLegWholeLifeOnFortyHoldsTheTenthYearReserve) {
    const PublishedRegistry& registry = Published();
    Product product = WithPremiums(
        Of({Leg(LegKind::Term, 50000, 20), Leg(LegKind::WholeLife, 100000, 0, 20)}), 20);
    product.premium.given = 875.0;
    const Valuation value =
        ValueProduct(registry.tables, {registry.sult, 40}, {5.0, Udd}, product, true);
    EXPECT_NEAR(value.policyValues.at(10), 11152.11, 5e-3)
        << std::setprecision(17) << value.policyValues.at(10);
}

// The solution that prints 17.8161 for a-due 45 builds it from its own printed parts; the
// parts' arithmetic, rounded to its four decimals, is 17.8162.
TEST(PublishedPolicyValue, PrintedPartsOfTheLifeAnnuityOnFortyFiveAddUpToItsTableValue) {
    const double fromParts = 12.9391 + 0.35994 * 13.5498;
    EXPECT_NEAR(fromParts, 17.8162, 5e-5) << std::setprecision(17) << fromParts;
    const PublishedRegistry& registry = Published();
    const Valuation whole =
        ValueProduct(registry.tables, {registry.sult, 45}, {5.0, Udd}, Of({Annuity()}), false);
    EXPECT_NEAR(whole.benefitEpv, fromParts, 5e-5) << std::setprecision(17) << whole.benefitEpv;
}

} // namespace
