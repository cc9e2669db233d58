#include "ColumnFit.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include "ListView.h"
#include "Twips.h"

namespace {

constexpr const char* kLeastProperty = "lastColumnLeast";

// The width the view's own sizing gives a column's cells, which Qt keeps protected.
struct TreeAccess : QTreeView {
    static auto cellsHint() { return &TreeAccess::sizeHintForColumn; }
};

// Resizing the list's room sets its last column again.
class LastColumnFiller : public QObject {
public:
    explicit LastColumnFiller(ListView* list) : QObject(list), m_list(list) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            ColumnFit::refit(m_list);
        }
        return false;
    }

private:
    ListView* m_list;
};

}  // namespace

namespace ColumnFit {

int contentWidth(ListView* list, int column, bool headerPicture) {
    if (column < 0 || column >= list->columnCount()) {
        return 0;
    }
    int header = list->header()->sectionSizeHint(column);
    if (headerPicture) {
        const QStyle* style = list->header()->style();
        header += style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, list->header()) +
                  style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list->header());
    }
    return qMax(header, (list->*TreeAccess::cellsHint())(column));
}

int growColumns(ListView* list, bool headerPicture, int mostPixels) {
    int total = 0;
    for (int c = 0; c < list->columnCount(); ++c) {
        int need = contentWidth(list, c, headerPicture);
        if (mostPixels > 0) {
            need = qMin(need, mostPixels);
        }
        if (need > list->columnWidth(c)) {
            list->setColumnWidthTwips(c, Twips::fromPixels(need));
        }
        total += list->columnWidth(c);
    }
    return total;
}

int listWidthFor(const ListView* list, int columnsWidth) {
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    return columnsWidth + 2 * list->frameWidth() + scrollBar;
}

int listHeightFor(ListView* list, int rows) {
    int rowHeight = list->sizeHintForRow(0);
    if (rowHeight <= 0) {
        rowHeight = list->fontMetrics().height() + 4;
    }
    return list->header()->sizeHint().height() + rows * rowHeight + 2 * list->frameWidth();
}

void fillWithLastColumn(ListView* list) {
    if (!list->property(kLeastProperty).isValid()) {
        list->viewport()->installEventFilter(new LastColumnFiller(list));
    }
    // The width the last column was given is the least it keeps.
    const int last = list->columnCount() - 1;
    list->setProperty(kLeastProperty, last < 0 ? 0 : list->columnWidth(last));
    refit(list);
}

void refit(ListView* list) {
    const int last = list->columnCount() - 1;
    if (last < 0) {
        return;
    }
    int others = 0;
    for (int c = 0; c < last; ++c) {
        const int need = contentWidth(list, c);
        if (need > list->columnWidth(c)) {
            list->setColumnWidthTwips(c, Twips::fromPixels(need));
        }
        others += list->columnWidth(c);
    }
    const int room = list->viewport()->width() - others;
    const int width = std::max({contentWidth(list, last), room, list->property(kLeastProperty).toInt()});
    if (width != list->columnWidth(last)) {
        list->setColumnWidthTwips(last, Twips::fromPixels(width));
    }
}

}  // namespace ColumnFit
