// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActionCmdUI.h"

#include <QAction>

void CActionCmdUI::SetCheck(int check) {
    m_pAction->setCheckable(true);
    m_pAction->setChecked(check == 1);
}

void CActionCmdUI::Enable(bool enabled) {
    m_pAction->setEnabled(enabled);
}
