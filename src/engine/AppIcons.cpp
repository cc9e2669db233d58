#include "AppIcons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QtMath>
#include <cmath>

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

// Colours of the pictures: dark outlines on light fills, so each reads on a grey button.
const QColor kOutline(0x26, 0x32, 0x38);
const QColor kGreen(0x2e, 0x7d, 0x32);
const QColor kBlue(0x15, 0x65, 0xc0);
const QColor kRed(0xc6, 0x28, 0x28);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kFolder(0xf6, 0xc3, 0x4a);
const QColor kFolderEdge(0x9a, 0x6a, 0x00);

// An arrow head at `tip` pointing along `angle` degrees (0 = right, 90 = down).
void arrowHead(QPainter& p, QPointF tip, qreal angle, qreal length, qreal halfWidth, const QColor& colour) {
    p.save();
    p.translate(tip);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{QPointF(0, 0), QPointF(-length, -halfWidth), QPointF(-length, halfWidth)});
    p.restore();
}

// A page with a folded corner and a few text lines.
void page(QPainter& p, QRectF r, bool lines) {
    const qreal fold = 3;
    QPolygonF outline{r.topLeft(), QPointF(r.right() - fold, r.top()), QPointF(r.right(), r.top() + fold),
                      r.bottomRight(), r.bottomLeft()};
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    p.drawPolyline(QPolygonF{QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)});
    if (lines) {
        p.setPen(QPen(QColor(0x78, 0x90, 0x9c), 1));
        for (qreal y = r.top() + 4.5; y < r.bottom() - 1; y += 2.5) {
            p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
        }
    }
}

void folder(QPainter& p) {
    QPainterPath path;
    path.moveTo(1.5, 4.5);
    path.lineTo(6, 4.5);
    path.lineTo(7.5, 6);
    path.lineTo(14.5, 6);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.setPen(QPen(kFolderEdge, 1));
    p.setBrush(kFolder);
    p.drawPath(path);
}

// A curved arrow from the lower right to a head at the upper left (mirrored: to the right).
void curvedArrow(QPainter& p, const QColor& colour) {
    QPainterPath shaft;
    shaft.moveTo(14, 13.5);
    shaft.cubicTo(14, 8, 11, 6.5, 6, 6.5);
    p.setPen(QPen(colour, 2.6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shaft);
    arrowHead(p, QPointF(1, 6.5), 180, 6, 4.5, colour);
}

void drawPicture(QPainter& p, Picture which) {
    switch (which) {
        case Picture::Reply:
            curvedArrow(p, kGreen);
            break;
        case Picture::Forward:
            p.translate(16, 0);
            p.scale(-1, 1);
            curvedArrow(p, kBlue);
            break;
        case Picture::Edit: {
            page(p, QRectF(1.5, 1.5, 10, 13), true);
            // The pencil, lying from the lower left to the upper right.
            p.translate(8, 12);
            p.rotate(-45);
            p.setPen(QPen(kOutline, 0.9));
            p.setBrush(QColor(0xff, 0xb3, 0x00));
            p.drawRect(QRectF(2.5, -1.6, 8, 3.2));
            p.setBrush(QColor(0xe5, 0x73, 0x73));
            p.drawRect(QRectF(10.5, -1.6, 2, 3.2));
            p.setBrush(QColor(0xf1, 0xd8, 0xb0));
            p.drawPolygon(QPolygonF{QPointF(2.5, -1.6), QPointF(2.5, 1.6), QPointF(-1, 0)});
            p.setPen(Qt::NoPen);
            p.setBrush(kOutline);
            p.drawPolygon(QPolygonF{QPointF(0.3, -0.75), QPointF(0.3, 0.75), QPointF(-1, 0)});
            break;
        }
        case Picture::Copy:
            page(p, QRectF(1.5, 1.5, 8.5, 10.5), true);
            p.setPen(QPen(kBlue, 1));
            page(p, QRectF(6, 4.5, 8.5, 10.5), true);
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawRect(QRectF(6.5, 5, 5, 1.5));
            break;
        case Picture::Move:
            folder(p);
            p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(1, 9.5), QPointF(7.5, 9.5));
            arrowHead(p, QPointF(12, 9.5), 0, 5, 3.8, kGreen);
            break;
        case Picture::Delete:
            p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
            break;
        case Picture::Refresh: {
            const QRectF ring(2.75, 2.75, 10.5, 10.5);
            p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::FlatCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(ring, 100 * 16, 130 * 16);
            p.drawArc(ring, 280 * 16, 130 * 16);
            // A head at the end of each arc, turning counter-clockwise.
            for (const qreal degrees : {230.0, 410.0}) {
                const qreal t = qDegreesToRadians(degrees);
                const QPointF end(8 + 5.25 * std::cos(t), 8 - 5.25 * std::sin(t));
                const QPointF along(-std::sin(t), -std::cos(t));
                arrowHead(p, end + along * 3.0, qRadiansToDegrees(std::atan2(along.y(), along.x())), 4.4, 3.2,
                          kBlue);
            }
            break;
        }
        case Picture::Save:
            p.setPen(QPen(QColor(0x0d, 0x3c, 0x78), 1));
            p.setBrush(kBlue);
            p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.setBrush(QColor(0xb0, 0xbe, 0xc5));
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
            break;
        case Picture::Import:
            p.setPen(QPen(kOutline, 1));
            p.setBrush(kPaper);
            p.drawRoundedRect(QRectF(4.5, 2.5, 10, 12), 1.5, 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(9.5, 6.5), 2, 2);
            p.drawChord(QRectF(6, 9, 7, 6), 0, 180 * 16);
            p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(0.5, 11), QPointF(3, 11));
            arrowHead(p, QPointF(7, 11), 0, 4.5, 3.4, kGreen);
            break;
        case Picture::ArrowLeft:
        case Picture::ArrowRight: {
            p.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 1));
            p.setBrush(kGreen);
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            const bool right = which == Picture::ArrowRight;
            p.setPen(QPen(kPaper, 2.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(right ? 4 : 8, 8), QPointF(right ? 8 : 12, 8));
            arrowHead(p, QPointF(right ? 12.5 : 3.5, 8), right ? 0 : 180, 5, 3.8, kPaper);
            break;
        }
    }
}

QPixmap drawPicturePixmap(Picture which, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    drawPicture(p, which);
    p.end();
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

QPixmap disabledLook(const QPixmap& normal) {
    QImage img = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            // Grey, lifted towards light grey, and at about a third of its strength.
            const int grey = 150 + qGray(c) * 90 / 255;
            line[x] = qRgba(grey, grey, grey, qAlpha(c) * 9 / 20);
        }
    }
    QPixmap out = QPixmap::fromImage(img);
    out.setDevicePixelRatio(normal.devicePixelRatio());
    return out;
}

QIcon picture(Picture which) {
    QIcon icon;
    for (const int size : {16, 20, 24, 32, 48}) {
        const QPixmap pm = drawPicturePixmap(which, size);
        icon.addPixmap(pm, QIcon::Normal);
        icon.addPixmap(disabledLook(pm), QIcon::Disabled);
    }
    return icon;
}

}  // namespace AppIcons
