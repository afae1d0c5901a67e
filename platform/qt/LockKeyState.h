// SPDX-License-Identifier: GPL-3.0-or-later
// Whether Caps Lock, Num Lock or Scroll Lock is on, where the window system says.
#pragma once

enum class LockKey { Caps, Num, Scroll };

// False when the lock is off and also when the window system cannot tell (only X11 can).
bool IsLockOn(LockKey key);
