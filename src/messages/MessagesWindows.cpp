#include "MessagesWindows.h"

#include "AppContext.h"
#include "WindowRegistry.h"
#include "frmBrowse.h"
#include "frmCopyMove.h"
#include "frmMain.h"
#include "frmSendSMS.h"

void registerMessagesWindows(WindowRegistry& windows) {
    windows.registerFactory(QStringLiteral("frmSendSMS"), [](AppContext& ctx) -> QWidget* {
        return new frmSendSMS(ctx, &ctx.mainWindow());
    });
    windows.registerFactory(QStringLiteral("frmBrowse"), [](AppContext& ctx) -> QWidget* {
        return new frmBrowse(ctx, &ctx.mainWindow());
    });
    windows.registerFactory(QStringLiteral("frmCopyMove"),
                            [](AppContext& ctx) { return new frmCopyMove(ctx); });
}
