// SPDX-License-Identifier: GPL-3.0-or-later
// Print preview of many pages: the pages stacked one below the other, each painted only while
// it is in sight, so that opening the preview costs the same for one page or ten thousand.
// Home, End, Page Up and Page Down and the page-number box move through them.
#pragma once

#include "PrintCommands.h"

#include <QDialog>

#include <functional>

class QLabel;
class QSpinBox;
class QPainter;
class QPrinter;
class PageStrip;

class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // Paints the 1-based page on a painter whose device is page-sized in printer pixels.
    using PagePainter =
        std::function<void(QPainter& painter, const PageGeometry& page, int number)>;

    PrintPreviewDialog(QPrinter* printer, int pages, PagePainter painter,
                       QWidget* parent = nullptr);

    int GetPageCount() const { return m_pageCount; }
    // The first page in sight, 1-based.
    int GetCurrentPage() const;
    // Scrolls the page (1-based, kept within the pages) to the top of the view.
    void GoToPage(int page);

signals:
    // The user asked to print what is previewed; the preview has closed.
    void printRequested();

private:
    void UpdatePageLabel();

    int m_pageCount;
    PageStrip* m_strip;
    QSpinBox* m_pageNumber;
    QLabel* m_pageLabel;
};
