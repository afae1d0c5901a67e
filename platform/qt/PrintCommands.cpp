#include "PrintCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

CPrintCommands::CPrintCommands(QWidget* window, PagePainter painter)
    : m_pWindow(window), m_painter(std::move(painter)) {}

CPrintCommands::~CPrintCommands() = default;

QPrinter& CPrintCommands::Printer() {
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

void CPrintCommands::Print() {
    QPrintDialog dialog(&Printer(), m_pWindow);
    if (dialog.exec() == QDialog::Accepted)
        m_painter(&Printer());
}

void CPrintCommands::PrintPreview() {
    QPrintPreviewDialog preview(&Printer(), m_pWindow);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter* printer) { m_painter(printer); });
    preview.exec();
}

void CPrintCommands::PrintSetup() {
    QPageSetupDialog dialog(&Printer(), m_pWindow);
    dialog.exec();
}

bool CPrintCommands::PrintDirect(QString& error) {
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

bool CPrintCommands::PrintToPdf(const QString& fileName, QString& error) {
    QFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Cannot write the PDF file %1: %2.")
                    .arg(QDir::toNativeSeparators(fileName), probe.errorString());
        return false;
    }
    probe.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    if (m_painter(&printer) == 0 || QFileInfo(fileName).size() == 0) {
        error =
            QStringLiteral("Cannot write the PDF file %1.").arg(QDir::toNativeSeparators(fileName));
        return false;
    }
    return true;
}

void CPrintCommands::PrintWith(PagePainter painter, bool preview) {
    std::swap(m_painter, painter);
    if (preview)
        PrintPreview();
    else
        Print();
    std::swap(m_painter, painter);
}
