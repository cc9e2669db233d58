#pragma once

#include <QObject>
#include <QTest>
#include <QString>
#include <QWidget>
#include <functional>

#include "ModalDriver.h"
#include "WindowRegistry.h"

// Runs drive on the dialog registered as name once it is up in its modal loop; one that drive
// leaves open is cancelled, as its Cancel button would.
template <class T>
void driveRegistered(QObject* context, WindowRegistry& windows, const QString& name,
                     std::function<void(T&)> drive) {
    driveModalAs<T>(context, name, [&windows, name, drive](T& w) {
        QCOMPARE(windows.existing(name), &w);
        drive(w);
        if (w.isVisible()) {
            w.reject();
        }
    });
}

// Acts on a window once it is up in its own modal loop (exec() does not return to the test
// until the window closes, so the test arranges beforehand what happens inside it). A window
// that does not come up, or stays open after act, fails the test as driveModal does.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(QObject* parent = nullptr) : QObject(parent) {}

    // Runs act on the named window of windows when it is the active modal window; act is
    // expected to close it.
    void whenModal(WindowRegistry& windows, const QString& name, std::function<void(QWidget*)> act,
                   int deadlineMs = kModalDeadlineMs) {
        ++m_pending;
        driveModalWhere(
            m_waits, name, [&windows, name](QWidget* w) { return windows.existing(name) == w; },
            [this, act](QWidget* w) {
                --m_pending;
                act(w);
            },
            deadlineMs);
    }

    // Windows waited for that never came up.
    int pending() const { return m_pending; }
    // Forgets the windows still waited for (between test functions).
    void reset() {
        m_pending = 0;
        delete m_waits;
        m_waits = new QObject(this);
    }

private:
    int m_pending = 0;
    QObject* m_waits = new QObject(this);
};
