#include "TabulonView.h"

#include "DocManager.h"
#include "LineText.h"
#include "TabulonDoc.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <climits>

namespace {
// 8 points of "Courier" at the screen's resolution, in whole pixels (truncated), so that
// the same pixel size printed as hundredths of an inch keeps every measured width.
QFont MakeJournalFont(const QWidget* widget) {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(std::max(1, widget->logicalDpiY() * 80 / 720));
    return font;
}

// Whether every printable ASCII character advances exactly as far as the blank.
bool HasUniformAscii(const QFontMetricsF& metrics) {
    const qreal advance = metrics.horizontalAdvance(QLatin1Char(' '));
    for (char c = 0x21; c < 0x7f; ++c)
        if (metrics.horizontalAdvance(QLatin1Char(c)) != advance)
            return false;
    return true;
}

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::min<std::int64_t>(value, INT_MAX));
}
} // namespace

CTabulonView::CTabulonView(CTabulonDoc& doc, QWidget* parent)
    : CScrollView(parent), m_doc(doc), m_font(MakeJournalFont(this)) {
    setObjectName(QStringLiteral("TabulonView"));
    setWindowTitle(QStringLiteral("Window Tabulon"));
    viewport()->setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus); // the arrow and page keys scroll
    m_bUniformAscii = HasUniformAscii(QFontMetricsF(m_font, this));
    m_doc.AddView(this);
}

CTabulonView::~CTabulonView() {
    m_doc.RemoveView(this);
}

void CTabulonView::OnUpdate(CView*, long hint, void*) {
    UpdateMetrics(hint == CDocManager::kInitialUpdateHint);
    const CViewLayout::Size total = m_layout.GetTotalSize();
    SetScrollSizes(QSize(ClampToInt(total.cx), ClampToInt(total.cy)),
                   QSize(m_layout.GetCharWidth(), m_layout.GetPitch()));
    ScrollToPosition(QPoint(1, ClampToInt(total.cy)));
    viewport()->update();
}

void CTabulonView::UpdateMetrics(bool relayout) {
    const QFontMetrics metrics(m_font, this);
    m_layout.SetCharSize(metrics.averageCharWidth(), metrics.lineSpacing());
    const CStringList& lines = *m_doc.GetLines();
    // A journal that shrank was replaced: it is measured afresh, as after a New or an Open.
    if (relayout || lines.GetCount() < m_layout.GetLineCount())
        m_layout.Reset();
    for (std::size_t i = m_layout.GetLineCount(); i < lines.GetCount(); ++i)
        m_layout.AddLine(MeasureLine(metrics, lines.GetAt(i)));
}

int CTabulonView::MeasureLine(const QFontMetrics& metrics, std::string_view line) {
    const bool printableAscii =
        m_bUniformAscii &&
        std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
    if (!printableAscii)
        return metrics.horizontalAdvance(JournalLineText(line));
    const auto [entry, added] = m_asciiWidths.try_emplace(line.size(), 0);
    if (added)
        entry->second = metrics.horizontalAdvance(JournalLineText(line));
    return entry->second;
}

void CTabulonView::OnDraw(QPainter& painter, const QRect& clip) {
    painter.setPen(palette().color(QPalette::Text));
    DrawLines(painter, m_layout.GetVisibleLines({clip.top(), clip.top() + clip.height()}));
}

void CTabulonView::DrawLines(QPainter& painter, CViewLayout::LineRange range) const {
    const CStringList& lines = *m_doc.GetLines();
    const std::int64_t available = static_cast<std::int64_t>(lines.GetCount());
    painter.setFont(m_font);
    const int x = m_layout.GetLeftMargin();
    const int pitch = m_layout.GetPitch();
    for (std::int64_t i = std::max<std::int64_t>(range.first, 0); i <= range.last && i < available;
         ++i) {
        const QRectF row(x, static_cast<qreal>(m_layout.GetRowTop(i)), 1e6, pitch);
        painter.drawText(row, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         JournalLineText(lines.GetAt(static_cast<std::size_t>(i))));
    }
}

int CTabulonView::GetPageCount(QPrinter* printer) const {
    const int pageHeight = printer->pageLayout().paintRectPixels(printer->resolution()).height();
    return CViewLayout::PageCount(m_layout.GetTotalSize().cy, printer->resolution(), pageHeight);
}

int CTabulonView::OnPrint(QPrinter* printer) {
    const int dpi = printer->resolution();
    const QRect paper = printer->pageLayout().paintRectPixels(dpi);
    const int pages = GetPageCount(printer);
    int from = 1;
    int to = pages;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        from = std::max(1, printer->fromPage());
        to = std::min(pages, printer->toPage());
    }
    QPainter painter;
    if (from > to || !painter.begin(printer))
        return 0;
    painter.setPen(Qt::black);
    const qreal unitsToPixels = dpi / 100.0;
    for (int page = from; page <= to; ++page) {
        if (page != from && !printer->newPage())
            return page - from;
        painter.save();
        painter.setClipRect(QRect(QPoint(0, 0), paper.size()));
        painter.translate(0, -static_cast<qreal>(CViewLayout::PageOrigin(page, paper.height())));
        painter.scale(unitsToPixels, unitsToPixels);
        DrawLines(painter,
                  m_layout.GetVisibleLines(CViewLayout::PageBand(page, dpi, paper.height())));
        painter.restore();
    }
    return painter.end() ? to - from + 1 : 0;
}
