// SPDX-License-Identifier: GPL-3.0-or-later
// The journal view: the journal as a scrolling page of fixed-pitch text, its selection of
// whole lines, and its printing.
#pragma once

#include "Document.h"
#include "LineSearch.h"
#include "PrintCommands.h"
#include "ScrollView.h"
#include "ViewLayout.h"

#include <QFont>
#include <QTimer>

#include <optional>
#include <string_view>
#include <unordered_map>

class CCmdUI;
class CTabulonDoc;
class QFontMetrics;

// Rows are laid out by ViewLayout in pixels on the screen; printed, the same numbers are
// hundredths of an inch. Only the rows in sight are painted (of a long line only the part in
// sight), and an append measures only its new lines.
class CTabulonView : public CScrollView, public CView {
    Q_OBJECT
public:
    explicit CTabulonView(CTabulonDoc& doc, QWidget* parent = nullptr);
    ~CTabulonView() override;

    // Lays out the lines an append added (keeping the selection), or every line of a
    // replaced journal (clearing it), then scrolls to the end of the journal.
    void OnUpdate(const DocumentEvent& event) override;

    // The journal as printed: pages of the printable height, without header or footer, each
    // holding whole rows, its first row at the top.
    PrintCommands::PageSource GetPageSource() const;
    // Pages the journal needs on a printer's page.
    int GetPageCount(const PageGeometry& page) const;
    // Paints the 1-based page on a painter whose device is page-sized in printer pixels.
    void PrintPage(QPainter& painter, const PageGeometry& geometry, int page) const;

    // Edit commands: Copy puts the selected lines on the clipboard, one text line each;
    // Select All selects every line. Their update handlers enable them when they can act.
    void OnEditCopy();
    void OnEditSelectAll();
    void OnUpdateEditCopy(CCmdUI* cmdUI) const;
    void OnUpdateEditSelectAll(CCmdUI* cmdUI) const;
    // The selected lines as text, each ended by the platform's line end.
    QString GetSelectedText() const;
    const LineSelection& GetSelection() const { return m_selection; }

    const ViewLayout& GetLayout() const { return m_layout; }
    const QFont& GetJournalFont() const { return m_font; }

    // Finds text from the current match (else from the rows in sight) to the next or previous
    // line holding it, wrapping around; the match is highlighted and scrolled into sight.
    // Returns the match (line -1 when the text is nowhere, which clears the highlight).
    LineSearch::Match Find(const QString& text, bool forward);
    void ClearMatch();
    // The highlighted match: its line (-1 for none), first character and length in the
    // line's text as shown.
    struct ShownMatch {
        std::int64_t line = -1;
        qsizetype start = 0;
        qsizetype length = 0;
    };
    const ShownMatch& GetMatch() const { return m_match; }

    // The view's magnification in percent (the zoom steps between 50 and 400); printing
    // keeps its own size. The row at the top of the view stays at the top.
    static const QList<int>& ZoomSteps();
    int GetZoom() const { return m_zoom; }
    void SetZoom(int percent);
    void ZoomIn();
    void ZoomOut();

signals:
    // The selection or the journal changed, and with them what the edit commands can do.
    void editStateChanged();
    // A calculation's report joined the journal.
    void calculationAppended();
    void zoomChanged(int percent);

protected:
    void OnDraw(QPainter& painter, const QRect& clip) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateMetrics(bool replaced);
    void UpdateScrollSizes();
    // Between the view's pixels (scroll bar values, mouse positions) and layout units.
    std::int64_t ToLayout(std::int64_t viewPixels) const;
    std::int64_t ToView(std::int64_t layoutUnits) const;
    // The line whose row is at the viewport's y.
    std::int64_t LineAtViewport(int y) const;
    // The match's text in layout units.
    QRectF MatchBox() const;
    std::int64_t MeasureLine(const QFontMetrics& metrics, std::string_view line);
    void DrawLines(QPainter& painter, ViewLayout::LineRange range, ViewLayout::Band columns,
                   const LineSelection& selection) const;
    std::int64_t GetLineCount() const;
    void SetSelection(const LineSelection& selection);
    // Extends a mouse selection to the row under the viewport point.
    void DragTo(QPoint point);
    void AutoScroll();
    void EnsureCaretVisible();
    // The row Home and End act on: the caret's, else the top row in sight.
    std::int64_t GetCurrentLine() const;

    CTabulonDoc& m_doc;
    QFont m_font;
    ViewLayout m_layout;
    // How far each character of a long line advances (the font's fixed pitch).
    double m_advance = 0;
    LineSelection m_selection;
    ShownMatch m_match;
    int m_zoom = 100;
    bool m_dragging = false;
    QPoint m_dragPoint;  // the mouse, in viewport coordinates, while dragging
    QTimer m_autoScroll; // scrolls while the mouse is dragged above or below the viewport
    // In a font whose printable ASCII characters all advance alike, such a line's width
    // depends on its length only: widths measured once per length (empty when the font
    // is not like that); unknown until the first line is measured.
    std::optional<bool> m_uniformAscii;
    std::unordered_map<std::size_t, std::int64_t> m_asciiWidths;
};
