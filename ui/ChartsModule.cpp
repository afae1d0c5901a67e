// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartsModule.h"

#include "ModuleLoader.h"

#include <QCoreApplication>

namespace charts_module {

namespace {

Factory& BuiltIn() {
    static Factory factory = nullptr;
    return factory;
}

const module_loader::Messages kMessages = {
    "ChartsModule",
    QT_TRANSLATE_NOOP("ChartsModule", "Cannot show the charts: the module \"%1\" is missing "
                                      "(looked for it as %2)."),
    QT_TRANSLATE_NOOP("ChartsModule",
                      "Cannot show the charts: the module \"%1\" cannot be loaded: %2.")};

Factory Load(QString& error) {
    // The module stays loaded for the rest of the run: its window lives as long as the frame.
    static Factory loaded = nullptr;
    if (!loaded)
        loaded = reinterpret_cast<Factory>(
            module_loader::Entry(kFileName, kFactoryName, kMessages, error));
    return loaded;
}

} // namespace

ChartsWindow* Create(CTabulonDoc& doc, PrintCommands& printCommands, QWidget* parent,
                     QString& error) {
    Factory factory = BuiltIn() ? BuiltIn() : Load(error);
    return factory ? factory(doc, printCommands, parent) : nullptr;
}

void RegisterBuiltIn(Factory factory) {
    BuiltIn() = factory;
}

} // namespace charts_module
