#include "PrintCommands.h"

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
