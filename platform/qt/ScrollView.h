// SPDX-License-Identifier: GPL-3.0-or-later
// A scrolling view: content of a given size, moved by two scroll bars, painted in content
// coordinates.
#pragma once

#include <QAbstractScrollArea>

class QPainter;

class CScrollView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CScrollView(QWidget* parent = nullptr);

    // The content's size and how far one click on a scroll arrow moves it, in pixels.
    void SetScrollSizes(QSize total, QSize line);
    QSize GetTotalSize() const { return m_sizeTotal; }

    // Puts the content point at the viewport's top-left corner, clamped to the scroll range.
    void ScrollToPosition(QPoint position);
    QPoint GetScrollPosition() const;

protected:
    // Paints the part of the content within clip (content coordinates); the painter's
    // origin is the content's top-left corner.
    virtual void OnDraw(QPainter& painter, const QRect& clip) = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();

    QSize m_sizeTotal;
    QSize m_sizeLine{1, 1};
};
