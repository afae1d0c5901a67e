// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintPreview.h"

#include "PrinterPage.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {
constexpr int kGap = 12; // pixels between pages and around them
} // namespace

// The strip of pages: page p (1-based) lies (p - 1) page heights and gaps below the top.
class PageStrip : public QAbstractScrollArea {
public:
    PageStrip(QPrinter* printer, int pages, PrintPreviewDialog::PagePainter painter,
              QWidget* parent)
        : QAbstractScrollArea(parent), m_pageCount(pages), m_painter(std::move(painter)),
          m_paper(printer->pageLayout().fullRectPixels(printer->resolution())),
          m_geometry(GeometryOf(*printer)) {
        setObjectName(QStringLiteral("PreviewPages"));
        viewport()->setBackgroundRole(QPalette::Dark);
        setFocusPolicy(Qt::StrongFocus);
    }

    // Screen pixels per printer pixel; 0 fits the page width into the viewport.
    void SetZoom(double zoom) {
        m_zoom = zoom;
        UpdateScrollBars();
        viewport()->update();
    }
    double GetScale() const {
        if (m_zoom > 0)
            return m_zoom;
        const int room = std::max(viewport()->width() - 2 * kGap, 50);
        return static_cast<double>(room) / std::max(m_paper.width(), 1);
    }
    int PageStep() const { return PageHeight() + kGap; }
    // Scrolls the top of the 1-based page to the top of the view.
    void GoToPage(int page) {
        const std::int64_t top =
            static_cast<std::int64_t>(std::clamp(page, 1, m_pageCount) - 1) * PageStep();
        verticalScrollBar()->setValue(static_cast<int>(std::min<std::int64_t>(top, INT_MAX)));
    }
    int FirstPageInSight() const {
        return std::clamp(verticalScrollBar()->value() / PageStep() + 1, 1, m_pageCount);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(viewport());
        const double scale = GetScale();
        const int width = PageWidth();
        const int left =
            std::max(kGap, (viewport()->width() - width) / 2) - horizontalScrollBar()->value();
        const int scrolled = verticalScrollBar()->value();
        const int last = std::min(m_pageCount, (scrolled + viewport()->height()) / PageStep() + 1);
        for (int page = FirstPageInSight(); page <= last; ++page) {
            const QRect sheet(left, kGap + (page - 1) * PageStep() - scrolled, width, PageHeight());
            painter.fillRect(sheet.translated(2, 2), palette().shadow());
            painter.fillRect(sheet, Qt::white);
            painter.save();
            painter.setClipRect(sheet);
            painter.translate(sheet.topLeft());
            painter.scale(scale, scale);
            painter.translate(m_geometry.paintRect.topLeft() - m_paper.topLeft());
            m_painter(painter, m_geometry, page);
            painter.restore();
        }
    }
    // Home and End go to the first and the last page, Page Up and Page Down a page back or
    // on, each to the page's top; the other keys scroll as in any scroll area.
    void keyPressEvent(QKeyEvent* event) override {
        const int first = FirstPageInSight();
        const bool atTop =
            verticalScrollBar()->value() == static_cast<std::int64_t>(first - 1) * PageStep();
        switch (event->key()) {
        case Qt::Key_Home:
            GoToPage(1);
            break;
        case Qt::Key_End:
            GoToPage(m_pageCount);
            break;
        case Qt::Key_PageUp:
            GoToPage(atTop ? first - 1 : first);
            break;
        case Qt::Key_PageDown:
            GoToPage(first + 1);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        event->accept();
    }
    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        UpdateScrollBars();
    }

private:
    int PageWidth() const { return std::max(1, static_cast<int>(m_paper.width() * GetScale())); }
    int PageHeight() const { return std::max(1, static_cast<int>(m_paper.height() * GetScale())); }
    void UpdateScrollBars() {
        const std::int64_t height = static_cast<std::int64_t>(m_pageCount) * PageStep() + kGap;
        verticalScrollBar()->setRange(
            0, static_cast<int>(std::min<std::int64_t>(
                   std::max<std::int64_t>(height - viewport()->height(), 0), INT_MAX)));
        verticalScrollBar()->setPageStep(viewport()->height());
        verticalScrollBar()->setSingleStep(std::max(1, PageStep() / 10));
        horizontalScrollBar()->setRange(0,
                                        std::max(0, PageWidth() + 2 * kGap - viewport()->width()));
        horizontalScrollBar()->setPageStep(viewport()->width());
    }

    int m_pageCount;
    PrintPreviewDialog::PagePainter m_painter;
    QRect m_paper;           // the whole sheet, printer pixels
    PageGeometry m_geometry; // and the part the painter reaches
    double m_zoom = 0;
};

PrintPreviewDialog::PrintPreviewDialog(QPrinter* printer, int pages, PagePainter painter,
                                       QWidget* parent)
    : QDialog(parent), m_pageCount(std::max(pages, 1)),
      m_strip(new PageStrip(printer, m_pageCount, std::move(painter), this)),
      m_pageNumber(new QSpinBox(this)), m_pageLabel(new QLabel(this)) {
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(tr("Print Preview"));
    auto* tools = new QToolBar(this);
    connect(tools->addAction(tr("&Print...")), &QAction::triggered, this, [this] {
        accept();
        emit printRequested();
    });
    tools->addSeparator();
    connect(tools->addAction(tr("Zoom &In")), &QAction::triggered, this,
            [this] { m_strip->SetZoom(m_strip->GetScale() * 1.25); });
    connect(tools->addAction(tr("Zoom &Out")), &QAction::triggered, this,
            [this] { m_strip->SetZoom(m_strip->GetScale() / 1.25); });
    connect(tools->addAction(tr("&Fit Width")), &QAction::triggered, this,
            [this] { m_strip->SetZoom(0); });
    tools->addSeparator();
    // The page in sight; typing a number and Enter goes to that page.
    auto* pageWord = new QLabel(tr("Pa&ge"), this);
    pageWord->setBuddy(m_pageNumber);
    pageWord->setContentsMargins(4, 0, 4, 0);
    tools->addWidget(pageWord);
    m_pageNumber->setObjectName(QStringLiteral("PageNumber"));
    m_pageNumber->setRange(1, m_pageCount);
    m_pageNumber->setKeyboardTracking(false);
    m_pageNumber->setAccelerated(true);
    tools->addWidget(m_pageNumber);
    m_pageLabel->setContentsMargins(4, 0, 4, 0);
    tools->addWidget(m_pageLabel);
    connect(m_pageNumber, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != GetCurrentPage())
            m_strip->GoToPage(page);
    });
    connect(m_pageNumber, &QSpinBox::editingFinished, this, [this] { m_strip->setFocus(); });
    tools->addSeparator();
    QAction* close = tools->addAction(tr("&Close"));
    close->setObjectName(QStringLiteral("ClosePreview"));
    connect(close, &QAction::triggered, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(m_strip, 1);
    connect(m_strip->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &PrintPreviewDialog::UpdatePageLabel);
    UpdatePageLabel();
    if (parent)
        resize(parent->size());
    m_strip->setFocus();
}

int PrintPreviewDialog::GetCurrentPage() const {
    return m_strip->FirstPageInSight();
}

void PrintPreviewDialog::GoToPage(int page) {
    m_strip->GoToPage(page);
}

void PrintPreviewDialog::UpdatePageLabel() {
    {
        const QSignalBlocker quiet(m_pageNumber);
        m_pageNumber->setValue(GetCurrentPage());
    }
    m_pageLabel->setText(tr("of %1").arg(m_pageCount));
}
