#include "AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace AppIcons {

namespace {

QPixmap drawProgram(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    // The phone.
    p.setPen(QPen(QColor(0x1f, 0x3a, 0x5f), 1.2 * s));
    p.setBrush(QColor(0x2f, 0x6f, 0xb3));
    p.drawRoundedRect(QRectF(3 * s, 4 * s, 14 * s, 26 * s), 3 * s, 3 * s);
    p.setBrush(QColor(0xe8, 0xf1, 0xfb));
    p.drawRect(QRectF(5.5 * s, 8 * s, 9 * s, 13 * s));
    // The message bubble.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(13 * s, 2 * s, 17 * s, 12 * s), 3 * s, 3 * s);
    QPolygonF tail;
    tail << QPointF(17 * s, 13 * s) << QPointF(15 * s, 18 * s) << QPointF(21 * s, 13 * s);
    bubble.addPolygon(tail);
    bubble.setFillRule(Qt::WindingFill);
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1.2 * s));
    p.setBrush(QColor(0xff, 0xc8, 0x3d));
    p.drawPath(bubble.simplified());
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1.4 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16.5 * s, 6 * s), QPointF(26.5 * s, 6 * s));
    p.drawLine(QPointF(16.5 * s, 9.5 * s), QPointF(23.5 * s, 9.5 * s));
    return pm;
}

}  // namespace

QIcon program() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(drawProgram(size));
    }
    return icon;
}

QIcon sortArrow(bool ascending) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x50, 0x50));
    QPolygonF arrow;
    if (ascending) {
        arrow << QPointF(8, 4) << QPointF(13, 11) << QPointF(3, 11);
    } else {
        arrow << QPointF(3, 5) << QPointF(13, 5) << QPointF(8, 12);
    }
    p.drawPolygon(arrow);
    p.end();
    return QIcon(pm);
}

}  // namespace AppIcons
