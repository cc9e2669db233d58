// The phone's phonebook is data the user cannot get back: every road into a phone store holds
// the memory's lengths, a refused write-back or a failed read loses nothing, an incomplete
// copy is marked and the state shown after opening the window again is true. Driven through
// the address book window over a simulated phone with a small SIM memory.
#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ListView.h"
#include "MessagesWindows.h"
#include "ModalWatcher.h"
#include "PhoneSimulator.h"
#include "TabStrip.h"
#include "TestContext.h"
#include "frmAddressBook.h"
#include "frmCopyMove.h"

using namespace Qt::StringLiterals;

namespace {
const QString kSim = u"Addressbook.SM"_s;
const QString kSimState = u"Addressbook.SM.State"_s;
}  // namespace

class tst_AddressBookStores : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void pastedEntryIsCutOrRefused_data();
    void pastedEntryIsCutOrRefused();
    void copyToSimCutsWithOneBox();
    void refusedWriteBackNamesTheEntriesAndStaysChanged();
    void failedRefreshKeepsTheCopy();
    void incompleteCopyIsMarkedAndSurvivesReopening();
    void unsavedEditsShowAfterReopening();
    void statusLineFitsItsTexts();

private:
    bool startPhone();
    frmAddressBook* open();
    void selectTab(const QString& key) { w->Tubby->setSelectedIndex(w->Tubby->indexOfKey(key)); }
    void select(const QStringList& names);
    void chooseDestination(int option);
    const MsgBox::Shown& lastBox() const { return t->msgBox().shown().last(); }

    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;
    std::unique_ptr<frmAddressBook> w;
    ModalWatcher watcher;
};

void tst_AddressBookStores::init() {
    t = std::make_unique<TestContext>();
    sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    sim->setPhonebook(u"ME"_s, 0, 40, 24);
    sim->setPhonebook(u"SM"_s, 10, 20, 14);
    registerMessagesWindows(t->ctx().windows());
    t->ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, t->path(u"no-contacts"_s));
    watcher.reset();
    QVERIFY(startPhone());
}

void tst_AddressBookStores::cleanup() {
    w.reset();
    QCOMPARE(watcher.pending(), 0);
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
    sim.reset();
}

bool tst_AddressBookStores::startPhone() {
    if (!t->ctx().phone().openPort(sim->devicePath(), 115200) || !t->ctx().phone().startDevice()) {
        return false;
    }
    t->ctx().getSettings();
    sim->clearRecords();
    return true;
}

frmAddressBook* tst_AddressBookStores::open() {
    w = std::make_unique<frmAddressBook>(t->ctx());
    w->show();
    return w.get();
}

void tst_AddressBookStores::select(const QStringList& names) {
    w->lstNames->clearSelection();
    for (int i = 1; i <= w->lstNames->count(); ++i) {
        ListItem* row = w->lstNames->item(i);
        row->setSelected(names.contains(row->text()));
    }
    w->lstNames_ItemClick();
}

void tst_AddressBookStores::chooseDestination(int option) {
    watcher.whenModal(t->ctx().windows(), u"frmCopyMove"_s, [option](QWidget* d) {
        auto* chooser = static_cast<frmCopyMove*>(d);
        (option == 1 ? chooser->Opt1 : chooser->Opt2)->click();
        chooser->cmdOK->click();
    });
}

void tst_AddressBookStores::pastedEntryIsCutOrRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("stored");  // "" nothing
    QTest::addColumn<QString>("box");     // "" none
    QTest::newRow("fits") << u"Maximilian Mus"_s << u"01234567890123456789"_s
                          << u"Maximilian Mus|01234567890123456789"_s << QString();
    QTest::newRow("long name") << u"Maximilian Mustermann"_s << u"0171"_s << u"Maximilian Mus|0171"_s
                               << u"These names are longer than the SIM card stores (14 characters) and were "
                                  u"cut:\r\n'Maximilian Mustermann' to 'Maximilian Mus'"_s;
    // A cut number would call someone else: the entry is refused.
    QTest::newRow("long number")
        << u"Ann"_s << u"+49 171 1234 5678 9012 345"_s << QString()
        << u"These entries were not stored, their numbers are longer than the SIM card "
           u"stores (20 digits):\r\n'Ann' (+49171123456789012345)"_s;
}

void tst_AddressBookStores::pastedEntryIsCutOrRefused() {
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, stored);
    QFETCH(QString, box);
    t->ini().writeINI(kSim, u"2"_s, u"Bob|2"_s);
    open();
    selectTab(u"SM"_s);
    // Pasted, past the key filter that stops typing at the limit.
    QApplication::clipboard()->setText(name);
    w->txtName->setFocus();
    QTest::keyClick(w->txtName, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w->txtName->text(), name);
    QApplication::clipboard()->setText(number);
    QTest::keyClick(w->txtNumber, Qt::Key_V, Qt::ControlModifier);
    w->cmdAdd->click();
    QCOMPARE(t->ini().readINI(kSim, u"1"_s), stored);
    QCOMPARE(t->msgBox().shown().size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        QCOMPARE(lastBox().text, box);
        QCOMPARE(lastBox().title, u"Entry too long"_s);
    }
    QCOMPARE(w->memory(u"SM"_s).changed, !stored.isEmpty());
    // A refused entry stays in the boxes to be mended.
    QCOMPARE(w->txtNumber->text().isEmpty(), !stored.isEmpty());
}

void tst_AddressBookStores::copyToSimCutsWithOneBox() {
    t->ini().writeINI(u"Addressbook"_s, u"Maximilian Mustermann"_s, u"0171"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Alexandra Schmidt-Lang"_s, u"0172"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"012345678901234567890"_s);
    t->ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"0173"_s);
    open();
    select({u"Maximilian Mustermann"_s, u"Alexandra Schmidt-Lang"_s, u"Ann"_s, u"Bob"_s});
    chooseDestination(2);
    w->cmdMove_Click();
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(lastBox().text,
             u"These names are longer than the SIM card stores (14 characters) and were cut:\r\n"
             u"'Alexandra Schmidt-Lang' to 'Alexandra Schm'\r\n'Maximilian Mustermann' to 'Maximilian Mus'"
             u"\r\n\r\nThese entries were not stored, their numbers are longer than the SIM card stores (20 "
             u"digits):\r\n'Ann' (012345678901234567890)"_s);
    const QStringList values{t->ini().readINI(kSim, u"1"_s), t->ini().readINI(kSim, u"2"_s),
                             t->ini().readINI(kSim, u"3"_s)};
    QCOMPARE(values, (QStringList{u"Alexandra Schm|0172"_s, u"Bob|0173"_s, u"Maximilian Mus|0171"_s}));
    // The refused entry stays where it was.
    QCOMPARE(t->ini().keys(u"Addressbook"_s), QStringList{u"Ann"_s});
}

void tst_AddressBookStores::refusedWriteBackNamesTheEntriesAndStaysChanged() {
    sim->setPhonebookEntry(u"SM"_s, 1, u"111"_s, u"Ann"_s);
    t->ini().writeINI(kSim, u"1"_s, u"Ann|111"_s);
    t->ini().writeINI(kSim, u"2"_s, u"Bob|222"_s);
    t->ini().writeINI(kSimState, u"Read"_s, u"1"_s);
    t->ini().writeINI(kSimState, u"Changed"_s, u"1"_s);
    open();
    selectTab(u"SM"_s);
    sim->setAnswer(u"AT+CPBW=2,"_s, u"+CME ERROR: 24"_s);
    w->cmdUpdate->click();
    QCOMPARE(lastBox().title, u"Entries not stored"_s);
    QCOMPARE(lastBox().text,
             u"These entries were not stored on SIM card:\r\n'Bob' (+CME ERROR: 24)\r\n\r\n"
             u"They stay in the local copy, marked as changed."_s);
    QCOMPARE(sim->phonebook(u"SM"_s).keys(), QList<int>{1});
    QCOMPARE(t->ini().readINI(kSim, u"2"_s), u"Bob|222"_s);
    QVERIFY(w->memory(u"SM"_s).changed && w->cmdUpdate->isEnabled());
    QVERIFY(w->labStatus->text().endsWith(u" (changed)"_s));
    QCOMPARE(t->ini().readINI(kSimState, u"Changed"_s), u"1"_s);
    // Once the phone takes it, the copy is saved.
    sim->clearRules();
    w->cmdUpdate->click();
    QCOMPARE(sim->phonebook(u"SM"_s).value(2).name, u"Bob"_s);
    QVERIFY(!w->memory(u"SM"_s).changed && t->ini().readINI(kSimState, u"Changed"_s).isEmpty());
}

void tst_AddressBookStores::failedRefreshKeepsTheCopy() {
    t->ini().writeINI(kSim, u"1"_s, u"Ann|111"_s);
    t->ini().writeINI(kSim, u"2"_s, u"Eve|555"_s);
    t->ini().writeINI(kSimState, u"Read"_s, u"1"_s);
    t->ini().writeINI(kSimState, u"Changed"_s, u"1"_s);
    open();
    selectTab(u"SM"_s);
    // The link is busy: every phonebook command is answered with an error.
    sim->setAnswer(u"AT+CPB"_s, u"ERROR"_s);
    t->msgBox().queueAnswer(MsgBox::No);  // not saved first
    w->cmdRefresh->click();
    QCOMPARE(lastBox().title, u"Error reading phonebook"_s);
    QCOMPARE(t->ini().keys(kSim), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(w->lstNames->count(), 2);
    QCOMPARE(w->labStatus->text(), u"Reading failed; 2 addresses saved locally from SIM card (changed)"_s);
    QVERIFY(w->memory(u"SM"_s).changed && w->cmdUpdate->isEnabled());
    // An update after it writes what the copy holds.
    sim->clearRules();
    w->cmdUpdate->click();
    QCOMPARE(sim->phonebook(u"SM"_s).keys(), (QList<int>{1, 2}));
}

void tst_AddressBookStores::incompleteCopyIsMarkedAndSurvivesReopening() {
    sim->setPhonebook(u"SM"_s, 30, 20, 14);
    for (int i = 1; i <= 30; ++i) {
        sim->setPhonebookEntry(u"SM"_s, i, QString::number(i), u"N%1"_s.arg(i, 2, 10, QLatin1Char('0')));
    }
    sim->setAnswer(u"AT+CPBR=1,"_s, u"+CME ERROR: 100"_s);
    sim->setAnswer(u"AT+CPBR=4"_s, u"+CME ERROR: 100"_s);
    connect(sim.get(), &PhoneSimulator::commandReceived, this, [this](const QString& c) {
        if (c == u"AT+CPBR=11,20"_s) {
            QTest::keyClick(w.get(), Qt::Key_Escape);  // the abort button
        }
    });
    open();
    t->msgBox().queueAnswer(MsgBox::Yes);  // read the empty copy now
    selectTab(u"SM"_s);
    QCOMPARE(w->lstNames->count(), 19);  // 1-20 but index 4
    QCOMPARE(w->labStatus->text(), u"19 addresses found on SIM card (incomplete)"_s);
    QCOMPARE(w->windowTitle(), u"Tellwick: Addressbook (incomplete)"_s);
    QCOMPARE(t->ini().readINI(kSimState, u"Unread"_s), u"4,21-30"_s);

    // One entry added goes to a read index; Update leaves every unread index as it was.
    w->txtName->setText(u"New"_s);
    w->txtNumber->setText(u"99"_s);
    w->cmdAdd->click();
    QVERIFY(t->ini().readINI(kSim, u"4"_s).isEmpty());
    w->cmdUpdate->click();
    const auto phone = sim->phonebook(u"SM"_s);
    QCOMPARE(phone.size(), 30);
    QCOMPARE(phone.value(4).name, u"N04"_s);
    QCOMPARE(phone.value(25).name, u"N25"_s);
    QVERIFY(!sim->commands().contains(u"AT+CPBW=4"_s) && !sim->commands().contains(u"AT+CPBW=21"_s));

    w->cmdClose_Click();
    open();
    selectTab(u"SM"_s);
    QCOMPARE(w->labStatus->text(), u"19 addresses saved locally from SIM card (incomplete)"_s);
    QCOMPARE(w->windowTitle(), u"Tellwick: Addressbook (incomplete)"_s);
    selectTab(u"SMS"_s);
    QCOMPARE(w->windowTitle(), u"Tellwick: Addressbook"_s);
}

void tst_AddressBookStores::unsavedEditsShowAfterReopening() {
    t->ini().writeINI(kSim, u"1"_s, u"Ann|111"_s);
    t->ini().writeINI(kSimState, u"Read"_s, u"1"_s);
    open();
    selectTab(u"SM"_s);
    w->txtName->setText(u"Eve"_s);
    w->txtNumber->setText(u"555"_s);
    w->cmdAdd->click();
    t->msgBox().queueAnswer(MsgBox::No);  // "If you exit now, all changes will be lost"
    w->cmdClose->click();
    QVERIFY(w->isHidden());
    open();
    selectTab(u"SM"_s);
    QCOMPARE(w->labStatus->text(), u"2 addresses saved locally from SIM card (changed)"_s);
    QVERIFY(w->cmdUpdate->isEnabled() && !w->labChanged->isHidden());
    w->cmdUpdate->click();
    QCOMPARE(sim->phonebook(u"SM"_s).value(2).name, u"Eve"_s);
    w->cmdClose->click();  // nothing to ask
    open();
    selectTab(u"SM"_s);
    QCOMPARE(w->labStatus->text(), u"2 addresses saved locally from SIM card"_s);
    QVERIFY(!w->cmdUpdate->isEnabled());
}

void tst_AddressBookStores::statusLineFitsItsTexts() {
    open();
    for (const QString& text :
         {u"250 addresses found in phone memory (reading index 241/250...)"_s,
          u"Reading failed; 250 addresses saved locally from phone memory (incomplete) (changed)"_s}) {
        w->labStatus->setText(text);
        QVERIFY2(w->labStatus->heightForWidth(w->labStatus->width()) <= w->labStatus->height(),
                 qPrintable(text));
    }
    // Names come from users and phones: never markup.
    QCOMPARE(w->labStatus->textFormat(), Qt::PlainText);
}

QTEST_MAIN(tst_AddressBookStores)
#include "tst_addressbookstores.moc"
