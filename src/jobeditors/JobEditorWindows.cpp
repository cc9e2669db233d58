#include "JobEditorWindows.h"

#include "WindowRegistry.h"
#include "frmSQLHelp.h"

void registerJobEditorWindows(WindowRegistry& windows) {
    windows.registerFactory(QStringLiteral("frmSQLHelp"),
                            [](AppContext& ctx) { return new frmSQLHelp(ctx); });
}
