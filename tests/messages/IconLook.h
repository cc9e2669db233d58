#pragma once

#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QRect>
#include <cstdlib>

// How much of a picture button's icon changes when the button is disabled, as the style
// draws it: the colour change over the icon's square, in parts of what the icon itself
// adds to the bare face. A picture that keeps its look when disabled scores near 0.
inline double disabledChange(QPushButton* button) {
    const bool was = button->isEnabled();
    const QIcon icon = button->icon();
    const auto face = [button](bool enabled, const QIcon& with) {
        button->setEnabled(enabled);
        button->setIcon(with);
        return button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage bare = face(true, QIcon());
    const QImage off = face(false, icon);
    const QImage on = face(true, icon);
    button->setEnabled(was);
    QRect square(QPoint(0, 0), button->iconSize() * on.devicePixelRatio());
    square.moveCenter(on.rect().center());
    const auto distance = [&square](const QImage& a, const QImage& b) {
        double sum = 0;
        for (int y = square.top(); y <= square.bottom(); ++y) {
            for (int x = square.left(); x <= square.right(); ++x) {
                const QRgb p = a.pixel(x, y);
                const QRgb q = b.pixel(x, y);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                       std::abs(qBlue(p) - qBlue(q));
            }
        }
        return sum;
    };
    const double ink = distance(on, bare);
    return ink > 0 ? distance(on, off) / ink : 0.0;
}
