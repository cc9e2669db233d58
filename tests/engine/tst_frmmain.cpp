#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

#include "Gateway.h"
#include "ModalDriver.h"
#include "Spool.h"
#include "TestContext.h"
#include "frmMailSettings.h"
#include "frmMain.h"

namespace {

// A registered stand-in for a window of a higher folder: records whether the timers were
// off while it was open.
class FakeDialog : public QDialog {
public:
    explicit FakeDialog(frmMain& main) : m_main(main) {}
    bool timersWereOff = false;
    bool menusWereOff = false;
    int shown = 0;

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        ++shown;
        timersWereOff =
            !m_main.InTimer->isActive() && !m_main.SignalTimer->isActive() && m_main.timersDisabled();
        menusWereOff =
            !m_main.menuBar()->isEnabled() && !m_main.tbrMain->isEnabled() && !m_main.mnuTray->isEnabled();
        QTimer::singleShot(0, this, &QDialog::reject);
    }

private:
    frmMain& m_main;
};

}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
    std::unique_ptr<TestContext> t;

    frmMain& main() { return t->ctx().mainWindow(); }
    QString setting(const char* key) {
        return t->ini().readINI(QStringLiteral("Settings"), QString::fromLatin1(key));
    }
    void set(const char* key, const QString& value) {
        t->ini().writeINI(QStringLiteral("Settings"), QString::fromLatin1(key), value);
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        t->ctx().getSettings();
    }
    void cleanup() {
        if (t->ctx().hasMainWindow()) {
            main().Form_Unload();
        }
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void statusPanels() {
        main().showStatus(QStringLiteral("sending SMS..."));
        QCOMPARE(main().panelText(QStringLiteral("Status")), QStringLiteral("sending SMS..."));
        main().showStatus({});
        QCOMPARE(main().panelText(QStringLiteral("Status")), QStringLiteral("Idle..."));
        QCOMPARE(main().panelText(QStringLiteral("Device")), QStringLiteral("no mobile device found"));
        set("Port", QStringLiteral("3"));
        set("Speed", QStringLiteral("19200"));
        main().showStatus({});
        QCOMPARE(main().panelText(QStringLiteral("Port")), QStringLiteral("/dev/ttyS2"));
        QCOMPARE(main().panelText(QStringLiteral("Speed")), QStringLiteral("19200"));
        for (const char* name : {"Status", "Device", "Port", "Speed"}) {
            QVERIFY(main().findChild<QLabel*>(QString::fromLatin1(name)));
        }
    }

    void imagesAndIcon() {
        QVERIFY(!main().lstImages.icon(QStringLiteral("Asc")).isNull());
        QVERIFY(!main().lstImages.icon(QStringLiteral("Desc")).isNull());
        QVERIFY(!QApplication::windowIcon().isNull());
        QDialog other;
        QVERIFY(!other.windowIcon().isNull());
    }

    void timerPairNestsAndRestores() {
        frmMain& m = main();
        QCOMPARE(m.InTimer->interval(), 5000);
        QCOMPARE(m.SignalTimer->interval(), 3000);
        m.InTimer->start();
        m.SignalTimer->start();
        m.tempDisableTimers();
        m.tempDisableTimers();
        QVERIFY(!m.InTimer->isActive() && !m.SignalTimer->isActive());
        QVERIFY(!m.menuBar()->isEnabled() && !m.tbrMain->isEnabled() && !m.mnuTray->isEnabled());
        QVERIFY(!m.mnuExit->isEnabled());
        m.TempRestoreTimers();
        QVERIFY(!m.InTimer->isActive() && !m.SignalTimer->isActive());
        QVERIFY(!m.menuBar()->isEnabled());
        m.TempRestoreTimers();
        QVERIFY(m.InTimer->isActive() && m.SignalTimer->isActive());
        QVERIFY(m.menuBar()->isEnabled() && m.tbrMain->isEnabled() && m.mnuTray->isEnabled() &&
                m.mnuExit->isEnabled());
        // An unpaired restore starts nothing.
        m.InTimer->stop();
        m.TempRestoreTimers();
        QVERIFY(!m.InTimer->isActive());
    }

    void pollingTimerComesBackOnlyWhenActive() {
        set("SendActive", QStringLiteral("0"));
        set("ReceiveActive", QStringLiteral("0"));
        t->ctx().getSettings();
        frmMain& m = main();
        m.InTimer->start();
        m.SignalTimer->start();
        m.tempDisableTimers();
        m.TempRestoreTimers();
        QVERIFY(!m.InTimer->isActive());
        QVERIFY(m.SignalTimer->isActive());

        t->ctx().state().receiveActive = true;
        m.InTimer->start();
        m.tempDisableTimers();
        m.TempRestoreTimers();
        QVERIFY(m.InTimer->isActive());
    }

    void commandsFollowTheRegistry() {
        frmMain& m = main();
        QVERIFY(!m.mnuSendSMS->isEnabled());
        QVERIFY(!m.mnuBrowse->isEnabled());
        QVERIFY(!m.mnuAddressBook->isEnabled());
        QVERIFY(!m.mnuJobs->isEnabled());
        QVERIFY(m.mnuMailSettings->isEnabled());
        QVERIFY(m.mnuShowLog->isEnabled() && m.mnuExit->isEnabled());
        QCOMPARE(m.mnuBrowse->text(), QStringLiteral("Message &Browser..."));
        t->ctx().windows().registerFactory(QStringLiteral("frmBrowse"),
                                           [](AppContext&) { return new QWidget; });
        m.updateCommands();
        QVERIFY(m.mnuBrowse->isEnabled());
        // A command whose window is missing does nothing.
        m.mnuSendSMS_Click();
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmSendSMS")));
        // A window beside the main one is shown, not modal, and the timers stay as they were.
        m.mnuBrowse_Click();
        QWidget* browser = t->ctx().windows().existing(QStringLiteral("frmBrowse"));
        QVERIFY(browser && browser->isVisible());
        QVERIFY(!m.timersDisabled());
    }

    void modalCommandsSuspendTheTimers() {
        frmMain& m = main();
        FakeDialog* send = nullptr;
        FakeDialog* jobs = nullptr;
        t->ctx().windows().registerFactory(QStringLiteral("frmSendSMS"),
                                           [&](AppContext&) { return send = new FakeDialog(m); });
        t->ctx().windows().registerFactory(QStringLiteral("frmJobs"),
                                           [&](AppContext&) { return jobs = new FakeDialog(m); });
        m.updateCommands();
        QVERIFY(m.mnuSendSMS->isEnabled() && m.mnuJobs->isEnabled());
        m.SignalTimer->start();
        m.mnuSendSMS->trigger();
        QCOMPARE(send->shown, 1);
        QVERIFY(send->timersWereOff);
        QVERIFY(send->menusWereOff);
        QVERIFY(m.SignalTimer->isActive());
        QVERIFY(m.menuBar()->isEnabled() && m.mnuSendSMS->isEnabled());
        m.mnuJobs_Click();
        QCOMPARE(jobs->shown, 1);
        QVERIFY(jobs->timersWereOff);
        // No command opens anything while the timers are off.
        m.tempDisableTimers();
        m.mnuJobs_Click();
        QCOMPARE(jobs->shown, 1);
        m.TempRestoreTimers();
    }

    void mailSettingsDialog() {
        set("SMTPServer", QStringLiteral("old.example.org"));
        frmMain& m = main();
        QString seen;
        QObject guard;  // the connection ends with this function
        driveModalAs<frmMailSettings>(&guard, QStringLiteral("The mail settings"), [&](frmMailSettings& dlg) {
            seen = dlg.txtSMTPServer->text();
            dlg.txtSMTPServer->setText(QStringLiteral("  mail.example.org "));
            dlg.cmdOK->click();
        });
        m.mnuMailSettings_Click();
        QCOMPARE(seen, QStringLiteral("old.example.org"));
        QCOMPARE(setting("SMTPServer"), QStringLiteral("mail.example.org"));
        QCOMPARE(t->ctx().state().smtpServer, QStringLiteral("mail.example.org"));

        // Cancel keeps the stored name.
        driveModalAs<frmMailSettings>(&guard, QStringLiteral("The mail settings"), [&](frmMailSettings& dlg) {
            dlg.txtSMTPServer->setText(QStringLiteral("other"));
            dlg.cmdCancel->click();
        });
        m.mnuMailSettings_Click();
        QCOMPARE(setting("SMTPServer"), QStringLiteral("mail.example.org"));
    }

    void logsOpenWithTheDesktop() {
        frmMain& m = main();
        QList<QUrl> opened;
        m.openUrl = [&](const QUrl& url) {
            opened.append(url);
            return true;
        };
        m.mnuShowLog_Click();
        m.mnuShowDebugLog_Click();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].toLocalFile(), t->path(QStringLiteral("tellwick.log")));
        QCOMPARE(opened[1].toLocalFile(), t->path(QStringLiteral("debug.log")));

        // The log is there, only no program shows it: the box says so and where the file is.
        m.openUrl = [](const QUrl&) { return false; };
        m.mnuShowLog_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown()[0].icon, MsgBox::Critical);
        QCOMPARE(t->msgBox().shown()[0].text, QStringLiteral("No program to show text files was found.\r\n"
                                                             "The log file is ") +
                                                  t->path(QStringLiteral("tellwick.log")));
    }

    void startWithoutPortAndShutDown() {
        set("WindowLeft", QStringLiteral("1500"));
        set("WindowTop", QStringLiteral("1200"));
        set("WindowWidth", QStringLiteral("9000"));
        set("WindowHeight", QStringLiteral("6000"));
        set("Timer", QStringLiteral("2000"));
        // A message a crash left claimed is back in Out at the start, though no phone is there.
        const QString out = t->ctx().state().outDir;
        const QString claims = Spool::claimFolder(out, Spool::ownerId(t->ctx().programFolder()));
        QVERIFY(QDir().mkpath(claims));
        t->writeFile(claims + QStringLiteral("/left.sms"), "[Tellwick]\nNo=+493\nText=again\n");
        frmMain& m = main();
        m.Form_Load();
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/left.sms")));
        QVERIFY(m.isLoaded());
        QCOMPARE(setting("isRunning"), QStringLiteral("1"));
        QCOMPARE(m.size(), QSize(600, 400));
        QCOMPARE(m.InTimer->interval(), 2000);
        QVERIFY(m.InTimer->isActive());
        QVERIFY(m.SignalTimer->isActive());
        QVERIFY(m.panelText(QStringLiteral("Status")).contains(QLatin1String("No serial port")));
        QVERIFY(t->readFile(QStringLiteral("tellwick.log")).contains("No serial port set up"));
        QVERIFY(m.isVisible());

        // The signal tick wakes the resting polling timer once sending is switched on.
        set("SendActive", QStringLiteral("0"));
        t->ctx().getSettings();
        m.InTimer->stop();
        m.SignalTimer_Timer();
        QVERIFY(!m.InTimer->isActive());
        set("SendActive", QStringLiteral("1"));
        m.SignalTimer_Timer();
        QVERIFY(m.InTimer->isActive());

        m.resize(480, 300);
        m.Form_Unload();
        QVERIFY(!m.InTimer->isActive() && !m.SignalTimer->isActive());
        QCOMPARE(setting("isRunning"), QStringLiteral("0"));
        QCOMPARE(setting("WindowWidth"), QStringLiteral("7200"));
        QCOMPARE(setting("WindowHeight"), QStringLiteral("4500"));
    }

    void pollingTickWithoutPhoneSendsNothing() {
        frmMain& m = main();
        const QString path = t->ctx().state().outDir + QStringLiteral("/waiting.sms");
        t->writeFile(path, "[Tellwick]\nNo=1\nText=x\n");
        m.InTimer_Timer();
        QVERIFY(QFile::exists(path));
        QVERIFY(!m.timersDisabled());
        QCOMPARE(m.labFolders->text(), QStringLiteral("0 incoming, 1 outgoing, 0 sent, 0 archived"));
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
