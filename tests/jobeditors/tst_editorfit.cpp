// Every window of the job editors, filled as a user's would be, shows its texts whole in the
// fonts of the desktop: labels, buttons, options, column headers, cells and boxes.
#include <QTest>

#include <QLineEdit>
#include <QWindow>
#include <functional>
#include <memory>

#include "JobEditorWindows.h"
#include "JobTypes.h"
#include "ListView.h"
#include "Scramble.h"
#include "TabStrip.h"
#include "TestContext.h"
#include "TextFit.h"
#include "frmJobExec.h"
#include "frmJobForward.h"
#include "frmJobMailbox.h"
#include "frmJobMailboxEdit.h"
#include "frmJobNew.h"
#include "frmJobQuery.h"
#include "frmJobSendmail.h"
#include "frmJobs.h"
#include "frmSQLHelp.h"

using namespace Qt::StringLiterals;

namespace {

using Keys = QList<std::pair<QString, QString>>;

void store(IniStore& ini, const QString& job, const Keys& keys) {
    for (const auto& [key, value] : keys) {
        ini.writeINI(jobSection(job), key, value);
    }
}

// One job of each type, with the names, numbers and texts people give them.
void storeJobs(IniStore& ini) {
    store(ini, u"f1"_s,
          {{u"Type"_s, u"0"_s}, {u"Identification"_s, QString()}, {u"Name"_s, u"Forward everything to the office"_s},
           {u"Description"_s, u"Every message nobody else takes"_s}, {u"Active"_s, u"1"_s},
           {u"DefaultNo"_s, u"+4917012345678,office@example.org"_s}, {u"Subject"_s, u"SMS from <$sender>"_s}});
    store(ini, u"e1"_s,
          {{u"Type"_s, u"1"_s}, {u"Identification"_s, u"HEATING"_s}, {u"Name"_s, u"Heating on or off"_s},
           {u"Active"_s, u"1"_s}, {u"Command"_s, u"/usr/local/bin/heating"_s}, {u"Param"_s, u"--set <#1>"_s},
           {u"WorkDir"_s, u"/var/lib/heating"_s}, {u"Notify"_s, u"1"_s}, {u"DefaultNo"_s, u"+4915198765432"_s},
           {u"Deny"_s, u"+4930123456789"_s}});
    store(ini, u"q1"_s,
          {{u"Type"_s, u"2"_s}, {u"Identification"_s, u"STOCK"_s}, {u"Name"_s, u"Stock of an article"_s},
           {u"Active"_s, u"0"_s}, {u"Connection"_s, u"Provider=SQLite;Data Source=/srv/shop/stock.db"_s},
           {u"Query"_s, u"SELECT amount FROM stock WHERE article = '<#1>'"_s}, {u"Answer"_s, u"1"_s},
           {u"FieldDelimiter"_s, u";"_s}});
    store(ini, u"s1"_s,
          {{u"Type"_s, u"3"_s}, {u"Identification"_s, u"SUPPORT"_s}, {u"Name"_s, u"Mail to the service desk"_s},
           {u"Active"_s, u"1"_s}, {u"Recipient"_s, u"support@example.org,desk@example.org"_s},
           {u"Subject"_s, u"Call back <$sendername>"_s}, {u"Text"_s, u"Please call back:|<$+sender>"_s},
           {u"Attachments"_s, u"/srv/forms/callback.pdf"_s}});
    store(ini, u"m1"_s,
          {{u"Type"_s, u"4"_s}, {u"Identification"_s, u"MAILBOX"_s}, {u"Name"_s, u"Office mailbox"_s},
           {u"Active"_s, u"1"_s}, {u"Server"_s, u"pop.example.org"_s}, {u"Port"_s, u"995"_s},
           {u"Username"_s, u"office@example.org"_s}, {u"Password"_s, scramble(u"secret"_s, {})},
           {u"Interval"_s, u"15"_s}, {u"Recipient"_s, u"+4917012345678,+4915198765432"_s},
           {u"Criteria"_s, u"A:boss@headquarters.example.org,S:urgent invoice"_s},
           {u"Exception"_s, u"S:newsletter,A:noreply@shop.example.com"_s}, {u"AllowMsgRequests"_s, u"1"_s},
           {u"MaxMsg"_s, u"3"_s}});
}

template <class Editor>
QWidget* editor(TestContext& t, const QString& type, const QString& key) {
    auto* e = t.ctx().windows().get<Editor>(QLatin1String(Editor::staticMetaObject.className()));
    e->setUpJob(key.isEmpty() ? u"Tellwick: New %1 job"_s.arg(type) : u"Tellwick: Edit %1 job"_s.arg(type), key);
    return e;
}

QWidget* ruleEditor(TestContext& t, const QString& mode) {
    auto* mailbox = static_cast<frmJobMailbox*>(editor<frmJobMailbox>(t, u"mailbox"_s, u"m1"_s));
    auto* rules = t.ctx().windows().get<frmJobMailboxEdit>(u"frmJobMailboxEdit"_s);
    rules->setTag(mode);
    rules->setLists(mailbox->lstCriteria, mailbox->lstException);
    return rules;
}

using Opener = std::function<QWidget*(TestContext&)>;

const QMap<QString, Opener>& openers() {
    static const QMap<QString, Opener> all{
        {u"job list"_s, [](TestContext& t) { return t.ctx().windows().get(u"frmJobs"_s); }},
        {u"job list, row clicked"_s,
         [](TestContext& t) {
             auto* jobs = t.ctx().windows().get<frmJobs>(u"frmJobs"_s);
             jobs->lstJobs2->setSelectedItem(jobs->lstJobs2->item(1));
             jobs->lstJobs2_Click();
             jobs->lstJobs2_ColumnClick(2);
             return jobs;
         }},
        {u"new-job chooser"_s, [](TestContext& t) { return t.ctx().windows().get(u"frmJobNew"_s); }},
        {u"SQL examples"_s, [](TestContext& t) { return t.ctx().windows().get(u"frmSQLHelp"_s); }},
        {u"forward, new"_s, [](TestContext& t) { return editor<frmJobForward>(t, u"forward"_s, {}); }},
        {u"forward, default job"_s, [](TestContext& t) { return editor<frmJobForward>(t, u"forward"_s, u"f1"_s); }},
        {u"exec, new"_s, [](TestContext& t) { return editor<frmJobExec>(t, u"exec"_s, {}); }},
        {u"exec, stored"_s, [](TestContext& t) { return editor<frmJobExec>(t, u"exec"_s, u"e1"_s); }},
        {u"query, new"_s, [](TestContext& t) { return editor<frmJobQuery>(t, u"query"_s, {}); }},
        {u"query, stored"_s, [](TestContext& t) { return editor<frmJobQuery>(t, u"query"_s, u"q1"_s); }},
        {u"sendmail, new"_s, [](TestContext& t) { return editor<frmJobSendmail>(t, u"sendmail"_s, {}); }},
        {u"sendmail, stored"_s, [](TestContext& t) { return editor<frmJobSendmail>(t, u"sendmail"_s, u"s1"_s); }},
        {u"mailbox, new"_s, [](TestContext& t) { return editor<frmJobMailbox>(t, u"mailbox"_s, {}); }},
        {u"mailbox, stored"_s, [](TestContext& t) { return editor<frmJobMailbox>(t, u"mailbox"_s, u"m1"_s); }},
        {u"mailbox, request tab"_s,
         [](TestContext& t) {
             auto* e = static_cast<frmJobMailbox*>(editor<frmJobMailbox>(t, u"mailbox"_s, u"m1"_s));
             e->tubby->setSelectedIndex(2);
             e->tubby_Click();
             return e;
         }},
        {u"criteria editor"_s, [](TestContext& t) { return ruleEditor(t, u"C"_s); }},
        {u"exception editor"_s, [](TestContext& t) { return ruleEditor(t, u"E"_s); }},
    };
    return all;
}

}  // namespace

class TestEditorFit : public QObject {
    Q_OBJECT

private slots:
    void everyTextFits_data() {
        QTest::addColumn<QString>("window");
        for (const QString& name : openers().keys()) {
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void everyTextFits() {
        QFETCH(QString, window);
        TestContext t;
        storeJobs(t.ini());
        registerJobEditorWindows(t.ctx().windows());
        QWidget* w = openers().value(window)(t);
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QStringList misfits = TextFit::misfits(w);
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(u'\n')));
        w->close();
    }

    // An example that grows with the identifier typed into an open editor keeps its lines.
    void exampleGrowsWithTheIdentifier_data() {
        QTest::addColumn<QString>("window");
        for (const char* name : {"forward, new", "exec, new", "query, new", "sendmail, new"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void exampleGrowsWithTheIdentifier() {
        QFETCH(QString, window);
        TestContext t;
        registerJobEditorWindows(t.ctx().windows());
        auto* w = static_cast<JobEditorFrame*>(openers().value(window)(t));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->txtJobIdent->setText(u"HEATING-OF-THE-WEEKEND-HOUSE"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QStringList misfits = TextFit::misfits(w);
        QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(u'\n')));
        w->close();
    }

    // The largest editors fit a laptop screen of 1366 x 768 with room for a panel and the title.
    void editorsStayCompact_data() {
        QTest::addColumn<QString>("window");
        for (const char* name : {"sendmail, stored", "mailbox, new", "mailbox, stored", "query, stored",
                                 "forward, default job", "exec, stored"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void editorsStayCompact() {
        QFETCH(QString, window);
        TestContext t;
        storeJobs(t.ini());
        registerJobEditorWindows(t.ctx().windows());
        QWidget* w = openers().value(window)(t);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        // The size it opens at on a screen large enough for its wishes.
        const QSize opened = w->size().expandedTo(w->sizeHint());
        QVERIFY2(opened.width() <= 960, qPrintable(QString::number(opened.width())));
        QVERIFY2(opened.height() <= 640, qPrintable(QString::number(opened.height())));
        w->close();
    }
};

QTEST_MAIN(TestEditorFit)
#include "tst_editorfit.moc"
