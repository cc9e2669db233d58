#pragma once

class JobEditorFrame;
class QGroupBox;
class QLineEdit;
class QWidget;

// Where the controls every job editor shares stand, and how big they and the window are.
namespace JobFrameLayout {

// Makes the frame's own controls: identifier, name and description with their labels, the
// Active tick, the example, OK and Cancel. Returns the area for the editor's options, made
// between the tick and the example.
QWidget* makeControls(JobEditorFrame& frame, int typeIndex);
// The job's own fields and options on the left, activation and restrictions on the right;
// without restrictions (nullptr) the activation stands under the description, the options
// take the whole width and a side area (returned) stands beside them.
QWidget* arrange(JobEditorFrame& frame, QWidget* options, QGroupBox* restrictions);

// Widens a box to show the text it holds now whole, up to 60 average characters; a longer
// text scrolls in its box.
void showWhole(QLineEdit* box);
// Wrapped labels report too small a minimum: the window never gets smaller than its texts
// need, whatever room the screen offers.
void keepToContents(QWidget& window);

}  // namespace JobFrameLayout
