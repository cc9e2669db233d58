#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

#include "Gateway.h"

class AppContext;
class QTimer;

// When the gateway works and when it rests: the polling and signal timers, the pauses that
// windows and phone dialogues take (nested pauses counted, no pause restarts a timer's
// count) and the way the program ends. The main window shows what it does and drives it.
class Schedule : public QObject {
    Q_OBJECT
public:
    explicit Schedule(AppContext& ctx, QObject* parent = nullptr);
    ~Schedule() override;

    Gateway& gateway() { return m_gateway; }
    QTimer* pollTimer() const { return m_poll; }
    QTimer* signalTimer() const { return m_signal; }

    // After the start-up: the signal timer runs, the polling timer while sending or receiving
    // is active.
    void start();
    // Timers off, port closed, POP3 logged out, isRunning "0".
    void shutDown();
    bool isRunning() const { return m_running; }

    // Both timers off until the matching resume; each goes on with what was left of its
    // interval, and the polling timer comes back only when sending or receiving is active.
    void pause();
    void resume();
    bool isPaused() const { return m_depth > 0; }

    // One tick of each timer (nothing while paused or ending).
    void pollTick();
    void signalTick();

    // A termination signal: the first ends the program at once unless a message is on the
    // line, which gets one Timeout of silence from the phone to finish; a second ends it now.
    void terminationSignal();
    bool isEnding() const { return m_ending; }
    // Ends the program from wherever it stands.
    void endNow();

    // Unloads the main window (or shuts down when it never loaded); set by the main window.
    std::function<void()> unload;
    // Leaves the message loops once the program has ended.
    std::function<void()> quitApplication;

signals:
    void pausedChanged(bool paused);
    void statusChanged(const QString& text);
    // A polling tick ran (files handled) or a signal tick ran.
    void polled(int handled);
    void signalled();

private:
    void resumeTimer(QTimer* timer, qint64 left, void (Schedule::*tick)(), int& fullInterval);
    void pollTimeout();
    void signalTimeout();
    void endIfLineFree();
    void lineQuiet();

    AppContext& m_ctx;
    Gateway m_gateway;
    QTimer* m_poll = nullptr;
    QTimer* m_signal = nullptr;
    QTimer* m_recheck = nullptr;   // a message file still being written is looked at again
    QTimer* m_lastWait = nullptr;  // after a signal: the phone's silence the message on the line gets
    int m_depth = 0;
    bool m_pollWasRunning = false;
    bool m_signalWasRunning = false;
    bool m_activeAtPause = false;
    bool m_running = false;
    // What was left of each timer's interval when they were paused (-1: it was not running).
    qint64 m_pollLeft = -1;
    qint64 m_signalLeft = -1;
    QElapsedTimer m_pausedSince;
    // A timer resumed for the rest of its interval gets its full interval back at its tick.
    int m_pollFull = 0;
    int m_signalFull = 0;
    int m_signals = 0;
    bool m_ending = false;
};
