// SPDX-License-Identifier: GPL-3.0-or-later
// Driving a dialog from a GUI test: its controls by name, and a script run while it is modal.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

// The dialog's control of that object name; the test ends when there is none.
template <class Control> Control* Child(QWidget* dialog, const char* name) {
    auto* control = dialog->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("the dialog has no control %s", name);
    return control;
}

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
