// SPDX-License-Identifier: GPL-3.0-or-later
#include "InsuranceDialog.h"

namespace {

PolicyDialogTemplate InsuranceTemplate() {
    return {PolicyKind::Insurance,
            CInsuranceDialog::tr("Insurance or Endowment Policy"),
            PolicyListEntries(PolicyKind::Insurance),
            CInsuranceDialog::tr("policy amount (program calculates pure annual premium), or"),
            CInsuranceDialog::tr("annual premium (program calculates pure policy amount)"),
            141,
            202,
            192};
}

} // namespace

CInsuranceDialog::CInsuranceDialog(QWidget* parent)
    : PolicyInputDialog(InsuranceTemplate(), parent) {}

void CInsuranceDialog::ExchangeListIndices(CDataExchange& dx) {
    dx.ListIndex(m_tableList, m_nTableIndex);
    dx.ListIndex(m_policyList, m_nPolicyIndex);
}
