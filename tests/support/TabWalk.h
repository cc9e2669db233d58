#pragma once

#include <QList>
#include <QStringList>

class QWidget;

// The order in which Tab moves through a shown window, and where it goes against the order in
// which the eye reads: top to bottom, left to right, one group (the controls of one parent)
// at a time.
namespace TabWalk {

// The controls Tab reaches from the window's first one, in order, until it comes back.
QList<QWidget*> walk(QWidget* window);
// One readable line per step against the reading order ("<window>: a -> b: ..."), and then
// the whole walk with each control's place and group.
QStringList outOfOrder(QWidget* window);

}  // namespace TabWalk
