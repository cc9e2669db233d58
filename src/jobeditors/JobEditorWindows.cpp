#include "JobEditorWindows.h"

#include "WindowRegistry.h"
#include "frmJobExec.h"
#include "frmJobForward.h"
#include "frmJobMailbox.h"
#include "frmJobMailboxEdit.h"
#include "frmJobNew.h"
#include "frmJobQuery.h"
#include "frmJobSendmail.h"
#include "frmJobs.h"
#include "frmSQLHelp.h"

void registerJobEditorWindows(WindowRegistry& windows) {
    windows.registerFactory(QStringLiteral("frmJobs"), [](AppContext& ctx) { return new frmJobs(ctx); });
    windows.registerFactory(QStringLiteral("frmJobNew"), [](AppContext& ctx) { return new frmJobNew(ctx); });
    windows.registerFactory(QStringLiteral("frmSQLHelp"), [](AppContext& ctx) { return new frmSQLHelp(ctx); });
    windows.registerFactory(QStringLiteral("frmJobForward"), [](AppContext& ctx) { return new frmJobForward(ctx); });
    windows.registerFactory(QStringLiteral("frmJobQuery"), [](AppContext& ctx) { return new frmJobQuery(ctx); });
    windows.registerFactory(QStringLiteral("frmJobSendmail"), [](AppContext& ctx) { return new frmJobSendmail(ctx); });
    windows.registerFactory(QStringLiteral("frmJobExec"), [](AppContext& ctx) { return new frmJobExec(ctx); });
    windows.registerFactory(QStringLiteral("frmJobMailboxEdit"),
                            [](AppContext& ctx) { return new frmJobMailboxEdit(ctx); });
    windows.registerFactory(QStringLiteral("frmJobMailbox"), [](AppContext& ctx) { return new frmJobMailbox(ctx); });
}
