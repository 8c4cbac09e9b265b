#include "ArrowIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawGlyph(ArrowGlyph glyph, int size, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);

    const qreal s = size;
    const qreal bar = s * 0.14;
    const auto triangle = [&](qreal left, qreal right, bool pointsLeft) {
        QPainterPath path;
        const qreal tip = pointsLeft ? left : right;
        const qreal base = pointsLeft ? right : left;
        path.moveTo(tip, s / 2);
        path.lineTo(base, s * 0.2);
        path.lineTo(base, s * 0.8);
        path.closeSubpath();
        painter.drawPath(path);
    };

    switch (glyph) {
    case ArrowGlyph::First:
        painter.drawRect(QRectF(s * 0.2, s * 0.2, bar, s * 0.6));
        triangle(s * 0.2 + bar, s * 0.8, true);
        break;
    case ArrowGlyph::Prior:
        triangle(s * 0.25, s * 0.75, true);
        break;
    case ArrowGlyph::Next:
        triangle(s * 0.25, s * 0.75, false);
        break;
    case ArrowGlyph::Last:
        triangle(s * 0.2, s * 0.8 - bar, false);
        painter.drawRect(QRectF(s * 0.8 - bar, s * 0.2, bar, s * 0.6));
        break;
    case ArrowGlyph::Down: {
        QPainterPath path;
        path.moveTo(s * 0.2, s * 0.35);
        path.lineTo(s * 0.8, s * 0.35);
        path.lineTo(s * 0.5, s * 0.7);
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon arrowIcon(ArrowGlyph glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        icon.addPixmap(drawGlyph(glyph, size, QColor(0x30, 0x30, 0x30)), QIcon::Normal);
        icon.addPixmap(drawGlyph(glyph, size, QColor(0xa0, 0xa0, 0xa0)), QIcon::Disabled);
    }
    return icon;
}
