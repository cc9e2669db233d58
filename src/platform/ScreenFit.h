#pragma once

class QWidget;

// Windows on the desktop.
namespace ScreenFit {

// Moves a window left and up as far as needed to lie wholly inside the available area of the
// screen that holds most of it (never past its left or top edge); a window larger than that
// area in one direction moves that way only to begin inside it.
void keepOnScreen(QWidget* window);
// From now on every window and dialog is kept on its screen when it opens and when it grows.
void watchWindows();

}  // namespace ScreenFit
