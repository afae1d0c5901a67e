// The nine values a policy dialog collects, and the dialog interface the calculation runs use.
#pragma once

#include "CalculationRecord.h"
#include "ModalDialog.h"
#include "PolicyCatalogue.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// The values exchanged with an input dialog. List selections are 0-based (-1 = none);
// the runs store them as codes 1..n.
struct CPolicyDialogData {
    int m_bNetIncome = 0;     // 1: show the net-income distribution
    int m_bMortality = 0;     // 1: show the mortality table
    int m_nInputKind = 1;     // 1: policy amount given, 2: annual premium or payment given
    int m_nAge = 0;           // years, 0..106
    float m_fAmount = 0;      // 0..1e9, checked in single precision
    int m_nRate = 0;          // whole percent, 0..100
    int m_nTableIndex = -1;   // 0..MortalityTableCount() - 1
    int m_nPolicyIndex = -1;  // 0..PolicyCount(kind) - 1
    int m_nTerm = 0;          // years, within the policy's term range
};

// Copies accepted values into the record's inputs, list indices becoming 1-based codes.
void CopyToRecord(const CPolicyDialogData& values, CCalculationRecord& record);

// A modal dialog that carries the nine values: the run loads them, runs the dialog and
// reads them back after IDOK.
class CPolicyDialog : public CModalDialog, public CPolicyDialogData {};

// Makes the dialog of the given kind; the document asks for one per calculation.
using PolicyDialogFactory = std::function<std::unique_ptr<CPolicyDialog>(PolicyKind)>;
