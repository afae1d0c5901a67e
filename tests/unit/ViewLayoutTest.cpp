// The journal view's layout arithmetic with plain numbers: total size, visible rows,
// page count and the stretch of the journal each printed page shows.
#include "ViewLayout.h"

#include <gtest/gtest.h>

namespace {

CViewLayout LayoutOf(int lines, int charWidth, int pitch, int width = 100) {
    CViewLayout layout;
    layout.SetCharSize(charWidth, pitch);
    for (int i = 0; i < lines; ++i)
        layout.AddLine(width);
    return layout;
}

TEST(ViewLayout, TotalSizeIsWidestLinePlusFourCharactersAndOnePitchPerLine) {
    CViewLayout layout;
    layout.SetCharSize(7, 12);
    layout.AddLine(300);
    layout.AddLine(910);
    layout.AddLine(20);
    EXPECT_EQ(layout.GetTotalSize().cx, 910 + 4 * 7);
    EXPECT_EQ(layout.GetTotalSize().cy, 3 * 12);
    EXPECT_EQ(layout.GetLeftMargin(), 14);
}

TEST(ViewLayout, EmptyJournalIsFourCharactersWideAndNothingHigh) {
    const CViewLayout layout = LayoutOf(0, 6, 11);
    EXPECT_EQ(layout.GetTotalSize().cx, 24);
    EXPECT_EQ(layout.GetTotalSize().cy, 0);
}

TEST(ViewLayout, AppendingKeepsTheWidestLineAndResetForgetsIt) {
    CViewLayout layout = LayoutOf(2, 6, 11, 500);
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

class VisibleLines : public ::testing::TestWithParam<VisibleCase> {};

TEST_P(VisibleLines, CoverTheRowsInTheClipAndOneMore) {
    const VisibleCase& c = GetParam();
    const CViewLayout layout = LayoutOf(c.lines, 6, 10);
    const CViewLayout::LineRange range = layout.GetVisibleLines({c.top, c.bottom});
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
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct PageCase {
    const char* name;
    std::int64_t totalHeight;
    int dotsPerInch;
    int pageHeight;
    int pages;
};

class PageCount : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageCount, IsTheCeilingOfTheTruncatedDeviceHeightAtLeastOne) {
    const PageCase& c = GetParam();
    EXPECT_EQ(CViewLayout::PageCount(c.totalHeight, c.dotsPerInch, c.pageHeight), c.pages)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, PageCount,
    ::testing::Values(PageCase{"exactly one page", 1000, 100, 1000, 1},
                      PageCase{"one unit past one page", 1001, 100, 1000, 2},
                      PageCase{"exactly one page at 600 dpi", 1100, 600, 6600, 1},
                      PageCase{"one unit past at 600 dpi", 1101, 600, 6600, 2},
                      // 1101 * 96 / 100 = 1056.96 truncates to 1056: still one page.
                      PageCase{"truncation keeps one page", 1101, 96, 1056, 1},
                      PageCase{"1106 units at 96 dpi is 1061 pixels", 1106, 96, 1056, 2},
                      PageCase{"empty journal prints one blank page", 0, 600, 6600, 1},
                      PageCase{"exactly three pages", 3000, 100, 1000, 3},
                      PageCase{"no printable height still one page", 500, 100, 0, 1},
                      PageCase{"a million rows at 1200 dpi", 12000000, 1200, 13200, 10910}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(PageLayout, EachPageStartsOnePageHeightBelowThePreviousOne) {
    EXPECT_EQ(CViewLayout::PageOrigin(1, 6600), 0);
    EXPECT_EQ(CViewLayout::PageOrigin(3, 6600), 13200);
    // At 600 dpi a page of 6600 pixels is 1100 hundredths of an inch.
    const CViewLayout::Band second = CViewLayout::PageBand(2, 600, 6600);
    EXPECT_EQ(second.top, 1100);
    EXPECT_EQ(second.bottom, 2200);
    // At 96 dpi, 1056 pixels are 1100 units; the bands of pages 2 and 3 meet exactly.
    EXPECT_EQ(CViewLayout::PageBand(2, 96, 1056).bottom, CViewLayout::PageBand(3, 96, 1056).top);
    // Bands that do not fall on whole units widen outwards: 1000 pixels at 300 dpi.
    const CViewLayout::Band band = CViewLayout::PageBand(2, 300, 1000);
    EXPECT_EQ(band.top, 333);
    EXPECT_EQ(band.bottom, 667);
}

TEST(PageLayout, RowStraddlingAPageBoundaryIsDrawnOnBothPages) {
    // Pitch 12 at 100 dpi on pages 100 pixels high: row 8 spans [96, 108).
    const CViewLayout layout = LayoutOf(30, 6, 12);
    const CViewLayout::LineRange first = layout.GetVisibleLines(CViewLayout::PageBand(1, 100, 100));
    const CViewLayout::LineRange second =
        layout.GetVisibleLines(CViewLayout::PageBand(2, 100, 100));
    EXPECT_GE(first.last, 8);
    EXPECT_EQ(second.first, 8);
    EXPECT_EQ(CViewLayout::PageCount(layout.GetTotalSize().cy, 100, 100), 4);
}

} // namespace
