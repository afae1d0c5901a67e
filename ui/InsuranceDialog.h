// SPDX-License-Identifier: GPL-3.0-or-later
// The input dialog of an insurance or endowment policy.
#pragma once

#include "PolicyInputDialog.h"

// Whole life, term life or term endowment; the term runs from 0 to 50 years.
class CInsuranceDialog : public PolicyInputDialog {
    Q_OBJECT
public:
    explicit CInsuranceDialog(QWidget* parent = nullptr);

protected:
    // The table list is exchanged before the policy list.
    void ExchangeListIndices(CDataExchange& dx) override;
};
