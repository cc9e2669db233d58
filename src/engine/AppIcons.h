#pragma once

#include <QIcon>

// Icons drawn in code, so the program needs no image files.
namespace AppIcons {

// The program icon: a phone with a message bubble.
QIcon program();
// Small sort-direction arrows for list-column headers: up for "Asc", down for "Desc".
QIcon sortArrow(bool ascending);

}  // namespace AppIcons
