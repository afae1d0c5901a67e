// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabulonDoc.h"

#include "ReportLine.h"
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

JournalFileState CTabulonDoc::OnOpenDocument(const std::string& path) {
    const std::size_t from = m_lines.GetCount();
    JournalFileState read;
    {
        wait_cursor::Scope wait;
        read = ReadTextLines(path, m_lines, m_nulBytes);
    }
    UpdateAllViews(DocumentEvent::LinesAppended(from, m_lines.GetCount() - from));
    return read;
}

JournalSave CTabulonDoc::OnSaveDocument(const std::string& path,
                                        const std::optional<JournalFileState>& known,
                                        OtherChanges changes) {
    JournalSave saved;
    {
        wait_cursor::Scope wait;
        saved = SaveJournal(path, m_lines, known, changes);
    }
    if (saved.inserted > 0)
        UpdateAllViews(DocumentEvent::Replaced());
    SetModifiedFlag(false);
    return saved;
}

void CTabulonDoc::OnTypeInsurance() {
    RunCommand(PolicyKind::Insurance);
}

void CTabulonDoc::OnTypePension() {
    RunCommand(PolicyKind::Pension);
}

void CTabulonDoc::OnTypeProduct() {
    m_productChosen = true;
    if (!m_productPrompt)
        return;
    if (const std::optional<ProductDialogValues> accepted = m_productPrompt(m_productValues))
        RunProduct(*accepted);
}

void CTabulonDoc::OnUpdateTypeInsurance(CCmdUI* cmdUI) const {
    cmdUI->SetCheck(!m_productChosen && m_nMode == 1);
}

void CTabulonDoc::OnUpdateTypePension(CCmdUI* cmdUI) const {
    cmdUI->SetCheck(!m_productChosen && m_nMode == 2);
}

void CTabulonDoc::OnUpdateTypeProduct(CCmdUI* cmdUI) const {
    cmdUI->SetCheck(m_productChosen);
}

bool CTabulonDoc::RunProduct(const ProductDialogValues& values) {
    ProductResult result;
    if (!ValueProductRun(values, result))
        return false;
    m_productValues = values;
    const std::size_t from = m_lines.GetCount();
    report::AppendLine(m_lines, " ");
    for (const std::string& line : ProductReportLines(result))
        report::AppendLine(m_lines, line.c_str());
    m_lastProduct = std::move(result);
    UpdateAllViews(DocumentEvent::CalculationAppended(from, m_lines.GetCount() - from));
    SetModifiedFlag(true);
    return true;
}

void CTabulonDoc::RunCommand(PolicyKind kind) {
    // The menu check mark follows the command chosen, whether or not the dialog is accepted.
    m_nMode = kind == PolicyKind::Insurance ? 1 : 2;
    m_productChosen = false;
    if (!m_valuesPrompt)
        return;
    if (const std::optional<PolicyDialogData> accepted = m_valuesPrompt(kind, OpeningValues(*this)))
        RunCalculation(kind, *accepted);
}
