// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands' work with Qt's printing library, which the module tabulon-print.so
// holds: the program reaches it through this interface, loaded on first use.
#pragma once

#include "PrintCommands.h"

#include <QString>

class PrintEngine {
public:
    // Each as PrintCommands' command of that name.
    virtual void Print(PrintCommands::State& state) = 0;
    virtual void PrintPreview(PrintCommands::State& state) = 0;
    virtual void PrintSetup(PrintCommands::State& state) = 0;
    virtual bool PrintDirect(PrintCommands::State& state, QString& error) = 0;
    // Paints on printer what state prints: its painter's pages, else its source's (the
    // printer's page range when one is set); the number of pages painted, 0 on failure.
    virtual int PaintPages(QPrinter* printer, const PrintCommands::State& state) = 0;
    // Paints painter's pages into the PDF file fileName at the printer's high resolution.
    virtual int PaintPdf(const QString& fileName, const PrintCommands::PagePainter& painter) = 0;

protected:
    ~PrintEngine() = default; // the module's one engine lives as long as the program
};

namespace print_module {

// The module's file name, and the function that gives its engine.
inline constexpr char kFileName[] = "tabulon-print.so";
inline constexpr char kEntryName[] = "TabulonPrintEngine";
using Entry = PrintEngine* (*)();

// The engine, loading the module the first time (see module_loader::Entry); printing built
// into the program itself needs no module. Null, with a sentence naming the module and the
// reason in error, when the module cannot be loaded.
PrintEngine* Engine(QString& error);

// Printing linked into the program registers its engine here, so no module is loaded.
void RegisterBuiltIn(Entry entry);

} // namespace print_module
