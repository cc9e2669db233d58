#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "JobEditorFrame.h"
#include "JobEditorHost.h"
#include "JobEditorWindows.h"
#include "JobTypes.h"
#include "ListView.h"
#include "ModalDriver.h"
#include "TestContext.h"
#include "ToolTipControl.h"
#include "cToolTips.h"
#include "frmJobs.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

namespace {

// The smallest editor the frame allows: only the frame's own keys.
class MiniEditor : public JobEditorFrame {
public:
    MiniEditor(AppContext& ctx, int typeIndex, Restrictions restrictions = WithRestrictions)
        : JobEditorFrame(ctx, typeIndex, restrictions) {
        finishLoad();
    }
    using JobEditorFrame::WithoutRestrictions;
    void getJob() override {
        loadCommonFields();
        loadRestrictions();
    }
    void saveJob() override {
        writeCommonHead();
        writeCommonTail();
    }
    QString Example() const override { return u"Example: '"_s + identifier() + u"text'"_s; }
    int saves = 0;

protected:
    void afterSave() override { ++saves; }
};

const int kExec = 1;

}  // namespace

class TestJobEditorFrame : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestContext> t;
    IniStore& ini() { return t->ini(); }
    void storeJob(const QString& key, int type, const QString& ident, const QString& name,
                  const QString& active) {
        ini().writeINI(jobSection(key), u"Type"_s, QString::number(type));
        ini().writeINI(jobSection(key), u"Identification"_s, ident);
        ini().writeINI(jobSection(key), u"Name"_s, name);
        ini().writeINI(jobSection(key), u"Active"_s, active);
    }
    std::unique_ptr<MiniEditor> edit(const QString& key) {
        auto e = std::make_unique<MiniEditor>(t->ctx(), kExec);
        e->setUpJob(u"Tellwick: Edit exec job"_s, key);
        return e;
    }
    std::unique_ptr<MiniEditor> create() {
        auto e = std::make_unique<MiniEditor>(t->ctx(), kExec);
        e->setUpJob(u"Tellwick: New exec job"_s, QString());
        return e;
    }
    static void leaveIdentifier(MiniEditor& e) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e.txtJobIdent, &out);
    }
    bool restrictionsEnabled(const MiniEditor& e) {
        return e.Frame2->isEnabled() && e.Label4->isEnabled() && e.optAllow->isEnabled() &&
               e.optDeny->isEnabled();
    }

private slots:
    void init() { t = std::make_unique<TestContext>(); }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void newJobTakesFirstFreeNumber() {
        storeJob(u"e1"_s, kExec, u"a"_s, u"A"_s, u"1"_s);
        storeJob(u"e2"_s, kExec, u"b"_s, u"B"_s, u"1"_s);
        storeJob(u"e4"_s, kExec, u"d"_s, u"D"_s, u"1"_s);
        auto e = create();
        QVERIFY(e->isNewJob());
        QCOMPARE(e->jobKey(), u"e3"_s);
        QCOMPARE(e->jobNumber(), 3);
        QCOMPARE(e->txtJobIdent->text(), u">e3<"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: New exec job [3]"_s);
        QVERIFY(!e->chkActive->isChecked());
        QVERIFY(!e->cmdOK->isEnabled());
        QCOMPARE(e->labExample->text(), u"Example: '>e3<text'"_s);
        e->txtName->setText(u"Third"_s);
        QVERIFY(e->cmdOK->isEnabled());
        e->txtName->clear();
        QVERIFY(!e->cmdOK->isEnabled());
    }

    // A new job always takes the first free number, whatever key the opener passed.
    void newJobIgnoresTheOpenersKey_data() {
        QTest::addColumn<QString>("given");
        QTest::newRow("a later free number") << u"e7"_s;
        QTest::newRow("stored job") << u"e1"_s;
        QTest::newRow("other type") << u"f5"_s;
        QTest::newRow("past the last number") << u"e501"_s;
    }
    void newJobIgnoresTheOpenersKey() {
        QFETCH(QString, given);
        storeJob(u"e1"_s, kExec, u"a"_s, u"A"_s, u"1"_s);
        MiniEditor e(t->ctx(), kExec);
        e.setUpJob(u"Tellwick: New exec job"_s, given);
        QCOMPARE(e.jobKey(), u"e2"_s);
        QCOMPARE(e.txtJobIdent->text(), u">e2<"_s);
    }

    void openJobIsModal() {
        storeJob(u"e1"_s, kExec, u"a"_s, u"A"_s, u"1"_s);
        MiniEditor e(t->ctx(), kExec);
        bool wasModal = false;
        QObject guard;
        driveModal(&guard, u"The exec job editor"_s, [&](QWidget* w) {
            wasModal = w == &e && e.isModal();
            e.txtName->setText(u"Renamed"_s);
            e.cmdOK->click();
        });
        e.openJob(u"Tellwick: Edit exec job"_s, u"e1"_s);
        QVERIFY(wasModal);
        QCOMPARE(e.result(), int(QDialog::Accepted));
        QCOMPARE(ini().readINI(u"Job e1"_s, u"Name"_s), u"Renamed"_s);
    }

    void newJobWhenEveryNumberIsTaken() {
        for (int n = 1; n <= maxJobsPerType; ++n) {
            ini().writeINI(jobSection(jobKey(kExec, n)), u"Type"_s, u"1"_s);
        }
        auto e = create();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().icon, MsgBox::Critical);
        e->txtName->setText(u"One too many"_s);
        QVERIFY(!e->cmdOK->isEnabled());
        e->cmdOK_Click();
        QVERIFY(!ini().hasSection(u"Job e0"_s));
        QCOMPARE(e->saves, 0);
    }

    void editCaptionOnlyLoadsOwnType() {
        storeJob(u"f1"_s, 0, u"fwd"_s, u"Forward one"_s, u"1"_s);
        auto e = edit(u"f1"_s);
        QVERIFY(e->isNewJob());
        QVERIFY(e->jobKey().startsWith(u'e'));
        QVERIFY(e->txtName->text().isEmpty());
    }

    void clearingAndRetypingIdentifier_data() {
        QTest::addColumn<QString>("storedActive");
        QTest::addColumn<bool>("tickedAfterRetype");
        QTest::newRow("stored active") << u"1"_s << true;
        QTest::newRow("stored inactive") << u"0"_s << false;
    }
    void clearingAndRetypingIdentifier() {
        QFETCH(QString, storedActive);
        QFETCH(bool, tickedAfterRetype);
        storeJob(u"e3"_s, kExec, u"abc"_s, u"Job three"_s, storedActive);
        auto e = edit(u"e3"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit exec job [3]"_s);
        QVERIFY(restrictionsEnabled(*e));

        e->txtJobIdent->clear();
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit exec job [DEFAULT JOB]"_s);
        QVERIFY(e->chkActive->isChecked());
        QVERIFY(!e->chkActive->isEnabled());
        QVERIFY(!e->Frame2->isEnabled());
        QVERIFY(!e->Label4->isEnabled());
        QVERIFY(!e->optAllow->isEnabled());
        QVERIFY(!e->optDeny->isEnabled());

        e->txtJobIdent->setText(u"x"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit exec job [3]"_s);
        QCOMPARE(e->chkActive->isChecked(), tickedAfterRetype);
        QVERIFY(e->chkActive->isEnabled());
        QVERIFY(restrictionsEnabled(*e));

        // A tick changed by hand goes back to the stored state on the next identifier change.
        e->chkActive->setChecked(!tickedAfterRetype);
        e->txtJobIdent->setText(u"xy"_s);
        QCOMPARE(e->chkActive->isChecked(), tickedAfterRetype);
    }

    void blankIdentifierIsTheDefaultJob() {
        storeJob(u"e3"_s, kExec, u"abc"_s, u"Job three"_s, u"0"_s);
        auto e = edit(u"e3"_s);
        e->txtJobIdent->setText(u"   "_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit exec job [DEFAULT JOB]"_s);
        QVERIFY(e->chkActive->isChecked());
        QVERIFY(!e->Frame2->isEnabled());
        e->cmdOK_Click();
        QCOMPARE(ini().readINI(u"Job e3"_s, u"Identification"_s), QString());
        QCOMPARE(ini().readINI(u"Job e3"_s, u"Active"_s), u"1"_s);
    }

    void openingStoredDefaultJob() {
        storeJob(u"e2"_s, kExec, QString(), u"Catch all"_s, u"0"_s);
        auto e = edit(u"e2"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit exec job [DEFAULT JOB]"_s);
        QVERIFY(e->chkActive->isChecked());
        QVERIFY(!e->chkActive->isEnabled());
        QVERIFY(!e->Frame2->isEnabled());
    }

    void secondDefaultJob_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(MsgBox::Yes);
        QTest::newRow("no") << int(MsgBox::No);
        QTest::newRow("cancel") << int(MsgBox::Cancel);
    }
    void secondDefaultJob() {
        QFETCH(int, answer);
        storeJob(u"s4"_s, 3, QString(), u"Old default"_s, u"1"_s);
        auto e = create();
        e->txtJobIdent->clear();
        e->txtName->setText(u"New default"_s);
        t->msgBox().queueAnswer(answer);
        e->cmdOK_Click();

        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().first();
        QCOMPARE(box.title, u"Default job already exists"_s);
        QCOMPARE(box.text,
                 u"You already have a default job that doesn't need an identifier.\r\n"
                 "Do you want to give this job a new (standard) identifier?\r\n\r\n"
                 "(If you choose no, the old default job will be deleted!)"_s);
        QCOMPARE(box.buttons, MsgBox::YesNoCancel);
        QCOMPARE(box.icon, MsgBox::Question);

        if (answer == MsgBox::Yes) {
            QCOMPARE(ini().readINI(u"Job s4"_s, u"Identification"_s), u">s4<"_s);
            QCOMPARE(ini().readINI(u"Job s4"_s, u"Name"_s), u"Old default"_s);
            QCOMPARE(findJobByIdent(ini(), QString()), u"New default,e1"_s);
        } else if (answer == MsgBox::No) {
            QVERIFY(!ini().hasSection(u"Job s4"_s));
            QCOMPARE(findJobByIdent(ini(), QString()), u"New default,e1"_s);
        } else {
            QCOMPARE(ini().readINI(u"Job s4"_s, u"Identification"_s), QString());
            QVERIFY(!ini().hasSection(u"Job e1"_s));
            QCOMPARE(e->saves, 0);
        }
    }

    void blankIdentifierMeetsExistingDefault() {
        storeJob(u"f1"_s, 0, QString(), u"Old default"_s, u"1"_s);
        auto e = create();
        e->txtJobIdent->setText(u"  "_s);
        e->txtName->setText(u"Hidden second default"_s);
        t->msgBox().queueAnswer(MsgBox::Cancel);
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().title, u"Default job already exists"_s);
        QVERIFY(!ini().hasSection(u"Job e1"_s));
    }

    void resavingTheDefaultJobAsksNothing() {
        storeJob(u"e2"_s, kExec, QString(), u"Catch all"_s, u"1"_s);
        auto e = edit(u"e2"_s);
        e->txtDesc->setText(u"changed"_s);
        e->cmdOK_Click();
        QVERIFY(t->msgBox().shown().isEmpty());
        QCOMPARE(ini().readINI(u"Job e2"_s, u"Description"_s), u"changed"_s);
    }

    void identifierUsedByAnotherJob_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("same") << u"abc"_s;
        QTest::newRow("blanks around") << u" abc "_s;
    }
    void identifierUsedByAnotherJob() {
        QFETCH(QString, typed);
        storeJob(u"s2"_s, 3, u"abc"_s, u"Mail, daily"_s, u"1"_s);
        auto e = create();
        e->txtJobIdent->setText(typed);
        e->txtName->setText(u"Clash"_s);
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().first();
        QCOMPARE(box.title, u"Job identifier not unique"_s);
        QCOMPARE(box.text, u"The job 'Mail, daily'\r\nalready uses this identifier, please change it."_s);
        QCOMPARE(box.icon, MsgBox::Critical);
        QVERIFY(!ini().hasSection(u"Job e1"_s));
        QCOMPARE(e->saves, 0);
    }

    void identifierDifferingInCaseIsUnique() {
        storeJob(u"s2"_s, 3, u"abc"_s, u"Lower"_s, u"1"_s);
        auto e = create();
        e->txtJobIdent->setText(u"ABC"_s);
        e->txtName->setText(u"Upper"_s);
        e->cmdOK_Click();
        QVERIFY(t->msgBox().shown().isEmpty());
        QCOMPARE(ini().readINI(u"Job e1"_s, u"Identification"_s), u"ABC"_s);
    }

    void savedIdentifierIsTrimmed() {
        auto e = create();
        e->txtJobIdent->setText(u"  go "_s);
        e->txtName->setText(u"Go"_s);
        e->cmdOK_Click();
        QCOMPARE(findJobByIdent(ini(), u"go"_s), u"Go,e1"_s);
    }

    void forbiddenCharacters_data() {
        QTest::addColumn<QString>("ident");
        QTest::newRow("comma") << u"a,b"_s;
        QTest::newRow("hash") << u"#a"_s;
        QTest::newRow("star") << u"a*"_s;
    }
    void forbiddenCharacters() {
        QFETCH(QString, ident);
        auto e = create();
        e->show();
        e->txtJobIdent->setText(ident);
        leaveIdentifier(*e);
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().title, u"Invalid identifier"_s);
        QCOMPARE(t->msgBox().shown().first().text,
                 u"You can't use '*' or '#' or commas in your identifier for a job."_s);
        QCOMPARE(e->txtJobIdent->text(), ident);

        // Enter presses OK without leaving the box: OK refuses as well and saves nothing.
        e->txtName->setText(u"Bad"_s);
        e->cmdOK_Click();
        QCOMPARE(t->msgBox().shown().size(), 2);
        QCOMPARE(t->msgBox().shown().last().title, u"Invalid identifier"_s);
        QVERIFY(!ini().hasSection(u"Job e1"_s));
        QVERIFY(e->isVisible());
    }

    void restrictionListEditing() {
        auto e = create();
        e->txtRestrict->setText(u"+4911"_s);
        QVERIFY(e->cmdAdd->isEnabled());
        e->cmdAdd_Click();
        QVERIFY(e->optAllow->isChecked());
        QVERIFY(e->txtRestrict->text().isEmpty());
        QVERIFY(!e->cmdAdd->isEnabled());
        QVERIFY(!e->cmdDel->isEnabled());

        e->lstRestrict->item(0)->setSelected(true);
        QVERIFY(e->cmdDel->isEnabled());
        e->cmdDel_Click();
        QCOMPARE(e->lstRestrict->count(), 0);
        QCOMPARE(e->txtRestrict->text(), u"+4911"_s);
        QVERIFY(e->cmdAdd->isEnabled());
        QVERIFY(!e->cmdDel->isEnabled());
        QVERIFY(!e->optAllow->isChecked());
        QVERIFY(!e->optDeny->isChecked());
    }

    void emptyListDeletesBothKeys() {
        storeJob(u"e1"_s, kExec, u"x"_s, u"X"_s, u"1"_s);
        ini().writeINI(u"Job e1"_s, u"Allow"_s, u"+491"_s);
        ini().writeINI(u"Job e1"_s, u"Deny"_s, u"+492"_s);
        auto e = edit(u"e1"_s);
        QCOMPARE(e->lstRestrict->count(), 1);
        QVERIFY(e->optAllow->isChecked());
        e->lstRestrict->item(0)->setSelected(true);
        e->cmdDel_Click();
        e->cmdOK_Click();
        const QStringList keys = ini().keys(u"Job e1"_s);
        QVERIFY(!keys.contains(u"Allow"_s));
        QVERIFY(!keys.contains(u"Deny"_s));
    }

    void denyListSavedAndLoaded() {
        auto e = create();
        e->txtName->setText(u"Deny two"_s);
        for (const QString& n : {u"+4911"_s, u"+4922"_s}) {
            e->txtRestrict->setText(n);
            e->cmdAdd_Click();
        }
        e->optDeny->setChecked(true);
        e->cmdOK_Click();
        QCOMPARE(ini().readINI(u"Job e1"_s, u"Deny"_s), u"+4911,+4922"_s);
        QVERIFY(!ini().keys(u"Job e1"_s).contains(u"Allow"_s));

        ini().writeINI(u"Job e1"_s, u"Deny"_s, u"+4911 , +4922"_s);
        auto again = edit(u"e1"_s);
        QVERIFY(again->optDeny->isChecked());
        QCOMPARE(again->lstRestrict->count(), 2);
        QCOMPARE(again->lstRestrict->item(0)->text(), u"+4911"_s);
        QCOMPARE(again->lstRestrict->item(1)->text(), u"+4922"_s);
    }

    void allowWinsOverDenyWhenBothStored() {
        storeJob(u"e1"_s, kExec, u"x"_s, u"X"_s, u"1"_s);
        ini().writeINI(u"Job e1"_s, u"Deny"_s, u"+492"_s);
        ini().writeINI(u"Job e1"_s, u"Allow"_s, u"+491"_s);
        auto e = edit(u"e1"_s);
        QVERIFY(e->optAllow->isChecked());
        QCOMPARE(e->lstRestrict->item(0)->text(), u"+491"_s);
        e->cmdOK_Click();
        QCOMPARE(ini().readINI(u"Job e1"_s, u"Allow"_s), u"+491"_s);
        QVERIFY(!ini().keys(u"Job e1"_s).contains(u"Deny"_s));
    }

    // An editor without the allow/deny list: no list controls, no Allow or Deny key touched,
    // the common tooltips without the list's.
    void editorWithoutRestrictions() {
        storeJob(u"m1"_s, 4, u"mail"_s, u"Mailbox"_s, u"0"_s);
        ini().writeINI(u"Job m1"_s, u"Allow"_s, u"+491"_s);
        MiniEditor e(t->ctx(), 4, MiniEditor::WithoutRestrictions);
        QVERIFY(!e.Frame2 && !e.lstRestrict && !e.optAllow);
        const QList<ToolInfo>& tools = ToolTipWindows::control(e.toolTips()->hWnd())->tools();
        QCOMPARE(tools.size(), 4);
        QCOMPARE(tools.at(3).uId, ToolTipWindows::handleOf(e.chkActive));
        e.setUpJob(u"Tellwick: Edit mailbox job"_s, u"m1"_s);
        QCOMPARE(e.windowTitle(), u"Tellwick: Edit mailbox job [1]"_s);
        e.txtJobIdent->clear();
        e.txtJobIdent->setText(u"box"_s);
        e.cmdOK_Click();
        QCOMPARE(ini().readINI(u"Job m1"_s, u"Identification"_s), u"box"_s);
        QCOMPARE(ini().readINI(u"Job m1"_s, u"Allow"_s), u"+491"_s);
    }

    void okRebuildsJobListAndUnloads() {
        registerJobEditorWindows(t->ctx().windows());
        t->ctx().windows().registerFactory(u"frmJobExec"_s,
                                           [](AppContext& ctx) { return new MiniEditor(ctx, kExec); });
        auto* list = t->ctx().windows().get<frmJobs>(u"frmJobs"_s);
        QCOMPARE(list->lstJobs2->count(), 0);
        QPointer<QWidget> editor;
        QObject guard;
        driveModal(&guard, u"The exec job editor"_s, [&](QWidget* w) {
            QCOMPARE(w, t->ctx().windows().existing(u"frmJobExec"_s));
            auto* e = static_cast<MiniEditor*>(w);
            editor = e;
            e->txtName->setText(u"Saved"_s);
            e->cmdOK_Click();
        });
        QVERIFY(openJobEditor(t->ctx(), u"frmJobExec"_s, u"Tellwick: New exec job"_s, u"e1"_s));
        QCOMPARE(ini().readINI(u"Job e1"_s, u"Name"_s), u"Saved"_s);
        QCOMPARE(list->lstJobs2->count(), 1);
        QCOMPARE(list->lstJobs2->item(1)->tag(), u"e1"_s);
        QVERIFY(!t->ctx().windows().isLoaded(u"frmJobExec"_s));
        QTRY_VERIFY(editor.isNull());
    }

    void cancelWritesNothing() {
        registerJobEditorWindows(t->ctx().windows());
        storeJob(u"e1"_s, kExec, u"x"_s, u"Before"_s, u"1"_s);
        auto* list = t->ctx().windows().get<frmJobs>(u"frmJobs"_s);
        ini().writeINI(u"Job e2"_s, u"Type"_s, u"1"_s);  // stored after the list was built
        const QByteArray before = t->readFile(t->settingsFile());
        auto e = edit(u"e1"_s);
        e->txtName->setText(u"After"_s);
        e->txtJobIdent->clear();
        e->cmdCancel_Click();
        QCOMPARE(e->result(), int(QDialog::Rejected));
        QCOMPARE(t->readFile(t->settingsFile()), before);
        QCOMPARE(list->lstJobs2->count(), 1);  // not rebuilt
    }

    // A settings file that cannot be written: OK says so, writes nothing and keeps the editor
    // open with what was typed; once the file can be written again, OK saves the whole job.
    void failedSaveKeepsTheEditorOpen_data() {
        QTest::addColumn<QString>("window");
        for (const char* w :
             {"frmJobForward", "frmJobExec", "frmJobQuery", "frmJobSendmail", "frmJobMailbox"}) {
            QTest::newRow(w + 6) << QString::fromLatin1(w);
        }
    }
    void failedSaveKeepsTheEditorOpen() {
        QFETCH(QString, window);
        const QString type = window.mid(6).toLower();
        const QString key = type.left(1) + u'1';
        registerJobEditorWindows(t->ctx().windows());
        storeJob(key, int(QStringList{u"f"_s, u"e"_s, u"q"_s, u"s"_s, u"m"_s}.indexOf(key.left(1))), u"old"_s,
                 u"Old name"_s, u"1"_s);
        QVERIFY(ini().writeINIValues(jobSection(key),
                                     {{u"Server"_s, u"mail.example.org"_s},
                                      {u"Port"_s, u"110"_s},
                                      {u"Username"_s, u"me"_s},
                                      {u"Password"_s, u"x"_s},
                                      {u"Interval"_s, u"15"_s},
                                      {u"LastCheck"_s, u"2026-12-01"_s},  // not the editor's
                                      {u"Connection"_s, u"Provider=SQLite;Data Source=x.db"_s}}));
        const QByteArray before = t->readFile(t->settingsFile());
        auto* e = t->ctx().windows().get<JobEditorFrame>(window);
        QVERIFY(e);
        e->setUpJob(u"Tellwick: Edit %1 job"_s.arg(type), key);
        e->show();
        e->txtName->selectAll();
        QTest::keyClicks(e->txtName, u"New name"_s);
        e->txtDesc->setText(u"typed"_s);

        // Root writes any file: a folder where the file was cannot be written by anyone.
        const QString file = t->settingsFile();
        QVERIFY(QFile::rename(file, file + u".kept"_s));
        QVERIFY(QDir().mkdir(file));
        t->msgBox().queueAnswer(MsgBox::OK);
        QTest::mouseClick(e->cmdOK, Qt::LeftButton);
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().last().title, u"Job not saved"_s);
        QCOMPARE(t->msgBox().shown().last().icon, MsgBox::Critical);
        QVERIFY(e->isVisible());
        QCOMPARE(e->txtName->text(), u"New name"_s);
        QCOMPARE(e->txtDesc->text(), u"typed"_s);

        QVERIFY(QDir().rmdir(file));
        QVERIFY(QFile::rename(file + u".kept"_s, file));
        QCOMPARE(t->readFile(file), before);
        QTest::mouseClick(e->cmdOK, Qt::LeftButton);
        QCOMPARE(t->msgBox().shown().size() - (window == u"frmJobSendmail"_s ? 1 : 0), 1);  // no mail server
        QCOMPARE(ini().readINI(jobSection(key), u"Name"_s), u"New name"_s);
        QCOMPARE(ini().readINI(jobSection(key), u"Description"_s), u"typed"_s);
        QCOMPARE(ini().readINI(jobSection(key), u"Identification"_s), u"old"_s);
        QCOMPARE(ini().readINI(jobSection(key), u"LastCheck"_s), u"2026-12-01"_s);
        QVERIFY(!t->ctx().windows().isLoaded(window));
    }

    void textBoxesSelectAllOnFocus() {
        auto e = create();
        e->txtName->setText(u"Some name"_s);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e->txtName, &in);
        QTRY_COMPARE(e->txtName->selectedText(), u"Some name"_s);
    }

    void commonToolTipsInOrder() {
        MiniEditor e(t->ctx(), kExec);
        cToolTips* tips = e.toolTips();
        QVERIFY(tips && tips->hWnd() != 0);
        const ToolTipControl* control = ToolTipWindows::control(tips->hWnd());
        QCOMPARE(control->owner(), static_cast<QWidget*>(&t->ctx().mainWindow()));
        QVERIFY(control->style() & 0x40);  // balloons
        QCOMPARE(tips->MaxTipWidth(), 400);
        QCOMPARE(tips->GetDelayTime(2), 10000);
        QCOMPARE(tips->Title(), QString());
        const QList<QWidget*> order = {e.txtJobIdent, e.txtName, e.txtDesc,  e.lstRestrict, e.txtRestrict,
                                       e.cmdAdd,      e.cmdDel,  e.optAllow, e.optDeny,     e.chkActive};
        const QList<ToolInfo>& tools = control->tools();
        QCOMPARE(tools.size(), order.size());
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(tools.at(i).uId, ToolTipWindows::handleOf(order.at(i)));
            QCOMPARE(tools.at(i).uFlags, 0x111u);
        }
        QVERIFY(tools.at(0).text.startsWith(u"Enter an unique identification string here."_s));
        QCOMPARE(tools.at(5).text, u"Click here to add a number to the list."_s);
        QCOMPARE(tools.at(9).text,
                 u"Check this to activate your job. If this is not checked, your job won't be executed."_s);
    }
};

QTEST_MAIN(TestJobEditorFrame)
#include "tst_jobeditorframe.moc"
