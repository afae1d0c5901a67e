// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockKeyState.h"

#include <QGuiApplication>

#ifdef TABULON_HAVE_X11
#include <X11/XKBlib.h>
#endif

bool IsLockOn([[maybe_unused]] LockKey key) {
#ifdef TABULON_HAVE_X11
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (Display* display = x11 ? x11->display() : nullptr) {
        static const char* const names[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
        const Atom atom = XInternAtom(display, names[static_cast<int>(key)], True);
        Bool on = False;
        return atom != None &&
               XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    }
#endif
    return false;
}
