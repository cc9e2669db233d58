// Windows on a real screen (a private X server): a message box shown at the end of a phone or
// mail-server dialogue, or from inside one, shows its text, as a grab of the screen proves; a
// window that opens or grows near the screen's edge stays on it.
#include <QtTest>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTcpServer>
#include <functional>
#include <memory>

#include "JobEditorWindows.h"
#include "MessagesWindows.h"
#include "ModalDriver.h"
#include "PhoneSimulator.h"
#include "Prompts.h"
#include "SharedState.h"
#include "TestContext.h"
#include "XvfbDisplay.h"
#include "frmJobMailbox.h"
#include "frmMain.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

namespace {

bool g_display = false;

// The share of the label's pixels that the screen shows as the label draws them.
double drawnShare(QLabel* label) {
    QScreen* screen = label->screen();
    const QRect r(label->mapToGlobal(QPoint(0, 0)) - screen->geometry().topLeft(), label->size());
    const QImage onScreen = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    QImage drawn = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (onScreen.isNull() || drawn.isNull()) {
        return 0;
    }
    if (drawn.size() != onScreen.size()) {
        drawn = drawn.scaled(onScreen.size());
    }
    qint64 same = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            same += drawn.pixel(x, y) == onScreen.pixel(x, y);
        }
    }
    return double(same) / (qint64(drawn.width()) * drawn.height());
}

// Acts on the next message box from inside its loop (a modal window may be up before it).
void driveBox(QObject* context, const QString& what, std::function<void(QWidget*)> act) {
    auto* poll = new QTimer(context);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, context, [=] {
        if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            driveModal(context, what, act);
        }
    });
    poll->start();
}

// Shows a window with its right and bottom edge on the screen's.
void edge(QWidget* w) {
    w->show();
    [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(w);
    const QRect area = w->screen()->availableGeometry();
    w->move(area.right() - w->frameGeometry().width() + 1, area.bottom() - w->frameGeometry().height() + 1);
}

}  // namespace

class tst_Desktop;
// Declared before the test's data functions use them (clang wants them first).
Q_DECLARE_METATYPE(std::function<void(tst_Desktop&)>)
Q_DECLARE_METATYPE(std::function<QWidget*(AppContext&)>)

class tst_Desktop : public QObject {
    Q_OBJECT

    using Trigger = std::function<void(tst_Desktop&)>;
    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;

    frmSendSMS* compose() {
        auto* d = t->ctx().windows().get<frmSendSMS>(u"frmSendSMS"_s);
        d->show();
        d->txtPhoneNo->setText(u"+4917012345678"_s);
        d->Text1->setPlainText(u"Bin in 10 Minuten da."_s);
        return d;
    }

private slots:
    void initTestCase() {
        if (!g_display) {
            QSKIP("no Xvfb: boxes are drawn on a real screen only");
        }
    }
    void init() {
        t = std::make_unique<TestContext>();
        registerMessagesWindows(t->ctx().windows());
        registerJobEditorWindows(t->ctx().windows());
        t->msgBox().setScripted(false);  // real boxes
        sim = std::make_unique<PhoneSimulator>();
        QVERIFY2(sim->start(), qPrintable(sim->errorString()));
        QVERIFY(t->ctx().phone().openPort(sim->devicePath(), 115200));
        QVERIFY(t->ctx().phone().startDevice());
        t->ctx().getSettings();
        t->ctx().mainWindow().show();
    }
    void cleanup() {
        t.reset();
        sim.reset();
    }

    void boxTextIsDrawn_data() {
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<QString>("title");
        QTest::newRow("after sending, the result") << Trigger([](tst_Desktop& self) {
            frmSendSMS* d = self.compose();
            d->Check1->setChecked(true);
            QTest::mouseClick(d->cmdSendSMS, Qt::LeftButton);
        }) << u"Tellwick"_s;
        QTest::newRow("while the phone is asked") << Trigger([](tst_Desktop& self) {
            // A box that comes up while a send waits for the phone's answer.
            self.sim->setDelay(u"AT+CMGS"_s, 1500);
            QObject::connect(self.sim.get(), &PhoneSimulator::commandReceived, &self.t->ctx().mainWindow(),
                             [&self](const QString& command) {
                                 if (command.startsWith(u"AT+CMGS"_s)) {
                                     QTimer::singleShot(0, &self.t->ctx().mainWindow(), [&self] {
                                         self.t->msgBox().show(u"A box from inside the wait"_s,
                                                               MsgBox::OKOnly, MsgBox::Information,
                                                               u"Inside"_s);
                                     });
                                 }
                             });
            frmSendSMS* d = self.compose();
            d->Check1->setChecked(false);
            QTest::mouseClick(d->cmdSendSMS, Qt::LeftButton);
        }) << u"Inside"_s;
        QTest::newRow("over a window not shown yet") << Trigger([](tst_Desktop& self) {
            auto* hidden = new QDialog(&self.t->ctx().mainWindow());
            self.t->msgBox().show(u"A box over a window that is not up yet"_s, MsgBox::OKOnly,
                                  MsgBox::Information, u"Before"_s, hidden);
            delete hidden;
        }) << u"Before"_s;
        QTest::newRow("with the hourglass up") << Trigger([](tst_Desktop& self) {
            Hourglass wait;
            self.t->msgBox().show(u"A box while the hourglass shows"_s, MsgBox::OKOnly, MsgBox::Information,
                                  u"Hourglass"_s, &self.t->ctx().mainWindow());
            // Up again for the work that goes on.
            QVERIFY(QApplication::overrideCursor() &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        }) << u"Hourglass"_s;
        QTest::newRow("after a mailbox test") << Trigger([](tst_Desktop& self) {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            const quint16 closedPort = probe.serverPort();
            probe.close();
            auto* e = self.t->ctx().windows().get<frmJobMailbox>(u"frmJobMailbox"_s);
            e->setUpJob(u"Tellwick: New mailbox job"_s, {});
            e->show();
            e->txtName->setText(u"Inbox"_s);
            e->txtMailserver->setText(u"127.0.0.1"_s);
            e->txtPort->setText(QString::number(closedPort));
            e->txtUsername->setText(u"ann"_s);
            e->txtPassword->setText(u"pw"_s);
            e->txtIntervall->setText(u"15"_s);
            QTest::mouseClick(e->cmdTest, Qt::LeftButton);
        }) << u"Tellwick: Can't access mailbox"_s;
    }

    // Put at the screen's right and bottom edge, then grown: still whole on the screen.
    void staysOnTheScreen_data() {
        using Grow = std::function<QWidget*(AppContext&)>;
        QTest::addColumn<Grow>("grow");
        QTest::newRow("compose, address panel") << Grow([](AppContext& ctx) -> QWidget* {
            auto* d = ctx.windows().get<frmSendSMS>(u"frmSendSMS"_s);
            edge(d);
            d->cmdAddress_Click();
            return d;
        });
        QTest::newRow("browser, columns") << Grow([](AppContext& ctx) -> QWidget* {
            ctx.mainWindow().mnuBrowse_Click();
            QWidget* b = ctx.windows().existing(u"frmBrowse"_s);
            edge(b);
            // A message whose sender needs a wider column than the window has.
            QFile f(ctx.state().inDir + u"/wide.sms"_s);
            if (f.open(QIODevice::WriteOnly)) {
                f.write(
                    "[Tellwick]\nDate=2026-12-07\nTime=10:00:00\nNo=+49170123456789012345678901234567890\n"
                    "Text=x\n");
            }
            f.close();
            QMetaObject::invokeMethod(b, "Tubby_Click");
            return b;
        });
    }

    void staysOnTheScreen() {
        QFETCH(std::function<QWidget*(AppContext&)>, grow);
        QWidget* w = grow(t->ctx());
        QVERIFY(w && w->isVisible());
        const QRect area = w->screen()->availableGeometry();
        QTRY_VERIFY2(area.contains(w->frameGeometry()),
                     qPrintable(u"%1,%2 %3x%4"_s.arg(w->frameGeometry().x())
                                    .arg(w->frameGeometry().y())
                                    .arg(w->frameGeometry().width())
                                    .arg(w->frameGeometry().height())));
        w->hide();
    }

    void boxTextIsDrawn() {
        QFETCH(Trigger, trigger);
        QFETCH(QString, title);
        QObject guard;
        QString shownTitle;
        bool pointerWaits = true;
        double share = -1;
        driveBox(&guard, title, [&](QWidget* w) {
            shownTitle = w->windowTitle();
            pointerWaits = QApplication::overrideCursor() != nullptr;
            auto* label = w->findChild<QLabel*>(u"qt_msgbox_label"_s);
            QVERIFY(label);
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QTRY_VERIFY_WITH_TIMEOUT((share = drawnShare(label)) > 0.9, 5000);
            qobject_cast<QDialog*>(w)->accept();
        });
        trigger(*this);
        QTRY_COMPARE(shownTitle, title);
        QVERIFY2(share > 0.9, qPrintable(u"%1 of the text drawn"_s.arg(share)));
        QVERIFY2(!pointerWaits, "the hourglass showed over a box that waits for a click");
    }
};


int main(int argc, char** argv) {
    XvfbDisplay display;  // before the application: it connects to the display at once
    g_display = display.running();
    QApplication app(argc, argv);
    tst_Desktop test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
