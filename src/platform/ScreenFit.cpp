#include "ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace ScreenFit {

namespace {

QScreen* screenHoldingMost(const QRect& frame, QScreen* fallback) {
    QScreen* best = nullptr;
    qint64 most = 0;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry() & frame;
        const qint64 area = qint64(common.width()) * common.height();
        if (!common.isEmpty() && area > most) {
            most = area;
            best = s;
        }
    }
    return best ? best : fallback;
}

bool isKept(QObject* object) {
    if (!object->isWidgetType()) {
        return false;
    }
    auto* w = static_cast<QWidget*>(object);
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

class Watcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::Resize) && isKept(watched)) {
            auto* w = static_cast<QWidget*>(watched);
            if (type == QEvent::Show || w->isVisible()) {
                keepOnScreen(w);
            }
            if (type == QEvent::Show) {
                // Again once the window has its frame.
                QTimer::singleShot(0, w, [w] { keepOnScreen(w); });
            }
        }
        return false;
    }
};

}  // namespace

void watchWindows() {
    static QPointer<Watcher> watcher;
    if (!watcher && QCoreApplication::instance()) {
        watcher = new Watcher(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watcher);
    }
}

void keepOnScreen(QWidget* window) {
    window = window->window();
    // The frame as it is or will be: a window not yet shown has no frame of its own yet.
    QRect frame = window->frameGeometry();
    if (!window->testAttribute(Qt::WA_WState_Created) || !window->isVisible()) {
        frame = QRect(window->pos(), window->size());
    }
    QScreen* screen = screenHoldingMost(frame, window->screen());
    if (!screen) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // Left or up as far as the far edge needs, never past the near edge. A window larger than
    // the area in one direction stays where it is in that direction, unless it begins before
    // the area's edge (a smaller screen cannot show it whole anyway, and pushing it over the
    // windows it was put beside helps nobody).
    const auto place = [](int start, int length, int areaStart, int areaLength) {
        if (length > areaLength) {
            return qMax(start, areaStart);
        }
        return qMax(areaStart, qMin(start, areaStart + areaLength - length));
    };
    const QPoint to(place(frame.x(), frame.width(), area.x(), area.width()),
                    place(frame.y(), frame.height(), area.y(), area.height()));
    if (to != frame.topLeft()) {
        window->move(window->pos() + (to - frame.topLeft()));
    }
}

}  // namespace ScreenFit
