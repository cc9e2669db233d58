#include "WindowAnchors.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

WindowAnchors::WindowAnchors(QWidget* window) : QObject(window), m_window(window), m_base(window->size()) {
    window->setMinimumSize(m_base);
    window->installEventFilter(this);
}

void WindowAnchors::anchor(QWidget* control, int anchors) {
    m_entries.append({control, control->geometry(), anchors});
}

void WindowAnchors::apply() {
    const int dx = m_window->width() - m_base.width();
    const int dy = m_window->height() - m_base.height();
    for (const Entry& e : std::as_const(m_entries)) {
        QRect r = e.base;
        if (e.anchors & GrowWidth) {
            r.setWidth(r.width() + dx);
        }
        if (e.anchors & GrowHeight) {
            r.setHeight(r.height() + dy);
        }
        if (e.anchors & MoveRight) {
            r.translate(dx, 0);
        }
        if (e.anchors & MoveDown) {
            r.translate(0, dy);
        }
        if (e.control->geometry() != r) {
            e.control->setGeometry(r);
        }
    }
}

bool WindowAnchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Resize) {
        apply();
    }
    return false;
}
