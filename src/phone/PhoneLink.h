#pragma once

#include <QObject>
#include <QString>

class IniStore;
class LogWriter;

// What is known of the phone: empty manufacturer and model while no phone is identified.
struct DeviceIdentity {
    QString manufacturer;
    QString model;
    QString serialNumber;
    QString port;   // device path as opened
    int speed = 0;  // bit/s
    int mode = 0;   // message mode: 0 PDU, 1 text
    bool known() const { return !manufacturer.isEmpty() || !model.isEmpty(); }
};

// The serial link to the phone: one send-and-wait operation, start-up and SMS submit.
// Every wait lets the message loop run; failures come back as texts containing "ERROR".
class PhoneLink : public QObject {
    Q_OBJECT
public:
    PhoneLink(IniStore& ini, LogWriter& log, QObject* parent = nullptr);
    ~PhoneLink() override;

    // Opens the port of [Settings] Port at [Settings] Speed (8N1). A bare number N means /dev/ttyS<N-1>.
    bool openPort();
    bool openPort(const QString& port, int speed);
    void closePort();
    bool isOpen() const;
    QString lastError() const;
    // The port went away under the program (a hang-up, the device gone, read errors that
    // repeat) and has not been opened again since.
    bool isLost() const;
    // Opens [Settings] Port again without logging a failure: the signal tick tries it every
    // few seconds while the phone is gone.
    bool reopen();
    // A phone dialogue (a command or a submit) is running.
    bool isBusy() const;

    // Writes command + CR and waits, letting the message loop run, until a final result ("OK",
    // "ERROR", "+CME ERROR: n", "+CMS ERROR: n", ">") stands on a line of its own in what came
    // after the write, or the limit passes. Lines the phone sends of its own accord are taken
    // out (PhoneReply::take); the reply is cleaned as PhoneReply::clean says; input left over
    // from an earlier command leads it. "ERROR" when the port is closed, lost or already waiting;
    // "ERROR: TimeOut (<n> secs.)" when the limit passed.
    // timeoutSeconds 0 means [Settings] Timeout (default 10).
    QString sendCommand(const QString& command, int timeoutSeconds = 0, bool keepOK = false);
    // "AT" with a one-second limit; true when the reply holds no "ERROR".
    bool checkDevice();
    // "AT" with the default limit when the port is open; drains late input.
    void pingDevice();

    // Start-up: AT, echo off, PIN state, identification, message mode. True when identified.
    bool startDevice();
    const DeviceIdentity& identity() const;
    // Why the last start-up failed ("" after a good one).
    QString startError() const;
    // The character set the start-up declared with AT+CSCS (text mode), "" when it declared none.
    QString charset() const;

    // Submits one SMS (PDU or text mode as the start-up chose). The ">" prompt is waited for
    // as long as [Settings] Timeout says, the phone's answer to the message 60 seconds at most:
    // "OK <mr>[,<mr>...]" with the phone's message references, or a text beginning with "ERROR".
    // A number that is no number (PhoneNumber::dialable) gives "ERROR: invalid number '<number>'"
    // before the phone is asked.
    QString submitSms(const QString& number, const QString& text, bool report, bool flash);

    static QString devicePath(const QString& portSetting);

signals:
    // The port went away; why, as the log says it.
    void portLost(const QString& why);
    // A command or a submit is over and the link is free.
    void dialogueEnded();
    // The phone sent something.
    void received();

private:
    class Private;
    Private* d;
};
