// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs and results of the last calculation as one JSON object.
#pragma once

#include "TabulonDoc.h"

#include <string>

// Numbers at full precision (17 significant digits); a non-finite number is null.
std::string JsonReport(const CTabulonDoc& doc, PolicyKind kind);
