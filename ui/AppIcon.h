// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icons: the application icon and the toolbar images.
#pragma once

#include <QIcon>

// The application icon at every size it is drawn in.
QIcon AppIcon();
// A command's image: the desktop theme's icon of that name when the theme has one, else
// ours (":/icons/<file>-16.png" and its double-resolution twin "-32.png").
QIcon CommandIcon(const char* themeName, const char* file);
