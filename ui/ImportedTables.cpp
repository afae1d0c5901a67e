// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportedTables.h"

#include "FileErrorText.h"
#include "FileException.h"
#include "MortalityTables.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <span>
#include <vector>

namespace imported_tables {
namespace {

// The copy behind each imported table, in code order after the built-in tables.
QStringList& StoredFiles() {
    static QStringList files;
    return files;
}

// Reads a table file and adds its table; throws as ReadMortalityTableFile does.
void AddTableFrom(const QString& path) {
    const MortalityTableData data = ReadMortalityTableFile(QFile::encodeName(path).toStdString());
    const std::vector<double> living = LivingByAge(data);
    // LivingByAge closes the table with l(last + 1) = 0; the calculation closes it itself.
    AddMortalityTable(data.name, data.firstAge,
                      std::span<const double>(living).first(living.size() - 1));
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

QString Import(const QString& path) {
    // The file is read before anything is copied: nothing is taken from a refused file.
    const std::string name = QFile::encodeName(path).toStdString();
    try {
        ReadMortalityTableFile(name);
    } catch (const CFileException& error) {
        return FileErrorText(error);
    } catch (const TableFormatError& error) {
        return QString::fromLocal8Bit(error.what());
    }
    const QString copy = FreeName(QDir(Folder()), QFileInfo(path));
    QFile source(path);
    if (!QDir().mkpath(QFileInfo(copy).path()))
        return QCoreApplication::translate("imported_tables", "Cannot create the folder \"%1\".")
            .arg(QDir::toNativeSeparators(QFileInfo(copy).path()));
    if (!source.copy(copy))
        return QCoreApplication::translate("imported_tables", "Cannot copy \"%1\" to \"%2\": %3.")
            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(copy),
                 source.errorString());
    try {
        AddTableFrom(copy);
    } catch (const CFileException& error) {
        // The copy no longer reads as the file did: it is not kept.
        QFile::remove(copy);
        return FileErrorText(error);
    } catch (const std::exception& error) {
        QFile::remove(copy);
        return QString::fromLocal8Bit(error.what());
    }
    StoredFiles() << copy;
    return {};
}

QStringList Names() {
    QStringList names;
    for (int code = kTableCount + 1; code <= MortalityTableCount(); ++code)
        names << QString::fromUtf8(MortalityTableOf(code).dialogName.c_str());
    return names;
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
    RemoveMortalityTable(kTableCount + 1 + index);
    return {};
}

} // namespace imported_tables
