#pragma once

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

class AppContext;

// What the address book keeps of one phonebook memory of the phone ("ME" or "SM").
struct MemoryState {
    int max = 0;           // highest index
    int numberLength = 0;  // longest number the memory stores
    int nameLength = 0;    // longest name
    int count = 0;         // entries found by the last read
    bool useLocal = true;  // show the local copy instead of reading the phone
    bool changed = false;  // the local copy differs from the phone
    bool askedEmpty = false;
    // The copy holds what a read of the phone gave in this program folder (all of it but
    // unread). Until then the program has not seen any index of the memory: nothing of the
    // phone may be erased or written over.
    bool read = false;
    // Indexes whose content on the phone the copy does not know (the read stopped or failed
    // there): no entry of the copy goes there and a write-back leaves them alone.
    QSet<int> unread;
    bool incomplete() const { return !unread.isEmpty(); }
};

// One entry of a phone memory: name and number.
struct StoredEntry {
    QString name;
    QString number;
};

// A name and number made to fit a phone memory: a longer name is cut, a longer number is
// never cut (a cut number calls someone else) and refuses the entry.
struct FittedEntry {
    QString name;
    QString number;
    bool nameCut = false;
    bool numberTooLong = false;
};

// The local copies of the phone's memories: [Addressbook.ME] and [Addressbook.SM] ("<index>"
// = "<name>|<number>"), and beside each its state [Addressbook.<memory>.State]: Read=1 once a
// read of the phone filled the copy, Changed=1 while the copy holds edits the phone has not
// got, Unread=<index ranges> while the copy is not a complete read. The state survives closing the window, so
// what it shows on opening again is true.
class PhoneCopies {
public:
    explicit PhoneCopies(AppContext& ctx);

    // "ME" selects the phone memory's state, anything else the SIM memory's.
    MemoryState& state(const QString& memory);
    const MemoryState& state(const QString& memory) const;
    static QString section(const QString& memory);       // "Addressbook.<memory>"
    static QString stateSection(const QString& memory);  // "Addressbook.<memory>.State"

    // Takes changed and unread of both memories from the settings file.
    void loadState();
    // Marks the copy changed (or not) and keeps the mark in the settings file.
    bool setChanged(const QString& memory, bool changed);

    // Stores "<name>|<number>" under index, or under the first free index (never one the copy
    // has not read) when index is empty, and marks the memory changed. False (after the
    // "memory full" box) when no index is free or the settings file refused the value.
    bool savePhoneEntry(const QString& memory, const QString& name, const QString& number,
                        const QString& index);
    bool deleteEntry(const QString& memory, const QString& index);
    int getNumEntries(const QString& memory) const;
    // Indexes neither used by the copy nor unknown to it.
    int freeIndexes(const QString& memory) const;

    // The copy becomes exactly these entries, read from the phone, complete but for unread,
    // unchanged: one write of the settings file for the copy and its state.
    bool replaceCopy(const QString& memory, const QMap<int, StoredEntry>& entries, const QSet<int>& unread);
    // The entries of the copy.
    QList<StoredEntry> entries(const QString& memory) const;
    // The copy's indexes the phone now holds as the copy says.
    void markRead(const QString& memory, const QSet<int>& indexes);

    // A name and number as the memory can hold them (no limit where the phone gave none).
    FittedEntry fit(const QString& memory, const QString& name, const QString& number) const;
    // text cut to at most length characters, never between the halves of a surrogate pair.
    static QString cutText(const QString& text, int length);

    // "1-3,7" and back.
    static QString rangesText(const QSet<int>& indexes);
    static QSet<int> rangesOf(const QString& text, int limit);

private:
    bool saveState(const QString& memory);

    AppContext& m_ctx;
    MemoryState m_me;
    MemoryState m_sm;
};
