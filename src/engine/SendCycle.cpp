#include "SendCycle.h"

#include <QDateTime>
#include <QFileInfo>

#include "AppContext.h"
#include "InputHold.h"
#include "MessageFiles.h"

QStringList SendCycle::readyFiles(const QString& folder) {
    const QStringList files = MessageFiles::outgoingFilesInOrder(folder);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QHash<QString, Seen> seen;
    QStringList ready;
    m_msUntilReady = -1;
    for (const QString& f : files) {
        const QFileInfo fi(f);
        const Seen sig{fi.size(), fi.lastModified().toMSecsSinceEpoch()};
        const auto before = m_seen.constFind(f);
        const bool changed = before != m_seen.cend() && !(*before == sig);
        const qint64 age = now - sig.modified;
        // A time stamp in the future (another clock) counts once it was seen unchanged.
        const bool young = age >= 0 ? age < kSettleMs : before == m_seen.cend();
        seen.insert(f, sig);
        if (!changed && !young) {
            ready.append(f);
            continue;
        }
        const qint64 wait = std::max<qint64>(kSettleMs - std::max<qint64>(age, 0), 0) + 100;
        m_msUntilReady = m_msUntilReady < 0 ? wait : std::min(m_msUntilReady, wait);
    }
    m_seen.swap(seen);  // files that are gone are forgotten
    return ready;
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
    QSet<QString> tried;
    // One listing per pass; files that arrive meanwhile are taken by the next pass.
    for (bool more = true; more && !m_stopping;) {
        more = false;
        const QStringList files = readyFiles(m_ctx.state().outDir);
        for (const QString& f : files) {
            if (m_stopping) {
                break;
            }
            if (tried.contains(f) || m_stuck.contains(f) || !QFileInfo::exists(f)) {
                continue;
            }
            if (!phone.isOpen()) {
                // The phone went away: nothing more is asked of it, the rest waits for it.
                m_stoppedBecause =
                    phone.isLost() ? phone.lastError() : QStringLiteral("the serial port is not open");
                m_stopping = true;
                break;
            }
            tried.insert(f);
            more = true;
            const QString result = MessageFiles::sendSMSFile(m_ctx, f);
            ++handled;
            if (QFileInfo::exists(f) && !m_ctx.isClosing()) {
                m_stuck.insert(f);
            }
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
