#pragma once

#include <QList>
#include <QString>

#include "PhoneBook.h"

class AppContext;
class QWidget;

// One row of the address book's list: tag (a phone store's index), name and number.
struct BookRow {
    QString tag;
    QString name;
    QString number;
};

// The address book's three stores apart from its window: the local list [Addressbook] and
// the copies of the phone's memories, edited through add, replace, delete, copy and move,
// and written to the phone by the write-back. An entry goes into a phone memory only as the
// memory can hold it: a longer name is cut, an entry with a longer number is refused, and
// one box per operation names both. Questions and boxes are owned by window.
class AddressBookStores {
public:
    AddressBookStores(AppContext& ctx, QWidget* window);

    PhoneBook& book() { return m_book; }
    MemoryState& memory(const QString& mem) { return m_book.state(mem); }
    static bool isPhoneStore(const QString& store);

    // A cleaned entry added to the store (phone: the first free index; local: asked before a
    // name is overwritten). False when nothing was stored.
    bool add(const QString& store, const QString& name, const QString& number);
    // The entry of row replaced by name and number.
    bool replace(const QString& store, const BookRow& row, const QString& name, const QString& number);
    void remove(const QString& store, const QList<BookRow>& rows);

    // Whether selected more entries fit into the phone memory target; otherwise the
    // "Too many entries selected" box, and false.
    bool roomFor(const QString& target, int selected, bool move);
    // Copies rows from source to target, asking before an entry is overwritten; a move then
    // removes from source the rows that were stored.
    void transfer(const QString& source, const QString& target, const QList<BookRow>& rows, bool move);

    // Entries typed into a copy before it was read, added again to the copy just read: at free
    // indexes, and where none is left into the local list (one box names them). An entry the
    // read copy holds already is not added twice.
    void keepTyped(const QString& memory, const QList<StoredEntry>& typed);

    // Writes rows back to the phone memory; the copy stays marked changed unless every row
    // reached the phone.
    PhoneBook::WriteResult writeBack(const QString& memory, const QList<BookRow>& rows);

    // Whether the local list has an entry under key (compared as the settings file compares keys).
    bool localHas(const QString& key) const;
    // The index of the phone memory's copy that holds exactly this name and number, "" when none.
    QString phoneIndexOf(const QString& memory, const QString& name, const QString& number) const;

private:
    // The entry made to fit memory; the cut or refusal is noted for the operation's box.
    FittedEntry fit(const QString& memory, const QString& name, const QString& number);
    void reportTooLong(const QString& mem);

    AppContext& m_ctx;
    QWidget* m_window;
    PhoneBook m_book;
    QStringList m_cut;
    QStringList m_refused;
};
