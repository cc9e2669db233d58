#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class AppContext;

// The send cycle: every complete message file of the outgoing folder goes out through
// sendSMSFile, oldest first, until the folder holds no file it has not tried yet. It stops
// early when the phone goes away or stops answering; the files not yet sent stay where they are.
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

    // Files that could be neither sent nor filed in the sent folder stay where they are and
    // are not tried again while the program runs (they would reach the good recipients twice).
    const QSet<QString>& stuckFiles() const { return m_stuck; }

    // The folder's files that are complete, in sending order. Another program may still be
    // writing a file: one whose size or time stamp changed since it was last seen, or that
    // changed less than kSettleMs ago, waits.
    QStringList readyFiles(const QString& folder);
    static constexpr qint64 kSettleMs = 2000;
    // Milliseconds until a file held back by readyFiles may be taken; -1 when none waits.
    qint64 msUntilReady() const { return m_msUntilReady; }

private:
    struct Seen {
        qint64 size = 0;
        qint64 modified = 0;
        bool operator==(const Seen&) const = default;
    };

    AppContext& m_ctx;
    bool m_running = false;
    bool m_stopping = false;
    QString m_stoppedBecause;
    QSet<QString> m_stuck;
    QHash<QString, Seen> m_seen;
    qint64 m_msUntilReady = -1;
};
