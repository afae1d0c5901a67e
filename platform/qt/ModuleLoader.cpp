// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModuleLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <algorithm>

#ifndef TABULON_MODULE_DIR
#define TABULON_MODULE_DIR "../lib/tabulon"
#endif

namespace module_loader {

namespace {

QString& ExtraFolder() {
    static QString folder;
    return folder;
}

// The module's places, the first that holds it winning.
QStringList Candidates(const char* fileName) {
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList folders;
    if (!ExtraFolder().isEmpty())
        folders << ExtraFolder();
    folders << program.path() << program.filePath(QStringLiteral(TABULON_MODULE_DIR));
    QStringList files;
    for (const QString& folder : folders)
        files << QDir::cleanPath(QDir(folder).filePath(QString::fromLatin1(fileName)));
    return files;
}

} // namespace

QFunctionPointer Entry(const char* fileName, const char* entry, const Messages& messages,
                       QString& error) {
    const QStringList files = Candidates(fileName);
    const auto found = std::find_if(files.begin(), files.end(),
                                    [](const QString& file) { return QFileInfo::exists(file); });
    if (found == files.end()) {
        error = QCoreApplication::translate(messages.context, messages.missing)
                    .arg(QString::fromLatin1(fileName),
                         files.join(QCoreApplication::translate("ModuleLoader", " and ")));
        return nullptr;
    }
    // Loaded once: a second QLibrary of the same file shares the loaded module.
    QLibrary library(*found);
    const QFunctionPointer function = library.resolve(entry);
    if (!function)
        error = QCoreApplication::translate(messages.context, messages.unloadable)
                    .arg(QDir::toNativeSeparators(*found), library.errorString());
    return function;
}

void SetFolder(const QString& folder) {
    ExtraFolder() = folder;
}

} // namespace module_loader
