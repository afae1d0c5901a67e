#include "ImportedTables.h"

#include "FileException.h"
#include "MortalityTables.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include <QCoreApplication>
#include <QDir>
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

// A name in the folder for a copy of source: its own name, numbered when that is taken.
QString FreeName(const QDir& folder, const QFileInfo& source) {
    QString name = source.fileName();
    for (int n = 2; folder.exists(name); ++n)
        name = source.completeBaseName() + QStringLiteral("-%1.").arg(n) + source.suffix();
    return folder.filePath(name);
}

} // namespace

QString Folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/tables");
}

QStringList LoadAll() {
    QStringList skipped;
    const QDir folder(Folder());
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        const QString path = folder.filePath(name);
        try {
            AddTableFrom(path);
            StoredFiles() << path;
        } catch (const CFileException& error) {
            skipped << QString::fromLocal8Bit(error.what());
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
        return QString::fromLocal8Bit(error.what());
    } catch (const TableFormatError& error) {
        return QString::fromLocal8Bit(error.what());
    }
    QDir folder(Folder());
    if (!folder.mkpath(QStringLiteral(".")))
        return QCoreApplication::translate("imported_tables", "Cannot create the folder \"%1\".")
            .arg(QDir::toNativeSeparators(Folder()));
    const QString copy = FreeName(folder, QFileInfo(path));
    QFile source(path);
    if (!source.copy(copy))
        return QCoreApplication::translate("imported_tables", "Cannot copy \"%1\" to \"%2\": %3.")
            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(copy),
                 source.errorString());
    try {
        AddTableFrom(copy);
    } catch (const std::exception& error) {
        // The copy no longer reads as the file did: it is not kept.
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
    StoredFiles().removeAt(index);
    RemoveMortalityTable(kTableCount + 1 + index);
    return {};
}

} // namespace imported_tables
