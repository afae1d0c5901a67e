// SPDX-License-Identifier: GPL-3.0-or-later
// Mortality tables the user imported: copies of their files kept in tables/ under the
// user's data folder, read at start-up and listed after the built-in tables.
#pragma once

#include <QString>
#include <QStringList>

namespace imported_tables {

// What an import did: added the table, found the same table imported already (nothing is
// added then), or refused the file.
struct ImportResult {
    enum class Outcome { Added, AlreadyImported, Refused };
    Outcome outcome = Outcome::Refused;
    // The table's name when added or already imported; the one-line reason when refused.
    QString text;
};

// The folder the copies are kept in.
QString Folder();
// Reads every table file in the folder and adds its table. Returns one line per file that
// no longer reads (it is skipped).
QStringList LoadAll();
// Reads the table in the file at path and, when it holds a valid table that is not
// imported already (the same name and the same numbers living at the same ages), copies
// the file into the folder and adds the table.
ImportResult Import(const QString& path);
// Whether the file at path holds a valid mortality table.
bool HoldsTable(const QString& path);
// The names of the imported tables, in list order (after the built-in tables); a table with
// select rates says so: "VBT (select and ultimate, 25 years)".
QStringList Names();
// name, the table of code's, as Names() lists it: with the select period when the table has
// select rates (any table code).
QString ListedName(const QString& name, int code);
// Removes the imported table at index (in Names()) and its copy. Returns an empty string,
// or why the copy could not be removed (the table is then kept).
QString Remove(int index);

} // namespace imported_tables
