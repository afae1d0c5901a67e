// SPDX-License-Identifier: GPL-3.0-or-later
// The Charts module's entry: the program finds this function by name once it has loaded the
// module. Linked into a program directly (the tests), the charts register themselves, so that
// no module is looked for.
#include "ChartsModule.h"
#include "ChartsWindow.h"

extern "C" Q_DECL_EXPORT ChartsWindow*
TabulonCreateChartsWindow(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent) {
    return new ChartsWindow(doc, printCommands, parent);
}

namespace {
const bool registered = (charts_module::RegisterBuiltIn(&TabulonCreateChartsWindow), true);
} // namespace
