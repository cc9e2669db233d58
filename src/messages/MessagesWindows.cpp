#include "MessagesWindows.h"

#include "AppContext.h"
#include "WindowRegistry.h"
#include "frmAddressBook.h"
#include "frmMain.h"
#include "frmSendSMS.h"

void registerMessagesWindows(WindowRegistry& windows) {
    windows.registerFactory(QStringLiteral("frmSendSMS"), [](AppContext& ctx) -> QWidget* {
        return new frmSendSMS(ctx, &ctx.mainWindow());
    });
    windows.registerFactory(QStringLiteral("frmAddressBook"), [](AppContext& ctx) -> QWidget* {
        return new frmAddressBook(ctx, &ctx.mainWindow());
    });
}
