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

CLockKeyPanes::CLockKeyPanes(QStatusBar* bar)
    : QObject(bar), m_pCaps(AddPane(bar, "ID_INDICATOR_CAPS", tr("CAP"))),
      m_pNum(AddPane(bar, "ID_INDICATOR_NUM", tr("NUM"))),
      m_pScroll(AddPane(bar, "ID_INDICATOR_SCRL", tr("SCRL"))) {
    qApp->installEventFilter(this);
    Refresh();
}

void CLockKeyPanes::Refresh() {
    m_pCaps->setText(IsLockOn(LockKey::Caps) ? tr("CAP") : QString());
    m_pNum->setText(IsLockOn(LockKey::Num) ? tr("NUM") : QString());
    m_pScroll->setText(IsLockOn(LockKey::Scroll) ? tr("SCRL") : QString());
}

bool CLockKeyPanes::eventFilter(QObject* watched, QEvent* event) {
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
