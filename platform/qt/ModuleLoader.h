// SPDX-License-Identifier: GPL-3.0-or-later
// Parts of the program kept in files of their own (modules: the charts, printing), loaded the
// first time they are wanted, so that the program starts without them and their libraries.
#pragma once

#include <QString>
#include <QtGlobal>

namespace module_loader {

// What the messages of a module say, each text for QCoreApplication::translate in context:
// missing with %1 the module's file name and %2 the places looked in, unloadable with %1 the
// file and %2 the reason.
struct Messages {
    const char* context;
    const char* missing;
    const char* unloadable;
};

// The function entry of the module fileName, loaded on first use and kept loaded for the rest
// of the run. The module is looked for in the folder SetFolder gave, beside the program, where
// the build puts it, then in the folder an installed program keeps it in (../lib/tabulon).
// Null, with the sentence of messages in error, when it cannot be found or loaded.
QFunctionPointer Entry(const char* fileName, const char* entry, const Messages& messages,
                       QString& error);

// Looks for modules in folder before the usual places (a program run from elsewhere, such as
// a test).
void SetFolder(const QString& folder);

// A module's entry, a function of type Function: the one that code linked into the program
// itself registers (the tests link the modules' code), else the module's, loaded on first use.
template <typename Function> class EntryPoint {
public:
    constexpr EntryPoint(const char* fileName, const char* entryName, Messages messages)
        : m_fileName(fileName), m_entryName(entryName), m_messages(messages) {}

    void RegisterBuiltIn(Function function) { m_function = function; }
    // Null, with the sentence of the messages in error, when the module cannot be loaded.
    Function Get(QString& error) {
        if (!m_function)
            m_function =
                reinterpret_cast<Function>(Entry(m_fileName, m_entryName, m_messages, error));
        return m_function;
    }

private:
    const char* m_fileName;
    const char* m_entryName;
    Messages m_messages;
    Function m_function = nullptr;
};

} // namespace module_loader
