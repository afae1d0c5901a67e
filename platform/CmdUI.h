// SPDX-License-Identifier: GPL-3.0-or-later
// State of a command's menu item or button, as an update handler sets it.
#pragma once

class CCmdUI {
public:
    virtual ~CCmdUI() = default;
    virtual void SetCheck(int check) = 0; // 1 = checked, 0 = unchecked
    virtual void Enable(bool enabled) = 0;
};
