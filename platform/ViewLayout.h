// Layout of the journal view: row pitch, margins, total size, visible rows and printed pages.
#pragma once

#include <cstddef>
#include <cstdint>

// All distances are layout units: a pixel on the screen, a hundredth of an inch on paper.
// y grows downward from the journal's top edge, so row i spans [i * pitch, (i + 1) * pitch).
class CViewLayout {
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
    int GetCharWidth() const { return m_nCharWidth; }
    int GetPitch() const { return m_nPitch; }

    // Lines are measured once each, in journal order; the widest so far is kept, so an
    // append costs only its new lines. Reset forgets them all (the journal was replaced).
    void Reset();
    void AddLine(int width);
    std::size_t GetLineCount() const { return m_nLines; }

    // Widest line plus two character widths of margin on each side; lines times pitch high.
    Size GetTotalSize() const;
    // x of every row's left edge: two character widths.
    int GetLeftMargin() const { return 2 * m_nCharWidth; }
    std::int64_t GetRowTop(std::int64_t line) const { return line * m_nPitch; }

    // The rows that meet the band: the row cut by its top, every row below it within the
    // band, and one more, both ends clamped to the last line.
    LineRange GetVisibleLines(Band clip) const;

    // Pages needed for a journal totalHeight units high on a device of dotsPerInch with
    // pages pageHeight device pixels high: the ceiling of the height in device pixels
    // (truncated to whole pixels) over the page height, at least 1.
    static int PageCount(std::int64_t totalHeight, int dotsPerInch, int pageHeight);
    // Device y of the journal's top edge on the given 1-based page: the page shows the
    // stretch that begins (page - 1) page heights below the top.
    static std::int64_t PageOrigin(int page, int pageHeight);
    // The same stretch in layout units, widened outwards to whole units.
    static Band PageBand(int page, int dotsPerInch, int pageHeight);

private:
    int m_nCharWidth = 0;
    int m_nPitch = 1;
    std::size_t m_nLines = 0;
    int m_nMaxWidth = 0;
};
