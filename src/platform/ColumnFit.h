#pragma once

#include <QList>

class ListView;
class QWidget;

// Lists whose columns follow their texts (ListView::growColumnsToContents), and the room such
// a list needs in its window.
namespace ColumnFit {

// The outer width in pixels a list needs to show columns that take columnsWidth pixels, with
// room for a vertical scroll bar.
int listWidthFor(const ListView* list, int columnsWidth);
// The outer height in pixels a list needs to show its header and rows rows without scrolling.
int listHeightFor(ListView* list, int rows);
// Grows the list's columns to their texts (each up to maxPixels, 0: no limit) and returns the
// width the list's window needs to show them whole: its width now, or more by as much as the
// list lacks.
int windowWidthFor(ListView* list, QWidget* window, int maxPixels = 0);
// Grows the list's columns to their texts (each up to maxPixels, 0: no limit) and widens the
// list to show them whole; the window and the widgets in widen grow by as much and the widgets
// in move go as far right. Nothing ever narrows, so the window does not jump while open.
void growWindowWithList(ListView* list, QWidget* window, const QList<QWidget*>& widen,
                        const QList<QWidget*>& move, int maxPixels = 0);
// Keeps the last column as wide as the room the others leave, or as its texts need when that
// is more; the other columns grow with their texts. Call refit() after the rows change.
void fillWithLastColumn(ListView* list);
void refit(ListView* list);

}  // namespace ColumnFit
