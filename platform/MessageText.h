// SPDX-License-Identifier: GPL-3.0-or-later
// Text from the user or the file system as a message shows it.
#pragma once

#include <string>
#include <string_view>

// Control bytes written as \xNN, so that a message stays on one line and no escape
// sequence reaches the terminal; every other byte is kept.
std::string ShownInMessage(std::string_view text);
