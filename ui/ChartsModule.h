// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts window and what it draws with (Qt Charts, SVG) form a module of their own,
// tabulon-charts.so, loaded when the window is first wanted: the program starts without them.
#pragma once

#include <QString>

class ChartsWindow;
class CTabulonDoc;
class PrintCommands;
class QWidget;

namespace charts_module {

using Factory = ChartsWindow* (*)(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent);

// The module's file name, and the function it makes the window with.
inline constexpr char kFileName[] = "tabulon-charts.so";
inline constexpr char kFactoryName[] = "TabulonCreateChartsWindow";

// Makes the Charts window, loading the module the first time (see module_loader::Entry);
// charts built into the program itself need no module. Null, with a sentence naming the
// module and the reason in error, when the module cannot be loaded.
ChartsWindow* Create(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent,
                     QString& error);

// Charts linked into the program register their factory here, so no module is loaded.
void RegisterBuiltIn(Factory factory);

} // namespace charts_module
