// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintCommands.h"

#include "ModuleLoader.h"
#include "PdfFile.h"
#include "PrintEngine.h"

#include <QMessageBox>

namespace print_module {

namespace {

module_loader::EntryPoint<Entry>& Point() {
    static module_loader::EntryPoint<Entry> point(
        kFileName, kEntryName,
        {"PrintCommands",
         QT_TRANSLATE_NOOP("PrintCommands",
                           "Cannot print: the module \"%1\" is missing (looked for it as %2)."),
         QT_TRANSLATE_NOOP("PrintCommands",
                           "Cannot print: the module \"%1\" cannot be loaded: %2.")});
    return point;
}

} // namespace

PrintEngine* Engine(QString& error) {
    static PrintEngine* engine = nullptr;
    if (!engine) {
        const Entry entry = Point().Get(error);
        engine = entry ? entry() : nullptr;
    }
    return engine;
}

void RegisterBuiltIn(Entry entry) {
    Point().RegisterBuiltIn(entry);
}

} // namespace print_module

namespace {

// The engine for a command of window, or null after a message saying why there is none.
PrintEngine* EngineFor(QWidget* window) {
    QString error;
    PrintEngine* engine = print_module::Engine(error);
    if (!engine)
        QMessageBox::warning(window, QStringLiteral("Tabulon"), error);
    return engine;
}

} // namespace

PrintCommands::PrintCommands(QWidget* window, PagePainter painter)
    : m_state{window, std::move(painter), {}, {}} {}

PrintCommands::PrintCommands(QWidget* window, PageSource source)
    : m_state{window, {}, std::move(source), {}} {}

PrintCommands::~PrintCommands() = default;

void PrintCommands::Print() {
    if (PrintEngine* engine = EngineFor(m_state.window))
        engine->Print(m_state);
}

void PrintCommands::PrintPreview() {
    if (PrintEngine* engine = EngineFor(m_state.window))
        engine->PrintPreview(m_state);
}

void PrintCommands::PrintSetup() {
    if (PrintEngine* engine = EngineFor(m_state.window))
        engine->PrintSetup(m_state);
}

void PrintCommands::PrintWith(PagePainter painter, bool preview) {
    // The other window paints its pages whole, without the view's page source.
    PageSource source;
    std::swap(m_state.painter, painter);
    std::swap(m_state.source, source);
    if (preview)
        PrintPreview();
    else
        Print();
    std::swap(m_state.source, source);
    std::swap(m_state.painter, painter);
}

bool PrintCommands::PrintDirect(QString& error) {
    PrintEngine* engine = print_module::Engine(error);
    return engine && engine->PrintDirect(m_state, error);
}

int PrintCommands::PaintPages(QPrinter* printer) {
    QString error;
    PrintEngine* engine = print_module::Engine(error);
    return engine ? engine->PaintPages(printer, m_state) : 0;
}

bool PrintCommands::PrintToPdf(const QByteArray& out, QString& error) {
    PrintEngine* engine = print_module::Engine(error);
    return engine &&
           PrintToPdfFile(
               out,
               [engine, this](QPrinter* printer) { return engine->PaintPages(printer, m_state); },
               error);
}
