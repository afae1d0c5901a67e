// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSystemWarmUp.h"

#ifdef TABULON_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontSystemWarmUp::FontSystemWarmUp() {
#ifdef TABULON_HAVE_FONTCONFIG
    // Qt's own FcInit() then finds the configuration loaded; reading it is thread-safe.
    m_thread = std::jthread([] { FcInit(); });
#endif
}

void FontSystemWarmUp::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}
