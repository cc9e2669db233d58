#pragma once

class QWidget;

// Tab goes through a window as the eye reads it: top to bottom, and left to right along a
// line; the controls of a group (a group box, a panel) one after the other, in the same way.
namespace TabOrder {

// Sets the window's tab order from where its controls are now (hidden ones included, so a
// panel shown later falls into place).
void asTheEyeReads(QWidget* window);
// From now on every window and dialog gets that order each time it is shown.
void watchWindows();

}  // namespace TabOrder
