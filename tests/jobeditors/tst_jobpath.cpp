// The only way into the job editors, walked as a person walks it: the main window's job
// command, the job list, the new-job chooser and each type's real editor, then the same
// job opened again from the list for editing.
#include <QtTest>

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <functional>

#include "JobEditorFrame.h"
#include "JobEditorWindows.h"
#include "ListView.h"
#include "ModalWatcher.h"
#include "TestContext.h"
#include "frmJobMailbox.h"
#include "frmJobNew.h"
#include "frmJobs.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

class tst_JobPath : public QObject {
    Q_OBJECT
private slots:
    void init() {
        t = std::make_unique<TestContext>();
        registerJobEditorWindows(t->ctx().windows());
        t->ctx().getSettings();
        m_modal.reset();
    }
    void cleanup() {
        QCOMPARE(m_modal.pending(), 0);  // every window the test waited for came up
        m_modal.reset();
        TW_VERIFY_NO_UNANSWERED(*t);
        t->ctx().windows().unloadAll();
        t.reset();
    }

    void newThenEditThroughTheRealEditors_data() {
        QTest::addColumn<int>("row");  // of the chooser, 1-based
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("key");
        QTest::newRow("forward") << 1 << u"frmJobForward"_s << u"forward"_s << u"f1"_s;
        QTest::newRow("exec") << 2 << u"frmJobExec"_s << u"exec"_s << u"e1"_s;
        QTest::newRow("query") << 3 << u"frmJobQuery"_s << u"query"_s << u"q1"_s;
        QTest::newRow("sendmail") << 4 << u"frmJobSendmail"_s << u"sendmail"_s << u"s1"_s;
        QTest::newRow("mailbox") << 5 << u"frmJobMailbox"_s << u"mailbox"_s << u"m1"_s;
    }
    void newThenEditThroughTheRealEditors() {
        QFETCH(int, row);
        QFETCH(QString, window);
        QFETCH(QString, type);
        QFETCH(QString, key);
        frmMain& main = t->ctx().mainWindow();
        struct {
            bool listModal = false, timersOff = false, chooserGone = false;
            QString newCaption, editCaption, editName, listedName;
            bool newMode = false, editMode = true;
        } seen;

        whenModal(u"frmJobs"_s, [&](QWidget* w) {
            auto* jobs = static_cast<frmJobs*>(w);
            seen.listModal = w->isModal();
            seen.timersOff = main.timersDisabled();

            whenModal(u"frmJobNew"_s, [&](QWidget* c) {
                auto* chooser = static_cast<frmJobNew*>(c);
                chooser->lstJobTypes->setSelectedItem(chooser->lstJobTypes->item(row));
                whenModal(window, [&](QWidget* e) {
                    auto* editor = dynamic_cast<JobEditorFrame*>(e);
                    seen.chooserGone = !t->ctx().windows().existing(u"frmJobNew"_s) ||
                                       !t->ctx().windows().existing(u"frmJobNew"_s)->isVisible();
                    seen.newCaption = editor->openingCaption();
                    seen.newMode = editor->isNewJob();
                    fill(editor);
                    editor->cmdOK->click();
                });
                chooser->cmdOK->click();
            });
            jobs->cmdNew->click();

            // The editor rebuilt the list on saving; the new job is there to edit.
            ListItem* item = jobs->lstJobs2->findItemByTag(key);
            if (item) {
                seen.listedName = item->subItem(2);
                QTest::mouseClick(jobs->lstJobs2->viewport(), Qt::LeftButton, {},
                                  jobs->lstJobs2->visualItemRect(item).center());
                whenModal(window, [&](QWidget* e) {
                    auto* editor = dynamic_cast<JobEditorFrame*>(e);
                    seen.editCaption = editor->openingCaption();
                    seen.editMode = editor->isNewJob();
                    seen.editName = editor->txtName->text();
                    editor->cmdCancel->click();
                });
                jobs->cmdEdit->click();
            }
            jobs->cmdClose->click();
        });
        main.mnuJobs->trigger();

        QVERIFY(seen.listModal);
        QVERIFY(seen.timersOff);
        QVERIFY(!main.timersDisabled());
        QVERIFY(seen.chooserGone);
        QCOMPARE(seen.newCaption, u"Tellwick: New %1 job"_s.arg(type));
        QVERIFY(seen.newMode);
        const QString section = u"Job "_s + key;
        QCOMPARE(t->ini().readINI(section, u"Identification"_s), u"ID%1"_s.arg(row));
        QCOMPARE(t->ini().readINI(section, u"Name"_s), u"Job of row %1"_s.arg(row));
        QCOMPARE(seen.listedName, u"Job of row %1"_s.arg(row));
        QCOMPARE(seen.editCaption, u"Tellwick: Edit %1 job"_s.arg(type));
        QVERIFY(!seen.editMode);
        QCOMPARE(seen.editName, u"Job of row %1"_s.arg(row));
        for (const QString& name : {u"frmJobs"_s, u"frmJobNew"_s, window}) {
            QTRY_VERIFY2(!t->ctx().windows().isLoaded(name), qPrintable(name));
        }
    }

private:
    void whenModal(const QString& name, std::function<void(QWidget*)> act) {
        m_modal.whenModal(t->ctx().windows(), name, std::move(act));
    }
    // What a person types into a new job before OK.
    void fill(JobEditorFrame* editor) {
        const int row = editor->typeIndex() + 1;
        editor->txtJobIdent->setText(u"ID%1"_s.arg(row));
        editor->txtName->setText(u"Job of row %1"_s.arg(row));
        if (auto* mailbox = qobject_cast<frmJobMailbox*>(editor)) {
            mailbox->txtMailserver->setText(u"mail.example.org"_s);
            mailbox->txtPort->setText(u"110"_s);
            mailbox->txtUsername->setText(u"user"_s);
            mailbox->txtPassword->setText(u"secret"_s);
            mailbox->txtIntervall->setText(u"15"_s);
        }
    }

    std::unique_ptr<TestContext> t;
    ModalWatcher m_modal;
};

QTEST_MAIN(tst_JobPath)
#include "tst_jobpath.moc"
