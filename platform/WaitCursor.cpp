// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaitCursor.h"

namespace {
WaitCursor::Hook g_hook = nullptr;
} // namespace

void WaitCursor::setHook(Hook hook) {
    g_hook = hook;
}

WaitCursor::Scope::Scope() {
    if (g_hook)
        g_hook(true);
}

WaitCursor::Scope::~Scope() {
    if (g_hook)
        g_hook(false);
}
