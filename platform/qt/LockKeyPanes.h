// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar's CAP, NUM and SCRL panes, showing the state of the three lock keys.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

// Each pane shows its text while its lock is on and is blank while it is off or when the
// window system does not say (only X11 does). The panes are brought up to date whenever a
// key is pressed or released and when a window of the program is activated.
class LockKeyPanes : public QObject {
    Q_OBJECT
public:
    explicit LockKeyPanes(QStatusBar* bar);

    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
};
