// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartTitle.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

const QColor kNote(0xb0, 0x00, 0x20);

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

} // namespace

QString ChartTitle::Text() const {
    return (QStringList{name} + lines + notes).join(QLatin1Char('\n'));
}

qreal ChartTitle::Height(const QFont& font) const {
    // The bold name is as high as the other lines.
    return QFontMetricsF(font).lineSpacing() * qreal(LineCount());
}

qreal ChartTitle::Width(const QFont& font) const {
    const QFontMetricsF plain(font);
    qreal width = QFontMetricsF(Bold(font)).horizontalAdvance(name);
    for (const QStringList* part : {&lines, &notes})
        for (const QString& line : *part)
            width = std::max(width, plain.horizontalAdvance(line));
    return std::ceil(width);
}

void ChartTitle::Paint(QPainter& painter, const QRectF& rect, const QFont& font,
                       const QColor& color) const {
    painter.save();
    const qreal spacing = QFontMetricsF(font).lineSpacing();
    QRectF line(rect.left(), rect.top(), rect.width(), spacing);
    const auto draw = [&](const QString& text, const QFont& lineFont, const QColor& lineColor) {
        painter.setFont(lineFont);
        painter.setPen(lineColor);
        const QString shown =
            QFontMetricsF(lineFont).elidedText(text, Qt::ElideRight, line.width());
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, shown);
        line.translate(0, spacing);
    };
    draw(name, Bold(font), color);
    for (const QString& text : lines)
        draw(text, font, color);
    for (const QString& note : notes)
        draw(note, font, kNote);
    painter.restore();
}
