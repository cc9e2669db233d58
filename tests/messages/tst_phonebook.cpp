// The phonebook dialogues against a simulated phone: memory size and field lengths, reading a
// memory into its local copy, writing the copy back, and the helpers that keep the copies.
#include <QtTest>

#include <QTimer>

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
    void abortStopsTheRead();
    void writeBackErasesEveryIndexThenWritesTheList();
    void abortWhileErasingStillWritesTheRows();
    void abortWhileWritingIsIncomplete();
    void storageAndSaveFailures_data();
    void storageAndSaveFailures();
    void savePhoneEntryAndCount();
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
    QCOMPARE(phonebookCommands().mid(0, 3),
             (QStringList{u"AT+CPBS=\"SM\""_s, u"AT+CPBR=1"_s, u"AT+CPBR=2"_s}));
    QCOMPARE(phonebookCommands().last(), u"AT+CPBR=7"_s);
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
    QVERIFY(statuses.contains(u"2 addresses found on SIM card (reading index 4/7...)"_s));
    // The last status counts every entry read, the last index included.
    QCOMPARE(statuses.last(), u"4 addresses found on SIM card "_s);
    QVERIFY(log().contains(u"Error reading addressbook entry index 4 from SM: +CME ERROR: 21"_s));
    QCOMPARE(log().count(u"Error reading"_s), 1);
    QVERIFY(debugLog().isEmpty());
}

void tst_PhoneBook::readFailuresInDebugMode() {
    setDebug(true);
    sim->setPhonebook(u"ME"_s, 2, 20, 14);
    sim->setPhonebookEntry(u"ME"_s, 1, u"123"_s, u"Ann"_s);
    sim->setSilent(u"AT+CPBR=2"_s);
    t->ini().writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    book->state(u"ME"_s).max = 2;
    book->state(u"ME"_s).count = 5;  // an earlier read: no "0/<max>" line
    QStringList statuses;
    book->onStatus = [&](const QString& s) { statuses << s; };
    t->msgBox().queueAnswer(MsgBox::OK);
    book->readBook(u"ME"_s, list.get());
    QCOMPARE(statuses.first(), u"0 addresses found in phone memory (reading index 1/2...)"_s);
    QCOMPARE(statuses.last(), u"1 addresses found in phone memory "_s);
    QCOMPARE(t->msgBox().shown().size(), 1);
    const MsgBox::Shown box = t->msgBox().shown().first();
    QCOMPARE(box.title, u"Tellwick DEBUG message:"_s);
    QCOMPARE(box.icon, MsgBox::Information);
    QCOMPARE(box.text, u"Error reading addressbook entry index 2 from ME: ERROR: TimeOut (1 secs.)"_s);
    QVERIFY(log().contains(box.text));
    QVERIFY(debugLog().contains(u"Retrieving address from ME: +CPBR: 1,\"123\",129,\"Ann\""_s));
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

void tst_PhoneBook::abortStopsTheRead() {
    sim->setPhonebook(u"SM"_s, 5, 20, 14);
    for (int i = 1; i <= 5; ++i) {
        sim->setPhonebookEntry(u"SM"_s, i, QString::number(i), u"N%1"_s.arg(i));
    }
    book->state(u"SM"_s).max = 5;
    onCommand(u"AT+CPBR=2"_s, [this] { book->abort(); });
    book->readBook(u"SM"_s, list.get());
    QCOMPARE(phonebookCommands().last(), u"AT+CPBR=2"_s);
    QCOMPARE(t->ini().keys(u"Addressbook.SM"_s), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(book->status(), u"2 addresses found on SIM card "_s);
    QVERIFY(!book->busy());
}

void tst_PhoneBook::writeBackErasesEveryIndexThenWritesTheList() {
    sim->setPhonebook(u"SM"_s, 5, 20, 14);
    for (int i = 1; i <= 5; ++i) {
        sim->setPhonebookEntry(u"SM"_s, i, u"999"_s, u"Stale"_s);
    }
    book->state(u"SM"_s).max = 5;
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
    book->timersOff();
    QCOMPARE(book->writeBack(u"SM"_s, rows), PhoneBook::WriteResult::Written);
    book->timersOn();
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

QTEST_MAIN(tst_PhoneBook)
#include "tst_phonebook.moc"
