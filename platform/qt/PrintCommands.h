// SPDX-License-Identifier: GPL-3.0-or-later
// Printing and print preview of a view: the print, preview and printer set-up commands, and
// printing straight to the default printer or into a PDF file. Qt's printing library comes
// with the module tabulon-print.so, loaded by the first of them.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

// A printer's page as a document lays out its pages on it.
struct PageGeometry {
    int dpi = 0;     // the printer's resolution, dots per inch
    QRect paintRect; // the printable part of the page, printer pixels
};

class PrintCommands {
    Q_DECLARE_TR_FUNCTIONS(PrintCommands)
public:
    // Paints every page of the document (or the printer's page range) on the printer and
    // returns the number of pages painted; 0 when the printer could not be painted on.
    using PagePainter = std::function<int(QPrinter* printer)>;

    // A document printed a page at a time: the pages it needs on a page, and one page painted
    // on a painter whose device is page-sized in printer pixels (1-based).
    struct PageSource {
        std::function<int(const PageGeometry& page)> pageCount;
        std::function<void(QPainter& painter, const PageGeometry& geometry, int page)> paintPage;
    };

    // What the commands work on; the module's functions take it whole.
    struct State {
        QWidget* window;
        PagePainter painter;
        PageSource source;
        std::shared_ptr<QPrinter> printer; // made on first use: finding printers takes time
    };

    // A window's commands, printing what painter paints.
    PrintCommands(QWidget* window, PagePainter painter);
    // A document's commands, printing source's pages (the printer's page range when one is
    // set): Print shows its progress with a Cancel button and the preview of a long document
    // paints only the pages in sight.
    PrintCommands(QWidget* window, PageSource source);
    ~PrintCommands();

    // Interactive commands; the printer chosen is kept for the next one.
    void Print();
    void PrintPreview();
    void PrintSetup();
    // Print (preview false) or Print Preview of another window's pages, on the same printer.
    void PrintWith(PagePainter painter, bool preview);

    // Without dialogs: false with a sentence in error when nothing could be printed.
    bool PrintDirect(QString& error);
    // Into the PDF file out (see PrintToPdfFile).
    bool PrintToPdf(const QByteArray& out, QString& error);
    // On a printer of the caller's, as Print prints but without dialogs: the pages painted,
    // 0 when none could be (also when the printing module cannot be loaded).
    int PaintPages(QPrinter* printer);

    // Above this many pages the preview paints only the pages in sight: the standard
    // preview paints every page into memory before it shows the first.
    static constexpr int kFullPreviewPages = 200;

private:
    State m_state;
};
