#include "Schedule.h"

#include <QCoreApplication>
#include <QTimer>
#include <utility>

#include "AppContext.h"
#include "Fields.h"
#include "Settings.h"

Schedule::Schedule(AppContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx), m_gateway(ctx) {
    m_poll = new QTimer(this);
    m_poll->setObjectName(QStringLiteral("InTimer"));
    m_poll->setInterval(5000);
    m_signal = new QTimer(this);
    m_signal->setObjectName(QStringLiteral("SignalTimer"));
    m_signal->setInterval(3000);
    connect(m_poll, &QTimer::timeout, this, &Schedule::pollTimeout);
    connect(m_signal, &QTimer::timeout, this, &Schedule::signalTimeout);
    m_recheck = new QTimer(this);
    m_recheck->setSingleShot(true);
    connect(m_recheck, &QTimer::timeout, this, &Schedule::pollTick);
    m_lastWait = new QTimer(this);
    m_lastWait->setSingleShot(true);
    connect(m_lastWait, &QTimer::timeout, this, [this] {
        m_ctx.log().writeLog(
            QStringLiteral("Termination signal: the mobile device does not answer, closing now"));
        endNow();
    });

    quitApplication = [] { QCoreApplication::exit(0); };
    m_gateway.onStatus = [this](const QString& text) { emit statusChanged(text); };
    PhoneLink& phone = ctx.phone();
    connect(&phone, &PhoneLink::portLost, this, [this] { m_gateway.phoneLost(); });
    connect(&phone, &PhoneLink::dialogueEnded, this, &Schedule::endIfLineFree);
    connect(&phone, &PhoneLink::received, this, [this] {
        if (m_lastWait->isActive()) {
            m_lastWait->start();  // the phone is still talking: the message may yet go out
        }
    });
    connect(&ctx, &AppContext::messageDone, this, &Schedule::endIfLineFree);
}

Schedule::~Schedule() = default;

void Schedule::start() {
    m_running = true;
    m_signal->start();
    const SharedState& s = m_ctx.state();
    if (s.sendActive || s.receiveActive) {
        m_poll->start();
    }
}

void Schedule::shutDown() {
    m_running = false;
    m_poll->stop();
    m_signal->stop();
    m_recheck->stop();
    m_lastWait->stop();
    m_ctx.phone().closePort();
    if (m_ctx.pop3().isLoggedIn()) {
        m_ctx.pop3().logout();
    }
    m_ctx.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("isRunning"), QStringLiteral("0"));
}

void Schedule::pause() {
    if (m_depth++ == 0) {
        m_pollWasRunning = m_poll->isActive();
        m_signalWasRunning = m_signal->isActive();
        m_pollLeft = m_pollWasRunning ? m_poll->remainingTime() : -1;
        m_signalLeft = m_signalWasRunning ? m_signal->remainingTime() : -1;
        m_pausedSince.start();
        const SharedState& s = m_ctx.state();
        m_activeAtPause = s.sendActive || s.receiveActive;
        m_poll->stop();
        m_signal->stop();
        emit pausedChanged(true);
    }
}

void Schedule::resume() {
    if (m_depth == 0 || --m_depth > 0 || m_ending) {
        return;
    }
    // Each timer goes on with what was left of its interval: one never restarts the other's
    // count, and a tick that fell due meanwhile runs now.
    if (m_activeAtPause && (m_pollWasRunning || m_running)) {
        resumeTimer(m_poll, m_pollLeft, &Schedule::pollTick, m_pollFull);
    }
    if (m_signalWasRunning || m_running) {
        resumeTimer(m_signal, m_signalLeft, &Schedule::signalTick, m_signalFull);
    }
    emit pausedChanged(false);
}

void Schedule::resumeTimer(QTimer* timer, qint64 left, void (Schedule::*tick)(), int& fullInterval) {
    const int full = fullInterval > 0 ? fullInterval : timer->interval();
    const qint64 due = left < 0 ? full : left - m_pausedSince.elapsed();
    if (left < 0 || due >= full) {
        fullInterval = 0;
        timer->start(full);
    } else if (due <= 0) {
        fullInterval = 0;
        timer->start(full);
        QTimer::singleShot(0, this, tick);
    } else {
        fullInterval = full;
        timer->start(int(due));
    }
}

void Schedule::pollTimeout() {
    if (m_pollFull > 0) {
        m_poll->setInterval(std::exchange(m_pollFull, 0));
    }
    pollTick();
}

void Schedule::signalTimeout() {
    if (m_signalFull > 0) {
        m_signal->setInterval(std::exchange(m_signalFull, 0));
    }
    signalTick();
}

void Schedule::pollTick() {
    if (m_depth > 0 || m_ending) {
        return;
    }
    pause();
    const int handled = m_gateway.pollingTick();
    const int interval = m_ctx.state().timerInterval;
    if ((m_pollFull > 0 ? m_pollFull : m_poll->interval()) != interval) {
        m_poll->setInterval(interval);
        m_pollFull = 0;
        m_pollLeft = interval;
        m_pausedSince.start();
    }
    resume();
    if (m_ending) {
        return;
    }
    // A file another program was still writing is looked at again once it may be complete.
    const qint64 recheck = m_gateway.recheckInMs();
    if (recheck >= 0 && m_poll->isActive() && recheck < m_poll->remainingTime()) {
        m_recheck->start(int(recheck));
    }
    emit polled(handled);
}

void Schedule::signalTick() {
    if (m_depth > 0 || m_ending) {
        return;
    }
    pause();
    m_gateway.signalTick();
    resume();
    if (m_ending) {
        return;
    }
    // While the polling timer rests, sending or receiving switched on in the settings
    // file wakes it here.
    if (m_running && !m_poll->isActive()) {
        Settings::read(m_ctx);
        const SharedState& s = m_ctx.state();
        if (s.sendActive || s.receiveActive) {
            m_poll->start();
        }
    }
    emit signalled();
}

void Schedule::terminationSignal() {
    ++m_signals;
    m_ctx.setClosing(true);  // no new message starts
    m_gateway.sendCycle().stop();
    // Only a message on the line is waited for: a probe in flight is abandoned.
    if (m_signals > 1 || !m_ctx.messageOnLine()) {
        endNow();
        return;
    }
    emit statusChanged(QStringLiteral("closing when the message on the line is done..."));
    m_ctx.log().writeLog(QStringLiteral("Termination signal: closing when the message on the line is done"));
    const int timeout = leadingInt(Settings::value(m_ctx, QStringLiteral("Timeout")));
    m_lastWait->start((timeout > 0 ? timeout : 10) * 1000);
}

void Schedule::endIfLineFree() {
    if (m_signals > 0 && !m_ending && !m_ctx.messageOnLine()) {
        endNow();
    }
}

// From wherever the program stands (a modal window may be open, a dialogue may wait on the
// phone): the port is closed, isRunning written, then every message loop is left.
void Schedule::endNow() {
    if (m_ending) {
        return;
    }
    m_ending = true;
    m_ctx.setClosing(true);
    m_gateway.sendCycle().stop();
    if (unload) {
        unload();
    } else {
        shutDown();
    }
    if (quitApplication) {
        quitApplication();
    }
}
