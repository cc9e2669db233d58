#pragma once

#include <QString>

class AppContext;

// Logs in to a mailbox through the context's POP3 control with the time limit of
// [Settings] Timeout. Returns "OK", or the control's error text after logging out again.
// In debug mode the outcome goes to the debug log.
QString POPLogin(AppContext& ctx, const QString& user, const QString& password, const QString& server,
                 quint16 port);

// Logs out through the same control; "OK" or the control's error text, logged in debug mode.
QString POPLogout(AppContext& ctx);
