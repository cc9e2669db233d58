#include "PopFunctions.h"

#include "AppContext.h"
#include "Fields.h"

namespace {

int timeLimit(AppContext& ctx) {
    const int seconds = leadingInt(ctx.ini().readINI(QStringLiteral("Settings"), QStringLiteral("Timeout")));
    return seconds > 0 ? seconds : 10;
}

QString mailbox(const Pop3Client& pop) {
    return QStringLiteral("mailbox '%1' on %2:%3").arg(pop.user, pop.server).arg(pop.port);
}

void debugLog(AppContext& ctx, const QString& text) {
    if (ctx.state().debugMode) {
        ctx.log().writeLog(text, true);
    }
}

}  // namespace

QString POPLogin(AppContext& ctx, const QString& user, const QString& password, const QString& server,
                 quint16 port) {
    Pop3Client& pop = ctx.pop3();
    if (pop.isBusy()) {
        // A login or logout already waits for its server; its settings stay as they are.
        debugLog(ctx, QStringLiteral("ERROR accessing mailbox '%1' on %2:%3: The POP3 control is busy")
                          .arg(user, server)
                          .arg(port));
        return QStringLiteral("The POP3 control is busy");
    }
    pop.server = server;
    pop.port = port;
    pop.user = user;
    pop.password = password;
    pop.timeoutSeconds = timeLimit(ctx);
    if (pop.login()) {
        debugLog(ctx, QStringLiteral("Logged in successfully to ") + mailbox(pop));
        return QStringLiteral("OK");
    }
    const QString error = pop.errorText();
    pop.logout();
    debugLog(ctx, QStringLiteral("ERROR accessing %1: %2").arg(mailbox(pop), error));
    return error;
}

QString POPLogout(AppContext& ctx) {
    Pop3Client& pop = ctx.pop3();
    if (pop.logout()) {
        debugLog(ctx, QStringLiteral("Logged out successfully from ") + mailbox(pop));
        return QStringLiteral("OK");
    }
    const QString error = pop.errorText();
    debugLog(ctx, QStringLiteral("ERROR logging out from %1: %2").arg(mailbox(pop), error));
    return error;
}
