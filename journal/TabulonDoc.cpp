// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabulonDoc.h"

#include "TextFile.h"
#include "WaitCursor.h"

CTabulonDoc::CTabulonDoc() = default;

CTabulonDoc::~CTabulonDoc() {
    m_lines.RemoveAll();
}

bool CTabulonDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    m_lines.RemoveAll();
    m_lines.AddTail("LIFE INSURANCE AND PENSIONS, journal of calculations.");
    m_lines.AddTail("    To start program, click on `Type of policy'.");
    UpdateAllViews(DocumentEvent::Replaced());
    return true;
}

bool CTabulonDoc::OnOpenDocument(const std::string& path) {
    const std::size_t from = m_lines.GetCount();
    {
        wait_cursor::Scope wait;
        SetDiskIdentity(ReadTextLines(path, m_lines, m_nulBytes));
    }
    UpdateAllViews(DocumentEvent::LinesAppended(from, m_lines.GetCount() - from));
    return true;
}

bool CTabulonDoc::OnSaveDocument(const std::string& path) {
    wait_cursor::Scope wait;
    SetDiskIdentity(WriteTextLines(path, m_lines));
    SetModifiedFlag(false);
    return true;
}

void CTabulonDoc::OnTypeInsurance() {
    RunCommand(PolicyKind::Insurance);
}

void CTabulonDoc::OnTypePension() {
    RunCommand(PolicyKind::Pension);
}

void CTabulonDoc::OnUpdateTypeInsurance(CCmdUI* cmdUI) const {
    cmdUI->SetCheck(m_nMode == 1);
}

void CTabulonDoc::OnUpdateTypePension(CCmdUI* cmdUI) const {
    cmdUI->SetCheck(m_nMode == 2);
}

void CTabulonDoc::RunCommand(PolicyKind kind) {
    // The menu check mark follows the command chosen, whether or not the dialog is accepted.
    m_nMode = kind == PolicyKind::Insurance ? 1 : 2;
    if (!m_valuesPrompt)
        return;
    if (const std::optional<PolicyDialogData> accepted = m_valuesPrompt(kind, OpeningValues(*this)))
        RunCalculation(kind, *accepted);
}
