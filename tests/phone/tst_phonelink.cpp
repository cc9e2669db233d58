// The serial link end to end: the program opens the slave side of a pty through QSerialPort,
// as it opens a modem, and the simulated phone answers on the master side.
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "PhoneRig.h"

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
    void textThatLooksFinal();
    void phoneErrorsAreFinal();
    void timeOut();
    void leftoverLeadsNextReply();
    void unsolicitedLines();
    void replyWithoutEndIsBounded();
    void portDisappears();
    void portComesBackOnItsPath();
    void promptWaitsTheSetTimeout();
    void checkAndPing();
    void nestedCommandRefused();
    void phonebookMemories();
    void startIdentifies();
    void startFailures();
    void startFallsBackToTextMode();

private:
    bool open();

    std::unique_ptr<PhoneRig> m_rig;
};

void tst_PhoneLink::init() {
    m_rig = std::make_unique<PhoneRig>();
    QVERIFY2(m_rig->sim.start(), qPrintable(m_rig->sim.errorString()));
}

void tst_PhoneLink::cleanup() {
    m_rig.reset();
}

bool tst_PhoneLink::open() {
    m_rig->ini.writeINI(u"Settings"_s, u"Port"_s, m_rig->sim.devicePath());
    m_rig->ini.writeINI(u"Settings"_s, u"Speed"_s, u"115200"_s);
    return m_rig->link.openPort();
}

void tst_PhoneLink::portSettings() {
    QCOMPARE(PhoneLink::devicePath(u"1"_s), u"/dev/ttyS0"_s);
    QCOMPARE(PhoneLink::devicePath(u" 4 "_s), u"/dev/ttyS3"_s);
    QCOMPARE(PhoneLink::devicePath(u"/dev/ttyUSB0"_s), u"/dev/ttyUSB0"_s);

    QVERIFY(!m_rig->link.openPort());  // nothing set up yet
    QVERIFY(!m_rig->link.isOpen());
    QVERIFY(open());
    QCOMPARE(m_rig->link.identity().port, m_rig->sim.devicePath());
    QCOMPARE(m_rig->link.identity().speed, 115200);
    QVERIFY(!m_rig->link.identity().known());
}

void tst_PhoneLink::missingAndBusyPort() {
    // A port that does not exist: a clear error, a log line, and every command an "ERROR".
    QVERIFY(!m_rig->link.openPort(u"/dev/tellwick-no-such-port"_s, 9600));
    QVERIFY(m_rig->link.lastError().contains(u"/dev/tellwick-no-such-port"_s));
    QVERIFY(m_rig->logText().contains(u"Error opening serial port /dev/tellwick-no-such-port"_s));
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"ERROR"_s);
    QVERIFY(!m_rig->link.checkDevice());
    m_rig->link.pingDevice();
    QVERIFY(!m_rig->link.startDevice());
    QVERIFY(!m_rig->link.startError().isEmpty());
    QVERIFY(m_rig->link.submitSms(u"+123"_s, u"x"_s, false, false).startsWith(u"ERROR"_s));

    // A port another program holds.
    QSerialPort other(m_rig->sim.devicePath());
    QVERIFY(other.open(QIODevice::ReadWrite));
    QVERIFY(!m_rig->link.openPort(m_rig->sim.devicePath(), 9600));
    QVERIFY(!m_rig->link.lastError().isEmpty());
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"ERROR"_s);
    other.close();
    QVERIFY(m_rig->link.openPort(m_rig->sim.devicePath(), 9600));
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
}

void tst_PhoneLink::echoOnAndOff() {
    QVERIFY(open());
    QVERIFY(m_rig->sim.echo());
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s, 0, true), u"Tellwick||OK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"ATE0"_s), u"OK"_s);
    QVERIFY(!m_rig->sim.echo());
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s, 0, true), u"OK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+NOSUCH"_s), u"ERROR"_s);
    QCOMPARE(m_rig->sim.commands(), QStringList({u"AT"_s, u"AT+CGMI"_s, u"AT+CGMI"_s, u"ATE0"_s, u"AT+CGMI"_s,
                                                 u"AT"_s, u"AT+NOSUCH"_s}));
}

void tst_PhoneLink::cleaningRules() {
    QVERIFY(open());
    m_rig->sim.setEcho(false);
    // Several lines joined by "|"; a CR alone or LF alone disappears.
    m_rig->sim.setAnswer(u"AT+MULTI"_s, u"line one\nline two\nOK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+MULTI"_s), u"line one||line two"_s);
    // Bytes exactly as the phone sends them: echo, then CR alone, LF alone, CR LF.
    PhoneSimulator::Rule raw;
    raw.answer = u""_s;
    raw.after = "\r\n\r\na\rb\nc\r\nOK\r\n";
    m_rig->sim.setRule(u"AT+BARE"_s, raw);
    QCOMPARE(m_rig->link.sendCommand(u"AT+BARE"_s, 0, true), u"abc|OK"_s);
    raw.after = "\r\nabc\r\n\r\nOK\r\n";
    m_rig->sim.setRule(u"AT+BARE"_s, raw);
    QCOMPARE(m_rig->link.sendCommand(u"AT+BARE"_s), u"abc"_s);
    // Echo with bytes right behind it: the command and the three characters after it go.
    m_rig->sim.setEcho(true);
    raw.after = "\r\nX\r\n\r\nOK\r\n";
    m_rig->sim.setRule(u"AT+BARE"_s, raw);
    QCOMPARE(m_rig->link.sendCommand(u"AT+BARE"_s), u"X"_s);
    // The echo is only removed when the reply begins with the command itself.
    m_rig->sim.setEcho(false);
    m_rig->sim.sendRaw("\r\nlate\r\n");
    m_rig->sim.setAnswer(u"AT+X"_s, u"AT+Y\nOK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+X"_s), u"late||AT+Y"_s);
    // The prompt ends the reply.
    QCOMPARE(m_rig->link.sendCommand(u"AT+CMGF=1"_s), u"OK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CMGS=\"123\""_s), u"> "_s);
    m_rig->sim.sendRaw("\x1b");
}

void tst_PhoneLink::textThatLooksFinal() {
    QVERIFY(open());
    m_rig->sim.setEcho(false);
    m_rig->sim.setPhonebookEntry(u"SM"_s, 1, u"111"_s, u"OK"_s);
    m_rig->sim.setPhonebookEntry(u"SM"_s, 2, u"222"_s, u"Bob"_s);
    m_rig->sim.setAnswer(u"AT+LINES"_s, u"first\nOK\nlast\nOK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+LINES"_s), u"first||OK||last"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBR=1,2"_s),
             u"+CPBR: 1,\"111\",129,\"OK\"||+CPBR: 2,\"222\",129,\"Bob\""_s);
    // A message line that ends in ">" is no prompt: the reply goes on to its "OK".
    PhoneSimulator::Rule listing;
    listing.answer = u"+CMGR: \"REC READ\",\"+4412\"\nsee you ->"_s;
    listing.after = "\r\nOK\r\n";
    listing.afterDelayMs = 50;
    m_rig->sim.setRule(u"AT+CMGR"_s, listing);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CMGR=1"_s, 0, true),
             u"+CMGR: \"REC READ\",\"+4412\"||see you ->||OK"_s);
}

void tst_PhoneLink::phoneErrorsAreFinal() {
    QVERIFY(open());
    // With no end but the limit these would give the time-out text; they end the reply at once
    // and the next command gets its own answer.
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBR=999"_s, 5), u"+CME ERROR: 21"_s);
    m_rig->sim.setAnswer(u"AT+CMGD"_s, u"+CMS ERROR: 321"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CMGD=4"_s, 5), u"+CMS ERROR: 321"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s, 5), u"OK"_s);
}

void tst_PhoneLink::timeOut() {
    QVERIFY(open());
    m_rig->sim.setSilent(u"AT+SLOW"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+SLOW"_s, 1), u"ERROR: TimeOut (1 secs.)"_s);
    // 0 takes [Settings] Timeout.
    m_rig->ini.writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+SLOW"_s), u"ERROR: TimeOut (1 secs.)"_s);
    // A reply that comes after the limit is not lost: it leads the next reply.
    m_rig->sim.setDelay(u"AT+LATE"_s, 1500);
    m_rig->sim.setEcho(false);
    const qint64 before = m_rig->sim.bytesSent();
    QCOMPARE(m_rig->link.sendCommand(u"AT+LATE"_s, 1), u"ERROR: TimeOut (1 secs.)"_s);
    QTRY_VERIFY(m_rig->sim.bytesSent() > before);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s, 0, true), u"ERROR||OK"_s);
}

void tst_PhoneLink::leftoverLeadsNextReply() {
    QVERIFY(open());
    m_rig->sim.setEcho(false);
    PhoneSimulator::Rule late;
    late.after = "\r\nOK\r\n";
    late.afterDelayMs = 30;
    m_rig->sim.setRule(u"AT+CSQ"_s, late);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CSQ"_s), u"+CSQ: 20,99"_s);
    // The late "OK" comes in between; it must not end the next reply before its answer came.
    const qint64 before = m_rig->sim.bytesSent();
    QTRY_VERIFY(m_rig->sim.bytesSent() > before);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMM"_s), u"OK||Simulated GSM Modem"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
}

void tst_PhoneLink::unsolicitedLines() {
    QVERIFY(open());
    m_rig->sim.setEcho(false);
    m_rig->sim.sendUnsolicited(u"+CMTI: \"SM\",3"_s);
    m_rig->sim.sendUnsolicited(u"^RSSI: 12"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s, 0, true), u"OK"_s);
    // An unsolicited line in the middle of an answer is no part of it.
    m_rig->sim.setAnswer(u"AT+CGMI"_s, u"Tellwick\n+CMTI: \"SM\",4\nOK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    // A line that answers the command is kept, though another command would not expect it.
    m_rig->sim.setAnswer(u"AT+CREG?"_s, u"+CREG: 0,1\nOK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CREG?"_s), u"+CREG: 0,1"_s);
}

void tst_PhoneLink::replyWithoutEndIsBounded() {
    QVERIFY(open());
    m_rig->sim.setEcho(false);
    m_rig->sim.setSilent(u"AT+FLOOD"_s);
    QByteArray junk(256 * 1024, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i) {
        junk[i] = char(i * 37 % 251);  // bytes that are not text, no final result among them
    }
    junk.replace("OK", "Ok");
    junk.replace("ERROR", "Error");
    junk.replace('>', '<');
    QObject guard;  // the connection ends with this function
    connect(&m_rig->sim, &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
        if (c == u"AT+FLOOD"_s) {
            for (int i = 0; i < 8; ++i) {
                m_rig->sim.sendRaw(junk);
            }
        }
    });
    const QString r = m_rig->link.sendCommand(u"AT+FLOOD"_s, 1);
    QCOMPARE(r, u"ERROR: TimeOut (1 secs.)"_s);
    // What is kept for the next reply is bounded. The rest of the flood comes first (the phone
    // loses none of it), so only a hang reaches this deadline.
    const QString next = m_rig->link.sendCommand(u"AT"_s, 30);
    QCOMPARE(m_rig->sim.bytesSent(), 8 * junk.size() + 6);  // the whole flood and "\r\nOK\r\n"
    QVERIFY(next.endsWith(u"OK"_s));
    QVERIFY(next.size() <= 1024 * 1024 + 16);
}

void tst_PhoneLink::portDisappears() {
    QVERIFY(open());
    QVERIFY(m_rig->link.startDevice());
    QVERIFY(m_rig->link.identity().known());
    m_rig->sim.setSilent(u"AT+WAIT"_s);
    QObject guard;  // the connection ends with this function
    connect(&m_rig->sim, &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
        if (c == u"AT+WAIT"_s) {
            m_rig->sim.disappear();
        }
    });
    QVERIFY(m_rig->link.sendCommand(u"AT+WAIT"_s, 30).startsWith(u"ERROR"_s));
    QVERIFY(!m_rig->link.isOpen());
    QVERIFY(!m_rig->link.identity().known());
    QVERIFY(m_rig->logText().contains(u"lost"_s));
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"ERROR"_s);
    QVERIFY(m_rig->link.submitSms(u"+1"_s, u"x"_s, false, false).startsWith(u"ERROR"_s));
}

void tst_PhoneLink::portComesBackOnItsPath() {
    m_rig->sim.disappear();
    QVERIFY(m_rig->sim.startAt(m_rig->dir.filePath(u"phone"_s)));
    m_rig->ini.writeINI(u"Settings"_s, u"Port"_s, m_rig->sim.linkPath());
    QVERIFY(m_rig->link.openPort());
    QVERIFY(m_rig->link.startDevice());
    QSignalSpy lost(&m_rig->link, &PhoneLink::portLost);
    // Unplugged while nothing waits on it: the hang-up alone closes the port.
    m_rig->sim.disappear();
    QTRY_VERIFY(m_rig->link.isLost());
    QVERIFY(!m_rig->link.isOpen());
    QCOMPARE(lost.size(), 1);
    QVERIFY(!m_rig->link.reopen());  // not back yet, and not logged every try
    QVERIFY(!m_rig->link.reopen());
    QVERIFY(!m_rig->logText().contains(u"Error opening"_s));
    QVERIFY(m_rig->link.isLost());
    QVERIFY(m_rig->sim.comeBack());
    QVERIFY(m_rig->link.reopen());
    QVERIFY(!m_rig->link.isLost());
    QVERIFY(m_rig->link.startDevice());
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
    QCOMPARE(m_rig->logText().count(u"lost"_s), 1);
}

void tst_PhoneLink::promptWaitsTheSetTimeout() {
    // A phone that never gives the ">" prompt holds a message [Settings] Timeout seconds.
    QVERIFY(open());
    QVERIFY(m_rig->link.startDevice());
    m_rig->ini.writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    m_rig->sim.setSilent(u"AT+CMGS"_s);
    QCOMPARE(m_rig->link.submitSms(u"+4912"_s, u"x"_s, false, false), u"ERROR: TimeOut (1 secs.)"_s);
    QVERIFY(!m_rig->link.isBusy());
}

void tst_PhoneLink::checkAndPing() {
    QVERIFY(open());
    QVERIFY(m_rig->link.checkDevice());
    m_rig->sim.setSilent(u"AT"_s);
    QVERIFY(!m_rig->link.checkDevice());  // one-second limit
    m_rig->sim.clearRules();
    m_rig->sim.clearRecords();
    m_rig->link.pingDevice();
    QCOMPARE(m_rig->sim.commands(), QStringList{u"AT"_s});
}

void tst_PhoneLink::nestedCommandRefused() {
    // A timer that fires while a command waits must not take that command's reply.
    QVERIFY(open());
    m_rig->sim.setDelay(u"AT+CGMI"_s, 100);
    QString inner;
    QObject guard;  // the connection ends with this function
    QTimer::singleShot(20, &guard, [&] { inner = m_rig->link.sendCommand(u"AT+CGMM"_s); });
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
    QCOMPARE(inner, u"ERROR"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMM"_s), u"Simulated GSM Modem"_s);
}

void tst_PhoneLink::phonebookMemories() {
    QVERIFY(open());
    m_rig->sim.setEcho(false);
    m_rig->sim.setPhonebook(u"ME"_s, 3, 20, 8);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBS=\"ME\""_s), u"OK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBR=?"_s), u"+CPBR: (1-3),20,8"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBW=2,\"+4412\",145,\"Ann, Bo\""_s), u"OK"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBW=1,\"1\",129,\"Much too long\""_s), u"+CME ERROR: 24"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBW=4,\"1\",129,\"x\""_s), u"+CME ERROR: 21"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBS?"_s), u"+CPBS: \"ME\",1,3"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBR=1,3"_s), u"+CPBR: 2,\"+4412\",145,\"Ann, Bo\""_s);
    QCOMPARE(m_rig->sim.phonebook(u"ME"_s).value(2).name, u"Ann, Bo"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CPBW=2"_s), u"OK"_s);
    QVERIFY(m_rig->sim.phonebook(u"ME"_s).isEmpty());
    QVERIFY(m_rig->sim.phonebook(u"SM"_s).isEmpty());
}

void tst_PhoneLink::startIdentifies() {
    QVERIFY(open());
    m_rig->sim.setIdentity(u"NOKIA"_s, u"6310i"_s, u"123456789012345"_s);
    QVERIFY(m_rig->link.startDevice());
    QCOMPARE(m_rig->link.startError(), QString());
    const DeviceIdentity& id = m_rig->link.identity();
    QCOMPARE(id.manufacturer, u"NOKIA"_s);
    QCOMPARE(id.model, u"6310i"_s);
    QCOMPARE(id.serialNumber, u"123456789012345"_s);
    QCOMPARE(id.mode, 0);
    QCOMPARE(m_rig->sim.messageMode(), 0);
    QVERIFY(!m_rig->sim.echo());
    QCOMPARE(m_rig->sim.commands(), QStringList({u"AT"_s, u"ATE0"_s, u"AT+CPIN?"_s, u"AT+CGMI"_s,
                                                 u"AT+CGMM"_s, u"AT+CGSN"_s, u"AT+CMGF=0"_s}));
    // Phones that prefix their answers.
    m_rig->sim.setAnswer(u"AT+CGMI"_s, u"+CGMI: \"Maker\"\nOK"_s);
    QVERIFY(m_rig->link.startDevice());
    QCOMPARE(m_rig->link.identity().manufacturer, u"Maker"_s);
}

void tst_PhoneLink::startFailures() {
    QVERIFY(open());
    m_rig->sim.setPinState(u"SIM PIN"_s);
    QVERIFY(!m_rig->link.startDevice());
    QVERIFY(!m_rig->link.identity().known());
    QVERIFY2(m_rig->link.startError().contains(u"SIM PIN"_s), qPrintable(m_rig->link.startError()));
    QVERIFY(m_rig->logText().contains(u"SIM PIN"_s));

    m_rig->sim.setPinState(u"READY"_s);
    QVERIFY(m_rig->link.startDevice());
    // A failure later in the start-up leaves no half identity behind.
    m_rig->sim.setAnswer(u"AT+CGSN"_s, u"+CME ERROR: 10"_s);
    QVERIFY(!m_rig->link.startDevice());
    QVERIFY(m_rig->link.identity().manufacturer.isEmpty());
    QVERIFY(m_rig->link.identity().model.isEmpty());
    QVERIFY(m_rig->link.startError().contains(u"+CME ERROR: 10"_s));

    m_rig->sim.clearRules();
    m_rig->sim.setSilent(u"AT"_s);
    m_rig->ini.writeINI(u"Settings"_s, u"Timeout"_s, u"1"_s);
    QVERIFY(!m_rig->link.startDevice());
    QVERIFY(m_rig->link.startError().contains(u"TimeOut"_s));
}

void tst_PhoneLink::startFallsBackToTextMode() {
    QVERIFY(open());
    m_rig->sim.setPduSupported(false);
    QVERIFY(m_rig->link.startDevice());
    QCOMPARE(m_rig->link.identity().mode, 1);
    QCOMPARE(m_rig->sim.messageMode(), 1);
    // Text mode then declares the character set of its text.
    QCOMPARE(m_rig->sim.commands().mid(m_rig->sim.commands().size() - 3),
             QStringList({u"AT+CMGF=1"_s, u"AT+CSCS=?"_s, u"AT+CSCS=\"GSM\""_s}));
}

QTEST_GUILESS_MAIN(tst_PhoneLink)
#include "tst_phonelink.moc"
