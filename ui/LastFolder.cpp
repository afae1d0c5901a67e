// SPDX-License-Identifier: GPL-3.0-or-later
#include "LastFolder.h"

#include "FileName.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const char* const kKey = "Settings/LastFolder";
} // namespace

namespace last_folder {

QString Get() {
    if (!SettingsFileProblem().isEmpty())
        return {};
    // Stored as bytes, so that a folder whose name is not UTF-8 keeps every byte.
    const QString folder = DecodeFileName(QSettings().value(kKey).toByteArray());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void Remember(const QString& file) {
    if (file.isEmpty() || !SettingsFileProblem().isEmpty())
        return;
    QSettings().setValue(kKey, EncodeFileName(QFileInfo(file).absolutePath()));
}

QString Proposed(const QString& name) {
    const QString folder = Get();
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

} // namespace last_folder
