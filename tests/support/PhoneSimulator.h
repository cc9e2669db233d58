#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// One SMS-SUBMIT PDU taken apart.
struct SubmittedSms {
    bool valid = false;
    QString error;       // why the PDU could not be read
    int tpduLength = 0;  // octets after the service-centre part
    int firstOctet = 0;
    bool statusReport = false;
    int validityFormat = 0;  // 0 none, 2 relative, 1/3 enhanced/absolute
    int validity = -1;       // the relative validity octet
    QString number;          // "+" and digits
    int numberType = 0;
    int pid = 0;
    int dcs = 0;
    bool ucs2 = false;
    bool eightBit = false;
    bool flash = false;  // message class 0
    int concatRef = -1;  // concatenation header, -1 when none
    int concatTotal = 0;
    int concatSeq = 0;
    int userDataLength = 0;  // septets or octets as the PDU states it
    QString text;
};

// A phone on a pseudo-terminal, for tests and for trying the program without a phone. The
// program opens devicePath() as it opens a modem; the simulator answers on the master side in
// the thread that created it (driven by the event loop, so a test that waits in the event
// loop gets its answers). It records every command and every submitted message.
class PhoneSimulator : public QObject {
    Q_OBJECT
public:
    // How the phone treats commands that begin with a prefix (without regard to case).
    struct Rule {
        int delayMs = 0;       // the answer comes this much later
        bool silent = false;   // no echo, no answer at all
        QString answer;        // replaces the usual answer: lines split at "\n", the last is the final
                               // result; "" (not null) answers nothing but the bytes of after
        QByteArray after;      // raw bytes written after the answer (late "OK", unsolicited lines)
        int afterDelayMs = 0;  // ... this much after it
    };
    struct Submission {
        bool pdu = true;
        QString argument;  // the PDU length or the quoted number as given
        QString body;      // the PDU hex or the text, each byte as received
        // Text mode: the number and the text decoded from the character set in force, and
        // how many of the body's bytes that set cannot hold (shown as U+FFFD in text).
        QString number;
        QString text;
        QString charset;
        int unfit = 0;
    };
    struct PhonebookEntry {
        QString number;
        int type = 129;
        QString name;
    };

    explicit PhoneSimulator(QObject* parent = nullptr);
    ~PhoneSimulator() override;

    // Opens the pty pair; false (see errorString) when the system has none to give.
    bool start();
    bool isRunning() const { return m_master >= 0; }
    QString devicePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }
    // The phone is unplugged: both sides of the pty are closed.
    void disappear();

    void setEcho(bool on) { m_echo = on; }
    bool echo() const { return m_echo; }
    void setIdentity(const QString& manufacturer, const QString& model, const QString& serial);
    void setPinState(const QString& state) { m_pin = state; }  // "READY", "SIM PIN", ...
    void setPduSupported(bool on) { m_pduSupported = on; }
    void setSignal(int rssi) { m_rssi = rssi; }
    // Answers take as long as their bytes (and the command's) need at this speed; 0: at once.
    void setLineSpeed(int bitsPerSecond) { m_lineSpeed = bitsPerSecond; }
    void setNextReference(int mr) { m_reference = mr & 0xFF; }
    // The answer to a message body in place of "+CMGS: <mr>" ("+CMS ERROR: 500"); "" for success.
    void setSubmitAnswer(const QString& answer) { m_submitAnswer = answer; }

    void setRule(const QString& prefix, const Rule& rule);
    void setDelay(const QString& prefix, int ms);
    void setSilent(const QString& prefix);
    void setAnswer(const QString& prefix, const QString& answer);
    void clearRules() { m_rules.clear(); }

    // Lines of the phone's own put into every answer (the prompt and a message body's answer
    // too), in the same write: before the echo, just before the final result, or right after it.
    enum class Injection { None, Before, Inside, After };
    void setInjection(Injection where, const QByteArray& bytes) {
        m_injectWhere = where;
        m_inject = bytes;
    }

    // Writes bytes to the program now.
    void sendRaw(const QByteArray& bytes);
    // "\r\n<line>\r\n" now, as a phone reports a new message or the signal.
    void sendUnsolicited(const QString& line);

    // Phonebook memories "ME" and "SM".
    void setPhonebook(const QString& memory, int size, int numberLength, int nameLength);
    void setPhonebookEntry(const QString& memory, int index, const QString& number, const QString& name);
    QMap<int, PhonebookEntry> phonebook(const QString& memory) const;
    QString phonebookMemory() const { return m_memory; }

    QStringList commands() const { return m_commands; }
    QList<Submission> submissions() const { return m_submissions; }
    QList<SubmittedSms> decodedSubmissions() const;
    void clearRecords();
    int messageMode() const { return m_mode; }
    QString smsParameters() const { return m_csmp; }  // the last AT+CSMP arguments
    QString charset() const { return m_charset; }
    // The character sets AT+CSCS=? offers, in the phone's order ("GSM", "IRA", "8859-1", "UCS2").
    void setCharsets(const QStringList& sets) { m_charsets = sets; }
    QString revision() const { return m_revision; }  // AT+CGMR
    QString imsi() const { return m_imsi; }          // AT+CIMI
    qint64 bytesReceived() const { return m_bytesIn; }
    qint64 bytesSent() const { return m_bytesOut; }

    static SubmittedSms decodeSubmit(const QString& hex);

signals:
    void commandReceived(const QString& command);
    void submitted(const PhoneSimulator::Submission& submission);

private:
    struct Memory {
        int size = 250;
        int numberLength = 40;
        int nameLength = 16;
        QMap<int, PhonebookEntry> entries;
    };

    void onReadable();
    void process();
    void handle(const QByteArray& line);
    QStringList answerFor(const QString& command);
    QStringList phonebookAnswer(const QString& command, const QString& upper);
    QStringList standardAnswer(const QString& command, const QString& upper);
    QStringList withErrorMode(QStringList answer) const;
    QString phonebookLine(int index, const PhonebookEntry& e) const;
    static QStringList arguments(const QString& text);
    QString encodeText(const QString& text) const;
    QString decodeText(const QString& received, int* unfit = nullptr) const;
    qsizetype cancelIn(qsizetype end, bool* wait) const;
    void finishSubmit(const QByteArray& body);
    void queueOut(const QByteArray& bytes, int delayMs);
    void writeNow(const QByteArray& bytes);
    void flushOut();
    int paceMs(qint64 bytes) const;
    const Rule* ruleFor(const QString& command) const;

    int m_master = -1;
    int m_slaveKeep = -1;  // keeps the slave side open so the master never sees a hang-up
    QSocketNotifier* m_notifier = nullptr;
    QSocketNotifier* m_writable = nullptr;
    QByteArray m_out;  // written as the pty has room, in order, as a phone's buffer would
    qsizetype m_outDone = 0;
    QString m_slavePath;
    QString m_error;
    QByteArray m_in;
    QElapsedTimer m_clock;
    qint64 m_lastDue = 0;

    bool m_echo = true;
    QString m_manufacturer = QStringLiteral("Tellwick");
    QString m_model = QStringLiteral("Simulated GSM Modem");
    QString m_serial = QStringLiteral("350000000000001");
    QString m_pin = QStringLiteral("READY");
    bool m_pduSupported = true;
    int m_mode = 1;
    int m_rssi = 20;
    int m_lineSpeed = 0;
    int m_reference = 1;
    QString m_csmp = QStringLiteral("17,167,0,0");
    QString m_charset = QStringLiteral("IRA");
    QStringList m_charsets{QStringLiteral("GSM"), QStringLiteral("IRA"), QStringLiteral("8859-1"),
                           QStringLiteral("UCS2")};
    int m_cmee = 1;  // numeric error codes from the start, as many phones come
    QString m_revision = QStringLiteral("1.0.4");
    QString m_imsi = QStringLiteral("262019876543210");
    QString m_serviceCentre = QStringLiteral("+491710760000");
    QStringList m_storage{QStringLiteral("SM"), QStringLiteral("SM"), QStringLiteral("SM")};
    bool m_inBody = false;
    QString m_bodyArgument;
    QString m_submitAnswer;
    bool m_bodySilent = false;
    Injection m_injectWhere = Injection::None;
    QByteArray m_inject;
    QByteArray injected(const QList<QByteArray>& lines) const;
    QList<QPair<QString, Rule>> m_rules;
    QHash<QString, Memory> m_memories;
    QString m_memory = QStringLiteral("SM");

    QStringList m_commands;
    QList<Submission> m_submissions;
    qint64 m_bytesIn = 0;
    qint64 m_bytesOut = 0;

public:
    // Starts the phone behind a path of its own, a symbolic link to the pty, so that a program
    // that opened it finds the phone there again after disappear() and comeBack(), as it finds
    // a USB modem that was unplugged and plugged in again on the same device name. The link is
    // removed while the phone is away.
    bool startAt(const QString& linkPath);
    QString linkPath() const { return m_link; }
    // Plugged in again after disappear(): a new pty behind the same link path; the phone's
    // identity, memories and rules are kept, its line state starts afresh.
    bool comeBack();
    // Stops answering anything (commands still recorded), as a phone that froze.
    void goSilent() { setSilent(QString()); }
    // Takes message bodies (recorded, submitted emitted) and answers none of them, as a phone
    // that froze while it sent one.
    void setBodySilent(bool on) { m_bodySilent = on; }

private:
    bool pointLink();
    QString m_link;
};
