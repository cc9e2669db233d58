#pragma once

#include <QList>
#include <QString>
#include <functional>

class AppContext;
class ListView;

// What the address book keeps of one phonebook memory of the phone ("ME" or "SM").
struct MemoryState {
    int max = 0;           // highest index
    int numberLength = 0;  // longest number the memory stores
    int nameLength = 0;    // longest name
    int count = 0;         // entries found by the last read
    bool useLocal = true;  // show the local copy instead of reading the phone
    bool changed = false;  // the local copy differs from the phone
    bool askedEmpty = false;
};

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

    // "ME" selects the phone memory's state, anything else the SIM memory's.
    MemoryState& state(const QString& memory);
    static QString section(const QString& memory);  // "Addressbook.<memory>"

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
    // into its section, which it deletes first. Runs with the main window's timers suspended.
    void readBook(const QString& memory, ListView* list);

    enum class WriteResult { Written, Incomplete, StorageError };
    // Erases indexes 1..max of the memory, then writes every row. Incomplete when the write
    // phase was aborted or a row could not be saved.
    WriteResult writeBack(const QString& memory, const QList<PhoneEntry>& rows);

    // Stores "<name>|<number>" under index, or under the first free index when index is
    // empty, and marks the memory changed. False (after the "memory full" box) when no index
    // is free or the settings file refused the value.
    bool savePhoneEntry(const QString& memory, const QString& name, const QString& number,
                        const QString& index);
    int getNumEntries(const QString& memory) const;

    // The engine's two timers switched off and back on directly; nested pairs are safe and
    // each timer comes back only when it was running.
    void timersOff();
    void timersOn();

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
    // carries the index its line names (0 when the line names none).
    struct ReadEntry {
        int index = 0;
        QString number;
        QString name;
    };
    static QList<ReadEntry> parseEntries(const QString& reply);

private:
    QString send(const QString& command, bool keepOK = false);
    QString sendRepeated(const QString& command);
    void setStatus(const QString& text);
    void report(const QString& text, const QString& title);

    AppContext& m_ctx;
    MemoryState m_me;
    MemoryState m_sm;
    QString m_status;
    int m_busy = 0;
    int m_timersOff = 0;
    bool m_pollWasRunning = false;
    bool m_signalWasRunning = false;
};
