// The send cycle and the send-one-file operation end to end, against the simulated phone.
#include <QTest>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <memory>

#include "Gateway.h"
#include "MessageFiles.h"
#include "PhoneSimulator.h"
#include "SendCycle.h"
#include "SendingTest.h"
#include "SettledFiles.h"
#include "TestContext.h"
#include "frmMain.h"

using namespace MessageFiles;

class TestSendCycle : public SendingTest {
    Q_OBJECT

    QString result(const QString& path) {
        return ctx().ini().readINI(QStringLiteral("Job Result"), QStringLiteral("Result"), path);
    }
    int submitCommands() {
        int n = 0;
        for (const QString& c : sim->commands()) {
            n += c.startsWith(QLatin1String("AT+CMGS"), Qt::CaseInsensitive) ? 1 : 0;
        }
        return n;
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        sim = std::make_unique<PhoneSimulator>();
        const QString notReady = startSimulatedPhone(ctx(), *sim);
        QVERIFY2(notReady.isEmpty(), qPrintable(notReady));
    }
    void cleanup() {
        if (ctx().hasMainWindow()) {
            ctx().mainWindow().Form_Unload();
        }
        ctx().phone().closePort();
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
        sim.reset();
    }

    void sendOneFileWithFooterOnce() {
        set("Footer", QStringLiteral("/TW"));
        set("LogSMS", QStringLiteral("1"));
        ctx().getSettings();
        const QString path = createSMSFile(ctx(), {}, QStringLiteral("+4917011"), QStringLiteral("Hello"),
                                           false, false, false, false, false);
        const QString r = sendSMSFile(ctx(), path);
        QCOMPARE(r, QStringLiteral("OK: Message was sent to +4917011."));
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+4917011|Hello/TW")});
        QVERIFY(!QFileInfo::exists(path));
        const QString copy = sent() + u'/' + QFileInfo(path).fileName();
        QCOMPARE(result(copy), r);
        QCOMPARE(ctx().state().sentCount, 1);
        const QByteArray log = t->readFile(QStringLiteral("tellwick.log"));
        QVERIFY2(log.contains("/+4917011: 'Hello/TW' was sent successfully. File was deleted."),
                 log.constData());

        // A file of another program gets the footer on sending.
        const QString foreign =
            writeOutgoing(QStringLiteral("foreign.sms"), "[Tellwick]\nNo=+4917012\nText=Hi\n");
        sendSMSFile(ctx(), foreign);
        QCOMPARE(sentTexts().value(1), QStringLiteral("+4917012|Hi/TW"));
    }

    void anyFailedRecipientFailsTheFile() {
        set("KeepSent", QStringLiteral("0"));
        set("LogSMS", QStringLiteral("1"));
        ctx().getSettings();
        // The first of two recipients fails, the second gets through.
        sim->setSubmitAnswer(QStringLiteral("+CMS ERROR: 500"));
        int cmgs = 0;
        QObject guard;  // the connection ends with this function
        connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
            if (c.startsWith(QLatin1String("AT+CMGS")) && ++cmgs == 2) {
                sim->setSubmitAnswer({});
            }
        });
        const QString path = writeOutgoing(QStringLiteral("two.sms"), "[Tellwick]\nNo=+491;+492\nText=x\n");
        const QString r = sendSMSFile(ctx(), path);
        QVERIFY2(r.startsWith(QLatin1String("ERROR ")), qPrintable(r));
        QVERIFY2(r.contains(QLatin1String("500")), qPrintable(r));
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+492|x")});
        QCOMPARE(ctx().state().sentCount, 1);
        // Kept with its error although sent messages are not kept; the log says where.
        QCOMPARE(result(sent() + QStringLiteral("/two.sms")), r);
        const QByteArray log = t->readFile(QStringLiteral("tellwick.log"));
        const QByteArray line = "/+491: 'x' was NOT sent. File NOT deleted. It was moved to " +
                                QFile::encodeName(sent()) + "/two.sms.";
        QVERIFY2(log.contains(line), log.constData());
        QVERIFY(!QFileInfo::exists(path));

        // A good file is not kept then.
        const QString good = writeOutgoing(QStringLiteral("good.sms"), "[Tellwick]\nNo=+493\nText=y\n");
        QCOMPARE(sendSMSFile(ctx(), good), QStringLiteral("OK: Message was sent to +493."));
        QVERIFY(!QFileInfo::exists(sent() + QStringLiteral("/good.sms")));
        QVERIFY(!QFileInfo::exists(good));
    }

    void oldWindowsFileIsRead() {
        const QString path =
            writeOutgoing(QStringLiteral("old.sms"), "[Tellwick]\r\nNo=+494\r\nText=Caf\xe9 ok\r\n");
        QCOMPARE(sendSMSFile(ctx(), path), QStringLiteral("OK: Message was sent to +494."));
        QCOMPARE(sentTexts(), QStringList{QString::fromUtf8("+494|Caf\xc3\xa9 ok")});
    }

    void cycleSendsEverythingInOrder() {
        // A split message, parts sent by suffix, then a later message; a bad file
        // between them does not stop the cycle.
        const QStringList parts =
            createSMSFile(ctx(), {}, QStringLiteral("+4911"), QString(300, u'a') + QString(20, u'b'), false,
                          false, false, true, true)
                .split(u',');
        QCOMPARE(parts.size(), 3);
        writeOutgoing(QStringLiteral("zz-bad.sms"), "[Tellwick]\nText=no number\n");
        createSMSFile(ctx(), {}, QStringLiteral("+4922"), QStringLiteral("later"), false, false, false, false,
                      false);
        settleFiles(out());
        SendCycle cycle(ctx());
        QCOMPARE(cycle.run(), 5);
        QVERIFY(QDir(out()).entryList(QDir::Files).isEmpty());
        const QStringList texts = sentTexts();
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[0].startsWith(QLatin1String("+4911|1/3:")));
        QVERIFY(texts[1].startsWith(QLatin1String("+4911|2/3:")));
        QVERIFY(texts[2].startsWith(QLatin1String("+4911|3/3:")));
        QCOMPARE(texts[3], QStringLiteral("+4922|later"));
        QVERIFY(result(sent() + QStringLiteral("/zz-bad.sms"))
                    .startsWith(QLatin1String("ERROR: no recipient No.")));
        QCOMPARE(QDir(sent()).entryList(QDir::Files).size(), 5);
    }

    void failedFileThatCannotBeFiledIsNotResent() {
        t->writeFile(QStringLiteral("blocked"), "x");
        ctx().state().sentDir = t->path(QStringLiteral("blocked"));
        sim->setSubmitAnswer(QStringLiteral("+CMS ERROR: 38"));
        const QString path = writeOutgoing(QStringLiteral("stuck.sms"), "[Tellwick]\nNo=+495\nText=z\n");
        settleFiles(out());
        SendCycle cycle(ctx());
        QCOMPARE(cycle.run(), 1);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(QFileInfo::exists(out() + QStringLiteral("/.sending/unfiled/stuck.sms")));
        QCOMPARE(cycle.run(), 0);
        // Nor after a new start.
        SendCycle next(ctx());
        QCOMPARE(next.run(), 0);
        QCOMPARE(submitCommands(), 1);
    }

    // The main window's polling tick: the phone is asked, the folder sent, the
    // status put back.
    void pollingTickSendsSavedFiles() {
        frmMain& m = ctx().mainWindow();
        set("OutTiming", QStringLiteral("3600"));
        const QString path = createSMSFile(ctx(), {}, QStringLiteral("+4933"), QStringLiteral("saved"), false,
                                           false, true, false, false);
        settleFiles(out());
        m.InTimer_Timer();
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+4933|saved")});
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(m.panelText(QStringLiteral("Status")), QStringLiteral("Idle..."));
        QVERIFY(!m.timersDisabled());
        // The interval has not passed yet: the next file waits.
        createSMSFile(ctx(), {}, QStringLiteral("+4934"), QStringLiteral("next"), false, false, true, false,
                      false);
        settleFiles(out());
        m.InTimer_Timer();
        QCOMPARE(sentTexts().size(), 1);
        m.gateway().resetSendInterval();
        m.InTimer_Timer();
        QCOMPARE(sentTexts().size(), 2);

        // Sending switched off: nothing leaves.
        set("SendActive", QStringLiteral("0"));
        m.gateway().resetSendInterval();
        createSMSFile(ctx(), {}, QStringLiteral("+4935"), QStringLiteral("off"), false, false, true, false,
                      false);
        settleFiles(out());
        m.InTimer_Timer();
        QCOMPARE(sentTexts().size(), 2);
    }

    // Closing the window while the polling tick sends: the file on the line goes out, the
    // others wait in the outgoing folder, and the window closes when the tick is over.
    void closingDuringSendWaitsForTheCurrentFile() {
        frmMain& m = ctx().mainWindow();
        m.show();
        for (const char* number : {"+4941", "+4942", "+4943"}) {
            createSMSFile(ctx(), {}, QString::fromLatin1(number), QStringLiteral("x"), false, false, false,
                          false, false);
        }
        settleFiles(out());
        bool closedAtOnce = true;
        QObject guard;  // the connection ends with this function
        connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
            if (c.startsWith(QLatin1String("AT+CMGS")) && submitCommands() == 1) {
                closedAtOnce = m.close();
            }
        });
        m.InTimer_Timer();
        QVERIFY(!closedAtOnce);
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+4941|x")});
        QCOMPARE(QDir(out()).entryList(QDir::Files).size(), 2);
        QCOMPARE(QDir(sent()).entryList(QDir::Files).size(), 1);
        QTRY_VERIFY(!m.isVisible());
    }

    void startUpIdentifiesThePhone() {
        ctx().phone().closePort();
        frmMain& m = ctx().mainWindow();
        // The tray menu's commands cannot start anything while the phone is started.
        bool commandsOffDuringStart = true;
        QObject guard;  // the connection ends with this function
        connect(sim.get(), &PhoneSimulator::commandReceived, &guard,
                [&] { commandsOffDuringStart &= !m.mnuTray->isEnabled() && !m.mnuExit->isEnabled(); });
        m.Form_Load();
        QVERIFY(commandsOffDuringStart);
        QVERIFY(m.mnuTray->isEnabled());
        QCOMPARE(m.panelText(QStringLiteral("Status")), QStringLiteral("Idle..."));
        QCOMPARE(m.panelText(QStringLiteral("Device")), QStringLiteral("Tellwick Simulated GSM Modem"));
        QCOMPARE(m.panelText(QStringLiteral("Port")), sim->devicePath());
        QCOMPARE(m.panelText(QStringLiteral("Speed")), QStringLiteral("115200"));
        m.Form_Unload();
        QVERIFY(!ctx().phone().isOpen());
    }

    void signalTickIdentifiesALatePhone() {
        ctx().phone().closePort();
        sim->setIdentity(QStringLiteral("NOKIA"), QStringLiteral("6310i"), QStringLiteral("1"));
        sim->setPinState(QStringLiteral("SIM PIN"));
        frmMain& m = ctx().mainWindow();
        m.Form_Load();
        QVERIFY(!ctx().phone().identity().known());
        QCOMPARE(m.panelText(QStringLiteral("Device")), QStringLiteral("no mobile device found"));
        sim->setPinState(QStringLiteral("READY"));
        m.SignalTimer_Timer();
        QCOMPARE(m.panelText(QStringLiteral("Device")), QStringLiteral("NOKIA 6310i"));
        QCOMPARE(ctx().state().maxTextLen, 159);
    }
};

QTEST_MAIN(TestSendCycle)
#include "tst_sendcycle.moc"
