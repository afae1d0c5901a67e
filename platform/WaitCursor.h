// SPDX-License-Identifier: GPL-3.0-or-later
// The busy cursor shown during long operations; the window layer sets how it is shown.
#pragma once

namespace wait_cursor {
// Shows the busy cursor (true) or takes it away again (false).
using Hook = void (*)(bool busy);
// Installs the hook; without one nothing is shown.
void SetHook(Hook hook);

// Shows the busy cursor for the lifetime of the object.
class Scope {
public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};
} // namespace wait_cursor
