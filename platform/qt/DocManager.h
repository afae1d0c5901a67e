// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands of a single-document window: New, Open, Save and Save As, with the save
// prompt before a modified document is replaced or closed, file errors reported, and the
// recent-file list kept.
#pragma once

#include "RecentFileList.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class CDocument;
class QWidget;

class CDocManager {
    Q_DECLARE_TR_FUNCTIONS(CDocManager)

public:
    enum class SaveAnswer { Save, Discard, Cancel };
    // Asks whether to save the document of the given title.
    using SavePrompt = std::function<SaveAnswer(const QString& title)>;
    // Asks for a file name to open (save false) or to save to (save true); empty = cancelled.
    using FileChooser = std::function<QString(bool save)>;
    // Tells the user about a failure.
    using Warning = std::function<void(const QString& message)>;
    enum class ChangedAnswer { SaveAs, Overwrite, Cancel };
    // Tells that another program changed the file at the given path since the document read
    // or saved it, and asks what to do.
    using ChangedPrompt = std::function<ChangedAnswer(const QString& path)>;

    // The window is the parent of the prompts and dialogs; the defaults show Qt's own.
    CDocManager(CDocument& doc, QWidget* window);

    // Offers to save a modified document; false when the user cancels or saving fails.
    bool SaveModified();
    // New and Open replace or extend the document after SaveModified; false when nothing was done.
    bool FileNew();
    bool FileOpen();
    // addToRecent: whether the file joins the recent-file list (not for a print-only start).
    bool OpenDocumentFile(const QString& path, bool addToRecent = true);
    bool FileSave();
    bool FileSaveAs();

    // Replace the interactions, for tests and scripts.
    void SetSavePrompt(SavePrompt prompt) { m_savePrompt = std::move(prompt); }
    void SetFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    void SetWarning(Warning warning) { m_warning = std::move(warning); }
    void SetChangedPrompt(ChangedPrompt prompt) { m_changedPrompt = std::move(prompt); }

    const CRecentFileList& GetRecentFiles() const { return m_recentFiles; }

    // The document's title as the window shows it: its file name, or "Untitled".
    QString GetTitle() const;

private:
    bool DoSave(const QString& path, OtherChanges changes = OtherChanges::KeepAppended);
    // Tells the user about an interrupted save that the last open or save dealt with.
    void TellInterruptedSave();
    bool IsCurrentFile(const QString& path) const;

    CDocument& m_doc;
    CRecentFileList m_recentFiles;
    SavePrompt m_savePrompt;
    FileChooser m_fileChooser;
    Warning m_warning;
    ChangedPrompt m_changedPrompt;
};
