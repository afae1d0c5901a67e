#include "DocManager.h"

#include "Document.h"
#include "FileException.h"
#include "FileName.h"

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
                           QStringLiteral("Save changes to %1?").arg(title),
                           QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
        prompt.button(QMessageBox::Discard)->setText(QStringLiteral("Do&n't Save"));
        prompt.setDefaultButton(QMessageBox::Save);
        const int answer = prompt.exec();
        if (answer == QMessageBox::Save)
            return SaveAnswer::Save;
        return answer == QMessageBox::Discard ? SaveAnswer::Discard : SaveAnswer::Cancel;
    };
    // Journals have no extension of their own: every file is offered and none is added.
    // Save As proposes the journal's current name.
    m_fileChooser = [owner, &doc](bool save) {
        const QString current =
            doc.GetPathName().empty() ? FromNative(doc.GetTitle()) : FromNative(doc.GetPathName());
        return save ? QFileDialog::getSaveFileName(owner, QStringLiteral("Save As"), current)
                    : QFileDialog::getOpenFileName(owner, QStringLiteral("Open"));
    };
    m_warning = [owner](const QString& message) {
        QMessageBox::warning(owner, QStringLiteral("Tabulon"), message);
    };
    m_changedPrompt = [owner](const QString& path) {
        QMessageBox prompt(QMessageBox::Warning, QStringLiteral("Tabulon"),
                           QStringLiteral("\"%1\" was changed by another program since Tabulon "
                                          "opened or saved it. Overwriting it loses those changes.")
                               .arg(QDir::toNativeSeparators(path)),
                           QMessageBox::NoButton, owner);
        QAbstractButton* saveAs =
            prompt.addButton(QStringLiteral("Save &As..."), QMessageBox::AcceptRole);
        QAbstractButton* overwrite =
            prompt.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
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
    switch (m_savePrompt(FromNative(m_doc.GetTitle()))) {
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
        m_warning(FromNative(error.what()));
        return false;
    }
    if (addToRecent)
        m_recentFiles.Add(path);
    return true;
}

bool CDocManager::FileSave() {
    const std::string& current = m_doc.GetPathName();
    if (current.empty())
        return FileSaveAs();
    // Another program's changes are not overwritten without asking.
    if (m_doc.ChangedOnDiskSinceOpenOrSave()) {
        switch (m_changedPrompt(FromNative(current))) {
        case ChangedAnswer::SaveAs:
            return FileSaveAs();
        case ChangedAnswer::Overwrite:
            break;
        case ChangedAnswer::Cancel:
            return false;
        }
    }
    return DoSave(FromNative(current));
}

bool CDocManager::FileSaveAs() {
    const QString path = m_fileChooser(true);
    return !path.isEmpty() && DoSave(path);
}

bool CDocManager::DoSave(const QString& path) {
    try {
        m_doc.SaveFile(NativePath(QFileInfo(path).absoluteFilePath()));
    } catch (const CFileException& error) {
        m_warning(FromNative(error.what()));
        return false;
    }
    m_recentFiles.Add(path);
    return true;
}

bool CDocManager::IsCurrentFile(const QString& path) const {
    const std::string& current = m_doc.GetPathName();
    return !current.empty() &&
           QFileInfo(path).absoluteFilePath() == QFileInfo(FromNative(current)).absoluteFilePath();
}
