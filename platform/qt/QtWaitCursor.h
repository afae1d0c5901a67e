// SPDX-License-Identifier: GPL-3.0-or-later
// The busy cursor of the document's long file operations, shown as Qt's wait cursor.
#pragma once

// Shows the busy cursor of wait_cursor::Scope as Qt's wait cursor; needs a QApplication.
void InstallQtWaitCursor();
