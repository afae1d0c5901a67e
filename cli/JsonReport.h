// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs and results of the last calculation as one JSON object.
#pragma once

#include "TabulonDoc.h"

#include <string>
#include <string_view>

// Numbers at full precision (17 significant digits); a non-finite number is null.
std::string JsonReport(const CTabulonDoc& doc, PolicyKind kind);

// text as a JSON string, in double quotes, always valid UTF-8: quotes and backslashes are
// escaped, control bytes become \u00XX, well-formed UTF-8 is kept as it is, and each byte
// that is not part of well-formed UTF-8 is written as the Latin-1 character of that byte
// (0xFF as \u00ff), the character the view shows for it.
std::string JsonString(std::string_view text);
