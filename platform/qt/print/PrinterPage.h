// SPDX-License-Identifier: GPL-3.0-or-later
// A printer's page as the printed documents lay out their pages on it.
#pragma once

#include "PrintCommands.h"

class QPrinter;

// The printer's resolution and the printable part of its page, in printer pixels.
PageGeometry GeometryOf(const QPrinter& printer);
