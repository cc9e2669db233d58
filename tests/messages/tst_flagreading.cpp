// An on/off flag that a hand edit left untidy reads the same in every window and in the engine.
#include <QtTest>

#include <QCheckBox>
#include <QRadioButton>

#include "BrowserListing.h"
#include "JobEditorWindows.h"
#include "JobList.h"
#include "MessagesWindows.h"
#include "TestContext.h"
#include "frmEditMsg.h"
#include "frmJobExec.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

class tst_FlagReading : public QObject {
    Q_OBJECT

private slots:
    void everyReaderAgrees_data();
    void everyReaderAgrees();
};

void tst_FlagReading::everyReaderAgrees_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("set");
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("1abc") << u"1abc"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("abc") << u"abc"_s << false;
    QTest::newRow("blanks around 1") << u" 1 "_s << true;
}

void tst_FlagReading::everyReaderAgrees() {
    QFETCH(QString, value);
    QFETCH(bool, set);
    TestContext t;
    registerMessagesWindows(t.ctx().windows());
    registerJobEditorWindows(t.ctx().windows());
    // Written as a hand edit leaves them, past the settings layer.
    const QByteArray v = value.toUtf8();
    t.writeFile(QFileInfo(t.settingsFile()).fileName(),
                "[Settings]\nDebug=" + v + "\nLogSMS=" + v + "\nReceiveActive=" + v + "\nShowSendResult=" +
                    v + "\n[Job e1]\nType=1\nIdentification=STATUS\nName=Heating\nActive=" + v + "\n");
    QDir(t.folder()).mkpath(u"In"_s);
    t.writeFile(u"In/+4917012345678-20261201-140509.sms"_s,
                "[Tellwick]\nNo=+4917012345678\nText=Hallo\nRead=" + v + "\n");

    t.ctx().getSettings();
    QCOMPARE(t.ctx().state().debugMode, set);
    QCOMPARE(t.ctx().state().logSMSFlag, set);
    QCOMPARE(t.ctx().state().receiveActive, set);

    const QList<JobRow> jobs = scanJobs(t.ini());
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs[0].active, set);
    auto* editor = t.ctx().windows().get<frmJobExec>(u"frmJobExec"_s);
    editor->setUpJob(u"Tellwick: Edit exec job"_s, u"e1"_s);
    QCOMPARE(editor->chkActive->isChecked(), set);

    QCOMPARE(t.ctx().windows().get<frmSendSMS>(u"frmSendSMS"_s)->Check1->isChecked(), set);

    const QList<BrowserLine> lines = BrowserListing(t.ini()).list(BrowserTabs::Incoming, t.path(u"In"_s));
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].bold, !set);  // unread messages are bold
    auto* viewer = t.ctx().windows().get<frmEditMsg>(u"frmEditMsg"_s);
    viewer->messageFile = t.path(u"In/"_s + lines[0].tag);
    viewer->browserTab = BrowserTabs::Incoming;
    viewer->show();
    QCOMPARE(viewer->optStatus[0]->isChecked(), set);
    TW_VERIFY_NO_UNANSWERED(t);
}

QTEST_MAIN(tst_FlagReading)
#include "tst_flagreading.moc"
