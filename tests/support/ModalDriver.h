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

// Acts on the next modal window (a box, a dialog in exec()) from inside its own loop, and makes
// sure the loop ends whatever the act does: a check that fails inside act returns early and
// leaves the window up, so a window still open after act fails the test and is rejected; a
// window that never comes up fails the test at the deadline. The test therefore fails at once
// with a message naming the window instead of hanging until its time limit.
//
// context ends the wait when it dies (use an object that lives in the test function).
inline void driveModal(QObject* context, const QString& what, std::function<void(QWidget*)> act,
                       int deadlineMs = 30000) {
    auto* poll = new QTimer(context);
    auto* clock = new QElapsedTimer;
    clock->start();
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::destroyed, [clock] { delete clock; });
    QObject::connect(poll, &QTimer::timeout, context, [poll, clock, what, act, deadlineMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            if (clock->elapsed() > deadlineMs) {
                poll->stop();
                poll->deleteLater();
                QTest::qFail(qPrintable(QStringLiteral("%1 did not come up").arg(what)), __FILE__, __LINE__);
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        QPointer<QWidget> w = modal;
        act(w);
        if (w && w->isVisible() && QApplication::activeModalWidget() == w) {
            QTest::qFail(qPrintable(QStringLiteral("%1 was still open after the test acted on it (%2)")
                                        .arg(what, QString::fromLatin1(w->metaObject()->className()))),
                         __FILE__, __LINE__);
            if (auto* dialog = qobject_cast<QDialog*>(w.data())) {
                dialog->reject();
            } else {
                w->close();
            }
        }
    });
    poll->start();
}
