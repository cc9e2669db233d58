// The gateway over weeks: the default timers, a phone that hangs up and comes back, a phone
// that stops answering, termination signals, files still being written, the window position.
#include <QTest>

#include <sys/resource.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <memory>

#include "Gateway.h"
#include "MessageFiles.h"
#include "PhoneSimulator.h"
#include "SendingTest.h"
#include "SettledFiles.h"
#include "TerminationSignals.h"
#include "TestContext.h"
#include "frmMain.h"

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The share of a processor a loop that never waits gets now (1 on an idle machine).
double busyCpuShare() {
    QElapsedTimer wall;
    wall.start();
    const double from = cpuSeconds();
    while (wall.elapsed() < 300) {
    }
    return (cpuSeconds() - from) / (double(wall.elapsed()) / 1000.0);
}

// A window beside the main one whose key press asks the phone something.
class PhoneAsker : public QWidget {
public:
    explicit PhoneAsker(AppContext& ctx) : m_ctx(ctx) {}
    QString reply;

protected:
    void keyPressEvent(QKeyEvent*) override { reply = m_ctx.phone().sendCommand(QStringLiteral("AT+CGMM")); }

private:
    AppContext& m_ctx;
};

// A modal window that sends message files one after the other, as the compose dialog does.
class SendingDialog : public QDialog {
public:
    SendingDialog(AppContext& ctx, QStringList files) : m_ctx(ctx), m_files(std::move(files)) {}

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        QTimer::singleShot(0, this, [this] {
            for (const QString& f : std::as_const(m_files)) {
                MessageFiles::sendSMSFile(m_ctx, f);
            }
            accept();
        });
    }

private:
    AppContext& m_ctx;
    QStringList m_files;
};

}  // namespace

class TestGateway : public SendingTest {
    Q_OBJECT
    frmMain& main() { return ctx().mainWindow(); }
    int count(const QString& folder) { return int(QDir(folder).entryList(QDir::Files).size()); }
    QString setting(const char* key) {
        return ctx().ini().readINI(QStringLiteral("Settings"), QString::fromLatin1(key));
    }
    QStringList writeThree() {
        QStringList files;
        for (const char* n : {"+4911", "+4922", "+4933"}) {
            files.append(writeOutgoing(QString::fromLatin1(n).mid(1) + QStringLiteral(".sms"),
                                       "[Tellwick]\nNo=" + QByteArray(n) + "\nText=x\n"));
        }
        settleFiles(out());
        return files;
    }
    QString firstSentResult() {
        const QStringList names = QDir(sent()).entryList(QDir::Files);
        return names.isEmpty() ? QString()
                               : ctx().ini().readINI(QStringLiteral("Job Result"), QStringLiteral("Result"),
                                                     sent() + u'/' + names.first());
    }
    QString log() { return QString::fromUtf8(t->readFile(QStringLiteral("tellwick.log"))); }
    // Calls f once, at the first command that begins with prefix.
    void onFirst(const QString& prefix, std::function<void()> f) {
        auto done = std::make_shared<bool>(false);
        connect(sim.get(), &PhoneSimulator::commandReceived, this, [prefix, f, done](const QString& c) {
            if (!*done && c.startsWith(prefix)) {
                *done = true;
                f();
            }
        });
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        sim = std::make_unique<PhoneSimulator>();
        // The phone is reached through a path of its own, as a USB modem's device name.
        QVERIFY2(sim->startAt(t->path(QStringLiteral("phone"))), qPrintable(sim->errorString()));
        // What a new user has: the port and its speed, nothing else.
        ctx().ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Port"), sim->linkPath());
        ctx().ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Speed"), QStringLiteral("115200"));
        ctx().getSettings();
    }
    void cleanup() {
        if (ctx().hasMainWindow()) {
            main().Form_Unload();
        }
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
        sim.reset();
    }

    void defaultTimersSendADroppedFile() {
        main().Form_Load();
        QCOMPARE(main().InTimer->interval(), 5000);
        QCOMPARE(main().SignalTimer->interval(), 3000);
        const QString path =
            writeOutgoing(QStringLiteral("dropped.sms"), "[Tellwick]\nNo=+4955\nText=dropped\n");
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(path), 20000);
        QCOMPARE(sim->decodedSubmissions().value(0).text, QStringLiteral("dropped"));
        QVERIFY(firstSentResult().startsWith(QLatin1String("OK")));
    }

    void hangUpMidSendAndComeBack() {
        main().Form_Load();
        writeThree();
        onFirst(QStringLiteral("AT+CMGS"), [this] { sim->disappear(); });
        QTRY_VERIFY_WITH_TIMEOUT(count(sent()) == 1, 20000);
        QVERIFY(!ctx().phone().isOpen());
        QVERIFY(firstSentResult().startsWith(QLatin1String("ERROR")));
        QCOMPARE(count(out()), 2);  // untouched, waiting for the phone
        QTRY_VERIFY(main().panelText(QStringLiteral("Status")).contains(QLatin1String("gone")));

        // No busy waiting while the phone is away: the wait costs a small part of what a loop
        // that never sleeps gets over the same time on this machine as it is now (a loaded or
        // sanitized run slows both alike).
        QElapsedTimer wall;
        wall.start();
        const double cpu = cpuSeconds();
        const int attempts = main().gateway().reopenAttempts();
        QTRY_VERIFY_WITH_TIMEOUT(main().gateway().reopenAttempts() >= attempts + 2, 15000);
        const double used = cpuSeconds() - cpu;
        const double seconds = double(wall.elapsed()) / 1000.0;
        const double spinning = busyCpuShare() * seconds;
        QVERIFY2(used < spinning / 4, qPrintable(QStringLiteral("%1 s of CPU in %2 s; a busy loop: %3 s")
                                                     .arg(used)
                                                     .arg(seconds)
                                                     .arg(spinning)));
        QCOMPARE(count(out()), 2);

        // Plugged in again on the same path: sending goes on by itself.
        QVERIFY(sim->comeBack());
        QTRY_VERIFY2_WITH_TIMEOUT(count(out()) == 0, qPrintable(log()), 30000);
        QCOMPARE(sim->decodedSubmissions().size(), 2);
        QCOMPARE(main().panelText(QStringLiteral("Status")), QStringLiteral("Idle..."));
        const QRegularExpression lossLine(QStringLiteral("^\\S+: Serial port .* lost"),
                                          QRegularExpression::MultilineOption);
        QVERIFY2(log().count(lossLine) == 1, qPrintable(log()));
        QCOMPARE(log().count(QStringLiteral("Mobile device back on")), 1);
        QCOMPARE(log().count(QStringLiteral("Error opening serial port")), 0);
        QCOMPARE(log().count(QStringLiteral("Another mobile device")), 0);
    }

    // Another device where the phone was (a device name reused): the log and the status say
    // which one it is, and sending goes on with it.
    void anotherDeviceComesBack() {
        main().Form_Load();
        sim->disappear();
        QVERIFY(!ctx().phone().checkDevice());
        QTRY_VERIFY_WITH_TIMEOUT(main().panelText(QStringLiteral("Status")).contains(QLatin1String("gone")),
                                 15000);
        sim->setIdentity(QStringLiteral("Other Maker"), QStringLiteral("Modem X"), QStringLiteral("359999"));
        QVERIFY(sim->comeBack());
        const QString other =
            QStringLiteral("Another mobile device on %1: Other Maker Modem X").arg(sim->linkPath());
        QTRY_COMPARE_WITH_TIMEOUT(main().panelText(QStringLiteral("Status")), other, 15000);
        QVERIFY2(log().contains(other +
                                QStringLiteral(" (serial number 359999) in place of Tellwick Simulated GSM "
                                               "Modem (serial number 350000000000001)")),
                 qPrintable(log()));
        QCOMPARE(main().panelText(QStringLiteral("Device")), QStringLiteral("Other Maker Modem X"));
        const QString path = writeOutgoing(QStringLiteral("after.sms"), "[Tellwick]\nNo=+4955\nText=x\n");
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(path), 20000);
        QCOMPARE(sim->decodedSubmissions().size(), 1);
    }

    void phoneThatWasNotThereAtStart() {
        sim->disappear();
        main().Form_Load();
        QVERIFY(
            main().panelText(QStringLiteral("Status")).startsWith(QLatin1String("Can't open serial port")));
        writeThree();
        QVERIFY(sim->comeBack());
        QTRY_VERIFY_WITH_TIMEOUT(count(out()) == 0, 30000);
        QCOMPARE(sim->decodedSubmissions().size(), 3);
        QCOMPARE(main().panelText(QStringLiteral("Status")), QStringLiteral("Idle..."));
        QCOMPARE(log().count(QStringLiteral("ERROR: can't open serial port")), 1);  // not again at every try
    }

    void silentPhoneStopsTheCycle() {
        main().Form_Load();
        writeThree();
        onFirst(QStringLiteral("AT+CMGS"), [this] { sim->goSilent(); });
        // The prompt is waited for as long as [Settings] Timeout says (10 s when not set).
        QTRY_VERIFY_WITH_TIMEOUT(count(sent()) == 1, 30000);
        QVERIFY2(firstSentResult().contains(QLatin1String("TimeOut (10 secs.)")),
                 qPrintable(firstSentResult()));
        QCOMPARE(count(out()), 2);
        QVERIFY(main().panelText(QStringLiteral("Status")).contains(QLatin1String("does not answer")));
        sim->clearRules();
        QTRY_VERIFY_WITH_TIMEOUT(count(out()) == 0, 20000);
        QCOMPARE(sim->decodedSubmissions().size(), 2);
    }

    void terminationSignals_data() {
        QTest::addColumn<int>("signalCount");
        QTest::addColumn<bool>("sending");
        QTest::newRow("one signal while a modal window sends") << 1 << true;
        QTest::newRow("two signals while a modal window sends") << 2 << true;
        QTest::newRow("one signal while a modal window rests") << 1 << false;
    }
    void terminationSignals() {
        QFETCH(int, signalCount);
        QFETCH(bool, sending);
        frmMain& m = main();
        m.Form_Load();
        QCOMPARE(setting("isRunning"), QStringLiteral("1"));
        int quits = 0;
        m.quitApplication = [&] { ++quits; };
        QVERIFY(TerminationSignals::install([&m] { m.terminationSignal(); }));
        const QStringList files = writeThree();
        ctx().windows().registerFactory(QStringLiteral("frmSendSMS"), [&](AppContext& c) -> QWidget* {
            return new SendingDialog(c, sending ? files : QStringList());
        });
        m.updateCommands();
        auto raiseSignals = [signalCount] {
            for (int i = 0; i < signalCount; ++i) {
                ::raise(SIGTERM);
            }
        };
        if (sending) {
            onFirst(QStringLiteral("AT+CMGS"), raiseSignals);
        } else {
            QTimer::singleShot(0, this, raiseSignals);
        }
        m.mnuSendSMS_Click();
        QTRY_COMPARE(quits, 1);
        QVERIFY(m.isEnding());
        QCOMPARE(setting("isRunning"), QStringLiteral("0"));
        QVERIFY(!ctx().phone().isOpen());
        // One signal lets the message on the line go out; a second one ends at once.
        QCOMPARE(int(sim->decodedSubmissions().size()), sending && signalCount == 1 ? 1 : 0);
        QCOMPARE(count(out()), sending ? 2 : 3);
    }

    void frozenPhoneHoldsNoExit_data() {
        QTest::addColumn<bool>("messageOnLine");
        QTest::newRow("a probe in flight") << false;
        QTest::newRow("a message on the line") << true;
    }
    // A phone that froze: a termination signal ends the program at once when only a probe
    // waits on it, and after one Timeout of its silence (10 s when not set) when a message
    // is on the line, not after the message's own limit.
    void frozenPhoneHoldsNoExit() {
        QFETCH(bool, messageOnLine);
        frmMain& m = main();
        m.Form_Load();
        int quits = 0;
        m.quitApplication = [&] { ++quits; };
        QVERIFY(TerminationSignals::install([&m] { m.terminationSignal(); }));
        QElapsedTimer sinceSignal;
        auto raiseSignal = [&sinceSignal] {
            sinceSignal.start();
            ::raise(SIGTERM);
        };
        QObject guard;  // the connections end with this function
        if (messageOnLine) {
            sim->setBodySilent(true);
            connect(sim.get(), &PhoneSimulator::submitted, &guard, raiseSignal);
            writeOutgoing(QStringLiteral("frozen.sms"), "[Tellwick]\nNo=+4955\nText=x\n");
        } else {
            sim->goSilent();
            connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
                if (!sinceSignal.isValid() && c == QStringLiteral("AT")) {
                    raiseSignal();
                }
            });
        }
        QTRY_VERIFY_WITH_TIMEOUT(quits == 1, 30000);
        const qint64 took = sinceSignal.elapsed();
        QVERIFY2(took < 15000, qPrintable(QString::number(took)));  // 1.5 x Timeout
        if (!messageOnLine) {
            QVERIFY2(took < 5000, qPrintable(QString::number(took)));  // at once, on a slow machine too
        }
        QVERIFY(m.isEnding());
        QCOMPARE(setting("isRunning"), QStringLiteral("0"));
        QVERIFY(!ctx().phone().isOpen());
    }

    void fileWrittenKeyByKey() {
        main().Form_Load();
        const QString path = writeOutgoing(QStringLiteral("slow.sms"), "[Tellwick]\nNo=+4977\n");
        main().InTimer_Timer();
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("Text=written a moment later\n");
        f.close();
        main().InTimer_Timer();
        QVERIFY(QFile::exists(path));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(path), 20000);
        QCOMPARE(sim->decodedSubmissions().size(), 1);
        QCOMPARE(sim->decodedSubmissions().value(0).text, QStringLiteral("written a moment later"));
        QVERIFY(firstSentResult().startsWith(QLatin1String("OK")));
    }

    // A window that asks the phone while the send cycle waits on it waits for the link
    // instead of getting "ERROR"; the hourglass shows meanwhile.
    void windowWaitsForABusyLink() {
        QVERIFY(ctx().phone().openPort());
        QVERIFY(ctx().phone().startDevice());
        writeThree();
        PhoneAsker asker(ctx());
        asker.show();
        bool hourglass = false;
        onFirst(QStringLiteral("AT+CMGS"), [&] {
            QTest::keyClick(&asker, Qt::Key_A);
            hourglass = QApplication::overrideCursor() != nullptr;
        });
        main().InTimer_Timer();
        QTRY_COMPARE(asker.reply, QStringLiteral("Simulated GSM Modem"));
        QVERIFY(hourglass);
        QVERIFY(!QApplication::overrideCursor());
        const QStringList commands = sim->commands();
        QVERIFY(commands.indexOf(QStringLiteral("AT+CGMM")) >
                commands.indexOf(QRegularExpression(QStringLiteral("^AT\\+CMGS"))));
        QCOMPARE(sim->decodedSubmissions().size(), 3);
    }

    void windowPositionOverRestarts_data() {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on the screen") << QPoint(120, 90) << true;
        QTest::newRow("beyond every screen") << QPoint(30000, 20000) << false;
    }
    void windowPositionOverRestarts() {
        QFETCH(QPoint, saved);
        QFETCH(bool, kept);
        main().Form_Load();  // a first run: nothing saved
        main().move(saved);
        main().Form_Unload();
        const QString folder = t->folder();
        QList<QPoint> seen;
        for (int run = 0; run < 3; ++run) {
            AppContext c(folder);
            c.prompts().setScripted(true);
            frmMain& m = c.mainWindow();
            m.Form_Load();
            seen.append(m.pos());
            QVERIFY2(
                QGuiApplication::primaryScreen()->availableGeometry().contains(m.frameGeometry()) || kept,
                qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                               .arg(m.frameGeometry().x())
                               .arg(m.frameGeometry().y())
                               .arg(m.frameGeometry().width())
                               .arg(m.frameGeometry().height())
                               .arg(QGuiApplication::primaryScreen()->availableGeometry().width())
                               .arg(QGuiApplication::primaryScreen()->availableGeometry().height())));
            m.Form_Unload();
        }
        QCOMPARE(seen.value(1), seen.value(0));
        QCOMPARE(seen.value(2), seen.value(0));
        if (kept) {
            QCOMPARE(seen.value(0), saved);
        }
    }
};

QTEST_MAIN(TestGateway)
#include "tst_gateway.moc"
