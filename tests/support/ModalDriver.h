#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acting on a modal window (a box, a dialog in exec()) from inside its own loop. The loop must
// end whatever the act does: a check that fails inside act returns early and leaves the window
// up, so a window still open after act fails the test and is rejected; a window that never comes
// up fails the test at the deadline. After a failure every modal window that comes up while the
// context lives is closed as well, so a test that goes on into the next dialog ends instead of
// hanging. The test therefore fails at once with a message naming the window instead of hanging
// until its time limit.
//
// context ends the wait when it dies (use an object that lives in the test function). The
// deadline is one only a hang reaches: a window comes up in well under a second even on a slow,
// busy machine.
constexpr int kModalDeadlineMs = 30000;

namespace modal_driver {

inline void closeWindow(QWidget* w) {
    if (auto* dialog = qobject_cast<QDialog*>(w)) {
        dialog->reject();
    } else {
        w->close();
    }
}

inline QString describe(const QWidget* w) {
    return w ? QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName()
             : QStringLiteral("none");
}

// The first failure names the window; one that follows a failed check only explains itself.
inline void fail(const QString& message) {
    if (QTest::currentTestFailed()) {
        qWarning("%s", qPrintable(message));
    } else {
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    }
}

// Closes every modal window that comes up while context lives.
inline void sweep(QObject* context) {
    auto* sweeper = new QTimer(context);
    sweeper->setInterval(5);
    QObject::connect(sweeper, &QTimer::timeout, context, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            qWarning("Closing %s after a failed check", qPrintable(describe(modal)));
            closeWindow(modal);
        }
    });
    sweeper->start();
}

}  // namespace modal_driver

// Acts on the next modal window for which match is true (any modal window when match is empty).
inline void driveModalWhere(QObject* context, const QString& what, std::function<bool(QWidget*)> match,
                            std::function<void(QWidget*)> act, int deadlineMs = kModalDeadlineMs) {
    auto* poll = new QTimer(context);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, context, [context, poll, clock, what, match, act, deadlineMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || (match && !match(modal))) {
            if (clock->elapsed() > deadlineMs) {
                poll->stop();
                poll->deleteLater();
                modal_driver::fail(QStringLiteral("%1 did not come up within %2 s (the modal window: %3)")
                                       .arg(what)
                                       .arg(deadlineMs / 1000)
                                       .arg(modal_driver::describe(modal)));
                modal_driver::sweep(context);
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        QPointer<QWidget> w = modal;
        const bool failedBefore = QTest::currentTestFailed();
        act(w);
        if (!failedBefore && QTest::currentTestFailed()) {
            modal_driver::sweep(context);
        }
        if (w && w->isVisible() && QApplication::activeModalWidget() == w) {
            modal_driver::fail(QStringLiteral("%1 was still open after the test acted on it (%2)")
                                   .arg(what, modal_driver::describe(w)));
            modal_driver::closeWindow(w);
            modal_driver::sweep(context);
        }
    });
    poll->start();
}

inline void driveModal(QObject* context, const QString& what, std::function<void(QWidget*)> act,
                       int deadlineMs = kModalDeadlineMs) {
    driveModalWhere(context, what, {}, std::move(act), deadlineMs);
}

// As driveModal, for a window of class T: another modal window fails the test at once.
template <class T>
void driveModalAs(QObject* context, const QString& what, std::function<void(T&)> act,
                  int deadlineMs = kModalDeadlineMs) {
    driveModal(
        context, what,
        [what, act](QWidget* w) {
            auto* typed = qobject_cast<T*>(w);
            if (!typed) {
                modal_driver::fail(
                    QStringLiteral("%1 expected, %2 came up").arg(what, modal_driver::describe(w)));
                return;
            }
            act(*typed);
        },
        deadlineMs);
}
