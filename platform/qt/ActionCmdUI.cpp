// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActionCmdUI.h"

#include <QAction>

void ActionCmdUI::SetCheck(int check) {
    m_action->setCheckable(true);
    m_action->setChecked(check == 1);
}

void ActionCmdUI::Enable(bool enabled) {
    m_action->setEnabled(enabled);
}
