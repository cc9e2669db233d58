// The address book window over a simulated phone: its tabs, listing, editing with clean-up,
// copy and move through the destination chooser, refresh, write-back and closing questions.
#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>

#include "IconLook.h"
#include "ModalDriver.h"
#include "ListView.h"
#include "MessagesWindows.h"
#include "PhoneSimulator.h"
#include "TabStrip.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmAddressBook.h"
#include "frmCopyMove.h"
#include "frmMain.h"
#include "frmOutlookImport.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

namespace {

const QString kSim = u"Addressbook.SM"_s;

}  // namespace

class tst_frmAddressBook : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void tabsFollowThePhone_data();
    void tabsFollowThePhone();
    void layoutAndLocalStore();
    void simOnlyStoreIsShownReadWrittenAndClosed();
    void typedEntriesAreCleanedAndQuestionsAsked();
    void enterAddsTheTypedEntry_data();
    void enterAddsTheTypedEntry();
    void closeAsksAboutATypedEntry_data();
    void closeAsksAboutATypedEntry();
    void replaceAndDelete();
    void phoneStoreLimitsTyping();
    void selectionEnablesEditing();
    void headerClicksToggleTheOrder();
    void namesSortAsTheLanguageSorts_data();
    void namesSortAsTheLanguageSorts();
    void moveOutOfSimMarksItChanged();
    void moveAnsweredNoKeepsTheSource();
    void copyThatOverfillsIsRefused();
    void copyToPhoneOverwritesOrAdds();
    void existsQuestionAsksAboutTheStoredKey_data();
    void existsQuestionAsksAboutTheStoredKey();
    void refreshOffersToSaveThenReads();
    void phoneDialoguesKeepThePollingCount_data();
    void phoneDialoguesKeepThePollingCount();
    void closeAsksPerChangedMemory();
    void incompleteWriteBackStaysChanged();
    void updateOfAnUnreadMemory_data();
    void updateOfAnUnreadMemory();
    void refreshOfAnUnreadMemoryKeepsTypedEntries();
    void busyWindowStaysOpenAndEscapeAborts();
    void doubleClickOpensTheComposeDialog();
    void mainWindowShowsItBeside();
    void outlookImportButton();
    void renders();

private:
    bool startPhone();
    frmAddressBook* open();
    void selectTab(const QString& key) { w->Tubby->setSelectedIndex(w->Tubby->indexOfKey(key)); }
    void select(const QStringList& names);
    QStringList names() const;
    QStringList phonebookCommands() const;
    // The user picks option `pick` (0 cancels) in the destination chooser of the next command.
    void useChooser(int pick);
    void fillSim(int count);
    // Opens the window, declines to read the SIM and adds Eve with number to its copy.
    void addToTheSimUnread(const QString& number);
    const MsgBox::Shown& lastBox() const { return t->msgBox().shown().last(); }

    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;
    std::unique_ptr<frmAddressBook> w;
    QStringList chooserSeen;
    QTimer chooserPoll;
    int chooserPick = 0;
};

void tst_frmAddressBook::init() {
    t = std::make_unique<TestContext>();
    sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    sim->setPhonebook(u"ME"_s, 500, 40, 24);
    sim->setPhonebook(u"SM"_s, 10, 20, 14);
    chooserSeen.clear();
    registerMessagesWindows(t->ctx().windows());
    // Never the contacts of the person running the tests.
    t->ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, t->path(u"no-contacts"_s));
    chooserPoll.setInterval(10);
    chooserPoll.disconnect();
    connect(&chooserPoll, &QTimer::timeout, this, [this] {
        auto* d = qobject_cast<frmCopyMove*>(t->ctx().windows().existing(u"frmCopyMove"_s));
        if (!d || !d->isVisible()) {
            return;
        }
        chooserPoll.stop();
        auto state = [](QRadioButton* b) -> QString { return b->text() + (b->isEnabled() ? u""_s : u" (off)"_s); };
        chooserSeen << d->windowTitle() << d->Label1->text() << state(d->Opt1) << state(d->Opt2);
        if (chooserPick == 0) {
            d->cmdCancel->click();
            return;
        }
        (chooserPick == 1 ? d->Opt1 : d->Opt2)->click();
        d->cmdOK->click();
    });
}

void tst_frmAddressBook::useChooser(int pick) {
    chooserPick = pick;
    chooserPoll.start();
}

void tst_frmAddressBook::cleanup() {
    w.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
    sim.reset();
}

bool tst_frmAddressBook::startPhone() {
    if (!t->ctx().phone().openPort(sim->devicePath(), 115200) || !t->ctx().phone().startDevice()) {
        return false;
    }
    t->ctx().getSettings();
    sim->clearRecords();
    return true;
}

frmAddressBook* tst_frmAddressBook::open() {
    w = std::make_unique<frmAddressBook>(t->ctx());
    w->show();
    return w.get();
}

void tst_frmAddressBook::select(const QStringList& names) {
    w->lstNames->clearSelection();
    for (int i = 1; i <= w->lstNames->count(); ++i) {
        ListItem* row = w->lstNames->item(i);
        if (names.contains(row->text())) {
            if (names.first() == row->text()) {
                w->lstNames->setCurrentItem(row, 0, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
            row->setSelected(true);
        }
    }
    w->lstNames_ItemClick();
}

QStringList tst_frmAddressBook::names() const {
    QStringList out;
    for (int i = 1; i <= w->lstNames->count(); ++i) {
        out << w->lstNames->item(i)->text();
    }
    return out;
}

QStringList tst_frmAddressBook::phonebookCommands() const {
    QStringList out;
    for (const QString& c : sim->commands()) {
        if (c.startsWith(u"AT+CPB"_s)) {
            out << c;
        }
    }
    return out;
}

void tst_frmAddressBook::fillSim(int count) {
    t->ini().writeINI(kSim + u".State"_s, u"Read"_s, u"1"_s);  // read from the phone before
    for (int i = 1; i <= count; ++i) {
        t->ini().writeINI(kSim, QString::number(i), u"Name%1|%1"_s.arg(i));
    }
}

void tst_frmAddressBook::addToTheSimUnread(const QString& number) {
    open();
    t->msgBox().queueAnswer(MsgBox::No);  // "do you want to read it from the phone now?"
    selectTab(u"SM"_s);
    QTest::keyClicks(w->txtName, u"Eve"_s);
    QTest::keyClicks(w->txtNumber, number);
    QTest::keyClick(w->txtNumber, Qt::Key_Return);
    QCOMPARE(names(), QStringList{u"Eve"_s});
}

void tst_frmAddressBook::tabsFollowThePhone_data() {
    QTest::addColumn<bool>("phone");
    QTest::addColumn<int>("phoneSize");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("both memories") << true << 500
                                   << QStringList{u"&Tellwick"_s, u"&Phone memory"_s, u"SI&M memory"_s};
    QTest::newRow("SIM only") << true << 0 << QStringList{u"&Tellwick"_s, u"SI&M memory"_s};
    QTest::newRow("no phone") << false << 500 << QStringList{u"&Tellwick"_s};
}

void tst_frmAddressBook::tabsFollowThePhone() {
    QFETCH(bool, phone);
    QFETCH(int, phoneSize);
    QFETCH(QStringList, tabs);
    sim->setPhonebook(u"ME"_s, phoneSize, 40, 24);
    if (phone) {
        QVERIFY(startPhone());
    }
    open();
    QStringList shown;
    for (int i = 1; i <= w->Tubby->tabCount(); ++i) {
        shown << w->Tubby->tabText(i - 1);
    }
    QCOMPARE(shown, tabs);
    QCOMPARE(w->Tubby->selectedIndex(), 1);
    QCOMPARE(w->currentMem(), u"SMS"_s);
    QCOMPARE(w->memory(u"ME"_s).max, phone ? phoneSize : 0);
    QCOMPARE(w->memory(u"SM"_s).max, phone ? 10 : 0);
    if (phone) {
        QCOMPARE(w->memory(u"SM"_s).numberLength, 20);
        QCOMPARE(w->memory(u"SM"_s).nameLength, 14);
    }
}

void tst_frmAddressBook::layoutAndLocalStore() {
    t->ini().writeINI(u"Addressbook"_s, u"Zoe"_s, u"+49301"_s);
    t->ini().writeINI(u"Addressbook"_s, u"adam"_s, u"0171"_s);
    open();
    QCOMPARE(w->windowTitle(), u"Tellwick: Addressbook"_s);
    QCOMPARE(w->windowIcon().cacheKey(), t->ctx().mainWindow().windowIcon().cacheKey());
    QCOMPARE(w->labBooks->text(), u"Address&books:"_s);
    QCOMPARE(w->labName->text(), u"&Name:"_s);
    QCOMPARE(w->LabNumber->text(), u"N&umber:"_s);
    QCOMPARE(w->labHint->text(), u"Click on a name to edit an entry, doubleclick to send a message..."_s);
    QCOMPARE(
        w->labChanged->text(),
        u"Please note: All phonebook entries will be saved locally until you press the 'update' button."_s);
    QVERIFY(w->labChanged->isHidden());
    QVERIFY(w->cmdAbort->isHidden());
    QVERIFY(w->cmdClose->isDefault());
    QCOMPARE(w->cmdRefresh->toolTip(), u"Refresh selected phonebook list (read from phone)"_s);
    QCOMPARE(w->cmdUpdate->toolTip(), u"Update selected phonebook memory (write to phone)"_s);
    QCOMPARE(w->cmdOutlook->toolTip(), u"Import contacts from Microsoft Outlook..."_s);
    for (QPushButton* b :
         {w->cmdReplace, w->cmdDelete, w->cmdCopy, w->cmdMove, w->cmdRefresh, w->cmdUpdate}) {
        QVERIFY(!b->isEnabled());
    }
    QCOMPARE(w->lstNames->headerItem()->text(0), u"Name"_s);
    QCOMPARE(w->lstNames->headerItem()->text(1), u"Number"_s);
    QCOMPARE(w->lstNames->columnWidthTwips(0), w->lstNames->columnWidthTwips(1) + 350);
    QCOMPARE(w->lstNames->columnHeaderIcon(0).cacheKey(),
             t->ctx().mainWindow().lstImages.icon(u"Asc"_s).cacheKey());
    QCOMPARE(names(), (QStringList{u"adam"_s, u"Zoe"_s}));
    QCOMPARE(w->lstNames->item(2)->subItem(1), u"+49301"_s);
    QVERIFY(w->lstNames->item(2)->tag().isEmpty());
    QCOMPARE(w->labStatus->text(), u"2 addresses stored in local Tellwick addressbook"_s);
    QVERIFY(!w->cmdOutlook->isEnabled());  // no contacts to import

    // Without a phone the chooser offers nothing: only Cancel ends it and nothing happens.
    select({u"adam"_s});
    useChooser(0);
    w->cmdCopy_Click();
    QCOMPARE(chooserSeen,
             (QStringList{u"Copy address(es)"_s, u"Select memory to copy selected address(es) to:"_s,
                          u"phone addressbook (off)"_s, u"SIM addressbook (off)"_s}));
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 2);
    QVERIFY(t->msgBox().shown().isEmpty());
}

void tst_frmAddressBook::simOnlyStoreIsShownReadWrittenAndClosed() {
    sim->setPhonebook(u"ME"_s, 0, 40, 24);
    sim->setPhonebookEntry(u"SM"_s, 2, u"+4917100002"_s, u"Doe, John"_s);
    QVERIFY(startPhone());
    open();
    QCOMPARE(w->Tubby->tabText(1), u"SI&M memory"_s);
    // The empty copy asks once whether to read the phone.
    t->msgBox().queueAnswer(MsgBox::Yes);
    w->Tubby->setSelectedIndex(2);
    QCOMPARE(lastBox().title, u"No addresses found"_s);
    QCOMPARE(lastBox().text, u"This addressbook is empty, do you want to read it from the phone now?"_s);
    QCOMPARE(lastBox().icon, MsgBox::Information);
    QCOMPARE(w->currentMem(), u"SM"_s);
    QCOMPARE(names(), QStringList{u"Doe, John"_s});
    QCOMPARE(w->lstNames->item(1)->tag(), u"2"_s);
    QCOMPARE(w->labStatus->text(), u"1 addresses found on SIM card "_s);
    QCOMPARE(w->labName->text(), u"&Name (max. 14 characters):"_s);
    QCOMPARE(w->LabNumber->text(), u"N&umber (max. 20 digits):"_s);
    QVERIFY(w->cmdRefresh->isEnabled() && !w->cmdUpdate->isEnabled() && !w->cmdOutlook->isEnabled());

    w->txtName->setText(u"Eve"_s);
    w->txtNumber->setText(u"0171 555"_s);
    w->cmdAdd_Click();
    QCOMPARE(t->ini().readINI(kSim, u"1"_s), u"Eve|0171555"_s);  // the first free index
    QVERIFY(w->memory(u"SM"_s).changed);
    QVERIFY(w->cmdUpdate->isEnabled());
    QCOMPARE(w->labStatus->text(), u"2 addresses saved locally from SIM card (changed)"_s);
    QVERIFY(!w->labChanged->isHidden());
    QVERIFY(!sim->phonebook(u"SM"_s).contains(1));  // only the copy changed

    // Back and forth: the empty-book question is not asked again.
    w->Tubby->setSelectedIndex(1);
    w->Tubby->setSelectedIndex(2);
    QCOMPARE(t->msgBox().shown().size(), 1);

    t->msgBox().queueAnswer(MsgBox::Yes);
    w->cmdClose_Click();
    QCOMPARE(lastBox().title, u"Tellwick: Save addressbook to phone"_s);
    QCOMPARE(lastBox().text,
             u"Your SIM addressbook has been changed.\r\nIf you exit now, all changes will be "
             u"lost.\r\n\r\nDo you want to save it now?"_s);
    QCOMPARE(lastBox().buttons, MsgBox::YesNoCancel);
    const auto phone = sim->phonebook(u"SM"_s);
    QCOMPARE(phone.keys(), (QList<int>{1, 2}));
    QCOMPARE(phone.value(1).name, u"Eve"_s);
    QCOMPARE(phone.value(2).name, u"Doe, John"_s);
    QCOMPARE(phone.value(2).type, 145);
    QVERIFY(!w->memory(u"SM"_s).changed);
    QVERIFY(w->isHidden());
}

void tst_frmAddressBook::typedEntriesAreCleanedAndQuestionsAsked() {
    open();
    w->txtName->setText(u"Doe, John"_s);
    QVERIFY(!w->cmdAdd->isEnabled());
    w->txtNumber->setText(u"+49 171/123-45\\6"_s);
    QVERIFY(w->cmdAdd->isEnabled());
    w->cmdAdd_Click();
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Doe  John"_s), u"+49171123456"_s);
    QCOMPARE(names(), QStringList{u"Doe  John"_s});
    QVERIFY(w->txtName->text().isEmpty() && !w->cmdAdd->isEnabled());

    // The same name again: asked first; No keeps the old number.
    w->txtName->setText(u"doe  john"_s);
    w->txtNumber->setText(u"999"_s);
    t->msgBox().queueAnswer(MsgBox::No);
    w->cmdAdd_Click();
    QCOMPARE(lastBox().title, u"Overwrite existing entry"_s);
    QCOMPARE(lastBox().text, u"The name 'doe  john' already exists, do you want to overwrite it?"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Doe  John"_s), u"+49171123456"_s);
    t->msgBox().queueAnswer(MsgBox::Yes);
    w->cmdAdd_Click();
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Doe  John"_s), u"999"_s);

    // A name the settings file cannot take as a key is cleaned, not lost.
    w->txtName->setText(u"[a=b"_s);
    w->txtNumber->setText(u"1"_s);
    w->cmdAdd_Click();
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"a b"_s), u"1"_s);
    // Nothing left after the clean-up: nothing stored.
    w->txtName->setText(u","_s);
    w->txtNumber->setText(u"--"_s);
    w->cmdAdd_Click();
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 2);
}

// Enter in either box with an entry typed adds it; the window (whose default button is Close)
// stays open. With one box still empty Enter goes to that box and nothing is stored.
void tst_frmAddressBook::enterAddsTheTypedEntry_data() {
    QTest::addColumn<QString>("store");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("inNameBox");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("local, Enter in the number box") << u"SMS"_s << u"Doe, John"_s << u"0171 555"_s << false
                                                    << QStringList{u"Ann"_s, u"Doe  John"_s};
    QTest::newRow("local, Enter in the name box") << u"SMS"_s << u"Eve"_s << u"0172"_s << true
                                                  << QStringList{u"Ann"_s, u"Eve"_s};
    QTest::newRow("SIM, Enter in the number box") << u"SM"_s << u"Eve"_s << u"0172"_s << false
                                                  << QStringList{u"Eve"_s, u"Name1"_s};
    QTest::newRow("number missing") << u"SMS"_s << u"Eve"_s << QString() << true << QStringList{u"Ann"_s};
}

void tst_frmAddressBook::enterAddsTheTypedEntry() {
    QFETCH(QString, store);
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(bool, inNameBox);
    QFETCH(QStringList, listed);
    QVERIFY(startPhone());
    fillSim(1);
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    open();
    selectTab(store);
    QTest::keyClicks(w->txtName, name);
    QTest::keyClicks(w->txtNumber, number);
    QTest::keyClick(inNameBox ? w->txtName : w->txtNumber, Qt::Key_Return);
    QVERIFY(w->isVisible());
    QCOMPARE(names(), listed);
    if (number.isEmpty()) {
        QCOMPARE(w->txtName->text(), name);  // kept, to be completed
    } else {
        QVERIFY(w->txtName->text().isEmpty() && w->txtNumber->text().isEmpty());
    }
    QVERIFY(t->msgBox().shown().isEmpty());
}

// Close with an entry typed but not added asks: Yes adds it and closes, No closes without it,
// Cancel stays. A row clicked, or nothing typed, closes without a question.
void tst_frmAddressBook::closeAsksAboutATypedEntry_data() {
    QTest::addColumn<QString>("how");  // "button", "escape" or "title bar"
    QTest::addColumn<bool>("typeIt");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Yes adds, then closes") << u"button"_s << true << int(MsgBox::Yes) << true << u"0172"_s;
    QTest::newRow("No closes without it") << u"button"_s << true << int(MsgBox::No) << true << QString();
    QTest::newRow("Cancel stays") << u"escape"_s << true << int(MsgBox::Cancel) << false << QString();
    QTest::newRow("title bar asks too") << u"title bar"_s << true << int(MsgBox::Cancel) << false << QString();
    QTest::newRow("a row clicked: no question") << u"button"_s << false << 0 << true << QString();
}

void tst_frmAddressBook::closeAsksAboutATypedEntry() {
    QFETCH(QString, how);
    QFETCH(bool, typeIt);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(QString, stored);
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    open();
    if (typeIt) {
        QTest::keyClicks(w->txtName, u"Eve"_s);
        QTest::keyClicks(w->txtNumber, u"0172"_s);
    } else {
        select({u"Ann"_s});
    }
    if (answer != 0) {
        t->msgBox().queueAnswer(answer);
    }
    if (how == u"button"_s) {
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    } else if (how == u"escape"_s) {
        QTest::keyClick(w->txtNumber, Qt::Key_Escape);
    } else {
        w->close();
    }
    QCOMPARE(t->msgBox().shown().size(), answer != 0 ? 1 : 0);
    if (answer != 0) {
        QCOMPARE(lastBox().title, u"Entry not added"_s);
        QCOMPARE(lastBox().text, u"The entry 'Eve' (0172) has not been added to the addressbook.\r\n\r\n"
                                 u"Do you want to add it before closing?"_s);
        QCOMPARE(lastBox().buttons, MsgBox::YesNoCancel);
    }
    QCOMPARE(w->isHidden(), closed);
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Eve"_s), stored);
    if (!closed) {
        QCOMPARE(w->txtName->text(), u"Eve"_s);
    }
}

void tst_frmAddressBook::replaceAndDelete() {
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"2"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Cid"_s, u"3"_s);
    open();
    select({u"Ann"_s});
    QCOMPARE(w->txtName->text(), u"Ann"_s);
    w->txtName->setText(u"Anna"_s);
    w->txtNumber->setText(u"11"_s);
    w->cmdReplace_Click();
    QCOMPARE(t->ini().keys(u"Addressbook"_s), (QStringList{u"Bob"_s, u"Cid"_s, u"Anna"_s}));
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Anna"_s), u"11"_s);
    // Replacing only the spelling of a name takes the new spelling.
    select({u"Bob"_s});
    w->txtName->setText(u"BOB"_s);
    w->cmdReplace_Click();
    QCOMPARE(t->ini().keys(u"Addressbook"_s), (QStringList{u"Cid"_s, u"Anna"_s, u"BOB"_s}));

    select({u"Anna"_s, u"Cid"_s});
    t->msgBox().queueAnswer(MsgBox::No);
    w->cmdDelete_Click();
    QCOMPARE(lastBox().title, u"Tellwick: Delete address(es)"_s);
    QCOMPARE(lastBox().text,
             u"Do you really want to delete selected address(es) from Tellwick's addressbook?"_s);
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 3);
    t->msgBox().queueAnswer(MsgBox::Yes);
    w->cmdDelete_Click();
    QCOMPARE(t->ini().keys(u"Addressbook"_s), QStringList{u"BOB"_s});
    QCOMPARE(names(), QStringList{u"BOB"_s});
    QVERIFY(!w->cmdDelete->isEnabled() && !w->cmdReplace->isEnabled());
}

void tst_frmAddressBook::phoneStoreLimitsTyping() {
    QVERIFY(startPhone());
    fillSim(1);
    open();
    selectTab(u"SM"_s);
    QTest::keyClicks(w->txtName, u"Maximilian Mustermann"_s);
    QCOMPARE(w->txtName->text(), u"Maximilian Mus"_s);
    QCOMPARE(t->ctx().prompts().beeper.count(), 7);
    QTest::keyClick(w->txtName, Qt::Key_Backspace);
    QCOMPARE(w->txtName->text(), u"Maximilian Mu"_s);
    QTest::keyClicks(w->txtNumber, u"012345678901234567890123"_s);
    QCOMPARE(w->txtNumber->text().size(), 20);
    selectTab(u"SMS"_s);
    QTest::keyClicks(w->txtName, u"Maximilian Mustermann"_s);
    QCOMPARE(w->txtName->text(), u"Maximilian Mustermann"_s);
}

void tst_frmAddressBook::selectionEnablesEditing() {
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"2"_s);
    open();
    w->lstNames_ItemClick();  // nothing selected yet: the boxes stay empty
    select({u"Bob"_s});
    QCOMPARE(w->txtNumber->text(), u"2"_s);
    for (QWidget* c :
         std::initializer_list<QWidget*>{w->cmdDelete, w->cmdCopy, w->cmdMove, w->cmdAdd, w->cmdReplace,
                                         w->txtName, w->txtNumber, w->labName, w->LabNumber}) {
        QVERIFY(c->isEnabled());
    }
    // A row reached with the keys fills the boxes as a click does.
    QTest::keyClick(w->lstNames, Qt::Key_Up);
    QCOMPARE(w->lstNames->selectedItem()->text(), u"Ann"_s);
    QCOMPARE(w->txtNumber->text(), u"1"_s);
    select({u"Bob"_s, u"Ann"_s});
    QVERIFY(w->txtName->text().isEmpty() && w->txtNumber->text().isEmpty());
    QVERIFY(!w->txtName->isEnabled() && !w->cmdReplace->isEnabled() && !w->cmdAdd->isEnabled());
    QVERIFY(w->cmdDelete->isEnabled() && w->cmdMove->isEnabled());
    // A new listing unlocks the boxes again, so an empty store can still get its first entry.
    w->Tubby_Click();
    QVERIFY(w->txtName->isEnabled() && w->txtNumber->isEnabled());
}

void tst_frmAddressBook::headerClicksToggleTheOrder() {
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"3"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"1"_s);
    t->ini().writeINI(u"Addressbook"_s, u"cid"_s, u"2"_s);
    open();
    w->Tubby_Click();
    const frmMain& m = t->ctx().mainWindow();
    QCOMPARE(names(), (QStringList{u"Ann"_s, u"Bob"_s, u"cid"_s}));
    w->lstNames_ColumnClick(0);
    QCOMPARE(names(), (QStringList{u"cid"_s, u"Bob"_s, u"Ann"_s}));
    QCOMPARE(w->lstNames->columnHeaderIcon(0).cacheKey(), m.lstImages.icon(u"Desc"_s).cacheKey());
    w->lstNames_ColumnClick(0);
    QCOMPARE(names(), (QStringList{u"Ann"_s, u"Bob"_s, u"cid"_s}));
    QCOMPARE(w->lstNames->columnHeaderIcon(0).cacheKey(), m.lstImages.icon(u"Asc"_s).cacheKey());
    w->lstNames_ColumnClick(1);
    QCOMPARE(names(), (QStringList{u"Ann"_s, u"cid"_s, u"Bob"_s}));  // by number, descending
    QVERIFY(w->lstNames->columnHeaderIcon(0).isNull());
    QCOMPARE(w->lstNames->columnHeaderIcon(1).cacheKey(), m.lstImages.icon(u"Desc"_s).cacheKey());
}

// Names sort as the user's language sorts them, in the address book and in the compose
// dialog's list of names (which its completion follows).
void tst_frmAddressBook::namesSortAsTheLanguageSorts_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("Polish") << u"pl_PL"_s << QStringList{u"adam"_s, u"Łukasz"_s, u"Ola"_s, u"Zoë"_s};
    QTest::newRow("German") << u"de_DE"_s << QStringList{u"adam"_s, u"Ärger"_s, u"Ola"_s, u"Zoë"_s};
    QTest::newRow("Swedish") << u"sv_SE"_s << QStringList{u"adam"_s, u"Ola"_s, u"Zoë"_s, u"Ärger"_s};
}

void tst_frmAddressBook::namesSortAsTheLanguageSorts() {
    QFETCH(QString, locale);
    QFETCH(QStringList, sorted);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
    int n = 0;
    for (const QString& name : {sorted.at(3), sorted.at(1), sorted.at(2), sorted.at(0)}) {
        t->ini().writeINI(u"Addressbook"_s, name, QString::number(++n));
    }
    open();
    QCOMPARE(names(), sorted);
    w->lstNames_ColumnClick(0);
    QStringList descending = sorted;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(names(), descending);
    w->lstNames_ColumnClick(1);  // numbers keep their plain order (ascending after the toggle)
    QCOMPARE(w->lstNames->item(1)->subItem(1), u"1"_s);
    QCOMPARE(w->lstNames->item(4)->subItem(1), u"4"_s);

    frmSendSMS compose(t->ctx());
    QStringList listed;
    for (int i = 1; i <= compose.lstNames->count(); ++i) {
        listed << compose.lstNames->item(i)->text();
    }
    QCOMPARE(listed, sorted);
}

void tst_frmAddressBook::moveOutOfSimMarksItChanged() {
    QVERIFY(startPhone());
    fillSim(3);
    open();
    selectTab(u"SM"_s);
    select({u"Name1"_s, u"Name3"_s});
    useChooser(1);
    w->cmdMove_Click();
    QCOMPARE(chooserSeen,
             (QStringList{u"Move address(es)"_s, u"Select memory to move selected address(es) to:"_s,
                          u"Tellwick's addressbook"_s, u"phone addressbook"_s}));
    QCOMPARE(t->ini().keys(u"Addressbook"_s), (QStringList{u"Name1"_s, u"Name3"_s}));
    QCOMPARE(t->ini().keys(kSim), QStringList{u"2"_s});
    QCOMPARE(names(), QStringList{u"Name2"_s});
    QVERIFY(w->memory(u"SM"_s).changed);
    QVERIFY(w->cmdUpdate->isEnabled());
    t->msgBox().queueAnswer(MsgBox::No);
    w->cmdClose_Click();
    QCOMPARE(lastBox().title, u"Tellwick: Save addressbook to phone"_s);
    QVERIFY(phonebookCommands().filter(u"CPBW"_s).isEmpty());
    QVERIFY(w->isHidden());
}

void tst_frmAddressBook::moveAnsweredNoKeepsTheSource() {
    QVERIFY(startPhone());
    fillSim(2);
    t->ini().writeINI(u"Addressbook"_s, u"Name1"_s, u"77"_s);
    open();
    selectTab(u"SM"_s);
    select({u"Name1"_s, u"Name2"_s});
    useChooser(1);
    t->msgBox().queueAnswer(MsgBox::No);
    w->cmdMove_Click();
    QCOMPARE(t->msgBox().shown().first().title, u"Overwrite address"_s);
    QCOMPARE(
        t->msgBox().shown().first().text,
        u"The name 'Name1'\r\nalready exists in Tellwick's addressbook.\r\n\r\nDo you want to overwrite it?"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Name1"_s), u"77"_s);
    QCOMPARE(t->ini().keys(kSim), QStringList{u"1"_s});  // Name1 stays, Name2 moved
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Name2"_s), u"2"_s);

    // Cancel in the chooser: nothing happens.
    chooserSeen.clear();
    useChooser(0);
    select({u"Name1"_s});
    w->cmdMove_Click();
    QCOMPARE(t->ini().keys(kSim), QStringList{u"1"_s});
    // Without a chooser the command does nothing either.
    t->ctx().windows().registerFactory(u"frmCopyMove"_s, [](AppContext&) { return nullptr; });
    w->cmdCopy_Click();
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 2);
}

void tst_frmAddressBook::copyThatOverfillsIsRefused() {
    QVERIFY(startPhone());
    fillSim(9);
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"2"_s);
    open();
    select({u"Ann"_s, u"Bob"_s});
    useChooser(2);
    w->cmdCopy_Click();
    QCOMPARE(chooserSeen,
             (QStringList{u"Copy address(es)"_s, u"Select memory to copy selected address(es) to:"_s,
                          u"phone addressbook"_s, u"SIM addressbook"_s}));
    QCOMPARE(lastBox().title, u"Too many entries selected"_s);
    QCOMPARE(lastBox().icon, MsgBox::Critical);
    QCOMPARE(lastBox().text,
             u"You have selected 2 entries to be copied to the  addressbook on SIM card, \r\nthis "
             u"would exeed the maximum entries to store.\r\n\r\nPlease select max. 1 or delete "
             u"addresses in target storage and try again."_s);
    QCOMPARE(t->ini().keys(kSim).size(), 9);
    useChooser(2);
    w->cmdMove_Click();
    QVERIFY(lastBox().text.contains(u"entries to be moved to the  addressbook on SIM card"_s));
    QVERIFY(lastBox().text.contains(u"Please select max. 1 entries or delete addresses in target"_s));
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 2);
}

void tst_frmAddressBook::copyToPhoneOverwritesOrAdds() {
    QVERIFY(startPhone());
    t->ini().writeINI(kSim, u"4"_s, u"Ann|1"_s);
    t->ini().writeINI(kSim, u"2"_s, u"Anne|12"_s);  // holds "Ann" and "1" too: not overwritten
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Bob, Jr"_s, u"2"_s);
    open();
    select({u"Ann"_s, u"Bob, Jr"_s});
    useChooser(2);
    t->msgBox().queueAnswer(MsgBox::Yes);
    w->cmdCopy_Click();
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(lastBox().text,
             u"An entry with name 'Ann'\r\nand number '1'\r\nalready exists in SIM "
             u"addressbook.\r\n\r\nDo you want to overwrite it?"_s);
    QCOMPARE(t->ini().keys(kSim), (QStringList{u"4"_s, u"2"_s, u"1"_s}));
    QCOMPARE(t->ini().readINI(kSim, u"2"_s), u"Anne|12"_s);
    QCOMPARE(t->ini().readINI(kSim, u"4"_s), u"Ann|1"_s);
    QCOMPARE(t->ini().readINI(kSim, u"1"_s), u"Bob Jr|2"_s);
    QVERIFY(w->memory(u"SM"_s).changed);
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 2);  // a copy keeps the source
}

// Whether an entry already exists is asked of the key it will be stored under.
void tst_frmAddressBook::existsQuestionAsksAboutTheStoredKey_data() {
    QTest::addColumn<QString>("road");
    QTest::addColumn<QString>("name");      // as the source holds it
    QTest::addColumn<QString>("existing");  // local key already there, with number 0999 (or none)
    QTest::addColumn<int>("answer");        // 0: no question expected
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QStringList>("local");  // "<key>=<number>" afterwards
    QTest::newRow("copy ;Boss, No") << u"copy"_s << u";Boss"_s << u"Boss"_s << int(MsgBox::No) << u"Boss"_s
                                    << QStringList{u"Boss=0999"_s};
    QTest::newRow("move ;Boss, Yes") << u"move"_s << u";Boss"_s << u"boss"_s << int(MsgBox::Yes) << u"Boss"_s
                                     << QStringList{u"boss=0171"_s};
    QTest::newRow("copy Ann beside Anne") << u"copy"_s << u"Ann"_s << u"Anne"_s << 0 << QString()
                                          << QStringList{u"Anne=0999"_s, u"Ann=0171"_s};
    QTest::newRow("import over a name without number, No") << u"import"_s << u"Boss"_s << u"BOSS="_s
                                                          << int(MsgBox::No) << u"Boss"_s << QStringList{u"BOSS="_s};
}

void tst_frmAddressBook::existsQuestionAsksAboutTheStoredKey() {
    QFETCH(QString, road);
    QFETCH(QString, name);
    QFETCH(QString, existing);
    QFETCH(int, answer);
    QFETCH(QString, asked);
    QFETCH(QStringList, local);
    QVERIFY(startPhone());
    t->ini().writeINI(u"Addressbook"_s, existing.section(u'=', 0, 0),
                      existing.contains(u'=') ? QString() : u"0999"_s);
    if (road == u"import"_s) {
        QDir(t->folder()).mkdir(u"contacts"_s);
        const QString card = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:"_s + QString(name).replace(u';', u"\\;"_s) +
                             u"\r\nTEL;TYPE=CELL:0171\r\nEND:VCARD\r\n"_s;
        t->writeFile(u"contacts/people.vcf"_s, card.toUtf8());
        t->ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, t->path(u"contacts"_s));
        open();
        QObject guard;
        driveModal(&guard, u"the import"_s, [&](QWidget* wnd) {
            auto* d = qobject_cast<frmOutlookImport*>(wnd);
            QVERIFY(d);
            d->cmdRead_Click();
            d->lstContacts->selectAll();
            if (answer != 0) {
                t->msgBox().queueAnswer(answer);
            }
            t->msgBox().queueAnswer(MsgBox::OK);  // "... contacts successfully imported."
            d->cmdImport_Click();
            d->cmdClose_Click();
        });
        w->cmdOutlook_Click();
    } else {
        fillSim(0);
        t->ini().writeINI(kSim, u"1"_s, name + u"|0171"_s);
        open();
        selectTab(u"SM"_s);
        select({name});
        useChooser(1);
        if (answer != 0) {
            t->msgBox().queueAnswer(answer);
        }
        if (road == u"move"_s && answer == MsgBox::Yes) {
            t->msgBox().queueAnswer(MsgBox::No);  // the SIM copy is empty now: not read
        }
        road == u"copy"_s ? w->cmdCopy_Click() : w->cmdMove_Click();
        QCOMPARE(t->ini().keys(kSim).size(), road == u"move"_s && answer == MsgBox::Yes ? 0 : 1);
    }
    if (answer != 0) {
        QVERIFY(!t->msgBox().shown().isEmpty());
        QCOMPARE(t->msgBox().shown().first().title, road == u"import"_s ? u"Overwrite existing entry"_s
                                                                         : u"Overwrite address"_s);
        QVERIFY2(t->msgBox().shown().first().text.startsWith(u"The name '%1'"_s.arg(asked)),
                 qPrintable(t->msgBox().shown().first().text));
    } else {
        QVERIFY(t->msgBox().shown().size() <= 1);
    }
    QStringList stored;
    for (const QString& key : t->ini().keys(u"Addressbook"_s)) {
        stored << key + u'=' + t->ini().readINI(u"Addressbook"_s, key);
    }
    QCOMPARE(stored, local);
}

void tst_frmAddressBook::refreshOffersToSaveThenReads() {
    sim->setPhonebookEntry(u"SM"_s, 3, u"333"_s, u"Phone"_s);
    QVERIFY(startPhone());
    fillSim(1);
    open();
    selectTab(u"SM"_s);
    w->memory(u"SM"_s).changed = true;
    frmMain& m = t->ctx().mainWindow();
    m.InTimer->start();
    m.SignalTimer->start();
    bool timersRan = false;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString&) {
        timersRan = timersRan || m.InTimer->isActive() || m.SignalTimer->isActive();
    });
    t->msgBox().queueAnswer(MsgBox::Yes);
    w->cmdRefresh_Click();
    QCOMPARE(lastBox().title, u"Addressbook has changed"_s);
    QCOMPARE(lastBox().text,
             u"Your SIM addressbook has been changed, do you want to save it to the phone, first?"_s);
    const QStringList commands = phonebookCommands();
    const qsizetype firstRead = commands.indexOf(u"AT+CPBR=1,10"_s);
    QVERIFY(firstRead > commands.indexOf(u"AT+CPBW=1,\"1\",129,\"Name1\""_s));
    QCOMPARE(commands.count(u"AT+CPBR=1,10"_s), 1);  // read once
    QCOMPARE(names(), QStringList{u"Name1"_s});   // index 3 was erased by the write-back
    QVERIFY(!timersRan);
    QVERIFY(m.InTimer->isActive() && m.SignalTimer->isActive());
    QVERIFY(!w->cmdUpdate->isEnabled() && w->lstNames->isEnabled() && w->txtName->isEnabled());
    QVERIFY(w->memory(u"SM"_s).useLocal);
}

void tst_frmAddressBook::phoneDialoguesKeepThePollingCount_data() {
    QTest::addColumn<bool>("writeBack");
    QTest::addColumn<int>("interval");  // ms; 5000 is the default
    QTest::newRow("refresh") << false << 5000;
    QTest::newRow("write-back") << true << 5000;
    QTest::newRow("refresh, a minute between ticks") << false << 60000;
}

// A phone dialogue of the address book pauses the gateway; the polling timer then goes on
// with what was left of its count, it does not start afresh.
void tst_frmAddressBook::phoneDialoguesKeepThePollingCount() {
    QFETCH(bool, writeBack);
    QFETCH(int, interval);
    QVERIFY(startPhone());
    fillSim(2);
    open();
    selectTab(u"SM"_s);
    t->ctx().state().sendActive = true;
    frmMain& m = t->ctx().mainWindow();
    m.InTimer->start(interval);
    QTRY_VERIFY(m.InTimer->remainingTime() < interval - 1000);
    const int before = m.InTimer->remainingTime();
    QElapsedTimer took;
    took.start();
    if (writeBack) {
        w->memory(u"SM"_s).changed = true;
        w->cmdUpdate->setEnabled(true);
        w->cmdUpdate_Click();
    } else {
        w->cmdRefresh_Click();
    }
    QVERIFY(m.InTimer->isActive());
    const int after = m.InTimer->remainingTime();
    // Unless the dialogue outlasted the count (the tick then is due at once), what is left
    // is what was left before, less the time the dialogue took.
    if (took.elapsed() < before) {
        const QString seen =
            u"%1 ms left before, %2 after, %3 taken"_s.arg(before).arg(after).arg(took.elapsed());
        QVERIFY2(after <= before - took.elapsed() + 200, qPrintable(seen));
    }
}

void tst_frmAddressBook::closeAsksPerChangedMemory() {
    QVERIFY(startPhone());
    fillSim(1);
    t->ini().writeINI(u"Addressbook.ME"_s, u"1"_s, u"Me|1"_s);
    open();
    sim->clearRecords();
    w->memory(u"ME"_s).changed = true;
    w->memory(u"SM"_s).changed = true;
    t->msgBox().queueAnswer(MsgBox::Cancel);
    w->cmdClose_Click();
    QVERIFY(w->isVisible());
    QCOMPARE(lastBox().text,
             u"Your phone addressbook has been changed.\r\nIf you exit now, all changes will be "
             u"lost.\r\n\r\nDo you want to save it to the phone now?"_s);
    t->msgBox().queueAnswer(MsgBox::No);
    t->msgBox().queueAnswer(MsgBox::Yes);
    w->cmdClose_Click();
    QCOMPARE(t->msgBox().shown().size(), 3);
    QVERIFY(phonebookCommands().contains(u"AT+CPBW=1,\"1\",129,\"Name1\""_s));
    QVERIFY(!phonebookCommands().contains(u"AT+CPBS=\"ME\""_s));
    QCOMPARE(w->Tubby->tabKey(w->Tubby->selectedIndex()), u"SM"_s);
    QVERIFY(w->isHidden());
    // Closing by the title bar asks nothing.
    open();
    w->memory(u"SM"_s).changed = true;
    w->close();
    QVERIFY(w->isHidden());
}

void tst_frmAddressBook::incompleteWriteBackStaysChanged() {
    QVERIFY(startPhone());
    fillSim(3);
    open();
    selectTab(u"SM"_s);
    w->memory(u"SM"_s).changed = true;
    bool abortShown = false;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
        if (c.startsWith(u"AT+CPBW=1,"_s)) {
            abortShown = !w->cmdAbort->isHidden() && !w->cmdClose->isEnabled() && !w->Tubby->isEnabled() &&
                         !w->lstNames->isEnabled();
            w->cmdAbort_Click();
        }
    });
    w->cmdUpdate_Click();
    QVERIFY(abortShown);
    QCOMPARE(sim->phonebook(u"SM"_s).keys(), QList<int>{1});
    // Rows that never reached the phone keep the copy marked changed.
    QVERIFY(w->memory(u"SM"_s).changed);
    QVERIFY(w->cmdUpdate->isEnabled());
    QVERIFY(w->labStatus->text().endsWith(u" (changed)"_s));
    QVERIFY(w->cmdAbort->isHidden() && w->cmdClose->isEnabled());
}

// The read was declined, an entry added and Update pressed: the phone's entries are never
// erased unseen. Yes reads first and adds the typed entry at a free place; No writes nothing.
void tst_frmAddressBook::updateOfAnUnreadMemory_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("simSize");
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<QStringList>("onPhone");  // "<index>:<name>"
    QTest::addColumn<QString>("localEve");     // Eve's number in the local book
    QTest::addColumn<bool>("changed");
    const QStringList three{u"1:Ann"_s, u"2:Bob"_s, u"3:Cid"_s};
    QTest::newRow("no: nothing written") << int(MsgBox::No) << 10 << false << three << QString() << true;
    QTest::newRow("yes: read, then added") << int(MsgBox::Yes) << 10 << false << (three + QStringList{u"4:Eve"_s})
                                           << QString() << false;
    QTest::newRow("yes, memory full: kept locally") << int(MsgBox::Yes) << 3 << false << three << u"0171555"_s
                                                    << false;
    QTest::newRow("yes, read fails: nothing written") << int(MsgBox::Yes) << 10 << true << three << QString()
                                                      << true;
}

void tst_frmAddressBook::updateOfAnUnreadMemory() {
    QFETCH(int, answer);
    QFETCH(int, simSize);
    QFETCH(bool, readFails);
    QFETCH(QStringList, onPhone);
    QFETCH(QString, localEve);
    QFETCH(bool, changed);
    sim->setPhonebook(u"SM"_s, simSize, 20, 14);
    sim->setPhonebookEntry(u"SM"_s, 1, u"111"_s, u"Ann"_s);
    sim->setPhonebookEntry(u"SM"_s, 2, u"222"_s, u"Bob"_s);
    sim->setPhonebookEntry(u"SM"_s, 3, u"333"_s, u"Cid"_s);
    QVERIFY(startPhone());
    addToTheSimUnread(u"0171 555"_s);
    if (readFails) {
        sim->setAnswer(u"AT+CPBR="_s, u"+CME ERROR: 100"_s);
        t->msgBox().queueAnswer(MsgBox::OK);  // "Error reading phonebook"
    }
    t->msgBox().queueAnswer(answer);
    if (simSize == 3) {
        t->msgBox().queueAnswer(MsgBox::OK);  // no free place
    }
    w->cmdUpdate->click();
    QVERIFY(t->msgBox().shown().size() >= 2);
    QCOMPARE(t->msgBox().shown().at(1).title, u"Addressbook not read from the phone"_s);
    QCOMPARE(t->msgBox().shown().at(1).buttons, MsgBox::YesNo);
    QVERIFY(t->msgBox().shown().at(1).text.startsWith(
        u"Your SIM addressbook has not been read from the phone yet, so Tellwick does not know what an update "
        u"would erase there."_s));
    if (simSize == 3) {
        QCOMPARE(lastBox().title, u"No free place in the phonebook"_s);
        QVERIFY(lastBox().text.contains(u"'Eve' (0171555)"_s));
    }
    QStringList phone;
    const auto entries = sim->phonebook(u"SM"_s);
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        phone << u"%1:%2"_s.arg(it.key()).arg(it->name);
    }
    QCOMPARE(phone, onPhone);
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Eve"_s), localEve);
    QCOMPARE(w->memory(u"SM"_s).changed, changed);
    if (changed) {  // the typed entry is still there, to be written later
        QVERIFY(phonebookCommands().filter(u"AT+CPBW"_s).isEmpty());
        QVERIFY(names().contains(u"Eve"_s));
        QVERIFY(w->cmdUpdate->isEnabled());
    }
}

// Refresh of a copy never read, not saved first: the entries typed into it are kept over the read.
void tst_frmAddressBook::refreshOfAnUnreadMemoryKeepsTypedEntries() {
    sim->setPhonebookEntry(u"SM"_s, 1, u"111"_s, u"Ann"_s);
    QVERIFY(startPhone());
    addToTheSimUnread(u"555"_s);
    t->msgBox().queueAnswer(MsgBox::No);  // "do you want to save it to the phone, first?"
    w->cmdRefresh->click();
    QCOMPARE(lastBox().title, u"Addressbook has changed"_s);
    QCOMPARE(names(), (QStringList{u"Ann"_s, u"Eve"_s}));
    QCOMPARE(t->ini().readINI(kSim, u"2"_s), u"Eve|555"_s);
    QVERIFY(w->memory(u"SM"_s).changed && w->cmdUpdate->isEnabled());
    QVERIFY(phonebookCommands().filter(u"AT+CPBW"_s).isEmpty());
}

void tst_frmAddressBook::busyWindowStaysOpenAndEscapeAborts() {
    sim->setPhonebookEntry(u"SM"_s, 1, u"1"_s, u"A"_s);
    QVERIFY(startPhone());
    fillSim(1);
    open();
    selectTab(u"SM"_s);
    bool stayed = false;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
        if (c == u"AT+CPBR=1,10"_s) {
            w->cmdClose_Click();
            w->close();
            stayed = w->isVisible();
            QTest::keyClick(w.get(), Qt::Key_Escape);  // the abort button
        }
    });
    w->cmdRefresh_Click();
    QVERIFY(stayed);
    QCOMPARE(phonebookCommands().last(), u"AT+CPBR=1,10"_s);
    QCOMPARE(names(), QStringList{u"A"_s});
    QVERIFY(w->isVisible());
    // Without a phone dialogue Escape is the close button, which asks about unsaved edits.
    w->memory(u"SM"_s).changed = true;
    t->msgBox().queueAnswer(MsgBox::Cancel);
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QCOMPARE(lastBox().title, u"Tellwick: Save addressbook to phone"_s);
    QVERIFY(w->isVisible());
    w->memory(u"SM"_s).changed = false;
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(w->isHidden());
}

void tst_frmAddressBook::doubleClickOpensTheComposeDialog() {
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"+4917100001"_s);
    open();
    select({u"Ann"_s});
    QString caption, number;
    bool timersOff = false;
    QObject guard;
    driveModalAs<frmSendSMS>(&guard, u"The compose dialog"_s, [&](frmSendSMS& d) {
        caption = d.windowTitle();
        number = d.txtPhoneNo->text();
        timersOff = t->ctx().mainWindow().timersDisabled();
        d.cmdClose_Click();
    });
    w->lstNames_DblClick(w->lstNames->item(1));
    QCOMPARE(caption, u"Tellwick: Send SMS message"_s);
    QCOMPARE(number, u"+4917100001"_s);
    QVERIFY(timersOff);
    QVERIFY(!t->ctx().mainWindow().timersDisabled());
}

void tst_frmAddressBook::mainWindowShowsItBeside() {
    QVERIFY(startPhone());
    frmMain& m = t->ctx().mainWindow();
    m.updateCommands();
    QVERIFY(m.mnuAddressBook->isEnabled());
    bool queriedWithTimersOn = false;
    int queries = 0;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
        queries += c.startsWith(u"AT+CPB"_s);
        queriedWithTimersOn = queriedWithTimersOn || !m.timersDisabled();
    });
    m.mnuAddressBook_Click();
    auto* book = qobject_cast<frmAddressBook*>(t->ctx().windows().existing(u"frmAddressBook"_s));
    QVERIFY(book && book->isVisible() && !book->isModal());
    QVERIFY(queries > 0 && !queriedWithTimersOn);
    QVERIFY(!m.timersDisabled());
    m.mnuAddressBook_Click();  // shown again, not loaded again
    QCOMPARE(t->ctx().windows().existing(u"frmAddressBook"_s), book);
    const int before = queries;
    book->cmdClose_Click();  // unloads: the next command loads afresh
    QTRY_VERIFY(!t->ctx().windows().isLoaded(u"frmAddressBook"_s));
    m.mnuAddressBook_Click();
    QVERIFY(queries > before);
}

void tst_frmAddressBook::outlookImportButton() {
    QVERIFY(startPhone());
    fillSim(1);
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"1"_s);
    open();
    QVERIFY(!w->cmdOutlook->isEnabled());  // no contacts folder
    QDir(t->folder()).mkdir(u"contacts"_s);
    t->writeFile(u"contacts/people.vcf"_s,
                 "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Doe, Jane\r\n"
                 "TEL;TYPE=CELL:+49 (171) 555-1\r\nEND:VCARD\r\n");
    t->ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, t->path(u"contacts"_s));
    w->Tubby_Click();
    QVERIFY(w->cmdOutlook->isEnabled());
    // The import lists, imports into the local book and this list, then refreshes it.
    QStringList listed;
    QObject guard;
    driveModalAs<frmOutlookImport>(&guard, u"The import"_s, [&](frmOutlookImport& d) {
        d.cmdRead_Click();
        d.lstContacts->selectAll();
        t->msgBox().queueAnswer(MsgBox::OK);
        d.cmdImport_Click();
        listed = names();
        d.cmdClose_Click();
    });
    w->cmdOutlook_Click();
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Doe Jane"_s), u"+491715551"_s);
    QCOMPARE(listed, (QStringList{u"Ann"_s, u"Doe Jane"_s}));
    QCOMPARE(w->labStatus->text(), u"2 addresses stored in local Tellwick addressbook"_s);
    QTRY_VERIFY(!t->ctx().windows().isLoaded(u"frmOutlookImport"_s));  // a fresh window each time
    selectTab(u"SM"_s);
    QVERIFY(!w->cmdOutlook->isEnabled());
}

void tst_frmAddressBook::renders() {
    QVERIFY(startPhone());
    t->ini().writeINI(u"Addressbook"_s, u"Doe  John"_s, u"+4917100001"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"0301234"_s);
    open();
    select({u"Ann"_s});
    QCOMPARE(Twips::width(w.get()), 6255);
    // Each picture shows at a glance whether its button can be used.
    for (QPushButton* b :
         {w->cmdDelete, w->cmdCopy, w->cmdMove, w->cmdRefresh, w->cmdUpdate, w->cmdOutlook}) {
        QVERIFY2(disabledChange(b) > 0.6, qPrintable(b->toolTip()));
    }
    const QPixmap shot = w->grab();
    QVERIFY(!shot.isNull());
    const QString path = qEnvironmentVariable("TW_SCREENSHOT");
    if (!path.isEmpty()) {
        QVERIFY(shot.save(path));
    }
}

QTEST_MAIN(tst_frmAddressBook)
#include "tst_frmaddressbook.moc"
