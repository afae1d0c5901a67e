// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaitCursor.h"

namespace {
wait_cursor::Hook g_hook = nullptr;
} // namespace

void wait_cursor::SetHook(Hook hook) {
    g_hook = hook;
}

wait_cursor::Scope::Scope() {
    if (g_hook)
        g_hook(true);
}

wait_cursor::Scope::~Scope() {
    if (g_hook)
        g_hook(false);
}
