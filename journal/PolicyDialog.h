// The nine values a policy dialog collects, and the dialog interface the calculation runs use.
#pragma once

#include "CalculationRecord.h"
#include "ModalDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

enum class PolicyKind { Insurance, Pension };

// The values exchanged with an input dialog. List selections are 0-based (-1 = none);
// the runs store them as codes 1..n.
struct CPolicyDialogData {
    int m_bNetIncome = 0;     // 1: show the net-income distribution
    int m_bMortality = 0;     // 1: show the mortality table
    int m_nInputKind = 1;     // 1: policy amount given, 2: annual premium or payment given
    int m_nAge = 0;           // years, 0..106
    float m_fAmount = 0;      // 0..1e9, checked in single precision
    int m_nRate = 0;          // whole percent, 0..100
    int m_nTableIndex = -1;   // 0..3
    int m_nPolicyIndex = -1;  // insurance 0..2, pension 0..1
    int m_nTerm = 0;          // years: insurance 0..50, pension 0..100
};

// Copies accepted values into the record's inputs, list indices becoming 1-based codes.
void CopyToRecord(const CPolicyDialogData& values, CCalculationRecord& record);

// A modal dialog that carries the nine values: the run loads them, runs the dialog and
// reads them back after IDOK.
class CPolicyDialog : public CModalDialog, public CPolicyDialogData {};

// Makes the dialog of the given kind; the document asks for one per calculation.
using PolicyDialogFactory = std::function<std::unique_ptr<CPolicyDialog>(PolicyKind)>;

// The limits the dialogs and the command line enforce.
namespace PolicyLimits {
constexpr int kMaxAge = 106;
constexpr float kMaxAmount = 1e9f;
constexpr int kMaxRate = 100;
constexpr int kTableCount = 4;
int PolicyCount(PolicyKind kind);
int MaxTerm(PolicyKind kind);
// Term types (term life, endowment, term annuity) need at least one year; the others use no term.
int MinTerm(PolicyKind kind, int policyIndex);
bool UsesTerm(PolicyKind kind, int policyIndex);
} // namespace PolicyLimits
