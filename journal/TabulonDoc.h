// SPDX-License-Identifier: GPL-3.0-or-later
// The journal document: the journal lines, the calculation record and the two calculation runs.
#pragma once

#include "CalculationRecord.h"
#include "CmdUI.h"
#include "Document.h"
#include "PolicyDialog.h"
#include "ProductRun.h"
#include "StringList.h"
#include "TextFile.h"

#include <string>
#include <vector>

class CTabulonDoc : public CDocument, public CCalculationRecord {
public:
    CTabulonDoc();
    ~CTabulonDoc() override;

    // The journal; the document keeps ownership. Views read it, never change it.
    const CStringList* GetLines() const { return &m_lines; }

    // Replaces the journal with its two opening lines; the record is kept.
    bool OnNewDocument() override;
    // Appends the file's lines to the journal. Throws CFileException; on failure the
    // journal is unchanged.
    JournalFileState OnOpenDocument(const std::string& path) override;
    // Writes every journal line (see SaveJournal); lines another program appended join the
    // journal, and the views are told. Throws CFileException, leaving the file, the lines
    // and the modified flag as they were.
    JournalSave OnSaveDocument(const std::string& path,
                               const std::optional<JournalFileState>& known,
                               OtherChanges changes) override;
    // Whether Open refuses a file holding NUL bytes, which is no journal: a script that
    // appends to a journal does, File Open reads whatever the file holds.
    void SetOpenRefusesNulBytes(bool refuse) {
        m_nulBytes = refuse ? NulBytes::Refuse : NulBytes::Keep;
    }

    // The two calculation commands: each moves the menu check mark to its kind, asks for
    // the values and, when they are accepted, appends a report.
    void OnTypeInsurance();
    void OnTypePension();
    void OnUpdateTypeInsurance(CCmdUI* cmdUI) const;
    void OnUpdateTypePension(CCmdUI* cmdUI) const;
    // The product command: asks for a product, starting from the values last accepted, and
    // appends its report when they are accepted.
    void OnTypeProduct();
    void OnUpdateTypeProduct(CCmdUI* cmdUI) const;

    // How the commands ask for values; set by the window layer. Without one they ask nothing.
    void SetValuesPrompt(PolicyValuesPrompt prompt) { m_valuesPrompt = std::move(prompt); }
    void SetProductPrompt(ProductValuesPrompt prompt) { m_productPrompt = std::move(prompt); }

    // The report of one accepted dialog: copies the values into the record, calculates
    // and appends every line. The values must lie in the dialog's ranges.
    void RunCalculation(PolicyKind kind, const PolicyDialogData& values);
    // The report of one accepted product dialog; the values are kept as the dialog's next
    // opening values. False (nothing appended) when they cannot be valued.
    bool RunProduct(const ProductDialogValues& values);

    // The product values last accepted (the defaults before any).
    const ProductDialogValues& GetProductValues() const { return m_productValues; }
    // The last calculation when it was a product; null after an insurance or pension
    // calculation, and before any product.
    const ProductResult* GetLastProduct() const {
        return m_lastProduct ? &*m_lastProduct : nullptr;
    }

private:
    void RunCommand(PolicyKind kind);
    void AppendMortalitySection();
    void AppendSummarySection(PolicyKind kind);
    void AppendNetIncomeSection(PolicyKind kind);

    CStringList m_lines;
    PolicyValuesPrompt m_valuesPrompt;
    ProductValuesPrompt m_productPrompt;
    ProductDialogValues m_productValues = DefaultProductValues();
    std::optional<ProductResult> m_lastProduct;
    bool m_productChosen = false; // the menu's check mark is on Product
    NulBytes m_nulBytes = NulBytes::Keep;
    std::vector<NetIncomeRow> m_netIncomeRows; // of the last run, for its net-income section
};
