#include "JobEditorWindows.h"

#include "WindowRegistry.h"
#include "frmJobForward.h"

void registerJobEditorWindows(WindowRegistry& windows) {
    windows.registerFactory(QStringLiteral("frmJobForward"),
                            [](AppContext& ctx) { return new frmJobForward(ctx); });
}
