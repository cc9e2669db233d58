// The contacts import over a folder of vCard files: opening with and without the folder,
// reading one phone field, and importing the selected rows into the address book.
#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "ListView.h"
#include "MessagesWindows.h"
#include "ModalDriver.h"
#include "TestContext.h"
#include "Twips.h"
#include "frmMain.h"
#include "frmOutlookImport.h"

using namespace Qt::StringLiterals;

class tst_frmOutlookImport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void withoutContactsFolder_data();
    void withoutContactsFolder();
    void opening();
    void readListsCleanedRows();
    void anotherFieldListsAnotherSet();
    void emptyFolder();
    void importAsksBeforeOverwriting_data();
    void importAsksBeforeOverwriting();
    void importsManyInBatches();
    void nothingSelected();
    void nameTheSettingsFileCannotHold();
    void folderGoneBeforeReading();
    void closingDuringAReadStopsIt();
    void openedModallyByTheAddressBook();

private:
    frmOutlookImport* open();
    void writeCards(const QString& file, const QByteArray& cards);
    QStringList rows(const ListView* list) const;
    void selectAll() { dlg->lstContacts->selectAll(); }
    QString contacts() const { return t->path(u"contacts"_s); }
    QString debugLog() const { return QString::fromUtf8(t->readFile(u"debug.log"_s)); }

    std::unique_ptr<TestContext> t;
    std::unique_ptr<frmOutlookImport> dlg;
    std::unique_ptr<ListView> addressList;
    int refreshes = 0;
};

namespace {

QByteArray card(const QByteArray& body) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "END:VCARD\r\n";
}

const QByteArray kPeople =
    card("FN:Doe\\, John\r\nTEL;TYPE=CELL:+49 (171) 123-45 67\r\nTEL;TYPE=WORK:040 555\r\n") +
    card("FN:Ann Smith\r\nTEL;TYPE=CELL:0171/555 01\r\n") +
    card("FN:Desk Only\r\nTEL;TYPE=WORK:(040) 777-1\r\nTEL;TYPE=HOME:030 1\r\n") +
    card("FN:No Phone\r\nEMAIL:np@example.org\r\n");

}  // namespace

void tst_frmOutlookImport::init() {
    t = std::make_unique<TestContext>();
    t->ctx().getSettings();
    t->ini().writeINI(u"Settings"_s, u"ContactsFolder"_s, u"contacts"_s);
    QDir().mkpath(contacts());
    addressList = std::make_unique<ListView>();
    addressList->addColumn(u"Name"_s, 1500);
    addressList->addColumn(u"Number"_s, 1500);
    refreshes = 0;
}

void tst_frmOutlookImport::cleanup() {
    dlg.reset();
    addressList.reset();
    TW_VERIFY_NO_UNANSWERED(*t);
    t.reset();
}

frmOutlookImport* tst_frmOutlookImport::open() {
    dlg = std::make_unique<frmOutlookImport>(t->ctx());
    connect(dlg.get(), &frmOutlookImport::rowImported, this,
            [this](const QString& name, const QString& number) {
                addressList->addItem(name)->setSubItem(1, number);
            });
    connect(dlg.get(), &frmOutlookImport::importFinished, this, [this] { ++refreshes; });
    dlg->show();
    return dlg.get();
}

void tst_frmOutlookImport::writeCards(const QString& file, const QByteArray& cards) {
    t->writeFile(contacts() + u'/' + file, cards);
}

QStringList tst_frmOutlookImport::rows(const ListView* list) const {
    QStringList out;
    for (int i = 1; i <= list->count(); ++i) {
        out << list->item(i)->text() + u'|' + list->item(i)->subItem(1);
    }
    return out;
}

void tst_frmOutlookImport::withoutContactsFolder_data() {
    QTest::addColumn<bool>("debug");
    QTest::newRow("debug mode") << true;
    QTest::newRow("normal") << false;
}

void tst_frmOutlookImport::withoutContactsFolder() {
    QFETCH(bool, debug);
    t->ctx().state().debugMode = debug;
    QDir(contacts()).removeRecursively();
    QVERIFY(!frmOutlookImport::isOutlookAvailable(t->ctx()));
    frmOutlookImport* d = open();
    QCOMPARE(d->labNumContacts->text(), u"Outlook was not found on your system"_s);
    for (QWidget* w : {static_cast<QWidget*>(d->cmdRead), static_cast<QWidget*>(d->cmdImport),
                       static_cast<QWidget*>(d->lstFields), static_cast<QWidget*>(d->lstContacts)}) {
        QVERIFY(!w->isEnabled());
    }
    QVERIFY(d->cmdClose->isEnabled());
    QCOMPARE(d->lstFields->count(), 5);
    QCOMPARE(debugLog().contains(
                 u"Error creating Outlook namespace: contacts folder %1 not found"_s.arg(contacts())),
             debug);
    d->cmdClose->click();
    QVERIFY(!d->isVisible());
}

void tst_frmOutlookImport::opening() {
    QVERIFY(frmOutlookImport::isOutlookAvailable(t->ctx()));
    frmOutlookImport* d = open();
    QCOMPARE(d->windowTitle(), u"Tellwick: Import Outlook contacts"_s);
    QCOMPARE(d->windowIcon().cacheKey(), t->ctx().mainWindow().windowIcon().cacheKey());
    QCOMPARE(d->Label1->text(), u"Field containing mobile phone number:"_s);
    QCOMPARE(d->Label2->text(),
             u"To import contacts from Outlook, select the contact's field to search for mobile phone "
             u"numbers, then "
             "click 'Read contacts'. After Tellwick read the list from your Outlook contacts, select all "
             "entries (use "
             "SHIFT or CTRL to select multiple entries) you want to import, then click 'Import'."_s);
    QCOMPARE(d->cmdRead->text(), u"&Read contacts..."_s);
    QCOMPARE(d->cmdImport->text(), u"&Import"_s);
    QCOMPARE(d->cmdClose->text(), u"&Close"_s);
    QStringList fields;
    for (int i = 0; i < d->lstFields->count(); ++i) {
        fields << d->lstFields->item(i)->text();
    }
    QCOMPARE(fields,
             (QStringList{u"Mobile phone number"_s, u"1st Home phone number"_s, u"2nd Home phone number"_s,
                          u"1st Business phone number"_s, u"2nd Business phone number"_s}));
    QCOMPARE(d->lstFields->currentRow(), 0);
    QCOMPARE(d->lstContacts->headerItem()->text(0), u"Full Name"_s);
    QCOMPARE(d->lstContacts->headerItem()->text(1), u"Mobile phone no."_s);
    // The design widths are where the columns start; a heading that needs more widens its own.
    QVERIFY(d->lstContacts->columnWidthTwips(0) >= 1500);
    QVERIFY(d->lstContacts->columnWidthTwips(1) >= 1700);
    QVERIFY(Twips::width(d) >= 7500);
    // The folder read is shown whole.
    QCOMPARE(d->txtFolder->text(), contacts());
    QVERIFY(d->txtFolder->isReadOnly());
    QCOMPARE(d->labNumContacts->textFormat(), Qt::PlainText);
    // With a font twice the size the first heading is not cut.
    const QFont font = QApplication::font();
    QFont big = font;
    big.setPointSizeF(font.pointSizeF() * 2);
    QApplication::setFont(big);
    frmOutlookImport large(t->ctx());
    QApplication::setFont(font);
    QVERIFY(large.lstContacts->header()->sectionSize(0) >= large.lstContacts->header()->sectionSizeHint(0));
    QVERIFY(d->lstContacts->multiSelect());
    QVERIFY(!d->cmdImport->isEnabled());
    QVERIFY(d->cmdRead->isEnabled());
    QVERIFY(d->labNumContacts->text().isEmpty());
}

void tst_frmOutlookImport::readListsCleanedRows() {
    t->ctx().state().debugMode = true;
    writeCards(u"people.vcf"_s, kPeople);
    frmOutlookImport* d = open();
    d->cmdRead->click();
    // Blanks, brackets and dashes go, "+" and "/" stay; the comma leaves the name.
    QCOMPARE(rows(d->lstContacts), (QStringList{u"Doe John|+491711234567"_s, u"Ann Smith|0171/55501"_s}));
    QCOMPARE(d->labNumContacts->text(), u"2 contacts found."_s);
    QVERIFY(debugLog().contains(u"Connecting to Outlook: 2 contacts found."_s));
    QVERIFY(!d->cmdImport->isEnabled());
    QVERIFY(d->cmdRead->isEnabled());
    // A click in the list enables the import.
    const QPoint row = d->lstContacts->visualItemRect(d->lstContacts->item(1)).center();
    QTest::mouseClick(d->lstContacts->viewport(), Qt::LeftButton, {}, row);
    QVERIFY(d->cmdImport->isEnabled());
    // Reading again starts afresh.
    d->cmdRead->click();
    QCOMPARE(d->lstContacts->count(), 2);
}

void tst_frmOutlookImport::anotherFieldListsAnotherSet() {
    writeCards(u"people.vcf"_s, kPeople);
    frmOutlookImport* d = open();
    const QList<QPair<int, QStringList>> cases{{3, {u"Doe John|040555"_s, u"Desk Only|0407771"_s}},
                                               {1, {u"Desk Only|0301"_s}},
                                               {2, {}},
                                               {4, {}},
                                               {0, {u"Doe John|+491711234567"_s, u"Ann Smith|0171/55501"_s}}};
    for (const auto& [field, expected] : cases) {
        d->lstFields->setCurrentRow(field);
        d->cmdRead->click();
        QCOMPARE(rows(d->lstContacts), expected);
        QCOMPARE(d->labNumContacts->text(), u"%1 contacts found."_s.arg(expected.size()));
        QCOMPARE(d->lstContacts->headerItem()->text(1), u"Mobile phone no."_s);
    }
}

void tst_frmOutlookImport::emptyFolder() {
    writeCards(u"readme.txt"_s, card("FN:Not a card file\r\nTEL;TYPE=CELL:1\r\n"));
    frmOutlookImport* d = open();
    d->cmdRead->click();
    QCOMPARE(d->labNumContacts->text(), u"0 contacts found."_s);
    QTest::mouseClick(d->lstContacts->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!d->cmdImport->isEnabled());
}

void tst_frmOutlookImport::importAsksBeforeOverwriting_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("annNumber");  // stored for the name that existed
    QTest::addColumn<int>("count");

    QTest::newRow("No keeps the old number") << int(MsgBox::No) << u"0999"_s << 1;
    QTest::newRow("Yes overwrites") << int(MsgBox::Yes) << u"0171/55501"_s << 2;
}

void tst_frmOutlookImport::importAsksBeforeOverwriting() {
    QFETCH(int, answer);
    QFETCH(QString, annNumber);
    QFETCH(int, count);
    writeCards(u"people.vcf"_s, kPeople);
    t->ini().writeINI(u"Addressbook"_s, u"ann smith"_s, u"0999"_s);  // names match without regard to case
    frmOutlookImport* d = open();
    d->cmdRead->click();
    selectAll();
    t->msgBox().queueAnswer(answer);
    d->cmdImport->click();

    QCOMPARE(t->msgBox().shown().size(), 2);
    const MsgBox::Shown& ask = t->msgBox().shown().at(0);
    QCOMPARE(ask.text, u"The name 'Ann Smith' already exists, do you want to overwrite it?"_s);
    QCOMPARE(ask.title, u"Overwrite existing entry"_s);
    QCOMPARE(ask.buttons, MsgBox::YesNo);
    QCOMPARE(ask.icon, MsgBox::Question);
    const MsgBox::Shown& done = t->msgBox().shown().at(1);
    QCOMPARE(done.text, u"%1 contacts successfully imported."_s.arg(count));
    QCOMPARE(done.title, u"Tellwick: Outlook contacts import"_s);
    QCOMPARE(done.icon, MsgBox::Information);
    QCOMPARE(done.buttons, MsgBox::OKOnly);

    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Doe John"_s), u"+491711234567"_s);
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Ann Smith"_s), annNumber);
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), 2);
    QCOMPARE(addressList->count(), count);
    QCOMPARE(addressList->item(1)->text() + u'|' + addressList->item(1)->subItem(1),
             u"Doe John|+491711234567"_s);
    QCOMPARE(refreshes, 1);
    QVERIFY(d->isVisible());  // the window stays open after an import
}

// Thousands of contacts go in a few writes of the settings file, with the progress shown
// and the message loop running between them; a name met twice is asked about.
void tst_frmOutlookImport::importsManyInBatches() {
    QByteArray cards;
    const int n = 2 * frmOutlookImport::importBatch + 100;
    for (int i = 0; i < n; ++i) {
        cards += card("FN:Contact " + QByteArray::number(i) + "\r\nTEL;TYPE=CELL:+49170" +
                      QByteArray::number(100000 + i) + "\r\n");
    }
    cards += card("FN:contact 7\r\nTEL;TYPE=CELL:0171\r\n");
    writeCards(u"many.vcf"_s, cards);
    frmOutlookImport* d = open();
    d->cmdRead->click();
    QCOMPARE(d->lstContacts->count(), n + 1);
    selectAll();
    QStringList progress;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] { progress << d->labNumContacts->text(); });
    tick.start(0);
    t->msgBox().queueAnswer(MsgBox::No);  // "contact 7" again
    d->cmdImport->click();
    tick.stop();
    QCOMPARE(t->ini().keys(u"Addressbook"_s).size(), n);
    QCOMPARE(t->ini().readINI(u"Addressbook"_s, u"Contact 7"_s), u"+49170100007"_s);
    QCOMPARE(t->msgBox().shown().first().text,
             u"The name 'contact 7' already exists, do you want to overwrite it?"_s);
    QCOMPARE(t->msgBox().shown().last().text, u"%1 contacts successfully imported."_s.arg(n));
    QCOMPARE(addressList->count(), n);
    QVERIFY(progress.contains(u"Importing %1/%2 contacts..."_s.arg(frmOutlookImport::importBatch).arg(n + 1)));
    QCOMPARE(d->labNumContacts->text(), u"%1 contacts found."_s.arg(n + 1));
}

void tst_frmOutlookImport::nothingSelected() {
    writeCards(u"people.vcf"_s, kPeople);
    frmOutlookImport* d = open();
    d->cmdRead->click();
    // A click below the rows enables the import and selects nothing.
    const QWidget* viewport = d->lstContacts->viewport();
    QTest::mouseClick(d->lstContacts->viewport(), Qt::LeftButton, {}, QPoint(5, viewport->height() - 5));
    QVERIFY(d->lstContacts->selectedItems().isEmpty());
    QVERIFY(d->cmdImport->isEnabled());
    d->cmdImport->click();
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().text, u"0 contacts successfully imported."_s);
    QVERIFY(t->ini().keys(u"Addressbook"_s).isEmpty());
    QCOMPARE(addressList->count(), 0);
    QCOMPARE(refreshes, 1);
}

void tst_frmOutlookImport::nameTheSettingsFileCannotHold() {
    // A name the settings file cannot hold as a key is reported, neither listed in the
    // address book nor counted; a number of punctuation alone gives no row at all.
    writeCards(u"odd.vcf"_s, card("FN:A=B\r\nTEL;TYPE=CELL:1\r\n") +
                                 card("FN:[Boss]\r\nTEL;TYPE=CELL:2\r\n") + card("TEL;TYPE=CELL:3\r\n") +
                                 card("FN:Dashes\r\nTEL;TYPE=CELL:( - )\r\n") +
                                 card("FN:Fine\r\nTEL;TYPE=CELL:4\r\n"));
    frmOutlookImport* d = open();
    d->cmdRead->click();
    QCOMPARE(d->lstContacts->count(), 4);
    selectAll();
    d->cmdImport->click();
    const QList<MsgBox::Shown>& shown = t->msgBox().shown();
    QCOMPARE(shown.size(), 4);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(shown[i].icon, MsgBox::Critical);
        QVERIFY(shown[i].text.contains(u"could not be stored"_s));
    }
    QCOMPARE(shown[3].text, u"1 contacts successfully imported."_s);
    QCOMPARE(rows(addressList.get()), QStringList{u"Fine|4"_s});
    QCOMPARE(t->ini().keys(u"Addressbook"_s), QStringList{u"Fine"_s});
}

void tst_frmOutlookImport::folderGoneBeforeReading() {
    t->ctx().state().debugMode = true;
    writeCards(u"people.vcf"_s, kPeople);
    frmOutlookImport* d = open();
    QVERIFY(QDir(contacts()).removeRecursively());
    d->cmdRead->click();
    QCOMPARE(d->lstContacts->count(), 0);
    QCOMPARE(d->labNumContacts->text(), u"0 contacts found."_s);
    QCOMPARE(t->msgBox().shown().size(), 1);
    QCOMPARE(t->msgBox().shown().first().icon, MsgBox::Critical);
    QVERIFY(t->msgBox().shown().first().text.contains(contacts()));
    QVERIFY(debugLog().contains(u"Error reading contacts: "_s));
    QVERIFY(d->cmdRead->isEnabled());
}

void tst_frmOutlookImport::closingDuringAReadStopsIt() {
    // The read lets the message loop run: a click on Close meanwhile ends the walk at once,
    // and the window can read again when it is opened the next time.
    writeCards(u"people.vcf"_s, kPeople);
    frmOutlookImport* d = open();
    QTimer::singleShot(0, d, [d] { d->cmdClose->click(); });
    d->cmdRead->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(d->lstContacts->count(), 0);
    d->show();
    d->cmdRead->click();
    QCOMPARE(d->lstContacts->count(), 2);
}

void tst_frmOutlookImport::openedModallyByTheAddressBook() {
    registerMessagesWindows(t->ctx().windows());
    writeCards(u"people.vcf"_s, kPeople);
    QObject guard;  // the wait ends with this function
    driveModalAs<frmOutlookImport>(&guard, u"The contacts import"_s, [](frmOutlookImport& d) {
        d.cmdRead->click();
        d.lstContacts->selectAll();
        d.cmdImport->click();
        d.cmdClose->click();
    });
    frmOutlookImport::openModal(t->ctx(), addressList.get(), [this] { ++refreshes; });
    QCOMPARE(rows(addressList.get()), (QStringList{u"Doe John|+491711234567"_s, u"Ann Smith|0171/55501"_s}));
    QCOMPARE(refreshes, 1);
    QCOMPARE(t->msgBox().shown().last().text, u"2 contacts successfully imported."_s);
    QVERIFY(!t->ctx().windows().isLoaded(u"frmOutlookImport"_s));
}

QTEST_MAIN(tst_frmOutlookImport)
#include "tst_frmoutlookimport.moc"
