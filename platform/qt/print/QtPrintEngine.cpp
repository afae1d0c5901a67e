// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands on Qt's printing library: the module tabulon-print.so. The program finds
// its engine by name once it has loaded the module; linked into a program directly (the
// tests), the engine registers itself, so that no module is looked for.
#include "PrintEngine.h"
#include "PrintPreview.h"
#include "PrinterPage.h"
#include "WaitCursor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>
#include <utility>

PageGeometry GeometryOf(const QPrinter& printer) {
    const int dpi = printer.resolution();
    return {dpi, printer.pageLayout().paintRectPixels(dpi)};
}

namespace {

// The pages of pages to print: the printer's page range when one is set, else all.
std::pair<int, int> PrintedPages(const QPrinter& printer, int pages) {
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        return {std::max(1, printer.fromPage()), std::min(pages, printer.toPage())};
    return {1, pages};
}

class QtPrintEngine final : public PrintEngine {
public:
    void Print(PrintCommands::State& state) override {
        QPrintDialog dialog(&Printer(state), state.window);
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (state.painter)
            state.painter(&Printer(state));
        else
            PrintWithProgress(*state.printer, state);
    }

    void PrintPreview(PrintCommands::State& state) override {
        QPrinter& printer = Printer(state);
        const int pages = state.source.pageCount ? state.source.pageCount(GeometryOf(printer)) : 0;
        if (!state.painter && pages > PrintCommands::kFullPreviewPages) {
            PrintPreviewDialog preview(&printer, pages, state.source.paintPage, state.window);
            bool print = false;
            QObject::connect(&preview, &PrintPreviewDialog::printRequested, &preview,
                             [&print] { print = true; });
            preview.exec();
            if (print)
                Print(state);
            return;
        }
        QPrintPreviewDialog preview(&printer, state.window);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [this, &state](QPrinter* target) { PaintPages(target, state); });
        preview.exec();
    }

    void PrintSetup(PrintCommands::State& state) override {
        const QStringList printers = QPrinterInfo::availablePrinterNames();
        if (printers.isEmpty()) {
            QMessageBox::information(
                state.window, PrintCommands::tr("Print Setup"),
                PrintCommands::tr("No printer is installed; Print can still write a PDF file."));
            return;
        }
        QPrinter& printer = Printer(state);
        const QString oldName = printer.printerName();
        const QPageLayout oldPage = printer.pageLayout();

        QDialog dialog(state.window);
        dialog.setObjectName(QStringLiteral("PrintSetup"));
        dialog.setWindowTitle(PrintCommands::tr("Print Setup"));
        auto* choice = new QComboBox(&dialog);
        choice->setObjectName(QStringLiteral("Printer"));
        choice->addItems(printers);
        choice->setCurrentIndex(std::max<qsizetype>(printers.indexOf(oldName), 0));
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QPushButton* page =
            buttons->addButton(PrintCommands::tr("&Page Setup..."), QDialogButtonBox::ActionRole);
        auto* layout = new QFormLayout(&dialog);
        layout->addRow(PrintCommands::tr("&Printer:"), choice);
        layout->addRow(buttons);
        // Paper sizes and margins belong to a printer: the page is set up for the one chosen.
        QObject::connect(page, &QPushButton::clicked, &dialog, [&] {
            printer.setPrinterName(choice->currentText());
            QPageSetupDialog(&printer, &dialog).exec();
        });
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        if (dialog.exec() == QDialog::Accepted) {
            if (printer.printerName() != choice->currentText())
                printer.setPrinterName(choice->currentText());
            return;
        }
        printer.setPrinterName(oldName);
        printer.setPageLayout(oldPage);
    }

    bool PrintDirect(PrintCommands::State& state, QString& error) override {
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (defaultPrinter.isNull()) {
            error = QStringLiteral("No default printer is set up.");
            return false;
        }
        QPrinter printer(defaultPrinter, QPrinter::HighResolution);
        if (PaintPages(&printer, state) == 0) {
            error = QStringLiteral("Cannot print on %1.").arg(defaultPrinter.printerName());
            return false;
        }
        return true;
    }

    int PaintPages(QPrinter* printer, const PrintCommands::State& state) override {
        if (state.painter)
            return state.painter(printer);
        const PageGeometry geometry = GeometryOf(*printer);
        const auto [from, to] = PrintedPages(*printer, state.source.pageCount(geometry));
        QPainter painter;
        if (from > to || !painter.begin(printer))
            return 0;
        for (int page = from; page <= to; ++page) {
            if (page != from && !printer->newPage())
                return page - from;
            state.source.paintPage(painter, geometry, page);
        }
        return painter.end() ? to - from + 1 : 0;
    }

    int PaintPdf(const QString& fileName, const PrintCommands::PagePainter& painter) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
        return painter(&printer);
    }

private:
    static QPrinter& Printer(PrintCommands::State& state) {
        if (!state.printer)
            state.printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        return *state.printer;
    }

    // The source's pages (the printer's page range when one is set) with a progress dialog;
    // false when cancelled or the printer could not be painted on.
    static bool PrintWithProgress(QPrinter& printer, const PrintCommands::State& state) {
        const wait_cursor::Scope busy;
        const PageGeometry geometry = GeometryOf(printer);
        const auto [from, to] = PrintedPages(printer, state.source.pageCount(geometry));
        QPainter painter;
        if (from > to || !painter.begin(&printer))
            return false;
        // Shown only when the job runs past about a second.
        QProgressDialog progress(PrintCommands::tr("Printing page %1 of %2...").arg(from).arg(to),
                                 PrintCommands::tr("Cancel"), from - 1, to, state.window);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(1000);
        for (int page = from; page <= to; ++page) {
            if (page != from && !printer.newPage())
                return false;
            state.source.paintPage(painter, geometry, page);
            progress.setValue(page);
            progress.setLabelText(PrintCommands::tr("Printing page %1 of %2...").arg(page).arg(to));
            if (progress.wasCanceled()) {
                printer.abort();
                return false;
            }
        }
        return painter.end();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT PrintEngine* TabulonPrintEngine() {
    static QtPrintEngine engine;
    return &engine;
}

namespace {
const bool registered = (print_module::RegisterBuiltIn(&TabulonPrintEngine), true);
} // namespace
