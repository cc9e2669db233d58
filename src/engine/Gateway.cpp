#include "Gateway.h"

#include "AppContext.h"
#include "InputHold.h"
#include "MessageFiles.h"
#include "Settings.h"

QString Gateway::startPhone() {
    PhoneLink& phone = m_ctx.phone();
    const QString port = Settings::value(m_ctx, QStringLiteral("Port"));
    QString status;
    InputHold hold;
    if (port.isEmpty()) {
        status = QStringLiteral("No serial port set up");
        m_ctx.log().writeLog(status + QStringLiteral(": running without a mobile device"));
    } else if (!phone.isOpen() && !phone.openPort()) {
        const QString device = PhoneLink::devicePath(port);
        status = QStringLiteral("Can't open serial port %1").arg(device);
        m_ctx.log().writeLog(
            QStringLiteral("ERROR: can't open serial port %1: %2").arg(device, phone.lastError()));
        m_wasAway = true;
    } else if (!phone.startDevice()) {
        const QString why = phone.startError();
        status = QStringLiteral("Mobile device not ready") +
                 (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        m_ctx.log().writeLog(QStringLiteral("ERROR: mobile device not started") +
                             (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        m_wasAway = true;
    } else {
        m_state = PhoneState::Ready;
        remember(phone.identity());
    }
    Settings::read(m_ctx);
    return status;
}

QString Gateway::phoneStatus() const {
    const QString port = m_ctx.phone().identity().port;
    switch (m_state) {
        case PhoneState::Gone:
            return QStringLiteral("Mobile device gone from %1, waiting for it to come back").arg(port);
        case PhoneState::Silent:
            return QStringLiteral("Mobile device on %1 does not answer").arg(port);
        default:
            return m_other;
    }
}

void Gateway::setPhoneState(PhoneState state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    if (onStatus) {
        onStatus(phoneStatus());
    }
}

// A device path can name another device after a return (a pseudo-terminal or a USB number
// reused): the one that answers is compared with the one that went.
void Gateway::remember(const DeviceIdentity& id) {
    const bool other =
        m_known.known() && (id.manufacturer != m_known.manufacturer || id.model != m_known.model ||
                            id.serialNumber != m_known.serialNumber);
    if (other) {
        m_other =
            QStringLiteral("Another mobile device on %1: %2 %3").arg(id.port, id.manufacturer, id.model);
        m_ctx.log().writeLog(
            QStringLiteral("Another mobile device on %1: %2 %3 (serial number %4) in place of "
                           "%5 %6 (serial number %7)")
                .arg(id.port, id.manufacturer, id.model, id.serialNumber, m_known.manufacturer, m_known.model,
                     m_known.serialNumber));
        if (onStatus && m_state == PhoneState::Ready) {
            onStatus(m_other);
        }
    } else if (m_known.known()) {
        m_other.clear();
    }
    m_known = id;
}

int Gateway::pollingTick() {
    Settings::read(m_ctx);
    const SharedState& s = m_ctx.state();
    if (!s.sendActive && !s.receiveActive) {
        return 0;
    }
    PhoneLink& phone = m_ctx.phone();
    if (!phone.isOpen()) {
        if (phone.isLost()) {
            setPhoneState(PhoneState::Gone);  // the signal tick brings it back
        }
        return 0;
    }
    {
        InputHold hold;
        if (!phone.checkDevice()) {
            setPhoneState(phone.isOpen() ? PhoneState::Silent : PhoneState::Gone);
            return 0;
        }
    }
    if (!s.sendActive || m_send.isRunning()) {
        return 0;
    }
    if (m_lastSend.isValid() && m_lastSend.elapsed() < qint64(s.outTiming) * 1000) {
        return 0;
    }
    if (m_send.readyFiles(s.outDir).isEmpty()) {
        return 0;
    }
    m_lastSend.start();
    if (onStatus) {
        onStatus(QStringLiteral("sending SMS..."));
    }
    const int handled = m_send.run();
    if (!phone.isOpen()) {
        setPhoneState(PhoneState::Gone);
    } else if (!m_send.stoppedBecause().isEmpty()) {
        setPhoneState(PhoneState::Silent);
    }
    return handled;
}

void Gateway::signalTick() {
    PhoneLink& phone = m_ctx.phone();
    InputHold hold;
    if (!phone.isOpen()) {
        if (Settings::value(m_ctx, QStringLiteral("Port")).isEmpty()) {
            return;
        }
        m_wasAway |= phone.isLost();
        ++m_reopenAttempts;
        if (!phone.reopen()) {
            if (m_wasAway && m_state != PhoneState::Unknown) {
                setPhoneState(PhoneState::Gone);
            }
            return;
        }
    }
    const bool answers = phone.checkDevice();
    if (answers && !phone.identity().known()) {
        if (phone.startDevice()) {
            const DeviceIdentity& id = phone.identity();
            m_ctx.log().writeLog(
                m_wasAway ? QStringLiteral("Mobile device back on %1: %2 %3")
                                .arg(id.port, id.manufacturer, id.model)
                          : QStringLiteral("Mobile device identified: %1 %2").arg(id.manufacturer, id.model));
            m_wasAway = false;
            remember(id);
        }
        Settings::read(m_ctx);
    }
    if (!phone.isOpen()) {
        setPhoneState(PhoneState::Gone);
    } else if (!answers) {
        setPhoneState(PhoneState::Silent);
    } else if (phone.identity().known()) {
        setPhoneState(PhoneState::Ready);
    }
}
