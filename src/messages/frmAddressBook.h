#pragma once

#include <QDialog>
#include <functional>
#include <utility>

#include "AddressBookStores.h"

class AppContext;
class ListView;
class ListItem;
class QLabel;
class QLineEdit;
class QPushButton;
class TabStrip;

// The address book: the local list of [Addressbook] and, when the phone has them, the local
// copies of its phone and SIM phonebook memories, one store at a time. Phone stores are
// edited offline and written to the phone only by the update command. Shown beside the main
// window, or modally by the message browser; only one instance exists.
class frmAddressBook : public QDialog {
    Q_OBJECT
public:
    explicit frmAddressBook(AppContext& ctx, QWidget* parent = nullptr);
    ~frmAddressBook() override;

    QLabel* labBooks = nullptr;
    TabStrip* Tubby = nullptr;
    ListView* lstNames = nullptr;
    QLabel* labName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* LabNumber = nullptr;
    QLineEdit* txtNumber = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdReplace = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdAbort = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdMove = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdOutlook = nullptr;
    QLabel* labStatus = nullptr;
    QLabel* labHint = nullptr;
    QLabel* labChanged = nullptr;

    static constexpr int listWidthTwips = 5400;

    // "SMS" (local), "ME" or "SM".
    QString currentMem() const { return m_currentMem; }
    MemoryState& memory(const QString& mem) { return m_stores.memory(mem); }
    PhoneBook& phoneBook() { return m_stores.book(); }

    // Whether the contacts import has contacts to offer; enables the import button on the
    // local store. By default: the import window is there and its contacts source exists.
    std::function<bool()> isOutlookAvailable;

    // Operations other windows and the window's own commands use.
    QString getMemoryInfo(const QString& memory) { return phoneBook().getMemoryInfo(memory); }
    // False when nothing could be read: the copy is listed as it was.
    bool ReadBook(const QString& memory);
    bool savePhoneEntry(const QString& memory, const QString& name, const QString& number,
                        const QString& index) {
        return phoneBook().savePhoneEntry(memory, name, number, index);
    }
    int getNumEntries(const QString& memory) { return phoneBook().getNumEntries(memory); }
    void getLocalAddresses(const QString& store);
    void Tubby_Click();
    // The store the copy or move command sends the selection to ("" when none was chosen).
    QString getDestMemory(const QString& buttonName, const QString& current);
    static int getSelectedItems(const ListView* list);
    // The message browser's way in: the single instance shown modally with the number box
    // preset and the focus in the name box; returns once it has closed. Does nothing while
    // the window waits on the phone.
    static void openModalWithNumber(AppContext& ctx, const QString& number);

    // Handlers.
    void cmdAdd_Click();
    void cmdReplace_Click();
    void cmdDelete_Click();
    void cmdCopy_Click();
    void cmdMove_Click();
    void cmdRefresh_Click();
    void cmdUpdate_Click();
    void cmdAbort_Click();
    void cmdClose_Click();
    void cmdOutlook_Click();
    void lstNames_ColumnClick(int column);
    void lstNames_ItemClick();
    void lstNames_DblClick(ListItem* item);
    void txtName_Change();
    void txtNumber_Change();
    // False when the key is refused (the box already holds as many characters as the memory
    // stores).
    bool txtName_KeyPress(int keyAscii);
    bool txtNumber_KeyPress(int keyAscii);

    // Escape presses the abort button while a phone dialogue runs, otherwise the close button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();  // in frmAddressBookLayout.cpp
    void formLoad();
    void copyOrMove(bool move);
    bool tidyBoxes(QString* name, QString* number);
    // Whether the boxes hold an entry the user typed (not one a row or the browser put there).
    bool entryTyped() const;
    // Adds the typed entry, or puts the focus into the box still empty.
    void addTypedEntry();
    // Before closing with an entry typed: asks whether to add it; false keeps the window open.
    bool typedEntryAnswered();
    // The copy of a phone store listed, with its marks: " (incomplete)", " (changed)", the
    // changed notice, the update button and the caption.
    void showCopy(const QString& store);
    QList<BookRow> rowsOf(const QList<ListItem*>& items) const;
    void afterEdit();
    // Before an update of a memory never read from the phone: reads it when the user agrees,
    // keeping the entries typed meanwhile. False when nothing may be written.
    bool readBeforeUpdate(const QString& mem);
    void setEditingEnabled(bool on);
    bool keyAllowed(const QLineEdit* box, int limit, int keyAscii);
    void unloadMe();

    AppContext& m_ctx;
    AddressBookStores m_stores;
    QString m_currentMem = QStringLiteral("SMS");
    bool m_closing = false;
    bool m_unloaded = false;
    std::pair<const void*, int> m_keyRow{nullptr, 0};  // the row and selection before a key
};
