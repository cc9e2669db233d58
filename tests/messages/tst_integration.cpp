// The message windows together, opened the way a person opens them: from the main window's
// commands, the browser's operations and the address book's, with the real windows at every
// step and a simulated phone behind the link.
#include <QtTest>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "BrowseFixture.h"
#include "ModalWatcher.h"
#include "PhoneSimulator.h"
#include "TabStrip.h"
#include "frmAddressBook.h"
#include "frmCopyMove.h"
#include "frmEditMsg.h"
#include "frmOutlookImport.h"
#include "frmSendSMS.h"

using namespace Qt::StringLiterals;

class tst_Integration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void mainWindowCommandsOpenModalOrBeside();
    void browserAddsASenderThroughTheAddressBook();
    void browserEditsWithTheEditorAndIsRefreshed();
    void browserReplySendsOverThePhone();
    void addressBookDoubleClickComposes();
    void addressBookClosedWhileComposeChecksThePhone();
    void addressBookCopiesAndMovesThroughTheChooser();
    void addressBookImportsContacts();

private:
    // Runs act on the named window once it is up in its own modal loop; act closes it.
    void whenModal(const QString& name, std::function<void(QWidget*)> act);
    bool startPhone();
    template <class T>
    T* window(const QString& name) {
        return qobject_cast<T*>(f->ctx().windows().existing(name));
    }
    static QStringList rows(const ListView* list) {
        QStringList out;
        for (int i = 1; i <= list->count(); ++i) {
            out << list->item(i)->text() + u'=' + list->item(i)->subItem(1);
        }
        return out;
    }
    const QList<MsgBox::Shown>& boxes() { return f->ctx().msgBox().shown(); }

    std::unique_ptr<BrowseFixture> f;
    std::unique_ptr<PhoneSimulator> sim;
    ModalWatcher m_modal;
};

void tst_Integration::init() {
    f = std::make_unique<BrowseFixture>();
    sim = std::make_unique<PhoneSimulator>();
    m_modal.reset();
    // Never the contacts of the person running the tests.
    f->ctx().ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, f->t->path(u"no-contacts"_s));
}

void tst_Integration::cleanup() {
    QCOMPARE(m_modal.pending(), 0);  // every window the test waited for came up
    m_modal.reset();
    TW_VERIFY_NO_UNANSWERED(*f->t);
    QCOMPARE(f->ctx().msgBox().pendingAnswers(), 0);
    f->ctx().windows().unloadAll();
    f.reset();
    sim.reset();
}

void tst_Integration::whenModal(const QString& name, std::function<void(QWidget*)> act) {
    m_modal.whenModal(f->ctx().windows(), name, std::move(act));
}

bool tst_Integration::startPhone() {
    if (!sim->start()) {
        return false;
    }
    sim->setPhonebook(u"ME"_s, 50, 20, 16);
    sim->setPhonebook(u"SM"_s, 10, 20, 14);
    f->ctx().ini().writeINI(u"Settings"_s, u"Port"_s, sim->devicePath());
    if (!f->ctx().phone().openPort(sim->devicePath(), 115200) || !f->ctx().phone().startDevice()) {
        return false;
    }
    f->ctx().getSettings();
    return true;
}

void tst_Integration::mainWindowCommandsOpenModalOrBeside() {
    frmMain& main = f->ctx().mainWindow();
    struct {
        bool modal = false, timersOff = false;
        QString caption;
    } compose;
    whenModal(u"frmSendSMS"_s, [&](QWidget* w) {
        compose = {w->isModal(), main.timersDisabled(), w->windowTitle()};
        static_cast<frmSendSMS*>(w)->cmdClose->click();
    });
    main.mnuSendSMS->trigger();
    QVERIFY(compose.modal);
    QVERIFY(compose.timersOff);
    QCOMPARE(compose.caption, u"Tellwick: Send SMS message"_s);
    QVERIFY(!main.timersDisabled());
    QVERIFY(!f->ctx().windows().isLoaded(u"frmSendSMS"_s));

    // The browser and the address book stay open beside the main window, side by side, as
    // windows of their own.
    main.mnuBrowse->trigger();
    main.mnuAddressBook->trigger();
    auto* browser = window<frmBrowse>(u"frmBrowse"_s);
    auto* book = window<frmAddressBook>(u"frmAddressBook"_s);
    QVERIFY(browser && book);
    for (QWidget* w : {static_cast<QWidget*>(browser), static_cast<QWidget*>(book)}) {
        QVERIFY(w->isVisible());
        QVERIFY(!w->isModal());
        QCOMPARE(w->parentWidget(), nullptr);
    }
    QVERIFY(!main.timersDisabled());
    QVERIFY(main.mnuSendSMS->isEnabled());
    // A second command raises the open window instead of making another.
    main.mnuAddressBook->trigger();
    QCOMPARE(window<frmAddressBook>(u"frmAddressBook"_s), book);
    book->cmdClose->click();
    QTRY_VERIFY(!f->ctx().windows().isLoaded(u"frmAddressBook"_s));
    browser->Command1->click();
    QTRY_VERIFY(!f->ctx().windows().isLoaded(u"frmBrowse"_s));
}

void tst_Integration::browserAddsASenderThroughTheAddressBook() {
    f->incoming(u"a.sms"_s, u"2026-01-01"_s, u"10:00:00"_s, u"+491701"_s, u"hi"_s);
    f->message(u"Out"_s, u"o.sms"_s, {u"[Tellwick]"_s, u"No=+4917099"_s, u"Text=12345"_s});
    frmBrowse* b = f->open();
    f->select(b, {u"a.sms"_s});
    QVERIFY(b->mnuAdd->isEnabled());
    struct {
        QString number;
        bool nameFocused = false;
        QStringList listed;
    } seen;
    whenModal(u"frmAddressBook"_s, [&](QWidget* w) {
        auto* book = static_cast<frmAddressBook*>(w);
        seen.number = book->txtNumber->text();
        // The window's own focus child: the application's focus depends on window activation.
        seen.nameFocused = book->focusWidget() == book->txtName;
        QTest::keyClicks(book->txtName, u"Carla"_s);
        book->cmdAdd->click();
        seen.listed = rows(book->lstNames);
        book->cmdClose->click();
    });
    b->mnuAdd->trigger();
    QCOMPARE(seen.number, u"+491701"_s);
    QVERIFY(seen.nameFocused);
    QCOMPARE(seen.listed, QStringList{u"Carla=+491701"_s});
    QCOMPARE(f->ctx().ini().readINI(u"Addressbook"_s, u"Carla"_s), u"+491701"_s);
    QVERIFY(!f->ctx().windows().isLoaded(u"frmAddressBook"_s));
    // Refreshed: the name replaces the number.
    QCOMPARE(f->line(b->LstMsg2, u"a.sms"_s)->subItem(1), u"Carla"_s);

    // With the address book already open beside the main window, the same instance comes up
    // modally, with the recipient's number of the outgoing tab.
    f->ctx().mainWindow().mnuAddressBook_Click();
    QWidget* open = f->ctx().windows().existing(u"frmAddressBook"_s);
    QVERIFY(open && open->isVisible());
    b->tubby->setSelectedIndex(2);
    f->select(b, {u"o.sms"_s});
    bool same = false, modal = false;
    whenModal(u"frmAddressBook"_s, [&](QWidget* w) {
        auto* book = static_cast<frmAddressBook*>(w);
        same = w == open;
        modal = w->isModal();
        seen.number = book->txtNumber->text();
        book->cmdClose->click();
    });
    b->mnuAdd_Click();
    QVERIFY(same);
    QVERIFY(modal);
    QCOMPARE(seen.number, u"+4917099"_s);
}

void tst_Integration::browserEditsWithTheEditorAndIsRefreshed() {
    f->incoming(u"a.sms"_s, u"2026-01-01"_s, u"10:00:00"_s, u"+491701"_s, u"old text"_s);
    frmBrowse* b = f->open();
    f->select(b, {u"a.sms"_s});
    QString shown;
    whenModal(u"frmEditMsg"_s, [&](QWidget* w) {
        auto* editor = static_cast<frmEditMsg*>(w);
        shown = editor->txtText->toPlainText();
        editor->txtText->setPlainText(u"new text"_s);
        f->ctx().msgBox().queueAnswer(MsgBox::Yes);  // save the changes?
        editor->cmdClose->click();
    });
    b->cmdEdit->click();
    QCOMPARE(shown, u"old text"_s);
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Text"_s, f->path(u"In"_s, u"a.sms"_s)), u"new text"_s);
    QCOMPARE(boxes().last().title, u"Message has changed"_s);
    QTRY_VERIFY(!f->ctx().windows().isLoaded(u"frmEditMsg"_s));
    // The editor refreshed the browser's list after saving.
    QCOMPARE(f->line(b->LstMsg2, u"a.sms"_s)->subItem(2), u"new text"_s);
}

void tst_Integration::browserReplySendsOverThePhone() {
    QVERIFY2(startPhone(), qPrintable(sim->errorString()));
    f->incoming(u"a.sms"_s, u"2026-01-01"_s, u"10:00:00"_s, u"+4917011"_s, u"ping"_s);
    frmBrowse* b = f->open();
    f->select(b, {u"a.sms"_s});
    bool focusInText = false;
    whenModal(u"frmSendSMS"_s, [&](QWidget* w) {
        auto* compose = static_cast<frmSendSMS*>(w);
        focusInText = compose->focusWidget() == compose->Text1;
        compose->Text1->setPlainText(u"pong"_s);
        compose->cmdSendSMS->click();
    });
    QTest::keyClick(b->LstMsg2, Qt::Key_Return);
    QVERIFY(focusInText);
    QCOMPARE(sim->decodedSubmissions().size(), 1);
    QCOMPARE(sim->decodedSubmissions().first().number, u"+4917011"_s);
    QCOMPARE(sim->decodedSubmissions().first().text, u"pong"_s);
    QVERIFY(!f->ctx().mainWindow().timersDisabled());
    QCOMPARE(f->ctx().ini().readINI(u"Tellwick"_s, u"Read"_s, f->path(u"In"_s, u"a.sms"_s)), u"1"_s);
}

void tst_Integration::addressBookDoubleClickComposes() {
    f->ctx().ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"+4917022"_s);
    f->ctx().mainWindow().mnuAddressBook_Click();
    auto* book = window<frmAddressBook>(u"frmAddressBook"_s);
    QVERIFY(book);
    QVERIFY(QTest::qWaitForWindowExposed(book));
    struct {
        QString caption, phoneNo;
        bool timersOff = false, focusInText = false;
    } seen;
    whenModal(u"frmSendSMS"_s, [&](QWidget* w) {
        auto* compose = static_cast<frmSendSMS*>(w);
        seen = {w->windowTitle(), compose->txtPhoneNo->text(), f->ctx().mainWindow().timersDisabled(),
                compose->focusWidget() == compose->Text1};
        compose->cmdClose->click();
    });
    const QRect r = book->lstNames->visualItemRect(book->lstNames->item(1));
    QTest::mouseDClick(book->lstNames->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(seen.caption, u"Tellwick: Send SMS message"_s);
    QCOMPARE(seen.phoneNo, u"+4917022"_s);
    QVERIFY(seen.timersOff);
    QVERIFY(seen.focusInText);
    QVERIFY(!f->ctx().mainWindow().timersDisabled());
    QVERIFY(book->isVisible());
}

void tst_Integration::addressBookCopiesAndMovesThroughTheChooser() {
    QVERIFY2(startPhone(), qPrintable(sim->errorString()));
    f->ctx().ini().writeINI(u"Addressbook"_s, u"Ann"_s, u"+4911"_s);
    f->ctx().ini().writeINI(u"Addressbook"_s, u"Ben"_s, u"+4922"_s);
    f->ctx().mainWindow().mnuAddressBook_Click();
    auto* book = window<frmAddressBook>(u"frmAddressBook"_s);
    QVERIFY(book);
    QCOMPARE(book->Tubby->count(), 3);
    // Pick the option standing for `store` in the chooser that comes up next.
    QStringList offered;
    auto choose = [&](const QString& store) {
        whenModal(u"frmCopyMove"_s, [&, store](QWidget* w) {
            auto* chooser = static_cast<frmCopyMove*>(w);
            offered = {chooser->windowTitle(), frmCopyMove::tagOf(chooser->Opt1),
                       frmCopyMove::tagOf(chooser->Opt2)};
            for (QRadioButton* o : {chooser->Opt1, chooser->Opt2}) {
                if (frmCopyMove::tagOf(o) == store) {
                    o->click();
                }
            }
            chooser->cmdOK->click();
        });
    };

    book->lstNames->item(1)->setSelected(true);  // Ann
    book->lstNames_ItemClick();
    choose(u"SM"_s);
    book->cmdCopy->click();
    QCOMPARE(offered, (QStringList{u"Copy address(es)"_s, u"ME"_s, u"SM"_s}));
    QCOMPARE(book->currentMem(), u"SMS"_s);
    QCOMPARE(f->ctx().ini().readINI(u"Addressbook.SM"_s, u"1"_s), u"Ann|+4911"_s);
    QVERIFY(book->memory(u"SM"_s).changed);
    QCOMPARE(rows(book->lstNames), (QStringList{u"Ann=+4911"_s, u"Ben=+4922"_s}));

    book->lstNames->item(2)->setSelected(true);  // Ben
    book->lstNames_ItemClick();
    choose(u"ME"_s);
    book->cmdMove->click();
    QCOMPARE(f->ctx().ini().readINI(u"Addressbook.ME"_s, u"1"_s), u"Ben|+4922"_s);
    QCOMPARE(rows(book->lstNames), QStringList{u"Ann=+4911"_s});
    QVERIFY(f->ctx().ini().readINI(u"Addressbook"_s, u"Ben"_s).isEmpty());

    // Nothing reached the phone; closing offers to write both stores, No keeps them local.
    QVERIFY(sim->phonebook(u"SM"_s).isEmpty());
    f->ctx().msgBox().queueAnswer(MsgBox::No);
    f->ctx().msgBox().queueAnswer(MsgBox::No);
    book->cmdClose->click();
    QTRY_VERIFY(!f->ctx().windows().isLoaded(u"frmAddressBook"_s));
    QCOMPARE(boxes().size(), 2);
}

void tst_Integration::addressBookImportsContacts() {
    QDir(f->t->folder()).mkdir(u"contacts"_s);
    f->ctx().ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, f->t->path(u"contacts"_s));
    f->t->writeFile(u"contacts/a.vcf"_s,
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Dora Diaz\r\nTEL;TYPE=CELL:+49 170 33\r\nEND:VCARD\r\n");
    f->t->writeFile(u"contacts/b.vcf"_s,
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eli\r\nTEL;TYPE=HOME:040 1\r\nEND:VCARD\r\n");
    f->ctx().ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"+4917022"_s);
    f->ctx().mainWindow().mnuAddressBook_Click();
    auto* book = window<frmAddressBook>(u"frmAddressBook"_s);
    QVERIFY(book);
    QVERIFY(book->cmdOutlook->isEnabled());
    QStringList listedInBook;
    int contacts = -1;
    whenModal(u"frmOutlookImport"_s, [&](QWidget* w) {
        auto* import = static_cast<frmOutlookImport*>(w);
        import->lstFields->setCurrentRow(0);  // mobile numbers
        import->cmdRead->click();
        contacts = import->lstContacts->count();
        for (int i = 1; i <= import->lstContacts->count(); ++i) {
            import->lstContacts->item(i)->setSelected(true);
        }
        import->lstContacts_Click();
        f->ctx().msgBox().queueAnswer(MsgBox::OK);  // "... successfully imported."
        import->cmdImport->click();
        listedInBook = rows(book->lstNames);
        import->cmdClose->click();
    });
    book->cmdOutlook->click();
    QCOMPARE(contacts, 1);
    QCOMPARE(boxes().last().text, u"1 contacts successfully imported."_s);
    QCOMPARE(f->ctx().ini().readINI(u"Addressbook"_s, u"Dora Diaz"_s), u"+4917033"_s);
    // The book lists the imported row along with what it held, refreshed and sorted.
    QCOMPARE(listedInBook, (QStringList{u"Bob=+4917022"_s, u"Dora Diaz=+4917033"_s}));
    QCOMPARE(rows(book->lstNames), listedInBook);
    QTRY_VERIFY(!f->ctx().windows().isLoaded(u"frmOutlookImport"_s));
    QVERIFY(book->isVisible());
}

void tst_Integration::addressBookClosedWhileComposeChecksThePhone() {
    // The compose dialog checks the phone while it loads, and the message loop runs meanwhile:
    // the address book beside the main window may be closed then, under its own handler.
    QVERIFY2(startPhone(), qPrintable(sim->errorString()));
    f->ctx().ini().writeINI(u"Addressbook"_s, u"Bob"_s, u"+4917022"_s);
    f->ctx().mainWindow().mnuAddressBook_Click();
    QPointer<frmAddressBook> book = window<frmAddressBook>(u"frmAddressBook"_s);
    QVERIFY(book);
    QVERIFY(QTest::qWaitForWindowExposed(book));
    bool closedDuringCheck = false;
    QObject guard;  // the connection ends with this function
    connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& command) {
        if (command == u"AT"_s && book && !closedDuringCheck) {
            closedDuringCheck = true;
            QTimer::singleShot(0, book, [book] { book->cmdClose->click(); });
        }
    });
    whenModal(u"frmSendSMS"_s, [](QWidget* w) { static_cast<frmSendSMS*>(w)->cmdClose->click(); });
    book->lstNames_DblClick(book->lstNames->item(1));
    QVERIFY(closedDuringCheck);
    QTRY_VERIFY(!book);
    QVERIFY(!f->ctx().mainWindow().timersDisabled());
}

QTEST_MAIN(tst_Integration)
#include "tst_integration.moc"
