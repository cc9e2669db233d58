#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "FakeJobEditor.h"
#include "JobEditorWindows.h"
#include "ModalDriver.h"
#include "JobList.h"
#include "ListView.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmJobNew.h"
#include "frmJobs.h"
#include "frmMain.h"

namespace {

QByteArray job(const char* key, const char* type, const char* ident, const char* name,
               const char* active = "1") {
    return QByteArray("[Job ") + key + "]\r\nType=" + type + "\r\nIdentification=" + ident +
           "\r\nName=" + name + "\r\nDescription=about " + name + "\r\nActive=" + active + "\r\n";
}

QIcon solidIcon(Qt::GlobalColor c) {
    QPixmap pm(8, 8);
    pm.fill(c);
    return QIcon(pm);
}

}  // namespace

class TestFrmJobs : public QObject {
    Q_OBJECT

    std::unique_ptr<TestContext> t;
    QList<EditorOpening> opened;

    frmJobs* load() { return t->ctx().windows().get<frmJobs>(QStringLiteral("frmJobs")); }

    void writeJobs(const QByteArray& text) { t->writeFile(QStringLiteral("tellwick.ini"), text); }

    // Clicks a row as the user does: it becomes the selected row, then the click handler runs.
    void clickRow(frmJobs* w, ListItem* item) {
        w->lstJobs2->setSelectedItem(item);
        emit w->lstJobs2->ItemClick(item);
    }

    // Ticks or unticks a row's box as the user does.
    void toggle(frmJobs* w, ListItem* item, bool on) {
        w->lstJobs2->model()->setData(w->lstJobs2->indexFromItem(item, 0), on ? Qt::Checked : Qt::Unchecked,
                                      Qt::CheckStateRole);
    }

    QStringList column(frmJobs* w, int c) {
        QStringList out;
        for (int i = 1; i <= w->lstJobs2->count(); ++i) {
            out << (c == 0 ? w->lstJobs2->item(i)->text() : w->lstJobs2->item(i)->subItem(c));
        }
        return out;
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        opened.clear();
        registerJobEditorWindows(t->ctx().windows());
        t->ctx().mainWindow().lstImages.add(QStringLiteral("Asc"), solidIcon(Qt::green));
        t->ctx().mainWindow().lstImages.add(QStringLiteral("Desc"), solidIcon(Qt::red));
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void emptySettingsGiveAnEmptyListWithItsColumns() {
        frmJobs* w = load();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Tellwick: Job Control"));
        QCOMPARE(w->lstJobs2->count(), 0);
        QCOMPARE(w->lstJobs2->columnCount(), 3);
        QCOMPARE(w->lstJobs2->headerItem()->text(0), QStringLiteral("Active/Type"));
        QCOMPARE(w->lstJobs2->headerItem()->text(1), QStringLiteral("Ident."));
        QCOMPARE(w->lstJobs2->headerItem()->text(2), QStringLiteral("Name"));
        // From the list's width of 4455 twips; a column grows where its header needs more
        // room (with the sort picture a click adds), and the list and the window with it.
        QVERIFY(Twips::width(w->lstJobs2) >= 4455);
        QVERIFY(w->lstJobs2->columnWidthTwips(0) >= 1114);
        QVERIFY(w->lstJobs2->columnWidthTwips(1) >= 636);
        QCOMPARE(w->lstJobs2->columnWidthTwips(2), 2370);
        QVERIFY(w->cmdNew->x() > w->lstJobs2->geometry().right());
        QVERIFY(w->cmdNew->geometry().right() < w->width());
        QVERIFY(!w->cmdEdit->isEnabled());
        QVERIFY(!w->cmdDel->isEnabled());
        QVERIFY(w->cmdNew->isEnabled());
        QCOMPARE(w->labStatus->text(), QString());
        QCOMPARE(w->Label2->text(),
                 QStringLiteral("Over here, you can tell Tellwick what to do with incoming SMS messages."));
        QCOMPARE(w->Label1->text(), QStringLiteral("&Existing jobs:"));
        // The sentence wraps within its room instead of being cut off.
        QVERIFY(w->Label2->wordWrap() ? w->Label2->heightForWidth(w->Label2->width()) <= w->Label2->height()
                                      : w->Label2->sizeHint().width() <= w->Label2->width());
        QCOMPARE(w->cmdNew->text(), QStringLiteral("&New..."));
        QCOMPARE(w->cmdEdit->text(), QStringLiteral("&Edit..."));
        QCOMPARE(w->cmdDel->text(), QStringLiteral("D&elete"));
        QCOMPARE(w->cmdClose->text(), QStringLiteral("&Done"));
        QVERIFY(w->lstJobs2->checkboxes());
        // Nothing was written, not even an empty settings file.
        QVERIFY(!QFile::exists(t->settingsFile()));
    }

    void rowsCarryTypeIdentNameTagTipAndState() {
        writeJobs(job("e7", "1", ">e7<", "Run backup") + job("q2", "2", "Q", "Stock", "0") +
                  job("s1", "3", "S", "Mailer", "true"));
        frmJobs* w = load();
        QCOMPARE(w->lstJobs2->count(), 3);
        ListItem* e7 = w->lstJobs2->findItemByTag(QStringLiteral("e7"));
        QVERIFY(e7);
        QCOMPARE(e7->text(), QStringLiteral("exec"));
        QCOMPARE(e7->subItem(1), QStringLiteral(">e7<"));
        QCOMPARE(e7->subItem(2), QStringLiteral("Run backup"));
        QCOMPARE(e7->toolTipText(), QStringLiteral("Run backup"));
        QVERIFY(e7->checked());
        QVERIFY(!e7->bold());
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(e7->subItemForeColor(c), QColor(0, 0, 0));
        }
        ListItem* q2 = w->lstJobs2->findItemByTag(QStringLiteral("q2"));
        QVERIFY(!q2->checked());
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(q2->subItemForeColor(c), QColor(128, 128, 128));
        }
        // Only the exact text "1" is active.
        QVERIFY(!w->lstJobs2->findItemByTag(QStringLiteral("s1"))->checked());
        QCOMPARE(column(w, 0),
                 (QStringList{QStringLiteral("exec"), QStringLiteral("query"), QStringLiteral("sendmail")}));
    }

    void onlyTheFirstDefaultJobIsListedBoldAndTicked() {
        writeJobs(job("q1", "2", "", "Query default") + job("f2", "0", "", "Forward default", "0") +
                  job("e1", "1", "A", "Exec one") + job("m3", "4", "", "Mailbox default"));
        frmJobs* w = load();
        QCOMPARE(w->lstJobs2->count(), 2);
        QVERIFY(!w->lstJobs2->findItemByTag(QStringLiteral("q1")));
        QVERIFY(!w->lstJobs2->findItemByTag(QStringLiteral("m3")));
        // Sorted ascending by the first column, the blank puts it first.
        ListItem* def = w->lstJobs2->item(1);
        QCOMPARE(def->tag(), QStringLiteral("f2"));
        QCOMPARE(def->text(), QStringLiteral(" forward"));
        QCOMPARE(def->subItem(1), QStringLiteral("---"));
        QCOMPARE(def->subItem(2), QStringLiteral("Forward default"));
        QCOMPARE(def->toolTipText(), QStringLiteral("DEFAULT JOB: Forward default"));
        QVERIFY(def->bold());
        QVERIFY(def->subItemBold(1));
        QVERIFY(def->subItemBold(2));
        QVERIFY(def->checked());  // though Active is "0"
        QCOMPARE(def->foreColor(), w->lstJobs2->palette().color(QPalette::Text));
        QCOMPARE(w->lstJobs2->item(2)->text(), QStringLiteral("exec"));
    }

    void sectionsOfTheWrongTypeOrNumberAreNotListed() {
        writeJobs(job("e3", "2", "X", "Exec typed as query") + job("f01", "0", "Y", "Leading zero") +
                  job("e501", "1", "Z", "Past 500") + job("e4", "1.0", "W", "Decimal type") +
                  job("q5", " 2abc", "V", "Trailing letters") + job("m6", "", "U", "No type") +
                  "[Job s7]\r\nName=untyped\r\n");
        frmJobs* w = load();
        QStringList tags;
        for (int i = 1; i <= w->lstJobs2->count(); ++i) {
            tags << w->lstJobs2->item(i)->tag();
        }
        tags.sort();
        QCOMPARE(tags, (QStringList{QStringLiteral("e4"), QStringLiteral("q5")}));
    }

    void leadingNumberReadsLikeTheStoredNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "4" << 4.0;
        QTest::newRow("blanks") << " 1 " << 1.0;
        QTest::newRow("blanks inside") << "1 2" << 12.0;
        QTest::newRow("decimal") << "2.0" << 2.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("letters after") << "3abc" << 3.0;
        QTest::newRow("letters only") << "x" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign") << "-1" << -1.0;
        QTest::newRow("exponent") << "1e1" << 10.0;
        QTest::newRow("bare exponent") << "4e" << 4.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("leading zero") << "01" << 1.0;
    }
    void leadingNumberReadsLikeTheStoredNumbers() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }

    void rebuildLeavesTheSettingsFileByteForByte() {
        QByteArray text = "; settings\r\n[Settings]\r\nPort = /dev/ttyUSB0 \r\n\r\n";
        for (int n = 1; n <= 40; ++n) {
            const QByteArray f = QByteArray("f") + QByteArray::number(n);
            const QByteArray ident = QByteArray("F") + QByteArray::number(n);
            const QByteArray m = QByteArray("m") + QByteArray::number(n);
            text += job(f.constData(), "0", ident.constData(), "name \"quoted\"", n % 2 ? "1" : "0");
            text += job(m.constData(), "4", "", "mailbox", "1");
        }
        text += "[Job e9]\nType=1\nIdentification=lf only\nName=x\nActive=1";  // LF lines, no final line end
        writeJobs(text);
        const QStringList before =
            QDir(t->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        frmJobs* w = load();
        w->getJobs();
        w->getJobs();
        QCOMPARE(w->lstJobs2->count(), 42);
        QCOMPARE(t->readFile(QStringLiteral("tellwick.ini")), text);
        QCOMPARE(QDir(t->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    }

    void clickSelectsAndRebuildKeepsTheRememberedRow() {
        writeJobs(job("e7", "1", ">e7<", "Run backup") + job("f1", "0", "", "Fallback"));
        frmJobs* w = load();
        w->lstJobs2_Click();  // nothing selected: nothing changes
        QVERIFY(!w->cmdEdit->isEnabled());
        QCOMPARE(w->selectedJobKey, QString());

        clickRow(w, w->lstJobs2->findItemByTag(QStringLiteral("f1")));
        QCOMPARE(w->selectedJobKey, QStringLiteral("f1"));
        QCOMPARE(w->selectedJobText, QStringLiteral(" forward"));
        QCOMPARE(w->labStatus->text(), QStringLiteral("DEFAULT JOB: Fallback"));
        QVERIFY(w->cmdEdit->isEnabled());
        QVERIFY(w->cmdDel->isEnabled());

        w->getJobs();
        QCOMPARE(w->selectedJobKey, QStringLiteral("f1"));
        QCOMPARE(w->selectedJobText, QStringLiteral(" forward"));
        QCOMPARE(w->labStatus->text(), QString());
        QVERIFY(!w->cmdEdit->isEnabled());
        QVERIFY(!w->cmdDel->isEnabled());
        QCOMPARE(w->lstJobs2->selectedItem(), nullptr);
    }

    void keyboardMovesTheSelectionAndUpdatesTheButtons() {
        writeJobs(job("e1", "1", "A", "First") + job("e2", "1", "B", "Second"));
        frmJobs* w = load();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        clickRow(w, w->lstJobs2->item(1));
        QTest::keyClick(w->lstJobs2, Qt::Key_Down);
        QCOMPARE(w->selectedJobKey, QStringLiteral("e2"));
        QCOMPARE(w->labStatus->text(), QStringLiteral("Second"));
    }

    void headerClicksTurnTheOrderRoundWithTheirIcon() {
        writeJobs(job("e1", "1", "b", "Alpha") + job("e2", "1", "c", "charlie") +
                  job("q1", "2", "a", "Bravo"));
        frmJobs* w = load();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QHeaderView* header = w->lstJobs2->header();
        // The first click after a rebuild sorts descending.
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
        QCOMPARE(w->lstJobs2->sortKey(), 2);
        QCOMPARE(column(w, 2),
                 (QStringList{QStringLiteral("charlie"), QStringLiteral("Bravo"), QStringLiteral("Alpha")}));
        const QIcon desc = t->ctx().mainWindow().lstImages.icon(QStringLiteral("Desc"));
        QCOMPARE(w->lstJobs2->columnHeaderIcon(2).cacheKey(), desc.cacheKey());
        QVERIFY(w->lstJobs2->columnHeaderIcon(0).isNull());

        w->lstJobs2_ColumnClick(2);
        QCOMPARE(column(w, 2),
                 (QStringList{QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("charlie")}));
        QCOMPARE(w->lstJobs2->columnHeaderIcon(2).cacheKey(),
                 t->ctx().mainWindow().lstImages.icon(QStringLiteral("Asc")).cacheKey());

        // Another column: the order turns round again, the icon moves.
        w->lstJobs2_ColumnClick(1);
        QCOMPARE(column(w, 1), (QStringList{QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}));
        QVERIFY(w->lstJobs2->columnHeaderIcon(2).isNull());
        QCOMPARE(w->lstJobs2->columnHeaderIcon(1).cacheKey(), desc.cacheKey());

        // A rebuild goes back to the first column ascending, without icons.
        w->getJobs();
        QCOMPARE(w->lstJobs2->sortKey(), 0);
        QCOMPARE(w->lstJobs2->sortOrder(), Qt::AscendingOrder);
        QVERIFY(w->lstJobs2->columnHeaderIcon(1).isNull());
        QCOMPARE(column(w, 0),
                 (QStringList{QStringLiteral("exec"), QStringLiteral("exec"), QStringLiteral("query")}));
    }

    void tickingWritesActiveAndColours() {
        writeJobs(job("e7", "1", "X", "Job", "0") + job("q1", "2", "Y", "Other"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->findItemByTag(QStringLiteral("q1")));
        ListItem* e7 = w->lstJobs2->findItemByTag(QStringLiteral("e7"));
        toggle(w, e7, true);
        QCOMPARE(t->ini().readINI(QStringLiteral("Job e7"), QStringLiteral("Active")), QStringLiteral("1"));
        QCOMPARE(e7->foreColor(), QColor(0, 0, 0));
        QCOMPARE(e7->subItemForeColor(2), QColor(0, 0, 0));
        // The ticked row is selected now; the remembered row, buttons and status line are not touched.
        QCOMPARE(w->lstJobs2->selectedItem(), e7);
        QCOMPARE(w->selectedJobKey, QStringLiteral("q1"));
        QCOMPARE(w->labStatus->text(), QStringLiteral("Other"));

        toggle(w, e7, false);
        QCOMPARE(t->ini().readINI(QStringLiteral("Job e7"), QStringLiteral("Active")), QStringLiteral("0"));
        QCOMPARE(e7->foreColor(), QColor(128, 128, 128));
        QCOMPARE(e7->subItemForeColor(1), QColor(128, 128, 128));
        QVERIFY(t->msgBox().shown().isEmpty());
    }

    void theDefaultJobCannotBeUnticked() {
        writeJobs(job("f1", "0", "", "Fallback", "0"));
        const QByteArray before = t->readFile(QStringLiteral("tellwick.ini"));
        frmJobs* w = load();
        ListItem* def = w->lstJobs2->item(1);
        toggle(w, def, false);
        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().at(0);
        QCOMPARE(box.text,
                 QStringLiteral("The default job can't be deactivated,\r\ngive it an identifier, first."));
        QCOMPARE(box.title, QStringLiteral("Tellwick: Default job must be activated"));
        QCOMPARE(box.icon, MsgBox::Critical);
        QCOMPARE(box.buttons, MsgBox::OKOnly);
        QVERIFY(def->checked());
        QCOMPARE(def->checkState(0), Qt::Checked);
        QCOMPARE(t->readFile(QStringLiteral("tellwick.ini")), before);
    }

    void editOpensTheEditorOfTheRowsType_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("forward") << job("f3", "0", "F", "n") << "f3"
                                 << "frmJobForward"
                                 << "Tellwick: Edit forward job";
        QTest::newRow("exec") << job("e7", "1", ">e7<", "n") << "e7"
                              << "frmJobExec"
                              << "Tellwick: Edit exec job";
        QTest::newRow("query") << job("q2", "2", "Q", "n") << "q2"
                               << "frmJobQuery"
                               << "Tellwick: Edit query job";
        QTest::newRow("sendmail") << job("s9", "3", "S", "n") << "s9"
                                  << "frmJobSendmail"
                                  << "Tellwick: Edit sendmail job";
        QTest::newRow("mailbox") << job("m500", "4", "M", "n") << "m500"
                                 << "frmJobMailbox"
                                 << "Tellwick: Edit mailbox job";
        QTest::newRow("default row") << job("e1", "1", "", "n") << "e1"
                                     << "frmJobExec"
                                     << "Tellwick: Edit exec job";
    }
    void editOpensTheEditorOfTheRowsType() {
        QFETCH(QByteArray, section);
        QFETCH(QString, key);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        writeJobs(section);
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->item(1));
        w->cmdEdit_Click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).window, window);
        QCOMPARE(opened.at(0).caption, caption);
        QCOMPARE(opened.at(0).jobKey, key);
        // The editor was unloaded when it closed; a double-click opens a fresh one.
        QVERIFY(!t->ctx().windows().isLoaded(window));
        w->lstJobs2_DblClick();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.at(1).jobKey, key);
    }

    void editFollowsTheRowSelectedNowNeverARememberedOne() {
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        writeJobs(job("f1", "0", "F", "Forward") + job("e2", "1", "E", "Exec"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->findItemByTag(QStringLiteral("f1")));
        QCOMPARE(w->selectedJobKey, QStringLiteral("f1"));
        // Ticking the exec row moves the selection there without a click.
        toggle(w, w->lstJobs2->findItemByTag(QStringLiteral("e2")), false);
        w->cmdEdit_Click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).window, QStringLiteral("frmJobExec"));
        QCOMPARE(opened.at(0).jobKey, QStringLiteral("e2"));
        QCOMPARE(w->selectedJobKey, QStringLiteral("e2"));

        // After a rebuild no row is selected: Edit, double-click and Delete do nothing.
        w->getJobs();
        w->cmdEdit_Click();
        w->lstJobs2_DblClick();
        w->cmdDel_Click();
        QCOMPARE(opened.size(), 1);
        QVERIFY(t->msgBox().shown().isEmpty());
        QCOMPARE(t->ini().readINI(QStringLiteral("Job e2"), QStringLiteral("Type")), QStringLiteral("1"));
    }

    void editWithoutARegisteredEditorOpensNothing() {
        registerFakeEditors(t->ctx(), {QStringLiteral("frmJobForward")}, &opened);
        withoutEditor(t->ctx(), QStringLiteral("frmJobQuery"));
        writeJobs(job("q2", "2", "Q", "n"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->item(1));
        w->cmdEdit_Click();
        QVERIFY(opened.isEmpty());
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobQuery")));
    }

    void anEditorThatSavesRebuildsTheList() {
        registerFakeEditors(t->ctx(), allEditorNames(), &opened, [](AppContext& ctx) {
            ctx.ini().writeINI(QStringLiteral("Job e1"), QStringLiteral("Name"), QStringLiteral("Renamed"));
            refreshJobList(ctx);
        });
        writeJobs(job("e1", "1", "E", "Old"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->item(1));
        w->cmdEdit_Click();
        QCOMPARE(w->lstJobs2->item(1)->subItem(2), QStringLiteral("Renamed"));
        QVERIFY(!w->cmdEdit->isEnabled());
    }

    void deleteAsksAndRemovesTheSection() {
        writeJobs(job("e7", "1", "X", "Backup") + job("q1", "2", "Y", "Stock"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->findItemByTag(QStringLiteral("e7")));
        t->msgBox().queueAnswer(MsgBox::No);
        w->cmdDel_Click();
        QCOMPARE(t->msgBox().shown().size(), 1);
        const MsgBox::Shown box = t->msgBox().shown().at(0);
        QCOMPARE(box.text, QStringLiteral("Do you really want to delete exec-job\r\n'Backup'?"));
        QCOMPARE(box.title, QStringLiteral("Delete Job"));
        QCOMPARE(box.buttons, MsgBox::YesNo);
        QCOMPARE(box.icon, MsgBox::Question);
        QCOMPARE(w->lstJobs2->count(), 2);
        QVERIFY(t->ini().hasSection(QStringLiteral("Job e7")));

        t->msgBox().queueAnswer(MsgBox::Yes);
        w->cmdDel_Click();
        QVERIFY(!t->ini().hasSection(QStringLiteral("Job e7")));
        QVERIFY(t->ini().hasSection(QStringLiteral("Job q1")));
        QCOMPARE(w->lstJobs2->count(), 1);
        QVERIFY(!w->cmdDel->isEnabled());
    }

    void deletingTheDefaultJobNamesItWithTwoBlanks() {
        writeJobs(job("m2", "4", "", "Inbox"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->item(1));
        t->msgBox().queueAnswer(MsgBox::Yes);
        w->cmdDel_Click();
        QCOMPARE(t->msgBox().shown().at(0).text,
                 QStringLiteral("Do you really want to delete  mailbox-job\r\n'Inbox'?"));
        QCOMPARE(w->lstJobs2->count(), 0);
    }

    void deleteActsOnTheRowSelectedNow() {
        writeJobs(job("f1", "0", "F", "Keep me") + job("e2", "1", "E", "Delete me"));
        frmJobs* w = load();
        clickRow(w, w->lstJobs2->findItemByTag(QStringLiteral("f1")));
        toggle(w, w->lstJobs2->findItemByTag(QStringLiteral("e2")), false);
        t->msgBox().queueAnswer(MsgBox::Yes);
        w->cmdDel_Click();
        QCOMPARE(t->msgBox().shown().at(0).text,
                 QStringLiteral("Do you really want to delete exec-job\r\n'Delete me'?"));
        QVERIFY(t->ini().hasSection(QStringLiteral("Job f1")));
        QVERIFY(!t->ini().hasSection(QStringLiteral("Job e2")));
    }

    void newOpensTheChooserModally() {
        registerFakeEditors(t->ctx(), allEditorNames(), &opened);
        writeJobs(job("m1", "4", "M", "Existing"));
        frmJobs* w = load();
        // Cancel: nothing opens, nothing changes.
        QObject guard;
        driveModalAs<frmJobNew>(&guard, QStringLiteral("The job chooser"), [this](frmJobNew& chooser) {
            QCOMPARE(t->ctx().windows().existing(QStringLiteral("frmJobNew")), &chooser);
            chooser.cmdCancel_Click();
        });
        w->cmdNew_Click();
        QVERIFY(opened.isEmpty());
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
        QCOMPARE(w->lstJobs2->count(), 1);

        // OK on the mailbox row: its editor on the next free number, the chooser hidden meanwhile.
        driveModalAs<frmJobNew>(&guard, QStringLiteral("The job chooser"), [](frmJobNew& chooser) {
            chooser.lstJobTypes->setSelectedItem(chooser.lstJobTypes->item(5));
            chooser.cmdOK_Click();
        });
        w->cmdNew_Click();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).caption, QStringLiteral("Tellwick: New mailbox job"));
        QCOMPARE(opened.at(0).jobKey, QStringLiteral("m2"));
        QVERIFY(opened.at(0).chooserLoaded);
        QVERIFY(!opened.at(0).chooserVisible);
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobNew")));
    }

    // A name widens its column, the list and the window; one longer than a person types
    // scrolls into view instead of stretching the window without end.
    void namesWidenTheList_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("a long name") << 45;
        QTest::newRow("past any name") << 250;
    }
    void namesWidenTheList() {
        QFETCH(int, length);
        const QByteArray name = QByteArray("Forward every message to the office ").leftJustified(length, 'x');
        writeJobs(job("f1", "0", "FWD", name.constData()));
        frmJobs* w = load();
        const QFontMetrics fm = w->lstJobs2->fontMetrics();
        const int text = fm.horizontalAdvance(QString::fromLatin1(name));
        QVERIFY(w->lstJobs2->columnWidth(2) >= qMin(text, fm.averageCharWidth() * 60));
        QVERIFY(w->cmdNew->x() > w->lstJobs2->geometry().right());
        QVERIFY(w->width() < fm.averageCharWidth() * 160);
    }

    // A name is shown as it was typed, never drawn as markup.
    void statusLineShowsTheNameAsTyped() {
        writeJobs(job("e1", "1", "N", "<b>Night</b> run"));
        frmJobs* w = load();
        w->lstJobs2->setSelectedItem(w->lstJobs2->item(1));
        w->lstJobs2_Click();
        QCOMPARE(w->labStatus->text(), QStringLiteral("<b>Night</b> run"));
        QCOMPARE(w->labStatus->textFormat(), Qt::PlainText);
    }

    void doneUnloadsTheWindow_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Done") << false;
        QTest::newRow("Escape") << true;
    }
    void doneUnloadsTheWindow() {
        QFETCH(bool, escape);
        frmJobs* w = load();
        QPointer<frmJobs> guard(w);
        if (escape) {
            w->show();
            QTest::keyClick(w, Qt::Key_Escape);
        } else {
            w->cmdClose_Click();
        }
        QVERIFY(!t->ctx().windows().isLoaded(QStringLiteral("frmJobs")));
        QTRY_VERIFY(guard.isNull());
        QVERIFY(load() != nullptr);  // a fresh one on the next opening
    }
};

QTEST_MAIN(TestFrmJobs)
#include "tst_frmjobs.moc"
