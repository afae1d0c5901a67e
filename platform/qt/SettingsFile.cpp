// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include "FileName.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <sys/stat.h>

namespace {
QString& SettingsFolder() {
    static QString folder;
    return folder;
}

// The folders QSettings searches on this platform: the user's first, then the system's.
QStringList SettingsFolders() {
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    if (!SettingsFolder().isEmpty()) {
        if (!folders.isEmpty())
            folders.removeFirst();
        folders.prepend(SettingsFolder());
    }
    folders.append(QLibraryInfo::path(QLibraryInfo::SettingsPath));
    return folders;
}
} // namespace

void SetSettingsFolder(const QString& folder) {
    SettingsFolder() = folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

QString SettingsFileProblem() {
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    for (const QString& folder : SettingsFolders()) {
        const QStringList files = {folder + u'/' + organization + u'/' + application +
                                       QLatin1String(".conf"),
                                   folder + u'/' + organization + QLatin1String(".conf")};
        for (const QString& file : files) {
            struct stat status {};
            if (::stat(EncodeFileName(file).constData(), &status) == 0 && !S_ISREG(status.st_mode))
                return QCoreApplication::translate(
                           "SettingsFile",
                           "The settings file \"%1\" is not a plain file; Tabulon goes on without "
                           "reading or writing settings, so the recent-file list is not kept.")
                    .arg(file);
        }
    }
    return {};
}
