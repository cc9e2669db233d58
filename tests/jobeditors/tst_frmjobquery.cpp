#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
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
#include "frmJobQuery.h"
#include "frmSQLHelp.h"

using namespace Qt::StringLiterals;

namespace {
const QString kSelectTail = u"SELECT * FROM [yourTable] WHERE [yourCriteria]=[yourValue]'"_s;
}  // namespace

using Harness = EditorHarness<frmJobQuery, 'q', 2, "query">;

class TestFrmJobQuery : public QObject, public Harness {
    Q_OBJECT

public:
    // A stored query job "db" named "Lookup", plus the keys a test gives.
    TestFrmJobQuery()
        : Harness([](const QString&) {
              return Keys{{u"Identification"_s, u"db"_s}, {u"Name"_s, u"Lookup"_s}};
          }) {}

private:
    // The controls the answer check box switches, txtDefaultNo aside.
    static QList<QWidget*> answerControls(const frmJobQuery& e) {
        return {e.optToSender,       e.optToNumber,        e.chkReportEOF,      e.chkNoComment,
                e.labFieldDelimiter, e.labRecordDelimiter, e.txtFieldDelimiter, e.txtRecordDelimiter};
    }
    static bool allEnabled(const QList<QWidget*>& widgets, bool enabled) {
        for (QWidget* w : widgets) {
            if (w->isEnabled() != enabled) {
                return false;
            }
        }
        return true;
    }
    // A SQLite file with a few people in it.
    QString peopleDatabase() {
        const QString file = t->path(u"people.db"_s);
        t->writeFile(u"people.db"_s, QByteArray());
        Connection db;
        if (!db.open(u"Provider=SQLite;Data Source="_s + file) ||
            !db.execute(u"CREATE TABLE people (name TEXT, mobile TEXT)"_s) ||
            !db.execute(u"INSERT INTO people VALUES ('Ann', '+4911'), ('Bob', '+4922'), ('Cy', '0033')"_s)) {
            qWarning() << db.errorText();
            return {};
        }
        return file;
    }
    static QStringList rows(const QString& connection, const QString& sql) {
        Connection db;
        if (!db.open(connection)) {
            return {u"no connection: "_s + db.errorText()};
        }
        std::unique_ptr<Recordset> rs = db.execute(sql);
        if (!rs) {
            return {u"no result: "_s + db.errorText()};
        }
        QStringList out;
        for (; !rs->eof(); rs->moveNext()) {
            out.append(rs->value(0).toString() + u'|' + rs->value(1).toString());
        }
        return out;
    }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(); }

    void newJobStartsWithTheQueryInTheMessageAndNoAnswer() {
        auto e = create();
        QCOMPARE(e->jobKey(), u"q1"_s);
        QCOMPARE(e->txtJobIdent->text(), u">q1<"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: New query job [1]"_s);
        QVERIFY(e->optSendQuery->isChecked() && !e->optUseThisQuery->isChecked());
        QVERIFY(e->optToSender->isChecked() && !e->optToNumber->isChecked());
        QVERIFY(!e->chkAnswer->isChecked());
        QVERIFY(!e->txtQuery->isEnabled());
        QVERIFY(!e->txtDefaultNo->isEnabled());
        QVERIFY(allEnabled(answerControls(*e), false));
        QVERIFY(e->txtConnection->isEnabled() && e->cmdBuild->isEnabled() && e->cmdHelp->isEnabled());
        QVERIFY(!e->cmdOK->isEnabled());
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job: '>q1<"_s + kSelectTail);
        QCOMPARE(e->chkActive->text(), u"T&his job is active"_s);
        QCOMPARE(e->cmdAdd->text(), u"< &Add"_s);

        // The next new job takes the first free number.
        ini().writeINI(jobSection(u"q1"_s), u"Type"_s, u"2"_s);
        ini().writeINI(jobSection(u"q3"_s), u"Type"_s, u"2"_s);
        QCOMPARE(create()->windowTitle(), u"Tellwick: New query job [2]"_s);
    }

    void exampleListsThePlaceholdersOfTheQuery_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("vars");
        QTest::newRow("first and third") << u"UPDATE t SET a='<#1>' WHERE b=<#3>"_s << u"Var#1;Var#3"_s;
        QTest::newRow("second alone") << u"SELECT * FROM t WHERE x=<#2>"_s << u"Var#2"_s;
        QTest::newRow("none") << u"SELECT * FROM t"_s << QString();
        QTest::newRow("ten is not one") << u"SELECT <#10>"_s << u"Var#10"_s;
        QTest::newRow("in text order of numbers") << u"<#5><#4><#4>"_s << u"Var#4;Var#5"_s;
        QTest::newRow("eleven is none") << u"SELECT '<#11>', '<$sender>'"_s << QString();
    }
    void exampleListsThePlaceholdersOfTheQuery() {
        QFETCH(QString, sql);
        QFETCH(QString, vars);
        auto e = create();
        e->optUseThisQuery->setChecked(true);
        QVERIFY(e->txtQuery->isEnabled());
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job: '>q1<'"_s);
        e->txtQuery->setPlainText(sql);
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job: '>q1<"_s + vars + u'\'');
        e->txtJobIdent->setText(u"DB "_s);
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job: 'DB"_s + vars + u'\'');
        e->txtJobIdent->clear();
        QCOMPARE(e->windowTitle(), u"Tellwick: New query job [DEFAULT JOB]"_s);
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job: '"_s + vars + u'\'');
        // Back to the SQL in the message: the text stays, greyed, and the example is the SELECT one.
        e->optSendQuery->setChecked(true);
        QVERIFY(!e->txtQuery->isEnabled());
        QCOMPARE(e->txtQuery->toPlainText(), sql);
        QCOMPARE(e->labExample->text(), u"Example SMS message for this job: '"_s + kSelectTail);
    }

    // The example quotes the identifier as typed, never drawn as markup.
    void exampleShowsTheIdentifierAsTyped() {
        auto e = create();
        e->txtJobIdent->setText(u"<s>"_s);
        QCOMPARE(e->labExample->text(),
                 u"Example SMS message for this job: '<s>SELECT * FROM [yourTable] WHERE [yourCriteria]=[yourValue]'"_s);
        QCOMPARE(e->labExample->textFormat(), Qt::PlainText);
    }

    void keysWrittenInOrder() {
        auto e = create();
        e->txtName->setText(u"All keys"_s);
        e->txtRestrict->setText(u"+4911"_s);
        e->cmdAdd_Click();
        e->optDeny->setChecked(true);
        e->cmdOK_Click();
        QCOMPARE(keys(), (QStringList{u"Type"_s, u"Identification"_s, u"Name"_s, u"Description"_s,
                                      u"FieldDelimiter"_s, u"RecordDelimiter"_s, u"Connection"_s, u"Query"_s,
                                      u"DefaultNo"_s, u"Answer"_s, u"Active"_s, u"NoComments"_s,
                                      u"ReportEOF"_s, u"Deny"_s}));
        QCOMPARE(read(u"Type"_s), u"2"_s);
        QCOMPARE(read(u"Deny"_s), u"+4911"_s);
        for (const QString& flag : {u"Answer"_s, u"Active"_s, u"NoComments"_s, u"ReportEOF"_s}) {
            QCOMPARE(read(flag), u"0"_s);
        }
        // Empty delimiters are present without a value: the job engine's defaults apply.
        const QByteArray file = t->readFile(QFileInfo(t->settingsFile()).fileName());
        QVERIFY(file.contains("\nFieldDelimiter=\n"));
        QVERIFY(file.contains("\nRecordDelimiter=\n"));
        QVERIFY(file.contains("\nQuery=\n"));
        QVERIFY(file.contains("\nDefaultNo=\n"));
    }

    void sqlInTheMessageStoresTheQueryEmpty() {
        storeJob({{u"Query"_s, u"SELECT * FROM t WHERE a=<#1>"_s}});
        {
            auto e = edit();
            QVERIFY(e->optUseThisQuery->isChecked() && e->txtQuery->isEnabled());
            QCOMPARE(e->labExample->text(), u"Example SMS message for this job: 'dbVar#1'"_s);
            e->optSendQuery->setChecked(true);
            e->cmdOK_Click();
        }
        QVERIFY(keys().contains(u"Query"_s));
        QCOMPARE(read(u"Query"_s), QString());
        auto e = edit();
        QVERIFY(e->optSendQuery->isChecked());
        QVERIFY(!e->txtQuery->isEnabled());
        QCOMPARE(e->txtQuery->toPlainText(), QString());
    }

    void answerCheckBoxSwitchesTheAnswerControls() {
        auto e = create();
        e->txtName->setText(u"Answers"_s);
        e->chkAnswer->click();
        QVERIFY(allEnabled(answerControls(*e), true));
        // Ticked while the answer goes back to the sender: the number box is usable all the same.
        QVERIFY(e->optToSender->isChecked());
        QVERIFY(e->txtDefaultNo->isEnabled());
        // Clicked again while chosen, the option greys the box as a change of option does.
        e->optToSender->click();
        QVERIFY(!e->txtDefaultNo->isEnabled());
        e->optToNumber->click();
        QVERIFY(e->txtDefaultNo->isEnabled());
        e->txtDefaultNo->setText(u"+4911"_s);
        e->optToSender->click();
        QVERIFY(!e->txtDefaultNo->isEnabled());
        QCOMPARE(e->txtDefaultNo->text(), u"+4911"_s);
        e->chkAnswer->click();
        QVERIFY(allEnabled(answerControls(*e), false));
        QVERIFY(!e->txtDefaultNo->isEnabled());
        e->chkAnswer->click();
        // Back to the sender: the numbers left in the box are not stored.
        e->cmdOK_Click();
        QCOMPARE(read(u"Answer"_s), u"1"_s);
        QVERIFY(keys().contains(u"DefaultNo"_s));
        QCOMPARE(read(u"DefaultNo"_s), QString());
    }

    void numbersKeptWithTheAnswerSwitchedOff() {
        {
            auto e = create();
            e->txtName->setText(u"Numbers"_s);
            e->chkAnswer->click();
            e->optToNumber->click();
            e->txtDefaultNo->setText(u"111;222"_s);
            e->chkAnswer->click();
            QVERIFY(!e->chkAnswer->isChecked() && e->optToNumber->isChecked());
            e->cmdOK_Click();
        }
        QCOMPARE(read(u"Answer"_s), u"0"_s);
        QCOMPARE(read(u"DefaultNo"_s), u"111,222"_s);
        auto e = edit();
        QVERIFY(e->optToNumber->isChecked());
        QVERIFY(!e->optToNumber->isEnabled());
        QVERIFY(e->txtDefaultNo->isEnabled());
        QCOMPARE(e->txtDefaultNo->text(), u"111,222"_s);
        QVERIFY(allEnabled(answerControls(*e), false));
    }

    // What a stored job opens with follows from Answer, DefaultNo and Query alone.
    void storedKeysDecideOptionsAndEnableStates_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("defaultNo");
        QTest::addColumn<QString>("query");
        QTest::newRow("answer to sender, SQL in message") << u"1"_s << QString() << QString();
        QTest::newRow("answer to numbers, own SQL") << u"1"_s << u"+4911,+4922"_s << u"SELECT 1"_s;
        QTest::newRow("no answer, numbers kept") << u"0"_s << u"+4911"_s << QString();
        QTest::newRow("answer key missing, own SQL") << QString() << QString() << u"SELECT 1"_s;
        QTest::newRow("answer 1 with trailing text") << u"1 (yes)"_s << QString() << QString();
    }
    void storedKeysDecideOptionsAndEnableStates() {
        QFETCH(QString, answer);
        QFETCH(QString, defaultNo);
        QFETCH(QString, query);
        QMap<QString, QString> values{{u"DefaultNo"_s, defaultNo}, {u"Query"_s, query}};
        if (!answer.isNull()) {
            values.insert(u"Answer"_s, answer);
        }
        storeJob(values);
        auto e = edit();
        const bool answers = answer.startsWith(u'1');
        QCOMPARE(e->chkAnswer->isChecked(), answers);
        QVERIFY(allEnabled(answerControls(*e), answers));
        QCOMPARE(e->optToNumber->isChecked(), !defaultNo.isEmpty());
        QCOMPARE(e->optToSender->isChecked(), defaultNo.isEmpty());
        QCOMPARE(e->txtDefaultNo->isEnabled(), !defaultNo.isEmpty());
        QCOMPARE(e->optUseThisQuery->isChecked(), !query.isEmpty());
        QCOMPARE(e->optSendQuery->isChecked(), query.isEmpty());
        QCOMPARE(e->txtQuery->isEnabled(), !query.isEmpty());
        QCOMPARE(e->txtQuery->toPlainText(), query);
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit query job [1]"_s);
    }

    // Built against a SQLite file, typed over several lines, saved, listed by the job list,
    // opened again from it: every value as typed, and the stored job runs on the file.
    void createdFromTheJobListAndEditedAgain() {
        const QString file = peopleDatabase();
        QVERIFY(!file.isEmpty());
        const QString typedSql =
            u"SELECT name, mobile\r\nFROM people\nWHERE mobile LIKE '+49%'\n"
            "  ORDER BY name"_s;
        const QString longDesc = QString(300, u'd') + u"end"_s;
        auto* jobs = jobList();
        QString caption;
        newFromChooser(jobs, [&](frmJobQuery& e) {
            caption = e.windowTitle();
            e.txtJobIdent->setText(u"PEOPLE"_s);
            e.txtName->setText(u"People, by prefix"_s);
            e.txtDesc->setText(longDesc);
            // The connection builder proper, on the SQLite file.
            e.connectionBuilder()->setScripted(false);
            e.cmdBuild->click();
            ConnectionBuilderDialog* builder = e.connectionBuilder()->dialog();
            if (!builder) {
                e.cmdCancel->click();
                return;
            }
            builder->cboProvider->setCurrentText(u"SQLite"_s);
            builder->txtFile->setText(file);
            builder->testConnection();
            builder->cmdOK->click();
            e.optUseThisQuery->click();
            e.txtQuery->setPlainText(typedSql);
            e.chkAnswer->click();
            e.optToNumber->click();
            e.txtDefaultNo->setText(u"+4911;+4922"_s);
            e.chkReportEOF->click();
            e.chkNoComment->click();
            e.txtFieldDelimiter->setText(u" "_s);
            e.txtRecordDelimiter->setText(u" | "_s);
            e.txtRestrict->setText(u"+4933"_s);
            e.cmdAdd->click();
            e.chkActive->click();
            e.cmdOK->click();
        });
        QCOMPARE(caption, u"Tellwick: New query job [1]"_s);
        QVERIFY(t->msgBox().shown().isEmpty());
        QCOMPARE(read(u"Connection"_s), ConnectionBuilder::sqliteString(file));
        // One line in the file, and it gives what the typed text gives.
        const QString storedSql = read(u"Query"_s);
        QVERIFY(!storedSql.contains(u'\n') && !storedSql.contains(u'\r'));
        const QStringList expected{u"Ann|+4911"_s, u"Bob|+4922"_s};
        QCOMPARE(rows(read(u"Connection"_s), typedSql), expected);
        QCOMPARE(rows(read(u"Connection"_s), storedSql), expected);

        ListItem* row = jobs->lstJobs2->findItemByTag(u"q1"_s);
        QVERIFY(row);
        QCOMPARE(row->text(), u"query"_s);
        QCOMPARE(row->subItem(1), u"PEOPLE"_s);
        QCOMPARE(row->subItem(2), u"People, by prefix"_s);
        QVERIFY(row->checked());

        QPointer<frmJobQuery> reopened;
        QStringList seen;
        editFromJobList(jobs, row, [&](frmJobQuery& e) {
            reopened = &e;
            seen << e.windowTitle() << e.txtJobIdent->text() << e.txtName->text() << e.txtDesc->text()
                 << e.txtConnection->text() << e.txtQuery->toPlainText() << e.txtDefaultNo->text()
                 << e.txtFieldDelimiter->text() << e.txtRecordDelimiter->text()
                 << e.lstRestrict->item(0)->text();
            const QList<bool> flags{e.optUseThisQuery->isChecked(), e.optToNumber->isChecked(),
                                    e.chkAnswer->isChecked(),       e.chkReportEOF->isChecked(),
                                    e.chkNoComment->isChecked(),    e.chkActive->isChecked(),
                                    e.optAllow->isChecked()};
            seen << (flags.contains(false) ? u"some flag lost"_s : u"all flags"_s);
            e.cmdCancel->click();
        });
        QCOMPARE(seen, (QStringList{u"Tellwick: Edit query job [1]"_s, u"PEOPLE"_s, u"People, by prefix"_s,
                                    longDesc, ConnectionBuilder::sqliteString(file), storedSql,
                                    u"+4911,+4922"_s, u" "_s, u" | "_s, u"+4933"_s, u"all flags"_s}));
        QTRY_VERIFY(reopened.isNull());
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
        e->txtConnection->setText(u"Provider=ODBC;DSN=before"_s);
        e->connectionBuilder()->queueAnswer(answer);
        e->cmdBuild->click();
        QTRY_VERIFY(!e->connectionBuilder()->isActive());
        QCOMPARE(e->txtConnection->text(), expected);
    }

    void closingTheEditorDropsTheBuildersResult() {
        auto e = create();
        e->txtName->setText(u"Closed early"_s);
        e->cmdBuild_Click();  // nothing queued: the builder stays open
        QVERIFY(e->connectionBuilder()->isActive());
        QVERIFY(e->txtQuery->isEnabled() == false && e->cmdOK->isEnabled());  // the editor stays usable
        e->cmdCancel_Click();
        QVERIFY(!e->connectionBuilder()->isActive());
        e->connectionBuilder()->answer(u"Provider=SQLite;Data Source=late.db"_s);
        QCOMPARE(e->txtConnection->text(), QString());
        QVERIFY(!ini().hasSection(jobSection(u"q1"_s)));
    }

    void helpShowsTheSqlExamples() {
        registerJobEditorWindows(t->ctx().windows());
        auto e = create();
        QString shown;
        QObject guard;
        driveModalAs<frmSQLHelp>(&guard, u"The SQL help"_s, [&](frmSQLHelp& help) {
            shown = help.windowTitle() + u' ' + help.labNr->text();
            help.cmdClose_Click();
        });
        e->cmdHelp->click();
        QCOMPARE(shown, u"Tellwick: Help on creating SQL query strings (1)"_s);
    }

    void toolTipsInOrder() {
        frmJobQuery e(t->ctx());
        const QList<ToolInfo>& tools = ToolTipWindows::control(e.toolTips()->hWnd())->tools();
        QCOMPARE(tools.size(), 24);
        const QList<QWidget*> own = {
            e.txtConnection, e.optSendQuery, e.optUseThisQuery,   e.cmdBuild,          e.txtQuery,
            e.cmdHelp,       e.chkAnswer,    e.optToSender,       e.optToNumber,       e.txtDefaultNo,
            e.chkReportEOF,  e.chkNoComment, e.txtFieldDelimiter, e.txtRecordDelimiter};
        QCOMPARE(tools.at(0).uId, ToolTipWindows::handleOf(e.txtJobIdent));
        QCOMPARE(tools.at(9).uId, ToolTipWindows::handleOf(e.chkActive));
        for (int i = 0; i < own.size(); ++i) {
            QCOMPARE(tools.at(10 + i).uId, ToolTipWindows::handleOf(own.at(i)));
        }
        QCOMPARE(tools.at(10).text,
                 u"Enter an ADO connection string to connect to your database. Example: "
                 "'PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=<FullPathToDB>;'"_s);
        QCOMPARE(tools.at(18).text,
                 u"This option will send the result to the number(s) specified in the field below. Seperate "
                 "multiple numbers by semicolon."_s);
        QCOMPARE(tools.at(23).text,
                 u"Enter one or more character here to seperate recordsets in result "
                 "message (defaults to pipe)."_s);
    }

    void queryBoxSelectsAllOnFocus() {
        auto e = create();
        e->optUseThisQuery->setChecked(true);
        e->txtQuery->setPlainText(u"SELECT 1"_s);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e->txtQuery, &in);
        QTRY_COMPARE(e->txtQuery->textCursor().selectedText(), u"SELECT 1"_s);
        QCoreApplication::sendEvent(e->txtRestrict, &in);
        e->txtRestrict->setText(u"+4911"_s);
        QCoreApplication::sendEvent(e->txtRestrict, &in);
        QTRY_COMPARE(e->txtRestrict->selectedText(), u"+4911"_s);
    }
};

QTEST_MAIN(TestFrmJobQuery)
#include "tst_frmjobquery.moc"
