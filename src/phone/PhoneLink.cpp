#include "PhoneLink.h"

#include <poll.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTimer>

#include "Charset.h"
#include "Fields.h"
#include "GsmAlphabet.h"
#include "IniStore.h"
#include "LogWriter.h"
#include "Pdu.h"
#include "PhoneNumber.h"
#include "PhoneReply.h"

namespace {
// A reply without end, or endless unsolicited lines, never holds more than this in memory;
// the oldest bytes go first.
constexpr qsizetype kMaxBuffer = 1024 * 1024;
constexpr int kSubmitSeconds = 60;
constexpr int kDefaultTimeout = 10;
constexpr int kDefaultSpeed = 9600;
// Read errors in a row, without a byte read between them, that count as a lost port.
constexpr int kMaxReadErrors = 3;
constexpr char kCtrlZ = 0x1A;
constexpr char kEsc = 0x1B;

QString settingsValue(IniStore& ini, const char* key) {
    return ini.readINI(QStringLiteral("Settings"), QString::fromLatin1(key));
}

// "+CGMI: Maker" and "Maker" both give "Maker".
QString infoValue(const QString& reply, const QString& prefix) {
    QString v = reply.trimmed();
    if (v.startsWith(prefix, Qt::CaseInsensitive)) {
        v = v.mid(prefix.size()).trimmed();
    }
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"')) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}
}  // namespace

class PhoneLink::Private {
public:
    enum class Outcome { Done, TimeOut, Closed };
    // The final results that end a reply besides the errors: a command ends on "OK" or the
    // prompt, a submit command on the prompt only, a message body on "OK" only.
    struct Ends {
        bool prompt = true;
        bool ok = true;
    };
    static constexpr Ends kCommand{true, true};
    static constexpr Ends kPrompt{true, false};
    static constexpr Ends kBody{false, true};
    struct Exchange {
        Outcome outcome = Outcome::Closed;
        QByteArray reply;  // leftover input first, then what came after the write, without unsolicited lines
        PhoneReply::Final final = PhoneReply::Final::None;
    };

    Private(PhoneLink* q, IniStore& ini, LogWriter& log) : q(q), ini(ini), log(log) {
        port.setReadBufferSize(0);
        QObject::connect(&port, &QSerialPort::readyRead, q, [this] { onReadyRead(); });
        QObject::connect(&port, &QSerialPort::errorOccurred, q,
                         [this](QSerialPort::SerialPortError e) { onError(e); });
        reference = quint8(QRandomGenerator::global()->bounded(256));
    }

    void onReadyRead() {
        const QByteArray bytes = port.readAll();
        if (!bytes.isEmpty()) {
            readErrors = 0;
        }
        buffer.append(bytes);
        if (buffer.size() > kMaxBuffer) {
            const qsizetype drop = buffer.size() - kMaxBuffer;
            buffer.remove(0, drop);
            replyStart = std::max<qsizetype>(0, replyStart - drop);
        }
        if (waiting && replyDone()) {
            waiting->quit();
        }
        if (!bytes.isEmpty()) {
            emit q->received();
        }
    }

    void onError(QSerialPort::SerialPortError e) {
        if (e == QSerialPort::NoError || !port.isOpen()) {
            return;
        }
        if (e == QSerialPort::ReadError) {
            // A tty whose other end hung up reads as end of file over and over: the port
            // is gone, and waiting on it would only spin.
            if (hungUp() || ++readErrors >= kMaxReadErrors) {
                lose(hungUp() ? QStringLiteral("hang-up") : port.errorString());
            } else {
                port.clearError();
            }
            return;
        }
        if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError ||
            e == QSerialPort::DeviceNotFoundError) {
            lose(hungUp() ? QStringLiteral("hang-up") : port.errorString());
        }
    }

    bool hungUp() {
        pollfd p{int(port.handle()), POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

    // The port is closed at once, any wait ends, and nothing is asked of it any more until
    // it is opened again.
    void lose(const QString& why) {
        lastError = QStringLiteral("Serial port %1 lost: %2").arg(port.portName(), why);
        log.writeLog(lastError);
        port.close();
        lost = true;
        readErrors = 0;
        buffer.clear();
        replyStart = 0;
        reportLines = 0;
        clearIdentity();
        if (waiting) {
            waiting->quit();
        }
        emit q->portLost(lastError);
    }

    // Whatever has reached the port so far, without waiting for more.
    void takeWaiting() {
        if (port.waitForReadyRead(0) || port.bytesAvailable() > 0) {
            buffer.append(port.readAll());
        }
        port.clearError();
    }

    PhoneReply::Reply scan() const {
        int owed = reportLines;
        return PhoneReply::take(buffer, replyStart, asked, ends.prompt, ends.ok, &owed);
    }

    bool replyDone() const { return scan().final != PhoneReply::Final::None; }

    // The reply is taken from the buffer; what came after it stays for the next one.
    PhoneReply::Reply takeReply() {
        PhoneReply::Reply r = PhoneReply::take(buffer, replyStart, asked, ends.prompt, ends.ok, &reportLines);
        buffer.remove(0, r.end);
        replyStart = 0;
        if (log.debugMode()) {
            for (const QByteArray& line : std::as_const(r.unsolicited)) {
                log.writeLog(QStringLiteral("Unsolicited: ") + PhoneReply::fromLine(line), true);
            }
        }
        return r;
    }

    int defaultTimeout() const {
        const int n = leadingInt(settingsValue(ini, "Timeout"));
        return n > 0 ? n : kDefaultTimeout;
    }

    // Writes bytes and waits, letting the message loop run, until what came after the write
    // holds a final result, the port goes, or the limit passes. Input that was waiting
    // before the write stays at the front of the reply.
    Exchange exchange(const QByteArray& bytes, int timeoutSeconds, Ends until, const QByteArray& command) {
        Exchange result;
        if (!port.isOpen()) {
            return result;
        }
        takeWaiting();
        if (!port.isOpen()) {
            return result;
        }
        replyStart = buffer.size();
        ends = until;
        asked = command;
        if (port.write(bytes) != bytes.size()) {
            lastError = QStringLiteral("Write to %1 failed: %2").arg(port.portName(), port.errorString());
            if (port.isOpen() && hungUp()) {
                lose(QStringLiteral("hang-up"));
            }
            return result;
        }
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        limit.setTimerType(Qt::PreciseTimer);
        bool timedOut = false;
        QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        limit.start(timeoutSeconds * 1000);
        waiting = &loop;
        loop.exec();
        waiting = nullptr;
        if (!port.isOpen()) {
            return result;
        }
        if (timedOut && !replyDone()) {
            // Keep what came: it is not thrown away, it leads the next reply.
            result.reply = buffer;
            result.outcome = Outcome::TimeOut;
            return result;
        }
        const PhoneReply::Reply r = takeReply();
        result.reply = r.text;
        result.final = r.final;
        result.outcome = Outcome::Done;
        return result;
    }

    // Input left over from earlier commands (late "OK"s, unsolicited lines) goes before a
    // submit, so nothing of it can pass for the ">" prompt.
    void drain() {
        takeWaiting();
        if (!buffer.isEmpty() && log.debugMode()) {
            log.writeLog(QStringLiteral("Discarded before submit: ") + PhoneReply::fromLine(buffer), true);
        }
        buffer.clear();
        replyStart = 0;
        reportLines = 0;
    }

    void clearIdentity() {
        identity.manufacturer.clear();
        identity.model.clear();
        identity.serialNumber.clear();
    }

    QString closedText() const {
        return QStringLiteral("ERROR: ") + (lost ? lastError : QStringLiteral("the serial port was closed"));
    }

    // One submit command and its body: the ">" prompt, then body + Ctrl-Z and "+CMGS: <mr>".
    QString submitOne(const QString& command, const QByteArray& body) {
        const int promptSeconds = defaultTimeout();
        const QByteArray line = PhoneReply::toLine(command);
        Exchange prompt = exchange(line + '\r', promptSeconds, kPrompt, line);
        QString text = PhoneReply::clean(PhoneReply::fromLine(prompt.reply), command, false);
        if (prompt.outcome == Outcome::Closed) {
            return closedText();
        }
        if (prompt.outcome == Outcome::TimeOut) {
            port.write(QByteArray(1, kEsc));  // leave a half-open prompt
            return PhoneReply::timeOutText(promptSeconds);
        }
        if (prompt.final != PhoneReply::Final::Prompt) {
            return text.startsWith(QLatin1String("ERROR")) ? text : QStringLiteral("ERROR: ") + text;
        }
        Exchange sent = exchange(body + kCtrlZ, kSubmitSeconds, kBody, {});
        if (sent.outcome == Outcome::Closed) {
            return closedText();
        }
        if (sent.outcome == Outcome::TimeOut) {
            return PhoneReply::timeOutText(kSubmitSeconds);
        }
        text = PhoneReply::clean(PhoneReply::fromLine(sent.reply), QString(), false);
        const qsizetype at = text.indexOf(QLatin1String("+CMGS:"));
        if (at < 0 || text.contains(QLatin1String("ERROR"))) {
            return text.startsWith(QLatin1String("ERROR")) ? text : QStringLiteral("ERROR: ") + text;
        }
        QString ref = text.mid(at + 6).section(u'|', 0, 0).trimmed();
        return QStringLiteral("OK ") + ref;
    }

    PhoneLink* q;
    IniStore& ini;
    LogWriter& log;
    QSerialPort port;
    QByteArray buffer;
    qsizetype replyStart = 0;
    Ends ends = kCommand;
    QByteArray asked;     // the command whose reply is waited for
    int reportLines = 0;  // lines a report of the phone's own still owes
    QEventLoop* waiting = nullptr;
    bool busy = false;
    bool quietOpen = false;
    bool lost = false;
    int readErrors = 0;
    QString loggedStartFailure;  // a start-up that fails the same way again is not logged again
    quint8 reference = 0;
    DeviceIdentity identity;
    QString charset;  // the set text mode declared with AT+CSCS, "" when none
    QString lastError;
    QString startError;
};

PhoneLink::PhoneLink(IniStore& ini, LogWriter& log, QObject* parent)
    : QObject(parent), d(new Private(this, ini, log)) {}

PhoneLink::~PhoneLink() {
    delete d;
}

bool PhoneLink::openPort() {
    const QString port = settingsValue(d->ini, "Port");
    int speed = leadingInt(settingsValue(d->ini, "Speed"));
    if (speed <= 0) {
        speed = kDefaultSpeed;
    }
    if (port.trimmed().isEmpty()) {
        closePort();
        d->lastError = QStringLiteral("No serial port is set up");
        return false;
    }
    return openPort(port, speed);
}

bool PhoneLink::reopen() {
    const QString port = settingsValue(d->ini, "Port");
    bool ok = false;
    int speed = settingsValue(d->ini, "Speed").toInt(&ok);
    if (port.trimmed().isEmpty() || d->busy) {
        return false;
    }
    d->quietOpen = true;
    const bool opened = openPort(port, ok && speed > 0 ? speed : kDefaultSpeed);
    d->quietOpen = false;
    return opened;
}

bool PhoneLink::openPort(const QString& port, int speed) {
    const bool wasLost = d->lost;
    closePort();
    d->lost = wasLost;
    const QString path = devicePath(port);
    d->identity.port = path;
    d->identity.speed = speed;
    d->port.setPortName(path);
    d->port.setBaudRate(speed);
    d->port.setDataBits(QSerialPort::Data8);
    d->port.setParity(QSerialPort::NoParity);
    d->port.setStopBits(QSerialPort::OneStop);
    d->port.setFlowControl(QSerialPort::NoFlowControl);
    if (!d->port.open(QIODevice::ReadWrite)) {
        d->lastError = QStringLiteral("Error opening serial port %1: %2").arg(path, d->port.errorString());
        if (!d->quietOpen) {
            d->log.writeLog(d->lastError);
        }
        return false;
    }
    d->lastError.clear();
    d->lost = false;
    d->readErrors = 0;
    return true;
}

void PhoneLink::closePort() {
    if (d->port.isOpen()) {
        d->port.close();
    }
    d->buffer.clear();
    d->replyStart = 0;
    d->reportLines = 0;
    d->lost = false;
    d->clearIdentity();
    if (d->waiting) {
        d->waiting->quit();
    }
}

bool PhoneLink::isOpen() const {
    return d->port.isOpen();
}

bool PhoneLink::isLost() const {
    return d->lost;
}

bool PhoneLink::isBusy() const {
    return d->busy;
}

QString PhoneLink::lastError() const {
    return d->lastError;
}

QString PhoneLink::sendCommand(const QString& command, int timeoutSeconds, bool keepOK) {
    const int seconds = timeoutSeconds > 0 ? timeoutSeconds : d->defaultTimeout();
    // A command while another one waits would take its reply: refuse it.
    if (d->busy || !d->port.isOpen()) {
        return QStringLiteral("ERROR");
    }
    d->busy = true;
    const QByteArray line = PhoneReply::toLine(command);
    const Private::Exchange ex = d->exchange(line + '\r', seconds, Private::kCommand, line);
    d->busy = false;
    emit dialogueEnded();
    QString reply;
    switch (ex.outcome) {
        case Private::Outcome::Closed:
            reply = QStringLiteral("ERROR");
            break;
        case Private::Outcome::TimeOut:
            reply = PhoneReply::timeOutText(seconds);
            break;
        case Private::Outcome::Done:
            reply = PhoneReply::clean(PhoneReply::fromLine(ex.reply), command, keepOK);
            break;
    }
    if (d->log.debugMode()) {
        d->log.writeLog(command + QStringLiteral(" -> ") + reply, true);
    }
    return reply;
}

bool PhoneLink::checkDevice() {
    QCoreApplication::processEvents();
    const QString reply = sendCommand(QStringLiteral("AT"), 1);
    QCoreApplication::processEvents();
    return !reply.contains(QLatin1String("ERROR"));
}

void PhoneLink::pingDevice() {
    if (isOpen()) {
        sendCommand(QStringLiteral("AT"));
    }
}

bool PhoneLink::startDevice() {
    d->clearIdentity();
    d->startError.clear();
    auto fail = [this](const QString& why) {
        d->clearIdentity();
        d->startError = why;
        // Tried again every few seconds while the phone is away: one line per kind of failure.
        if (why != d->loggedStartFailure) {
            d->log.writeLog(QStringLiteral("Phone not started: ") + why);
            d->loggedStartFailure = why;
        }
        return false;
    };
    if (!isOpen()) {
        return fail(d->lastError.isEmpty() ? QStringLiteral("the serial port is not open") : d->lastError);
    }
    auto failed = [](const QString& r) { return r.contains(QLatin1String("ERROR")); };

    QString r = sendCommand(QStringLiteral("AT"));
    if (failed(r)) {
        return fail(QStringLiteral("no answer on %1 (%2)").arg(d->identity.port, r));
    }
    sendCommand(QStringLiteral("ATE0"));
    r = sendCommand(QStringLiteral("AT+CPIN?"));
    if (failed(r) || !r.contains(QLatin1String("READY"))) {
        const QString state = infoValue(r, QStringLiteral("+CPIN:"));
        return fail(QStringLiteral("the SIM card is not ready (%1)").arg(state));
    }
    DeviceIdentity found = d->identity;
    const struct {
        const char* command;
        const char* prefix;
        QString DeviceIdentity::*field;
    } ids[] = {{"AT+CGMI", "+CGMI:", &DeviceIdentity::manufacturer},
               {"AT+CGMM", "+CGMM:", &DeviceIdentity::model},
               {"AT+CGSN", "+CGSN:", &DeviceIdentity::serialNumber}};
    for (const auto& id : ids) {
        r = sendCommand(QString::fromLatin1(id.command));
        if (failed(r)) {
            return fail(QStringLiteral("%1 failed (%2)").arg(QString::fromLatin1(id.command), r));
        }
        found.*(id.field) = infoValue(r, QString::fromLatin1(id.prefix));
    }
    if (!failed(sendCommand(QStringLiteral("AT+CMGF=0")))) {
        found.mode = 0;
    } else if (!failed(r = sendCommand(QStringLiteral("AT+CMGF=1")))) {
        found.mode = 1;
    } else {
        return fail(QStringLiteral("the phone takes no message format (%1)").arg(r));
    }
    // Text mode tells the phone which character set its text comes in: the best one offered.
    d->charset.clear();
    if (found.mode == 1) {
        r = sendCommand(QStringLiteral("AT+CSCS=?"));
        const QStringList offered = failed(r) ? QStringList() : Charset::offered(r);
        for (const QString& set : Gsm::textCharsets()) {
            if (offered.contains(set) && !failed(sendCommand(QStringLiteral("AT+CSCS=\"%1\"").arg(set)))) {
                d->charset = set;
                break;
            }
        }
        if (d->charset.isEmpty()) {
            d->log.writeLog(QStringLiteral("Text mode: no character set of the phone could be chosen (%1); "
                                           "text goes as Latin-1")
                                .arg(r));
        }
    }
    if (found.manufacturer.isEmpty() && found.model.isEmpty()) {
        return fail(QStringLiteral("the phone does not say what it is"));
    }
    d->identity = found;
    d->loggedStartFailure.clear();
    return true;
}

const DeviceIdentity& PhoneLink::identity() const {
    return d->identity;
}

QString PhoneLink::startError() const {
    return d->startError;
}

QString PhoneLink::charset() const {
    return d->charset;
}

QString PhoneLink::submitSms(const QString& number, const QString& text, bool report, bool flash) {
    if (!isOpen()) {
        return QStringLiteral("ERROR: the serial port is not open");
    }
    if (d->busy) {
        return QStringLiteral("ERROR: the phone is busy with another command");
    }
    // A text that is no number is refused before the phone is asked: letters are never
    // dropped to dial what is left.
    if (PhoneNumber::dialable(number).isEmpty()) {
        return QStringLiteral("ERROR: invalid number '%1'").arg(number);
    }
    QString result;
    if (d->identity.mode == 1) {
        const QString dial = PhoneNumber::dialable(number);
        // Validity 24 h; delivery report and class 0 as asked.
        const QString csmp = QStringLiteral("AT+CSMP=%1,167,0,%2").arg(report ? 49 : 17).arg(flash ? 16 : 0);
        const QString r = sendCommand(csmp);
        if (r.contains(QLatin1String("ERROR"))) {
            d->log.writeLog(QStringLiteral("The phone refused %1: %2").arg(csmp, r));
        }
        int replaced = 0;
        const QByteArray body = Gsm::encodeText(text, d->charset, &replaced);
        if (replaced > 0) {
            d->log.writeLog(
                QStringLiteral("Text mode: %1 character(s) sent to %2 as \"?\"").arg(replaced).arg(dial));
        }
        d->busy = true;
        d->drain();
        const QString address = QString::fromLatin1(Gsm::encodeText(dial, d->charset));
        result = d->submitOne(QStringLiteral("AT+CMGS=\"%1\"").arg(address), body);
    } else {
        const QList<Pdu::Part> parts = Pdu::buildSubmit(number, text, report, flash, d->reference++);
        if (parts.isEmpty()) {
            return QStringLiteral("ERROR: invalid number '%1' or text too long").arg(number);
        }
        d->busy = true;
        QStringList refs;
        for (qsizetype i = 0; i < parts.size() && result.isEmpty(); ++i) {
            d->drain();
            const QString r = d->submitOne(QStringLiteral("AT+CMGS=%1").arg(parts.at(i).tpduLength),
                                           parts.at(i).hex.toLatin1());
            if (!r.startsWith(QLatin1String("OK"))) {
                result = parts.size() > 1
                             ? r + QStringLiteral(" (part %1 of %2)").arg(i + 1).arg(parts.size())
                             : r;
            } else {
                refs.append(r.mid(3));
            }
        }
        if (result.isEmpty()) {
            result = QStringLiteral("OK ") + refs.join(u',');
        }
    }
    d->busy = false;
    if (d->log.debugMode()) {
        d->log.writeLog(QStringLiteral("Submit to %1: %2").arg(number, result), true);
    }
    emit dialogueEnded();
    return result;
}

QString PhoneLink::devicePath(const QString& portSetting) {
    bool isNumber = false;
    const int n = portSetting.trimmed().toInt(&isNumber);
    return isNumber ? QStringLiteral("/dev/ttyS%1").arg(n - 1) : portSetting.trimmed();
}
