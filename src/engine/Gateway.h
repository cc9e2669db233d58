#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

#include "PhoneLink.h"
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
    // sent when the phone is gone or does not answer. Returns the number of files handled.
    int pollingTick();

    // One signal tick: brings a lost (or never opened) port back, checks the phone and
    // identifies it when it answers but is not yet identified (the settings are read again,
    // as the text length depends on the phone). A device that comes back with another
    // manufacturer, model or serial number than the one that went is named in the log and
    // the status; sending goes on with it.
    void signalTick();

    SendCycle& sendCycle() { return m_send; }

    // Told the status text when it changes: while a send cycle runs, when the phone goes
    // away or stops answering, and "" when it is back.
    std::function<void(const QString&)> onStatus;
    // Forgets when the last send cycle ran, so the next tick sends.
    void resetSendInterval() { m_lastSend.invalidate(); }
    // Milliseconds until a message file that was still being written may be taken; -1 when
    // none waits.
    qint64 recheckInMs() const { return m_send.msUntilReady(); }
    // How often the signal tick tried to open the port again.
    int reopenAttempts() const { return m_reopenAttempts; }

    // The status text for the phone's state ("" when it is ready, unless another device came
    // back in place of the one that went).
    QString phoneStatus() const;
    // The port went away (the link says so at once, whoever was talking).
    void phoneLost() { setPhoneState(PhoneState::Gone); }

private:
    enum class PhoneState { Unknown, Ready, Gone, Silent };
    void setPhoneState(PhoneState state);

    void remember(const DeviceIdentity& id);

    AppContext& m_ctx;
    SendCycle m_send;
    // The phone last identified, to tell whether the one that comes back is the same; and
    // what the status says when another one came in its place.
    DeviceIdentity m_known;
    QString m_other;
    QElapsedTimer m_lastSend;
    PhoneState m_state = PhoneState::Unknown;
    bool m_wasAway = false;  // lost or never there: its return is logged
    int m_reopenAttempts = 0;
};
