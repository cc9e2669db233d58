// The serial link end to end: the program opens the slave side of a pty through QSerialPort,
// as it opens a modem, and the simulated phone answers on the master side.
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "IniStore.h"
#include "LogWriter.h"
#include "PhoneLink.h"
#include "PhoneSimulator.h"

using namespace Qt::StringLiterals;

class tst_PhoneLink : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void portSettings();
    void missingAndBusyPort();
    void echoOnAndOff();
    void cleaningRules();
    void onlyFinalOkRemoved();
    void phoneErrorsAreFinal();
    void timeOut();
    void leftoverLeadsNextReply();
    void unsolicitedLines();
    void replyWithoutEndIsBounded();
    void portDisappears();
    void checkAndPing();
    void nestedCommandRefused();
    void phonebookMemories();
    void startIdentifies();
    void startFailures();
    void startFallsBackToTextMode();

private:
    bool open();
    QString logText() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<IniStore> m_ini;
    std::unique_ptr<LogWriter> m_log;
    std::unique_ptr<PhoneSimulator> m_sim;
    std::unique_ptr<PhoneLink> m_link;
};

void tst_PhoneLink::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_log = std::make_unique<LogWriter>(m_dir->path());
    m_ini = std::make_unique<IniStore>(m_dir->filePath(u"tellwick.ini"_s), m_log.get());
    m_sim = std::make_unique<PhoneSimulator>();
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
    m_link = std::make_unique<PhoneLink>(*m_ini, *m_log);
}

void tst_PhoneLink::cleanup() {
    m_link.reset();
    m_sim.reset();
    m_ini.reset();
    m_log.reset();
    m_dir.reset();
}

bool tst_PhoneLink::open() {
    m_ini->writeINI(u"Settings"_s, u"Port"_s, m_sim->devicePath());
    m_ini->writeINI(u"Settings"_s, u"Speed"_s, u"115200"_s);
    return m_link->openPort();
}

QString tst_PhoneLink::logText() const {
    QFile f(m_log->transactionLogPath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void tst_PhoneLink::portSettings() {
    QCOMPARE(PhoneLink::devicePath(u"1"_s), u"/dev/ttyS0"_s);
    QCOMPARE(PhoneLink::devicePath(u" 4 "_s), u"/dev/ttyS3"_s);
    QCOMPARE(PhoneLink::devicePath(u"/dev/ttyUSB0"_s), u"/dev/ttyUSB0"_s);

    QVERIFY(!m_link->openPort());  // nothing set up yet
    QVERIFY(!m_link->isOpen());
    QVERIFY(open());
    QCOMPARE(m_link->identity().port, m_sim->devicePath());
    QCOMPARE(m_link->identity().speed, 115200);
    QVERIFY(!m_link->identity().known());
}

void tst_PhoneLink::missingAndBusyPort() {
    // A port that does not exist: a clear error, a log line, and every command an "ERROR".
    QVERIFY(!m_link->openPort(u"/dev/tellwick-no-such-port"_s, 9600));
    QVERIFY(m_link->lastError().contains(u"/dev/tellwick-no-such-port"_s));
    QVERIFY(logText().contains(u"Error opening serial port /dev/tellwick-no-such-port"_s));
    QCOMPARE(m_link->sendCommand(u"AT"_s), u"ERROR"_s);
    QVERIFY(!m_link->checkDevice());
    m_link->pingDevice();
    QVERIFY(!m_link->startDevice());
    QVERIFY(!m_link->startError().isEmpty());
    QVERIFY(m_link->submitSms(u"+123"_s, u"x"_s, false, false).startsWith(u"ERROR"_s));

    // A port another program holds.
    QSerialPort other(m_sim->devicePath());
    QVERIFY(other.open(QIODevice::ReadWrite));
    QVERIFY(!m_link->openPort(m_sim->devicePath(), 9600));
    QVERIFY(!m_link->lastError().isEmpty());
    QCOMPARE(m_link->sendCommand(u"AT"_s), u"ERROR"_s);
    other.close();
    QVERIFY(m_link->openPort(m_sim->devicePath(), 9600));
    QCOMPARE(m_link->sendCommand(u"AT"_s), u"OK"_s);
}

void tst_PhoneLink::echoOnAndOff() {
    QVERIFY(open());
    QVERIFY(m_sim->echo());
    QCOMPARE(m_link->sendCommand(u"AT"_s), u"OK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CGMI"_s, 0, true), u"Tellwick||OK"_s);
    QCOMPARE(m_link->sendCommand(u"ATE0"_s), u"OK"_s);
    QVERIFY(!m_sim->echo());
    QCOMPARE(m_link->sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    QCOMPARE(m_link->sendCommand(u"AT"_s, 0, true), u"OK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+NOSUCH"_s), u"ERROR"_s);
    QCOMPARE(m_sim->commands(), QStringList({u"AT"_s, u"AT+CGMI"_s, u"AT+CGMI"_s, u"ATE0"_s, u"AT+CGMI"_s,
                                             u"AT"_s, u"AT+NOSUCH"_s}));
}

void tst_PhoneLink::cleaningRules() {
    QVERIFY(open());
    m_sim->setEcho(false);
    // Several lines joined by "|"; a CR alone or LF alone disappears.
    m_sim->setAnswer(u"AT+MULTI"_s, u"line one\nline two\nOK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+MULTI"_s), u"line one||line two"_s);
    // Bytes exactly as the phone sends them: echo, then CR alone, LF alone, CR LF.
    PhoneSimulator::Rule raw;
    raw.answer = u""_s;
    raw.after = "\r\n\r\na\rb\nc\r\nOK\r\n";
    m_sim->setRule(u"AT+BARE"_s, raw);
    QCOMPARE(m_link->sendCommand(u"AT+BARE"_s, 0, true), u"abc|OK"_s);
    raw.after = "\r\nabc\r\n\r\nOK\r\n";
    m_sim->setRule(u"AT+BARE"_s, raw);
    QCOMPARE(m_link->sendCommand(u"AT+BARE"_s), u"abc"_s);
    // Echo with bytes right behind it: the command and the three characters after it go.
    m_sim->setEcho(true);
    raw.after = "\r\nX\r\n\r\nOK\r\n";
    m_sim->setRule(u"AT+BARE"_s, raw);
    QCOMPARE(m_link->sendCommand(u"AT+BARE"_s), u"X"_s);
    // The echo is only removed when the reply begins with the command itself.
    m_sim->setEcho(false);
    m_sim->sendRaw("\r\nlate\r\n");
    m_sim->setAnswer(u"AT+X"_s, u"AT+Y\nOK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+X"_s), u"late||AT+Y"_s);
    // The prompt ends the reply.
    QCOMPARE(m_link->sendCommand(u"AT+CMGF=1"_s), u"OK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CMGS=\"123\""_s), u"> "_s);
    m_sim->sendRaw("\x1b");
}

void tst_PhoneLink::onlyFinalOkRemoved() {
    QVERIFY(open());
    m_sim->setEcho(false);
    m_sim->setPhonebookEntry(u"SM"_s, 1, u"111"_s, u"OK"_s);
    m_sim->setPhonebookEntry(u"SM"_s, 2, u"222"_s, u"Bob"_s);
    m_sim->setAnswer(u"AT+LINES"_s, u"first\nOK\nlast\nOK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+LINES"_s), u"first||OK||last"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBR=1,2"_s),
             u"+CPBR: 1,\"111\",129,\"OK\"||+CPBR: 2,\"222\",129,\"Bob\""_s);
}

void tst_PhoneLink::phoneErrorsAreFinal() {
    QVERIFY(open());
    // With no end but the limit these would give the time-out text; they end the reply at once
    // and the next command gets its own answer.
    QCOMPARE(m_link->sendCommand(u"AT+CPBR=999"_s, 5), u"+CME ERROR: 21"_s);
    m_sim->setAnswer(u"AT+CMGD"_s, u"+CMS ERROR: 321"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CMGD=4"_s, 5), u"+CMS ERROR: 321"_s);
    QCOMPARE(m_link->sendCommand(u"AT"_s, 5), u"OK"_s);
}

void tst_PhoneLink::timeOut() {
    QVERIFY(open());
    m_sim->setSilent(u"AT+SLOW"_s);
    QCOMPARE(m_link->sendCommand(u"AT+SLOW"_s, 1), u"ERROR: TimeOut (1 secs.)"_s);
    // 0 takes [Settings] Timeout.
    m_ini->writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    QCOMPARE(m_link->sendCommand(u"AT+SLOW"_s), u"ERROR: TimeOut (1 secs.)"_s);
    // A reply that comes after the limit is not lost: it leads the next reply.
    m_sim->setDelay(u"AT+LATE"_s, 1500);
    m_sim->setEcho(false);
    const qint64 before = m_sim->bytesSent();
    QCOMPARE(m_link->sendCommand(u"AT+LATE"_s, 1), u"ERROR: TimeOut (1 secs.)"_s);
    QTRY_VERIFY(m_sim->bytesSent() > before);
    QCOMPARE(m_link->sendCommand(u"AT"_s, 0, true), u"ERROR||OK"_s);
}

void tst_PhoneLink::leftoverLeadsNextReply() {
    QVERIFY(open());
    m_sim->setEcho(false);
    PhoneSimulator::Rule late;
    late.after = "\r\nOK\r\n";
    late.afterDelayMs = 30;
    m_sim->setRule(u"AT+CSQ"_s, late);
    QCOMPARE(m_link->sendCommand(u"AT+CSQ"_s), u"+CSQ: 20,99"_s);
    // The late "OK" comes in between; it must not end the next reply before its answer came.
    const qint64 before = m_sim->bytesSent();
    QTRY_VERIFY(m_sim->bytesSent() > before);
    QCOMPARE(m_link->sendCommand(u"AT+CGMM"_s), u"OK||Simulated GSM Modem"_s);
    QCOMPARE(m_link->sendCommand(u"AT"_s), u"OK"_s);
}

void tst_PhoneLink::unsolicitedLines() {
    QVERIFY(open());
    m_sim->setEcho(false);
    m_sim->sendUnsolicited(u"+CMTI: \"SM\",3"_s);
    m_sim->sendUnsolicited(u"^RSSI: 12"_s);
    QCOMPARE(m_link->sendCommand(u"AT"_s, 0, true), u"+CMTI: \"SM\",3||^RSSI: 12||OK"_s);
    // An unsolicited line in the middle of an answer stays where it came.
    m_sim->setAnswer(u"AT+CGMI"_s, u"Tellwick\n+CMTI: \"SM\",4\nOK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CGMI"_s), u"Tellwick||+CMTI: \"SM\",4"_s);
}

void tst_PhoneLink::replyWithoutEndIsBounded() {
    QVERIFY(open());
    m_sim->setEcho(false);
    m_sim->setSilent(u"AT+FLOOD"_s);
    QByteArray junk(256 * 1024, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i) {
        junk[i] = char(i * 37 % 251);  // bytes that are not text, no final result among them
    }
    junk.replace("OK", "Ok");
    junk.replace("ERROR", "Error");
    junk.replace('>', '<');
    connect(m_sim.get(), &PhoneSimulator::commandReceived, m_sim.get(), [&](const QString& c) {
        if (c == u"AT+FLOOD"_s) {
            for (int i = 0; i < 8; ++i) {
                m_sim->sendRaw(junk);
            }
        }
    });
    const QString r = m_link->sendCommand(u"AT+FLOOD"_s, 1);
    QCOMPARE(r, u"ERROR: TimeOut (1 secs.)"_s);
    // What is kept for the next reply is bounded.
    const QString next = m_link->sendCommand(u"AT"_s, 2);
    QVERIFY(next.endsWith(u"OK"_s));
    QVERIFY(next.size() <= 1024 * 1024 + 16);
}

void tst_PhoneLink::portDisappears() {
    QVERIFY(open());
    QVERIFY(m_link->startDevice());
    QVERIFY(m_link->identity().known());
    m_sim->setSilent(u"AT+WAIT"_s);
    connect(m_sim.get(), &PhoneSimulator::commandReceived, m_sim.get(), [&](const QString& c) {
        if (c == u"AT+WAIT"_s) {
            m_sim->disappear();
        }
    });
    QVERIFY(m_link->sendCommand(u"AT+WAIT"_s, 30).startsWith(u"ERROR"_s));
    QVERIFY(!m_link->isOpen());
    QVERIFY(!m_link->identity().known());
    QVERIFY(logText().contains(u"lost"_s));
    QCOMPARE(m_link->sendCommand(u"AT"_s), u"ERROR"_s);
    QVERIFY(m_link->submitSms(u"+1"_s, u"x"_s, false, false).startsWith(u"ERROR"_s));
}

void tst_PhoneLink::checkAndPing() {
    QVERIFY(open());
    QVERIFY(m_link->checkDevice());
    m_sim->setSilent(u"AT"_s);
    QVERIFY(!m_link->checkDevice());  // one-second limit
    m_sim->clearRules();
    m_sim->clearRecords();
    m_link->pingDevice();
    QCOMPARE(m_sim->commands(), QStringList{u"AT"_s});
}

void tst_PhoneLink::nestedCommandRefused() {
    // A timer that fires while a command waits must not take that command's reply.
    QVERIFY(open());
    m_sim->setDelay(u"AT+CGMI"_s, 100);
    QString inner;
    QTimer::singleShot(20, m_link.get(), [&] { inner = m_link->sendCommand(u"AT+CGMM"_s); });
    QCOMPARE(m_link->sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    QCOMPARE(inner, u"ERROR"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CGMM"_s), u"Simulated GSM Modem"_s);
}

void tst_PhoneLink::phonebookMemories() {
    QVERIFY(open());
    m_sim->setEcho(false);
    m_sim->setPhonebook(u"ME"_s, 3, 20, 8);
    QCOMPARE(m_link->sendCommand(u"AT+CPBS=\"ME\""_s), u"OK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBR=?"_s), u"+CPBR: (1-3),20,8"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBW=2,\"+4412\",145,\"Ann, Bo\""_s), u"OK"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBW=1,\"1\",129,\"Much too long\""_s), u"+CME ERROR: 24"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBW=4,\"1\",129,\"x\""_s), u"+CME ERROR: 21"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBS?"_s), u"+CPBS: \"ME\",1,3"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBR=1,3"_s), u"+CPBR: 2,\"+4412\",145,\"Ann, Bo\""_s);
    QCOMPARE(m_sim->phonebook(u"ME"_s).value(2).name, u"Ann, Bo"_s);
    QCOMPARE(m_link->sendCommand(u"AT+CPBW=2"_s), u"OK"_s);
    QVERIFY(m_sim->phonebook(u"ME"_s).isEmpty());
    QVERIFY(m_sim->phonebook(u"SM"_s).isEmpty());
}

void tst_PhoneLink::startIdentifies() {
    QVERIFY(open());
    m_sim->setIdentity(u"NOKIA"_s, u"6310i"_s, u"+CGSN: 123456789012345"_s.mid(7));
    QVERIFY(m_link->startDevice());
    QCOMPARE(m_link->startError(), QString());
    const DeviceIdentity& id = m_link->identity();
    QCOMPARE(id.manufacturer, u"NOKIA"_s);
    QCOMPARE(id.model, u"6310i"_s);
    QCOMPARE(id.serialNumber, u"123456789012345"_s);
    QCOMPARE(id.mode, 0);
    QCOMPARE(m_sim->messageMode(), 0);
    QVERIFY(!m_sim->echo());
    QCOMPARE(m_sim->commands(), QStringList({u"AT"_s, u"ATE0"_s, u"AT+CPIN?"_s, u"AT+CGMI"_s, u"AT+CGMM"_s,
                                             u"AT+CGSN"_s, u"AT+CMGF=0"_s}));
    // Phones that prefix their answers.
    m_sim->setAnswer(u"AT+CGMI"_s, u"+CGMI: \"Maker\"\nOK"_s);
    QVERIFY(m_link->startDevice());
    QCOMPARE(m_link->identity().manufacturer, u"Maker"_s);
}

void tst_PhoneLink::startFailures() {
    QVERIFY(open());
    m_sim->setPinState(u"SIM PIN"_s);
    QVERIFY(!m_link->startDevice());
    QVERIFY(!m_link->identity().known());
    QVERIFY2(m_link->startError().contains(u"SIM PIN"_s), qPrintable(m_link->startError()));
    QVERIFY(logText().contains(u"SIM PIN"_s));

    m_sim->setPinState(u"READY"_s);
    QVERIFY(m_link->startDevice());
    // A failure later in the start-up leaves no half identity behind.
    m_sim->setAnswer(u"AT+CGSN"_s, u"+CME ERROR: 10"_s);
    QVERIFY(!m_link->startDevice());
    QVERIFY(m_link->identity().manufacturer.isEmpty());
    QVERIFY(m_link->identity().model.isEmpty());
    QVERIFY(m_link->startError().contains(u"+CME ERROR: 10"_s));

    m_sim->clearRules();
    m_sim->setSilent(u"AT"_s);
    m_ini->writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    QVERIFY(!m_link->startDevice());
    QVERIFY(m_link->startError().contains(u"TimeOut"_s));
}

void tst_PhoneLink::startFallsBackToTextMode() {
    QVERIFY(open());
    m_sim->setPduSupported(false);
    QVERIFY(m_link->startDevice());
    QCOMPARE(m_link->identity().mode, 1);
    QCOMPARE(m_sim->messageMode(), 1);
    QVERIFY(m_sim->commands().endsWith(u"AT+CMGF=1"_s));
}

QTEST_GUILESS_MAIN(tst_PhoneLink)
#include "tst_phonelink.moc"
