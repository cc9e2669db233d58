#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "FakeJobEditor.h"
#include "JobEditorWindows.h"
#include "ListView.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmJobNew.h"

class TestFrmJobNew : public QObject {
    Q_OBJECT

    std::unique_ptr<TestContext> t;
    QList<EditorOpening> opened;

    frmJobNew* load() { return t->ctx().windows().get<frmJobNew>(QStringLiteral("frmJobNew")); }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        opened.clear();
        registerJobEditorWindows(t->ctx().windows());
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void listsTheFiveTypesInTableOrder() {
        frmJobNew* w = load();
        QCOMPARE(w->windowTitle(), QStringLiteral("Select job type"));
        QCOMPARE(w->Label1->text(), QStringLiteral("Please select which kind of job you want to create:"));
        QVERIFY(w->Label1->width() >= w->Label1->sizeHint().width());  // not cut off
        QVERIFY(Twips::left(w->cmdOK) + Twips::width(w->cmdOK) <= Twips::width(w));
        QCOMPARE(w->cmdCancel->text(), QStringLiteral("&Cancel"));
        QCOMPARE(w->cmdOK->text(), QStringLiteral("&OK"));
        ListView* list = w->lstJobTypes;
        QCOMPARE(list->columnCount(), 2);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Job type"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Job description"));
        // The columns start at their design widths and grow with their texts.
        QVERIFY(list->columnWidthTwips(0) >= 800);
        QVERIFY(list->columnWidthTwips(1) >= 2700);
        const QStringList names = {QStringLiteral("forward"), QStringLiteral("exec"), QStringLiteral("query"),
                                   QStringLiteral("sendmail"), QStringLiteral("mailbox")};
        const QStringList letters = {QStringLiteral("f"), QStringLiteral("e"), QStringLiteral("q"),
                                     QStringLiteral("s"), QStringLiteral("m")};
        QCOMPARE(list->count(), 5);
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(list->item(i)->text(), names.at(i - 1));
            QCOMPARE(list->item(i)->tag(), letters.at(i - 1));
            QCOMPARE(list->item(i)->toolTipText(), list->item(i)->subItem(1));
        }
        QCOMPARE(list->item(1)->subItem(1), QStringLiteral("Forwards incoming messages by SMS or E-Mail"));
        QCOMPARE(list->item(5)->subItem(1),
                 QStringLiteral("Checks mailboxes and sends E-Mail notifications by SMS or E-Mail"));
        QCOMPARE(list->selectedItem(), list->item(1));
    }

    void sizesFollowTheRows() {
        frmJobNew* w = load();
        QCOMPARE(Twips::top(w->lstJobTypes), 360);
        QCOMPARE(Twips::height(w->lstJobTypes), 5 * 224 + 320);
        QCOMPARE(Twips::height(w->lstJobTypes), 1440);
        QCOMPARE(Twips::top(w->cmdCancel), 1905);
        QCOMPARE(Twips::top(w->cmdOK), 1905);
        QCOMPARE(Twips::height(w->cmdCancel), 375);
        QCOMPARE(Twips::height(w), 2760);
        QVERIFY(Twips::left(w->cmdCancel) < Twips::left(w->cmdOK));

        // The sizes are worked out from where the list stands.
        Twips::setTop(w->lstJobTypes, 500);
        w->getJobTypes();
        QCOMPARE(w->lstJobTypes->count(), 5);
        QCOMPARE(Twips::top(w->cmdOK), 500 + 1440 + 105);
        QCOMPARE(Twips::height(w), 500 + 1440 + 105 + 375 + 480);
    }

    void okOpensTheChosenTypesEditor_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        QTest::newRow("forward") << 1 << "frmJobForward"
                                 << "Tellwick: New forward job"
                                 << "f1";
        QTest::newRow("exec") << 2 << "frmJobExec"
                              << "Tellwick: New exec job"
                              << "e3";
        QTest::newRow("query") << 3 << "frmJobQuery"
                               << "Tellwick: New query job"
                               << "q1";
        QTest::newRow("sendmail") << 4 << "frmJobSendmail"
                                  << "Tellwick: New sendmail job"
                                  << "s1";
        QTest::newRow("mailbox") << 5 << "frmJobMailbox"
                                 << "Tellwick: New mailbox job"
                                 << "m2";
    }
    void okOpensTheChosenTypesEditor() {
        QFETCH(int, row);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QString, key);
        t->writeFile(
            QStringLiteral("tellwick.ini"),
            "[Job e1]\nType=1\n[Job e2]\nType=1\n[Job e4]\nType=1\n[Job m1]\nType=4\n[Job f2]\nType=0\n");
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        frmJobNew* w = load();
        QPointer<frmJobNew> guard(w);
        w->show();
        w->lstJobTypes->setSelectedItem(w->lstJobTypes->item(row));
        w->cmdOK_Click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).window, window);
        QCOMPARE(opened.at(0).caption, caption);
        QCOMPARE(opened.at(0).jobKey, key);
        QVERIFY(!opened.at(0).chooserVisible);
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
        QVERIFY(!t->ctx().windows().isLoaded(window));
        QTRY_VERIFY(guard.isNull());
    }

    void doubleClickOnTheMailboxRow() {
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        frmJobNew* w = load();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QPoint onMailbox = w->lstJobTypes->visualItemRect(w->lstJobTypes->item(5)).center();
        QTest::mouseDClick(w->lstJobTypes->viewport(), Qt::LeftButton, {}, onMailbox);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).window, QStringLiteral("frmJobMailbox"));
        QCOMPARE(opened.at(0).caption, QStringLiteral("Tellwick: New mailbox job"));
        QCOMPARE(opened.at(0).jobKey, QStringLiteral("m1"));
        QVERIFY(opened.at(0).chooserLoaded);
        QVERIFY(!opened.at(0).chooserVisible);
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
    }

    void cancelOpensNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelOpensNothing() {
        QFETCH(bool, escape);
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        frmJobNew* w = load();
        if (escape) {
            w->show();
            QTest::keyClick(w, Qt::Key_Escape);
        } else {
            w->cmdCancel_Click();
        }
        QVERIFY(opened.isEmpty());
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
        QVERIFY(!QFile::exists(t->settingsFile()));
    }

    void noRowSelectedOpensNothing() {
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        frmJobNew* w = load();
        w->lstJobTypes->setSelectedItem(nullptr);
        w->cmdOK_Click();
        QVERIFY(opened.isEmpty());
        QVERIFY(t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
    }

    void aTypeWithoutItsEditorOpensNothing() {
        registerFakeEditors(t->ctx(), {QStringLiteral("frmJobForward")}, &opened);
        withoutEditor(t->ctx(), QStringLiteral("frmJobQuery"));
        frmJobNew* w = load();
        w->lstJobTypes->setSelectedItem(w->lstJobTypes->item(3));
        w->cmdOK_Click();
        QVERIFY(opened.isEmpty());
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
    }

    void allNumbersTakenOpensNoEditor() {
        QByteArray text;
        for (int n = 1; n <= 500; ++n) {
            text += "[Job e" + QByteArray::number(n) + "]\nType=1\nIdentification=E" + QByteArray::number(n) +
                    "\n";
        }
        t->writeFile(QStringLiteral("tellwick.ini"), text);
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        frmJobNew* w = load();
        w->show();
        w->lstJobTypes->setSelectedItem(w->lstJobTypes->item(2));
        w->cmdOK_Click();
        QVERIFY(opened.isEmpty());
        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().at(0);
        QCOMPARE(box.text, QStringLiteral("All 500 exec jobs are in use; delete one first."));
        QCOMPARE(box.icon, MsgBox::Critical);
        QCOMPARE(box.buttons, MsgBox::OKOnly);
        // The chooser stays, so another type can be chosen.
        QVERIFY(w->isVisible());
        QCOMPARE(t->readFile(QStringLiteral("tellwick.ini")), text);
        w->lstJobTypes->setSelectedItem(w->lstJobTypes->item(1));
        w->cmdOK_Click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).jobKey, QStringLiteral("f1"));
    }
};

QTEST_MAIN(TestFrmJobNew)
#include "tst_frmjobnew.moc"
