// SPDX-License-Identifier: GPL-3.0-or-later
// The about box: the program's name, version and licence beside its icon.
#pragma once

#include "DialogBase.h"

class CAboutDialog : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange&) override {}
};
