#include "InputHold.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {
InputHold* g_outermost = nullptr;

bool isUserInput(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}
}  // namespace

InputHold::InputHold() {
    if (g_outermost || !QCoreApplication::instance()) {
        return;
    }
    g_outermost = this;
    m_active = true;
    m_modalAtStart = QApplication::activeModalWidget();
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
    if (!m_active) {
        return;
    }
    QCoreApplication::instance()->removeEventFilter(this);
    g_outermost = nullptr;
    handOn();  // runs when the message loop next turns
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active || !isUserInput(event->type())) {
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        return false;  // the key press that follows is held; the override alone does nothing
    }
    if (forNewModal(watched)) {
        return false;  // a box that came up meanwhile asks the user: its answer cannot wait
    }
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    if (!m_hourglass) {
        m_hourglass.emplace();
    }
    return true;
}

bool InputHold::forNewModal(QObject* target) const {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == m_modalAtStart) {
        return false;
    }
    if (target->isWidgetType()) {
        return static_cast<QWidget*>(target)->window() == modal;
    }
    return target == modal->windowHandle();
}

void InputHold::handOn() {
    std::vector<Held> held;
    held.swap(m_held);
    for (Held& h : held) {
        if (h.to) {
            QCoreApplication::postEvent(h.to, h.event.release());
        }
    }
    m_hourglass.reset();
}

void InputHold::runHeld() {
    if (!m_active || m_held.empty()) {
        return;
    }
    QCoreApplication::instance()->removeEventFilter(this);
    handOn();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->installEventFilter(this);
}
