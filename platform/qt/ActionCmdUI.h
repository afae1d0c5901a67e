// SPDX-License-Identifier: GPL-3.0-or-later
// A command's state as an update handler sets it, applied to a Qt action.
#pragma once

#include "CmdUI.h"

class QAction;

class ActionCmdUI : public CCmdUI {
public:
    explicit ActionCmdUI(QAction* action) : m_action(action) {}
    void SetCheck(int check) override;
    void Enable(bool enabled) override;

private:
    QAction* m_action;
};
