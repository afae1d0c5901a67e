// SPDX-License-Identifier: GPL-3.0-or-later
// A chart's title of several lines, drawn above the chart.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QFont;
class QPainter;
class QRectF;

// The chart's name in bold, lines of plain text under it, then notes in red; each line
// centred, and cut short with an ellipsis where the width is too small for it. Laid out
// when painted, line by line, so that changing it costs nothing until it is drawn.
struct ChartTitle {
    QString name;
    QStringList lines;
    QStringList notes;

    qsizetype LineCount() const { return 1 + lines.size() + notes.size(); }
    // Every line, the name first, one under the other.
    QString Text() const;
    bool operator==(const ChartTitle&) const = default;

    // The height of its lines in font, and the width of the longest, in pixels.
    qreal Height(const QFont& font) const;
    qreal Width(const QFont& font) const;
    // Draws it at the top of rect, the name and lines in color.
    void Paint(QPainter& painter, const QRectF& rect, const QFont& font, const QColor& color) const;
};
