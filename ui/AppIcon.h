// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icons: the application icon and the toolbar images.
#pragma once

#include <QIcon>

// The application icon at every size it is drawn in.
QIcon AppIcon();
// A command's image: the desktop theme's icon of that name when the theme has one, else
// ours (ui/icons/<file>-16.png and its double-resolution twin -32.png, compiled in).
QIcon CommandIcon(const char* themeName, const char* file);

class QStyle;
// The application's style, but for the tool bar's extension arrows, which it reads as the
// PNGs they are: the style's own reading asks every image-format plugin for the format
// first, and a tool bar asks for the arrows when it is made, at start.
QStyle* StyleWithPngToolBarArrows();
