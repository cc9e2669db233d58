#include "Gateway.h"

#include "AppContext.h"
#include "MessageFiles.h"
#include "Settings.h"

QString Gateway::startPhone() {
    PhoneLink& phone = m_ctx.phone();
    const QString port = Settings::value(m_ctx, QStringLiteral("Port"));
    QString status;
    if (port.isEmpty()) {
        status = QStringLiteral("No serial port set up");
        m_ctx.log().writeLog(status + QStringLiteral(": running without a mobile device"));
    } else if (!phone.isOpen() && !phone.openPort()) {
        const QString device = PhoneLink::devicePath(port);
        status = QStringLiteral("Can't open serial port %1").arg(device);
        m_ctx.log().writeLog(
            QStringLiteral("ERROR: can't open serial port %1: %2").arg(device, phone.lastError()));
    } else if (!phone.startDevice()) {
        const QString why = phone.startError();
        status = QStringLiteral("Mobile device not ready") +
                 (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        m_ctx.log().writeLog(QStringLiteral("ERROR: mobile device not started") +
                             (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
    Settings::read(m_ctx);
    return status;
}

int Gateway::pollingTick() {
    Settings::read(m_ctx);
    const SharedState& s = m_ctx.state();
    if (!s.sendActive && !s.receiveActive) {
        return 0;
    }
    if (!m_ctx.phone().checkDevice()) {
        return 0;
    }
    if (!s.sendActive || m_send.isRunning()) {
        return 0;
    }
    if (m_lastSend.isValid() && m_lastSend.elapsed() < qint64(s.outTiming) * 1000) {
        return 0;
    }
    m_lastSend.start();
    if (MessageFiles::outgoingFilesInOrder(s.outDir).isEmpty()) {
        return 0;
    }
    if (onStatus) {
        onStatus(QStringLiteral("sending SMS..."));
    }
    return m_send.run();
}

void Gateway::signalTick() {
    PhoneLink& phone = m_ctx.phone();
    if (!phone.isOpen()) {
        return;
    }
    if (phone.checkDevice() && !phone.identity().known()) {
        if (phone.startDevice()) {
            m_ctx.log().writeLog(QStringLiteral("Mobile device identified: %1 %2")
                                     .arg(phone.identity().manufacturer, phone.identity().model));
        }
        Settings::read(m_ctx);
    }
}
