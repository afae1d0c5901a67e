// SPDX-License-Identifier: GPL-3.0-or-later
// The most recently opened or saved files, newest first, kept in the user's settings.
#pragma once

#include <QStringList>

// Reads and writes the settings afresh on every call, so several windows or a restarted
// program always see the same list. No widget code: the menu asks for Entries(). Paths are
// file names as DecodeFileName gives them; while the settings file is not a plain file the
// list is empty and nothing is written.
class CRecentFileList {
public:
    explicit CRecentFileList(int maxEntries = 4) : m_maxEntries(maxEntries) {}

    QStringList Entries() const;
    // Puts the file at the top; the oldest entry falls off beyond the maximum.
    void Add(const QString& path) const;
    void Remove(const QString& path) const;

private:
    void Write(const QStringList& entries) const;

    int m_maxEntries;
};
