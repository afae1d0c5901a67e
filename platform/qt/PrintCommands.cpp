// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintCommands.h"

#include "PrintPreview.h"
#include "WaitCursor.h"

#include <QApplication>
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

PrintCommands::PrintCommands(QWidget* window, PagePainter painter)
    : m_window(window), m_painter(std::move(painter)) {}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void PrintCommands::Print() {
    QPrintDialog dialog(&Printer(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_source.paintPage)
        PrintPages(Printer());
    else
        m_painter(&Printer());
}

bool PrintCommands::PrintPages(QPrinter& printer) {
    const wait_cursor::Scope busy;
    const int pages = m_source.pageCount(&printer);
    int from = 1;
    int to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pages, printer.toPage());
    }
    QPainter painter;
    if (from > to || !painter.begin(&printer))
        return false;
    // Shown only when the job runs past about a second.
    QProgressDialog progress(tr("Printing page %1 of %2...").arg(from).arg(to), tr("Cancel"),
                             from - 1, to, m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    for (int page = from; page <= to; ++page) {
        if (page != from && !printer.newPage())
            return false;
        m_source.paintPage(painter, &printer, page);
        progress.setValue(page);
        progress.setLabelText(tr("Printing page %1 of %2...").arg(page).arg(to));
        if (progress.wasCanceled()) {
            printer.abort();
            return false;
        }
    }
    return painter.end();
}

void PrintCommands::PrintPreview() {
    const int pages = m_source.pageCount ? m_source.pageCount(&Printer()) : 0;
    if (pages > kFullPreviewPages) {
        PrintPreviewDialog preview(&Printer(), pages, m_source.paintPage, m_window);
        bool print = false;
        QObject::connect(&preview, &PrintPreviewDialog::printRequested, &preview,
                         [&print] { print = true; });
        preview.exec();
        if (print)
            Print();
        return;
    }
    QPrintPreviewDialog preview(&Printer(), m_window);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter* printer) { m_painter(printer); });
    preview.exec();
}

void PrintCommands::PrintSetup() {
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty()) {
        QMessageBox::information(m_window, tr("Print Setup"),
                                 tr("No printer is installed; Print can still write a PDF file."));
        return;
    }
    QPrinter& printer = Printer();
    const QString oldName = printer.printerName();
    const QPageLayout oldPage = printer.pageLayout();

    QDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("PrintSetup"));
    dialog.setWindowTitle(tr("Print Setup"));
    auto* choice = new QComboBox(&dialog);
    choice->setObjectName(QStringLiteral("Printer"));
    choice->addItems(printers);
    choice->setCurrentIndex(std::max<qsizetype>(printers.indexOf(oldName), 0));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* page = buttons->addButton(tr("&Page Setup..."), QDialogButtonBox::ActionRole);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(tr("&Printer:"), choice);
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

bool PrintCommands::PrintDirect(QString& error) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        error = QStringLiteral("No default printer is set up.");
        return false;
    }
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    if (m_painter(&printer) == 0) {
        error = QStringLiteral("Cannot print on %1.").arg(defaultPrinter.printerName());
        return false;
    }
    return true;
}

void PrintCommands::PrintWith(PagePainter painter, bool preview) {
    // The other window paints its pages whole, without the view's page source.
    PageSource source;
    std::swap(m_painter, painter);
    std::swap(m_source, source);
    if (preview)
        PrintPreview();
    else
        Print();
    std::swap(m_source, source);
    std::swap(m_painter, painter);
}
