// SPDX-License-Identifier: GPL-3.0-or-later
// The input dialog of a pension or annuity.
#pragma once

#include "PolicyInputDialog.h"

// Life pension or term annuity; the term runs from 0 to 100 years.
class CPensionDialog : public PolicyInputDialog {
    Q_OBJECT
public:
    explicit CPensionDialog(QWidget* parent = nullptr);

protected:
    // The policy list is exchanged before the table list.
    void ExchangeListIndices(CDataExchange& dx) override;
};
