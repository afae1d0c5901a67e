// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScrollView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

CScrollView::CScrollView(QWidget* parent) : QAbstractScrollArea(parent) {}

void CScrollView::SetScrollSizes(QSize total, QSize line) {
    m_sizeTotal = total;
    m_sizeLine = line;
    UpdateScrollBars();
}

void CScrollView::ScrollToPosition(QPoint position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

QPoint CScrollView::GetScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CScrollView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPoint origin = GetScrollPosition();
    painter.translate(-origin);
    OnDraw(painter, event->rect().translated(origin));
}

void CScrollView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CScrollView::scrollContentsBy(int dx, int dy) {
    // Only the strip that comes into sight is painted afresh.
    viewport()->scroll(dx, dy);
}

void CScrollView::UpdateScrollBars() {
    const QSize page = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, m_sizeTotal.width() - page.width()));
    horizontal->setPageStep(page.width());
    horizontal->setSingleStep(std::max(1, m_sizeLine.width()));
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, m_sizeTotal.height() - page.height()));
    vertical->setPageStep(page.height());
    vertical->setSingleStep(std::max(1, m_sizeLine.height()));
}
