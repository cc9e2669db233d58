#include "Twips.h"

#include <QVariant>
#include <QWidget>

namespace Twips {

namespace {

// The twips last set are kept in a property, and given back as long as the pixel value
// still is the one they were set to; a widget moved or resized since gives its pixels.
void remember(QWidget* w, const char* name, int twips) {
    w->setProperty(name, twips);
}

int recall(const QWidget* w, const char* name, int pixels) {
    const QVariant v = w->property(name);
    if (v.isValid() && toPixels(v.toInt()) == pixels) {
        return v.toInt();
    }
    return fromPixels(pixels);
}

constexpr const char* kWidth = "widthTwips";
constexpr const char* kHeight = "heightTwips";
constexpr const char* kLeft = "leftTwips";
constexpr const char* kTop = "topTwips";

}  // namespace

void setWidth(QWidget* w, int twips) {
    w->resize(toPixels(twips), w->height());
    remember(w, kWidth, twips);
}

void setHeight(QWidget* w, int twips) {
    w->resize(w->width(), toPixels(twips));
    remember(w, kHeight, twips);
}

int width(const QWidget* w) {
    return recall(w, kWidth, w->width());
}
int height(const QWidget* w) {
    return recall(w, kHeight, w->height());
}

void setGeometry(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    remember(w, kLeft, left);
    remember(w, kTop, top);
    remember(w, kWidth, width);
    remember(w, kHeight, height);
}

void setLeft(QWidget* w, int twips) {
    w->move(toPixels(twips), w->y());
    remember(w, kLeft, twips);
}

void setTop(QWidget* w, int twips) {
    w->move(w->x(), toPixels(twips));
    remember(w, kTop, twips);
}

int left(const QWidget* w) {
    return recall(w, kLeft, w->x());
}
int top(const QWidget* w) {
    return recall(w, kTop, w->y());
}

}  // namespace Twips
