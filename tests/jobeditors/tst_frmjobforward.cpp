#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ConnectionBuilder.h"
#include "Database.h"
#include "EditorHarness.h"
#include "ListView.h"
#include "ToolTipControl.h"
#include "cToolTips.h"
#include "frmJobForward.h"

using namespace Qt::StringLiterals;

using Harness = EditorHarness<frmJobForward, 'f', 0, "forward">;

class TestFrmJobForward : public QObject, public Harness {
    Q_OBJECT

public:
    // A stored forward job: "fw", active, plus the recipient keys a test gives.
    TestFrmJobForward()
        : Harness([](const QString&) {
              return Keys{{u"Identification"_s, u"fw"_s}, {u"Name"_s, u"Forwarder"_s}, {u"Active"_s, u"1"_s}};
          }) {}

private:
    static bool databaseControlsEnabled(const frmJobForward& e) {
        return e.Label3->isEnabled() && e.txtConnection->isEnabled() && e.cmdBuild->isEnabled() &&
               e.Label6->isEnabled() && e.txtQuery->isEnabled() && e.cmdHelp->isEnabled();
    }
    static bool databaseControlsDisabled(const frmJobForward& e) {
        return !e.Label3->isEnabled() && !e.txtConnection->isEnabled() && !e.cmdBuild->isEnabled() &&
               !e.Label6->isEnabled() && !e.txtQuery->isEnabled() && !e.cmdHelp->isEnabled() &&
               !e.cmdTest->isEnabled();
    }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(); }

    void newJobStartsWithRecipientsInTheMessage() {
        auto e = create();
        QCOMPARE(e->windowTitle(), u"Tellwick: New forward job [1]"_s);
        QVERIFY(e->optToUserDef->isChecked());
        QVERIFY(!e->txtRecipient->isEnabled());
        QVERIFY(databaseControlsDisabled(*e));
        QVERIFY(e->txtSubject->isEnabled() && e->chkSRR->isEnabled() && e->chkFlash->isEnabled());
        QCOMPARE(e->labExample->text(),
                 u"Example SMS message for this job:\r\n'>f1<Number/Address(list);yourMessageText'"_s);
    }

    void exampleFollowsModeAndIdentifier() {
        auto e = create();
        e->txtJobIdent->setText(u"FW"_s);
        QCOMPARE(e->labExample->text(),
                 u"Example SMS message for this job:\r\n'FWNumber/Address(list);yourMessageText'"_s);
        e->optToDefault->setChecked(true);
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job:\r\n'FWyourMessageText'"_s);
        e->optFromDB->setChecked(true);
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job:\r\n'FWyourMessageText'"_s);
        e->txtJobIdent->clear();
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job:\r\n'yourMessageText'"_s);
    }

    void savedKeysInOrder() {
        auto e = create();
        e->txtJobIdent->setText(u"fw"_s);
        e->txtName->setText(u"All keys"_s);
        e->txtDesc->setText(u"desc"_s);
        e->txtSubject->setText(u"subj"_s);
        e->chkSRR->setChecked(true);
        e->txtRestrict->setText(u"+491"_s);
        e->cmdAdd_Click();
        e->cmdOK_Click();
        QCOMPARE(keys(),
                 (QStringList{u"Type"_s, u"Identification"_s, u"Name"_s, u"Description"_s, u"Subject"_s,
                              u"Report"_s, u"Flash"_s, u"DefaultNo"_s, u"Allow"_s, u"Active"_s}));
        QCOMPARE(read(u"Type"_s), u"0"_s);
        QCOMPARE(read(u"Report"_s), u"1"_s);
        QCOMPARE(read(u"Flash"_s), u"0"_s);
        QCOMPARE(read(u"Active"_s), u"0"_s);
    }

    void databaseJobOpensInDatabaseMode() {
        storeJob({{u"DefaultNo"_s, u"+4911"_s},
                  {u"Connection"_s, u"Provider=SQLite;Data Source=/tmp/x.db"_s},
                  {u"Query"_s, u"SELECT No FROM t"_s}});
        auto e = edit();
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit forward job [1]"_s);
        QVERIFY(e->optFromDB->isChecked());
        QVERIFY(databaseControlsEnabled(*e));
        QVERIFY(e->cmdTest->isEnabled());
        QVERIFY(!e->txtRecipient->isEnabled());
        QVERIFY(e->txtRecipient->text().isEmpty());

        e->cmdOK_Click();
        QCOMPARE(read(u"Connection"_s), u"Provider=SQLite;Data Source=/tmp/x.db"_s);
        QCOMPARE(read(u"Query"_s), u"SELECT No FROM t"_s);
        QVERIFY(!keys().contains(u"DefaultNo"_s));
    }

    void testButtonNeedsAQuery() {
        auto e = create();
        e->optFromDB->setChecked(true);
        QVERIFY(databaseControlsEnabled(*e));
        QVERIFY(!e->cmdTest->isEnabled());
        e->txtQuery->setText(u"SELECT 1"_s);
        QVERIFY(e->cmdTest->isEnabled());
        e->txtQuery->clear();
        QVERIFY(!e->cmdTest->isEnabled());
        e->txtQuery->setText(u"SELECT 1"_s);
        e->optToDefault->setChecked(true);
        QVERIFY(!e->cmdTest->isEnabled());
        QVERIFY(e->txtRecipient->isEnabled());
        QVERIFY(!e->txtConnection->isEnabled());
    }

    // Which mode a stored job opens in follows from its keys alone.
    void modeInferredFromKeys_data() {
        QTest::addColumn<QString>("defaultNo");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("mode");
        QTest::newRow("connection without query, list")
            << u"+4911"_s << u"Provider=ODBC;DSN=x"_s << QString() << u"list"_s;
        QTest::newRow("query without connection, no list")
            << QString() << QString() << u"SELECT 1"_s << u"message"_s;
        QTest::newRow("nothing") << QString() << QString() << QString() << u"message"_s;
        QTest::newRow("all three") << u"+4911"_s << u"Provider=ODBC;DSN=x"_s << u"SELECT 1"_s
                                   << u"database"_s;
    }
    void modeInferredFromKeys() {
        QFETCH(QString, defaultNo);
        QFETCH(QString, connection);
        QFETCH(QString, query);
        QFETCH(QString, mode);
        storeJob({{u"DefaultNo"_s, defaultNo}, {u"Connection"_s, connection}, {u"Query"_s, query}});
        auto e = edit();
        QCOMPARE(e->optToUserDef->isChecked(), mode == u"message"_s);
        QCOMPARE(e->optToDefault->isChecked(), mode == u"list"_s);
        QCOMPARE(e->optFromDB->isChecked(), mode == u"database"_s);
        QCOMPARE(e->txtRecipient->isEnabled(), mode == u"list"_s);
        QCOMPARE(e->txtConnection->isEnabled(), mode == u"database"_s);
        if (mode == u"list"_s) {
            QCOMPARE(e->txtRecipient->text(), defaultNo);
        }
    }

    // Saving one way, then opening again, gives the mode the keys now describe.
    void saveThenReopen_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("reopenedMode");
        QTest::newRow("database job with empty query") << u"db-empty-query"_s << u"message"_s;
        QTest::newRow("list job with empty list") << u"list-empty"_s << u"message"_s;
        QTest::newRow("database switched to list") << u"db-to-list"_s << u"list"_s;
        QTest::newRow("list switched to message") << u"list-to-message"_s << u"message"_s;
    }
    void saveThenReopen() {
        QFETCH(QString, action);
        QFETCH(QString, reopenedMode);
        const bool fromDb = action.startsWith(u"db"_s);
        if (fromDb) {
            storeJob({{u"Connection"_s, u"Provider=SQLite;Data Source=a.db"_s},
                      {u"Query"_s, u"SELECT n FROM t"_s}});
        } else {
            storeJob({{u"DefaultNo"_s, u"+4911,+4922"_s}});
        }
        {
            auto e = edit();
            QVERIFY(fromDb ? e->optFromDB->isChecked() : e->optToDefault->isChecked());
            if (action == u"db-empty-query"_s) {
                e->txtQuery->clear();
            } else if (action == u"list-empty"_s) {
                e->txtRecipient->clear();
            } else if (action == u"db-to-list"_s) {
                e->optToDefault->setChecked(true);
                e->txtRecipient->setText(u"+4933"_s);
            } else {
                e->optToUserDef->setChecked(true);
            }
            e->cmdOK_Click();
        }
        if (action == u"db-empty-query"_s) {
            QVERIFY(!keys().contains(u"DefaultNo"_s));
            QCOMPARE(read(u"Query"_s), QString());
        }
        if (action == u"db-to-list"_s) {
            QVERIFY(!keys().contains(u"Connection"_s));
            QVERIFY(!keys().contains(u"Query"_s));
            QCOMPARE(read(u"DefaultNo"_s), u"+4933"_s);
        }
        if (action == u"list-to-message"_s) {
            QVERIFY(keys().contains(u"DefaultNo"_s));
            QCOMPARE(read(u"DefaultNo"_s), QString());
        }
        auto again = edit();
        QCOMPARE(again->optToUserDef->isChecked(), reopenedMode == u"message"_s);
        QCOMPARE(again->optToDefault->isChecked(), reopenedMode == u"list"_s);
    }

    void semicolonsBecomeCommas() {
        auto e = create();
        e->txtName->setText(u"List"_s);
        e->optToDefault->setChecked(true);
        e->txtRecipient->setText(u"+4911;a@b.example;+4922"_s);
        e->cmdOK_Click();
        QCOMPARE(read(u"DefaultNo"_s), u"+4911,a@b.example,+4922"_s);
        auto again = edit();
        QVERIFY(again->optToDefault->isChecked());
        QCOMPARE(again->txtRecipient->text(), u"+4911,a@b.example,+4922"_s);
    }

    // A job made in the editor comes back with every value as typed.
    void newJobRoundTrip() {
        const QString longSubject = QString(300, u'x') + u"end"_s;
        {
            auto e = create();
            e->txtJobIdent->setText(u"FWD"_s);
            e->txtName->setText(u"Office, forward"_s);
            e->txtDesc->setText(u"Sends on to the office"_s);
            e->txtSubject->setText(longSubject);
            e->chkSRR->setChecked(true);
            e->chkFlash->setChecked(true);
            e->optFromDB->setChecked(true);
            e->txtConnection->setText(u"Provider=SQLite;Data Source=/data/people.db"_s);
            e->txtQuery->setText(u"SELECT [Mobile] FROM [People] WHERE x='a=b'"_s);
            e->txtRestrict->setText(u"+4911"_s);
            e->cmdAdd_Click();
            e->txtRestrict->setText(u"+4922"_s);
            e->cmdAdd_Click();
            e->optDeny->setChecked(true);
            e->chkActive->setChecked(true);
            e->cmdOK_Click();
            QVERIFY(t->msgBox().shown().isEmpty());
        }
        auto e = edit();
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit forward job [1]"_s);
        QCOMPARE(e->txtJobIdent->text(), u"FWD"_s);
        QCOMPARE(e->txtName->text(), u"Office, forward"_s);
        QCOMPARE(e->txtDesc->text(), u"Sends on to the office"_s);
        QCOMPARE(e->txtSubject->text(), longSubject);
        QVERIFY(e->chkSRR->isChecked());
        QVERIFY(e->chkFlash->isChecked());
        QVERIFY(e->chkActive->isChecked());
        QVERIFY(e->optFromDB->isChecked());
        QCOMPARE(e->txtConnection->text(), u"Provider=SQLite;Data Source=/data/people.db"_s);
        QCOMPARE(e->txtQuery->text(), u"SELECT [Mobile] FROM [People] WHERE x='a=b'"_s);
        QVERIFY(e->optDeny->isChecked());
        QCOMPARE(e->lstRestrict->count(), 2);
        QCOMPARE(e->lstRestrict->item(1)->text(), u"+4922"_s);
    }

    // Made through the chooser, listed by the job list, opened again from it with its values.
    void createdFromTheJobListAndEditedAgain() {
        ini().writeINI(jobSection(u"f1"_s), u"Type"_s, u"0"_s);
        ini().writeINI(jobSection(u"f1"_s), u"Identification"_s, u"old"_s);
        auto* jobs = jobList();
        QString caption;
        newFromChooser(jobs, [&](frmJobForward& e) {
            caption = e.windowTitle();
            e.txtJobIdent->setText(u"FWD"_s);
            e.txtName->setText(u"To the office"_s);
            e.optToDefault->setChecked(true);
            e.txtRecipient->setText(u"+4911;+4922"_s);
            e.cmdOK->click();
        });
        QCOMPARE(caption, u"Tellwick: New forward job [2]"_s);
        QCOMPARE(jobs->lstJobs2->count(), 2);

        ListItem* row = jobs->lstJobs2->findItemByTag(u"f2"_s);
        QVERIFY(row);
        QCOMPARE(row->subItem(1), u"FWD"_s);
        QCOMPARE(row->subItem(2), u"To the office"_s);
        QString recipients;
        editFromJobList(jobs, row, [&](frmJobForward& e) {
            caption = e.windowTitle();
            recipients = e.optToDefault->isChecked() ? e.txtRecipient->text() : QString();
            e.cmdCancel->click();
        });
        QCOMPARE(caption, u"Tellwick: Edit forward job [2]"_s);
        QCOMPARE(recipients, u"+4911,+4922"_s);
    }

    void registeredAndUnloadedAfterSave() {
        jobList();
        QPointer<frmJobForward> e = loadedEditor();
        QVERIFY(e);
        e->setUpJob(u"Tellwick: New forward job"_s, QString());
        e->txtName->setText(u"Via registry"_s);
        e->cmdOK_Click();
        QCOMPARE(read(u"Name"_s), u"Via registry"_s);
        QTRY_VERIFY(e.isNull());
        QPointer<frmJobForward> fresh = loadedEditor();
        QVERIFY(fresh && !fresh->isSetUp());
    }

    void toolTipsInOrder() {
        frmJobForward e(t->ctx());
        const QList<ToolInfo>& tools = ToolTipWindows::control(e.toolTips()->hWnd())->tools();
        QCOMPARE(tools.size(), 22);
        const QList<QWidget*> own = {e.optToUserDef, e.optToDefault,  e.optFromDB, e.txtRecipient,
                                     e.txtSubject,   e.txtConnection, e.cmdBuild,  e.cmdTest,
                                     e.txtQuery,     e.cmdHelp,       e.chkSRR,    e.chkFlash};
        QCOMPARE(tools.at(0).uId, ToolTipWindows::handleOf(e.txtJobIdent));
        QCOMPARE(tools.at(9).uId, ToolTipWindows::handleOf(e.chkActive));
        for (int i = 0; i < own.size(); ++i) {
            QCOMPARE(tools.at(10 + i).uId, ToolTipWindows::handleOf(own.at(i)));
        }
        QCOMPARE(
            tools.at(10).text,
            u"Choose this option, if you want to send the recipient's number(s) by SMS. In your message, "
            "seperate multiple numbers by commas."_s);
        QCOMPARE(tools.at(15).text,
                 u"Enter an ADO connection string to connect to your database. Example: "
                 "'PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=<FullPathToDB>;'."_s);
        QCOMPARE(tools.at(21).text,
                 u"Check this box to forward messages as flash (alert) SMS. Applies to SMS messages only."_s);
    }

    void connectionBuilderFillsTheBox_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("built") << u"Provider=SQLite;Data Source=/data/people.db"_s
                               << u"Provider=SQLite;Data Source=/data/people.db"_s;
        QTest::newRow("cancelled") << QString() << u"Provider=ODBC;DSN=before"_s;
    }
    void connectionBuilderFillsTheBox() {
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        auto e = create();
        e->optFromDB->setChecked(true);
        e->txtConnection->setText(u"Provider=ODBC;DSN=before"_s);
        e->connectionBuilder()->queueAnswer(answer);
        e->cmdBuild->click();
        QTRY_VERIFY(!e->connectionBuilder()->isActive());
        QCOMPARE(e->txtConnection->text(), expected);
    }

    void closingTheEditorDropsTheBuildersResult() {
        auto e = create();
        e->optFromDB->setChecked(true);
        e->txtName->setText(u"Closed early"_s);
        e->cmdBuild_Click();  // nothing queued: the builder stays open
        QVERIFY(e->connectionBuilder()->isActive());
        QVERIFY(e->txtName->isEnabled() && e->cmdOK->isEnabled());  // the editor stays usable
        e->cmdCancel_Click();
        QVERIFY(!e->connectionBuilder()->isActive());
        e->connectionBuilder()->answer(u"Provider=SQLite;Data Source=late.db"_s);
        QCOMPARE(e->txtConnection->text(), QString());
        QVERIFY(!ini().hasSection(u"Job f1"_s));
    }

    void testButtonRunsTheDatabaseTest() {
        const QString file = t->path(u"people.db"_s);
        t->writeFile(u"people.db"_s, QByteArray());
        {
            Connection db;
            QVERIFY2(db.open(u"Provider=SQLite;Data Source="_s + file), qPrintable(db.errorText()));
            QVERIFY(db.execute(u"CREATE TABLE people (mobile TEXT)"_s));
            QVERIFY(db.execute(u"INSERT INTO people VALUES ('+49 (171) 555-01')"_s));
            QVERIFY(db.execute(u"INSERT INTO people VALUES ('ann@example.org')"_s));
        }
        auto e = create();
        e->optFromDB->setChecked(true);
        e->txtConnection->setText(u"Provider=SQLite;Data Source="_s + file);
        e->txtQuery->setText(u"SELECT mobile FROM people"_s);
        e->cmdTest->click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        MsgBox::Shown box = t->msgBox().shown().first();
        QCOMPARE(box.title, u"Tellwick: Test database query"_s);
        QCOMPARE(box.icon, MsgBox::Information);
        QCOMPARE(box.text,
                 u"Tellwick has successfully connected to your Database\r\nand queried your table. The "
                 "result consists of 2 record(s):\r\n\r\n+49 (171) 555-01, ann@example.org"_s);

        e->txtConnection->setText(u"Provider=SQLite;Data Source="_s + t->path(u"missing.db"_s));
        e->cmdTest_Click();
        QCOMPARE(t->msgBox().shown().size(), 2);
        box = t->msgBox().shown().last();
        QCOMPARE(box.title, u"Tellwick: Test database connection"_s);
        QCOMPARE(box.icon, MsgBox::Critical);
        QVERIFY(!QFile::exists(t->path(u"missing.db"_s)));
        QCOMPARE(e->txtConnection->text(), u"Provider=SQLite;Data Source="_s + t->path(u"missing.db"_s));
    }
};

QTEST_MAIN(TestFrmJobForward)
#include "tst_frmjobforward.moc"
