#include "ViewLayout.h"

#include <algorithm>

void CViewLayout::SetCharSize(int charWidth, int pitch) {
    m_nCharWidth = charWidth;
    m_nPitch = std::max(pitch, 1);
}

void CViewLayout::Reset() {
    m_nLines = 0;
    m_nMaxWidth = 0;
}

void CViewLayout::AddLine(int width) {
    ++m_nLines;
    m_nMaxWidth = std::max(m_nMaxWidth, width);
}

CViewLayout::Size CViewLayout::GetTotalSize() const {
    return {static_cast<std::int64_t>(m_nMaxWidth) + 4 * static_cast<std::int64_t>(m_nCharWidth),
            static_cast<std::int64_t>(m_nLines) * m_nPitch};
}

CViewLayout::LineRange CViewLayout::GetVisibleLines(Band clip) const {
    const std::int64_t lastLine = static_cast<std::int64_t>(m_nLines) - 1;
    std::int64_t first = std::max<std::int64_t>(clip.top, 0) / m_nPitch;
    first = std::min(first, lastLine);
    std::int64_t last = first + std::max<std::int64_t>(clip.bottom - clip.top, 0) / m_nPitch + 1;
    last = std::min(last, lastLine);
    return {first, last};
}

int CViewLayout::PageCount(std::int64_t totalHeight, int dotsPerInch, int pageHeight) {
    if (pageHeight < 1)
        return 1;
    const std::int64_t deviceHeight = (std::max<std::int64_t>(totalHeight, 0) * dotsPerInch) / 100;
    const std::int64_t pages = (pageHeight + deviceHeight - 1) / pageHeight;
    return static_cast<int>(std::max<std::int64_t>(pages, 1));
}

std::int64_t CViewLayout::PageOrigin(int page, int pageHeight) {
    return static_cast<std::int64_t>(page - 1) * pageHeight;
}

CViewLayout::Band CViewLayout::PageBand(int page, int dotsPerInch, int pageHeight) {
    const std::int64_t top = PageOrigin(page, pageHeight) * 100;
    const std::int64_t bottom = top + static_cast<std::int64_t>(pageHeight) * 100;
    const std::int64_t dpi = std::max(dotsPerInch, 1);
    return {top / dpi, (bottom + dpi - 1) / dpi};
}
