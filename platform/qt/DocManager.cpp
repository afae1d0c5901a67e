// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocManager.h"

#include "Document.h"
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

// Tabulon's own reasons for a file failure; those of the system come from the C library,
// in the language it speaks.
QString ShownReason(const std::string& reason) {
    static const char* const ownReasons[] = {
        QT_TRANSLATE_NOOP("CDocManager", "it is not a plain file"),
        QT_TRANSLATE_NOOP("CDocManager", "not enough memory for its lines"),
        QT_TRANSLATE_NOOP("CDocManager", "no file name was given"),
        QT_TRANSLATE_NOOP("CDocManager", "not enough memory to write it"),
        QT_TRANSLATE_NOOP("CDocManager", "it is not a journal (it holds NUL bytes)"),
        QT_TRANSLATE_NOOP("CDocManager", "another program replaced it"),
        QT_TRANSLATE_NOOP("CDocManager", "another program keeps replacing it"),
        QT_TRANSLATE_NOOP("CDocManager", "another program holds it locked"),
    };
    for (const char* own : ownReasons) {
        if (reason == own)
            return QCoreApplication::translate("CDocManager", own);
    }
    return FromNative(reason);
}

QString FailureMessage(const CFileException& error) {
    const QString name = FromNative(ShownInMessage(error.GetFileName()));
    const QString reason = ShownReason(error.GetReason());
    if (error.GetAction() == "open")
        return CDocManager::tr("Cannot open \"%1\": %2.").arg(name, reason);
    if (error.GetAction() == "read")
        return CDocManager::tr("Cannot read \"%1\": %2.").arg(name, reason);
    return CDocManager::tr("Cannot save \"%1\": %2.").arg(name, reason);
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
        m_warning(FailureMessage(error));
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
        m_warning(FailureMessage(error));
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

QString CDocManager::GetTitle() const {
    return m_doc.GetPathName().empty() ? tr("Untitled") : FromNative(m_doc.GetTitle());
}
