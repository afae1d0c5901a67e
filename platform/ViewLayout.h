// SPDX-License-Identifier: GPL-3.0-or-later
// Layout of the journal view: row pitch, margins, total size, visible rows and printed pages.
#pragma once

#include <cstddef>
#include <cstdint>

// All distances are layout units: a pixel on the screen, a hundredth of an inch on paper.
// y grows downward from the journal's top edge, so row i spans [i * pitch, (i + 1) * pitch).
class ViewLayout {
public:
    struct Size {
        std::int64_t cx;
        std::int64_t cy;
    };
    // 0-based journal line indices, both inclusive; -1..-1 for an empty journal.
    struct LineRange {
        std::int64_t first;
        std::int64_t last;
    };
    // A stretch of the journal in layout units: [top, bottom).
    struct Band {
        std::int64_t top;
        std::int64_t bottom;
    };

    // charWidth: average character width; pitch: row height (below 1 counts as 1).
    void SetCharSize(int charWidth, int pitch);
    int GetCharWidth() const { return m_charWidth; }
    int GetPitch() const { return m_pitch; }

    // Lines are measured once each, in journal order; the widest so far is kept, so an
    // append costs only its new lines. Reset forgets them all (the journal was replaced).
    void Reset();
    void AddLine(std::int64_t width);
    std::size_t GetLineCount() const { return m_lineCount; }

    // Widest line plus two character widths of margin on each side; lines times pitch high.
    Size GetTotalSize() const;
    // x of every row's left edge: two character widths.
    int GetLeftMargin() const { return 2 * m_charWidth; }
    std::int64_t GetRowTop(std::int64_t line) const { return line * m_pitch; }

    // The rows that meet the band: the row cut by its top, every row below it within the
    // band, and one more, both ends clamped to the last line.
    LineRange GetVisibleLines(Band clip) const;
    // The line whose row holds y, clamped to the first and last line; -1 when empty.
    std::int64_t GetLineAt(std::int64_t y) const;
    // Whole rows a band of the given height shows, at least 1.
    std::int64_t GetRowsIn(std::int64_t height) const;

    // Lines at least this long are laid out from the font's fixed pitch instead of being
    // measured: the font's own text width runs in 26.6 fixed point and overflows above
    // 2^25 pixels (6,000,000 characters measured as -31,108,864 pixels).
    static constexpr std::size_t kLongLine = 65536;
    // Width of a line of the given characters at advance units each, in 64-bit arithmetic.
    static std::int64_t FixedPitchWidth(std::int64_t characters, double advance);
    // Characters [first, last) of such a line that meet the band (relative to the line's
    // left edge), and x of the first one's left edge.
    struct CharSlice {
        std::int64_t first;
        std::int64_t last;
        double x;
    };
    static CharSlice VisibleChars(std::int64_t characters, double advance, Band clip);

    // Printed, pages break between rows: each page holds the whole rows that fit in its
    // pageHeight device pixels at dotsPerInch, at least one (a row taller than the page is
    // cut at the page's foot), and no row is split over two pages.
    static std::int64_t RowsPerPage(int pitch, int dotsPerInch, int pageHeight);
    // Pages the journal's lines need: the ceiling of lines over rows per page, at least 1.
    int GetPageCount(int dotsPerInch, int pageHeight) const;
    // The lines printed on the given 1-based page; -1..-1 past the last line.
    LineRange GetPageLines(int page, int dotsPerInch, int pageHeight) const;

private:
    int m_charWidth = 0;
    int m_pitch = 1;
    std::size_t m_lineCount = 0;
    std::int64_t m_maxWidth = 0;
};

// Whole lines selected in the view: from the anchor (where the selection began) to the caret
// (where it ends now), both inclusive and in either order; -1 for no selection. Line indices
// stay valid as the journal grows, so the selection survives appends.
struct LineSelection {
    std::int64_t anchor = -1;
    std::int64_t caret = -1;

    bool IsEmpty() const { return anchor < 0; }
    // First and last selected line; -1..-1 when empty.
    ViewLayout::LineRange GetLines() const;
    bool Contains(std::int64_t line) const;
    // Moves the caret by delta lines, clamped to lines (a count); starts a selection at from
    // when there is none, the first move counting from beside it (a move of one line selects
    // just that line).
    void MoveCaret(std::int64_t delta, std::int64_t from, std::int64_t lines);
};
