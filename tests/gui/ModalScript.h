// SPDX-License-Identifier: GPL-3.0-or-later
// Driving a modal dialog from a GUI test.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs script while the dialog the document opened is modal; closes it afterwards if the
// script left it open, so a failing test cannot hang.
inline void WhileModal(std::function<void(QDialog*)> script) {
    QTimer::singleShot(0, [script] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no modal dialog is open");
            return;
        }
        script(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}
