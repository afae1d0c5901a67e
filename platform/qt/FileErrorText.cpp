// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileErrorText.h"

#include "FileException.h"
#include "FileName.h"
#include "MessageText.h"

#include <QCoreApplication>

namespace {

QString FromNative(const std::string& text) {
    return DecodeFileName(QByteArray::fromStdString(text));
}

QString Translated(const char* text) {
    return QCoreApplication::translate("CDocManager", text);
}

// Tabulon's own reasons, for lupdate; CFileException::TextOf gives the same texts.
[[maybe_unused]] const char* const kOwnReasons[] = {
    QT_TRANSLATE_NOOP("CDocManager", "it is not a plain file"),
    QT_TRANSLATE_NOOP("CDocManager", "no file name was given"),
    QT_TRANSLATE_NOOP("CDocManager", "it is not a journal (it holds NUL bytes)"),
    QT_TRANSLATE_NOOP("CDocManager", "not enough memory for its lines"),
    QT_TRANSLATE_NOOP("CDocManager", "not enough memory to write it"),
    QT_TRANSLATE_NOOP("CDocManager", "another program replaced it"),
    QT_TRANSLATE_NOOP("CDocManager", "another program keeps replacing it"),
    QT_TRANSLATE_NOOP("CDocManager", "another program holds it locked"),
    QT_TRANSLATE_NOOP("CDocManager", "another program changed it"),
    QT_TRANSLATE_NOOP("CDocManager", "it is larger than 16 MB, more than a table file holds"),
    QT_TRANSLATE_NOOP("CDocManager", "; the file is unchanged"),
};

} // namespace

QString FileErrorReason(const CFileException& error) {
    const std::string& note = error.GetNote();
    if (error.GetProblem() == FileProblem::System) {
        const std::string& reason = error.GetReason();
        const QString system = FromNative(reason.substr(0, reason.size() - note.size()));
        return system +
               (note == "; the file is unchanged" ? Translated(note.c_str()) : FromNative(note));
    }
    return Translated(CFileException::TextOf(error.GetProblem())) +
           (note == "; the file is unchanged" ? Translated(note.c_str()) : FromNative(note));
}

QString FileErrorText(const CFileException& error) {
    const QString name = FromNative(ShownInMessage(error.GetFileName()));
    const QString reason = FileErrorReason(error);
    const std::string& action = error.GetAction();
    if (action == "open")
        return QCoreApplication::translate("CDocManager", "Cannot open \"%1\": %2.")
            .arg(name, reason);
    if (action == "read")
        return QCoreApplication::translate("CDocManager", "Cannot read \"%1\": %2.")
            .arg(name, reason);
    if (action == "write")
        return QCoreApplication::translate("CDocManager", "Cannot write \"%1\": %2.")
            .arg(name, reason);
    return QCoreApplication::translate("CDocManager", "Cannot save \"%1\": %2.").arg(name, reason);
}
