// SPDX-License-Identifier: GPL-3.0-or-later
// Whole reports line for line: the worked examples (table 1, age 60, term 5, rate 5,
// amount 10000), the optional sections, and how edge cases print.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using testing_support::Report;
using testing_support::Sections;
using testing_support::Values;
using testing_support::With;

namespace {

std::vector<std::string> Tail(const std::vector<std::string>& lines, std::size_t count) {
    return {lines.end() - static_cast<std::ptrdiff_t>(std::min(count, lines.size())), lines.end()};
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST(Report, TermLifeWithNetIncomeMatchesTheWorkedExampleLineForLine) {
    const PolicyDialogData values = With(Sections::NetIncome, Values(1));
    const std::vector<std::string> expected = {
        " ",
        "*** The following calculations are based on the National, male mortality table.",
        " ",
        "                                            Policy       Annual       ",
        "Policy type           Applicant's age       amount       premium   ",
        "-------------------- ----------------- ---------------- ----------  ",
        " Term life insurance         60               10000.00     207.04 ",
        "(Term = 5 years)  ",
        "Discount rate = 5.00 percent. ",
        " ",
        "   Age                  N e t  I n c o m e     ",
        " at death Probability Undiscounted Discounted  ",
        "--------- ----------- ------------ ----------  ",
        "       60      0.0184     -9792.96   -9316.76",
        "       61      0.0197     -9585.91   -8666.06",
        "       62      0.0210     -9378.87   -8046.35",
        "       63      0.0224     -9171.82   -7456.14",
        "       64      0.0237     -8964.78   -6894.05",
        "      65+      0.8947      1035.22     941.22",
        "--------- ----------- ------------ ----------  ",
        "               1.0000        EDNI=       0.00 ",
    };
    EXPECT_EQ(Report(PolicyKind::Insurance, values), expected);
}

TEST(Report, EndowmentRowsCarryATrailingBlankAndSurvivorsMatchTheLastDeathRow) {
    const PolicyDialogData values = With(Sections::NetIncome, Values(2));
    const std::vector<std::string> expected = {
        "       60      0.0184     -8190.79   -7714.60 ",
        "       61      0.0197     -6381.59   -5538.03 ",
        "       62      0.0210     -4572.38   -3465.11 ",
        "       63      0.0224     -2763.17   -1490.90 ",
        "       64      0.0237      -953.97     389.30 ",
        "      65+      0.8947      -953.97     389.30 ",
        "--------- ----------- ------------ ----------  ",
        "               1.0000        EDNI=       0.00 ",
    };
    const std::vector<std::string> report = Report(PolicyKind::Insurance, values);
    EXPECT_EQ(Tail(report, expected.size()), expected);
    EXPECT_EQ(report[6], "           Endowment         60               10000.00    1809.21 ");
}

TEST(Report, TermAnnuityPrintsPaymentsAndTheSurvivorsOfTheTerm) {
    const std::vector<std::string> report =
        Report(PolicyKind::Pension, With(Sections::NetIncome, Values(1)));
    const std::vector<std::string> expected = {
        "Policy type           Applicant's age       amount       payment   ",
        "-------------------- ----------------- ---------------- ----------  ",
        "        Term annuity         60               10000.00    2452.99 ",
        "(Term = 5 years)  ",
        "Discount rate = 5.00 percent. ",
        " ",
        "   Age                  N e t  I n c o m e     ",
        " at death Probability Undiscounted Discounted  ",
        "--------- ----------- ------------ ----------  ",
        "       60      0.0184     10000.00   10000.00 ",
        "       61      0.0197      7547.01    7663.81 ",
        "       62      0.0210      5094.01    5438.88 ",
        "       63      0.0224      2641.02    3319.89 ",
        "       64      0.0237       188.02    1301.80 ",
        "      65+      0.8947     -2264.97    -620.18 ",
        "--------- ----------- ------------ ----------  ",
        "               1.0000        EDNI=       0.00 ",
    };
    EXPECT_EQ(Tail(report, expected.size()), expected);
}

TEST(Report, LifeAnnuityHasNoTermLineAndNoSurvivorsRow) {
    const std::vector<std::string> report =
        Report(PolicyKind::Pension, With(Sections::NetIncome, Values(0)));
    EXPECT_EQ(report[6], "        Life annuity         60               10000.00     973.01 ");
    EXPECT_EQ(report[7], "Discount rate = 5.00 percent. ");
    EXPECT_EQ(report[report.size() - 3], "      106      0.0000    -34758.24   -7397.40 ");
    // Death in the first year leaves the whole amount with the insurer.
    EXPECT_EQ(report[12], "       60      0.0184     10000.00   10000.00 ");
}

TEST(Report, GivenPremiumOrPaymentSolvesTheAmount) {
    PolicyDialogData term = Values(1, 60, 5, 5, 207.04f);
    term.m_nInputKind = 2;
    EXPECT_EQ(Report(PolicyKind::Insurance, term)[6],
              " Term life insurance         60                9999.76     207.04 ");
    PolicyDialogData annuity = Values(1, 60, 5, 5, 2452.99f);
    annuity.m_nInputKind = 2;
    EXPECT_EQ(Report(PolicyKind::Pension, annuity)[6],
              "        Term annuity         60                9999.98    2452.99 ");
}

TEST(Report, MortalitySectionListsEveryAgeFromTheApplicantOn) {
    const std::vector<std::string> report =
        Report(PolicyKind::Insurance, With(Sections::Mortality, Values(0)));
    const std::vector<std::string> head = {
        " ",
        "*** The following calculations are based on the National, male mortality table.",
        " ",
        "         Mortality table and probability distribution              ",
        "         of age at death for 60 year-old applicant                 ",
        "      Number  Deaths  Death               Cumulative   Probability ",
        " Age  living  in year  rate  Probability  probability  of survival ",
        "----- ------- ------- ------ -----------  -----------  ----------- ",
        "   60   79784    1470   0.02      0.0184       0.0184       0.9816",
        "   61   78314    1572   0.02      0.0197       0.0381       0.9619",
    };
    EXPECT_EQ(std::vector<std::string>(report.begin(), report.begin() + 10), head);
    const std::size_t summary =
        IndexOf(report, "Summary life statistics for applicant aged 60 years");
    ASSERT_LT(summary, report.size());
    EXPECT_EQ(summary, 8u + (107 - 60) + 1) << "one table row per age from 60 to 106";
    EXPECT_EQ(report[summary + 1], "      based on National, male mortality table:");
    EXPECT_EQ(report[summary + 2], "Age at death    ... Mean=  76.73 Standard deviation=   9.07 ");
    EXPECT_EQ(report[summary + 3], "Life expectancy ... Mean=  17.23 Standard deviation=   9.07 ");
    // Whole life prints no term line.
    EXPECT_EQ(IndexOf(report, "(Term = 5 years)  "), report.size());
}

TEST(Report, WithoutSectionsOnlyOpeningAndSummaryArePrinted) {
    const std::vector<std::string> report = Report(PolicyKind::Insurance, Values(0));
    EXPECT_EQ(report.size(), 2u + 6u);
    EXPECT_EQ(IndexOf(report, "Summary life statistics for applicant aged 60 years"),
              report.size());
}

TEST(Report, AgeOneHundredSixWholeLifeHasOneRowOfCertainDeath) {
    for (const int table : {0, 1, 3}) {
        const std::vector<std::string> report =
            Report(PolicyKind::Insurance, With(Sections::Both, Values(0, 106, 5, 5, 10000, table)));
        const std::vector<std::string> tail = Tail(report, 3);
        EXPECT_EQ(tail[0].substr(0, 21), "      106      1.0000") << "table " << table + 1;
        EXPECT_EQ(tail[1], "--------- ----------- ------------ ----------  ");
        EXPECT_EQ(IndexOf(report, "Summary life statistics for applicant aged 106 years"), 10u);
    }
}

TEST(Report, TermPastTheTableEndsWithAProbabilityOnlySurvivorsRow) {
    const std::vector<std::string> report =
        Report(PolicyKind::Insurance, With(Sections::NetIncome, Values(1, 60, 50)));
    EXPECT_EQ(report[7], "(Term = 50 years)  ");
    const std::vector<std::string> tail = Tail(report, 4);
    EXPECT_EQ(tail[0].substr(0, 9), "      106");
    // The survival probability past the last age is zero up to rounding, printed as C prints it.
    EXPECT_TRUE(tail[1] == "     107+      0.0000" || tail[1] == "     107+     -0.0000")
        << tail[1];

    const std::vector<std::string> pension =
        Report(PolicyKind::Pension, With(Sections::NetIncome, Values(1, 60, 80)));
    EXPECT_EQ(pension[7], "(Term = 80 years)  ");
    EXPECT_EQ(Tail(pension, 3)[0].substr(0, 9), "     107+");
    EXPECT_EQ(Tail(pension, 3)[0].size(), 21u);
}

TEST(Report, NobodyLivingPrintsNanNeverMinusNan) {
    const std::vector<std::string> report =
        Report(PolicyKind::Insurance, With(Sections::Both, Values(0, 106, 5, 5, 10000, 2)));
    EXPECT_EQ(report[8], "  106       0       0    nan         nan          nan          nan");
    for (const std::string& line : report)
        EXPECT_EQ(line.find("-nan"), std::string::npos) << line;
    // A pension at 106 has nobody to pay: the payment for an amount is minus infinity.
    const std::vector<std::string> pension = Report(PolicyKind::Pension, Values(0, 106));
    EXPECT_EQ(pension[6], "        Life annuity        106               10000.00       -inf ");
}

TEST(Report, RateIsPrintedWithTwoDecimals) {
    const std::vector<std::string> report = Report(PolicyKind::Insurance, Values(1, 60, 5, 7));
    EXPECT_EQ(report.back(), "Discount rate = 7.00 percent. ");
}

// The expected discounted net income vanishes for ordinary input and never prints as -0.00.
TEST(Report, EdniIsZeroAcrossPoliciesAgesAndInputKinds) {
    for (const PolicyKind kind : {PolicyKind::Insurance, PolicyKind::Pension}) {
        const int policies = kind == PolicyKind::Insurance ? 3 : 2;
        for (int policy = 0; policy < policies; ++policy) {
            for (const int age : {0, 25, 60, 99}) {
                for (const int inputKind : {1, 2}) {
                    PolicyDialogData values =
                        With(Sections::NetIncome, Values(policy, age, 20, 4, 12345.5f, age % 4));
                    values.m_nInputKind = inputKind;
                    EXPECT_EQ(Report(kind, values).back(),
                              "               1.0000        EDNI=       0.00 ")
                        << "policy " << policy << " age " << age << " kind " << inputKind;
                }
            }
        }
    }
}

} // namespace
