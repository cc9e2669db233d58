#include "SendCycle.h"

#include <QFileInfo>

#include "AppContext.h"
#include "MessageFiles.h"

int SendCycle::run() {
    if (m_running || m_ctx.state().outDir.isEmpty()) {
        return 0;
    }
    m_running = true;
    m_stopping = false;
    int handled = 0;
    QSet<QString> tried;
    // One listing per pass; files that arrive meanwhile are taken by the next pass.
    for (bool more = true; more && !m_stopping;) {
        more = false;
        const QStringList files = MessageFiles::outgoingFilesInOrder(m_ctx.state().outDir);
        for (const QString& f : files) {
            if (m_stopping) {
                break;
            }
            if (tried.contains(f) || m_stuck.contains(f) || !QFileInfo::exists(f)) {
                continue;
            }
            tried.insert(f);
            more = true;
            MessageFiles::sendSMSFile(m_ctx, f);
            ++handled;
            if (QFileInfo::exists(f)) {
                m_stuck.insert(f);
            }
        }
    }
    m_running = false;
    m_stopping = false;
    return handled;
}
