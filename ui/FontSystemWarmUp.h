// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the font system on a thread of its own while Qt starts on the program's thread.
#pragma once

#include <thread>

// Reading the font configuration (fontconfig's XML files) is the largest single cost of a
// first window that shows text, and nothing needs it until the first font is looked up.
// Made before the application object, a FontSystemWarmUp reads it while Qt loads its
// platform plugin. Wait() before the first font is looked up, so that it is read once.
// Built where fontconfig is not found, it does nothing.
class FontSystemWarmUp {
public:
    FontSystemWarmUp();
    // Returns once the configuration has been read; at once when it already has.
    void Wait();

private:
    std::jthread m_thread; // joined when destroyed, on every way out of main
};
