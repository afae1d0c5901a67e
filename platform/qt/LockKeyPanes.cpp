// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockKeyPanes.h"

#include "LockKeyState.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

QLabel* AddPane(QStatusBar* bar, const char* id, const QString& text) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(QLatin1String(id));
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 8);
    pane->setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(pane);
    return pane;
}

} // namespace

LockKeyPanes::LockKeyPanes(QStatusBar* bar)
    : QObject(bar), m_caps(AddPane(bar, "ID_INDICATOR_CAPS", tr("CAP"))),
      m_num(AddPane(bar, "ID_INDICATOR_NUM", tr("NUM"))),
      m_scroll(AddPane(bar, "ID_INDICATOR_SCRL", tr("SCRL"))) {
    qApp->installEventFilter(this);
    Refresh();
}

void LockKeyPanes::Refresh() {
    m_caps->setText(IsLockOn(LockKey::Caps) ? tr("CAP") : QString());
    m_num->setText(IsLockOn(LockKey::Num) ? tr("NUM") : QString());
    m_scroll->setText(IsLockOn(LockKey::Scroll) ? tr("SCRL") : QString());
}

bool LockKeyPanes::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ApplicationActivate:
        Refresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
