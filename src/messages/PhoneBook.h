#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "PhoneCopies.h"

class AppContext;
class ListView;
class PhoneBookCharset;

// One row of a phone store: index (the tag), name and number.
struct PhoneEntry {
    QString index;
    QString name;
    QString number;
};

// The phone side of the address book: the phonebook dialogues (size and field lengths of a
// memory, reading a memory into its local copy, writing the copy back) and the helpers that
// keep the local copies [Addressbook.ME] and [Addressbook.SM] ("<index>" = "<name>|<number>").
// Every command waits in the message loop, so the engine's timers are switched off meanwhile.
class PhoneBook {
public:
    explicit PhoneBook(AppContext& ctx);

    // The local copies and the state of both memories.
    PhoneCopies& copies() { return m_copies; }
    MemoryState& state(const QString& memory) { return m_copies.state(memory); }
    static QString section(const QString& memory) { return PhoneCopies::section(memory); }

    // Busy flags of the running loops; abort() clears both.
    bool reading = false;
    bool writing = false;
    void abort() {
        reading = false;
        writing = false;
    }
    // True while a read or a write-back waits on the phone (also after an abort, until the
    // loop has returned).
    bool busy() const { return m_busy > 0; }

    // The status line, and a view that pending events should repaint.
    std::function<void(const QString&)> onStatus;
    QString status() const { return m_status; }

    // "<max>,<numberLength>,<nameLength>", "0,0,0" when the memory is not supported.
    // An empty memory means "SM".
    QString getMemoryInfo(const QString& memory);
    // The same from the phone's reply to "AT+CPBR=?" as sendCommand returns it with its "OK"
    // ("+CPBR: (1-250),40,16||OK").
    static QString parseMemoryInfo(const QString& reply);

    // Reads indexes 1..max of the memory into the list (rows: name, number, tag = index) and
    // then, in one write, into its local copy, which it replaces. Indexes go in ranges of
    // readRange, one at a time where a range fails. Indexes that could not be read (an abort,
    // a failing index) leave the copy incomplete; a read that got nothing at all (the memory
    // could not be selected, every index failed) keeps the old copy and returns false after
    // saying so. Names are read in UCS2 where the phone has it; in another set a name with
    // "?" may have lost characters, and one box names them. Runs with the main window's timers
    // suspended.
    bool readBook(const QString& memory, ListView* list);
    static constexpr int readRange = 10;

    enum class WriteResult { Written, Incomplete, StorageError, NotRead };
    // Erases indexes 1..max of the memory that the copy has read, then writes every row.
    // NotRead, with nothing sent, while the copy has never been read from the phone.
    // Incomplete when the write phase was aborted or the phone refused a row; the refused
    // rows are named in one box. Names go in the set in force, or in UCS2 where one needs it;
    // where the phone has no set for a name, it gets "?" for what is lacking and one box
    // names each such entry.
    WriteResult writeBack(const QString& memory, const QList<PhoneEntry>& rows);

    bool savePhoneEntry(const QString& memory, const QString& name, const QString& number,
                        const QString& index) {
        return m_copies.savePhoneEntry(memory, name, number, index);
    }
    int getNumEntries(const QString& memory) const { return m_copies.getNumEntries(memory); }

    // Typed entries: blanks, dashes, slashes, backslashes and commas leave a number, a
    // comma in a name becomes a blank. Double quotes (they would end the quoted field of a
    // phonebook command) and "|" (the separator of a stored phone entry) never pass.
    static QString cleanNumber(const QString& number);
    static QString cleanName(const QString& name);
    // What any name or number loses before it goes into a stored phone entry or a command:
    // double quotes and control characters; "|" (a blank in a name).
    static QString storableNumber(const QString& number);
    static QString storableName(const QString& name);
    // A name as the key of the local address book: "=" becomes a blank and a leading "[" or
    // ";" goes, so the settings file takes it as a key.
    static QString localKey(const QString& name);
    // The entries of a reply to "AT+CPBR=<i>", one per line "+CPBR: <index>,"<number>",<type>,
    // "<name>"". A reply may begin with the late answer to an earlier index, so each entry
    // carries the index its line names (0 when the line names none). A number of type 145
    // (international) is given its "+". Names and numbers come in charset's set (none: bytes as
    // Latin-1).
    struct ReadEntry {
        int index = 0;
        QString number;
        QString name;
    };
    static QList<ReadEntry> parseEntries(const QString& reply, const PhoneBookCharset* charset = nullptr);

private:
    QString send(const QString& command, bool keepOK = false);
    QString sendRepeated(const QString& command);
    void setStatus(const QString& text);
    void report(const QString& text, const QString& title);
    void reportIndexError(const QString& memory, int index, const QString& reply);
    void reportCharset(const QString& text);

    AppContext& m_ctx;
    PhoneCopies m_copies;
    QString m_status;
    int m_busy = 0;
};
