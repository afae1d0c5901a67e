// The busy cursor of the document's long file operations, shown as Qt's wait cursor.
#pragma once

// Installs the handlers behind WaitCursor::Begin and End; needs a QApplication.
void InstallQtWaitCursor();
