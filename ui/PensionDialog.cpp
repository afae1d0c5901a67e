// SPDX-License-Identifier: GPL-3.0-or-later
#include "PensionDialog.h"

namespace {

PolicyDialogTemplate PensionTemplate() {
    return {PolicyKind::Pension,
            CPensionDialog::tr("Pension or annuity"),
            PolicyListEntries(PolicyKind::Pension),
            CPensionDialog::tr("policy amount (program calculates pure annual payment), or"),
            CPensionDialog::tr("annual payment (program calculates pure policy amount)"),
            143,
            203,
            193};
}

} // namespace

CPensionDialog::CPensionDialog(QWidget* parent) : PolicyInputDialog(PensionTemplate(), parent) {}

void CPensionDialog::ExchangeListIndices(CDataExchange& dx) {
    dx.ListIndex(m_policyList, m_nPolicyIndex);
    dx.ListIndex(m_tableList, m_nTableIndex);
}
