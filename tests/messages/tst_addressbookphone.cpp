// The address book's phone memories: copy and move through the destination chooser, refresh,
// write-back, memories never read, and the questions on closing.
#include "AddressBookFixture.h"

class tst_AddressBookPhone : public AddressBookFixture {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

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
};

void tst_AddressBookPhone::moveOutOfSimMarksItChanged() {
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

void tst_AddressBookPhone::moveAnsweredNoKeepsTheSource() {
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

void tst_AddressBookPhone::copyThatOverfillsIsRefused() {
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

void tst_AddressBookPhone::copyToPhoneOverwritesOrAdds() {
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

void tst_AddressBookPhone::existsQuestionAsksAboutTheStoredKey_data() {
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
    QTest::newRow("copy Ann beside Anne")
        << u"copy"_s << u"Ann"_s << u"Anne"_s << 0 << QString() << QStringList{u"Anne=0999"_s, u"Ann=0171"_s};
    QTest::newRow("import over a name without number, No")
        << u"import"_s << u"Boss"_s << u"BOSS="_s << int(MsgBox::No) << u"Boss"_s << QStringList{u"BOSS="_s};
}

void tst_AddressBookPhone::existsQuestionAsksAboutTheStoredKey() {
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
        QCOMPARE(t->msgBox().shown().first().title,
                 road == u"import"_s ? u"Overwrite existing entry"_s : u"Overwrite address"_s);
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

void tst_AddressBookPhone::refreshOffersToSaveThenReads() {
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
    QCOMPARE(names(), QStringList{u"Name1"_s});      // index 3 was erased by the write-back
    QVERIFY(!timersRan);
    QVERIFY(m.InTimer->isActive() && m.SignalTimer->isActive());
    QVERIFY(!w->cmdUpdate->isEnabled() && w->lstNames->isEnabled() && w->txtName->isEnabled());
    QVERIFY(w->memory(u"SM"_s).useLocal);
}

void tst_AddressBookPhone::phoneDialoguesKeepThePollingCount_data() {
    QTest::addColumn<bool>("writeBack");
    QTest::addColumn<int>("interval");  // ms; 5000 is the default
    QTest::newRow("refresh") << false << 5000;
    QTest::newRow("write-back") << true << 5000;
    QTest::newRow("refresh, a minute between ticks") << false << 60000;
}

// A phone dialogue of the address book pauses the gateway; the polling timer then goes on
// with what was left of its count, it does not start afresh.

void tst_AddressBookPhone::phoneDialoguesKeepThePollingCount() {
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

void tst_AddressBookPhone::closeAsksPerChangedMemory() {
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

void tst_AddressBookPhone::incompleteWriteBackStaysChanged() {
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

void tst_AddressBookPhone::updateOfAnUnreadMemory_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("simSize");
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<QStringList>("onPhone");  // "<index>:<name>"
    QTest::addColumn<QString>("localEve");     // Eve's number in the local book
    QTest::addColumn<bool>("changed");
    const QStringList three{u"1:Ann"_s, u"2:Bob"_s, u"3:Cid"_s};
    QTest::newRow("no: nothing written") << int(MsgBox::No) << 10 << false << three << QString() << true;
    QTest::newRow("yes: read, then added")
        << int(MsgBox::Yes) << 10 << false << (three + QStringList{u"4:Eve"_s}) << QString() << false;
    QTest::newRow("yes, memory full: kept locally")
        << int(MsgBox::Yes) << 3 << false << three << u"0171555"_s << false;
    QTest::newRow("yes, read fails: nothing written")
        << int(MsgBox::Yes) << 10 << true << three << QString() << true;
}

void tst_AddressBookPhone::updateOfAnUnreadMemory() {
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
    QVERIFY(
        t->msgBox().shown().at(1).text.startsWith(u"Your SIM addressbook has not been read from the phone "
                                                  u"yet, so Tellwick does not know what an update "
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

void tst_AddressBookPhone::refreshOfAnUnreadMemoryKeepsTypedEntries() {
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

void tst_AddressBookPhone::busyWindowStaysOpenAndEscapeAborts() {
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

QTEST_MAIN(tst_AddressBookPhone)
#include "tst_addressbookphone.moc"
