// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the desktop shell's GUI tests: settings kept away from the user's own, a
// user who answers the input dialogs at once, and a main window shown for a test.
#pragma once

#include "MainFrame.h"
#include "PolicyDialog.h"
#include "SettingsFile.h"
#include "TabulonDoc.h"

#include "../unit/TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
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
    return testing_support::With(testing_support::Sections::Both,
                                 testing_support::Values(1, 40, 20, 4, 100000));
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

// The set-up of the main window's tests: a document in a main window, shown at the given
// size with a new journal; the save prompt answers Don't Save.
class MainWindowTest {
protected:
    bool ShowMainWindow(int width, int height) {
        m_doc = std::make_unique<CTabulonDoc>();
        m_frame = std::make_unique<CMainFrame>(*m_doc);
        m_frame->GetDocManager().SetSavePrompt(
            [](const QString&) { return CDocManager::SaveAnswer::Discard; });
        m_frame->GetDocManager().FileNew();
        m_frame->resize(width, height);
        m_frame->show();
        return QTest::qWaitForWindowExposed(m_frame.get());
    }
    void CloseMainWindow() {
        m_frame.reset();
        m_doc.reset();
    }
    QAction* Action(const char* id) const {
        return m_frame->findChild<QAction*>(QLatin1String(id));
    }

    QTemporaryDir m_settings;
    std::unique_ptr<CTabulonDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

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
