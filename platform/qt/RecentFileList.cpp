#include "RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const char* const kGroup = "Recent File List";

QString EntryKey(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}
} // namespace

QStringList CRecentFileList::Entries() const {
    QSettings settings;
    settings.beginGroup(kGroup);
    QStringList entries;
    for (int i = 0; i < m_nMaxEntries; ++i) {
        const QString path = settings.value(EntryKey(i)).toString();
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
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int i = 0; i < m_nMaxEntries; ++i) {
        if (i < entries.size())
            settings.setValue(EntryKey(i), entries.at(i));
        else
            settings.remove(EntryKey(i));
    }
}
