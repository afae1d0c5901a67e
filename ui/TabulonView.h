// The journal view: the journal as a scrolling page of fixed-pitch text, and its printing.
#pragma once

#include "Document.h"
#include "ScrollView.h"
#include "ViewLayout.h"

#include <QFont>

#include <string_view>
#include <unordered_map>

class CTabulonDoc;
class QFontMetrics;
class QPrinter;

// Rows are laid out by CViewLayout in pixels on the screen; printed, the same numbers are
// hundredths of an inch. Only the rows in sight are painted, and an append measures only
// its new lines.
class CTabulonView : public CScrollView, public CView {
    Q_OBJECT
public:
    explicit CTabulonView(CTabulonDoc& doc, QWidget* parent = nullptr);
    ~CTabulonView() override;

    // Lays out the lines added since the last update (all of them after a New or an Open),
    // then scrolls to the end of the journal.
    void OnUpdate(CView* sender, long hint, void* hintObject) override;

    // Paints the journal on the printer in pages of its printable height, without header or
    // footer; a row that crosses a page boundary is drawn on both pages. Returns the pages
    // painted (the printer's page range when one is set), 0 when painting failed.
    int OnPrint(QPrinter* printer);
    // Pages the journal needs on the printer.
    int GetPageCount(QPrinter* printer) const;

    const CViewLayout& GetLayout() const { return m_layout; }
    const QFont& GetJournalFont() const { return m_font; }

protected:
    void OnDraw(QPainter& painter, const QRect& clip) override;

private:
    void UpdateMetrics(bool relayout);
    int MeasureLine(const QFontMetrics& metrics, std::string_view line);
    void DrawLines(QPainter& painter, CViewLayout::LineRange range) const;

    CTabulonDoc& m_doc;
    QFont m_font;
    CViewLayout m_layout;
    // In a font whose printable ASCII characters all advance alike, such a line's width
    // depends on its length only: widths measured once per length (empty when the font
    // is not like that).
    bool m_bUniformAscii = false;
    std::unordered_map<std::size_t, int> m_asciiWidths;
};
