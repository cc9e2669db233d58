#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

#include "SendCycle.h"

class AppContext;

// What the main window's timers and its start-up do, without the window: starting the
// phone, the polling tick (settings, phone check, send cycle) and the signal tick.
class Gateway {
public:
    explicit Gateway(AppContext& ctx) : m_ctx(ctx), m_send(ctx) {}

    // Opens the port of [Settings] Port and starts the phone. Returns the status text to
    // show: "" when the phone is ready, else why not (the log says it too).
    QString startPhone();

    // One polling tick: re-reads the settings and, when sending is active and OutTiming
    // seconds have passed since the last send cycle, sends the outgoing folder. Nothing is
    // sent when the phone does not answer. Returns the number of files handled.
    int pollingTick();

    // One signal tick: checks the phone and identifies it when it answers but is not yet
    // identified (the settings are read again, as the text length depends on the phone).
    void signalTick();

    SendCycle& sendCycle() { return m_send; }

    // Told the status text while a send cycle runs.
    std::function<void(const QString&)> onStatus;
    // Forgets when the last send cycle ran, so the next tick sends.
    void resetSendInterval() { m_lastSend.invalidate(); }

private:
    AppContext& m_ctx;
    SendCycle m_send;
    QElapsedTimer m_lastSend;
};
