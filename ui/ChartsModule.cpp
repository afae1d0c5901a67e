// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartsModule.h"

#include "ModuleLoader.h"

#include <QCoreApplication>

namespace charts_module {

namespace {

module_loader::EntryPoint<Factory>& Point() {
    // The module stays loaded for the rest of the run: its window lives as long as the frame.
    static module_loader::EntryPoint<Factory> point(
        kFileName, kFactoryName,
        {"ChartsModule",
         QT_TRANSLATE_NOOP("ChartsModule", "Cannot show the charts: the module \"%1\" is missing "
                                           "(looked for it as %2)."),
         QT_TRANSLATE_NOOP("ChartsModule",
                           "Cannot show the charts: the module \"%1\" cannot be loaded: %2.")});
    return point;
}

} // namespace

ChartsWindow* Create(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent,
                     QString& error) {
    const Factory factory = Point().Get(error);
    return factory ? factory(doc, printCommands, parent) : nullptr;
}

void RegisterBuiltIn(Factory factory) {
    Point().RegisterBuiltIn(factory);
}

} // namespace charts_module
