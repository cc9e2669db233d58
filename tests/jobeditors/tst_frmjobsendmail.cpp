#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
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
#include "frmJobSendmail.h"

using namespace Qt::StringLiterals;

namespace {
const QString kNoServerText =
    u"You haven't set up a mailserver to send E-Mail messages.\r\nPlease use the Settings/Mail Settings menu "
    "to do so, otherwise\r\nthis job can't be executed."_s;
const QString kPrefix = u"Example SMS message for this job: '"_s;
}  // namespace

using Harness = EditorHarness<frmJobSendmail, 's', 3, "sendmail">;

class TestFrmJobSendmail : public QObject, public Harness {
    Q_OBJECT

public:
    // A stored sendmail job "mail", active, plus the keys a test gives.
    TestFrmJobSendmail()
        : Harness([](const QString&) {
              return Keys{{u"Identification"_s, u"mail"_s}, {u"Name"_s, u"Mailer"_s}, {u"Active"_s, u"1"_s}};
          }) {}

private:
    // "message", "list", "database" or "none".
    static QString mode(const frmJobSendmail& e) {
        if (e.optRCPwithMsg->isChecked())
            return u"message"_s;
        if (e.optRCPList->isChecked())
            return u"list"_s;
        if (e.optRCPDB->isChecked())
            return u"database"_s;
        return u"none"_s;
    }
    // Saves with a mail server set up, so no warning box comes.
    void save(frmJobSendmail& e) {
        t->ctx().state().smtpServer = u"mail.example.org"_s;
        e.cmdOK_Click();
        QVERIFY(t->msgBox().shown().isEmpty());
    }
    // A SQLite file "people.db" of the program folder holding one table of the given rows.
    QString database(const QString& create, const QStringList& inserts) {
        t->writeFile(u"people.db"_s, QByteArray());
        const QString connection = u"Provider=SQLite;Data Source="_s + t->path(u"people.db"_s);
        Connection db;
        if (!db.open(connection))
            return {};
        db.execute(create);
        for (const QString& insert : inserts) {
            db.execute(insert);
        }
        return connection;
    }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(); }

    void newJobHasNoModeYet() {
        ini().writeINI(u"Job s1"_s, u"Type"_s, u"3"_s);
        auto e = create();
        QCOMPARE(e->windowTitle(), u"Tellwick: New sendmail job [2]"_s);
        QCOMPARE(e->txtJobIdent->text(), u">s2<"_s);
        QCOMPARE(mode(*e), u"none"_s);
        QVERIFY(!e->txtRecipient->isEnabled() && !e->txtConnection->isEnabled() && !e->txtQuery->isEnabled());
        QVERIFY(e->cmdBuild->isEnabled() && e->cmdHelp->isEnabled() && e->cmdBrowse->isEnabled());
        QVERIFY(!e->cmdTest->isEnabled() && !e->cmdFileAdd->isEnabled() && !e->cmdRemove->isEnabled());
        QVERIFY(!e->cmdOK->isEnabled());
        QVERIFY(!e->chkActive->isChecked());
        QCOMPARE(e->lstFiles->count(), 0);
        QCOMPARE(e->labExample->text(), kPrefix + u">s2<'"_s);
        // Captions that differ from the other editors.
        QCOMPARE(e->chkActive->text(), u"T&his job is active"_s);
        QCOMPARE(e->cmdAdd->text(), u"< &Add"_s);
        QCOMPARE(e->Label2->text(), u"Job descri&ption:"_s);
        QVERIFY(e->labExample->font().bold());
        QCOMPARE(e->cmdBrowse->toolTip(), u"Browse for files to attach..."_s);
    }

    void enableRulesOfTheModes() {
        auto e = create();
        e->optRCPList->setChecked(true);
        QVERIFY(e->txtRecipient->isEnabled());
        QVERIFY(!e->txtConnection->isEnabled() && !e->txtQuery->isEnabled() && !e->cmdBuild->isEnabled() &&
                !e->cmdHelp->isEnabled() && !e->cmdTest->isEnabled());

        e->optRCPDB->setChecked(true);
        QVERIFY(!e->txtRecipient->isEnabled());
        QVERIFY(e->txtConnection->isEnabled() && e->txtQuery->isEnabled() && e->cmdBuild->isEnabled() &&
                e->cmdHelp->isEnabled());
        QVERIFY(!e->cmdTest->isEnabled());
        e->txtQuery->setPlainText(u"SELECT mail FROM people"_s);
        QVERIFY(!e->cmdTest->isEnabled());  // needs the connection as well
        e->txtConnection->setText(u"Provider=SQLite;Data Source=x.db"_s);
        QVERIFY(e->cmdTest->isEnabled());
        e->txtQuery->clear();
        QVERIFY(!e->cmdTest->isEnabled());
        e->txtQuery->setPlainText(u"SELECT 1"_s);

        e->optRCPwithMsg->setChecked(true);
        QVERIFY(!e->txtRecipient->isEnabled() && !e->txtConnection->isEnabled() && !e->cmdTest->isEnabled() &&
                !e->cmdBuild->isEnabled());
        // Disabled boxes keep their texts.
        QCOMPARE(e->txtConnection->text(), u"Provider=SQLite;Data Source=x.db"_s);
        e->optRCPDB->setChecked(true);
        QVERIFY(e->cmdTest->isEnabled());
    }

    void exampleText_data() {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("message, variables in subject and text")
            << u"SM"_s << u"message"_s << u"Re <#1>"_s << u"see <#3>"_s << QString() << QString()
            << u"SMAddress(es);Var#1,Var#3"_s;
        QTest::newRow("list without variables")
            << u"SM"_s << u"list"_s << u"Hi"_s << u"text"_s << QString() << QString() << u"SM"_s;
        QTest::newRow("default job, message") << QString() << u"message"_s << QString() << QString()
                                              << QString() << QString() << u"Address(es)"_s;
        QTest::newRow("<#11> and <#1x> add nothing")
            << u"SM"_s << u"list"_s << u"<#11>"_s << u"<#1x> <#0>"_s << QString() << QString() << u"SM"_s;
        QTest::newRow("<#10> alone") << u"SM"_s << u"list"_s << u"<#10>"_s << QString() << QString()
                                     << QString() << u"SMVar#10"_s;
        QTest::newRow("variable in an attachment path") << u"SM"_s << u"list"_s << QString() << QString()
                                                        << QString() << u"/data/<#1>.pdf"_s << u"SMVar#1"_s;
        QTest::newRow("query counts in any mode, in number order")
            << u"SM"_s << u"message"_s << u"<#2>"_s << QString() << u"WHERE a='<#7>' OR b='<#2>'"_s
            << QString() << u"SMAddress(es);Var#2,Var#7"_s;
        QTest::newRow("no mode, variables")
            << u"X"_s << u"none"_s << u"<#4>"_s << u"<#5>"_s << QString() << QString() << u"XVar#4,Var#5"_s;
        QTest::newRow("identifier ending in a separator is kept whole")
            << u"SM;"_s << u"list"_s << QString() << QString() << QString() << QString() << u"SM;"_s;
    }
    void exampleText() {
        QFETCH(QString, ident);
        QFETCH(QString, mode);
        QFETCH(QString, subject);
        QFETCH(QString, text);
        QFETCH(QString, query);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        auto e = create();
        e->txtJobIdent->setText(ident);
        if (mode == u"message"_s)
            e->optRCPwithMsg->setChecked(true);
        else if (mode == u"list"_s)
            e->optRCPList->setChecked(true);
        e->txtSubject->setText(subject);
        e->txtText->setPlainText(text);
        e->txtQuery->setPlainText(query);
        if (!file.isEmpty()) {
            e->txtAttach->setText(file);
            e->cmdFileAdd->click();
        }
        QCOMPARE(e->labExample->text(), kPrefix + expected + u'\'');
        QCOMPARE(e->Example(), e->labExample->text());
    }

    void attachmentList() {
        auto e = create();
        e->optRCPList->setChecked(true);
        e->txtAttach->setText(u"/data/<#2>.txt"_s);
        QVERIFY(e->cmdFileAdd->isEnabled());
        e->cmdFileAdd->click();
        e->cmdFileAdd->click();  // the path stays in the box: added twice
        QCOMPARE(e->txtAttach->text(), u"/data/<#2>.txt"_s);
        QCOMPARE(e->lstFiles->count(), 2);
        QCOMPARE(e->labExample->text(), kPrefix + u">s1<Var#2'"_s);
        QVERIFY(!e->cmdRemove->isEnabled());
        e->lstFiles->setCurrentRow(0);
        QVERIFY(e->cmdRemove->isEnabled());
        e->cmdRemove->click();
        QCOMPARE(e->lstFiles->count(), 1);
        QVERIFY(e->lstFiles->selectedItems().isEmpty());
        QVERIFY(!e->cmdRemove->isEnabled());
        e->lstFiles->setCurrentRow(0);
        e->cmdRemove->click();
        QCOMPARE(e->labExample->text(), kPrefix + u">s1<'"_s);
        e->txtAttach->clear();
        QVERIFY(!e->cmdFileAdd->isEnabled());
    }

    // The list is stored joined by commas, so a path holding one is refused, not split later.
    void pathWithACommaIsRefused() {
        auto e = create();
        e->txtAttach->setText(u"/data/a,b.pdf"_s);
        e->cmdFileAdd_Click();
        QCOMPARE(e->lstFiles->count(), 0);
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().title, u"Invalid attachment"_s);
        QCOMPARE(t->msgBox().shown().first().icon, MsgBox::Critical);
        QCOMPARE(e->txtAttach->text(), u"/data/a,b.pdf"_s);
    }

    void browseFillsTheAttachmentBox() {
        auto e = create();
        t->ctx().prompts().files.queueFile(t->path(u"report.pdf"_s));
        e->cmdBrowse->click();
        QCOMPARE(e->txtAttach->text(), t->path(u"report.pdf"_s));
        QVERIFY(e->lstFiles->count() == 0);  // chosen, not yet added
        const auto& asked = t->ctx().prompts().files.asked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().title, u"Select a file to attach to your message:"_s);
        QCOMPARE(asked.first().startFolder, t->folder());
        QVERIFY(asked.first().filter.startsWith(u"All files ("_s));
        e->cmdBrowse->click();  // cancelled: the box keeps its path
        QCOMPARE(e->txtAttach->text(), t->path(u"report.pdf"_s));
    }

    void newJobSavedWithoutMode() {
        auto e = create();
        e->txtName->setText(u"No mode"_s);
        e->txtDesc->setText(u"d"_s);
        save(*e);
        QCOMPARE(keys(),
                 (QStringList{u"Type"_s, u"Identification"_s, u"Name"_s, u"Description"_s, u"Connection"_s,
                              u"Query"_s, u"Subject"_s, u"Text"_s, u"Attachments"_s, u"Active"_s}));
        QCOMPARE(read(u"Type"_s), u"3"_s);
        QCOMPARE(read(u"Attachments"_s), QString());
        QCOMPARE(read(u"Active"_s), u"0"_s);
        auto again = edit();
        QCOMPARE(mode(*again), u"message"_s);
        QCOMPARE(again->labExample->text(), kPrefix + u">s1<Address(es)'"_s);
    }

    void savedKeysPerMode_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("recipients");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QString>("reopened");
        const QString c = u"Connection"_s, q = u"Query"_s, r = u"Recipient"_s;
        QTest::newRow("list with ';'") << u"list"_s << u"a@x.org;b@y.org"_s << QString() << QStringList{r}
                                       << QStringList{c, q} << u"list"_s;
        QTest::newRow("empty list") << u"list"_s << QString() << QString() << QStringList{r}
                                    << QStringList{c, q} << u"message"_s;
        QTest::newRow("message") << u"message"_s << u"kept@x.org"_s << QString() << QStringList{r}
                                 << QStringList{c, q} << u"message"_s;
        QTest::newRow("database") << u"database"_s << u"a@x.org"_s << u"SELECT mail FROM p"_s
                                  << QStringList{c, q} << QStringList{r} << u"database"_s;
        QTest::newRow("database, empty query")
            << u"database"_s << QString() << QString() << QStringList{c, q} << QStringList{r} << u"message"_s;
    }
    void savedKeysPerMode() {
        QFETCH(QString, mode);
        QFETCH(QString, recipients);
        QFETCH(QString, query);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QFETCH(QString, reopened);
        {
            auto e = create();
            e->txtName->setText(u"Modes"_s);
            e->txtRecipient->setText(recipients);
            e->txtConnection->setText(u"Provider=ODBC;DSN=people"_s);
            e->txtQuery->setPlainText(query);
            (mode == u"list"_s      ? e->optRCPList
             : mode == u"message"_s ? e->optRCPwithMsg
                                    : e->optRCPDB)
                ->setChecked(true);
            save(*e);
        }
        for (const QString& key : present) {
            QVERIFY2(keys().contains(key), qPrintable(key));
        }
        for (const QString& key : absent) {
            QVERIFY2(!keys().contains(key), qPrintable(key));
        }
        if (mode == u"list"_s) {
            QCOMPARE(read(u"Recipient"_s), QString(recipients).replace(u';', u','));
        } else if (mode == u"message"_s) {
            QCOMPARE(read(u"Recipient"_s), QString());
        } else {
            QCOMPARE(read(u"Connection"_s), u"Provider=ODBC;DSN=people"_s);
            QCOMPARE(read(u"Query"_s), query);
        }
        auto again = edit();
        QCOMPARE(TestFrmJobSendmail::mode(*again), reopened);
        if (reopened == u"list"_s) {
            QCOMPARE(again->txtRecipient->text(), u"a@x.org,b@y.org"_s);
            QVERIFY(again->txtRecipient->isEnabled());
        }
        if (reopened == u"database"_s) {
            QVERIFY(again->txtConnection->isEnabled() && again->cmdTest->isEnabled());
        }
    }

    void switchingAwayFromTheDatabase() {
        storeJob({{u"Connection"_s, u"Provider=ODBC;DSN=people"_s}, {u"Query"_s, u"SELECT mail FROM p"_s}});
        {
            auto e = edit();
            QCOMPARE(mode(*e), u"database"_s);
            e->optRCPList->setChecked(true);
            e->txtRecipient->setText(u"a@x.org"_s);
            e->optRCPDB->setChecked(true);  // back before saving: kept
            save(*e);
        }
        QCOMPARE(read(u"Query"_s), u"SELECT mail FROM p"_s);
        QVERIFY(!keys().contains(u"Recipient"_s));
        {
            auto e = edit();
            e->optRCPList->setChecked(true);
            e->txtRecipient->setText(u"a@x.org"_s);
            save(*e);
        }
        QVERIFY(!keys().contains(u"Connection"_s) && !keys().contains(u"Query"_s));
        QCOMPARE(read(u"Recipient"_s), u"a@x.org"_s);
    }

    // Edited by hand to hold both: the job runs on the database, so the editor shows that
    // mode, and saving it unchanged keeps the database (the list never took effect).
    void listAndDatabaseBothStored() {
        storeJob({{u"Recipient"_s, u"a@x.org"_s},
                  {u"Connection"_s, u"Provider=ODBC;DSN=people"_s},
                  {u"Query"_s, u"SELECT mail FROM p"_s}});
        auto e = edit();
        QCOMPARE(mode(*e), u"database"_s);
        QVERIFY(e->cmdTest->isEnabled() && !e->txtRecipient->isEnabled());
        QCOMPARE(e->txtRecipient->text(), u"a@x.org"_s);
        save(*e);
        QCOMPARE(read(u"Connection"_s), u"Provider=ODBC;DSN=people"_s);
        QCOMPARE(read(u"Query"_s), u"SELECT mail FROM p"_s);
        QVERIFY(!keys().contains(u"Recipient"_s));
    }

    void textLinesAndBars() {
        {
            auto e = create();
            e->txtName->setText(u"Lines"_s);
            e->txtText->setPlainText(u"first line\nsecond line"_s);
            e->txtSubject->setText(u"a|b"_s);  // the subject is stored as typed
            save(*e);
        }
        QCOMPARE(read(u"Text"_s), u"first line|second line"_s);
        QCOMPARE(read(u"Subject"_s), u"a|b"_s);
        ini().writeINI(u"Job s1"_s, u"Text"_s, u"typed|bar"_s);
        auto e = edit();
        QCOMPARE(e->txtText->toPlainText(), u"typed\nbar"_s);
        QCOMPARE(e->txtText->document()->blockCount(), 2);
        QCOMPARE(e->txtSubject->text(), u"a|b"_s);
    }

    void attachmentsStoredAndLoaded() {
        storeJob({{u"Attachments"_s, u"/a/one.pdf, /b/two.txt"_s}});
        {
            auto e = edit();
            QCOMPARE(e->lstFiles->count(), 2);
            QCOMPARE(e->lstFiles->item(1)->text(), u"/b/two.txt"_s);
            QVERIFY(!e->cmdRemove->isEnabled());
            save(*e);
        }
        QCOMPARE(read(u"Attachments"_s), u"/a/one.pdf,/b/two.txt"_s);
        {
            auto e = edit();
            e->lstFiles->setCurrentRow(0);
            e->cmdRemove_Click();
            e->lstFiles->setCurrentRow(0);
            e->cmdRemove_Click();
            save(*e);
        }
        QVERIFY(keys().contains(u"Attachments"_s));
        QCOMPARE(read(u"Attachments"_s), QString());
    }

    // A job made in the editor comes back with every value as typed, long ones whole.
    void newJobRoundTrip() {
        const QString longText = u"Dear <$sendername>,\n"_s + QString(300, u't') + u"\nbye"_s;
        QStringList files;
        for (int i = 0; i < 20; ++i) {
            files.append(u"/srv/reports/monthly-report-%1.pdf"_s.arg(i));
        }
        {
            auto e = create();
            e->txtJobIdent->setText(u"MAIL"_s);
            e->txtName->setText(u"Mail, reports"_s);
            e->txtDesc->setText(u"Sends the reports"_s);
            e->optRCPDB->setChecked(true);
            e->txtConnection->setText(u"Provider=SQLite;Data Source=/data/people.db"_s);
            e->txtQuery->setPlainText(u"SELECT [Mail] FROM [People] WHERE No='<$sender>' AND x='a=b'"_s);
            e->txtRecipient->setText(u"ignored@x.org"_s);
            e->txtSubject->setText(u"Report <#1>"_s);
            e->txtText->setPlainText(longText);
            for (const QString& f : files) {
                e->txtAttach->setText(f);
                e->cmdFileAdd_Click();
            }
            e->txtRestrict->setText(u"+4911"_s);
            e->cmdAdd_Click();
            e->txtRestrict->setText(u"+4922"_s);
            e->cmdAdd_Click();
            e->optDeny->setChecked(true);
            e->chkActive->setChecked(true);
            save(*e);
        }
        QVERIFY(read(u"Attachments"_s).size() > 254);
        auto e = edit();
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit sendmail job [1]"_s);
        QCOMPARE(e->txtJobIdent->text(), u"MAIL"_s);
        QCOMPARE(e->txtName->text(), u"Mail, reports"_s);
        QCOMPARE(e->txtDesc->text(), u"Sends the reports"_s);
        QCOMPARE(mode(*e), u"database"_s);
        QCOMPARE(e->txtConnection->text(), u"Provider=SQLite;Data Source=/data/people.db"_s);
        QCOMPARE(e->txtQuery->toPlainText(),
                 u"SELECT [Mail] FROM [People] WHERE No='<$sender>' AND x='a=b'"_s);
        QCOMPARE(e->txtRecipient->text(), QString());  // not stored in the database mode
        QCOMPARE(e->txtSubject->text(), u"Report <#1>"_s);
        QCOMPARE(e->txtText->toPlainText(), longText);
        QCOMPARE(e->lstFiles->count(), files.size());
        QCOMPARE(e->lstFiles->item(19)->text(), files.last());
        QVERIFY(e->chkActive->isChecked());
        QVERIFY(e->optDeny->isChecked());
        QCOMPARE(e->lstRestrict->count(), 2);
        QCOMPARE(e->labExample->text(), kPrefix + u"MAILVar#1'"_s);
    }

    void mailServerWarning_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("warned");
        QTest::newRow("none") << QString() << true;
        QTest::newRow("set") << u"mail.example.org"_s << false;
    }
    void mailServerWarning() {
        QFETCH(QString, server);
        QFETCH(bool, warned);
        // Only the shared state counts, not what the settings file says.
        ini().writeINI(u"Settings"_s, u"SMTPServer"_s, warned ? u"file.example.org"_s : QString());
        t->ctx().state().smtpServer = server;
        auto* jobs = jobList();
        QCOMPARE(jobs->lstJobs2->count(), 0);
        for (int round = 0; round < 2; ++round) {  // new, then edited
            QPointer<frmJobSendmail> e = loadedEditor();
            e->setUpJob(round == 0 ? u"Tellwick: New sendmail job"_s : u"Tellwick: Edit sendmail job"_s,
                        u"s1"_s);
            e->txtName->setText(u"Warned"_s);
            e->cmdOK_Click();
            QCOMPARE(read(u"Name"_s), u"Warned"_s);
            QCOMPARE(jobs->lstJobs2->count(), 1);
            QTRY_VERIFY(e.isNull());  // closed and unloaded
        }
        QCOMPARE(t->msgBox().shown().size(), warned ? 2 : 0);
        if (warned) {
            const MsgBox::Shown box = t->msgBox().shown().first();
            QCOMPARE(box.title, u"Tellwick: No mailserver specified"_s);
            QCOMPARE(box.text, kNoServerText);
            QCOMPARE(box.icon, MsgBox::Information);
            QCOMPARE(box.buttons, MsgBox::OKOnly);
        }
    }

    void notUniqueIdentifierSavesNothing() {
        ini().writeINI(u"Job f4"_s, u"Type"_s, u"0"_s);
        ini().writeINI(u"Job f4"_s, u"Identification"_s, u"MAIL"_s);
        ini().writeINI(u"Job f4"_s, u"Name"_s, u"Forwarder"_s);
        auto e = create();
        e->txtJobIdent->setText(u"MAIL"_s);
        e->txtName->setText(u"Clash"_s);
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().title, u"Job identifier not unique"_s);
        QVERIFY(!ini().hasSection(u"Job s1"_s));
    }

    void databaseTest_data() {
        QTest::addColumn<QString>("schema");
        QTest::addColumn<QStringList>("inserts");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString one = u"CREATE TABLE p (id INTEGER PRIMARY KEY, mail TEXT, name TEXT)"_s;
        const QString sqlTitle = u"Tellwick: Test SQL query"_s;
        const QString okTitle = u"Tellwick: Test database query"_s;
        const QString success =
            u"Tellwick has successfully connected to your Database\r\nand queried your table. The result "
            "consists of %1 record(s):\r\n\r\n"_s;
        QTest::newRow("two columns, no rows")
            << one << QStringList() << u"SELECT mail, name FROM p"_s << sqlTitle
            << u"Your query returned more than one column.\r\n\r\nPlease make sure to select only the column "
               "that contains\r\nmobile phone numbers."_s;
        QTest::newRow("one column, no rows")
            << one << QStringList() << u"SELECT mail FROM p"_s << okTitle << success.arg(0);
        QTest::newRow("first value without @")
            << one
            << QStringList{u"INSERT INTO p (mail) VALUES ('+4917155501')"_s,
                           u"INSERT INTO p (mail) VALUES ('a@x.org')"_s}
            << u"SELECT mail FROM p ORDER BY id"_s << sqlTitle
            << u"Your query returned an unknown value in the first record.\r\n\r\nPlease make sure to select "
               "only the column that contains\r\nmobile phone numbers or E-Mail addresses."_s;
        QTest::newRow("first value null")
            << one << QStringList{u"INSERT INTO p (mail) VALUES (NULL)"_s} << u"SELECT mail FROM p"_s
            << sqlTitle
            << u"Your query returned an unknown value in the first record.\r\n\r\nPlease make sure to select "
               "only the column that contains\r\nmobile phone numbers or E-Mail addresses."_s;
        QTest::newRow("only the first is checked; nulls are empty items")
            << one
            << QStringList{u"INSERT INTO p (mail) VALUES ('a@x.org')"_s,
                           u"INSERT INTO p (mail) VALUES (NULL)"_s,
                           u"INSERT INTO p (mail) VALUES ('plain')"_s}
            << u"SELECT mail FROM p ORDER BY id"_s << okTitle << success.arg(3) + u"a@x.org, , plain"_s;
        QTest::newRow("60 characters shortened")
            << one
            << QStringList{u"INSERT INTO p (mail) VALUES ('abcdefghij@example.org')"_s,
                           u"INSERT INTO p (mail) VALUES ('klmnopqrst@example.org')"_s,
                           u"INSERT INTO p (mail) VALUES ('uvw@exam.org')"_s}
            << u"SELECT mail FROM p ORDER BY id"_s << okTitle
            << success.arg(3) + u"abcdefghij@example.org, k...example.org, uvw@exam.org"_s;
        QTest::newRow("query fails") << one << QStringList() << u"SELECT mail FROM missing"_s << okTitle
                                     << u"The following error occurred while connecting to your Database and "
                                        "querying your table:\r\n\r\n"_s;
    }
    void databaseTest() {
        QFETCH(QString, schema);
        QFETCH(QStringList, inserts);
        QFETCH(QString, query);
        QFETCH(QString, title);
        QFETCH(QString, text);
        const QString connection = database(schema, inserts);
        QVERIFY(!connection.isEmpty());
        auto e = create();
        e->optRCPDB->setChecked(true);
        e->txtConnection->setText(connection);
        e->txtQuery->setPlainText(query);
        QVERIFY(e->cmdTest->isEnabled());
        e->cmdTest->click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().first();
        QCOMPARE(box.title, title);
        if (text.startsWith(u"The following error"_s)) {
            QVERIFY2(box.text.startsWith(text) && box.text.size() > text.size(),
                     qPrintable(box.text));  // the driver's text follows
        } else {
            QCOMPARE(box.text, text);
        }
        QCOMPARE(box.icon, title == u"Tellwick: Test SQL query"_s ? MsgBox::Critical : MsgBox::Information);
        QCOMPARE(e->txtQuery->toPlainText(), query);
    }

    void databaseConnectionFails() {
        auto e = create();
        e->optRCPDB->setChecked(true);
        e->txtConnection->setText(u"Provider=SQLite;Data Source="_s + t->path(u"missing.db"_s));
        e->txtQuery->setPlainText(u"SELECT 1"_s);
        e->cmdTest_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().first();
        QCOMPARE(box.title, u"Tellwick: Test database connection"_s);
        QCOMPARE(box.icon, MsgBox::Critical);
        QVERIFY(box.text.startsWith(
            u"The following error occurred while connecting to your Database:\r\n\r\n"_s));
        QVERIFY(box.text.size() > 70);  // the driver's text follows
        QVERIFY(!QFile::exists(t->path(u"missing.db"_s)));
    }

    void connectionBuilderFillsTheBox() {
        auto e = create();
        e->optRCPDB->setChecked(true);
        e->txtQuery->setPlainText(u"SELECT mail FROM p"_s);
        e->connectionBuilder()->queueAnswer(u"Provider=SQLite;Data Source=/data/people.db"_s);
        e->cmdBuild->click();
        QTRY_VERIFY(!e->connectionBuilder()->isActive());
        QCOMPARE(e->txtConnection->text(), u"Provider=SQLite;Data Source=/data/people.db"_s);
        QVERIFY(e->cmdTest->isEnabled());
        // Closing the editor while the builder is open drops its result.
        e->cmdBuild_Click();
        e->cmdCancel_Click();
        QVERIFY(!e->connectionBuilder()->isActive());
        QVERIFY(!ini().hasSection(u"Job s1"_s));
    }

    void toolTipsInOrder() {
        frmJobSendmail e(t->ctx());
        const QList<ToolInfo>& tools = ToolTipWindows::control(e.toolTips()->hWnd())->tools();
        const QList<QWidget*> own = {e.optRCPwithMsg, e.optRCPList, e.txtRecipient, e.optRCPDB,
                                     e.txtConnection, e.cmdBuild,   e.txtQuery,     e.cmdHelp,
                                     e.cmdTest,       e.txtSubject, e.txtText,      e.txtAttach,
                                     e.lstFiles};
        QCOMPARE(tools.size(), 10 + own.size());
        QCOMPARE(tools.at(9).uId, ToolTipWindows::handleOf(e.chkActive));
        for (int i = 0; i < own.size(); ++i) {
            QCOMPARE(tools.at(10 + i).uId, ToolTipWindows::handleOf(own.at(i)));
        }
        QCOMPARE(
            tools.at(16).text,
            u"Enter a SQL statement here to select E-Mail addresses from a database. You may use system "
            "variables <$sender>, <$+sender> or <$sendername> and <#1>, <#2>, ..., <#10> as placeholders "
            "for values sent by SMS here. PLEASE NOTE: Your query must return only one column containing "
            "valid E-Mail addresses."_s);
        QCOMPARE(tools.at(21).text,
                 u"Enter or select files to attach to your message. You may also use system variables "
                 "<$sender>, <$+sender> or <$sendername> and <#1>, <#2>, ..., <#10> as placeholders for "
                 "values sent by SMS."_s);
    }

    void multiLineBoxesSelectAllOnFocus() {
        auto e = create();
        e->txtText->setPlainText(u"two\nlines"_s);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e->txtText, &in);
        QTRY_COMPARE(e->txtText->textCursor().selectedText().size(), 9);
    }

    // Made through the chooser, listed by the job list, opened again from it with its values.
    void createdFromTheJobListAndEditedAgain() {
        t->ctx().state().smtpServer = u"mail.example.org"_s;
        auto* jobs = jobList();
        QString caption;
        newFromChooser(jobs, [&](frmJobSendmail& e) {
            caption = e.windowTitle();
            e.txtJobIdent->setText(u"MAIL"_s);
            e.txtName->setText(u"Mail it"_s);
            e.optRCPList->setChecked(true);
            e.txtRecipient->setText(u"a@x.org;b@y.org"_s);
            e.txtSubject->setText(u"From <$sender>"_s);
            e.txtText->setPlainText(u"line 1\nline 2"_s);
            e.txtAttach->setText(u"/tmp/a.pdf"_s);
            e.cmdFileAdd->click();
            e.cmdOK->click();
        });
        QCOMPARE(caption, u"Tellwick: New sendmail job [1]"_s);
        QCOMPARE(jobs->lstJobs2->count(), 1);
        ListItem* row = jobs->lstJobs2->item(1);
        QCOMPARE(row->text(), u"sendmail"_s);
        QCOMPARE(row->tag(), u"s1"_s);
        QCOMPARE(row->subItem(1), u"MAIL"_s);
        QCOMPARE(row->subItem(2), u"Mail it"_s);

        QStringList seen;
        editFromJobList(jobs, row, [&](frmJobSendmail& e) {
            seen = {e.windowTitle(),          mode(e),
                    e.txtRecipient->text(),   e.txtSubject->text(),
                    e.txtText->toPlainText(), e.lstFiles->item(0)->text()};
            e.cmdCancel->click();
        });
        QCOMPARE(seen, (QStringList{u"Tellwick: Edit sendmail job [1]"_s, u"list"_s, u"a@x.org,b@y.org"_s,
                                    u"From <$sender>"_s, u"line 1\nline 2"_s, u"/tmp/a.pdf"_s}));
    }
};

QTEST_MAIN(TestFrmJobSendmail)
#include "tst_frmjobsendmail.moc"
