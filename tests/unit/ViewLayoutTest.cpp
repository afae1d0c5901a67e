// SPDX-License-Identifier: GPL-3.0-or-later
// The journal view's layout arithmetic with plain numbers: total size, visible rows,
// page count and the lines each printed page holds, long lines and the selection of lines.
#include "ViewLayout.h"
#include "CaseNames.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ViewLayout LayoutOf(int lines, int charWidth, int pitch, int width = 100) {
    ViewLayout layout;
    layout.SetCharSize(charWidth, pitch);
    for (int i = 0; i < lines; ++i)
        layout.AddLine(width);
    return layout;
}

TEST(ViewLayout, TotalSizeIsWidestLinePlusFourCharactersAndOnePitchPerLine) {
    ViewLayout layout;
    layout.SetCharSize(7, 12);
    layout.AddLine(300);
    layout.AddLine(910);
    layout.AddLine(20);
    EXPECT_EQ(layout.GetTotalSize().cx, 910 + 4 * 7);
    EXPECT_EQ(layout.GetTotalSize().cy, 3 * 12);
    EXPECT_EQ(layout.GetLeftMargin(), 14);
}

TEST(ViewLayout, EmptyJournalIsFourCharactersWideAndNothingHigh) {
    const ViewLayout layout = LayoutOf(0, 6, 11);
    EXPECT_EQ(layout.GetTotalSize().cx, 24);
    EXPECT_EQ(layout.GetTotalSize().cy, 0);
}

TEST(ViewLayout, AppendingKeepsTheWidestLineAndResetForgetsIt) {
    ViewLayout layout = LayoutOf(2, 6, 11, 500);
    layout.AddLine(40);
    EXPECT_EQ(layout.GetLineCount(), 3u);
    EXPECT_EQ(layout.GetTotalSize().cx, 500 + 24);
    layout.Reset();
    layout.AddLine(40);
    EXPECT_EQ(layout.GetLineCount(), 1u);
    EXPECT_EQ(layout.GetTotalSize().cx, 40 + 24);
    EXPECT_EQ(layout.GetTotalSize().cy, 11);
}

struct VisibleCase {
    const char* name;
    int lines;
    std::int64_t top, bottom;
    std::int64_t first, last;
};

void PrintTo(const VisibleCase& c, std::ostream* out) {
    *out << c.name;
}

class VisibleLines : public ::testing::TestWithParam<VisibleCase> {};

TEST_P(VisibleLines, CoverTheRowsInTheClipAndOneMore) {
    const VisibleCase& c = GetParam();
    const ViewLayout layout = LayoutOf(c.lines, 6, 10);
    const ViewLayout::LineRange range = layout.GetVisibleLines({c.top, c.bottom});
    EXPECT_EQ(range.first, c.first) << c.name;
    EXPECT_EQ(range.last, c.last) << c.name;
}

// Pitch 10: row i spans [10 i, 10 i + 10).
INSTANTIATE_TEST_SUITE_P(
    Pitch10, VisibleLines,
    ::testing::Values(VisibleCase{"top of a long journal", 100, 0, 30, 0, 4},
                      VisibleCase{"clip starting mid-row keeps that row", 100, 25, 55, 2, 6},
                      VisibleCase{"clip on a row boundary", 100, 30, 60, 3, 7},
                      VisibleCase{"last rows clamp to the last line", 100, 970, 1000, 97, 99},
                      VisibleCase{"clip below the journal shows its last line", 5, 200, 230, 4, 4},
                      VisibleCase{"empty journal", 0, 0, 30, -1, -1},
                      VisibleCase{"one line", 1, 0, 300, 0, 0}),
    [](const auto& info) { return testing_support::CaseName(info.param.name); });

struct PageCase {
    const char* name;
    int lines;
    int pitch;
    int dotsPerInch;
    int pageHeight;
    int pages;
};

void PrintTo(const PageCase& c, std::ostream* out) {
    *out << c.name;
}

class PageCount : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageCount, IsTheCeilingOfLinesOverTheWholeRowsAPageHoldsAtLeastOne) {
    const PageCase& c = GetParam();
    EXPECT_EQ(LayoutOf(c.lines, 6, c.pitch).GetPageCount(c.dotsPerInch, c.pageHeight), c.pages)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, PageCount,
    ::testing::Values(PageCase{"exactly one page", 100, 10, 100, 1000, 1},
                      PageCase{"one line past one page", 101, 10, 100, 1000, 2},
                      // 100 rows of 11 units at 600 dpi are 6600 pixels.
                      PageCase{"exactly one page at 600 dpi", 100, 11, 600, 6600, 1},
                      PageCase{"one line past at 600 dpi", 101, 11, 600, 6600, 2},
                      // 100 rows of 11 units at 96 dpi are 1056 pixels: a page one pixel
                      // shorter holds 99 of them, and the hundredth goes to the next page.
                      PageCase{"a page of 1056 pixels at 96 dpi holds 100 rows", 100, 11, 96, 1056,
                               1},
                      PageCase{"one pixel less holds 99 rows", 100, 11, 96, 1055, 2},
                      PageCase{"empty journal prints one blank page", 0, 11, 600, 6600, 1},
                      PageCase{"exactly three pages", 300, 10, 100, 1000, 3},
                      PageCase{"no printable height still one page", 50, 10, 100, 0, 1},
                      // 13200 pixels at 1200 dpi hold 91 rows of 12 units (1092 of 1100).
                      PageCase{"a million rows at 1200 dpi", 1000000, 12, 1200, 13200, 10990}),
    [](const auto& info) { return testing_support::CaseName(info.param.name); });

TEST(PageLayout, PagesBreakBetweenRowsAndHoldEachLineOnce) {
    // Pitch 12 at 100 dpi on pages 100 pixels high: 8 rows (96 pixels) fit, the ninth would
    // end at 108.
    const ViewLayout layout = LayoutOf(30, 6, 12);
    EXPECT_EQ(ViewLayout::RowsPerPage(12, 100, 100), 8);
    EXPECT_EQ(layout.GetPageCount(100, 100), 4);
    std::int64_t next = 0;
    for (int page = 1; page <= 4; ++page) {
        const ViewLayout::LineRange lines = layout.GetPageLines(page, 100, 100);
        EXPECT_EQ(lines.first, next) << "page " << page;
        EXPECT_LE(lines.last - lines.first + 1, 8) << "page " << page;
        next = lines.last + 1;
    }
    EXPECT_EQ(next, 30);
    EXPECT_EQ(layout.GetPageLines(5, 100, 100).first, -1);
    EXPECT_EQ(LayoutOf(0, 6, 12).GetPageLines(1, 100, 100).first, -1);
}

TEST(PageLayout, RowsPerPageIsTheMostWholeRowsThatFit) {
    // Whether the rows fit is decided in device pixels: rows * pitch * dpi / 100 at most the
    // page height, one more row past it. Resolutions of screens, PDF and printers; page
    // heights of Letter and A4 printable areas and odd ones.
    for (const int dpi : {72, 96, 100, 300, 600, 1200})
        for (const int pitch : {1, 11, 12, 13, 57})
            for (const int pageHeight : {100, 1055, 1056, 3168, 6600, 13200, 13201}) {
                const std::int64_t rows = ViewLayout::RowsPerPage(pitch, dpi, pageHeight);
                const std::int64_t page = std::int64_t{pageHeight} * 100;
                if (std::int64_t{pitch} * dpi > page) {
                    EXPECT_EQ(rows, 1); // a row taller than the page is cut at its foot
                    continue;
                }
                EXPECT_LE(rows * pitch * dpi, page) << dpi << " dpi, pitch " << pitch;
                EXPECT_GT((rows + 1) * pitch * dpi, page) << dpi << " dpi, pitch " << pitch;
            }
}

TEST(ViewLayout, LongLinesAreWidthsOf64BitsFromTheFixedPitch) {
    // 10,000,000 characters at 6.0078125 pixels (a 26.6 advance) are past 2^25 pixels,
    // where the font's own text width overflows.
    EXPECT_EQ(ViewLayout::FixedPitchWidth(10000000, 6.0078125), 60078125);
    EXPECT_EQ(ViewLayout::FixedPitchWidth(std::int64_t{1} << 33, 7), std::int64_t{7} << 33);
    ViewLayout layout = LayoutOf(1, 6, 10);
    layout.AddLine(std::int64_t{3} << 32);
    EXPECT_EQ(layout.GetTotalSize().cx, (std::int64_t{3} << 32) + 24);
}

TEST(ViewLayout, VisibleCharactersOfALongLineCoverTheBandAndOneMore) {
    struct Case {
        std::int64_t characters;
        std::int64_t left, right;
        std::int64_t first, last;
    };
    // 6 units a character: character k spans [6k, 6k + 6).
    for (const Case& c : {Case{10000000, 0, 600, 0, 101}, Case{10000000, 6003, 6603, 1000, 1102},
                          Case{10000000, 59999700, 60000300, 9999950, 10000000},
                          Case{100, -50, 30, 0, 6}, Case{100, 900, 1000, 100, 100}}) {
        const ViewLayout::CharSlice slice =
            ViewLayout::VisibleChars(c.characters, 6, {c.left, c.right});
        EXPECT_EQ(slice.first, c.first) << c.left;
        EXPECT_EQ(slice.last, c.last) << c.left;
        EXPECT_EQ(slice.x, 6.0 * static_cast<double>(c.first)) << c.left;
    }
}

TEST(ViewLayout, LineAtAPointIsClampedToTheJournal) {
    const ViewLayout layout = LayoutOf(5, 6, 10);
    EXPECT_EQ(layout.GetLineAt(-7), 0);
    EXPECT_EQ(layout.GetLineAt(19), 1);
    EXPECT_EQ(layout.GetLineAt(20), 2);
    EXPECT_EQ(layout.GetLineAt(1000), 4);
    EXPECT_EQ(LayoutOf(0, 6, 10).GetLineAt(0), -1);
    EXPECT_EQ(layout.GetRowsIn(95), 9);
    EXPECT_EQ(layout.GetRowsIn(3), 1);
}

TEST(LineSelection, MovesFromItsStartAndStaysInTheJournal) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> moves;
        std::int64_t from;
        std::int64_t first, last;
    };
    for (const Case& c : {Case{"one down selects the starting line", {1}, 4, 4, 4},
                          Case{"one up selects the starting line", {-1}, 4, 4, 4},
                          Case{"a page down selects a page", {10}, 4, 4, 13},
                          Case{"back over the anchor turns the range", {3, -5}, 4, 1, 4},
                          Case{"clamped at the end", {100}, 4, 4, 19},
                          Case{"clamped at the start", {-100}, 4, 0, 4},
                          Case{"a start past the end begins at the last line", {1}, 50, 19, 19}}) {
        LineSelection selection;
        EXPECT_TRUE(selection.IsEmpty());
        for (std::int64_t delta : c.moves)
            selection.MoveCaret(delta, c.from, 20);
        EXPECT_EQ(selection.GetLines().first, c.first) << c.name;
        EXPECT_EQ(selection.GetLines().last, c.last) << c.name;
        EXPECT_TRUE(selection.Contains(c.first) && selection.Contains(c.last)) << c.name;
        EXPECT_FALSE(selection.Contains(c.last + 1)) << c.name;
    }
    LineSelection none;
    none.MoveCaret(1, 0, 0);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.GetLines().first, -1);
    EXPECT_FALSE(none.Contains(-1));
}

} // namespace
