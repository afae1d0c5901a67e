// SPDX-License-Identifier: GPL-3.0-or-later
// The number syntax shared by the dialogs and the command line, and the range checks.
#include "InputField.h"
#include "CaseNames.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace {

struct IntegerCase {
    const char* text;
    bool accepted;
    int value;
};

void PrintTo(const IntegerCase& c, std::ostream* out) {
    *out << '"' << c.text
         << (c.accepted ? "\" reads as " + std::to_string(c.value) : "\" is refused");
}

// "Accepts_Plus_5", "Refuses_Minus_".
template <class Case> std::string SyntaxCaseName(const ::testing::TestParamInfo<Case>& info) {
    return (info.param.accepted ? "Accepts" : "Refuses") +
           testing_support::SpeltText(info.param.text);
}

class IntegerSyntax : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerSyntax, AcceptsSignedDecimalIntegersWithinInt) {
    int value = -12345;
    EXPECT_EQ(ParseInteger(GetParam().text, value), GetParam().accepted) << GetParam().text;
    if (GetParam().accepted) {
        EXPECT_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerSyntax,
    ::testing::Values(IntegerCase{"60", true, 60}, IntegerCase{"  7 ", true, 7},
                      IntegerCase{"+5", true, 5}, IntegerCase{"-0", true, 0},
                      IntegerCase{"007", true, 7}, IntegerCase{"2147483647", true, 2147483647},
                      IntegerCase{"-2147483648", true, -2147483647 - 1},
                      IntegerCase{"2147483648", false, 0},
                      IntegerCase{"99999999999999999999", false, 0}, IntegerCase{"", false, 0},
                      IntegerCase{"  ", false, 0}, IntegerCase{"-", false, 0},
                      IntegerCase{"5.0", false, 0}, IntegerCase{"1,000", false, 0},
                      IntegerCase{"0x10", false, 0}, IntegerCase{"5 5", false, 0},
                      IntegerCase{"1e2", false, 0}, IntegerCase{"+-6", false, 0},
                      IntegerCase{"- 6", false, 0}, IntegerCase{"+", false, 0}),
    SyntaxCaseName<IntegerCase>);

struct NumberCase {
    const char* text;
    bool accepted;
    float value;
};

void PrintTo(const NumberCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
    if (c.accepted)
        *out << " reads as " << c.value;
    else
        *out << " is refused";
}

class NumberSyntax : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberSyntax, AcceptsDecimalsAndExponentsOnly) {
    float value = -1;
    EXPECT_EQ(ParseSingle(GetParam().text, value), GetParam().accepted) << GetParam().text;
    if (GetParam().accepted) {
        EXPECT_EQ(value, GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberSyntax,
    ::testing::Values(
        NumberCase{"10000", true, 10000}, NumberCase{" 207.04 ", true, 207.04f},
        NumberCase{".5", true, 0.5f}, NumberCase{"5.", true, 5}, NumberCase{"1e9", true, 1e9f},
        NumberCase{"-2.5E-1", true, -0.25f}, NumberCase{"", false, 0}, NumberCase{".", false, 0},
        NumberCase{"1,000", false, 0}, NumberCase{"inf", false, 0}, NumberCase{"nan", false, 0},
        NumberCase{"0x1p3", false, 0}, NumberCase{"1e", false, 0}, NumberCase{"1e+", false, 0},
        NumberCase{"1 000", false, 0}, NumberCase{"$5", false, 0}, NumberCase{"+-5", false, 0},
        NumberCase{"+.5", true, 0.5f},
        // Beyond a float's range: infinite when too large, zero when too small,
        // however long the exponent.
        NumberCase{"1e39", true, std::numeric_limits<float>::infinity()},
        NumberCase{"-1e39", true, -std::numeric_limits<float>::infinity()},
        NumberCase{"1e99999999999999999999", true, std::numeric_limits<float>::infinity()},
        NumberCase{"1e-50", true, 0}, NumberCase{"-0.00001e-45", true, 0},
        NumberCase{"1e-99999999999999999999", true, 0},
        NumberCase{"123456789012345678901234567890123456789012e-3", true,
                   1.2345678901234567890123456789e38f},
        NumberCase{"1e-40", true, 1e-40f}),
    SyntaxCaseName<NumberCase>);

// The numeric locale is put back as it was, even when a check fails.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            GTEST_SKIP() << "the locale de_DE.UTF-8 is not available (./test builds one)";
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, m_saved.c_str()); }

private:
    std::string m_saved = std::setlocale(LC_NUMERIC, nullptr);
};

TEST_F(CommaLocale, NumbersAreReadWithAPointWhateverTheProcessLocale) {
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    float value = 0;
    EXPECT_TRUE(ParseSingle("973.01", value));
    EXPECT_EQ(value, 973.01f);
    EXPECT_TRUE(ParseSingle("2.5e3", value));
    EXPECT_EQ(value, 2500.0f);
    EXPECT_TRUE(ParseSingle("0.1", value));
    EXPECT_EQ(value, 0.1f);
    EXPECT_FALSE(ParseSingle("0,1", value));
    const std::string refused = CheckSingleField("x", "Amount", 0, 1e9f, value);
    EXPECT_NE(refused.find("from 0 to 1000000000 "), std::string::npos) << refused;
}

TEST(RangeChecks, AreInclusiveAndTheAmountIsCheckedInSinglePrecision) {
    float amount = 0;
    EXPECT_EQ(CheckSingleField("1000000000", "Amount", 0, 1e9f, amount), "");
    // 1000000032 rounds to 1e9 in single precision; 1000000033 rounds up to 1000000064.
    EXPECT_EQ(CheckSingleField("1000000032", "Amount", 0, 1e9f, amount), "");
    EXPECT_EQ(amount, 1e9f);
    EXPECT_NE(CheckSingleField("1000000033", "Amount", 0, 1e9f, amount), "");
    EXPECT_NE(CheckSingleField("2000000000", "Amount", 0, 1e9f, amount), "");
    EXPECT_NE(CheckSingleField("1e39", "Amount", 0, 1e9f, amount), "");
    EXPECT_NE(CheckSingleField("-0.001", "Amount", 0, 1e9f, amount), "");
    EXPECT_EQ(CheckSingleField("0", "Amount", 0, 1e9f, amount), "");

    int age = -1;
    EXPECT_EQ(CheckIntegerField("106", "Age", 0, 106, age), "");
    EXPECT_EQ(age, 106);
    EXPECT_EQ(CheckIntegerField("0", "Age", 0, 106, age), "");
    const std::string refused = CheckIntegerField("107", "Age", 0, 106, age);
    EXPECT_EQ(age, 0) << "a refused value is not stored";
    EXPECT_NE(refused.find("Age"), std::string::npos) << refused;
    EXPECT_NE(refused.find("0 to 106"), std::string::npos) << refused;
}

} // namespace
