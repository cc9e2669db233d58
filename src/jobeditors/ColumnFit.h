#pragma once

class ListView;

// Column widths that follow the texts of a list: a column starts at the width it was given and
// grows where its header or one of its cells needs more room, in the font at hand.
namespace ColumnFit {

// The width in pixels that a column's header (with room for a header picture when
// headerPicture is set) and its cells need to show their texts whole.
int contentWidth(ListView* list, int column, bool headerPicture = false);
// Widens every column whose texts need more room than it has, up to mostPixels (0: no limit;
// a longer text then scrolls into view); returns the width all columns take now, in pixels.
int growColumns(ListView* list, bool headerPicture = false, int mostPixels = 0);
// The outer width in pixels a list needs to show columns that take columnsWidth pixels, with
// room for a vertical scroll bar.
int listWidthFor(const ListView* list, int columnsWidth);
// The outer height in pixels a list needs to show its header and rows rows without scrolling.
int listHeightFor(ListView* list, int rows);
// Keeps the last column as wide as the room the others leave, or as its texts need when that
// is more; the other columns grow with their texts. Call refit() after the rows change.
void fillWithLastColumn(ListView* list);
void refit(ListView* list);

}  // namespace ColumnFit
