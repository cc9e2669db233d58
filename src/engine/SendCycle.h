#pragma once

#include <QSet>
#include <QString>

class AppContext;

// The send cycle: every message file of the outgoing folder goes out through sendSMSFile,
// oldest first, until the folder holds no file it has not tried yet.
class SendCycle {
public:
    explicit SendCycle(AppContext& ctx) : m_ctx(ctx) {}

    // Sends the folder's files; returns how many files were handed to sendSMSFile. Does
    // nothing when called again while it runs (the phone dialogue lets events in).
    int run();
    bool isRunning() const { return m_running; }
    // Ends a running cycle after the file it is sending (the program is closing).
    void stop() { m_stopping = m_running; }

    // Files that could be neither sent nor filed in the sent folder stay where they are and
    // are not tried again while the program runs (they would reach the good recipients twice).
    const QSet<QString>& stuckFiles() const { return m_stuck; }

private:
    AppContext& m_ctx;
    bool m_running = false;
    bool m_stopping = false;
    QSet<QString> m_stuck;
};
