// SPDX-License-Identifier: GPL-3.0-or-later
// Finding text in journal lines: case of ASCII letters, the UTF-8 and Latin-1 spellings,
// direction, wrapping around and texts that are nowhere.
#include "LineSearch.h"
#include "CaseNames.h"

#include <gtest/gtest.h>

namespace {

CStringList Lines(std::initializer_list<std::string_view> texts) {
    CStringList lines;
    for (std::string_view text : texts)
        lines.AddTail(text);
    return lines;
}

struct FindCase {
    const char* name;
    std::vector<std::string> spellings;
    std::int64_t from;
    bool forward;
    std::int64_t line;
    std::size_t offset;
    std::size_t length;
    bool wrapped;
};

void PrintTo(const FindCase& c, std::ostream* out) {
    *out << c.name;
}

const CStringList& Journal() {
    static const CStringList journal =
        Lines({"LIFE INSURANCE AND PENSIONS, journal of calculations.", // 0
               "    Net single premium          1234.56",               // 1
               "Pr\xe4mie in Latin-1",                                  // 2
               "Pr\xc3\xa4mie in UTF-8",                                // 3
               "",                                                      // 4
               "premium premium"});                                     // 5
    return journal;
}

class Find : public ::testing::TestWithParam<FindCase> {};

TEST_P(Find, FindsTheNextLineHoldingTheText) {
    const FindCase& c = GetParam();
    const LineSearch::Match match = LineSearch(c.spellings).Find(Journal(), c.from, c.forward);
    EXPECT_EQ(match.line, c.line);
    if (c.line >= 0) {
        EXPECT_EQ(match.offset, c.offset);
        EXPECT_EQ(match.length, c.length);
        EXPECT_EQ(match.wrapped, c.wrapped);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Find,
    ::testing::Values(
        FindCase{
            "from no line forward starts at the first", {"journal"}, -1, true, 0, 29, 7, false},
        FindCase{"ascii letters in any case", {"NET Single"}, -1, true, 1, 4, 10, false},
        FindCase{"the line searched from comes last", {"premium"}, 1, true, 5, 0, 7, false},
        FindCase{"past the last line wraps to the first", {"premium"}, 5, true, 1, 15, 7, true},
        FindCase{
            "backward from no line starts at the last", {"premium"}, -1, false, 5, 0, 7, false},
        FindCase{"backward past the first wraps to the last", {"life"}, 0, false, 0, 0, 4, true},
        FindCase{"the latin-1 spelling", {"Pr\xc3\xa4mie", "Pr\xe4mie"}, -1, true, 2, 0, 6, false},
        FindCase{"the utf-8 spelling", {"Pr\xc3\xa4mie", "Pr\xe4mie"}, 2, true, 3, 0, 7, false},
        FindCase{"non-ascii bytes keep their case", {"PR\xc3\x84MIE"}, -1, true, -1, 0, 0, false},
        FindCase{"text in no line", {"annuity"}, 3, true, -1, 0, 0, false},
        FindCase{"longer than any line", {std::string(80, 'e')}, -1, true, -1, 0, 0, false},
        FindCase{"an empty text finds nothing", {""}, -1, true, -1, 0, 0, false},
        FindCase{"at the very end of a line", {"1234.56"}, -1, true, 1, 32, 7, false}),
    [](const auto& info) { return testing_support::CaseName(info.param.name); });

TEST(Find, EmptyJournalAndOneLineThatHoldsItTwice) {
    EXPECT_EQ(LineSearch({"x"}).Find(CStringList(), -1, true).line, -1);
    // A journal of one matching line: from that line, the search comes round to it again.
    const CStringList one = Lines({"premium premium"});
    const LineSearch::Match again = LineSearch({"premium"}).Find(one, 0, true);
    EXPECT_EQ(again.line, 0);
    EXPECT_TRUE(again.wrapped);
}

} // namespace
