#pragma once

class QWidget;

// Sizes in twips: 1440 per inch, 15 per pixel at 96 dpi.
namespace Twips {

constexpr int kPerPixel = 15;
constexpr int toPixels(int twips) { return (twips + kPerPixel / 2) / kPerPixel; }
constexpr int fromPixels(int pixels) { return pixels * kPerPixel; }

// Sets a window's width from twips and keeps the twip value readable (widthTwips).
void setWidth(QWidget* w, int twips);
void setHeight(QWidget* w, int twips);
int width(const QWidget* w);   // the twips last set, else from pixels
int height(const QWidget* w);

}  // namespace Twips
