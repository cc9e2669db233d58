// What the user does with the browser's messages: selection rules, copy, move, delete, the
// keys, read marks, edit, reply, forward and send now (adding to the address book is
// driven with the real address book in tst_integration).
#include <QtTest>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <functional>

#include "BrowseFixture.h"
#include "ModalDriver.h"
#include "ModalWatcher.h"
#include "IconLook.h"
#include "PhoneSimulator.h"
#include "ListView.h"
#include "TabStrip.h"
#include "frmAddressBook.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

namespace {

const QString kYes = u"Yes"_s;

}  // namespace

class tst_BrowseOps : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void selectionEnablesCommands();
    void addOfferedOnlyForANumber_data();
    void addOfferedOnlyForANumber();
    void sendNowOfferedOnlyOnTheOutgoingTab();
    void copyAsksAndNoChangesNothing();
    void copyCancelAtOverwriteKeepsWhatWasCopied();
    void moveSkipsWhatTheUserKeeps();
    void moveIntoTheSameFolderKeepsTheMessage();
    void copyOrMoveOfAVanishedFileIsReported();
    void deleteAsksEvenWithNothingSelected();
    void deleteGoesOnAfterAFailure();
    void keysOfTheList_data();
    void keysOfTheList();
    void ctrlADoesWhatTheMenuSays();
    void readMarksOnEveryTab();
    void doubleClickMarksReadThenEditsTheClickedFile();
    void replyAndForwardPresetTheComposeDialog();
    void sendNowThroughThePhone();
    void forwardAndResendFromTheSentListRefreshIt();
    void sendNowFailureIsShownAndTheFileLeaves();
    void sendNowHoldsTheWindowWhileThePhoneWaits();
    void addToAddressbookTakesEnter();
    void readMarkThatCannotBeStored();
    void vanishedMessageIsSaidAndTheListRefreshed_data();
    void vanishedMessageIsSaidAndTheListRefreshed();

private:
    // Runs look on the named window once it is up in its modal loop, then closes it.
    void whenUp(const QString& name, std::function<void(QWidget*)> look);
    QStringList files(const QString& folder) const {
        return QDir(f->t->path(folder)).entryList({u"*.sms"_s}, QDir::Files, QDir::Name);
    }
    frmBrowse* openWith(const QStringList& incomingNames) {
        int i = 0;
        for (const QString& name : incomingNames) {
            ++i;
            f->incoming(name, u"2026-01-%1"_s.arg(i, 2, 10, QLatin1Char('0')), u"10:00:00"_s,
                        u"+49170%1"_s.arg(i), u"text %1"_s.arg(i));
        }
        return f->open();
    }
    const QList<MsgBox::Shown>& boxes() { return f->ctx().msgBox().shown(); }

    std::unique_ptr<BrowseFixture> f;
    ModalWatcher m_modal;
};

void tst_BrowseOps::init() {
    f = std::make_unique<BrowseFixture>();
}

void tst_BrowseOps::cleanup() {
    QCOMPARE(m_modal.pending(), 0);  // every window the test waited for came up
    m_modal.reset();
    TW_VERIFY_NO_UNANSWERED(*f->t);
    QCOMPARE(f->ctx().msgBox().pendingAnswers(), 0);
    f.reset();
}

void tst_BrowseOps::whenUp(const QString& name, std::function<void(QWidget*)> look) {
    m_modal.whenModal(f->ctx().windows(), name, [look](QWidget* w) {
        look(w);
        if (auto* compose = qobject_cast<frmSendSMS*>(w)) {
            compose->cmdClose->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->accept();
        }
    });
}

void tst_BrowseOps::selectionEnablesCommands() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    const QList<QPushButton*> one{b->cmdForward, b->cmdEdit, b->cmdReply};
    const QList<QAction*> oneItems{b->mnuForward, b->mnuEdit, b->mnuReply};
    f->click(b, u"a.sms"_s);
    QCOMPARE(b->selectedFile, u"a.sms"_s);
    for (QPushButton* c : {b->cmdCopy, b->cmdMove, b->cmdDelete, b->cmdForward, b->cmdEdit, b->cmdReply}) {
        QVERIFY(c->isEnabled());
    }
    for (QAction* a : oneItems) {
        QVERIFY(a->isEnabled());
    }
    // A second line added with Ctrl: the single-message commands go off.
    f->click(b, u"c.sms"_s, Qt::ControlModifier);
    QCOMPARE(b->selectedCount(), 2);
    QCOMPARE(b->selectedFile, u"c.sms"_s);
    QCOMPARE(b->labFileName->text(), u"Selected file: "_s + b->currentFolder + u"/c.sms"_s);
    for (QPushButton* c : one) {
        QVERIFY(!c->isEnabled());
    }
    for (QAction* a : oneItems) {
        QVERIFY(!a->isEnabled());
    }
    QVERIFY(!b->mnuAdd->isEnabled());
    QVERIFY(b->cmdCopy->isEnabled() && b->cmdMove->isEnabled() && b->cmdDelete->isEnabled());
    QVERIFY(b->mnuCopy->isEnabled() && b->mnuMove->isEnabled() && b->mnuDelete->isEnabled());
    // A refresh turns the buttons off; the menu items keep their state until the next click.
    b->Tubby_Click();
    QVERIFY(!b->cmdCopy->isEnabled());
    QVERIFY(!b->mnuReply->isEnabled());
    // Each picture shows at a glance whether its button can be used.
    for (QPushButton* c :
         {b->cmdReply, b->cmdForward, b->cmdEdit, b->cmdCopy, b->cmdMove, b->cmdDelete, b->cmdRefresh}) {
        QVERIFY2(disabledChange(c) > 0.6, qPrintable(c->objectName()));
    }
}

void tst_BrowseOps::addOfferedOnlyForANumber_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("no");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("offered");
    QTest::newRow("incoming number") << 1 << u"+4917012"_s << u"hi"_s << true;
    QTest::newRow("incoming plain digits") << 1 << u"017012"_s << u"hi"_s << true;
    QTest::newRow("incoming known name") << 1 << u"+4911"_s << u"hi"_s << false;
    QTest::newRow("sent two numbers") << 3 << u"+4917012;+4917034"_s << u"hi"_s << false;
    QTest::newRow("sent number") << 3 << u"+4917012"_s << u"hi"_s << true;
    QTest::newRow("archive word") << 4 << u"Info"_s << u"hi"_s << false;
    // On the outgoing tab the number is the first column, the second holds the text.
    QTest::newRow("outgoing number") << 2 << u"+4917012"_s << u"hi"_s << true;
    QTest::newRow("outgoing numeric text") << 2 << u"Anna;Ben"_s << u"12345"_s << false;
}

void tst_BrowseOps::addOfferedOnlyForANumber() {
    QFETCH(int, tab);
    QFETCH(QString, no);
    QFETCH(QString, text);
    QFETCH(bool, offered);
    f->t->writeFile(u"tellwick.ini"_s, "[Addressbook]\nAnna=+4911\n");
    const QString folder = QStringList{u"In"_s, u"Out"_s, u"Sent"_s, u"Arc"_s}[tab - 1];
    f->message(folder, u"m.sms"_s,
               {u"[Tellwick]"_s, u"No="_s + no, u"Text="_s + text, u"Date=2026-01-01"_s, u"Time=10:00:00"_s});
    frmBrowse* b = f->open();
    b->tubby->setSelectedIndex(tab);
    f->click(b, u"m.sms"_s);
    QCOMPARE(b->mnuAdd->isEnabled(), offered);
}

void tst_BrowseOps::sendNowOfferedOnlyOnTheOutgoingTab() {
    for (const QString& folder : {u"In"_s, u"Out"_s, u"Sent"_s, u"Arc"_s}) {
        for (const QString& name : {u"x.sms"_s, u"y.sms"_s}) {
            f->message(folder, name, {u"[Tellwick]"_s, u"No=+4911"_s, u"Text=t"_s});
        }
    }
    frmBrowse* b = f->open();
    for (int tab = 1; tab <= 4; ++tab) {
        b->tubby->setSelectedIndex(tab);
        f->click(b, u"x.sms"_s);
        QCOMPARE(b->mnuSendNow->isVisible(), tab == 2);
        QCOMPARE(b->mnuSepSend->isVisible(), tab == 2);
        f->click(b, u"y.sms"_s, Qt::ControlModifier);
        QVERIFY(!b->mnuSendNow->isVisible());
    }
}

void tst_BrowseOps::copyAsksAndNoChangesNothing() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s});
    f->select(b, {u"a.sms"_s});
    f->ctx().msgBox().queueAnswer(MsgBox::No);
    b->cmdCopy->click();
    QCOMPARE(boxes().size(), 1);
    const MsgBox::Shown& q = boxes().first();
    QCOMPARE(q.text, u"Copy selected message(s) to 'Archive' folder\r\n"_s +
                         f->ctx().state().arcDir + u'?');
    QCOMPARE(q.title, u"Copy SMS message(s)"_s);
    QCOMPARE(q.buttons, MsgBox::YesNo);
    QCOMPARE(q.icon, MsgBox::Question);
    QVERIFY(files(u"Arc"_s).isEmpty());
    // No refresh: the selection and the label stay.
    QCOMPARE(b->selectedCount(), 1);
    QVERIFY(!b->labFileName->text().isEmpty());
}

void tst_BrowseOps::copyCancelAtOverwriteKeepsWhatWasCopied() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    f->message(u"Arc"_s, u"b.sms"_s, {u"[Tellwick]"_s, u"No=old"_s});
    f->select(b, {u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    const QStringList order = f->tags(b->LstMsg2);  // lines are taken in list order
    QCOMPARE(order, (QStringList{u"c.sms"_s, u"b.sms"_s, u"a.sms"_s}));
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    f->ctx().msgBox().queueAnswer(MsgBox::Cancel);
    b->mnuCopy->trigger();
    QCOMPARE(boxes().size(), 2);
    QCOMPARE(boxes()[1].text, u"b.sms\r\n already exists, overwrite it?"_s);
    QCOMPARE(boxes()[1].title, u"Overwrite existing file"_s);
    QCOMPARE(boxes()[1].buttons, MsgBox::YesNoCancel);
    QCOMPARE(files(u"Arc"_s), (QStringList{u"b.sms"_s, u"c.sms"_s}));
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"No"_s, f->path(u"Arc"_s, u"b.sms"_s)), u"old"_s);
    QCOMPARE(files(u"In"_s).size(), 3);  // a copy leaves the sources
    QCOMPARE(b->selectedCount(), 0);     // refreshed
    QVERIFY(b->LstMsg2->hasFocus() || !b->isActiveWindow());

    // Overwriting onto a full disk keeps the old copy whole.
    const QByteArray old = f->t->readFile(f->path(u"Arc"_s, u"b.sms"_s));
    f->select(b, {u"b.sms"_s});
    f->ctx().msgBox().clearShown();
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    IniStore::setWriteFaultForTest(3);
    b->cmdCopy_Click();
    IniStore::setWriteFaultForTest(-1);
    QCOMPARE(f->t->readFile(f->path(u"Arc"_s, u"b.sms"_s)), old);
    QCOMPARE(boxes().size(), 3);
    QCOMPARE(boxes()[2].title, u"Error copying message"_s);
    QVERIFY2(boxes()[2].text.contains(u"No space left on device"_s), qPrintable(boxes()[2].text));
    QCOMPARE(files(u"Arc"_s), (QStringList{u"b.sms"_s, u"c.sms"_s}));

    // Yes at the question overwrites.
    f->select(b, {u"b.sms"_s});
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->cmdCopy_Click();
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"No"_s, f->path(u"Arc"_s, u"b.sms"_s)), u"+491702"_s);
}

void tst_BrowseOps::moveSkipsWhatTheUserKeeps() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    f->message(u"Arc"_s, u"b.sms"_s, {u"[Tellwick]"_s, u"No=old"_s});
    f->select(b, {u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    f->ctx().msgBox().queueAnswer(MsgBox::No);
    b->cmdMove->click();
    QCOMPARE(boxes().first().text, u"Move selected message(s) to 'Archive' folder\r\n"_s +
                                       f->ctx().state().arcDir + u'?');
    QCOMPARE(boxes().first().title, u"Move SMS message(s)"_s);
    QCOMPARE(files(u"In"_s), QStringList{u"b.sms"_s});
    QCOMPARE(files(u"Arc"_s), (QStringList{u"a.sms"_s, u"b.sms"_s, u"c.sms"_s}));
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"No"_s, f->path(u"Arc"_s, u"b.sms"_s)), u"old"_s);
    QCOMPARE(f->tags(b->LstMsg2), QStringList{u"b.sms"_s});

    // From the archive tab the target is the incoming folder; overwriting moves it back.
    b->tubby->setSelectedIndex(4);
    f->select(b, {u"b.sms"_s});
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->cmdMove_Click();
    QCOMPARE(files(u"In"_s), QStringList{u"b.sms"_s});
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"No"_s, f->path(u"In"_s, u"b.sms"_s)), u"old"_s);
    QCOMPARE(files(u"Arc"_s), (QStringList{u"a.sms"_s, u"c.sms"_s}));
}

void tst_BrowseOps::moveIntoTheSameFolderKeepsTheMessage() {
    // Incoming and archive set to one folder: a move there must not delete the message.
    f->ctx().ini().writeINI(u"Settings"_s, u"ArcDir"_s, f->t->path(u"In"_s));
    f->ctx().getSettings();
    QCOMPARE(f->ctx().state().arcDir, f->ctx().state().inDir);
    frmBrowse* b = openWith({u"a.sms"_s});
    f->select(b, {u"a.sms"_s});
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->cmdMove_Click();
    QCOMPARE(files(u"In"_s), QStringList{u"a.sms"_s});
    QCOMPARE(boxes().size(), 1);
}

void tst_BrowseOps::copyOrMoveOfAVanishedFileIsReported() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s});
    f->select(b, {u"a.sms"_s, u"b.sms"_s});
    QFile::remove(f->path(u"In"_s, u"b.sms"_s));  // taken by a cycle meanwhile
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->cmdMove_Click();
    QCOMPARE(boxes().size(), 2);
    QCOMPARE(boxes()[1].title, u"Error moving message"_s);
    QVERIFY(boxes()[1].text.contains(f->path(u"In"_s, u"b.sms"_s)));
    QCOMPARE(boxes()[1].icon, MsgBox::Information);
    QCOMPARE(files(u"Arc"_s), QStringList{u"a.sms"_s});  // the loop went on

    // A target that cannot be written: the source stays where it is.
    QDir(f->t->path(u"Arc"_s)).removeRecursively();
    f->t->writeFile(u"Arc"_s, "a file where the folder should be");
    f->incoming(u"c.sms"_s, u"2026-01-03"_s, u"10:00:00"_s, u"+4911"_s, u"x"_s);
    b->Tubby_Click();
    f->select(b, {u"c.sms"_s});
    f->ctx().msgBox().clearShown();
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->cmdMove_Click();
    QCOMPARE(boxes().size(), 2);
    QCOMPARE(boxes()[1].title, u"Error moving message"_s);
    QCOMPARE(files(u"In"_s), QStringList{u"c.sms"_s});
}

void tst_BrowseOps::deleteAsksEvenWithNothingSelected() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s});
    f->ctx().msgBox().queueAnswer(MsgBox::No);
    b->cmdDelete_Click();
    QCOMPARE(boxes().first().text, u"Do you really want to delete selected message(s)?"_s);
    QCOMPARE(boxes().first().title, u"Delete message(s)"_s);
    QCOMPARE(boxes().first().buttons, MsgBox::YesNo);
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->mnuDelete->trigger();
    QCOMPARE(files(u"In"_s).size(), 2);
    QCOMPARE(b->LstMsg2->count(), 2);
}

void tst_BrowseOps::deleteGoesOnAfterAFailure() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    f->select(b, {u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    QFile::remove(f->path(u"In"_s, u"b.sms"_s));
    f->ctx().msgBox().queueAnswer(MsgBox::Yes);
    b->cmdDelete->click();
    QCOMPARE(boxes().size(), 2);
    QCOMPARE(boxes()[1].text, u"Could not delete message file "_s + f->path(u"In"_s, u"b.sms"_s));
    QCOMPARE(boxes()[1].title, u"Error deleting message"_s);
    QCOMPARE(boxes()[1].icon, MsgBox::Information);
    QVERIFY(files(u"In"_s).isEmpty());
    QCOMPARE(b->LstMsg2->count(), 0);
}

void tst_BrowseOps::keysOfTheList_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("selected");   // lines selected before the key
    QTest::addColumn<QString>("title");  // of the box that opens, "" none
    QTest::newRow("M") << int(Qt::Key_M) << 0 << 1 << u"Move SMS message(s)"_s;
    QTest::newRow("Ctrl+M") << int(Qt::Key_M) << int(Qt::ControlModifier) << 2 << u"Move SMS message(s)"_s;
    QTest::newRow("Shift+M") << int(Qt::Key_M) << int(Qt::ShiftModifier) << 0 << u"Move SMS message(s)"_s;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << 1 << u"Copy SMS message(s)"_s;
    QTest::newRow("C alone") << int(Qt::Key_C) << 0 << 1 << QString();
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << 2 << u"Delete message(s)"_s;
    QTest::newRow("Enter with two") << int(Qt::Key_Return) << 0 << 2 << QString();
    QTest::newRow("Ctrl+R with two") << int(Qt::Key_R) << int(Qt::ControlModifier) << 2 << QString();
    QTest::newRow("Ctrl+F with none") << int(Qt::Key_F) << int(Qt::ControlModifier) << 0 << QString();
    QTest::newRow("Ctrl+E with two") << int(Qt::Key_E) << int(Qt::ControlModifier) << 2 << QString();
    QTest::newRow("Ctrl+S off the outgoing tab")
        << int(Qt::Key_S) << int(Qt::ControlModifier) << 1 << QString();
}

void tst_BrowseOps::keysOfTheList() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, selected);
    QFETCH(QString, title);
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"mm.sms"_s});
    f->select(b, QStringList{u"a.sms"_s, u"b.sms"_s}.mid(0, selected));
    if (!title.isEmpty()) {
        f->ctx().msgBox().queueAnswer(MsgBox::No);
    }
    QTest::keyClick(b->LstMsg2, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(boxes().size(), title.isEmpty() ? 0 : 1);
    if (!title.isEmpty()) {
        QCOMPARE(boxes().first().title, title);
    }
    QCOMPARE(files(u"In"_s).size(), 3);
    // The key acted on the lines as they were: it moved no selection.
    QCOMPARE(b->selectedCount(), selected);
}

// Ctrl+A is "Add to addressbook" (one line: see addToAddressbookTakesEnter), not "select all":
// with two lines it does nothing.
void tst_BrowseOps::ctrlADoesWhatTheMenuSays() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    f->select(b, {u"a.sms"_s, u"b.sms"_s});
    QTest::keyClick(b->LstMsg2, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(b->selectedCount(), 2);
    QVERIFY(boxes().isEmpty());
}

void tst_BrowseOps::readMarksOnEveryTab() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s});
    f->click(b, u"a.sms"_s);
    f->click(b, u"b.sms"_s, Qt::ControlModifier);
    QTest::keyClick(b->LstMsg2, Qt::Key_D, Qt::ControlModifier);
    for (const QString& name : {u"a.sms"_s, u"b.sms"_s}) {
        QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Read"_s, f->path(u"In"_s, name)), u"1"_s);
        QVERIFY(!f->line(b->LstMsg2, name)->bold());
    }
    b->Tubby_Click();
    QVERIFY(!f->line(b->LstMsg2, u"a.sms"_s)->bold());
    f->select(b, {u"a.sms"_s});
    b->mnuMarkunRead->trigger();
    QVERIFY(f->line(b->LstMsg2, u"a.sms"_s)->bold());
    QVERIFY(f->line(b->LstMsg2, u"a.sms"_s)->subItemBold(2));
    QVERIFY(!f->t->readFile(u"In/a.sms"_s).contains("Read"));
    // A file that a cycle took meanwhile is not written back as a stub.
    QFile::remove(f->path(u"In"_s, u"a.sms"_s));
    QTest::keyClick(b->LstMsg2, Qt::Key_D, Qt::ControlModifier);
    QVERIFY(!f->exists(u"In"_s, u"a.sms"_s));
    f->incoming(u"a.sms"_s, u"2026-01-01"_s, u"10:00:00"_s, u"+4911"_s, u"x"_s);

    // The keys act on the sent tab too, where the menu hides the items; the bold lasts until
    // the next refresh.
    f->message(u"Sent"_s, u"s.sms"_s, {u"[Tellwick]"_s, u"No=1"_s, u"Read=1"_s});
    b->tubby->setSelectedIndex(3);
    f->select(b, {u"s.sms"_s});
    QTest::keyClick(b->LstMsg2, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(f->line(b->LstMsg2, u"s.sms"_s)->bold());
    QVERIFY(!f->t->readFile(u"Sent/s.sms"_s).contains("Read"));
    b->Tubby_Click();
    QVERIFY(!f->line(b->LstMsg2, u"s.sms"_s)->bold());
}

void tst_BrowseOps::doubleClickMarksReadThenEditsTheClickedFile() {
    QString opened;
    bool modal = false;
    f->ctx().windows().registerFactory(
        u"frmEditMsg"_s, [](AppContext& c) -> QWidget* { return new QDialog(&c.mainWindow()); });
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s, u"c.sms"_s});
    f->click(b, u"a.sms"_s);
    f->click(b, u"c.sms"_s, Qt::ControlModifier);
    whenUp(u"frmEditMsg"_s, [&](QWidget* w) {
        opened = w->property("messageFile").toString();
        modal = w->isModal();
        // The marks were written before the editor opened.
        QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Read"_s, f->path(u"In"_s, u"a.sms"_s)), u"1"_s);
    });
    const QRect r = b->LstMsg2->visualItemRect(f->line(b->LstMsg2, u"c.sms"_s));
    QTest::mouseDClick(b->LstMsg2->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    QTRY_VERIFY(!opened.isEmpty());
    QCOMPARE(opened, f->path(u"In"_s, u"c.sms"_s));
    QVERIFY(modal);
    for (const QString& name : {u"a.sms"_s, u"c.sms"_s}) {
        QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Read"_s, f->path(u"In"_s, name)), u"1"_s);
    }
    QVERIFY(f->line(b->LstMsg2, u"b.sms"_s)->bold());

    // Ctrl+E with one line opens it as well.
    opened.clear();
    f->select(b, {u"b.sms"_s});
    whenUp(u"frmEditMsg"_s, [&](QWidget* w) { opened = w->property("messageFile").toString(); });
    QTest::keyClick(b->LstMsg2, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(opened, f->path(u"In"_s, u"b.sms"_s));
}

void tst_BrowseOps::replyAndForwardPresetTheComposeDialog() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s});
    frmMain& main = f->ctx().mainWindow();
    struct Seen {
        QString caption, phoneNo, text;
        bool timersOff = false;
    } reply, forward;
    whenUp(u"frmSendSMS"_s, [&](QWidget* w) {
        auto* d = static_cast<frmSendSMS*>(w);
        reply = {d->windowTitle(), d->txtPhoneNo->text(), d->Text1->toPlainText(), main.timersDisabled()};
    });
    f->select(b, {u"b.sms"_s});
    QTest::keyClick(b->LstMsg2, Qt::Key_Return);
    QCOMPARE(reply.caption, u"Tellwick: Reply to SMS message"_s);
    QCOMPARE(reply.phoneNo, u"+491702"_s);
    QCOMPARE(reply.text, u"text 2"_s);
    QVERIFY(reply.timersOff);
    QVERIFY(!main.timersDisabled());
    // Closed without sending, the message is read all the same.
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Read"_s, f->path(u"In"_s, u"b.sms"_s)), u"1"_s);
    b->Tubby_Click();
    QVERIFY(!f->line(b->LstMsg2, u"b.sms"_s)->bold());
    QVERIFY(f->line(b->LstMsg2, u"a.sms"_s)->bold());
    QVERIFY(files(u"Out"_s).isEmpty());

    whenUp(u"frmSendSMS"_s, [&](QWidget* w) {
        auto* d = static_cast<frmSendSMS*>(w);
        forward = {d->windowTitle(), d->txtPhoneNo->text(), d->Text1->toPlainText(), main.timersDisabled()};
    });
    f->select(b, {u"a.sms"_s});
    b->mnuForward->trigger();
    QCOMPARE(forward.caption, u"Tellwick: Forward SMS message"_s);
    QCOMPARE(forward.phoneNo, QString());
    QCOMPARE(forward.text, u"text 1"_s);
    QVERIFY(forward.timersOff);
    QVERIFY(!main.timersDisabled());
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Read"_s, f->path(u"In"_s, u"a.sms"_s)), u"1"_s);
}

void tst_BrowseOps::sendNowThroughThePhone() {
    PhoneSimulator sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    QVERIFY(f->ctx().phone().openPort(sim.devicePath(), 115200));
    QVERIFY(f->ctx().phone().startDevice());
    f->ctx().getSettings();
    f->message(u"Out"_s, u"o1.sms"_s, {u"[Tellwick]"_s, u"No=+4917011"_s, u"Text=hello now"_s});
    f->message(u"Out"_s, u"o2.sms"_s, {u"[Tellwick]"_s, u"No=+4917022"_s, u"Text=later"_s});
    frmBrowse* b = f->open();
    b->tubby->setSelectedIndex(2);
    f->click(b, u"o1.sms"_s);
    QVERIFY(b->mnuSendNow->isVisible());
    bool timersOffWhileSending = false;
    connect(&sim, &PhoneSimulator::submitted, this,
            [&] { timersOffWhileSending = f->ctx().mainWindow().timersDisabled(); });
    b->mnuSendNow->trigger();
    QCOMPARE(sim.decodedSubmissions().size(), 1);
    QCOMPARE(sim.decodedSubmissions().first().number, u"+4917011"_s);
    QCOMPARE(sim.decodedSubmissions().first().text, u"hello now"_s);
    QVERIFY(timersOffWhileSending);
    QVERIFY(!f->ctx().mainWindow().timersDisabled());
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes().first().text, u"OK: Message was sent to +4917011."_s);
    QCOMPARE(boxes().first().title, u"Tellwick: Send result"_s);
    QCOMPARE(boxes().first().icon, MsgBox::Information);
    QCOMPARE(files(u"Out"_s), QStringList{u"o2.sms"_s});
    QCOMPARE(files(u"Sent"_s), QStringList{u"o1.sms"_s});
    QCOMPARE(f->tags(b->LstMsg2), QStringList{u"o2.sms"_s});  // refreshed

    // Ctrl+S, shown beside the item, sends as well.
    f->click(b, u"o2.sms"_s);
    QTest::keyClick(b->LstMsg2, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(sim.decodedSubmissions().size(), 2);
    QVERIFY(files(u"Out"_s).isEmpty());
}

void tst_BrowseOps::forwardAndResendFromTheSentListRefreshIt() {
    PhoneSimulator sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    QVERIFY(f->ctx().phone().openPort(sim.devicePath(), 115200));
    QVERIFY(f->ctx().phone().startDevice());
    f->ctx().getSettings();
    f->ctx().mainWindow().showStatus({});
    f->message(u"Sent"_s, u"s1.sms"_s,
               {u"[Tellwick]"_s, u"No=+4917011"_s, u"Text=see you at 8"_s, u"[Job Result]"_s, u"Date=2026-01-02"_s,
                u"Time=10:00:00"_s, u"Result=OK: Message was sent to +4917011."_s});
    frmBrowse* b = f->open();
    b->tubby->setSelectedIndex(3);
    QString focus;
    int offCentre = -1;  // the dialog opens over the browser, not over the main window
    const auto sendTo = [&](const QString& number) {
        whenUp(u"frmSendSMS"_s, [&, number](QWidget* w) {
            auto* d = static_cast<frmSendSMS*>(w);
            focus = d->focusWidget() ? d->focusWidget()->objectName() : QString();
            offCentre = (d->frameGeometry().center() - b->frameGeometry().center()).manhattanLength();
            if (!number.isEmpty()) {
                d->txtPhoneNo->setText(number);
            }
            d->cmdSendSMS->click();
        });
    };
    // Forward: no recipient yet, so the user types one first.
    sendTo(u"+4917022"_s);
    f->select(b, {u"s1.sms"_s});
    b->cmdForward->click();
    QCOMPARE(focus, u"txtPhoneNo"_s);
    QVERIFY2(offCentre >= 0 && offCentre <= 8, qPrintable(QString::number(offCentre)));
    QCOMPARE(sim.decodedSubmissions().size(), 1);
    QCOMPARE(files(u"Sent"_s).size(), 2);
    QCOMPARE(b->LstMsg2->count(), 2);
    // Sent again to the same number (reply): the list shows the new copy too.
    sendTo({});
    f->select(b, {u"s1.sms"_s});
    b->cmdReply->click();
    QCOMPARE(sim.decodedSubmissions().size(), 2);
    QCOMPARE(sim.decodedSubmissions().last().number, u"+4917011"_s);
    QCOMPARE(focus, u"Text1"_s);  // a reply starts in its text
    QCOMPARE(b->LstMsg2->count(), 3);
}

void tst_BrowseOps::sendNowFailureIsShownAndTheFileLeaves() {
    // No phone at all: the error is the box's text, and the file is filed with it.
    f->message(u"Out"_s, u"o1.sms"_s, {u"[Tellwick]"_s, u"No=+4917011"_s, u"Text=hello"_s});
    f->message(u"Out"_s, u"empty.sms"_s, {u"[Tellwick]"_s, u"Text=nobody"_s});
    frmBrowse* b = f->open();
    b->tubby->setSelectedIndex(2);
    f->click(b, u"o1.sms"_s);
    b->mnuSendNow_Click();
    QCOMPARE(boxes().size(), 1);
    QVERIFY(boxes().first().text.startsWith(u"ERROR"_s));
    f->click(b, u"empty.sms"_s);
    b->mnuSendNow_Click();
    QCOMPARE(boxes()[1].text, u"ERROR: no recipient No. specified in "_s + f->path(u"Out"_s, u"empty.sms"_s));
    QVERIFY(files(u"Out"_s).isEmpty());
    QCOMPARE(b->LstMsg2->count(), 0);
    QVERIFY(!f->ctx().mainWindow().timersDisabled());
}

void tst_BrowseOps::sendNowHoldsTheWindowWhileThePhoneWaits() {
    // The message loop runs while the phone is waited for: a close or a second send-now
    // arriving then must neither destroy the window under the running send nor file the
    // message being sent as failed.
    PhoneSimulator sim;
    QVERIFY2(sim.start(), qPrintable(sim.errorString()));
    QVERIFY(f->ctx().phone().openPort(sim.devicePath(), 115200));
    QVERIFY(f->ctx().phone().startDevice());
    f->ctx().getSettings();
    f->message(u"Out"_s, u"o1.sms"_s, {u"[Tellwick]"_s, u"No=+4917011"_s, u"Text=hello now"_s});
    QPointer<frmBrowse> b = f->open();
    b->tubby->setSelectedIndex(2);
    f->click(b, u"o1.sms"_s);
    bool during = false;
    QObject guard;  // the connection ends with this function
    connect(&sim, &PhoneSimulator::submitted, &guard, [&] {
        during = true;
        b->Command1->click();
        QTest::keyClick(b->LstMsg2, Qt::Key_S, Qt::ControlModifier);
    });
    b->mnuSendNow_Click();
    QVERIFY(during);
    QVERIFY(b);
    QCOMPARE(sim.decodedSubmissions().size(), 1);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes().first().text, u"OK: Message was sent to +4917011."_s);
    QCOMPARE(files(u"Sent"_s), QStringList{u"o1.sms"_s});
    QCOMPARE(f->ctx().ini().readINI(u"Job Result"_s, u"Result"_s, f->path(u"Sent"_s, u"o1.sms"_s)),
             u"OK: Message was sent to +4917011."_s);
    QVERIFY(!f->ctx().mainWindow().timersDisabled());
    // Once the send is over, closing works again.
    b->Command1->click();
    QTRY_VERIFY(b.isNull());
}

// "Add to addressbook..." (Ctrl+A): a name typed and Enter pressed adds the entry with the sender's
// number; the list then shows the name.
void tst_BrowseOps::addToAddressbookTakesEnter() {
    frmBrowse* b = openWith({u"a.sms"_s});
    f->select(b, {u"a.sms"_s});
    QStringList seen;
    whenUp(u"frmAddressBook"_s, [&](QWidget* w) {
        auto* book = static_cast<frmAddressBook*>(w);
        QTest::keyClicks(book->txtName, u"Ann"_s);
        QTest::keyClick(book->txtName, Qt::Key_Return);
        seen << (book->isVisible() ? u"open"_s : u"closed"_s) << book->txtName->text();
        for (int i = 1; i <= book->lstNames->count(); ++i) {
            seen << book->lstNames->item(i)->text();
        }
        book->cmdClose->click();
    });
    QTest::keyClick(b->LstMsg2, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(seen, (QStringList{u"open"_s, QString(), u"Ann"_s}));
    QCOMPARE(f->ctx().ini().readINI(u"Addressbook"_s, u"Ann"_s), u"+491701"_s);
    QCOMPARE(f->line(b->LstMsg2, u"a.sms"_s)->subItem(1), u"Ann"_s);
    QCOMPARE(b->selectedCount(), 0);  // read again, nothing selected
}

// A read mark the file does not take leaves the line bold, and the line under the list says so.
void tst_BrowseOps::readMarkThatCannotBeStored() {
    frmBrowse* b = openWith({u"a.sms"_s, u"b.sms"_s});
    // Anyone, root included, fails to write a folder that stands where the file was.
    const QString path = f->path(u"In"_s, u"a.sms"_s);
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    f->select(b, {u"a.sms"_s, u"b.sms"_s});
    QTest::keyClick(b->LstMsg2, Qt::Key_D, Qt::ControlModifier);
    QVERIFY(f->line(b->LstMsg2, u"a.sms"_s)->bold());
    QVERIFY(!f->line(b->LstMsg2, u"b.sms"_s)->bold());
    QCOMPARE(b->labFileName->text(), u"Could not mark as read (the file cannot be written): a.sms"_s);
    QVERIFY(boxes().isEmpty());
}

// A message whose file went since the listing (sent, processed, moved): every command on it
// says so and lists the folder again instead of opening an empty window.
void tst_BrowseOps::vanishedMessageIsSaidAndTheListRefreshed_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("reply (Enter)") << u"reply"_s;
    QTest::newRow("forward (Ctrl+F)") << u"forward"_s;
    QTest::newRow("edit (Ctrl+E)") << u"edit"_s;
    QTest::newRow("view (double-click)") << u"view"_s;
    QTest::newRow("send now") << u"send now"_s;
}

void tst_BrowseOps::vanishedMessageIsSaidAndTheListRefreshed() {
    QFETCH(QString, command);
    const bool outgoing = command == u"send now"_s;
    QString folder = u"In"_s;
    frmBrowse* b = nullptr;
    if (outgoing) {
        folder = u"Out"_s;
        f->message(u"Out"_s, u"a.sms"_s, {u"[Tellwick]"_s, u"No=+4917011"_s, u"Text=hello"_s});
        f->message(u"Out"_s, u"b.sms"_s, {u"[Tellwick]"_s, u"No=+4917022"_s, u"Text=later"_s});
        b = f->open();
        b->tubby->setSelectedIndex(2);
    } else {
        b = openWith({u"a.sms"_s, u"b.sms"_s});
    }
    f->click(b, u"a.sms"_s);
    QVERIFY(QFile::remove(f->path(folder, u"a.sms"_s)));
    bool windowOpened = false;
    QObject guard;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, &guard, [&] {
        if (QWidget* w = QApplication::activeModalWidget(); w && w != b) {
            windowOpened = true;
            if (auto* d = qobject_cast<QDialog*>(w)) {
                d->reject();
            }
        }
    });
    poll.start();
    if (command == u"reply"_s) {
        QTest::keyClick(b->LstMsg2, Qt::Key_Return);
    } else if (command == u"forward"_s) {
        QTest::keyClick(b->LstMsg2, Qt::Key_F, Qt::ControlModifier);
    } else if (command == u"edit"_s) {
        QTest::keyClick(b->LstMsg2, Qt::Key_E, Qt::ControlModifier);
    } else if (command == u"view"_s) {
        const QRect r = b->LstMsg2->visualItemRect(f->line(b->LstMsg2, u"a.sms"_s));
        QTest::mouseDClick(b->LstMsg2->viewport(), Qt::LeftButton, {}, r.center());
    } else {
        b->mnuSendNow->trigger();
    }
    poll.stop();
    QVERIFY(!windowOpened);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes().first().title, u"Message not found"_s);
    QCOMPARE(boxes().first().text,
             u"The message a.sms no longer exists: it was sent, processed, moved or deleted meanwhile."_s);
    QCOMPARE(f->tags(b->LstMsg2), QStringList{u"b.sms"_s});  // listed again
    QVERIFY(!f->exists(folder, u"a.sms"_s));                  // no stub written
}

QTEST_MAIN(tst_BrowseOps)
#include "tst_browseops.moc"
