// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabulonView.h"

#include "CmdUI.h"
#include "LineText.h"
#include "TabulonDoc.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

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

// How many lines a journal holds before the view looks at its font's ASCII advances.
constexpr std::size_t kLinesMeasuredOneByOne = 16;

// The scroll bars count in ints: a journal wider or higher than 2^31 pixels scrolls over
// its first 2^31 pixels only.
int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::min<std::int64_t>(value, INT_MAX));
}

// Laid over the text of the match Find found: amber, the text still legible through it.
const QColor kMatchColour(255, 170, 0, 130);

// Copied lines end as text lines do on the platform.
#ifdef Q_OS_WIN
constexpr QLatin1StringView kLineEnd("\r\n");
#else
constexpr QLatin1StringView kLineEnd("\n");
#endif
} // namespace

CTabulonView::CTabulonView(CTabulonDoc& doc, QWidget* parent)
    : CScrollView(parent), m_doc(doc), m_font(MakeJournalFont(this)) {
    setObjectName(QStringLiteral("TabulonView"));
    setWindowTitle(QStringLiteral("Window Tabulon"));
    viewport()->setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus); // the arrow and page keys scroll
    const QFontMetricsF metrics(m_font, this);
    m_advance = metrics.horizontalAdvance(QLatin1Char(' '));
    m_autoScroll.setInterval(50);
    connect(&m_autoScroll, &QTimer::timeout, this, &CTabulonView::AutoScroll);
    m_doc.AddView(this);
}

CTabulonView::~CTabulonView() {
    m_doc.RemoveView(this);
}

void CTabulonView::OnUpdate(const DocumentEvent& event) {
    UpdateMetrics(!event.IsAppend());
    if (!event.IsAppend())
        m_match = ShownMatch(); // its line is gone
    UpdateScrollSizes();
    ScrollToPosition(QPoint(1, ClampToInt(ToView(m_layout.GetTotalSize().cy))));
    viewport()->update();
    emit editStateChanged();
    if (event.kind == DocumentEvent::Kind::CalculationAppended)
        emit calculationAppended();
}

void CTabulonView::UpdateScrollSizes() {
    const ViewLayout::Size total = m_layout.GetTotalSize();
    SetScrollSizes(QSize(ClampToInt(ToView(total.cx)), ClampToInt(ToView(total.cy))),
                   QSize(std::max(1, ClampToInt(ToView(m_layout.GetCharWidth()))),
                         std::max(1, ClampToInt(ToView(m_layout.GetPitch())))));
}

std::int64_t CTabulonView::ToLayout(std::int64_t viewPixels) const {
    return viewPixels * 100 / m_zoom;
}

std::int64_t CTabulonView::ToView(std::int64_t layoutUnits) const {
    return layoutUnits * m_zoom / 100;
}

std::int64_t CTabulonView::LineAtViewport(int y) const {
    return m_layout.GetLineAt(ToLayout(std::int64_t{y} + verticalScrollBar()->value()));
}

const QList<int>& CTabulonView::ZoomSteps() {
    static const QList<int> steps{50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};
    return steps;
}

void CTabulonView::SetZoom(int percent) {
    percent = std::clamp(percent, ZoomSteps().front(), ZoomSteps().back());
    if (percent == m_zoom)
        return;
    const std::int64_t top = LineAtViewport(0);
    m_zoom = percent;
    UpdateScrollSizes();
    if (top >= 0)
        verticalScrollBar()->setValue(ClampToInt(ToView(m_layout.GetRowTop(top))));
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void CTabulonView::ZoomIn() {
    for (const int step : ZoomSteps())
        if (step > m_zoom) {
            SetZoom(step);
            return;
        }
}

void CTabulonView::ZoomOut() {
    for (auto step = ZoomSteps().rbegin(); step != ZoomSteps().rend(); ++step)
        if (*step < m_zoom) {
            SetZoom(*step);
            return;
        }
}

LineSearch::Match CTabulonView::Find(const QString& text, bool forward) {
    // A journal line shows as UTF-8 when it is valid UTF-8, else as Latin-1: the text is
    // looked for in both spellings.
    std::vector<std::string> spellings{text.toUtf8().toStdString()};
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xff; }))
        spellings.push_back(text.toLatin1().toStdString());
    const LineSearch search(std::move(spellings));
    // From the current match; without one from the rows in sight, the first (or last) of
    // them searched first.
    std::int64_t from = m_match.line;
    if (from < 0 && GetLineCount() > 0)
        from = forward ? LineAtViewport(0) - 1 : LineAtViewport(viewport()->height() - 1) + 1;
    const LineSearch::Match match = search.Find(*m_doc.GetLines(), from, forward);
    if (match.line < 0) {
        ClearMatch();
        return match;
    }
    const std::string_view bytes = m_doc.GetLines()->GetAt(static_cast<std::size_t>(match.line));
    const QString shown = JournalLineText(bytes);
    m_match.line = match.line;
    if (shown.size() == static_cast<qsizetype>(bytes.size())) {
        m_match.start = static_cast<qsizetype>(match.offset);
        m_match.length = static_cast<qsizetype>(match.length);
    } else {
        m_match.start =
            QString::fromUtf8(bytes.data(), static_cast<qsizetype>(match.offset)).size();
        m_match.length =
            QString::fromUtf8(bytes.data() + match.offset, static_cast<qsizetype>(match.length))
                .size();
    }
    // The match's row in sight (in the middle when it was not), and its text.
    const QRectF box = MatchBox();
    QScrollBar* vertical = verticalScrollBar();
    const std::int64_t top = ToView(m_layout.GetRowTop(m_match.line));
    const std::int64_t bottom = ToView(m_layout.GetRowTop(m_match.line) + m_layout.GetPitch());
    if (top < vertical->value() || bottom > vertical->value() + viewport()->height())
        vertical->setValue(ClampToInt(top - (viewport()->height() - (bottom - top)) / 2));
    QScrollBar* horizontal = horizontalScrollBar();
    const auto left = static_cast<std::int64_t>(box.left() * m_zoom / 100);
    const auto right = static_cast<std::int64_t>(box.right() * m_zoom / 100);
    if (left < horizontal->value() || right > horizontal->value() + viewport()->width())
        horizontal->setValue(ClampToInt(std::max<std::int64_t>(left - viewport()->width() / 4, 0)));
    viewport()->update();
    return match;
}

void CTabulonView::ClearMatch() {
    if (m_match.line < 0)
        return;
    m_match = ShownMatch();
    viewport()->update();
}

QRectF CTabulonView::MatchBox() const {
    const std::string_view bytes = m_doc.GetLines()->GetAt(static_cast<std::size_t>(m_match.line));
    qreal left = 0;
    qreal width = 0;
    if (bytes.size() >= ViewLayout::kLongLine) {
        left = static_cast<qreal>(m_match.start) * m_advance;
        width = static_cast<qreal>(m_match.length) * m_advance;
    } else {
        const QFontMetricsF metrics(m_font, this);
        const QString shown = JournalLineText(bytes);
        left = metrics.horizontalAdvance(shown.left(m_match.start));
        width = metrics.horizontalAdvance(shown.mid(m_match.start, m_match.length));
    }
    return {m_layout.GetLeftMargin() + left, static_cast<qreal>(m_layout.GetRowTop(m_match.line)),
            width, static_cast<qreal>(m_layout.GetPitch())};
}

void CTabulonView::UpdateMetrics(bool replaced) {
    const QFontMetrics metrics(m_font, this);
    m_layout.SetCharSize(metrics.averageCharWidth(), metrics.lineSpacing());
    const CStringList& lines = *m_doc.GetLines();
    // A replaced journal is measured afresh, and what was selected in it is gone.
    if (replaced) {
        m_layout.Reset();
        m_selection = LineSelection();
    }
    for (std::size_t i = m_layout.GetLineCount(); i < lines.GetCount(); ++i)
        m_layout.AddLine(MeasureLine(metrics, lines.GetAt(i)));
}

std::int64_t CTabulonView::MeasureLine(const QFontMetrics& metrics, std::string_view line) {
    if (line.size() >= ViewLayout::kLongLine)
        return ViewLayout::FixedPitchWidth(JournalLineText(line).size(), m_advance);
    // A new journal's few lines are measured one by one. The font is looked at when a journal
    // grows past them (a calculation, a file), where one width serves every line of a length.
    if (!m_uniformAscii && m_layout.GetLineCount() < kLinesMeasuredOneByOne)
        return metrics.horizontalAdvance(JournalLineText(line));
    if (!m_uniformAscii)
        m_uniformAscii = HasUniformAscii(QFontMetricsF(m_font, this));
    const bool printableAscii =
        *m_uniformAscii &&
        std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
    if (!printableAscii)
        return metrics.horizontalAdvance(JournalLineText(line));
    const auto [entry, added] = m_asciiWidths.try_emplace(line.size(), 0);
    if (added)
        entry->second = metrics.horizontalAdvance(JournalLineText(line));
    return entry->second;
}

std::int64_t CTabulonView::GetLineCount() const {
    return static_cast<std::int64_t>(m_doc.GetLines()->GetCount());
}

void CTabulonView::OnDraw(QPainter& painter, const QRect& clip) {
    painter.setPen(palette().color(QPalette::Text));
    const qreal scale = m_zoom / 100.0;
    painter.scale(scale, scale);
    // The clip in layout units, widened outwards to whole units.
    const ViewLayout::Band rows{ToLayout(clip.top()), ToLayout(clip.top() + clip.height()) + 1};
    const ViewLayout::Band columns{ToLayout(clip.left()), ToLayout(clip.left() + clip.width()) + 1};
    const ViewLayout::LineRange lines = m_layout.GetVisibleLines(rows);
    DrawLines(painter, lines, columns, m_selection);
    if (m_match.line >= 0 && m_match.line >= lines.first && m_match.line <= lines.last &&
        m_match.line < GetLineCount())
        painter.fillRect(MatchBox(), kMatchColour);
}

void CTabulonView::DrawLines(QPainter& painter, ViewLayout::LineRange range,
                             ViewLayout::Band columns, const LineSelection& selection) const {
    const CStringList& lines = *m_doc.GetLines();
    const std::int64_t available = static_cast<std::int64_t>(lines.GetCount());
    painter.setFont(m_font);
    const int margin = m_layout.GetLeftMargin();
    const int pitch = m_layout.GetPitch();
    const QColor text = painter.pen().color();
    const QColor highlightedText = palette().color(QPalette::HighlightedText);
    // Each row is drawn from its own origin: text positions far from the origin overflow
    // the font's fixed-point arithmetic, rows and columns far down or right would not show.
    const QTransform base = painter.transform();
    for (std::int64_t i = std::max<std::int64_t>(range.first, 0); i <= range.last && i < available;
         ++i) {
        const auto top = static_cast<qreal>(m_layout.GetRowTop(i));
        const bool selected = selection.Contains(i);
        if (selected) {
            painter.setTransform(base);
            painter.fillRect(QRectF(static_cast<qreal>(columns.top), top,
                                    static_cast<qreal>(columns.bottom - columns.top), pitch),
                             palette().brush(QPalette::Highlight));
        }
        const std::string_view bytes = lines.GetAt(static_cast<std::size_t>(i));
        QString shown = JournalLineText(bytes);
        qreal x = margin;
        if (bytes.size() >= ViewLayout::kLongLine) {
            const ViewLayout::CharSlice slice = ViewLayout::VisibleChars(
                shown.size(), m_advance, {columns.top - margin, columns.bottom - margin});
            shown = shown.mid(static_cast<qsizetype>(slice.first),
                              static_cast<qsizetype>(slice.last - slice.first));
            x += slice.x;
        }
        painter.setTransform(QTransform::fromTranslate(x, top) * base);
        painter.setPen(selected ? highlightedText : text);
        painter.drawText(QRectF(0, 0, 1e6, pitch),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         shown);
    }
    painter.setTransform(base);
    painter.setPen(text);
}

PrintCommands::PageSource CTabulonView::GetPageSource() const {
    return {[this](const PageGeometry& page) { return GetPageCount(page); },
            [this](QPainter& painter, const PageGeometry& geometry, int page) {
                PrintPage(painter, geometry, page);
            }};
}

int CTabulonView::GetPageCount(const PageGeometry& page) const {
    return m_layout.GetPageCount(page.dpi, page.paintRect.height());
}

void CTabulonView::PrintPage(QPainter& painter, const PageGeometry& geometry, int page) const {
    const int dpi = geometry.dpi;
    const QRect& paper = geometry.paintRect;
    const ViewLayout::LineRange lines = m_layout.GetPageLines(page, dpi, paper.height());
    painter.save();
    painter.setPen(Qt::black);
    painter.setClipRect(QRect(QPoint(0, 0), paper.size()));
    const qreal unitsToPixels = dpi / 100.0;
    painter.scale(unitsToPixels, unitsToPixels);
    // The page's first row at the top of its printable area.
    painter.translate(
        0, -static_cast<qreal>(m_layout.GetRowTop(std::max<std::int64_t>(lines.first, 0))));
    const std::int64_t width = static_cast<std::int64_t>(paper.width()) * 100 / std::max(dpi, 1);
    DrawLines(painter, lines, {0, width + 1}, LineSelection());
    painter.restore();
}

void CTabulonView::SetSelection(const LineSelection& selection) {
    const bool wasEmpty = m_selection.IsEmpty();
    m_selection = selection;
    viewport()->update();
    if (wasEmpty != m_selection.IsEmpty())
        emit editStateChanged();
}

QString CTabulonView::GetSelectedText() const {
    if (m_selection.IsEmpty())
        return {};
    const ViewLayout::LineRange range = m_selection.GetLines();
    const CStringList& lines = *m_doc.GetLines();
    const std::int64_t last = std::min(range.last, GetLineCount() - 1);
    // Sized once from the bytes, which are at least as many as the characters they show.
    qsizetype size = 0;
    for (std::int64_t i = range.first; i <= last; ++i)
        size += static_cast<qsizetype>(lines.GetAt(static_cast<std::size_t>(i)).size()) +
                kLineEnd.size();
    QString text;
    text.reserve(size);
    for (std::int64_t i = range.first; i <= last; ++i) {
        AppendJournalLineText(text, lines.GetAt(static_cast<std::size_t>(i)));
        text += kLineEnd;
    }
    return text;
}

void CTabulonView::OnEditCopy() {
    if (m_selection.IsEmpty())
        return;
    const wait_cursor::Scope busy;
    QApplication::clipboard()->setText(GetSelectedText());
}

void CTabulonView::OnEditSelectAll() {
    if (GetLineCount() > 0)
        SetSelection({0, GetLineCount() - 1});
}

void CTabulonView::OnUpdateEditCopy(CCmdUI* cmdUI) const {
    cmdUI->Enable(!m_selection.IsEmpty());
}

void CTabulonView::OnUpdateEditSelectAll(CCmdUI* cmdUI) const {
    cmdUI->Enable(GetLineCount() > 0);
}

std::int64_t CTabulonView::GetCurrentLine() const {
    if (!m_selection.IsEmpty())
        return m_selection.caret;
    return LineAtViewport(0);
}

void CTabulonView::EnsureCaretVisible() {
    if (m_selection.IsEmpty())
        return;
    QScrollBar* bar = verticalScrollBar();
    const std::int64_t top = ToView(m_layout.GetRowTop(m_selection.caret));
    const std::int64_t bottom = ToView(m_layout.GetRowTop(m_selection.caret) + m_layout.GetPitch());
    if (top < bar->value())
        bar->setValue(ClampToInt(top));
    else if (bottom > bar->value() + viewport()->height())
        bar->setValue(ClampToInt(bottom - viewport()->height()));
}

void CTabulonView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const std::int64_t lines = GetLineCount();
    if (modifiers == Qt::ShiftModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier)) {
        const bool control = modifiers & Qt::ControlModifier;
        const std::int64_t page = m_layout.GetRowsIn(ToLayout(viewport()->height()));
        std::int64_t delta = 0;
        switch (event->key()) {
        // Ctrl+Shift+Home and End extend the selection to the first and the last line.
        case Qt::Key_Home:
            delta = control ? -lines : 0;
            break;
        case Qt::Key_End:
            delta = control ? lines : 0;
            break;
        case Qt::Key_Up:
            delta = -1;
            break;
        case Qt::Key_Down:
            delta = 1;
            break;
        case Qt::Key_PageUp:
            delta = -page;
            break;
        case Qt::Key_PageDown:
            delta = page;
            break;
        default:
            break;
        }
        if (delta != 0) {
            // A new selection starts at the edge of the rows in sight it moves away from.
            const int pitch = ClampToInt(ToView(m_layout.GetPitch()));
            const std::int64_t from = delta > 0 ? LineAtViewport(pitch - 1)
                                                : LineAtViewport(viewport()->height() - pitch);
            LineSelection moved = m_selection;
            moved.MoveCaret(delta, from, lines);
            SetSelection(moved);
            EnsureCaretVisible();
            return;
        }
    }
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Home) {
        horizontal->setValue(horizontal->minimum());
    } else if (modifiers == Qt::NoModifier && event->key() == Qt::Key_End) {
        // The row's right end, with the margin of two characters that follows every row.
        const std::int64_t line = GetCurrentLine();
        if (line < 0)
            return;
        const QFontMetrics metrics(m_font, this);
        const std::int64_t end =
            m_layout.GetLeftMargin() +
            MeasureLine(metrics, m_doc.GetLines()->GetAt(static_cast<std::size_t>(line))) +
            m_layout.GetLeftMargin();
        horizontal->setValue(
            ClampToInt(std::max<std::int64_t>(ToView(end) - viewport()->width(), 0)));
    } else if (modifiers == Qt::ControlModifier && event->key() == Qt::Key_Home) {
        vertical->setValue(vertical->minimum());
    } else if (modifiers == Qt::ControlModifier && event->key() == Qt::Key_End) {
        vertical->setValue(vertical->maximum());
    } else {
        CScrollView::keyPressEvent(event);
    }
}

void CTabulonView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || GetLineCount() == 0) {
        CScrollView::mousePressEvent(event);
        return;
    }
    const std::int64_t line = LineAtViewport(event->position().toPoint().y());
    LineSelection selection = m_selection;
    if (!(event->modifiers() & Qt::ShiftModifier) || selection.IsEmpty())
        selection.anchor = line;
    selection.caret = line;
    SetSelection(selection);
    m_dragging = true;
    m_dragPoint = event->position().toPoint();
}

void CTabulonView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        CScrollView::mouseMoveEvent(event);
        return;
    }
    DragTo(event->position().toPoint());
    const bool outside = m_dragPoint.y() < 0 || m_dragPoint.y() >= viewport()->height();
    if (outside && !m_autoScroll.isActive())
        m_autoScroll.start();
    else if (!outside)
        m_autoScroll.stop();
}

void CTabulonView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        m_autoScroll.stop();
        return;
    }
    CScrollView::mouseReleaseEvent(event);
}

void CTabulonView::DragTo(QPoint point) {
    m_dragPoint = point;
    if (m_selection.IsEmpty())
        return;
    LineSelection selection = m_selection;
    selection.caret = LineAtViewport(point.y());
    SetSelection(selection);
}

void CTabulonView::AutoScroll() {
    // The further the mouse is beyond the edge, the faster the rows go by.
    const int beyond =
        m_dragPoint.y() < 0 ? m_dragPoint.y() : m_dragPoint.y() - viewport()->height() + 1;
    const int pitch = std::max(1, ClampToInt(ToView(m_layout.GetPitch())));
    const int rows = std::max(1, std::abs(beyond) / pitch);
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (beyond < 0 ? -rows : rows) * pitch);
    DragTo(m_dragPoint);
}
