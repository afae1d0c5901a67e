// Printing and print preview of a view: the print, preview and printer set-up commands, and
// printing straight to the default printer.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

class CPrintCommands {
public:
    // Paints every page of the document (or the printer's page range) on the printer and
    // returns the number of pages painted; 0 when the printer could not be painted on.
    using PagePainter = std::function<int(QPrinter* printer)>;

    CPrintCommands(QWidget* window, PagePainter painter);
    ~CPrintCommands();

    // Interactive commands; the printer chosen is kept for the next one.
    void Print();
    void PrintPreview();
    void PrintSetup();

    // Without dialogs: false with a sentence in error when nothing could be printed.
    bool PrintDirect(QString& error);

private:
    QPrinter& Printer();

    QWidget* m_pWindow;
    PagePainter m_painter;
    std::unique_ptr<QPrinter> m_pPrinter; // made on first use: finding printers takes time
};
