// SPDX-License-Identifier: GPL-3.0-or-later
// Report lines come out exactly as C printf formats them in the C locale, whatever the
// value: rounding of ties, signs of zero, non-finite values (NaN without its sign) and huge
// numbers, widths exceeded, lines cut at 511 bytes, and a line without values taken as its
// text. The formatter is held against the C library's snprintf, run in the C locale.
#include "ReportLine.h"
#include "CaseNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

namespace {

// snprintf in the C locale, whatever locale the process has set.
template <class... Args> std::string ViaPrintf(const char* format, Args... args) {
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t previous = ::uselocale(cLocale);
    char line[512];
    const int n = std::snprintf(line, sizeof line, format, report::Printable(args)...);
    ::uselocale(previous);
    return std::string(line, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), 511));
}

template <class... Args> std::string ViaReport(const char* format, Args... args) {
    CStringList lines;
    report::AppendLine(lines, format, args...);
    return std::string(lines.GetAt(0));
}

const double kTricky[] = {0.0,
                          -0.0,
                          0.5,
                          1.5,
                          2.5,
                          -2.5,
                          0.125,
                          0.375,
                          -0.375,
                          0.005,
                          0.015,
                          1.005,
                          -0.004,
                          0.00005,
                          99999.995,
                          1e15 + 0.5,
                          4503599627370497.0,
                          1e-320,
                          -1e-320,
                          1e308,
                          -1.7976931348623157e308,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(),
                          -std::numeric_limits<double>::quiet_NaN()};

class ReportNumber : public ::testing::TestWithParam<const char*> {};

TEST_P(ReportNumber, PrintsExactlyAsPrintfForTrickyAndRandomValues) {
    const char* format = GetParam();
    for (const double value : kTricky)
        EXPECT_EQ(ViaReport(format, value), ViaPrintf(format, value)) << format << " " << value;
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        // Exact binary ties at every scale, and arbitrary bit patterns.
        const double tie = std::ldexp(static_cast<double>(random() % 2000001) - 1e6,
                                      -static_cast<int>(random() % 12));
        std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        ASSERT_EQ(ViaReport(format, tie), ViaPrintf(format, tie)) << format << " " << tie;
        ASSERT_EQ(ViaReport(format, any), ViaPrintf(format, any)) << format << " bits " << bits;
    }
}

// The conversions the reports use, and the default precision.
INSTANTIATE_TEST_SUITE_P(Formats, ReportNumber,
                         ::testing::Values("%7.0f", "%6.2f", "%11.4f", "%12.2f", "%.2f percent. ",
                                           "EDNI= %10.2f ", "%f", "%.17f", "%.0f", "%1.3f", "%.40f",
                                           "%+.2f", "% .2f", "%08.2f", "%-10.2f|", "%#.0f"),
                         [](const auto& info) { return testing_support::SpeltText(info.param); });

// Integers and texts through widths, flags and precisions, the extremes of int included.
TEST(ReportLine, IntegersAndTextsMatchPrintf) {
    const int integers[] = {0, 1, -1, 7, 42, -42, 106, 99999, 100000, -100000, INT_MAX, INT_MIN};
    for (const char* format : {"%d", "%5d", "%3d", "%9d", "%8d+", "%-5d|", "%+d", "% d", "%05d",
                               "%.3d", "%.0d", "%05.3d", "%i"}) {
        for (const int value : integers)
            EXPECT_EQ(ViaReport(format, value), ViaPrintf(format, value)) << format << " " << value;
    }
    for (const char* format : {"%s", "%20s", "%-20s|", "%.3s", "%5.1s", "%3s"}) {
        for (const char* text : {"", "Endowment", "Whole life insurance", "National, female"})
            EXPECT_EQ(ViaReport(format, text), ViaPrintf(format, text)) << format << " " << text;
    }
}

// NaN of either sign prints as "nan" through the widths of numbers; infinities keep theirs.
TEST(ReportLine, NonFiniteValuesKeepTheirFields) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ViaReport("%6.2f|%11.4f", -nan, nan), "   nan|        nan");
    EXPECT_EQ(ViaReport("%10.2f %10.2f", inf, -inf), "       inf       -inf");
    EXPECT_EQ(ViaReport("%08.2f", -inf), "    -inf");
}

TEST(ReportLine, MixedLinesMatchPrintf) {
    EXPECT_EQ(ViaReport("%20s        %3d        %15.2f %10.2f ", "Term life insurance", 60, 10000.0,
                        207.04),
              ViaPrintf("%20s        %3d        %15.2f %10.2f ", "Term life insurance", 60, 10000.0,
                        207.04));
    EXPECT_EQ(ViaReport("%8d+ %11.4f", -107, 0.8947), ViaPrintf("%8d+ %11.4f", -107, 0.8947));
    EXPECT_EQ(ViaReport("%5d %7.0f", 2147483647, 79784.0),
              ViaPrintf("%5d %7.0f", 2147483647, 79784.0));
    EXPECT_EQ(ViaReport("100%% of %s", "x"), "100% of x");
}

TEST(ReportLine, FlagsOverLongLinesAndLinesWithoutValuesFollowPrintf) {
    EXPECT_EQ(ViaReport("%-8d|%08.2f|%+d", 5, 3.14159, 7), "5       |00003.14|+7");
    const std::string full = std::string(296, ' ') + "1.00 " + std::string(296, ' ') + "2.00";
    const std::string wide = "%300.2f %300.2f"; // not a literal, so the compiler does not warn
    EXPECT_EQ(ViaReport(wide.c_str(), 1.0, 2.0), full.substr(0, 511));
    // A line without values is its text, even with a percent sign in it.
    EXPECT_EQ(ViaReport("50% done"), "50% done");
}

} // namespace
