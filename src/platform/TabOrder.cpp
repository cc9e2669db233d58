#include "TabOrder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace TabOrder {

namespace {

bool takesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

bool holdsTabStops(const QWidget* w) {
    for (const QWidget* child : w->findChildren<QWidget*>()) {
        if (!child->isWindow() && takesTab(child)) {
            return true;
        }
    }
    return false;
}

// The controls of container and of its groups, in reading order.
void collect(QWidget* container, QList<QWidget*>& out) {
    QList<QWidget*> items;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) {
            continue;
        }
        if (takesTab(w) || holdsTabStops(w)) {
            items.append(w);
        }
    }
    // Lines: by the top edge; a control whose top lies above the middle of the line's first
    // control belongs to that line. Along a line, left to right (and top to bottom where
    // controls stand one above the other at the same left edge).
    std::stable_sort(items.begin(), items.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    QList<QList<QWidget*>> lines;
    int lineMiddle = 0;
    for (QWidget* w : items) {
        if (lines.isEmpty() || w->y() >= lineMiddle) {
            lines.append(QList<QWidget*>());
            lineMiddle = w->y() + w->height() / 2;
        }
        lines.last().append(w);
    }
    for (QList<QWidget*>& line : lines) {
        std::stable_sort(line.begin(), line.end(), [](const QWidget* a, const QWidget* b) {
            return a->x() != b->x() ? a->x() < b->x() : a->y() < b->y();
        });
        for (QWidget* w : line) {
            if (takesTab(w)) {
                out.append(w);
            } else {
                collect(w, out);
            }
        }
    }
}

class Watcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            // Our own windows; Qt's own dialogs (boxes, file pickers) keep the order they set.
            const bool ours = !QByteArray(w->metaObject()->className()).startsWith('Q');
            if (ours && w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog)) {
                asTheEyeReads(w);
            }
        }
        return false;
    }
};

}  // namespace

void asTheEyeReads(QWidget* window) {
    QList<QWidget*> order;
    collect(window, order);
    for (int i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void watchWindows() {
    static QPointer<Watcher> watcher;
    if (!watcher && QCoreApplication::instance()) {
        watcher = new Watcher(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watcher);
    }
}

}  // namespace TabOrder
