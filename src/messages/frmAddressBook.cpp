#include "frmAddressBook.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

#include "AddressBookTexts.h"
#include "AppContext.h"
#include "Fields.h"
#include "GatewayPause.h"
#include "KeyCodes.h"
#include "ListView.h"
#include "TabStrip.h"
#include "Twips.h"
#include "frmCopyMove.h"
#include "frmMain.h"
#include "frmOutlookImport.h"
#include "frmSendSMS.h"

namespace {

const QString kWindowName = QStringLiteral("frmAddressBook");
const QString kChooser = QStringLiteral("frmCopyMove");
const QString kImport = QStringLiteral("frmOutlookImport");
const QString kLocal = QStringLiteral("SMS");
const QString kPhone = QStringLiteral("ME");
const QString kSim = QStringLiteral("SM");
const QString kSection = QStringLiteral("Addressbook");

bool isPhoneStore(const QString& store) {
    return AddressBookStores::isPhoneStore(store);
}

}  // namespace

frmAddressBook::frmAddressBook(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_stores(ctx, this) {
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Tellwick: Addressbook"));
    isOutlookAvailable = [&ctx] {
        return ctx.windows().has(kImport) && frmOutlookImport::isOutlookAvailable(ctx);
    };
    phoneBook().onStatus = [this](const QString& text) {
        labStatus->setText(text);
        labStatus->repaint();
    };
    buildControls();

    connect(Tubby, &TabStrip::TabClick, this, [this](int) { Tubby_Click(); });
    connect(lstNames, &ListView::ColumnClick, this, &frmAddressBook::lstNames_ColumnClick);
    connect(lstNames, &ListView::ItemClick, this, [this](ListItem*) { lstNames_ItemClick(); });
    connect(lstNames, &ListView::DblClick, this, &frmAddressBook::lstNames_DblClick);
    connect(txtName, &QLineEdit::textChanged, this, &frmAddressBook::txtName_Change);
    connect(txtNumber, &QLineEdit::textChanged, this, &frmAddressBook::txtNumber_Change);
    connect(cmdAdd, &QPushButton::clicked, this, &frmAddressBook::cmdAdd_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmAddressBook::cmdReplace_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmAddressBook::cmdDelete_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmAddressBook::cmdCopy_Click);
    connect(cmdMove, &QPushButton::clicked, this, &frmAddressBook::cmdMove_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmAddressBook::cmdRefresh_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmAddressBook::cmdUpdate_Click);
    connect(cmdAbort, &QPushButton::clicked, this, &frmAddressBook::cmdAbort_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmAddressBook::cmdClose_Click);
    connect(cmdOutlook, &QPushButton::clicked, this, &frmAddressBook::cmdOutlook_Click);
    txtName->installEventFilter(this);
    txtNumber->installEventFilter(this);
    lstNames->installEventFilter(this);  // a row chosen with the keyboard counts as a click

    formLoad();
}

frmAddressBook::~frmAddressBook() = default;

// Loading: the local tab always, a tab for each phone memory that reports an index.
void frmAddressBook::formLoad() {
    Hourglass hourglass;
    frmMain& main = m_ctx.mainWindow();
    setWindowIcon(main.windowIcon());

    while (Tubby->count() > 0) {
        Tubby->removeTab(0);
    }
    Tubby->addTab1(QStringLiteral("&Tellwick"), kLocal);
    if (m_ctx.phone().checkDevice()) {
        for (const auto& [mem, caption] : {std::pair{kPhone, QStringLiteral("&Phone memory")},
                                           std::pair{kSim, QStringLiteral("SI&M memory")}}) {
            const QString info = getMemoryInfo(mem);
            const int max = getField(info, 1, QStringLiteral(",")).toInt();
            if (max >= 1) {
                Tubby->addTab1(caption, mem);
                MemoryState& st = memory(mem);
                st.max = max;
                st.numberLength = getField(info, 2, QStringLiteral(",")).toInt();
                st.nameLength = getField(info, 3, QStringLiteral(",")).toInt();
            }
        }
    }

    lstNames->clearColumns();
    lstNames->addColumn(QStringLiteral("Name"), listWidthTwips / 2);
    lstNames->addColumn(QStringLiteral("Number"), listWidthTwips / 2 - 350);
    lstNames->setSorted(true);
    lstNames->setLanguageSorted(0);
    lstNames->setSortKey(0);
    lstNames->setSortOrder(Qt::AscendingOrder);
    lstNames->clearColumnHeaderIcons();
    lstNames->setColumnHeaderIcon(0, main.lstImages.icon(QStringLiteral("Asc")));

    memory(kPhone).useLocal = true;
    memory(kSim).useLocal = true;
    phoneBook().copies().loadState();  // edits not yet written to the phone show as such
    m_currentMem = kLocal;
    getLocalAddresses(kLocal);
}

int frmAddressBook::getSelectedItems(const ListView* list) {
    return int(list->selectedListItems().size());
}

void frmAddressBook::getLocalAddresses(const QString& store) {
    IniStore& ini = m_ctx.ini();
    lstNames->clearItems();
    int n = 0;
    if (store == kLocal) {
        cmdOutlook->setEnabled(isOutlookAvailable && isOutlookAvailable());
        const QStringList names = ini.keys(kSection);
        for (const QString& name : names) {
            lstNames->addItem(name)->setSubItem(1, ini.readINI(kSection, name));
        }
        n = int(names.size());
        labStatus->setText(QStringLiteral("%1 addresses stored in local Tellwick addressbook").arg(n));
    } else {
        cmdOutlook->setEnabled(false);
        const QString section = PhoneBook::section(store);
        const QStringList keys = ini.keys(section);
        for (const QString& key : keys) {
            const QString value = ini.readINI(section, key);
            ListItem* row = lstNames->addItem(getField(value, 1, QStringLiteral("|")));
            row->setSubItem(1, getField(value, 2, QStringLiteral("|")));
            row->setTag(key);
        }
        n = int(keys.size());
        labStatus->setText(store == kPhone
                               ? QStringLiteral("%1 addresses saved locally from phone memory").arg(n)
                               : QStringLiteral("%1 addresses saved locally from SIM card").arg(n));
    }
    lstNames->clearSelection();
}

void frmAddressBook::openModalWithNumber(AppContext& ctx, const QString& number) {
    auto* book = ctx.windows().get<frmAddressBook>(kWindowName);
    if (!book || book->phoneBook().busy()) {
        return;
    }
    if (book->isVisible()) {
        book->hide();  // open beside the main window already: shown again, modally
    }
    book->txtNumber->setText(number);
    book->txtName->setFocus();
    book->exec();
}

bool frmAddressBook::ReadBook(const QString& memory) {
    cmdAbort->show();
    const bool read = phoneBook().readBook(memory, lstNames);
    cmdAbort->hide();
    if (!read) {
        showCopy(memory);  // as it was
        labStatus->setText(QStringLiteral("Reading failed; ") + labStatus->text());
    }
    return read;
}

void frmAddressBook::Tubby_Click() {
    if (phoneBook().busy()) {
        return;
    }
    const QIcon asc = m_ctx.mainWindow().lstImages.icon(QStringLiteral("Asc"));
    lstNames->setSortKey(0);
    lstNames->setSortOrder(Qt::AscendingOrder);
    lstNames->sort();
    lstNames->clearColumnHeaderIcons();
    lstNames->setColumnHeaderIcon(0, asc);
    txtName->clear();
    txtNumber->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{cmdDelete, cmdReplace, cmdCopy, cmdMove, cmdRefresh,
                                                      cmdUpdate, Tubby, cmdClose}) {
        w->setEnabled(false);
    }

    QString store = Tubby->tabKey(Tubby->selectedIndex());
    if (store.isEmpty()) {
        store = kLocal;
    }
    m_currentMem = store;
    if (store == kLocal) {
        getLocalAddresses(kLocal);
        setWindowTitle(QStringLiteral("Tellwick: Addressbook"));
    } else {
        MemoryState& st = memory(store);
        if (!st.useLocal) {
            bool read = true;
            if (st.changed) {
                const QString text = AddressBookTexts::saveBeforeReading(store);
                if (m_ctx.msgBox().show(text, MsgBox::YesNo, MsgBox::Question,
                                        QStringLiteral("Addressbook has changed"), this) == MsgBox::Yes) {
                    st.useLocal = true;  // the write-back lists the copy again; the read follows here
                    cmdUpdate_Click();
                    // Entries that did not reach the phone are not read over.
                    read = !st.changed;
                }
            }
            st.useLocal = true;
            // Entries typed into a copy never read from the phone exist nowhere else: kept.
            const QList<StoredEntry> typed =
                st.read ? QList<StoredEntry>() : phoneBook().copies().entries(store);
            if (read && ReadBook(store)) {
                cmdUpdate->setEnabled(false);
                setWindowTitle(st.incomplete() ? QStringLiteral("Tellwick: Addressbook (incomplete)")
                                               : QStringLiteral("Tellwick: Addressbook"));
                if (!typed.isEmpty()) {
                    m_stores.keepTyped(store, typed);
                    showCopy(store);
                }
            }
        } else {
            showCopy(store);
            if (lstNames->count() == 0 && !st.askedEmpty && !m_closing) {
                st.askedEmpty = true;
                if (m_ctx.msgBox().show(
                        QStringLiteral(
                            "This addressbook is empty, do you want to read it from the phone now?"),
                        MsgBox::YesNo, MsgBox::Information, QStringLiteral("No addresses found"),
                        this) == MsgBox::Yes) {
                    st.useLocal = false;
                    Tubby_Click();
                    return;
                }
                st.useLocal = true;
            }
        }
    }

    Tubby->setEnabled(true);
    cmdClose->setEnabled(true);
    cmdRefresh->setEnabled(isPhoneStore(store));
    // A selection of several rows left the boxes locked; a new listing has no selection.
    for (QWidget* w : std::initializer_list<QWidget*>{txtName, txtNumber, labName, LabNumber}) {
        w->setEnabled(true);
    }
    if (isPhoneStore(store)) {
        const MemoryState& st = memory(store);
        LabNumber->setText(QStringLiteral("N&umber (max. %1 digits):").arg(st.numberLength));
        labName->setText(QStringLiteral("&Name (max. %1 characters):").arg(st.nameLength));
    } else {
        LabNumber->setText(QStringLiteral("N&umber:"));
        labName->setText(QStringLiteral("&Name:"));
    }
}

// The clean-up of typed entries; the boxes show the cleaned text. False when nothing is left
// to store.
bool frmAddressBook::tidyBoxes(QString* name, QString* number) {
    *number = PhoneBook::cleanNumber(txtNumber->text());
    *name = PhoneBook::cleanName(txtName->text());
    if (m_currentMem == kLocal) {
        *name = PhoneBook::localKey(*name);
    }
    // Still typed, not stored, until the entry is added.
    const bool typed = entryTyped();
    txtNumber->setText(*number);
    txtName->setText(*name);
    txtName->setModified(typed);
    return !name->trimmed().isEmpty() && !number->isEmpty();
}

void frmAddressBook::showCopy(const QString& store) {
    const MemoryState& st = memory(store);
    getLocalAddresses(store);
    QString status = labStatus->text();
    if (st.incomplete()) {
        status += QStringLiteral(" (incomplete)");
    }
    cmdUpdate->setEnabled(st.changed);
    if (st.changed) {
        status += QStringLiteral(" (changed)");
        labChanged->show();
    }
    labStatus->setText(status);
    setWindowTitle(st.incomplete() ? QStringLiteral("Tellwick: Addressbook (incomplete)")
                                   : QStringLiteral("Tellwick: Addressbook"));
}

QList<BookRow> frmAddressBook::rowsOf(const QList<ListItem*>& items) const {
    QList<BookRow> rows;
    rows.reserve(items.size());
    for (const ListItem* row : items) {
        rows.append({row->tag(), row->text(), row->subItem(1)});
    }
    return rows;
}

void frmAddressBook::afterEdit() {
    Tubby_Click();
    txtName->clear();
    txtNumber->clear();
    cmdDelete->setEnabled(false);
    cmdAdd->setEnabled(false);
    cmdReplace->setEnabled(false);
}

void frmAddressBook::cmdAdd_Click() {
    QString name, number;
    if (phoneBook().busy() || !tidyBoxes(&name, &number)) {
        return;
    }
    if (!m_stores.add(m_currentMem, name, number)) {
        return;  // answered No, or refused: the boxes keep the entry to mend
    }
    afterEdit();
}

void frmAddressBook::cmdReplace_Click() {
    ListItem* row = lstNames->selectedItem();
    QString name, number;
    if (phoneBook().busy() || !row || !tidyBoxes(&name, &number)) {
        return;
    }
    if (!m_stores.replace(m_currentMem, rowsOf({row}).first(), name, number)) {
        return;
    }
    afterEdit();
}

void frmAddressBook::cmdDelete_Click() {
    if (phoneBook().busy()) {
        return;
    }
    const QString from = m_currentMem == kLocal   ? QStringLiteral(" from Tellwick's addressbook?")
                         : m_currentMem == kPhone ? QStringLiteral(" from your phone addressbook?")
                                                  : QStringLiteral(" from your SIM addressbook?");
    if (m_ctx.msgBox().show(QStringLiteral("Do you really want to delete selected address(es)") + from,
                            MsgBox::YesNo, MsgBox::Question, QStringLiteral("Tellwick: Delete address(es)"),
                            this) != MsgBox::Yes) {
        return;
    }
    m_stores.remove(m_currentMem, rowsOf(lstNames->selectedListItems()));
    afterEdit();
}

void frmAddressBook::cmdCopy_Click() {
    copyOrMove(false);
}

void frmAddressBook::cmdMove_Click() {
    copyOrMove(true);
}

QString frmAddressBook::getDestMemory(const QString& buttonName, const QString& current) {
    if (!m_ctx.windows().has(kChooser)) {
        return {};
    }
    return frmCopyMove::chooseDestination(m_ctx, buttonName, current, memory(kPhone).max, memory(kSim).max,
                                          this);
}

void frmAddressBook::copyOrMove(bool move) {
    if (phoneBook().busy()) {
        return;
    }
    const QString source = m_currentMem;
    const QString target =
        getDestMemory(move ? QStringLiteral("cmdMove") : QStringLiteral("cmdCopy"), source);
    if (target.isEmpty()) {
        return;
    }
    if (!m_stores.roomFor(target, getSelectedItems(lstNames), move)) {
        lstNames->setFocus();
        return;
    }
    m_stores.transfer(source, target, rowsOf(lstNames->selectedListItems()), move);
    Tubby_Click();
}

void frmAddressBook::setEditingEnabled(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{lstNames, txtName, txtNumber, cmdAdd, cmdDelete, cmdReplace, cmdCopy,
                                         cmdMove, cmdRefresh, cmdUpdate, Tubby, cmdClose}) {
        w->setEnabled(on);
    }
}

void frmAddressBook::cmdUpdate_Click() {
    const QString mem = m_currentMem;
    if (phoneBook().busy() || !isPhoneStore(mem) || !readBeforeUpdate(mem)) {
        return;
    }
    const GatewayPause pause(m_ctx);
    txtName->clear();
    txtNumber->clear();
    setEditingEnabled(false);
    cmdAbort->show();

    QList<ListItem*> items;
    for (int i = 1; i <= lstNames->count(); ++i) {
        items.append(lstNames->item(i));
    }
    if (m_stores.writeBack(mem, rowsOf(items)) == PhoneBook::WriteResult::Written) {
        labChanged->hide();
        cmdUpdate->setEnabled(false);
    }
    cmdAbort->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{lstNames, txtName, txtNumber}) {
        w->setEnabled(true);
    }
    Tubby_Click();
}

bool frmAddressBook::readBeforeUpdate(const QString& mem) {
    if (memory(mem).read) {
        return true;
    }
    if (m_ctx.msgBox().show(AddressBookTexts::readBeforeUpdate(mem), MsgBox::YesNo, MsgBox::Question,
                            QStringLiteral("Addressbook not read from the phone"), this) != MsgBox::Yes) {
        labStatus->setText(
            QStringLiteral("Nothing was written to the phone: the addressbook has not been read "
                           "from it yet."));
        return false;
    }
    const QList<StoredEntry> typed = phoneBook().copies().entries(mem);
    if (!ReadBook(mem)) {
        return false;  // the copy, typed entries and all, stays as it was
    }
    m_stores.keepTyped(mem, typed);
    showCopy(mem);
    return true;
}

void frmAddressBook::cmdAbort_Click() {
    phoneBook().abort();
}

void frmAddressBook::cmdRefresh_Click() {
    if (phoneBook().busy() || !isPhoneStore(m_currentMem)) {
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{lstNames, txtName, txtNumber}) {
        w->setEnabled(false);
    }
    const GatewayPause pause(m_ctx);
    memory(m_currentMem).useLocal = false;
    Tubby_Click();
    for (QWidget* w : std::initializer_list<QWidget*>{lstNames, txtName, txtNumber}) {
        w->setEnabled(true);
    }
}

bool frmAddressBook::entryTyped() const {
    return (txtName->isModified() || txtNumber->isModified()) &&
           !(txtName->text().trimmed().isEmpty() && txtNumber->text().trimmed().isEmpty());
}

bool frmAddressBook::typedEntryAnswered() {
    if (!entryTyped()) {
        return true;
    }
    const int answer =
        m_ctx.msgBox().show(QStringLiteral("The entry '%1' (%2) has not been added to the addressbook.")
                                    .arg(txtName->text(), txtNumber->text()) +
                                QStringLiteral("\r\n\r\nDo you want to add it before closing?"),
                            MsgBox::YesNoCancel, MsgBox::Question, QStringLiteral("Entry not added"), this);
    if (answer == MsgBox::No) {
        return true;
    }
    if (answer == MsgBox::Yes) {
        addTypedEntry();
        return !entryTyped();  // added; otherwise the window stays open with it
    }
    return false;
}

void frmAddressBook::addTypedEntry() {
    if (cmdAdd->isEnabled()) {
        cmdAdd_Click();
    } else {
        (txtName->text().trimmed().isEmpty() ? txtName : txtNumber)->setFocus();
    }
}

void frmAddressBook::cmdClose_Click() {
    // The window must not go while a phone dialogue waits, nor drop an entry typed unasked.
    if (phoneBook().busy() || !typedEntryAnswered()) {
        return;
    }
    m_closing = true;
    for (const QString& mem : {kPhone, kSim}) {
        if (!memory(mem).changed) {
            continue;
        }
        const QString text = AddressBookTexts::saveBeforeClosing(mem);
        const int answer = m_ctx.msgBox().show(text, MsgBox::YesNoCancel, MsgBox::Question,
                                               QStringLiteral("Tellwick: Save addressbook to phone"), this);
        if (answer == MsgBox::Cancel) {
            m_closing = false;
            return;
        }
        if (answer == MsgBox::Yes) {
            {
                const QSignalBlocker quiet(Tubby);
                Tubby->setSelectedIndex(Tubby->indexOfKey(mem));
            }
            m_currentMem = mem;
            getLocalAddresses(mem);
            cmdUpdate_Click();
        }
    }
    unloadMe();
}

void frmAddressBook::cmdOutlook_Click() {
    if (phoneBook().busy() || m_currentMem != kLocal || !m_ctx.windows().has(kImport)) {
        return;
    }
    frmOutlookImport::openModal(m_ctx, lstNames, [this] { Tubby_Click(); });
}

void frmAddressBook::lstNames_ColumnClick(int column) {
    const frmMain& main = m_ctx.mainWindow();
    lstNames->clearColumnHeaderIcons();
    lstNames->setSortKey(column);
    if (lstNames->sortOrder() == Qt::DescendingOrder) {
        lstNames->setSortOrder(Qt::AscendingOrder);
        lstNames->setColumnHeaderIcon(column, main.lstImages.icon(QStringLiteral("Asc")));
    } else {
        lstNames->setSortOrder(Qt::DescendingOrder);
        lstNames->setColumnHeaderIcon(column, main.lstImages.icon(QStringLiteral("Desc")));
    }
    lstNames->sort();
}

void frmAddressBook::lstNames_ItemClick() {
    if (lstNames->count() == 0) {
        return;
    }
    const int selected = getSelectedItems(lstNames);
    if (ListItem* row = lstNames->selectedItem()) {
        txtName->setText(row->text());
        txtNumber->setText(row->subItem(1));
    }
    for (QPushButton* b : {cmdDelete, cmdCopy, cmdMove}) {
        b->setEnabled(true);
    }
    const bool one = selected == 1;
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdAdd, cmdReplace, txtName, txtNumber, labName, LabNumber}) {
        w->setEnabled(one);
    }
    if (selected > 1) {
        txtName->clear();
        txtNumber->clear();
    }
}

void frmAddressBook::lstNames_DblClick(ListItem* item) {
    if (phoneBook().busy()) {
        return;
    }
    const QString number = item ? item->subItem(1) : txtNumber->text();
    // The compose dialog checks the phone while it loads and the message loop runs meanwhile,
    // so this window may be closed and unloaded before the call returns.
    const QPointer<frmAddressBook> self(this);
    frmSendSMS::openModal(m_ctx, QStringLiteral("Tellwick: Send SMS message"), number, {});
    if (self) {
        lstNames->setFocus();
    }
}

void frmAddressBook::txtName_Change() {
    cmdAdd->setEnabled(!txtName->text().isEmpty() && !txtNumber->text().isEmpty());
}

void frmAddressBook::txtNumber_Change() {
    txtName_Change();
}

bool frmAddressBook::keyAllowed(const QLineEdit* box, int limit, int keyAscii) {
    if (keyAscii == KeyCodes::Return || keyAscii == KeyCodes::Back || keyAscii < 32 ||
        !isPhoneStore(m_currentMem) || box->text().size() < limit) {
        return true;
    }
    m_ctx.prompts().beeper.beep();
    return false;
}

bool frmAddressBook::txtName_KeyPress(int keyAscii) {
    return isPhoneStore(m_currentMem) ? keyAllowed(txtName, memory(m_currentMem).nameLength, keyAscii) : true;
}

bool frmAddressBook::txtNumber_KeyPress(int keyAscii) {
    return isPhoneStore(m_currentMem) ? keyAllowed(txtNumber, memory(m_currentMem).numberLength, keyAscii)
                                      : true;
}

bool frmAddressBook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstNames && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        // A key that chose another row (arrows, paging, a typed letter, Ctrl+A) counts as a
        // click; otherwise the boxes would still hold the row clicked before, and replace
        // would write that entry over the row the keys moved to. Only compared, never used.
        const auto now =
            std::pair{static_cast<const void*>(lstNames->selectedItem()), getSelectedItems(lstNames)};
        if (event->type() == QEvent::KeyPress) {
            m_keyRow = now;
        } else if (now != m_keyRow) {
            m_keyRow = now;
            lstNames_ItemClick();
        }
    }
    if (event->type() == QEvent::KeyPress && (watched == txtName || watched == txtNumber)) {
        // Enter with an entry typed adds it; the close button (the default) must not drop it.
        const int pressed = static_cast<QKeyEvent*>(event)->key();
        if ((pressed == Qt::Key_Return || pressed == Qt::Key_Enter) && entryTyped()) {
            addTypedEntry();
            return true;
        }
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty()) {
            const int key = text.at(0).unicode();
            const bool ok = watched == txtName ? txtName_KeyPress(key) : txtNumber_KeyPress(key);
            if (!ok) {
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAddressBook::reject() {
    if (!cmdAbort->isHidden() || phoneBook().busy()) {
        cmdAbort_Click();
    } else if (cmdClose->isEnabled()) {
        cmdClose_Click();
    }
}

void frmAddressBook::closeEvent(QCloseEvent* event) {
    if (!m_unloaded && (phoneBook().busy() || !typedEntryAnswered())) {
        event->ignore();
        return;
    }
    event->accept();
    unloadMe();
}

void frmAddressBook::unloadMe() {
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    done(QDialog::Accepted);
    if (m_ctx.windows().existing(kWindowName) == this) {
        m_ctx.windows().unload(kWindowName);
    }
}
