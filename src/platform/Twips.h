#pragma once

class QWidget;

// Sizes in twips: 1440 per inch, 15 per pixel at 96 dpi.
namespace Twips {

constexpr int kPerPixel = 15;
// Rounded to the nearest pixel, halves away from zero (7 twips -> 0, 8 -> 1, -8 -> -1).
constexpr int toPixels(int twips) {
    return twips >= 0 ? (twips + kPerPixel / 2) / kPerPixel : -((-twips + kPerPixel / 2) / kPerPixel);
}
constexpr int fromPixels(int pixels) {
    return pixels * kPerPixel;
}

// Sets a window's width from twips and keeps the twip value readable (widthTwips).
void setWidth(QWidget* w, int twips);
void setHeight(QWidget* w, int twips);
int width(const QWidget* w);  // the twips last set, else from pixels
int height(const QWidget* w);

// Position and size at once; left and top stay readable like width and height.
void setGeometry(QWidget* w, int left, int top, int width, int height);
void setLeft(QWidget* w, int twips);
void setTop(QWidget* w, int twips);
int left(const QWidget* w);
int top(const QWidget* w);

}  // namespace Twips
