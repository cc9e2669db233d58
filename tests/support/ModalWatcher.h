#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "WindowRegistry.h"

// Acts on a window once it is up in its own modal loop (exec() does not return to the test
// until the window closes, so the test arranges beforehand what happens inside it).
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(QObject* parent = nullptr) : QObject(parent) {}

    // Runs act on the named window of windows when it is the active modal window; act is
    // expected to close it.
    void whenModal(WindowRegistry& windows, const QString& name, std::function<void(QWidget*)> act) {
        ++m_pending;
        auto* poll = new QTimer(this);
        poll->setInterval(5);
        connect(poll, &QTimer::timeout, this, [this, poll, &windows, name, act] {
            QWidget* w = windows.existing(name);
            if (!w || !w->isVisible() || QApplication::activeModalWidget() != w) {
                return;
            }
            poll->stop();
            poll->deleteLater();
            --m_pending;
            act(w);
        });
        poll->start();
    }

    // Windows waited for that never came up.
    int pending() const { return m_pending; }
    void reset() { m_pending = 0; }

private:
    int m_pending = 0;
};
