// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartsModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <algorithm>

#ifndef TABULON_CHARTS_MODULE_DIR
#define TABULON_CHARTS_MODULE_DIR "../lib/tabulon"
#endif

namespace charts_module {

namespace {

Factory& BuiltIn() {
    static Factory factory = nullptr;
    return factory;
}

QString& ExtraFolder() {
    static QString folder;
    return folder;
}

// The module's places, the first that holds it winning.
QStringList Candidates() {
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList folders;
    if (!ExtraFolder().isEmpty())
        folders << ExtraFolder();
    folders << program.path() << program.filePath(QStringLiteral(TABULON_CHARTS_MODULE_DIR));
    QStringList files;
    for (const QString& folder : folders)
        files << QDir::cleanPath(QDir(folder).filePath(QString::fromLatin1(kFileName)));
    return files;
}

Factory Load(QString& error) {
    static Factory loaded = nullptr;
    if (loaded)
        return loaded;
    const QStringList files = Candidates();
    auto found = std::find_if(files.begin(), files.end(),
                              [](const QString& file) { return QFileInfo::exists(file); });
    if (found == files.end()) {
        error = QCoreApplication::translate("ChartsModule",
                                            "Cannot show the charts: the module \"%1\" is "
                                            "missing (looked for it as %2).")
                    .arg(QString::fromLatin1(kFileName),
                         files.join(QCoreApplication::translate("ChartsModule", " and ")));
        return nullptr;
    }
    // The module stays loaded for the rest of the run: its window lives as long as the frame.
    QLibrary library(*found);
    auto factory = reinterpret_cast<Factory>(library.resolve(kFactoryName));
    if (!factory) {
        error = QCoreApplication::translate("ChartsModule",
                                            "Cannot show the charts: the module \"%1\" cannot "
                                            "be loaded: %2.")
                    .arg(QDir::toNativeSeparators(*found), library.errorString());
        return nullptr;
    }
    loaded = factory;
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

void SetFolder(const QString& folder) {
    ExtraFolder() = folder;
}

} // namespace charts_module
