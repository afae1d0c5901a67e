// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtWaitCursor.h"

#include "WaitCursor.h"

#include <QApplication>
#include <QCursor>

void InstallQtWaitCursor() {
    wait_cursor::SetHook([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QApplication::restoreOverrideCursor();
    });
}
