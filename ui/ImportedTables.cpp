// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportedTables.h"

#include "FileErrorText.h"
#include "FileException.h"
#include "MortalityTables.h"
#include "ProductRun.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

namespace imported_tables {
namespace {

// The copy behind each imported table, in code order after the built-in tables.
QStringList& StoredFiles() {
    static QStringList files;
    return files;
}

// l(x) of the ages at which someone is alive: from the first age to the last with l(x) > 0.
// The calculation closes the table after them itself. A file's l of 0 at its last age, or a
// q of 1 before it, leaves nobody alive at the ages after, where no premium has a value.
std::vector<double> LivingAges(const MortalityTableData& data) {
    std::vector<double> living = LivingByAge(data);
    living.erase(std::find_if(living.begin(), living.end(), [](double l) { return !(l > 0.0); }),
                 living.end());
    return living;
}

// The name a table is listed by: its control bytes become blanks, as AddMortalityTable does.
std::string ListedNameOf(const MortalityTableData& data) {
    std::string name = data.name;
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }, ' ');
    return name;
}

// Whether the table list's table is the one read from data: the same name and the same
// numbers living at the same ages.
bool IsTableOf(const MortalityTable& table, const MortalityTableData& data,
               const std::vector<double>& living) {
    return table.dialogName == ListedNameOf(data) && table.firstAge == data.firstAge &&
           table.lastAge == data.firstAge + static_cast<int>(living.size()) - 1 &&
           std::equal(living.begin(), living.end(), table.living.begin() + table.firstAge);
}

// The whole file of each imported table with select rates, and its l as listed: the product
// dialog prices a selected life on its select rates.
struct SelectFile {
    MortalityTableData data;
    std::vector<double> living;
};
std::vector<SelectFile>& SelectFiles() {
    static std::vector<SelectFile> files;
    return files;
}

const MortalityTableData* SelectFileOf(int code) {
    if (code <= kTableCount || code > MortalityTableCount())
        return nullptr;
    const MortalityTable& table = MortalityTableOf(code);
    for (const SelectFile& file : SelectFiles())
        if (IsTableOf(table, file.data, file.living))
            return &file.data;
    return nullptr;
}

// Reads a table file and adds its table; throws as ReadMortalityTableFile does.
void AddTableFrom(const QString& path) {
    MortalityTableData data = ReadMortalityTableFile(QFile::encodeName(path).toStdString());
    std::vector<double> living = LivingAges(data);
    AddMortalityTable(data.name, data.firstAge, living);
    if (data.select.period > 0) {
        SelectFiles().push_back({std::move(data), std::move(living)});
        SetImportedTableFile(&SelectFileOf);
    }
}

// The code of the imported table with the same name and the same numbers living at the same
// ages as data, or 0.
int SameImportedTable(const MortalityTableData& data) {
    const std::vector<double> living = LivingAges(data);
    for (int code = kTableCount + 1; code <= MortalityTableCount(); ++code)
        if (IsTableOf(MortalityTableOf(code), data, living))
            return code;
    return 0;
}

// Where a copy of source goes: the folder, or a numbered folder in it when a copy of that
// name is there already. The copy keeps the file's name, which is a CSV table's name.
QString FreeName(const QDir& folder, const QFileInfo& source) {
    QString name = source.fileName();
    for (int n = 2; folder.exists(name); ++n)
        name = QStringLiteral("%1/").arg(n) + source.fileName();
    return folder.filePath(name);
}

} // namespace

QString Folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/tables");
}

QStringList LoadAll() {
    QStringList skipped;
    QStringList paths;
    QDirIterator copies(Folder(), QDir::Files, QDirIterator::Subdirectories);
    while (copies.hasNext())
        paths << copies.next();
    paths.sort();
    for (const QString& path : paths) {
        try {
            AddTableFrom(path);
            StoredFiles() << path;
        } catch (const CFileException& error) {
            skipped << FileErrorText(error);
        } catch (const TableFormatError& error) {
            skipped << QString::fromLocal8Bit(error.what());
        }
    }
    return skipped;
}

ImportResult Import(const QString& path) {
    using Outcome = ImportResult::Outcome;
    // The file is read before anything is copied: nothing is taken from a refused file.
    MortalityTableData data;
    try {
        data = ReadMortalityTableFile(QFile::encodeName(path).toStdString());
    } catch (const CFileException& error) {
        return {Outcome::Refused, FileErrorText(error)};
    } catch (const TableFormatError& error) {
        return {Outcome::Refused, QString::fromLocal8Bit(error.what())};
    }
    if (const int same = SameImportedTable(data))
        return {Outcome::AlreadyImported, QString::fromUtf8(MortalityTableOf(same).dialogName)};
    const QString copy = FreeName(QDir(Folder()), QFileInfo(path));
    QFile source(path);
    if (!QDir().mkpath(QFileInfo(copy).path()))
        return {Outcome::Refused,
                QCoreApplication::translate("imported_tables", "Cannot create the folder \"%1\".")
                    .arg(QDir::toNativeSeparators(QFileInfo(copy).path()))};
    if (!source.copy(copy))
        return {Outcome::Refused,
                QCoreApplication::translate("imported_tables", "Cannot copy \"%1\" to \"%2\": %3.")
                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(copy),
                         source.errorString())};
    try {
        AddTableFrom(copy);
    } catch (const CFileException& error) {
        // The copy no longer reads as the file did: it is not kept.
        QFile::remove(copy);
        return {Outcome::Refused, FileErrorText(error)};
    } catch (const std::exception& error) {
        QFile::remove(copy);
        return {Outcome::Refused, QString::fromLocal8Bit(error.what())};
    }
    StoredFiles() << copy;
    return {Outcome::Added, Names().constLast()};
}

bool HoldsTable(const QString& path) {
    try {
        ReadMortalityTableFile(QFile::encodeName(path).toStdString());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QStringList Names() {
    QStringList names;
    for (int code = kTableCount + 1; code <= MortalityTableCount(); ++code)
        names << ListedName(QString::fromUtf8(MortalityTableOf(code).dialogName.c_str()), code);
    return names;
}

QString ListedName(const QString& name, int code) {
    const int period = SelectPeriodOf(code);
    return period > 0 ? QCoreApplication::translate("imported_tables",
                                                    "%1 (select and ultimate, %2 years)")
                            .arg(name)
                            .arg(period)
                      : name;
}

QString Remove(int index) {
    if (index < 0 || index >= StoredFiles().size())
        return {};
    QFile copy(StoredFiles().at(index));
    if (copy.exists() && !copy.remove())
        return QCoreApplication::translate("imported_tables", "Cannot remove \"%1\": %2.")
            .arg(QDir::toNativeSeparators(copy.fileName()), copy.errorString());
    // A numbered folder goes with its copy.
    if (QFileInfo(copy).path() != Folder())
        QDir().rmdir(QFileInfo(copy).path());
    StoredFiles().removeAt(index);
    const MortalityTable& table = MortalityTableOf(kTableCount + 1 + index);
    std::erase_if(SelectFiles(), [&table](const SelectFile& file) {
        return IsTableOf(table, file.data, file.living);
    });
    RemoveMortalityTable(kTableCount + 1 + index);
    return {};
}

} // namespace imported_tables
