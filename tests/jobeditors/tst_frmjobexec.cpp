#include <QCheckBox>
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

#include "EditorHarness.h"
#include "ListView.h"
#include "ToolTipControl.h"
#include "cToolTips.h"
#include "frmJobExec.h"

using namespace Qt::StringLiterals;

using Harness = EditorHarness<frmJobExec, 'e', 1, "exec">;

class TestFrmJobExec : public QObject, public Harness {
    Q_OBJECT

public:
    // A stored exec job ">e1<" named "Runner e1", plus the keys a test gives.
    TestFrmJobExec()
        : Harness([](const QString& job) {
              return Keys{{u"Identification"_s, u">"_s + job + u"<"_s}, {u"Name"_s, u"Runner "_s + job}};
          }) {}

private:
    static QString example(const QString& line) {
        return u"Example SMS message for this job:\r\n'"_s + line + u'\'';
    }
    // The four notification controls that follow chkNotify, by their enabled state.
    static bool notifyOptionsEnabled(const frmJobExec& e) {
        return e.optSender->isEnabled() && e.optNumber->isEnabled() && e.chkSRR->isEnabled() &&
               e.chkFlash->isEnabled();
    }
    static bool notifyOptionsDisabled(const frmJobExec& e) {
        return !e.optSender->isEnabled() && !e.optNumber->isEnabled() && !e.chkSRR->isEnabled() &&
               !e.chkFlash->isEnabled();
    }

private slots:
    void init() { startTest(); }
    void cleanup() { endTest(); }

    void newJobTakesTheFirstFreeNumberAndNoDefaults() {
        storeJob(u"e1"_s);
        storeJob(u"e2"_s);
        auto e = create();
        QCOMPARE(e->jobKey(), u"e3"_s);
        QCOMPARE(e->txtJobIdent->text(), u">e3<"_s);
        QCOMPARE(e->windowTitle(), u"Tellwick: New exec job [3]"_s);
        QCOMPARE(e->labExample->text(), example(u">e3<YourCommandline, YourParameters"_s));
        QVERIFY(e->txtCmd->text().isEmpty() && e->txtParam->text().isEmpty() &&
                e->txtWorkDir->text().isEmpty());
        QVERIFY(!e->chkHidden->isChecked() && !e->chkNotify->isChecked() && !e->chkActive->isChecked());
        QVERIFY(!e->optSender->isChecked() && !e->optNumber->isChecked());
        QVERIFY(notifyOptionsDisabled(*e));
        QVERIFY(e->txtNumber->isEnabled() && e->txtNumber->text().isEmpty());
        QVERIFY(!e->cmdOK->isEnabled());
        QVERIFY(e->Command2->isEnabled() && e->cmdBrowse->isEnabled());
        QCOMPARE(e->chkActive->text(), u"T&his job is active"_s);
        QCOMPARE(e->cmdAdd->text(), u"< &Add"_s);
        QCOMPARE(e->Frame1->title(), u"&Job options:"_s);
        QCOMPARE(e->Label8->text(),
                 u"Please note: If commandline and/or para- meters are empty, they must be sent by SMS."_s);
        QVERIFY(e->cmdOK->isDefault());
    }

    void savedKeysInOrder() {
        auto e = create();
        e->txtName->setText(u"All keys"_s);
        e->chkNotify->setChecked(true);
        e->chkFlash->setChecked(true);
        e->txtRestrict->setText(u"+491"_s);
        e->cmdAdd_Click();
        e->optDeny->setChecked(true);
        e->cmdOK_Click();
        QCOMPARE(keys(), (QStringList{u"Type"_s, u"Identification"_s, u"Name"_s, u"Description"_s,
                                      u"Command"_s, u"Param"_s, u"WorkDir"_s, u"Active"_s, u"Hidden"_s,
                                      u"Notify"_s, u"Report"_s, u"Flash"_s, u"DefaultNo"_s, u"Deny"_s}));
        QCOMPARE(read(u"Type"_s), u"1"_s);
        QCOMPARE(read(u"Identification"_s), u">e1<"_s);
        QCOMPARE(read(u"Active"_s), u"0"_s);
        QCOMPARE(read(u"Hidden"_s), u"0"_s);
        QCOMPARE(read(u"Notify"_s), u"1"_s);
        QCOMPARE(read(u"Report"_s), u"0"_s);
        QCOMPARE(read(u"Flash"_s), u"1"_s);
        QCOMPARE(read(u"Deny"_s), u"+491"_s);
    }

    // What DefaultNo holds follows from the option chosen, not from chkNotify.
    void defaultNumberOnSave_data() {
        QTest::addColumn<bool>("notify");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no notification, no option") << false << u""_s << u"111;222"_s << u"111,222"_s;
        QTest::newRow("back to sender, numbers still shown") << true << u"sender"_s << u"111;222"_s << u""_s;
        QTest::newRow("to the numbers") << true << u"number"_s << u"111;222,333"_s << u"111,222,333"_s;
        QTest::newRow("to the numbers, notification off") << false << u"number"_s << u"444"_s << u"444"_s;
    }
    void defaultNumberOnSave() {
        QFETCH(bool, notify);
        QFETCH(QString, option);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        auto e = create();
        e->txtName->setText(u"Notifier"_s);
        e->txtNumber->setText(typed);
        e->chkNotify->setChecked(true);
        if (option == u"sender"_s) {
            e->optSender->click();
        } else if (option == u"number"_s) {
            e->optNumber->click();
        }
        e->chkNotify->setChecked(notify);
        e->cmdOK_Click();
        QCOMPARE(read(u"Notify"_s), notify ? u"1"_s : u"0"_s);
        QVERIFY(keys().contains(u"DefaultNo"_s));
        QCOMPARE(read(u"DefaultNo"_s), stored);
    }

    // A stored job opens with the option its numbers call for, greyed unless it notifies.
    void notificationStateOnOpening_data() {
        QTest::addColumn<QString>("notify");
        QTest::addColumn<QString>("defaultNo");
        QTest::addColumn<bool>("toNumbers");
        QTest::addColumn<bool>("optionsEnabled");
        QTest::addColumn<bool>("numberEnabled");
        QTest::newRow("off, with numbers") << u"0"_s << u"111,222"_s << true << false << true;
        QTest::newRow("off, no numbers") << u""_s << u""_s << false << false << false;
        QTest::newRow("on, no numbers") << u"1"_s << u""_s << false << true << false;
        QTest::newRow("on, with numbers") << u"1"_s << u"111"_s << true << true << true;
    }
    void notificationStateOnOpening() {
        QFETCH(QString, notify);
        QFETCH(QString, defaultNo);
        QFETCH(bool, toNumbers);
        QFETCH(bool, optionsEnabled);
        QFETCH(bool, numberEnabled);
        storeJob(u"e1"_s, {{u"Notify"_s, notify}, {u"DefaultNo"_s, defaultNo}});
        auto e = edit();
        QCOMPARE(e->chkNotify->isChecked(), notify == u"1"_s);
        QCOMPARE(e->optNumber->isChecked(), toNumbers);
        QCOMPARE(e->optSender->isChecked(), !toNumbers);
        QVERIFY(optionsEnabled ? notifyOptionsEnabled(*e) : notifyOptionsDisabled(*e));
        QCOMPARE(e->txtNumber->isEnabled(), numberEnabled);
        QCOMPARE(e->txtNumber->text(), defaultNo);
    }

    void notificationControlsFollowTheirHandlers() {
        auto e = create();
        e->txtNumber->setText(u"111"_s);
        e->chkNotify->setChecked(true);
        QVERIFY(notifyOptionsEnabled(*e) && e->txtNumber->isEnabled());
        e->optSender->click();
        QVERIFY(!e->txtNumber->isEnabled());
        QCOMPARE(e->txtNumber->text(), u"111"_s);  // kept in the box, dropped on save
        // Ticking the notification again makes the box usable whichever option is chosen.
        e->chkNotify->setChecked(false);
        QVERIFY(notifyOptionsDisabled(*e) && !e->txtNumber->isEnabled());
        e->chkNotify->setChecked(true);
        QVERIFY(e->optSender->isChecked() && e->txtNumber->isEnabled());
        e->optSender->click();  // clicked again while chosen
        QVERIFY(!e->txtNumber->isEnabled());
        e->optNumber->click();
        QVERIFY(e->txtNumber->isEnabled());
    }

    void exampleText_data() {
        QTest::addColumn<QString>("ident");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("line");
        QTest::newRow("both empty") << u">e1<"_s << u""_s << u""_s
                                    << u">e1<YourCommandline, YourParameters"_s;
        QTest::newRow("command variables")
            << u">e1<"_s << u"/opt/tools/dial <#1> <#3>"_s << u"-v"_s << u">e1<CmdVar#1;CmdVar#3"_s;
        QTest::newRow("parameter variables")
            << u">e1<"_s << u"/opt/x.sh"_s << u"<#1> <#2>"_s << u">e1<, ParamVar#1;ParamVar#2"_s;
        QTest::newRow("no <#1>, no variables") << u">e1<"_s << u"/opt/x.sh <#2>"_s << u"-v"_s << u">e1<"_s;
        QTest::newRow("<#10> and <#11>")
            << u"RUN"_s << u"<#11> <#10> <#1>"_s << u""_s << u"RUNCmdVar#1;CmdVar#10, YourParameters"_s;
        QTest::newRow("<#11> beside <#1>") << u"RUN"_s << u"x"_s << u"<#1><#11>"_s << u"RUN, ParamVar#1"_s;
        QTest::newRow("default job") << u""_s << u"x"_s << u""_s << u", YourParameters"_s;
    }
    void exampleText() {
        QFETCH(QString, ident);
        QFETCH(QString, command);
        QFETCH(QString, params);
        QFETCH(QString, line);
        auto e = create();
        // Each box the example depends on updates the label.
        e->txtCmd->setText(command);
        e->txtParam->setText(params);
        e->txtJobIdent->setText(ident);
        QCOMPARE(e->labExample->text(), example(line));
    }

    // Where the file dialog opens, for what the command box holds.
    void fileChooserStartsWhereTheCommandPoints_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("folder");  // "<program>" for the program folder
        QTest::addColumn<QString>("fileName");
        QTest::newRow("full path") << u"/opt/tools/run.sh"_s << u"/opt/tools/"_s << u"run.sh"_s;
        QTest::newRow("bare name") << u"notepad"_s << u"<program>"_s << u""_s;
        QTest::newRow("empty") << u""_s << u"<program>"_s << u""_s;
        QTest::newRow("trailing slash") << u"/opt/tools/"_s << u"/opt/"_s << u"tools/"_s;
        QTest::newRow("only a trailing slash") << u"tools/"_s << u""_s << u"tools/"_s;
        QTest::newRow("with parameters") << u"/opt/a b/run.sh <#1>"_s << u"/opt/a b/"_s << u"run.sh <#1>"_s;
    }
    void fileChooserStartsWhereTheCommandPoints() {
        QFETCH(QString, command);
        QFETCH(QString, folder);
        QFETCH(QString, fileName);
        auto e = create();
        e->txtCmd->setText(command);
        e->Command2->click();  // nothing queued: cancelled
        const auto& asked = t->ctx().prompts().files.asked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).startFolder, folder == u"<program>"_s ? t->folder() : folder);
        QCOMPARE(asked.at(0).fileName, fileName);
        QCOMPARE(asked.at(0).title, u"Select executable file to run or any document to be opened:"_s);
        QCOMPARE(asked.at(0).filter,
                 u"all files (*);;executable files (*.exe *.com *.bat);;scripts (*.wsh "
                 "*.wsf *.wsc *.js *.jse *.sct *.vbe *.vbs)"_s);
        // A cancelled dialog leaves the command as it was, even when it preset a file name.
        QCOMPARE(e->txtCmd->text(), command);
    }

    void fileChooserTakesTheChosenPath() {
        auto e = create();
        e->txtParam->setText(u"-v"_s);
        t->ctx().prompts().files.queueFile(u"/usr/local/bin/dial"_s);
        e->Command2_Click();
        QCOMPARE(e->txtCmd->text(), u"/usr/local/bin/dial"_s);
        QCOMPARE(e->txtParam->text(), u"-v"_s);
        // The dialog keeps the file it was last given for a bare name typed later.
        e->txtCmd->setText(u"other"_s);
        e->Command2_Click();
        const auto& asked = t->ctx().prompts().files.asked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(1).startFolder, t->folder());
        QCOMPARE(asked.at(1).fileName, u"/usr/local/bin/dial"_s);
        QCOMPARE(e->txtCmd->text(), u"other"_s);
    }

    void folderChooser() {
        auto e = create();
        FolderPicker& folders = t->ctx().prompts().folders;
        folders.queueFolder(u"/srv/work"_s);
        e->cmdBrowse->click();
        QCOMPARE(e->txtWorkDir->text(), u"/srv/work"_s);
        e->cmdBrowse_Click();  // cancelled
        QCOMPARE(e->txtWorkDir->text(), u"/srv/work"_s);
        QCOMPARE(folders.asked().size(), 2);
        QCOMPARE(folders.asked().at(0).startFolder, t->folder());
        QCOMPARE(folders.asked().at(0).title, u"Please select the working directory for this job:"_s);
        QCOMPARE(folders.asked().at(1).startFolder, u"/srv/work"_s);
        QVERIFY(!ini().hasSection(u"Job e1"_s));
    }

    // A job made in the editor comes back with every value as typed, also values the settings
    // file could garble: quotes, "=", ";", and texts far past 254 characters.
    void newJobRoundTrip() {
        const QString longCommand = u"/opt/"_s + QString(300, u'c') + u"/run.sh"_s;
        const QString params = u"\"<#1>\" --mode=fast; <$sender> <#2>"_s;
        {
            auto e = create();
            e->txtJobIdent->setText(u"RUN"_s);
            e->txtName->setText(u"Backup, nightly"_s);
            e->txtDesc->setText(u"Runs the backup"_s);
            e->txtCmd->setText(longCommand);
            e->txtParam->setText(params);
            e->txtWorkDir->setText(u"\"/srv/my work\""_s);
            e->chkHidden->setChecked(true);
            e->chkNotify->setChecked(true);
            e->optNumber->click();
            e->txtNumber->setText(u"+4911,+4922"_s);
            e->chkSRR->setChecked(true);
            e->chkFlash->setChecked(true);
            e->chkActive->setChecked(true);
            e->txtRestrict->setText(u"+4933"_s);
            e->cmdAdd_Click();
            e->txtRestrict->setText(u"+4944"_s);
            e->cmdAdd_Click();
            e->cmdOK->click();
            QVERIFY(t->msgBox().shown().isEmpty());
        }
        QCOMPARE(read(u"Allow"_s), u"+4933,+4944"_s);
        auto e = edit();
        QCOMPARE(e->windowTitle(), u"Tellwick: Edit exec job [1]"_s);
        QCOMPARE(e->txtJobIdent->text(), u"RUN"_s);
        QCOMPARE(e->txtName->text(), u"Backup, nightly"_s);
        QCOMPARE(e->txtDesc->text(), u"Runs the backup"_s);
        QCOMPARE(e->txtCmd->text(), longCommand);
        QCOMPARE(e->txtParam->text(), params);
        QCOMPARE(e->txtWorkDir->text(), u"\"/srv/my work\""_s);
        QVERIFY(e->chkHidden->isChecked() && e->chkNotify->isChecked() && e->chkActive->isChecked());
        QVERIFY(e->chkSRR->isChecked() && e->chkFlash->isChecked());
        QVERIFY(e->optNumber->isChecked() && notifyOptionsEnabled(*e) && e->txtNumber->isEnabled());
        QCOMPARE(e->txtNumber->text(), u"+4911,+4922"_s);
        QVERIFY(e->optAllow->isChecked());
        QCOMPARE(e->lstRestrict->count(), 2);
        QCOMPARE(e->lstRestrict->item(1)->text(), u"+4944"_s);
        QCOMPARE(e->labExample->text(), example(u"RUN, ParamVar#1;ParamVar#2"_s));
    }

    // Made through the chooser, listed by the job list, opened again from it with its values.
    void createdFromTheJobListAndEditedAgain() {
        storeJob(u"e1"_s);
        auto* jobs = jobList();
        QString caption;
        newFromChooser(jobs, [&](frmJobExec& e) {
            caption = e.windowTitle();
            e.txtJobIdent->setText(u"DIAL"_s);
            e.txtName->setText(u"Dialler"_s);
            e.txtCmd->setText(u"/usr/bin/dial <#1>"_s);
            e.txtWorkDir->setText(u"/tmp"_s);
            e.chkNotify->setChecked(true);
            e.optSender->click();
            e.cmdOK->click();
        });
        QCOMPARE(caption, u"Tellwick: New exec job [2]"_s);
        ListItem* row = jobs->lstJobs2->findItemByTag(u"e2"_s);
        QVERIFY(row);
        QCOMPARE(row->text(), u"exec"_s);
        QCOMPARE(row->subItem(1), u"DIAL"_s);
        QCOMPARE(row->subItem(2), u"Dialler"_s);

        QString command, workDir;
        bool toSender = false;
        editFromJobList(jobs, row, [&](frmJobExec& e) {
            caption = e.windowTitle();
            command = e.txtCmd->text();
            workDir = e.txtWorkDir->text();
            toSender = e.optSender->isChecked() && e.optSender->isEnabled();
            e.cmdCancel->click();
        });
        QCOMPARE(caption, u"Tellwick: Edit exec job [2]"_s);
        QCOMPARE(command, u"/usr/bin/dial <#1>"_s);
        QCOMPARE(workDir, u"/tmp"_s);
        QVERIFY(toSender);
        QVERIFY(!t->ctx().windows().isLoaded(u"frmJobExec"_s));
    }

    void textBoxesSelectAllOnFocus() {
        auto e = create();
        for (QLineEdit* box : {e->txtJobIdent, e->txtName, e->txtDesc, e->txtRestrict, e->txtCmd, e->txtParam,
                               e->txtWorkDir, e->txtNumber}) {
            box->setText(u"some text"_s);
            box->deselect();
            QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
            QCoreApplication::sendEvent(box, &in);
            QTRY_COMPARE(box->selectedText(), u"some text"_s);
        }
    }

    void toolTipsInOrder() {
        frmJobExec e(t->ctx());
        const QList<ToolInfo>& tools = ToolTipWindows::control(e.toolTips()->hWnd())->tools();
        QCOMPARE(tools.size(), 22);
        QCOMPARE(tools.at(0).uId, ToolTipWindows::handleOf(e.txtJobIdent));
        QCOMPARE(tools.at(9).uId, ToolTipWindows::handleOf(e.chkActive));
        const QList<QWidget*> own = {e.txtCmd,    e.Command2,  e.txtParam,  e.txtWorkDir,
                                     e.cmdBrowse, e.chkHidden, e.chkNotify, e.optSender,
                                     e.optNumber, e.txtNumber, e.chkSRR,    e.chkFlash};
        for (int i = 0; i < own.size(); ++i) {
            QCOMPARE(tools.at(10 + i).uId, ToolTipWindows::handleOf(own.at(i)));
        }
        QCOMPARE(tools.at(10).text,
                 u"Enter the full path to the program, batch file or script here. You may use placeholders "
                 "<#1>, <#2>, ..., <#10> for variables and system variables <$sender> or <$+sender> here. "
                 "Leave blank to send complete commandline by SMS."_s);
        QCOMPARE(tools.at(11).text,
                 u"Click here to browser for the program, batch file or script you want to execute with this "
                 "job..."_s);
        QCOMPARE(tools.at(19).text,
                 u"Enter a number(list) here to send the notification SMS to. Seperate multiple numbers by "
                 "commas."_s);
        QCOMPARE(tools.at(21).text, u"Check this box to send notification messages as flash (alert) SMS."_s);
    }
};

QTEST_MAIN(TestFrmJobExec)
#include "tst_frmjobexec.moc"
