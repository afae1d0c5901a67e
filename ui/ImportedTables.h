// SPDX-License-Identifier: GPL-3.0-or-later
// Mortality tables the user imported: copies of their files kept in tables/ under the
// user's data folder, read at start-up and listed after the built-in tables.
#pragma once

#include <QString>
#include <QStringList>

namespace imported_tables {

// The folder the copies are kept in.
QString Folder();
// Reads every table file in the folder and adds its table. Returns one line per file that
// no longer reads (it is skipped).
QStringList LoadAll();
// Reads the table in the file at path and, when it holds a valid table, copies the file
// into the folder and adds the table. Returns an empty string, or the one-line reason
// nothing was imported.
QString Import(const QString& path);
// The names of the imported tables, in list order (after the built-in tables).
QStringList Names();
// Removes the imported table at index (in Names()) and its copy. Returns an empty string,
// or why the copy could not be removed (the table is then kept).
QString Remove(int index);

} // namespace imported_tables
