#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "Spool.h"

class AppContext;

// The send cycle: every complete message file of the outgoing folder is claimed and goes out,
// oldest first, until the folder holds no file it has not tried yet. It stops early when the
// phone goes away or stops answering; the files not yet claimed stay where they are. Messages a
// program that ended mid-send left claimed go back into the folder at the first look.
class SendCycle {
public:
    explicit SendCycle(AppContext& ctx) : m_ctx(ctx) {}

    // Sends the folder's files; returns how many files were handed to sendSMSFile. Does
    // nothing when called again while it runs (the phone dialogue lets events in).
    int run();
    bool isRunning() const { return m_running; }
    // Ends a running cycle after the file it is sending (the program is closing).
    void stop() { m_stopping = m_running; }

    // Why the last run left files behind: "" when it went through the folder.
    QString stoppedBecause() const { return m_stoppedBecause; }

    // The folder's files that are complete, in sending order. Another program may still be
    // writing a file: one whose size or time stamp changed since it was last seen, or that
    // changed less than kSettleMs ago, waits. Entries that are no messages (links, FIFOs,
    // folders named like one) are logged once each.
    QStringList readyFiles(const QString& folder);
    // Puts the messages this program folder had claimed when it last ended (a crash) back into
    // folder, once per folder while the program runs; readyFiles does it too.
    void takeUpClaims(const QString& folder);
    static constexpr qint64 kSettleMs = 2000;
    // Milliseconds until a file held back by readyFiles may be taken; -1 when none waits.
    qint64 msUntilReady() const { return m_msUntilReady; }

private:
    struct Seen {
        qint64 size = 0;
        qint64 modified = 0;
        quint64 inode = 0;
        bool operator==(const Seen&) const = default;
    };
    // Logs text once for name until the name leaves the folder.
    void logOnce(const QByteArray& name, const QString& text);
    // Claims and sends one file; false when it was not claimed (it stays where it is).
    bool sendOne(const Spool::Entry& e, QString* result);

    AppContext& m_ctx;
    bool m_running = false;
    bool m_stopping = false;
    QString m_stoppedBecause;
    QHash<QByteArray, Seen> m_seen;
    QList<Spool::Entry> m_ready;
    QSet<QByteArray> m_logged;
    QSet<QString> m_recovered;
    qint64 m_msUntilReady = -1;
};
