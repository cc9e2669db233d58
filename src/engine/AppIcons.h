#pragma once

#include <QIcon>

// Icons drawn in code, so the program needs no image files.
namespace AppIcons {

// The program icon: a phone with a message bubble.
QIcon program();
// Small sort-direction arrows for list-column headers: up for "Asc", down for "Desc".
QIcon sortArrow(bool ascending);

// Pictures of the picture buttons. Each icon carries its own Disabled pixmaps (grey and
// faint), so a disabled button is told apart at a glance, whatever the style makes of it.
enum class Picture {
    Reply,       // curved arrow back
    Forward,     // curved arrow on
    Edit,        // pencil on a page
    Copy,        // two pages
    Move,        // arrow into a folder
    Delete,      // red cross
    Refresh,     // two circling arrows
    Save,        // diskette: write back
    Import,      // contact card with an arrow in
    ArrowLeft,   // arrow in a round button: close a side panel
    ArrowRight,  // open a side panel
};
QIcon picture(Picture which);

// The Disabled look of a pixmap: greyed and faint.
QPixmap disabledLook(const QPixmap& normal);

}  // namespace AppIcons
