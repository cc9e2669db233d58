// The phonebook dialogues against a simulated phone: memory size and field lengths, reading a
// memory into its local copy, writing the copy back, and the helpers that keep the copies.
#include <QtTest>

#include <QTimer>

#include "GatewayPause.h"
#include "ListView.h"
#include "PhoneBook.h"
#include "PhoneSimulator.h"
#include "TestContext.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

class tst_PhoneBook : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void memoryInfo_data();
    void memoryInfo();
    void lateOkIsAskedAgainWithinABound();
    void readFillsListAndCopyWithTimersOff();
    void readFailuresInDebugMode();
    void lateAnswerKeepsItsIndex();
    void emptyMemoryIsNeverRead();
    void readOutcomes_data();
    void readOutcomes();
    void internationalNumbersStayInternational();
    void writeBackLeavesUnreadIndexesAlone();
    void neverReadCopyIsNeverWritten();
    void writeBackErasesEveryIndexThenWritesTheList();
    void abortWhileErasingStillWritesTheRows();
    void abortWhileWritingIsIncomplete();
    void storageAndSaveFailures_data();
    void storageAndSaveFailures();
    void savePhoneEntryAndCount();
    void namesKeepEveryCharacter_data();
    void namesKeepEveryCharacter();
    void ucs2NumbersEitherWay();
    void cleanUp_data();
    void cleanUp();

private:
    bool startPhone();
    QStringList phonebookCommands() const;
    QString log() const { return QString::fromUtf8(t->readFile(u"tellwick.log"_s)); }
    QString debugLog() const { return QString::fromUtf8(t->readFile(u"debug.log"_s)); }
    void setDebug(bool on) {
        t->ini().writeINI(u"Settings"_s, u"Debug"_s, on ? u"1"_s : u"0"_s);
        t->ctx().getSettings();
    }
    // Calls what when the phone receives a command beginning with prefix (once).
    void onCommand(const QString& prefix, std::function<void()> what);

    std::unique_ptr<TestContext> t;
    std::unique_ptr<PhoneSimulator> sim;
    std::unique_ptr<PhoneBook> book;
    std::unique_ptr<ListView> list;
};

void tst_PhoneBook::init() {
    t = std::make_unique<TestContext>();
    sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(sim->start(), qPrintable(sim->errorString()));
    QVERIFY(startPhone());
    book = std::make_unique<PhoneBook>(t->ctx());
    list = std::make_unique<ListView>();
    list->addColumn(u"Name"_s, 1500);
    list->addColumn(u"Number"_s, 1500);
}

void tst_PhoneBook::cleanup() {
    list.reset();
    book.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
    sim.reset();
}

bool tst_PhoneBook::startPhone() {
    if (!t->ctx().phone().openPort(sim->devicePath(), 115200) || !t->ctx().phone().startDevice()) {
        return false;
    }
    t->ctx().getSettings();
    sim->clearRecords();
    return true;
}

QStringList tst_PhoneBook::phonebookCommands() const {
    QStringList out;
    for (const QString& c : sim->commands()) {
        if (c.startsWith(u"AT+CPB"_s)) {
            out << c;
        }
    }
    return out;
}

void tst_PhoneBook::onCommand(const QString& prefix, std::function<void()> what) {
    auto done = std::make_shared<bool>(false);
    connect(sim.get(), &PhoneSimulator::commandReceived, this, [prefix, what, done](const QString& command) {
        if (!*done && command.startsWith(prefix)) {
            *done = true;
            what();
        }
    });
}

void tst_PhoneBook::memoryInfo_data() {
    QTest::addColumn<QString>("memory");
    QTest::addColumn<QString>("rule");    // a command prefix answered otherwise
    QTest::addColumn<QString>("answer");  // ... with this
    QTest::addColumn<QString>("expected");
    QTest::newRow("phone memory") << u"ME"_s << QString() << QString() << u"500,40,24"_s;
    QTest::newRow("SIM memory") << u"SM"_s << QString() << QString() << u"10,20,14"_s;
    QTest::newRow("empty means SIM") << QString() << QString() << QString() << u"10,20,14"_s;
    // The phone refuses to select it and still names the SIM memory as the current one.
    QTest::newRow("not supported") << u"ME"_s << u"AT+CPBS=\"ME\""_s << u"+CME ERROR: 3"_s << u"0,0,0"_s;
    QTest::newRow("two fields") << u"SM"_s << u"AT+CPBR=?"_s << u"+CPBR: (1-10),20\nOK"_s << u"0,0,0"_s;
    QTest::newRow("no range") << u"SM"_s << u"AT+CPBR=?"_s << u"+CPBR: 10,20,14\nOK"_s << u"0,0,0"_s;
    QTest::newRow("not numbers") << u"SM"_s << u"AT+CPBR=?"_s << u"+CPBR: (1-x),20,14\nOK"_s << u"0,0,0"_s;
    QTest::newRow("range error") << u"SM"_s << u"AT+CPBR=?"_s << u"ERROR"_s << u"0,0,0"_s;
    QTest::newRow("silent phone") << u"SM"_s << u"AT+CPBS?"_s << u"+CME ERROR: 10"_s << u"0,0,0"_s;
}

void tst_PhoneBook::memoryInfo() {
    QFETCH(QString, memory);
    QFETCH(QString, rule);
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    sim->setPhonebook(u"SM"_s, 10, 20, 14);
    if (!rule.isEmpty()) {
        sim->setAnswer(rule, answer);
    }
    setDebug(true);
    QCOMPARE(book->getMemoryInfo(memory), expected);
    const QString mem = memory.isEmpty() ? u"SM"_s : memory;
    QCOMPARE(phonebookCommands().value(0), u"AT+CPBS=\"%1\""_s.arg(mem));
    // Each query is preceded by a plain "AT" that drains late input.
    QCOMPARE(sim->commands().value(0), u"AT"_s);
    QVERIFY(debugLog().contains(u"(1) checking addressbook: AT+CPBS="_s + mem));
    if (expected != u"0,0,0"_s) {
        QVERIFY(
            debugLog().contains(u"(1) now checking addressbook capabilities for %1: AT+CPBS?"_s.arg(mem)));
        QVERIFY(debugLog().contains(u"(2) result: +CPBR: (1-"_s));
    }
}

void tst_PhoneBook::lateOkIsAskedAgainWithinABound() {
    // The first query gets only a late "OK": it is sent again and the second answer counts.
    sim->setAnswer(u"AT+CPBS?"_s, u"OK"_s);
    onCommand(u"AT+CPBS?"_s, [this] { QTimer::singleShot(0, sim.get(), [this] { sim->clearRules(); }); });
    QCOMPARE(book->getMemoryInfo(u"ME"_s), u"500,40,24"_s);
    QCOMPARE(phonebookCommands().count(u"AT+CPBS?"_s), 2);

    // A phone that never says more than "OK" counts as having no such memory.
    sim->clearRecords();
    sim->setAnswer(u"AT+CPBR=?"_s, u"OK"_s);
    QCOMPARE(book->getMemoryInfo(u"ME"_s), u"0,0,0"_s);
    QCOMPARE(phonebookCommands().count(u"AT+CPBR=?"_s), 6);
}

void tst_PhoneBook::readFillsListAndCopyWithTimersOff() {
    sim->setPhonebook(u"SM"_s, 7, 20, 14);
    sim->setPhonebookEntry(u"SM"_s, 1, u"+4917100001"_s, u"Doe, John"_s);
    sim->setPhonebookEntry(u"SM"_s, 3, u"0171222"_s, u"BROOKE"_s);
    sim->setPhonebookEntry(u"SM"_s, 5, u"0171555"_s, QString());
    sim->setPhonebookEntry(u"SM"_s, 6, u"0171666"_s, u"A|B"_s);
    // The range fails on index 4: each index is asked alone.
    sim->setAnswer(u"AT+CPBR=1,7"_s, u"+CPBR: 1,\"+4917100001\",145,\"Doe, John\"\n+CME ERROR: 21"_s);
    sim->setAnswer(u"AT+CPBR=4"_s, u"+CME ERROR: 21"_s);
    book->state(u"SM"_s).max = 7;
    book->state(u"SM"_s).useLocal = false;
    t->ini().writeINI(u"Addressbook.SM"_s, u"9"_s, u"Old|1"_s);  // the copy is rebuilt completely

    frmMain& main = t->ctx().mainWindow();
    main.InTimer->start();
    main.SignalTimer->start();
    bool timersRan = false;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString&) {
        timersRan = timersRan || main.InTimer->isActive() || main.SignalTimer->isActive();
    });
    QStringList statuses;
    book->onStatus = [&](const QString& s) { statuses << s; };
    book->readBook(u"SM"_s, list.get());

    QVERIFY(!timersRan);
    QVERIFY(main.InTimer->isActive() && main.SignalTimer->isActive());
    QCOMPARE(phonebookCommands(),
             (QStringList{u"AT+CPBS=\"SM\""_s, u"AT+CPBR=1,7"_s, u"AT+CPBR=2"_s, u"AT+CPBR=3"_s,
                          u"AT+CPBR=4"_s, u"AT+CPBR=5"_s, u"AT+CPBR=6"_s, u"AT+CPBR=7"_s}));
    QCOMPARE(t->ini().keys(u"Addressbook.SM"_s), (QStringList{u"1"_s, u"3"_s, u"5"_s, u"6"_s}));
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"1"_s), u"Doe, John|+4917100001"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"3"_s), u"BROOKE|0171222"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"5"_s), u"unnamed005|0171555"_s);
    // A "|" in a name would split the stored entry in the wrong place.
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"6"_s), u"A B|0171666"_s);
    QCOMPARE(list->count(), 4);
    ListItem* john = list->findItemByTag(u"1"_s);
    QVERIFY(john);
    QCOMPARE(john->text(), u"Doe, John"_s);
    QCOMPARE(john->subItem(1), u"+4917100001"_s);
    QVERIFY(list->selectedListItems().isEmpty());
    const MemoryState& st = book->state(u"SM"_s);
    QCOMPARE(st.count, 4);
    QVERIFY(st.useLocal);
    QVERIFY(!book->reading);
    QCOMPARE(statuses.first(), u"0/7 addresses found on SIM card"_s);
    QVERIFY(statuses.contains(u"0 addresses found on SIM card (reading index 1/7...)"_s));
    // The last status counts every entry read; index 4 was not read.
    QCOMPARE(statuses.last(), u"4 addresses found on SIM card (incomplete)"_s);
    QCOMPARE(st.unread, (QSet<int>{4}));
    QCOMPARE(t->ini().readINI(u"Addressbook.SM.State"_s, u"Unread"_s), u"4"_s);
    QVERIFY(log().contains(u"Error reading addressbook entry index 4 from SM: +CME ERROR: 21"_s));
    QCOMPARE(log().count(u"Error reading"_s), 1);
    QVERIFY(debugLog().isEmpty());
}

void tst_PhoneBook::readFailuresInDebugMode() {
    setDebug(true);
    sim->setPhonebook(u"ME"_s, 2, 20, 14);
    sim->setPhonebookEntry(u"ME"_s, 1, u"123"_s, u"Ann"_s);
    sim->setSilent(u"AT+CPBR=1,"_s);
    sim->setSilent(u"AT+CPBR=2"_s);
    t->ini().writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    book->state(u"ME"_s).max = 2;
    book->state(u"ME"_s).count = 5;  // an earlier read: no "0/<max>" line
    QStringList statuses;
    book->onStatus = [&](const QString& s) { statuses << s; };
    t->msgBox().queueAnswer(MsgBox::OK);
    book->readBook(u"ME"_s, list.get());
    QCOMPARE(statuses.first(), u"0 addresses found in phone memory (reading index 1/2...)"_s);
    QCOMPARE(statuses.last(), u"1 addresses found in phone memory (incomplete)"_s);
    QCOMPARE(t->msgBox().shown().size(), 1);
    const MsgBox::Shown box = t->msgBox().shown().first();
    QCOMPARE(box.title, u"Tellwick DEBUG message:"_s);
    QCOMPARE(box.icon, MsgBox::Information);
    QCOMPARE(box.text, u"Error reading addressbook entry index 2 from ME: ERROR: TimeOut (1 secs.)"_s);
    QVERIFY(log().contains(box.text));
    // The phone's answer as it came: names in UCS2, which the phone offers.
    QVERIFY(debugLog().contains(u"Retrieving address from ME: +CPBR: 1,\"123\",129,\"0041006E006E\""_s));
    QCOMPARE(book->state(u"ME"_s).count, 1);
}

// After a failed index its answer may still come, in front of the next index's answer.
void tst_PhoneBook::lateAnswerKeepsItsIndex() {
    sim->setPhonebook(u"SM"_s, 3, 20, 14);
    sim->setPhonebookEntry(u"SM"_s, 3, u"333"_s, u"Three"_s);
    sim->setAnswer(u"AT+CPBR=1"_s, u"+CME ERROR: 100"_s);
    sim->setAnswer(u"AT+CPBR=2"_s, u"+CPBR: 1,\"111\",129,\"One\"\nOK\nOK"_s);
    book->state(u"SM"_s).max = 3;
    book->readBook(u"SM"_s, list.get());
    QCOMPARE(t->ini().keys(u"Addressbook.SM"_s), (QStringList{u"1"_s, u"3"_s}));
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"1"_s), u"One|111"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"3"_s), u"Three|333"_s);
    QVERIFY(list->findItemByTag(u"1"_s) && !list->findItemByTag(u"2"_s));
    QCOMPARE(book->state(u"SM"_s).count, 2);
    QCOMPARE(log().count(u"Error reading"_s), 1);
}

void tst_PhoneBook::emptyMemoryIsNeverRead() {
    t->ini().writeINI(u"Addressbook.ME"_s, u"1"_s, u"Ann|1"_s);
    QStringList statuses;
    book->onStatus = [&](const QString& s) { statuses << s; };
    book->readBook(u"ME"_s, list.get());
    QCOMPARE(statuses, QStringList{u"0/0 addresses found in phone memory"_s});
    QCOMPARE(phonebookCommands(), QStringList{u"AT+CPBS=\"ME\""_s});
    QVERIFY(!t->ini().hasSection(u"Addressbook.ME"_s));
}

void tst_PhoneBook::readOutcomes_data() {
    QTest::addColumn<QStringList>("rules");  // command prefixes and the answers they get
    QTest::addColumn<QString>("abortAt");    // the command whose sending aborts the read
    QTest::addColumn<QStringList>("keys");   // the copy afterwards
    QTest::addColumn<QString>("unread");
    QTest::addColumn<QString>("status");
    const QStringList all{u"2"_s, u"11"_s, u"25"_s};
    QTest::newRow("complete") << QStringList() << QString() << all << QString()
                              << u"3 addresses found on SIM card "_s;
    QTest::newRow("abort in the middle")
        << QStringList() << u"AT+CPBR=11,20"_s << QStringList{u"2"_s, u"11"_s} << u"21-25"_s
        << u"2 addresses found on SIM card (incomplete)"_s;
    QTest::newRow("failing index") << QStringList{u"AT+CPBR=1,10"_s, u"+CME ERROR: 100"_s, u"AT+CPBR=3"_s,
                                                  u"+CME ERROR: 100"_s}
                                   << QString() << all << u"3"_s
                                   << u"3 addresses found on SIM card (incomplete)"_s;
    // A link busy with something else answers every command with an error: the copy stays.
    const QStringList old{u"1"_s, u"2"_s};
    // "Not found" is the phone's answer for indexes without an entry.
    QTest::newRow("empty range not found")
        << QStringList{u"AT+CPBR=11,20"_s, u"+CME ERROR: 22"_s} << QString() << QStringList{u"2"_s, u"25"_s}
        << QString() << u"2 addresses found on SIM card "_s;
    QTest::newRow("busy link") << QStringList{u"AT+CPBR"_s, u"ERROR"_s} << QString() << old << u"9"_s
                               << u"Reading the addressbook on SIM card failed, the local copy was kept"_s;
    QTest::newRow("memory not selected")
        << QStringList{u"AT+CPBS"_s, u"+CME ERROR: 3"_s} << QString() << old << u"9"_s
        << u"Reading the addressbook on SIM card failed, the local copy was kept"_s;
    QTest::newRow("abort at once")
        << QStringList{u"AT+CPBR=1,"_s, u"+CME ERROR: 100"_s} << u"AT+CPBR=1,"_s << old << u"9"_s
        << u"Reading the addressbook on SIM card failed, the local copy was kept"_s;
}

void tst_PhoneBook::readOutcomes() {
    QFETCH(QStringList, rules);
    QFETCH(QString, abortAt);
    QFETCH(QStringList, keys);
    QFETCH(QString, unread);
    QFETCH(QString, status);
    sim->setPhonebook(u"SM"_s, 25, 20, 14);
    sim->setPhonebookEntry(u"SM"_s, 2, u"222"_s, u"Two"_s);
    sim->setPhonebookEntry(u"SM"_s, 11, u"111"_s, u"Eleven"_s);
    sim->setPhonebookEntry(u"SM"_s, 25, u"255"_s, u"Last"_s);
    for (qsizetype i = 0; i + 1 < rules.size(); i += 2) {
        sim->setAnswer(rules.at(i), rules.at(i + 1));
    }
    if (!abortAt.isEmpty()) {
        onCommand(abortAt, [this] { book->abort(); });
    }
    // An earlier copy, incomplete at index 9.
    t->ini().writeINI(u"Addressbook.SM"_s, u"1"_s, u"Old|1"_s);
    t->ini().writeINI(u"Addressbook.SM"_s, u"2"_s, u"Old|2"_s);
    t->ini().writeINI(u"Addressbook.SM.State"_s, u"Unread"_s, u"9"_s);
    book->copies().loadState();
    book->state(u"SM"_s).max = 25;
    book->state(u"SM"_s).count = 2;
    const bool read = book->readBook(u"SM"_s, list.get());
    QCOMPARE(read, keys != (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(t->ini().keys(u"Addressbook.SM"_s), keys);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM.State"_s, u"Unread"_s), unread);
    QCOMPARE(PhoneCopies::rangesText(book->state(u"SM"_s).unread), unread);
    QCOMPARE(book->status(), status);
    QVERIFY(!book->busy() && !book->reading);
    if (!read) {
        QCOMPARE(t->msgBox().shown().size(), 1);
        QCOMPARE(t->msgBox().shown().first().title, u"Error reading phonebook"_s);
        QCOMPARE(book->state(u"SM"_s).count, 2);
    }
}

// A number the phone keeps as international (type 145, often given without its "+") keeps
// its "+" in the copy, so the write-back sends it with 145 again.
void tst_PhoneBook::internationalNumbersStayInternational() {
    sim->setPhonebook(u"SM"_s, 3, 20, 14);
    sim->setAnswer(u"AT+CPBR=1,3"_s,
                   u"+CPBR: 1,\"4917012345\",145,\"Anna\"\n"
                   u"+CPBR: 2,\"+4930123\",145,\"Bert\"\n+CPBR: 3,\"0171\",129,\"Cem\"\nOK"_s);
    book->state(u"SM"_s).max = 3;
    QVERIFY(book->readBook(u"SM"_s, list.get()));
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"1"_s), u"Anna|+4917012345"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"2"_s), u"Bert|+4930123"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"3"_s), u"Cem|0171"_s);
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"Anna"_s, u"+4917012345"_s}}),
             PhoneBook::WriteResult::Written);
    QVERIFY(phonebookCommands().contains(u"AT+CPBW=1,\"+4917012345\",145,\"Anna\""_s));
    QCOMPARE(sim->phonebook(u"SM"_s).value(1).type, 145);
}

// An index the copy has not read may hold an entry nobody has seen: never erased or written.
void tst_PhoneBook::writeBackLeavesUnreadIndexesAlone() {
    sim->setPhonebook(u"SM"_s, 4, 20, 14);
    sim->setPhonebookEntry(u"SM"_s, 3, u"333"_s, u"Unseen"_s);
    t->ini().writeINI(u"Addressbook.SM.State"_s, u"Read"_s, u"1"_s);
    t->ini().writeINI(u"Addressbook.SM.State"_s, u"Unread"_s, u"3-4"_s);
    book->copies().loadState();
    book->state(u"SM"_s).max = 4;
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"Ann"_s, u"1"_s}, {u"3"_s, u"Odd"_s, u"3"_s}}),
             PhoneBook::WriteResult::Incomplete);
    QCOMPARE(phonebookCommands(), (QStringList{u"AT+CPBS=\"SM\""_s, u"AT+CPBW=1"_s, u"AT+CPBW=2"_s,
                                               u"AT+CPBW=1,\"1\",129,\"Ann\""_s}));
    QCOMPARE(sim->phonebook(u"SM"_s).value(3).name, u"Unseen"_s);
    // A new entry never goes to an unread index.
    QVERIFY(book->savePhoneEntry(u"SM"_s, u"Bob"_s, u"2"_s, {}));
    QVERIFY(book->savePhoneEntry(u"SM"_s, u"Cid"_s, u"3"_s, {}));
    QVERIFY(!book->savePhoneEntry(u"SM"_s, u"Dan"_s, u"4"_s, {}));
    QCOMPARE(t->ini().keys(u"Addressbook.SM"_s), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(book->copies().freeIndexes(u"SM"_s), 0);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM.State"_s, u"Changed"_s), u"1"_s);
}

// A copy that no read of the phone filled in this program folder: nothing of the phone is known.
void tst_PhoneBook::neverReadCopyIsNeverWritten() {
    sim->setPhonebook(u"SM"_s, 3, 20, 14);
    sim->setPhonebookEntry(u"SM"_s, 1, u"111"_s, u"Ann"_s);
    book->state(u"SM"_s).max = 3;
    QVERIFY(book->savePhoneEntry(u"SM"_s, u"Eve"_s, u"555"_s, {}));
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"Eve"_s, u"555"_s}}), PhoneBook::WriteResult::NotRead);
    QVERIFY(phonebookCommands().isEmpty());
    QCOMPARE(sim->phonebook(u"SM"_s).value(1).name, u"Ann"_s);
    // A read makes it known, in the settings file too.
    QVERIFY(book->readBook(u"SM"_s, list.get()));
    QCOMPARE(t->ini().readINI(u"Addressbook.SM.State"_s, u"Read"_s), u"1"_s);
    PhoneBook again(t->ctx());
    again.copies().loadState();
    QVERIFY(again.state(u"SM"_s).read);
}

void tst_PhoneBook::writeBackErasesEveryIndexThenWritesTheList() {
    sim->setPhonebook(u"SM"_s, 5, 20, 14);
    for (int i = 1; i <= 5; ++i) {
        sim->setPhonebookEntry(u"SM"_s, i, u"999"_s, u"Stale"_s);
    }
    book->state(u"SM"_s).max = 5;
    book->state(u"SM"_s).read = true;  // the copy was read before
    frmMain& main = t->ctx().mainWindow();
    main.SignalTimer->start();  // the polling timer is off and stays off
    bool timersRan = false;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString&) {
        timersRan = timersRan || main.InTimer->isActive() || main.SignalTimer->isActive();
    });
    const QList<PhoneEntry> rows{{u"2"_s, u"Doe, John"_s, u"+4930123"_s},
                                 {u"4"_s, u"Ann"_s, u"0171"_s},
                                 {u"3"_s, u"No number"_s, QString()},
                                 {u"5"_s, u"Evil\";+CFUN=0"_s, u"1\"2"_s}};
    {
        const GatewayPause pause(t->ctx());
        QCOMPARE(book->writeBack(u"SM"_s, rows), PhoneBook::WriteResult::Written);
    }
    QVERIFY(!timersRan);
    QVERIFY(main.SignalTimer->isActive());
    QVERIFY(!main.InTimer->isActive());

    const QStringList expected{u"AT+CPBS=\"SM\""_s, u"AT+CPBW=1"_s, u"AT+CPBW=2"_s, u"AT+CPBW=3"_s,
                               u"AT+CPBW=4"_s, u"AT+CPBW=5"_s, u"AT+CPBW=2,\"+4930123\",145,\"Doe, John\""_s,
                               u"AT+CPBW=4,\"0171\",129,\"Ann\""_s, u"AT+CPBW=3,\"\",129,\"No number\""_s,
                               // A double quote would end the field and let the rest run as a command.
                               u"AT+CPBW=5,\"12\",129,\"Evil;+CFUN=0\""_s};
    QCOMPARE(phonebookCommands(), expected);
    const auto phone = sim->phonebook(u"SM"_s);
    QCOMPARE(phone.keys(), (QList<int>{2, 3, 4, 5}));  // index 1 had no row: empty now
    QCOMPARE(phone.value(2).name, u"Doe, John"_s);
    QCOMPARE(phone.value(2).type, 145);
    QCOMPARE(phone.value(4).type, 129);
    QVERIFY(!book->writing && !book->busy());
    QCOMPARE(book->status(), u"writing entries to phone... (4/5)"_s);
    QVERIFY(log().isEmpty());
}

void tst_PhoneBook::abortWhileErasingStillWritesTheRows() {
    sim->setPhonebook(u"SM"_s, 5, 20, 14);
    book->state(u"SM"_s).max = 5;
    book->state(u"SM"_s).read = true;  // the copy was read before
    onCommand(u"AT+CPBW=2"_s, [this] { book->abort(); });
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"Ann"_s, u"1"_s}, {u"4"_s, u"Bob"_s, u"4"_s}}),
             PhoneBook::WriteResult::Written);
    QCOMPARE(phonebookCommands(),
             (QStringList{u"AT+CPBS=\"SM\""_s, u"AT+CPBW=1"_s, u"AT+CPBW=2"_s,
                          u"AT+CPBW=1,\"1\",129,\"Ann\""_s, u"AT+CPBW=4,\"4\",129,\"Bob\""_s}));
}

void tst_PhoneBook::abortWhileWritingIsIncomplete() {
    sim->setPhonebook(u"SM"_s, 3, 20, 14);
    book->state(u"SM"_s).max = 3;
    book->state(u"SM"_s).read = true;  // the copy was read before
    onCommand(u"AT+CPBW=1,"_s, [this] { book->abort(); });
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"Ann"_s, u"1"_s}, {u"2"_s, u"Bob"_s, u"2"_s}}),
             PhoneBook::WriteResult::Incomplete);
    QCOMPARE(sim->phonebook(u"SM"_s).keys(), QList<int>{1});
}

void tst_PhoneBook::storageAndSaveFailures_data() {
    QTest::addColumn<bool>("debug");
    QTest::newRow("boxes in debug mode") << true;
    QTest::newRow("log lines otherwise") << false;
}

void tst_PhoneBook::storageAndSaveFailures() {
    QFETCH(bool, debug);
    setDebug(debug);
    sim->setPhonebook(u"SM"_s, 3, 20, 14);
    book->state(u"SM"_s).max = 3;
    book->state(u"SM"_s).read = true;  // the copy was read before
    const auto reported = [&](const QString& title, const QString& text) {
        if (debug) {
            for (const MsgBox::Shown& b : t->msgBox().shown()) {
                if (b.title == title && b.text == text && b.icon == MsgBox::Critical) {
                    return !log().contains(text);
                }
            }
            return false;
        }
        return log().contains(text);
    };

    sim->setAnswer(u"AT+CPBS=\"SM\""_s, u"+CME ERROR: 3"_s);
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"Ann"_s, u"1"_s}}), PhoneBook::WriteResult::StorageError);
    QVERIFY(reported(u"Error writing phonebook entries"_s, u"Error accessing storage (SM): +CME ERROR: 3"_s));
    QCOMPARE(phonebookCommands(), QStringList{u"AT+CPBS=\"SM\""_s});

    sim->clearRules();
    sim->setAnswer(u"AT+CPBW=2"_s, u"+CME ERROR: 21"_s);
    const QList<PhoneEntry> rows{{u"1"_s, u"Maximilian Mustermann"_s, u"1"_s},  // longer than the SIM takes
                                 {u"3"_s, u"Ann"_s, u"3"_s},
                                 {u"x"_s, u"Odd key"_s, u"4"_s}};
    QCOMPARE(book->writeBack(u"SM"_s, rows), PhoneBook::WriteResult::Incomplete);
    QVERIFY(reported(u"Error deleting phonebook entry"_s, u"Error deleting entry ID=2: +CME ERROR: 21"_s));
    QVERIFY(reported(u"Error saving phonebook entry"_s,
                     u"Error saving entry 'Maximilian Mustermann': +CME ERROR: 24"_s));
    QVERIFY(reported(u"Error saving phonebook entry"_s,
                     u"Error saving entry 'Odd key': ERROR: invalid index x"_s));
    // The loops went on after each failure.
    QCOMPARE(sim->phonebook(u"SM"_s).keys(), QList<int>{3});
    QVERIFY(phonebookCommands().contains(u"AT+CPBW=3"_s));
}

void tst_PhoneBook::savePhoneEntryAndCount() {
    IniStore& ini = t->ini();
    book->state(u"ME"_s).max = 3;
    book->state(u"SM"_s).max = 2;
    QCOMPARE(book->getNumEntries(u"ME"_s), 0);
    ini.writeINI(u"Addressbook.ME"_s, u"1"_s, u"Ann|1"_s);
    ini.writeINI(u"Addressbook.ME"_s, u"3"_s, u"Cid|3"_s);
    QVERIFY(book->savePhoneEntry(u"ME"_s, u"Bob"_s, u"2"_s, {}));
    QCOMPARE(ini.readINI(u"Addressbook.ME"_s, u"2"_s), u"Bob|2"_s);
    QVERIFY(book->state(u"ME"_s).changed);
    QVERIFY(!book->state(u"SM"_s).changed);
    QCOMPARE(book->getNumEntries(u"ME"_s), 3);
    // A given index is overwritten; "|" and quotes never reach the stored entry.
    QVERIFY(book->savePhoneEntry(u"ME"_s, u"Ann \"the|best\""_s, u"1|0"_s, u"1"_s));
    QCOMPARE(ini.readINI(u"Addressbook.ME"_s, u"1"_s), u"Ann the best|10"_s);
    // Full: box, nothing written.
    QVERIFY(!book->savePhoneEntry(u"ME"_s, u"Dan"_s, u"4"_s, {}));
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().title, u"Can't save entry"_s);
    QCOMPARE(t->msgBox().shown().first().text,
             u"This memory is already full, you can't save any more entries."_s);
    QCOMPARE(t->msgBox().shown().first().icon, MsgBox::Critical);
    QCOMPARE(book->getNumEntries(u"ME"_s), 3);
    // Any identifier but "ME" is the SIM memory.
    QVERIFY(book->savePhoneEntry(u"XX"_s, u"Eve"_s, u"5"_s, {}));
    QCOMPARE(ini.readINI(u"Addressbook.SM"_s, u"1"_s), u"Eve|5"_s);
    QVERIFY(book->state(u"SM"_s).changed);
}

void tst_PhoneBook::cleanUp_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("cleanName");
    QTest::addColumn<QString>("cleanNumber");
    QTest::addColumn<QString>("localKey");
    QTest::newRow("typed") << u"Doe, John"_s << u"+49 171/123-45\\6,7"_s << u"Doe  John"_s
                           << u"+491711234567"_s << u"Doe  John"_s;
    QTest::newRow("breaking characters")
        << u"[A=\"B\"|C"_s << u"\"12|3\""_s << u"[A=B C"_s << u"123"_s << u"A B C"_s;
    QTest::newRow("comment sign") << u";x"_s << u"1"_s << u";x"_s << u"1"_s << u"x"_s;
}

void tst_PhoneBook::cleanUp() {
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, cleanName);
    QFETCH(QString, cleanNumber);
    QFETCH(QString, localKey);
    QCOMPARE(PhoneBook::cleanName(name), cleanName);
    QCOMPARE(PhoneBook::cleanNumber(number), cleanNumber);
    QCOMPARE(PhoneBook::localKey(cleanName), localKey);
}

// Names of accents, of the GSM alphabet's own letters and escapes (in that set "@" is byte 0 and
// "\u00D8" a vertical tab), and of other scripts.
static QStringList hardNames() {
    return {u"J\u00F6rg M\u00FCller"_s, u"a_b@c$"_s,       u"\u0395\u03BB\u03AD\u03BD\u03B7"_s,
            u"\u674E\u96F7"_s,          u"Ann [\u20AC]"_s, u"\u00D8yvind Bj\u00F8"_s};
}

void tst_PhoneBook::namesKeepEveryCharacter_data() {
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QStringList>("offered");  // by AT+CSCS=?; empty: the phone knows no AT+CSCS
    QTest::addColumn<QString>("inForce");      // text mode: declared at the start; PDU mode: the phone's
    QTest::addColumn<QStringList>("kept");     // the names as read, and as the phone holds them after writing
    const QStringList all{u"GSM"_s, u"IRA"_s, u"8859-1"_s, u"UCS2"_s};
    const QStringList names = hardNames();
    const QStringList gsm{names.at(0), names.at(1), u"?????"_s, u"??"_s, names.at(4), names.at(5)};
    const QStringList latin1{names.at(0), names.at(1), u"?????"_s, u"??"_s, u"Ann [?]"_s, names.at(5)};
    const QStringList ira{u"J?rg M?ller"_s, names.at(1), u"?????"_s, u"??"_s, u"Ann [?]"_s, u"?yvind Bj?"_s};
    QTest::newRow("text, all sets") << true << all << u"GSM"_s << names;
    QTest::newRow("text, GSM only") << true << QStringList{u"GSM"_s} << u"GSM"_s << gsm;
    QTest::newRow("text, UCS2 and IRA") << true << QStringList{u"IRA"_s, u"UCS2"_s} << u"UCS2"_s << names;
    QTest::newRow("text, 8859-1 and IRA")
        << true << QStringList{u"IRA"_s, u"8859-1"_s} << u"8859-1"_s << latin1;
    QTest::newRow("text, IRA only") << true << QStringList{u"IRA"_s} << u"IRA"_s << ira;
    QTest::newRow("PDU, IRA in force") << false << all << u"IRA"_s << names;
    QTest::newRow("PDU, GSM in force") << false << all << u"GSM"_s << names;
    QTest::newRow("PDU, no UCS2") << false << QStringList{u"GSM"_s, u"IRA"_s} << u"GSM"_s << gsm;
    QTest::newRow("PDU, no AT+CSCS") << false << QStringList() << u"IRA"_s << ira;
}

// Names read from the phone, written back as read and written as typed: every character the
// phone's sets can hold arrives as it was; what none can hold is named in a box.
void tst_PhoneBook::namesKeepEveryCharacter() {
    QFETCH(bool, textMode);
    QFETCH(QStringList, offered);
    QFETCH(QString, inForce);
    QFETCH(QStringList, kept);
    const QStringList names = hardNames();
    PhoneLink& phone = t->ctx().phone();
    sim->setCharsets(offered);
    sim->setPduSupported(!textMode);
    if (offered.isEmpty()) {
        sim->setAnswer(u"AT+CSCS"_s, u"ERROR"_s);
    } else if (!textMode) {
        QCOMPARE(phone.sendCommand(u"AT+CSCS=\"%1\""_s.arg(inForce)), u"OK"_s);
    }
    QVERIFY(startPhone());
    QCOMPARE(phone.charset(), textMode ? inForce : QString());
    QCOMPARE(sim->charset(), inForce);
    sim->setPhonebook(u"SM"_s, int(names.size()), 20, 14);
    for (int i = 1; i <= names.size(); ++i) {
        sim->setPhonebookEntry(u"SM"_s, i, u"+4917100%1"_s.arg(i), names.at(i - 1));
    }
    book->state(u"SM"_s).max = int(names.size());
    const bool lossy = kept != names;
    const auto boxes = [this](const QString& part) {
        return std::count_if(t->msgBox().shown().begin(), t->msgBox().shown().end(),
                             [&](const MsgBox::Shown& b) { return b.text.contains(part); });
    };

    QVERIFY(book->readBook(u"SM"_s, list.get()));
    QList<PhoneEntry> read;
    for (int i = 1; i <= names.size(); ++i) {
        const QString number = u"+4917100%1"_s.arg(i);
        QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, QString::number(i)), kept.at(i - 1) + u'|' + number);
        read.append({QString::number(i), kept.at(i - 1), number});
    }
    const QString greek = u'\'' + QString(5, u'?') + u'\'';
    QCOMPARE(boxes(u"may stand for a character that was lost:"_s), lossy ? 1 : 0);
    QCOMPARE(boxes(greek), lossy ? 1 : 0);
    QCOMPARE(sim->charset(), inForce);

    QList<PhoneEntry> typed = read;
    for (int i = 0; i < names.size(); ++i) {
        typed[i].name = names.at(i);
    }
    // A phone that does not name its set gets what is typed as Latin-1 (its own names went back
    // as they came): here it reads the bytes in IRA.
    QStringList typedKept = kept;
    if (offered.isEmpty()) {
        typedKept[0] = u"J\uFFFDrg M\uFFFDller"_s;
        typedKept[5] = u"\uFFFDyvind Bj\uFFFD"_s;
    }
    for (const bool asTyped : {false, true}) {
        t->msgBox().clearShown();
        QCOMPARE(book->writeBack(u"SM"_s, asTyped ? typed : read), PhoneBook::WriteResult::Written);
        const auto held = sim->phonebook(u"SM"_s);
        for (int i = 1; i <= names.size(); ++i) {
            QCOMPARE(held.value(i).name, (asTyped ? typedKept : kept).at(i - 1));
            QCOMPARE(held.value(i).number, u"+4917100%1"_s.arg(i));
        }
        QCOMPARE(sim->charset(), inForce);
        QCOMPARE(t->msgBox().shown().size(), asTyped && lossy ? 1 : 0);
    }
    QCOMPARE(boxes(u"'\u674E\u96F7' as '"_s + QString(2, u'?') + u'\''), lossy ? 1 : 0);
}

// Some phones in UCS2 give and take the number in it as well.
void tst_PhoneBook::ucs2NumbersEitherWay() {
    QCOMPARE(t->ctx().phone().sendCommand(u"AT+CSCS=\"GSM\""_s), u"OK"_s);
    sim->setAnswer(u"AT+CSCS=?"_s, u"+CSCS: (GSM,UCS2)\nOK"_s);  // names without quotes
    sim->setPhonebook(u"SM"_s, 3, 40, 14);
    sim->setAnswer(u"AT+CPBR=1,3"_s,
                   u"+CPBR: 1,\"002B00340039003100370031\",145,\"674E96F7\"\n"
                   u"+CPBR: 2,\"0171\",129,\"00410042\"\n"
                   u"+CPBR: 3,\"12345678\",129,\"0043\"\nOK"_s);
    book->state(u"SM"_s).max = 3;
    QVERIFY(book->readBook(u"SM"_s, list.get()));
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"1"_s), u"\u674E\u96F7|+49171"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"2"_s), u"AB|0171"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook.SM"_s, u"3"_s), u"C|12345678"_s);

    // The plain number refused, it goes again in UCS2; the name of the set likewise, both ways.
    sim->clearRules();
    sim->setAnswer(u"AT+CPBW=1,\"+"_s, u"+CME ERROR: 3"_s);
    sim->setAnswer(u"AT+CSCS=\"GSM\""_s, u"ERROR"_s);
    sim->setAnswer(u"AT+CSCS?"_s, u"+CSCS: \"00470053004D\"\nOK"_s);
    QCOMPARE(book->writeBack(u"SM"_s, {{u"1"_s, u"\u674E\u96F7"_s, u"+49171"_s}}),
             PhoneBook::WriteResult::Written);
    QVERIFY(phonebookCommands().contains(u"AT+CPBW=1,\"002B00340039003100370031\",145,\"674E96F7\""_s));
    QCOMPARE(sim->phonebook(u"SM"_s).value(1).name, u"\u674E\u96F7"_s);
    QCOMPARE(sim->charset(), u"GSM"_s);
    const QStringList cscs = sim->commands().filter(u"AT+CSCS"_s);
    QCOMPARE(cscs.mid(cscs.size() - 5), (QStringList{u"AT+CSCS?"_s, u"AT+CSCS=?"_s, u"AT+CSCS=\"UCS2\""_s,
                                                     u"AT+CSCS=\"GSM\""_s, u"AT+CSCS=\"00470053004D\""_s}));
}

QTEST_MAIN(tst_PhoneBook)
#include "tst_phonebook.moc"
