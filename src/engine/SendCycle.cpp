#include "SendCycle.h"

#include <unistd.h>
#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "AppContext.h"
#include "InputHold.h"
#include "MessageFiles.h"
#include "ProgramFolder.h"

void SendCycle::logOnce(const QByteArray& name, const QString& text) {
    if (!m_logged.contains(name)) {
        m_logged.insert(name);
        m_ctx.log().writeLog(text);
    }
}

void SendCycle::takeUpClaims(const QString& folder) {
    if (m_recovered.contains(folder)) {
        return;
    }
    m_recovered.insert(folder);
    QStringList errors;
    for (const QString& name : Spool::recover(folder, Spool::ownerId(m_ctx.programFolder()), &errors)) {
        m_ctx.log().writeLog(
            QStringLiteral("%1 was being sent when Tellwick ended: it is sent again").arg(name));
    }
    for (const QString& error : std::as_const(errors)) {
        m_ctx.log().writeLog(
            QStringLiteral("ERROR: a message left being sent cannot go back to %1: %2").arg(folder, error));
    }
}

QStringList SendCycle::readyFiles(const QString& folder) {
    takeUpClaims(folder);
    Spool::Listing listing = Spool::scan(folder);
    QSet<QByteArray> present;
    for (const auto& [name, kind] : std::as_const(listing.others)) {
        present.insert(name);
        logOnce(name, QStringLiteral("%1 left alone: it is %2, not a message file")
                          .arg(ProgramFolder::join(folder, Spool::decodedName(name)), kind));
    }
    Spool::sortForSending(listing.messages);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QHash<QByteArray, Seen> seen;
    QStringList ready;
    m_ready.clear();
    m_msUntilReady = -1;
    for (const Spool::Entry& e : std::as_const(listing.messages)) {
        present.insert(e.name);
        const Seen sig{e.size, e.modifiedMs, e.inode};
        const auto before = m_seen.constFind(e.name);
        const bool changed = before != m_seen.cend() && !(*before == sig);
        const qint64 age = now - sig.modified;
        // A time stamp in the future (another clock) counts once it was seen unchanged.
        const bool young = age >= 0 ? age < kSettleMs : before == m_seen.cend();
        seen.insert(e.name, sig);
        if (!changed && !young) {
            ready.append(e.path);
            m_ready.append(e);
            continue;
        }
        const qint64 wait = std::max<qint64>(kSettleMs - std::max<qint64>(age, 0), 0) + 100;
        m_msUntilReady = m_msUntilReady < 0 ? wait : std::min(m_msUntilReady, wait);
    }
    m_seen.swap(seen);  // files that are gone are forgotten
    // A name that left the folder is logged again should it come back.
    for (auto it = m_logged.begin(); it != m_logged.end();) {
        it = present.contains(*it) ? std::next(it) : m_logged.erase(it);
    }
    return ready;
}

bool SendCycle::sendOne(const Spool::Entry& e, QString* result) {
    const QString folder = m_ctx.state().outDir;
    const QByteArray raw = QFile::encodeName(folder) + '/' + e.name;
    const QString shown = ProgramFolder::join(folder, Spool::decodedName(e.name));
    // A file that cannot be read is not taken: it waits for its owner to make it readable.
    if (::access(raw.constData(), R_OK) != 0) {
        if (errno != ENOENT) {
            logOnce(e.name, QStringLiteral("ERROR: %1 not sent: it cannot be read (%2)")
                                .arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
        }
        return false;
    }
    QString why;
    bool gone = false;
    const QString claimed = Spool::claim(folder, Spool::ownerId(m_ctx.programFolder()), e.name, &why, &gone);
    if (claimed.isEmpty()) {
        if (!gone) {
            logOnce(e.name, QStringLiteral("ERROR: %1 not sent: it cannot be taken from the folder (%2)")
                                .arg(shown, why));
        }
        return false;
    }
    m_logged.remove(e.name);
    *result = MessageFiles::sendClaimedFile(m_ctx, claimed);
    return true;
}

int SendCycle::run() {
    if (m_running || m_ctx.state().outDir.isEmpty()) {
        return 0;
    }
    m_running = true;
    m_stopping = false;
    m_stoppedBecause.clear();
    PhoneLink& phone = m_ctx.phone();
    // What the user does meanwhile waits for the link to be free between two files.
    InputHold hold;
    int handled = 0;
    // A file is tried once per run; a new file under a used name is another file.
    QSet<std::pair<QByteArray, quint64>> tried;
    // One listing per pass; files that arrive meanwhile are taken by the next pass.
    for (bool more = true; more && !m_stopping;) {
        more = false;
        readyFiles(m_ctx.state().outDir);
        const QList<Spool::Entry> files = m_ready;
        for (const Spool::Entry& e : files) {
            if (m_stopping || m_ctx.isClosing()) {
                break;
            }
            if (tried.contains({e.name, e.inode})) {
                continue;
            }
            if (!phone.isOpen()) {
                // The phone went away: nothing more is asked of it, the rest waits for it.
                m_stoppedBecause =
                    phone.isLost() ? phone.lastError() : QStringLiteral("the serial port is not open");
                m_stopping = true;
                break;
            }
            tried.insert({e.name, e.inode});
            QString result;
            if (!sendOne(e, &result)) {
                continue;
            }
            more = true;
            ++handled;
            if (!phone.isOpen()) {
                m_stoppedBecause = phone.lastError();
                m_stopping = true;
            } else if (result.contains(QLatin1String("TimeOut")) && !phone.checkDevice()) {
                // A phone that stopped answering would fail every message after it, each
                // after its own time limit.
                m_stoppedBecause = QStringLiteral("the mobile device does not answer");
                m_ctx.log().writeLog(QStringLiteral("Sending stopped: the mobile device does not answer"));
                m_stopping = true;
            } else {
                hold.runHeld();
            }
        }
    }
    m_running = false;
    m_stopping = false;
    return handled;
}
