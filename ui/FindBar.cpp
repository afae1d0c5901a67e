// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindBar.h"

#include "TabulonView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

FindBar::FindBar(CTabulonView& view, QWidget* parent)
    : QWidget(parent), m_view(view), m_text(new QLineEdit(this)), m_status(new QLabel(this)) {
    setObjectName(QStringLiteral("FindBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(tr("Fin&d:"), this);
    label->setBuddy(m_text);
    m_text->setObjectName(QStringLiteral("FindText"));
    m_text->setClearButtonEnabled(true);
    m_text->setMinimumWidth(m_text->fontMetrics().averageCharWidth() * 30);
    auto* next = new QToolButton(this);
    next->setObjectName(QStringLiteral("FindNextButton"));
    next->setText(tr("&Next"));
    next->setToolButtonStyle(Qt::ToolButtonTextOnly);
    next->setToolTip(tr("Find the next match (F3)"));
    auto* previous = new QToolButton(this);
    previous->setObjectName(QStringLiteral("FindPreviousButton"));
    previous->setText(tr("&Previous"));
    previous->setToolButtonStyle(Qt::ToolButtonTextOnly);
    previous->setToolTip(tr("Find the previous match (Shift+F3)"));
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("FindCloseButton"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
    close->setToolTip(tr("Close the find bar (Esc)"));
    m_status->setObjectName(QStringLiteral("FindStatus"));
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(m_status, 1);
    layout->addWidget(close);
    connect(next, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(previous, &QToolButton::clicked, this, [this] { FindNext(false); });
    connect(close, &QToolButton::clicked, this, &FindBar::Close);
    connect(m_text, &QLineEdit::textEdited, this, [this] {
        // A new text is looked for from the rows in sight, not from the old match.
        m_view.ClearMatch();
        m_status->clear();
    });
    hide();
}

void FindBar::Open() {
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::FindNext(bool forward) {
    if (m_text->text().isEmpty()) {
        Open();
        return;
    }
    show();
    const LineSearch::Match match = m_view.Find(m_text->text(), forward);
    if (match.line < 0)
        m_status->setText(tr("Not found: \"%1\"").arg(m_text->text()));
    else if (match.wrapped)
        m_status->setText(forward ? tr("Passed the end of the journal; continued from the top.")
                                  : tr("Passed the top of the journal; continued from the end."));
    else
        m_status->setText(tr("Line %1").arg(match.line + 1));
}

void FindBar::Close() {
    hide();
    m_view.ClearMatch();
    m_view.setFocus(Qt::OtherFocusReason);
}

QString FindBar::GetText() const {
    return m_text->text();
}

QString FindBar::GetStatus() const {
    return m_status->text();
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        FindNext(!(event->modifiers() & Qt::ShiftModifier));
        return;
    case Qt::Key_Escape:
        Close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
