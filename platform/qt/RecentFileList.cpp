// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecentFileList.h"

#include "FileName.h"
#include "SettingsFile.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const char* const kGroup = "Recent File List";

QString EntryKey(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}
} // namespace

QStringList CRecentFileList::Entries() const {
    if (!SettingsFileProblem().isEmpty())
        return {};
    QSettings settings;
    settings.beginGroup(kGroup);
    QStringList entries;
    for (int i = 0; i < m_maxEntries; ++i) {
        // Entries are stored as bytes, so a name that is not UTF-8 keeps every byte; an
        // entry written as text reads back as its UTF-8 bytes.
        const QString path = DecodeFileName(settings.value(EntryKey(i)).toByteArray());
        if (!path.isEmpty())
            entries.append(path);
    }
    return entries;
}

void CRecentFileList::Add(const QString& path) const {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList entries = Entries();
    entries.removeAll(absolute);
    entries.prepend(absolute);
    Write(entries);
}

void CRecentFileList::Remove(const QString& path) const {
    QStringList entries = Entries();
    entries.removeAll(QFileInfo(path).absoluteFilePath());
    Write(entries);
}

void CRecentFileList::Write(const QStringList& entries) const {
    if (!SettingsFileProblem().isEmpty())
        return;
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int i = 0; i < m_maxEntries; ++i) {
        if (i < entries.size())
            settings.setValue(EntryKey(i), EncodeFileName(entries.at(i)));
        else
            settings.remove(EntryKey(i));
    }
}
