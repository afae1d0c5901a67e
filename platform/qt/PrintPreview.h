// SPDX-License-Identifier: GPL-3.0-or-later
// Print preview of many pages: the pages stacked one below the other, each painted only while
// it is in sight, so that opening the preview costs the same for one page or ten thousand.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPainter;
class QPrinter;
class CPageStrip;

class CPrintPreview : public QDialog {
    Q_OBJECT
public:
    // Paints the 1-based page on a painter whose device is page-sized in printer pixels.
    using PagePainter = std::function<void(QPainter& painter, QPrinter* printer, int page)>;

    CPrintPreview(QPrinter* printer, int pages, PagePainter painter, QWidget* parent = nullptr);

    int GetPageCount() const { return m_nPages; }
    // The first page in sight, 1-based.
    int GetCurrentPage() const;

signals:
    // The user asked to print what is previewed; the preview has closed.
    void printRequested();

private:
    void UpdatePageLabel();

    int m_nPages;
    CPageStrip* m_pStrip;
    QLabel* m_pPageLabel;
};
