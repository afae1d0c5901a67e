// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the desktop shell's GUI tests: settings kept away from the user's own, and
// a user who answers the input dialogs at once.
#pragma once

#include "PolicyDialog.h"
#include "SettingsFile.h"
#include "TabulonDoc.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

namespace shell_test {

// Points the program's settings into folder; call before any window is made.
inline void UseSettingsIn(const QTemporaryDir& folder) {
    QStandardPaths::setTestModeEnabled(true);
    SetSettingsFolder(folder.path());
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));
    QSettings().clear();
}

// Term life at 40 for 20 years, 100000 at 4 percent, with both report sections.
inline PolicyDialogData TermLifeWithBothSections() {
    PolicyDialogData values;
    values.m_bNetIncome = 1;
    values.m_bMortality = 1;
    values.m_nInputKind = 1;
    values.m_nAge = 40;
    values.m_fAmount = 100000;
    values.m_nRate = 4;
    values.m_nTableIndex = 0;
    values.m_nPolicyIndex = 1;
    values.m_nTerm = 20;
    return values;
}

enum class DialogAnswer { Ok, Cancel };

// Every time the document asks for values the user answers at once, as if the values had
// been typed and OK or Cancel pressed; asked counts the questions.
inline PolicyValuesPrompt AnsweringPrompt(DialogAnswer answer, int* asked = nullptr,
                                          PolicyDialogData values = TermLifeWithBothSections()) {
    return [=](PolicyKind, const PolicyDialogData&) -> std::optional<PolicyDialogData> {
        if (asked)
            ++*asked;
        if (answer == DialogAnswer::Cancel)
            return std::nullopt;
        return values;
    };
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The output of a poppler tool (pdftotext, pdfinfo) run on a PDF file; empty when the tool
// is missing.
inline QString PopplerOutput(const QString& tool, QStringList arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page count pdfinfo reads from the file, or -1 without pdfinfo.
inline int PdfPageCount(const QString& pdf) {
    const QString info = PopplerOutput(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

inline bool HavePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

} // namespace shell_test
