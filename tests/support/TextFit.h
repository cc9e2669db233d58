#pragma once

#include <QStringList>

class QWidget;

// Finds texts that do not fit their room in a window as it is shown now, with each widget's
// own font and its style's margins, icons and indicators: labels, push, tool, check and
// radio buttons, group-box titles, tabs, line edits with text, the column headers and the
// cells of item views (a cell that the view would elide counts). Only visible widgets are
// looked at, and a widget's room ends where its parents cut it off.
// Each misfit is one readable line: "<window>/<widget> <what> "<text>": needs N px, has M".
namespace TextFit {

QStringList misfits(QWidget* window);

}  // namespace TextFit
