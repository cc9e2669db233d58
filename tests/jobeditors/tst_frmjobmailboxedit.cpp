#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "JobEditorWindows.h"
#include "ModalWatcher.h"
#include "ListView.h"
#include "MsgBox.h"
#include "TestContext.h"
#include "ToolTipControl.h"
#include "cToolTips.h"
#include "frmJobMailboxEdit.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

using Rules = QList<MailboxRule>;
Q_DECLARE_METATYPE(MailboxRule)

namespace {
const QString kName = u"frmJobMailboxEdit"_s;

// A list laid out as the mailbox job editor lays out its two rule lists.
void setUpList(ListView& list, const QString& column, const Rules& rules) {
    list.clearColumns();
    list.addColumn(u"Field"_s, 700);
    list.addColumn(column, 1600);
    list.clearItems();
    for (const MailboxRule& r : rules) {
        list.addItem(r.field)->setSubItem(1, r.expression);
    }
}

Rules rowsOf(const ListView& list) {
    Rules rules;
    for (int i = 1; i <= list.count(); ++i) {
        rules.append({list.item(i)->text(), list.item(i)->subItem(1)});
    }
    return rules;
}

QStringList headers(const ListView& list) {
    QStringList h;
    for (int c = 0; c < list.columnCount(); ++c) {
        h << list.headerItem()->text(c);
    }
    return h;
}
}  // namespace

class TestFrmJobMailboxEdit : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestContext> t;
    std::unique_ptr<ListView> criteria;
    std::unique_ptr<ListView> exceptions;
    const Rules criteriaRows = {{u"Subject"_s, u"urgent"_s}};
    const Rules exceptionRows = {{u"Address"_s, u"abc"_s}, {u"Subject"_s, u"def"_s}};

    // The window on the opener's two lists, shown (which runs the opening set-up).
    std::unique_ptr<frmJobMailboxEdit> open(const QString& tag) {
        auto w = std::make_unique<frmJobMailboxEdit>(t->ctx());
        w->setTag(tag);
        w->setLists(criteria.get(), exceptions.get());
        w->show();
        return w;
    }
    static void clickRow(frmJobMailboxEdit& w, int index) {
        const QRect r = w.lstList->visualItemRect(w.lstList->item(index));
        QTest::mouseClick(w.lstList->viewport(), Qt::LeftButton, {}, r.center());
    }
    static void chooseField(frmJobMailboxEdit& w, const QString& field) {
        w.lstField->setCurrentIndex(w.lstField->findText(field));
    }
    // Opens through the registry as the mailbox job editor does; drive runs inside the modal loop.
    bool editRules(const QString& tag, const std::function<void(frmJobMailboxEdit&)>& drive) {
        QObject guard;
        driveRegistered<frmJobMailboxEdit>(&guard, t->ctx().windows(), kName, drive);
        return frmJobMailboxEdit::editRules(t->ctx(), tag, criteria.get(), exceptions.get());
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        registerJobEditorWindows(t->ctx().windows());
        criteria = std::make_unique<ListView>();
        exceptions = std::make_unique<ListView>();
        setUpList(*criteria, u"Criteria"_s, criteriaRows);
        setUpList(*exceptions, u"Exception"_s, exceptionRows);
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        criteria.reset();
        exceptions.reset();
        t.reset();
    }

    void openingByMode_data() {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("criteriaMode");
        QTest::newRow("C") << u"C"_s << true;
        QTest::newRow("E") << u"E"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("other text") << u"X"_s << false;
        QTest::newRow("lower-case c") << u"c"_s << false;
    }
    void openingByMode() {
        QFETCH(QString, tag);
        QFETCH(bool, criteriaMode);
        auto w = open(tag);
        QCOMPARE(w->isCriteriaMode(), criteriaMode);
        if (criteriaMode) {
            QCOMPARE(w->windowTitle(), u"Tellwick: Edit mailbox job criteria list"_s);
            QCOMPARE(
                w->labInfo->text(),
                u"Edit your list of notification critera for this job. If one of these criterias is met, "
                "Tellwick will send a notification by SMS."_s);
            QCOMPARE(headers(*w->lstList), QStringList({u"Field"_s, u"Criteria"_s}));
            QCOMPARE(w->rows(), criteriaRows);
        } else {
            QCOMPARE(w->windowTitle(), u"Tellwick: Edit mailbox job exception list"_s);
            QCOMPARE(w->labInfo->text(),
                     u"Edit your list of exception critera for this job. If one of these criterias is met, "
                     "Tellwick won't send any notification."_s);
            QCOMPARE(headers(*w->lstList), QStringList({u"Field"_s, u"Exception"_s}));
            QCOMPARE(w->rows(), exceptionRows);
        }
        // The columns start at their design widths and grow with their texts.
        QVERIFY(w->lstList->columnWidthTwips(0) >= 700);
        QVERIFY(w->lstList->columnWidthTwips(1) >= 1600);
        QCOMPARE(w->lstField->count(), 2);
        QCOMPARE(w->lstField->itemText(0), u"Address"_s);
        QCOMPARE(w->lstField->itemText(1), u"Subject"_s);
        QVERIFY(!w->cmdAdd->isEnabled());
        QVERIFY(w->cmdDelete->isEnabled());
        // The set-up runs once: showing the window again adds neither columns nor rows.
        w->hide();
        w->show();
        QCOMPARE(w->lstList->columnCount(), 2);
        QCOMPARE(w->rows().size(), criteriaMode ? criteriaRows.size() : exceptionRows.size());
    }

    void addRuleAndAdd() {
        auto w = open(u"E"_s);
        QVERIFY(!w->cmdAdd->isEnabled());
        // An expression without a field is not enough, nor a field without an expression.
        QTest::keyClicks(w->txtText, u"spam"_s);
        QVERIFY(!w->cmdAdd->isEnabled());
        w->txtText->clear();
        chooseField(*w, u"Subject"_s);
        QVERIFY(!w->cmdAdd->isEnabled());
        QTest::keyClick(w->txtText, 's');
        QVERIFY(w->cmdAdd->isEnabled());
        QTest::keyClick(w->txtText, Qt::Key_Backspace);
        QVERIFY(!w->cmdAdd->isEnabled());
        // Choosing the field after typing the expression enables Add too.
        w->lstField->setCurrentIndex(-1);
        QTest::keyClicks(w->txtText, u" spam, ham: "_s);
        QVERIFY(!w->cmdAdd->isEnabled());
        chooseField(*w, u"Address"_s);
        QVERIFY(w->cmdAdd->isEnabled());

        // A comma would split the stored rule in two: refused, the texts stay for correcting.
        QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
        QCOMPARE(w->rows(), exceptionRows);
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().title, u"Invalid expression"_s);
        QCOMPARE(t->msgBox().shown().first().icon, MsgBox::Critical);
        QCOMPARE(w->txtText->text(), u" spam, ham: "_s);
        w->txtText->setText(u" spam ham: "_s);

        // Add twice: two identical rows at the end, taken as typed; the boxes keep their texts.
        QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
        QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
        const MailboxRule typed{u"Address"_s, u" spam ham: "_s};
        QCOMPARE(w->rows(), exceptionRows + Rules({typed, typed}));
        QCOMPARE(w->lstField->currentText(), u"Address"_s);
        QCOMPARE(w->txtText->text(), typed.expression);
        QVERIFY(w->cmdAdd->isEnabled());
        // The opener's list is untouched until OK.
        QCOMPARE(rowsOf(*exceptions), exceptionRows);
    }

    void rowClickAndDelete() {
        auto w = open(u"E"_s);
        // Delete is enabled at opening, but with no row selected it removes nothing.
        w->cmdDelete_Click();
        QCOMPARE(w->rows(), exceptionRows);
        QVERIFY(!w->cmdDelete->isEnabled());

        clickRow(*w, 2);
        QCOMPARE(w->lstField->currentText(), u"Subject"_s);
        QCOMPARE(w->txtText->text(), u"def"_s);
        QVERIFY(w->cmdDelete->isEnabled());
        QVERIFY(w->cmdAdd->isEnabled());

        // A clicked row is never changed in place: an edited expression is added as a new row.
        w->txtText->setText(u"defg"_s);
        w->cmdAdd->click();
        QCOMPARE(w->rows(), exceptionRows + Rules({{u"Subject"_s, u"defg"_s}}));

        clickRow(*w, 2);
        QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
        QCOMPARE(w->rows(), Rules({exceptionRows.at(0), {u"Subject"_s, u"defg"_s}}));
        QVERIFY(!w->cmdDelete->isEnabled());
        // Pressing Delete again (handler) without a new click removes nothing more.
        w->cmdDelete_Click();
        QCOMPARE(w->rows().size(), 2);

        clickRow(*w, 1);
        QCOMPARE(w->lstField->currentText(), u"Address"_s);
        QCOMPARE(w->txtText->text(), u"abc"_s);
        QVERIFY(w->cmdDelete->isEnabled());
    }

    void rowClickWithFieldNotOffered() {
        setUpList(*criteria, u"Criteria"_s, {{u"Sender"_s, u"boss"_s}});
        auto w = open(u"C"_s);
        chooseField(*w, u"Address"_s);
        clickRow(*w, 1);
        // The field box keeps its choice; the expression and Delete still follow the click.
        QCOMPARE(w->lstField->currentText(), u"Address"_s);
        QCOMPARE(w->txtText->text(), u"boss"_s);
        QVERIFY(w->cmdDelete->isEnabled());
    }

    void okWritesBackIntoTheModesList() {
        const bool accepted = editRules(u"C"_s, [](frmJobMailboxEdit& w) {
            w.lstField->setCurrentIndex(0);
            w.txtText->setText(u"boss@example.org"_s);
            w.cmdAdd->click();
            w.cmdOK->click();
        });
        QVERIFY(accepted);
        QCOMPARE(rowsOf(*criteria), criteriaRows + Rules({{u"Address"_s, u"boss@example.org"_s}}));
        QCOMPARE(headers(*criteria), QStringList({u"Field"_s, u"Criteria"_s}));
        QCOMPARE(rowsOf(*exceptions), exceptionRows);
        // Closing unloads the window.
        QTRY_VERIFY(!t->ctx().windows().isLoaded(kName));

        // OK after deleting every row empties the list; the columns stay.
        QVERIFY(editRules(u"E"_s, [](frmJobMailboxEdit& w) {
            for (int i = w.lstList->count(); i >= 1; --i) {
                w.lstList->setSelectedItem(w.lstList->item(i));
                w.cmdDelete_Click();
            }
            w.cmdOK->click();
        }));
        QCOMPARE(exceptions->count(), 0);
        QCOMPARE(headers(*exceptions), QStringList({u"Field"_s, u"Exception"_s}));
        QCOMPARE(rowsOf(*criteria).size(), 2);
    }

    // Enter in the expression box presses OK, as in any dialog with a default button; an
    // expression typed but not added is not dropped.
    void enterKeepsATypedExpression_data() {
        QTest::addColumn<int>("field");  // -1: none chosen
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("addFirst");
        QTest::addColumn<int>("answer");  // to the question, 0 when none is asked
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<Rules>("added");
        const Rules invoice{{u"Subject"_s, u"invoice"_s}};
        QTest::newRow("Enter adds it") << 1 << u"invoice"_s << false << 0 << true << invoice;
        QTest::newRow("Add, then Enter: once") << 1 << u"invoice"_s << true << 0 << true << invoice;
        QTest::newRow("already listed") << 1 << u"urgent"_s << false << 0 << true << Rules{};
        QTest::newRow("comma refused, stays open") << 0 << u"a,b"_s << false << int(MsgBox::OK) << false << Rules{};
        QTest::newRow("no field, stays open") << -1 << u"invoice"_s << false << int(MsgBox::No) << false << Rules{};
        QTest::newRow("no field, closed without") << -1 << u"invoice"_s << false << int(MsgBox::Yes) << true << Rules{};
    }
    void enterKeepsATypedExpression() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(bool, addFirst);
        QFETCH(int, answer);
        QFETCH(bool, accepted);
        QFETCH(Rules, added);
        if (answer != 0) {
            t->msgBox().queueAnswer(answer);
        }
        bool stayed = false;
        const bool result = editRules(u"C"_s, [&](frmJobMailboxEdit& w) {
            w.lstField->setCurrentIndex(field);
            QTest::keyClicks(w.txtText, typed);
            if (addFirst) {
                w.cmdAdd->click();
            }
            QTest::keyClick(w.txtText, Qt::Key_Return);
            stayed = w.isVisible();
            QCOMPARE(w.txtText->text(), typed);
        });
        QCOMPARE(result, accepted);
        QCOMPARE(stayed, !accepted);
        QCOMPARE(rowsOf(*criteria), criteriaRows + added);
        QCOMPARE(t->msgBox().shown().size(), answer != 0 ? 1 : 0);
        if (field < 0) {
            QCOMPARE(t->msgBox().shown().first().text,
                     u"The expression 'invoice' is not in the list: no field was chosen for it.\r\n\r\n"
                     u"Do you want to close the window without it?"_s);
        }
    }

    void cancelLeavesTheListAlone_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Escape") << 2;
    }
    void cancelLeavesTheListAlone() {
        QFETCH(int, how);
        const bool accepted = editRules(u"E"_s, [how](frmJobMailboxEdit& w) {
            w.lstList->setSelectedItem(w.lstList->item(1));
            w.cmdDelete_Click();
            w.lstField->setCurrentIndex(1);
            w.txtText->setText(u"x"_s);
            w.cmdAdd->click();
            w.cmdAdd->click();
            if (how == 0) {
                w.cmdCancel->click();
            } else if (how == 1) {
                w.close();
            } else {
                QTest::keyClick(&w, Qt::Key_Escape);
            }
        });
        QVERIFY(!accepted);
        QCOMPARE(rowsOf(*exceptions), exceptionRows);
        QCOMPARE(rowsOf(*criteria), criteriaRows);
    }

    void everyOpeningStartsFromTheOpenersList() {
        QPointer<frmJobMailboxEdit> first;
        editRules(u"C"_s, [&first](frmJobMailboxEdit& w) {
            first = &w;
            w.lstField->setCurrentIndex(0);
            w.txtText->setText(u"kept only in the window"_s);
            w.cmdAdd->click();
            w.cmdCancel->click();
        });
        setUpList(*criteria, u"Criteria"_s, {{u"Address"_s, u"new@example.org"_s}});
        Rules seen;
        editRules(u"C"_s, [&](frmJobMailboxEdit& w) {
            QVERIFY(&w != first.data() || first.isNull());
            seen = w.rows();
            QVERIFY(!w.cmdAdd->isEnabled());
            QCOMPARE(w.txtText->text(), QString());
            w.cmdCancel->click();
        });
        QCOMPARE(seen, Rules({{u"Address"_s, u"new@example.org"_s}}));
    }

    void unregisteredWindowOpensNothing() {
        TestContext bare;
        QVERIFY(!frmJobMailboxEdit::editRules(bare.ctx(), u"C"_s, criteria.get(), exceptions.get()));
        QCOMPARE(rowsOf(*criteria), criteriaRows);
    }

    // OK never empties the opener's list by writing back rows it never read, and writes into
    // the list the rows came from even when the Tag was changed meanwhile.
    void okWritesOnlyWhatWasRead() {
        frmJobMailboxEdit unseen(t->ctx());
        unseen.setTag(u"C"_s);
        unseen.setLists(criteria.get(), exceptions.get());
        unseen.cmdOK_Click();
        QCOMPARE(rowsOf(*criteria), criteriaRows);

        auto w = open(u"E"_s);
        w->setTag(u"C"_s);
        w->lstList->setSelectedItem(w->lstList->item(1));
        w->cmdDelete_Click();
        w->cmdOK_Click();
        QCOMPARE(rowsOf(*exceptions), Rules({exceptionRows.at(1)}));
        QCOMPARE(rowsOf(*criteria), criteriaRows);
    }

    void rendersInsideItsWindow() {
        // Set TELLWICK_SHOTS to a folder to keep the picture.
        auto w = open(u"C"_s);
        chooseField(*w, u"Address"_s);
        w->txtText->setText(u"@example.org"_s);
        const QPixmap shot = w->grab();
        for (QWidget* c : std::initializer_list<QWidget*>{w->labInfo, w->lstList, w->lstField, w->txtText,
                                                          w->cmdAdd, w->cmdDelete, w->cmdOK, w->cmdCancel}) {
            QVERIFY(c->isVisible());
            QVERIFY(QRect(QPoint(0, 0), shot.size()).contains(c->geometry()));
        }
        // The explanation is shown whole.
        QVERIFY(w->labInfo->height() >= w->labInfo->heightForWidth(w->labInfo->width()));
        const QString folder = qEnvironmentVariable("TELLWICK_SHOTS");
        if (!folder.isEmpty()) {
            shot.save(folder + u"/mailbox_rules.png"_s);
        }
    }

    void iconAndToolTips() {
        frmJobMailboxEdit w(t->ctx());
        QCOMPARE(w.windowIcon().cacheKey(), t->ctx().mainWindow().windowIcon().cacheKey());
        QVERIFY(w.toolTips() && w.toolTips()->hWnd() != 0);
        ToolTipControl* control = ToolTipWindows::control(w.toolTips()->hWnd());
        const QList<ToolInfo>& tools = control->tools();
        QCOMPARE(tools.size(), 2);
        QCOMPARE(tools.at(0).uId, ToolTipWindows::handleOf(w.lstField));
        QCOMPARE(tools.at(0).text,
                 u"Select, which field of the message should be compared with your expression."_s);
        QCOMPARE(tools.at(1).uId, ToolTipWindows::handleOf(w.txtText));
        QCOMPARE(
            tools.at(1).text,
            u"Enter an expression, for example part of an eMail address or any word/phrase to find in the "
            "selected field."_s);
        QCOMPARE(tools.at(0).uFlags, 0x111u);
        QCOMPARE(w.toolTips()->MaxTipWidth(), 400);
        QCOMPARE(w.toolTips()->GetDelayTime(2), 10000);
        QCOMPARE(w.cmdAdd->toolTip(), u"Add above entry to list"_s);
        QCOMPARE(w.cmdDelete->toolTip(), u"Delete selected entry from list"_s);
    }
};

QTEST_MAIN(TestFrmJobMailboxEdit)
#include "tst_frmjobmailboxedit.moc"
