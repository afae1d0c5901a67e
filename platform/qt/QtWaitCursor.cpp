#include "QtWaitCursor.h"

#include "WaitCursor.h"

#include <QApplication>
#include <QCursor>

void InstallQtWaitCursor() {
    WaitCursor::SetHandlers([] { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); },
                            [] { QApplication::restoreOverrideCursor(); });
}
