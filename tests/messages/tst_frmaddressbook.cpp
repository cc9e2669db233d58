// The address book window over a simulated phone: its tabs, listing, editing with clean-up,
// sorting, the compose dialog and the contacts import it opens.
#include "AddressBookFixture.h"

class tst_frmAddressBook : public AddressBookFixture {
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

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
    void doubleClickOpensTheComposeDialog();
    void mainWindowShowsItBeside();
    void outlookImportButton();
    void renders();
};

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
    QTest::newRow("local, Enter in the number box")
        << u"SMS"_s << u"Doe, John"_s << u"0171 555"_s << false << QStringList{u"Ann"_s, u"Doe  John"_s};
    QTest::newRow("local, Enter in the name box")
        << u"SMS"_s << u"Eve"_s << u"0172"_s << true << QStringList{u"Ann"_s, u"Eve"_s};
    QTest::newRow("SIM, Enter in the number box")
        << u"SM"_s << u"Eve"_s << u"0172"_s << false << QStringList{u"Eve"_s, u"Name1"_s};
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
    QTest::newRow("title bar asks too")
        << u"title bar"_s << true << int(MsgBox::Cancel) << false << QString();
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
        QCOMPARE(lastBox().text,
                 u"The entry 'Eve' (0172) has not been added to the addressbook.\r\n\r\n"
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
