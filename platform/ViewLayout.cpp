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

int ViewLayout::PageCount(std::int64_t totalHeight, int dotsPerInch, int pageHeight) {
    if (pageHeight < 1)
        return 1;
    const std::int64_t deviceHeight = (std::max<std::int64_t>(totalHeight, 0) * dotsPerInch) / 100;
    const std::int64_t pages = (pageHeight + deviceHeight - 1) / pageHeight;
    return static_cast<int>(std::max<std::int64_t>(pages, 1));
}

std::int64_t ViewLayout::PageOrigin(int page, int pageHeight) {
    return static_cast<std::int64_t>(page - 1) * pageHeight;
}

ViewLayout::Band ViewLayout::PageBand(int page, int dotsPerInch, int pageHeight) {
    const std::int64_t top = PageOrigin(page, pageHeight) * 100;
    const std::int64_t bottom = top + static_cast<std::int64_t>(pageHeight) * 100;
    const std::int64_t dpi = std::max(dotsPerInch, 1);
    return {top / dpi, (bottom + dpi - 1) / dpi};
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
