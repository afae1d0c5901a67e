// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewLayout.h"

#include <algorithm>
#include <cmath>

void ViewLayout::SetCharSize(int charWidth, int pitch) {
    m_charWidth = charWidth;
    m_pitch = std::max(pitch, 1);
}

void ViewLayout::Reset() {
    m_lineCount = 0;
    m_maxWidth = 0;
}

void ViewLayout::AddLine(std::int64_t width) {
    ++m_lineCount;
    m_maxWidth = std::max(m_maxWidth, width);
}

ViewLayout::Size ViewLayout::GetTotalSize() const {
    return {m_maxWidth + 4 * static_cast<std::int64_t>(m_charWidth),
            static_cast<std::int64_t>(m_lineCount) * m_pitch};
}

ViewLayout::LineRange ViewLayout::GetVisibleLines(Band clip) const {
    const std::int64_t lastLine = static_cast<std::int64_t>(m_lineCount) - 1;
    std::int64_t first = std::max<std::int64_t>(clip.top, 0) / m_pitch;
    first = std::min(first, lastLine);
    std::int64_t last = first + std::max<std::int64_t>(clip.bottom - clip.top, 0) / m_pitch + 1;
    last = std::min(last, lastLine);
    return {first, last};
}

std::int64_t ViewLayout::GetLineAt(std::int64_t y) const {
    const std::int64_t lastLine = static_cast<std::int64_t>(m_lineCount) - 1;
    return std::min(std::max<std::int64_t>(y, 0) / m_pitch, lastLine);
}

std::int64_t ViewLayout::GetRowsIn(std::int64_t height) const {
    return std::max<std::int64_t>(height / m_pitch, 1);
}

std::int64_t ViewLayout::FixedPitchWidth(std::int64_t characters, double advance) {
    return std::llround(static_cast<double>(characters) * advance);
}

ViewLayout::CharSlice ViewLayout::VisibleChars(std::int64_t characters, double advance, Band clip) {
    if (advance <= 0 || characters <= 0)
        return {0, 0, 0};
    const auto first = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(std::floor(static_cast<double>(clip.top) / advance)), 0,
        characters);
    const auto last = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(std::ceil(static_cast<double>(clip.bottom) / advance)) + 1, first,
        characters);
    return {first, last, static_cast<double>(first) * advance};
}

std::int64_t ViewLayout::RowsPerPage(int pitch, int dotsPerInch, int pageHeight) {
    // Row k of a page ends (k + 1) * pitch * dotsPerInch / 100 device pixels below its top.
    const std::int64_t rowHeight =
        static_cast<std::int64_t>(std::max(pitch, 1)) * std::max(dotsPerInch, 1);
    return std::max<std::int64_t>(static_cast<std::int64_t>(pageHeight) * 100 / rowHeight, 1);
}

int ViewLayout::GetPageCount(int dotsPerInch, int pageHeight) const {
    if (pageHeight < 1)
        return 1; // nothing fits: one blank page
    const std::int64_t rows = RowsPerPage(m_pitch, dotsPerInch, pageHeight);
    const auto lines = static_cast<std::int64_t>(m_lineCount);
    return static_cast<int>(std::max<std::int64_t>((lines + rows - 1) / rows, 1));
}

ViewLayout::LineRange ViewLayout::GetPageLines(int page, int dotsPerInch, int pageHeight) const {
    const std::int64_t rows = RowsPerPage(m_pitch, dotsPerInch, pageHeight);
    const std::int64_t first = static_cast<std::int64_t>(std::max(page, 1) - 1) * rows;
    const std::int64_t lastLine = static_cast<std::int64_t>(m_lineCount) - 1;
    if (first > lastLine)
        return {-1, -1};
    return {first, std::min(first + rows - 1, lastLine)};
}

ViewLayout::LineRange LineSelection::GetLines() const {
    if (IsEmpty())
        return {-1, -1};
    return {std::min(anchor, caret), std::max(anchor, caret)};
}

bool LineSelection::Contains(std::int64_t line) const {
    const ViewLayout::LineRange lines = GetLines();
    return !IsEmpty() && line >= lines.first && line <= lines.last;
}

void LineSelection::MoveCaret(std::int64_t delta, std::int64_t from, std::int64_t lines) {
    if (lines <= 0)
        return;
    if (IsEmpty()) {
        anchor = std::clamp<std::int64_t>(from, 0, lines - 1);
        // The first move counts from just beside the anchor, so that it selects the anchor.
        caret = anchor - (delta > 0 ? 1 : delta < 0 ? -1 : 0);
    }
    caret = std::clamp<std::int64_t>(caret + delta, 0, lines - 1);
}
