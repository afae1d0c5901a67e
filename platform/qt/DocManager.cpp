// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocManager.h"

#include "Document.h"
#include "FileErrorText.h"
#include "FileException.h"
#include "FileName.h"
#include "MessageText.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {
std::string NativePath(const QString& path) {
    return EncodeFileName(path).toStdString();
}
QString FromNative(const std::string& text) {
    return DecodeFileName(QByteArray::fromStdString(text));
}

} // namespace

CDocManager::CDocManager(CDocument& doc, QWidget* window) : m_doc(doc) {
    const QPointer<QWidget> owner(window);
    m_savePrompt = [owner](const QString& title) {
        QMessageBox prompt(QMessageBox::Warning, QStringLiteral("Tabulon"),
                           tr("Save changes to %1?").arg(title),
                           QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
        prompt.button(QMessageBox::Discard)->setText(tr("Do&n't Save"));
        prompt.setDefaultButton(QMessageBox::Save);
        const int answer = prompt.exec();
        if (answer == QMessageBox::Save)
            return SaveAnswer::Save;
        return answer == QMessageBox::Discard ? SaveAnswer::Discard : SaveAnswer::Cancel;
    };
    // Journals have no extension of their own: every file is offered and none is added.
    // Save As proposes the journal's current name.
    m_fileChooser = [owner, this](bool save) {
        const QString current =
            m_doc.GetPathName().empty() ? GetTitle() : FromNative(m_doc.GetPathName());
        return save ? QFileDialog::getSaveFileName(owner, tr("Save As"), current)
                    : QFileDialog::getOpenFileName(owner, tr("Open"));
    };
    m_warning = [owner](const QString& message) {
        QMessageBox::warning(owner, QStringLiteral("Tabulon"), message);
    };
    m_changedPrompt = [owner](const QString& path) {
        QMessageBox prompt(QMessageBox::Warning, QStringLiteral("Tabulon"),
                           tr("\"%1\" was changed by another program since Tabulon "
                              "opened or saved it. Overwriting it loses those changes.")
                               .arg(QDir::toNativeSeparators(path)),
                           QMessageBox::NoButton, owner);
        QAbstractButton* saveAs = prompt.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
        QAbstractButton* overwrite =
            prompt.addButton(tr("&Overwrite"), QMessageBox::DestructiveRole);
        prompt.addButton(QMessageBox::Cancel);
        prompt.setDefaultButton(static_cast<QPushButton*>(saveAs));
        prompt.exec();
        if (prompt.clickedButton() == saveAs)
            return ChangedAnswer::SaveAs;
        return prompt.clickedButton() == overwrite ? ChangedAnswer::Overwrite
                                                   : ChangedAnswer::Cancel;
    };
}

bool CDocManager::SaveModified() {
    if (!m_doc.IsModified())
        return true;
    switch (m_savePrompt(GetTitle())) {
    case SaveAnswer::Save:
        return FileSave();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool CDocManager::FileNew() {
    return SaveModified() && m_doc.OnNewDocument();
}

bool CDocManager::FileOpen() {
    const QString path = m_fileChooser(false);
    return !path.isEmpty() && OpenDocumentFile(path);
}

bool CDocManager::OpenDocumentFile(const QString& path, bool addToRecent) {
    // The file already open is not read again.
    if (IsCurrentFile(path))
        return true;
    if (!SaveModified())
        return false;
    try {
        m_doc.OpenFile(NativePath(QFileInfo(path).absoluteFilePath()));
    } catch (const CFileException& error) {
        m_recentFiles.Remove(path);
        m_warning(FileErrorText(error));
        return false;
    }
    TellInterruptedSave();
    if (addToRecent)
        m_recentFiles.Add(path);
    return true;
}

bool CDocManager::FileSave() {
    const std::string& current = m_doc.GetPathName();
    if (current.empty())
        return FileSaveAs();
    return DoSave(FromNative(current));
}

bool CDocManager::FileSaveAs() {
    const QString path = m_fileChooser(true);
    return !path.isEmpty() && DoSave(path);
}

bool CDocManager::DoSave(const QString& path, OtherChanges changes) {
    try {
        m_doc.SaveFile(NativePath(QFileInfo(path).absoluteFilePath()), changes);
    } catch (const CFileException& error) {
        // Lines another program appended are kept by the save itself; any other change it
        // made is not overwritten without asking.
        if (error.GetProblem() != FileProblem::ChangedByAnotherProgram) {
            m_warning(FileErrorText(error));
            return false;
        }
        switch (m_changedPrompt(path)) {
        case ChangedAnswer::SaveAs:
            return FileSaveAs();
        case ChangedAnswer::Overwrite:
            return DoSave(path, OtherChanges::Overwrite);
        case ChangedAnswer::Cancel:
            break;
        }
        return false;
    }
    TellInterruptedSave();
    m_recentFiles.Add(path);
    return true;
}

void CDocManager::TellInterruptedSave() {
    const std::optional<InterruptedSave> interrupted = m_doc.TakeInterruptedSave();
    if (!interrupted)
        return;
    const QString journal = FromNative(m_doc.GetPathName());
    const QString copy = FromNative(interrupted->recoveryFile);
    m_warning(interrupted->completed
                  ? tr("An earlier save of \"%1\" was interrupted while it rewrote the file; "
                       "Tabulon completed it from the recovery copy \"%2\".")
                        .arg(journal, copy)
                  : tr("An earlier save of \"%1\" was interrupted before it changed the "
                       "file; the file is as it was, and the recovery copy \"%2\" was "
                       "removed.")
                        .arg(journal, copy));
}

bool CDocManager::IsCurrentFile(const QString& path) const {
    const std::string& current = m_doc.GetPathName();
    return !current.empty() &&
           QFileInfo(path).absoluteFilePath() == QFileInfo(FromNative(current)).absoluteFilePath();
}

QString CDocManager::GetTitle() const {
    return m_doc.GetPathName().empty() ? tr("Untitled") : FromNative(m_doc.GetTitle());
}
