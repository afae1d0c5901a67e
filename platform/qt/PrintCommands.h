// SPDX-License-Identifier: GPL-3.0-or-later
// Printing and print preview of a view: the print, preview and printer set-up commands, and
// printing straight to the default printer.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

class PrintCommands {
    Q_DECLARE_TR_FUNCTIONS(PrintCommands)
public:
    // Paints every page of the document (or the printer's page range) on the printer and
    // returns the number of pages painted; 0 when the printer could not be painted on.
    using PagePainter = std::function<int(QPrinter* printer)>;

    // A document printed a page at a time: the pages it needs on a printer, and one page
    // painted on a painter whose device is page-sized in printer pixels (1-based).
    struct PageSource {
        std::function<int(QPrinter* printer)> pageCount;
        std::function<void(QPainter& painter, QPrinter* printer, int page)> paintPage;
    };

    PrintCommands(QWidget* window, PagePainter painter);
    ~PrintCommands();

    // With a page source, Print shows its progress with a Cancel button and the preview of a
    // long document paints only the pages in sight.
    void SetPageSource(PageSource source) { m_source = std::move(source); }

    // Interactive commands; the printer chosen is kept for the next one.
    void Print();
    void PrintPreview();
    void PrintSetup();
    // Print (preview false) or Print Preview of another window's pages, on the same printer.
    void PrintWith(PagePainter painter, bool preview);

    // Without dialogs: false with a sentence in error when nothing could be printed.
    bool PrintDirect(QString& error);

    // Above this many pages the preview paints only the pages in sight: the standard
    // preview paints every page into memory before it shows the first.
    static constexpr int kFullPreviewPages = 200;

private:
    QPrinter& Printer();
    // Prints the page source's pages (the printer's page range when one is set) with a
    // progress dialog; false when cancelled or the printer could not be painted on.
    bool PrintPages(QPrinter& printer);

    QWidget* m_window;
    PagePainter m_painter;
    PageSource m_source;
    std::unique_ptr<QPrinter> m_printer; // made on first use: finding printers takes time
};
