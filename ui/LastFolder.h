// SPDX-License-Identifier: GPL-3.0-or-later
// The folder a file dialog last opened or saved a file in, kept in the settings, so that the
// next file dialog starts there.
#pragma once

#include <QString>

namespace last_folder {
// The folder, when it still exists; else empty (the dialog's own start).
QString Get();
// Remembers the folder of a file just chosen; an empty name changes nothing.
void Remember(const QString& file);
// The folder joined with a file name, for a dialog that proposes a name.
QString Proposed(const QString& name);
} // namespace last_folder
