#include "ColumnFit.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QStyle>

#include "ListView.h"
#include "Twips.h"

namespace {

constexpr const char* kLeastProperty = "lastColumnLeast";

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

int windowWidthFor(ListView* list, QWidget* window, int maxPixels) {
    const int grow = listWidthFor(list, list->growColumnsToContents(maxPixels)) - list->width();
    return window->width() + qMax(0, grow);
}

void growWindowWithList(ListView* list, QWidget* window, const QList<QWidget*>& widen,
                        const QList<QWidget*>& move, int maxPixels) {
    const int grow = windowWidthFor(list, window, maxPixels) - window->width();
    if (grow <= 0) {
        return;
    }
    window->setFixedWidth(window->width() + grow);
    list->resize(list->width() + grow, list->height());
    for (QWidget* w : widen) {
        w->resize(w->width() + grow, w->height());
    }
    for (QWidget* w : move) {
        w->move(w->x() + grow, w->y());
    }
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
    const int others = list->growColumnsToContents() - list->columnWidth(last);
    const int room = list->viewport()->width() - others;
    const int width =
        std::max({list->columnContentWidth(last), room, list->property(kLeastProperty).toInt()});
    if (width != list->columnWidth(last)) {
        list->setColumnWidthTwips(last, Twips::fromPixels(width));
    }
}

}  // namespace ColumnFit
