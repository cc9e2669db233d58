#pragma once

#include "AppContext.h"
#include "frmMain.h"

// The gateway rests while one lives: the timers, the menus and the toolbar are off from its
// construction (tempDisableTimers) to its end (TempRestoreTimers). Pauses nest; only the
// outermost one switches anything back on, and no pause restarts a timer's count.
class GatewayPause {
public:
    explicit GatewayPause(AppContext& ctx) : m_main(ctx.mainWindow()) { m_main.tempDisableTimers(); }
    ~GatewayPause() { m_main.TempRestoreTimers(); }
    GatewayPause(const GatewayPause&) = delete;
    GatewayPause& operator=(const GatewayPause&) = delete;

private:
    frmMain& m_main;
};
