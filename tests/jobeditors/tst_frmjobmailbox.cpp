#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "DovecotServer.h"
#include "EditorHarness.h"
#include "ListView.h"
#include "Scramble.h"
#include "TabStrip.h"
#include "ToolTipControl.h"
#include "cToolTips.h"
#include "frmJobMailbox.h"
#include "frmJobMailboxEdit.h"

using namespace Qt::StringLiterals;
using Rows = QList<QPair<QString, QString>>;
Q_DECLARE_METATYPE(Rows)

using Harness = EditorHarness<frmJobMailbox, 'm', 4, "mailbox">;

class TestFrmJobMailbox : public QObject, public Harness {
    Q_OBJECT

public:
    // A complete stored mailbox job, plus the keys a test gives.
    TestFrmJobMailbox()
        : Harness([](const QString&) {
              return Keys{{u"Identification"_s, u"mb"_s},   {u"Name"_s, u"Inbox"_s},
                          {u"Server"_s, u"mail.example"_s}, {u"Port"_s, u"110"_s},
                          {u"Username"_s, u"ann"_s},        {u"Password"_s, scramble(u"pw"_s, {})},
                          {u"Interval"_s, u"15"_s},         {u"Active"_s, u"1"_s}};
          }) {}

private:
    static void fillAccess(frmJobMailbox& e, const QString& name = u"Inbox"_s) {
        e.txtName->setText(name);
        e.txtMailserver->setText(u"mail.example"_s);
        e.txtPort->setText(u"110"_s);
        e.txtUsername->setText(u"ann"_s);
        e.txtPassword->setText(u"pw"_s);
        e.txtIntervall->setText(u"15"_s);
    }
    static Rows rows(const ListView* list) {
        Rows result;
        for (int i = 1; i <= list->count(); ++i) {
            result.append({list->item(i)->text(), list->item(i)->subItem(1)});
        }
        return result;
    }
    static void setRows(ListView* list, const Rows& rows) {
        list->clearItems();
        for (const auto& [field, expression] : rows) {
            list->addItem(field)->setSubItem(1, expression);
        }
    }
    static QStringList headers(const ListView* list) {
        QStringList result;
        for (int i = 0; i < list->columnCount(); ++i) {
            result.append(list->headerItem()->text(i));
        }
        return result;
    }
    const MsgBox::Shown& lastBox() { return t->msgBox().shown().last(); }
    static QLineEdit* box(frmJobMailbox& e, const QString& name) {
        const QHash<QString, QLineEdit*> boxes{
            {u"txtJobIdent"_s, e.txtJobIdent},     {u"txtName"_s, e.txtName},
            {u"txtMailserver"_s, e.txtMailserver}, {u"txtPort"_s, e.txtPort},
            {u"txtUsername"_s, e.txtUsername},     {u"txtPassword"_s, e.txtPassword}};
        return boxes.value(name);
    }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(); }

    void newJobTakesTheFirstFreeNumber() {
        storeJob(u"m1"_s, {{u"Identification"_s, u"a"_s}});
        storeJob(u"m2"_s, {{u"Identification"_s, u"b"_s}});
        auto e = create();
        QCOMPARE(e->jobKey(), u"m3"_s);
        QCOMPARE(e->txtJobIdent->text(), u">m3<"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: New mailbox job [3]"_s);
        QVERIFY(!e->cmdOK->isEnabled());
        QVERIFY(!e->chkActive->isEnabled() && !e->chkActive->isChecked());
        QVERIFY(!e->cmdTest->isEnabled());
        QVERIFY(e->txtIntervall->text().isEmpty() && e->txtMaxMsg->text().isEmpty());
        QVERIFY(e->optMinutes->isChecked() && e->optNewMail->isChecked());
        QVERIFY(!e->chkException->isChecked() && !e->chkRequest->isChecked() &&
                !e->chkStripHTML->isChecked());
        QCOMPARE(headers(e->lstCriteria), (QStringList{u"Field"_s, u"Criteria"_s}));
        QCOMPARE(headers(e->lstException), (QStringList{u"Field"_s, u"Exception"_s}));
        // The columns start at their design widths and grow with their texts.
        QVERIFY(e->lstCriteria->columnWidthTwips(0) >= 700);
        QVERIFY(e->lstCriteria->columnWidthTwips(1) >= 1600);
        QVERIFY(!e->lstCriteria->isEnabled() && !e->cmdCriteria->isEnabled());
        QVERIFY(!e->lstException->isEnabled() && e->cmdException->isEnabled());
        QVERIFY(!e->txtMaxMsg->isEnabled() && !e->labRequest1->isEnabled() && !e->chkStripHTML->isEnabled());
        QVERIFY(e->labExample->isHidden());
        QVERIFY(!e->FraNotification->isHidden() && e->FraRequest->isHidden());
        QCOMPARE(e->txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(e->labDesc->text(), u"Job descri&ption:"_s);
        QCOMPARE(e->chkActive->text(), u"T&his job is active"_s);
    }

    // OK and the Active box need identifier, name, server, port, user name and password.
    void okNeedsEveryAccessDatum_data() {
        QTest::addColumn<QString>("empty");
        QTest::addColumn<bool>("testEnabled");
        for (const char* box : {"txtJobIdent", "txtName"}) {
            QTest::newRow(box) << QString::fromLatin1(box) << true;
        }
        for (const char* box : {"txtMailserver", "txtPort", "txtUsername", "txtPassword"}) {
            QTest::newRow(box) << QString::fromLatin1(box) << false;
        }
    }
    void okNeedsEveryAccessDatum() {
        QFETCH(QString, empty);
        QFETCH(bool, testEnabled);
        auto e = create();
        fillAccess(*e);
        QVERIFY(e->cmdOK->isEnabled() && e->chkActive->isEnabled() && e->cmdTest->isEnabled());
        e->chkActive->setChecked(true);
        QLineEdit* emptied = box(*e, empty);
        const QString before = emptied->text();
        emptied->clear();
        QVERIFY(!e->cmdOK->isEnabled());
        QVERIFY(!e->chkActive->isEnabled());
        QVERIFY(e->chkActive->isChecked());  // the tick stays as it was
        QCOMPARE(e->cmdTest->isEnabled(), testEnabled);
        QCOMPARE(e->windowTitle(), u"Tellwick: New mailbox job [1]"_s);
        e->cmdOK_Click();
        QVERIFY(!ini().hasSection(jobSection(u"m1"_s)));
        emptied->setText(before);
        QVERIFY(e->cmdOK->isEnabled() && e->chkActive->isEnabled());
    }

    void storedJobWithoutAccessDatum_data() {
        QTest::addColumn<QString>("key");
        for (const char* key : {"Password", "Server", "Port", "Username"}) {
            QTest::newRow(key) << QString::fromLatin1(key);
        }
    }
    void storedJobWithoutAccessDatum() {
        QFETCH(QString, key);
        storeJob({{key, QString()}});
        auto e = edit();
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit mailbox job [1]"_s);
        QVERIFY(!e->cmdTest->isEnabled() && !e->cmdOK->isEnabled() && !e->chkActive->isEnabled());
        QVERIFY(e->chkActive->isChecked());
        QVERIFY(e->txtPort->text() == (key == u"Port"_s ? QString() : u"110"_s));  // no default on loading
        fillAccess(*e);
        QVERIFY(e->cmdOK->isEnabled());
        e->cmdOK_Click();
        QVERIFY(!read(key).isEmpty());
        QCOMPARE(scramble(read(u"Password"_s), {}), u"pw"_s);
    }

    void identifierIsSavedAsTyped() {
        auto e = create();
        fillAccess(*e);
        e->txtJobIdent->setText(u"M,B*#"_s);
        e->txtJobIdent_LostFocus();
        e->cmdOK_Click();
        QVERIFY(t->msgBox().shown().isEmpty());
        QCOMPARE(read(u"Identification"_s), u"M,B*#"_s);
        QCOMPARE(read(u"Type"_s), u"4"_s);
    }

    void identifierOfAnotherJobRefused() {
        writeKeys(u"s2"_s,
                  {{u"Type"_s, u"3"_s}, {u"Identification"_s, u"MB"_s}, {u"Name"_s, u"Mailer, old"_s}});
        auto e = create();
        fillAccess(*e);
        e->txtJobIdent->setText(u"MB"_s);
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(lastBox().title, u"Job identifier not unique"_s);
        QCOMPARE(lastBox().text,
                 u"The job 'Mailer, old'\r\nalready uses this identifier, please change it."_s);
        QVERIFY(!ini().hasSection(jobSection(u"m1"_s)));
        e->txtJobIdent->setText(u"mb"_s);  // case counts
        e->cmdOK_Click();
        QCOMPARE(read(u"Identification"_s), u"mb"_s);
    }

    void keysWrittenInOrder() {
        auto e = create();
        fillAccess(*e);
        e->txtDesc->setText(u"desc"_s);
        e->chkException->setChecked(true);
        e->optCriteria->setChecked(true);
        e->chkRequest->setChecked(true);
        e->cmdOK_Click();
        QCOMPARE(keys(), (QStringList{u"Type"_s, u"Identification"_s, u"Name"_s, u"Description"_s,
                                      u"Server"_s, u"Port"_s, u"Username"_s, u"Password"_s, u"Interval"_s,
                                      u"Criteria"_s, u"Exception"_s, u"Recipient"_s, u"AllowMsgRequests"_s,
                                      u"MaxMsg"_s, u"stripHTML"_s, u"Active"_s}));
        QCOMPARE(read(u"Interval"_s), u"15"_s);
        QCOMPARE(read(u"Active"_s), u"0"_s);
        QVERIFY(read(u"Password"_s) != u"pw"_s);
        QCOMPARE(scramble(read(u"Password"_s), {}), u"pw"_s);
    }

    void cancelWritesNothing() {
        auto e = create();
        fillAccess(*e);
        e->cmdCancel_Click();
        QVERIFY(!ini().hasSection(jobSection(u"m1"_s)));
        QVERIFY(!QFile::exists(t->settingsFile()) || ini().sections().isEmpty());
    }

    // An empty port, or one that is no port number, becomes 110 on leaving the box and in the
    // stored job.
    void portRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("empty") << QString() << u"110"_s;
        QTest::newRow("letters") << u"pop"_s << u"110"_s;
        QTest::newRow("negative") << u"-5"_s << u"110"_s;
        QTest::newRow("zero") << u"0"_s << u"110"_s;
        QTest::newRow("past 16 bits") << u"70000"_s << u"110"_s;
        QTest::newRow("decimal") << u"12.7"_s << u"110"_s;
        QTest::newRow("whole decimal") << u"110.0"_s << u"110"_s;
        QTest::newRow("secure port") << u"995"_s << u"995"_s;
        QTest::newRow("highest") << u"65535"_s << u"65535"_s;
    }
    void portRule() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        auto e = create();
        fillAccess(*e);
        e->txtPort->setText(typed);
        e->txtPort_LostFocus();
        QCOMPARE(e->txtPort->text(), kept);
        QVERIFY(t->msgBox().shown().isEmpty());
        if (!typed.isEmpty()) {
            e->txtPort->setText(typed);  // left by Enter: saving corrects it the same way
            e->cmdOK_Click();
            QCOMPARE(e->txtPort->text(), kept);
            QCOMPARE(read(u"Port"_s), kept);
        }
    }

    void intervalStoredInMinutes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("hours");
        QTest::addColumn<QString>("stored");
        QTest::newRow("2 hours") << u"2"_s << true << u"120"_s;
        QTest::newRow("1.5 hours") << u"1.5"_s << true << u"90"_s;
        QTest::newRow("1.1 hours") << u"1.1"_s << true << u"66"_s;
        QTest::newRow("45 minutes") << u"45"_s << false << u"45"_s;
        QTest::newRow("blanks around") << u" 5 "_s << false << u"5"_s;
    }
    void intervalStoredInMinutes() {
        QFETCH(QString, typed);
        QFETCH(bool, hours);
        QFETCH(QString, stored);
        {
            auto e = create();
            fillAccess(*e);
            e->txtIntervall->setText(typed);
            (hours ? e->optHours : e->optMinutes)->setChecked(true);
            e->cmdOK_Click();
        }
        QCOMPARE(read(u"Interval"_s), stored);
        auto e = edit();
        QCOMPARE(e->txtIntervall->text(), stored);
        QVERIFY(e->optMinutes->isChecked());
    }

    // A mailbox with no interval, or one of 0, would be checked on every tick: OK is refused
    // until the interval is a positive whole number of minutes, also for a stored job that
    // has none and is saved unchanged.
    void intervalRefusedUntilWholeMinutes_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("hours");
        QTest::newRow("new job, untouched") << false << QString() << false;
        QTest::newRow("zero") << false << u"0"_s << false;
        QTest::newRow("half a minute") << false << u".5"_s << false;
        QTest::newRow("a hundredth of an hour") << false << u"0.01"_s << true;
        QTest::newRow("letters") << false << u"ten"_s << false;
        QTest::newRow("stored job without interval") << true << QString() << false;
    }
    void intervalRefusedUntilWholeMinutes() {
        QFETCH(bool, stored);
        QFETCH(QString, typed);
        QFETCH(bool, hours);
        if (stored) {
            storeJob();
            ini().deleteINIKey(jobSection(firstJob()), u"Interval"_s);
        }
        auto e = stored ? edit() : create();
        if (!stored) {
            fillAccess(*e);
            e->txtIntervall->setText(typed);
        }
        (hours ? e->optHours : e->optMinutes)->setChecked(true);
        QVERIFY(e->cmdOK->isEnabled());
        const QByteArray before = QFile::exists(t->settingsFile()) ? t->readFile(u"tellwick.ini"_s) : QByteArray();
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(lastBox().title, u"Tellwick: Invalid input"_s);
        QCOMPARE(lastBox().icon, MsgBox::Critical);
        QCOMPARE(lastBox().text,
                 u"Please enter the number if minutes or hours\r\nfor an interval to check this mailbox."_s);
        QCOMPARE(QFile::exists(t->settingsFile()) ? t->readFile(u"tellwick.ini"_s) : QByteArray(), before);
        e->txtIntervall->setText(u"20"_s);
        e->cmdOK_Click();
        QCOMPARE(read(u"Interval"_s), hours ? u"1200"_s : u"20"_s);
    }

    // Boxes for numbers refuse other text when they are left, and OK refuses what Enter
    // would otherwise have stored as 0.
    void numbersChecked() {
        auto e = create();
        fillAccess(*e);
        const QString intervalText =
            u"Please enter the number if minutes or hours\r\nfor an interval to check this mailbox."_s;
        const QString limitText = u"Please enter a number to limit the number of messages to be send."_s;
        for (const QString& bad : {QString(), u"ten"_s, u"-5"_s, u"1,5"_s}) {
            e->txtIntervall->setText(bad);
            e->txtIntervall_LostFocus();
            QCOMPARE(lastBox().title, u"Tellwick: Invalid input"_s);
            QCOMPARE(lastBox().icon, MsgBox::Critical);
            QCOMPARE(lastBox().text, intervalText);
            QCOMPARE(e->txtIntervall->text(), bad);
            e->txtMaxMsg->setText(bad);
            e->txtMaxMsg_LostFocus();
            QCOMPARE(lastBox().text, limitText);
            QCOMPARE(e->txtMaxMsg->text(), bad);
        }
        // No interval at all is no interval either.
        e->txtIntervall->setText(u"0"_s);
        e->txtIntervall_LostFocus();
        QCOMPARE(lastBox().text, intervalText);
        QCOMPARE(t->msgBox().shown().size(), 9);
        e->txtIntervall->setText(u"1.5"_s);
        e->txtIntervall_LostFocus();
        e->txtMaxMsg->setText(u"3"_s);
        e->txtMaxMsg_LostFocus();
        QCOMPARE(t->msgBox().shown().size(), 9);

        e->txtIntervall->setText(u"ten"_s);
        e->cmdOK_Click();
        QCOMPARE(lastBox().text, intervalText);
        QVERIFY(!ini().hasSection(jobSection(u"m1"_s)));
        e->txtIntervall->setText(u"10"_s);
        e->chkRequest->setChecked(true);
        e->txtMaxMsg->setText(u"many"_s);
        e->cmdOK_Click();
        QCOMPARE(lastBox().text, limitText);
        QVERIFY(!ini().hasSection(jobSection(u"m1"_s)));
        e->chkRequest->setChecked(false);  // a limit that is not stored is not checked
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 11);
        QCOMPARE(read(u"Interval"_s), u"10"_s);
        QVERIFY(!keys().contains(u"MaxMsg"_s));
    }

    void recipientSemicolonsBecomeCommas() {
        storeJob({{u"Recipient"_s, u"+4911;+4922"_s}});
        auto e = edit();
        QCOMPARE(e->txtRecipient->text(), u"+4911,+4922"_s);
        e->txtRecipient->setText(u"+4933;+4944;+4955"_s);
        e->cmdOK_Click();
        QCOMPARE(e->txtRecipient->text(), u"+4933,+4944,+4955"_s);
        QCOMPARE(read(u"Recipient"_s), u"+4933,+4944,+4955"_s);
    }

    // How a rule list comes back from its stored text.
    void ruleListsRead_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Rows>("expected");
        QTest::newRow("two rows") << u"A:abc,S:def"_s
                                  << Rows{{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}};
        QTest::newRow("colon in expression")
            << u"A:http://x.example"_s << Rows{{u"Address"_s, u"http://x.example"_s}};
        QTest::newRow("comma splits") << u"A:a,b"_s << Rows{{u"Address"_s, u"a"_s}, {u"Subject"_s, u"b"_s}};
        QTest::newRow("blanks lost") << u"A: abc ,S: d e "_s
                                     << Rows{{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"d e"_s}};
        QTest::newRow("no colon") << u"S:x,plain"_s
                                  << Rows{{u"Subject"_s, u"x"_s}, {u"Subject"_s, u"plain"_s}};
        QTest::newRow("lower-case a") << u"a:b"_s << Rows{{u"Subject"_s, u"b"_s}};
        QTest::newRow("empty item") << u"A:x,"_s << Rows{{u"Address"_s, u"x"_s}, {u"Subject"_s, QString()}};
    }
    void ruleListsRead() {
        QFETCH(QString, stored);
        QFETCH(Rows, expected);
        storeJob({{u"Criteria"_s, stored}, {u"Exception"_s, stored}});
        auto e = edit();
        QVERIFY(e->optCriteria->isChecked() && e->lstCriteria->isEnabled() && e->cmdCriteria->isEnabled());
        QVERIFY(e->chkException->isChecked() && e->lstException->isEnabled());
        QCOMPARE(rows(e->lstCriteria), expected);
        QCOMPARE(rows(e->lstException), expected);
    }

    void criteriaSavedAndReopened() {
        const QString longExpression = QString(300, u'k');
        {
            auto e = create();
            fillAccess(*e);
            e->optCriteria->setChecked(true);
            setRows(e->lstCriteria,
                    {{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}, {u"Subject"_s, longExpression}});
            e->cmdOK_Click();
        }
        QCOMPARE(read(u"Criteria"_s), u"A:abc,S:def,S:"_s + longExpression);
        QVERIFY(!keys().contains(u"Exception"_s));
        auto e = edit();
        QVERIFY(e->optCriteria->isChecked());
        // Long lists come back whole.
        QCOMPARE(rows(e->lstCriteria),
                 (Rows{{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}, {u"Subject"_s, longExpression}}));

        // "All new mail" drops the stored list, whatever the list shows.
        e->optNewMail->setChecked(true);
        QVERIFY(!e->lstCriteria->isEnabled() && !e->cmdCriteria->isEnabled());
        e->cmdOK_Click();
        QVERIFY(!keys().contains(u"Criteria"_s));
        QCOMPARE(edit()->lstCriteria->count(), 0);
    }

    void emptyCriteriaListReopensAsAllMail() {
        auto e = create();
        fillAccess(*e);
        e->optCriteria->setChecked(true);
        e->cmdOK_Click();
        QVERIFY(keys().contains(u"Criteria"_s));
        QCOMPARE(read(u"Criteria"_s), QString());
        QVERIFY(edit()->optNewMail->isChecked());
    }

    void exceptionsKeptOnlyWhileTicked() {
        storeJob({{u"Exception"_s, u"A:spam@x.example,S:ad"_s}});
        {
            auto e = edit();
            QVERIFY(e->chkException->isChecked() && e->lstException->isEnabled());
            QVERIFY(e->optNewMail->isChecked());
            e->cmdOK_Click();
        }
        QCOMPARE(read(u"Exception"_s), u"A:spam@x.example,S:ad"_s);
        auto e = edit();
        e->chkException->setChecked(false);
        QVERIFY(!e->lstException->isEnabled() && e->cmdException->isEnabled());
        QCOMPARE(e->lstException->count(), 2);
        e->cmdOK_Click();
        QVERIFY(!keys().contains(u"Exception"_s));
    }

    void messageRequests() {
        auto e = create();
        fillAccess(*e);
        e->txtJobIdent->setText(u"MB"_s);
        e->chkRequest->setChecked(true);
        QVERIFY(e->txtMaxMsg->isEnabled() && e->chkStripHTML->isEnabled() && e->labRequest4->isEnabled());
        QVERIFY(!e->labExample->isHidden());
        QCOMPARE(e->labExample->text(), u"Example request SMS: \r\nMBMsgNr[,MaxMsg]"_s);
        e->txtJobIdent->setText(u"MAIL"_s);  // the example follows only the request box
        QCOMPARE(e->labExample->text(), u"Example request SMS: \r\nMBMsgNr[,MaxMsg]"_s);
        e->cmdOK_Click();
        QCOMPARE(e->txtMaxMsg->text(), u"1"_s);
        QCOMPARE(read(u"AllowMsgRequests"_s), u"1"_s);
        QCOMPARE(read(u"MaxMsg"_s), u"1"_s);
        QCOMPARE(read(u"stripHTML"_s), u"0"_s);

        auto again = edit();
        QVERIFY(again->chkRequest->isChecked() && again->txtMaxMsg->isEnabled());
        QCOMPARE(again->labExample->text(), u"Example request SMS: \r\nMAILMsgNr[,MaxMsg]"_s);
        again->chkStripHTML->setChecked(true);
        again->txtMaxMsg->setText(u"4"_s);
        again->cmdOK_Click();
        QCOMPARE(read(u"MaxMsg"_s), u"4"_s);
        QCOMPARE(read(u"stripHTML"_s), u"1"_s);

        auto off = edit();
        off->chkRequest->setChecked(false);
        QVERIFY(off->labExample->isHidden() && !off->txtMaxMsg->isEnabled());
        off->txtMaxMsg->clear();
        off->cmdOK_Click();
        QCOMPARE(off->txtMaxMsg->text(), u"1"_s);
        for (const QString& key : {u"AllowMsgRequests"_s, u"MaxMsg"_s, u"stripHTML"_s}) {
            QVERIFY2(!keys().contains(key), qPrintable(key));
        }
    }

    void tabsSwitchTheOptions() {
        auto e = create();
        e->tubby->setSelectedIndex(2);
        QVERIFY(!e->FraRequest->isHidden());
        QVERIFY(e->FraNotification->isHidden() && e->optMinutes->isHidden() && e->optHours->isHidden());
        e->tubby->setSelectedIndex(1);
        QVERIFY(e->FraRequest->isHidden());
        QVERIFY(!e->FraNotification->isHidden() && !e->optMinutes->isHidden() && !e->optHours->isHidden());
    }

    // The criteria editor works on the list of its mode and changes it only by its OK.
    void ruleEditorChangesItsList() {
        auto e = create();
        e->cmdException_Click();  // not registered: nothing opens
        QCOMPARE(e->lstException->count(), 0);
        registerJobEditorWindows(t->ctx().windows());
        setRows(e->lstException, {{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}});
        QList<bool> modes;
        QList<QList<MailboxRule>> seen;
        QObject guard;
        const auto answer = [&](bool ok, const Rows& add) {
            driveModalAs<frmJobMailboxEdit>(&guard, u"The rule editor"_s, [&, ok, add](frmJobMailboxEdit& editor) {
                modes.append(editor.isCriteriaMode());
                seen.append(editor.rows());
                for (const auto& [field, expression] : add) {
                    editor.lstList->addItem(field)->setSubItem(1, expression);
                }
                ok ? editor.cmdOK_Click() : editor.cmdCancel_Click();
            });
        };
        answer(true, {{u"Subject"_s, u"ghi"_s}});
        e->cmdException->click();  // usable while the exception box is unticked
        answer(false, {{u"Address"_s, u"dropped"_s}});
        e->cmdException_Click();
        e->optCriteria->setChecked(true);
        answer(true, {{u"Address"_s, u"boss@x.example"_s}});
        e->lstCriteria_DblClick();
        QCOMPARE(modes, (QList<bool>{false, false, true}));
        QCOMPARE(seen.at(0), (QList<MailboxRule>{{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}}));
        QCOMPARE(seen.at(1).size(), 3);
        QVERIFY(seen.at(2).isEmpty());
        QCOMPARE(rows(e->lstException),
                 (Rows{{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}, {u"Subject"_s, u"ghi"_s}}));
        QCOMPARE(rows(e->lstCriteria), (Rows{{u"Address"_s, u"boss@x.example"_s}}));
        QCOMPARE(headers(e->lstCriteria), (QStringList{u"Field"_s, u"Criteria"_s}));

        fillAccess(*e);
        e->chkException->setChecked(true);
        e->cmdOK_Click();
        QCOMPARE(read(u"Criteria"_s), u"A:boss@x.example"_s);
        QCOMPARE(read(u"Exception"_s), u"A:abc,S:def,S:ghi"_s);
    }

    void toolTipsInOrder() {
        frmJobMailbox e(t->ctx());
        const QList<ToolInfo>& tools = ToolTipWindows::control(e.toolTips()->hWnd())->tools();
        const QList<QWidget*> order = {
            e.txtJobIdent, e.txtName,      e.txtDesc,     e.chkActive,    e.txtMailserver, e.txtPort,
            e.txtUsername, e.txtPassword,  e.cmdTest,     e.txtIntervall, e.optMinutes,    e.optHours,
            e.optNewMail,  e.optCriteria,  e.lstCriteria, e.chkException, e.lstException,  e.chkRequest,
            e.txtMaxMsg,   e.chkStripHTML, e.txtRecipient};
        QCOMPARE(tools.size(), order.size());
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(tools.at(i).uId, ToolTipWindows::handleOf(order.at(i)));
        }
        QCOMPARE(tools.at(5).text,
                 u"Enter the port number the mailserver is listening on. The default POP3 port is 110."_s);
        QCOMPARE(tools.at(10).text, tools.at(11).text);
        QVERIFY(tools.last().text.endsWith(
            u"PLEASE NOTE: Only this/these number/s will be allowed to request eMail messages by SMS."_s));
    }

    // The login test uses the boxes, not the stored job, and writes nothing.
    void loginTestAgainstARealServer() {
        DovecotServer dovecot;
        TW_START_DOVECOT(dovecot, (DovecotServer::Users{{u"ann"_s, u"s\u00e9cret 1"_s}}));
        storeJob();
        const QByteArray before = t->readFile(u"tellwick.ini"_s);
        auto e = edit();
        e->txtMailserver->setText(dovecot.host());
        e->txtPort->setText(QString::number(dovecot.port()));
        e->txtPassword->setText(u"wrong"_s);
        e->cmdTest->click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(lastBox().title, u"Tellwick: Can't access mailbox"_s);
        QCOMPARE(lastBox().icon, MsgBox::Critical);
        QVERIFY2(lastBox().text.startsWith(
                     u"An error occurred when accessing this mailbox: \r\nPASS failed: -ERR"_s),
                 qPrintable(lastBox().text));
        QVERIFY(!t->ctx().pop3().isLoggedIn());

        e->txtPassword->setText(u"s\u00e9cret 1"_s);
        e->cmdTest->click();
        QCOMPARE(t->msgBox().shown().size(), 2);
        QCOMPARE(lastBox().title, u"Tellwick: Mailbox configuration OK"_s);
        QCOMPARE(lastBox().icon, MsgBox::Information);
        QCOMPARE(lastBox().text, u"Tellwick successfully logged in to the mailbox 'ann' on 127.0.0.1."_s);
        QVERIFY(!t->ctx().pop3().isLoggedIn());  // logged out after the box
        QCOMPARE(t->readFile(u"tellwick.ini"_s), before);
    }

    void loginTestWithoutServer() {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 closedPort = probe.serverPort();
        probe.close();
        auto e = create();
        fillAccess(*e);
        e->txtMailserver->setText(u"127.0.0.1"_s);
        e->txtPort->setText(QString::number(closedPort));
        e->cmdTest_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(lastBox().title, u"Tellwick: Can't access mailbox"_s);
        QVERIFY(lastBox().text.size() > u"An error occurred when accessing this mailbox: \r\n"_s.size());
        QVERIFY(!ini().hasSection(jobSection(u"m1"_s)));
    }

    // Made through the chooser, listed in the job list, opened from it with every value.
    void createdFromTheJobListAndEditedAgain() {
        auto* jobs = jobList();
        const Rows criteria{{u"Address"_s, u"boss@x.example"_s}, {u"Subject"_s, u"urgent"_s}};
        const Rows exceptions{{u"Subject"_s, u"newsletter"_s}};
        const QString password = u" p=\"w\u00f6rd\"; "_s;
        QString caption;
        newFromChooser(jobs, [&](frmJobMailbox& e) {
            caption = e.windowTitle();
            e.txtJobIdent->setText(u"MB"_s);
            e.txtName->setText(u"Office mail"_s);
            e.txtDesc->setText(u"Tells me about mail"_s);
            e.txtMailserver->setText(u"pop.example"_s);
            e.txtPort->setText(u"995"_s);
            e.txtUsername->setText(u"ann@example"_s);
            e.txtPassword->setText(password);
            e.txtRecipient->setText(u"+4911,+4922"_s);
            e.txtIntervall->setText(u"15"_s);
            e.optCriteria->setChecked(true);
            setRows(e.lstCriteria, criteria);
            e.chkException->setChecked(true);
            setRows(e.lstException, exceptions);
            e.chkRequest->setChecked(true);
            e.txtMaxMsg->setText(u"3"_s);
            e.chkStripHTML->setChecked(true);
            e.chkActive->setChecked(true);
            e.cmdOK->click();
        });
        QCOMPARE(caption, u"Tellwick: New mailbox job [1]"_s);
        QCOMPARE(jobs->lstJobs2->count(), 1);
        ListItem* row = jobs->lstJobs2->item(1);
        QCOMPARE(row->tag(), u"m1"_s);
        QCOMPARE(row->text(), u"mailbox"_s);
        QCOMPARE(row->subItem(1), u"MB"_s);
        QCOMPARE(row->subItem(2), u"Office mail"_s);
        QVERIFY(row->checked());

        const QString file = QString::fromUtf8(t->readFile(u"tellwick.ini"_s));
        QVERIFY(!file.contains(u"w\u00f6rd"_s));
        QCOMPARE(scramble(read(u"Password"_s), {}), password);

        QStringList seen;
        QList<bool> states;
        Rows seenCriteria, seenExceptions;
        editFromJobList(jobs, row, [&](frmJobMailbox& e) {
            seen = {e.windowTitle(),        e.txtJobIdent->text(),   e.txtName->text(),
                    e.txtDesc->text(),      e.txtMailserver->text(), e.txtPort->text(),
                    e.txtUsername->text(),  e.txtPassword->text(),   e.txtRecipient->text(),
                    e.txtIntervall->text(), e.txtMaxMsg->text()};
            states = {e.optMinutes->isChecked(), e.optCriteria->isChecked(),  e.chkException->isChecked(),
                      e.chkRequest->isChecked(), e.chkStripHTML->isChecked(), e.chkActive->isChecked(),
                      e.cmdOK->isEnabled(),      e.cmdTest->isEnabled()};
            seenCriteria = rows(e.lstCriteria);
            seenExceptions = rows(e.lstException);
            e.cmdCancel->click();
        });
        QCOMPARE(seen, (QStringList{u"Tellwick: Edit mailbox job [1]"_s, u"MB"_s, u"Office mail"_s,
                                    u"Tells me about mail"_s, u"pop.example"_s, u"995"_s, u"ann@example"_s,
                                    password, u"+4911,+4922"_s, u"15"_s, u"3"_s}));
        QCOMPARE(states, QList<bool>(8, true));
        QCOMPARE(seenCriteria, criteria);
        QCOMPARE(seenExceptions, exceptions);
    }
};

QTEST_MAIN(TestFrmJobMailbox)
#include "tst_frmjobmailbox.moc"
