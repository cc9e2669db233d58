#include "MessagesWindows.h"

#include "AppContext.h"
#include "WindowRegistry.h"
#include "frmAddressBook.h"
#include "frmBrowse.h"
#include "frmCopyMove.h"
#include "frmEditMsg.h"
#include "frmMain.h"
#include "frmOutlookImport.h"
#include "frmSendSMS.h"

void registerMessagesWindows(WindowRegistry& windows) {
    windows.registerFactory(QStringLiteral("frmSendSMS"), [](AppContext& ctx) -> QWidget* {
        return new frmSendSMS(ctx, &ctx.mainWindow());
    });
    // The two windows the main window opens beside itself are windows of their own, not
    // dialogs of the main window: the desktop neither centres them over it nor keeps them above.
    windows.registerFactory(QStringLiteral("frmAddressBook"),
                            [](AppContext& ctx) -> QWidget* { return new frmAddressBook(ctx, nullptr); });
    windows.registerFactory(QStringLiteral("frmBrowse"),
                            [](AppContext& ctx) -> QWidget* { return new frmBrowse(ctx, nullptr); });
    windows.registerFactory(QStringLiteral("frmCopyMove"),
                            [](AppContext& ctx) { return new frmCopyMove(ctx); });
    windows.registerFactory(QStringLiteral("frmEditMsg"), [](AppContext& ctx) -> QWidget* {
        return new frmEditMsg(ctx, &ctx.mainWindow());
    });
    windows.registerFactory(QStringLiteral("frmOutlookImport"), [](AppContext& ctx) -> QWidget* {
        return new frmOutlookImport(ctx, &ctx.mainWindow());
    });
}
