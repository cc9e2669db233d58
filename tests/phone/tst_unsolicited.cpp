// Lines the phone sends of its own accord, before, inside and after the answer to every
// command the program sends: each reply is what it is without them, none waits for its limit.
#include <QFile>
#include <QTest>
#include <memory>

#include "PhoneRig.h"

using namespace Qt::StringLiterals;
using Where = PhoneSimulator::Injection;

Q_DECLARE_METATYPE(PhoneSimulator::Injection)

class tst_Unsolicited : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void besideEveryAnswer_data();
    void besideEveryAnswer();
    void reportAfterTheReplyInALaterRead();

private:
    // Start-up, a message, the phonebook commands; in PDU mode or (pdu false) text mode.
    QStringList session(bool pdu);

    std::unique_ptr<PhoneRig> m_rig;
};

void tst_Unsolicited::init() {
    m_rig = std::make_unique<PhoneRig>();
    QVERIFY2(m_rig->sim.start(), qPrintable(m_rig->sim.errorString()));
    // A limit that a waited-out reply would show, short enough for the whole matrix.
    m_rig->ini.writeINI(u"Settings"_s, u"Timeout"_s, u"3"_s);
    m_rig->log.setDebugMode(true);
}

void tst_Unsolicited::cleanup() {
    m_rig.reset();
}

QStringList tst_Unsolicited::session(bool pdu) {
    PhoneLink& link = m_rig->link;
    PhoneSimulator& sim = m_rig->sim;
    sim.setPduSupported(pdu);
    sim.setEcho(true);
    sim.setNextReference(7);
    link.closePort();
    QStringList results;
    if (!link.openPort(sim.devicePath(), 115200)) {
        return {u"port not opened"_s};
    }
    results << (link.startDevice() ? u"started"_s : u"not started: "_s + link.startError());
    const DeviceIdentity& id = link.identity();
    results << id.manufacturer << id.model << id.serialNumber << QString::number(id.mode);
    results << link.submitSms(u"+491701234567"_s, u"Hello"_s, false, false);
    results << link.submitSms(u"+491701234567"_s, QString(170, u'x'), false, false);  // two parts
    for (const QString& command :
         {u"AT+CPBS=\"SM\""_s, u"AT+CPBS?"_s, u"AT+CPBR=?"_s, u"AT+CPBW=2,\"+4930123\",145,\"Ann\""_s,
          u"AT+CPBR=1,3"_s, u"AT+CPBW=2"_s}) {
        results << link.sendCommand(command, 0, true);
    }
    results << (link.checkDevice() ? u"answers"_s : u"silent"_s);
    return results;
}

void tst_Unsolicited::besideEveryAnswer_data() {
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<Where>("where");
    const struct {
        const char* name;
        QByteArray lines;
    } reports[] = {
        {"new message stored", "+CMTI: \"SM\",3"},
        {"status report stored", "+CDSI: \"SR\",2"},
        {"status report, text mode",
         "+CDS: 6,12,\"+491701234567\",145,\"26/12/07,12:00:00+04\",\"26/12/07,12:00:05+04\",0"},
        {"status report, PDU mode",
         "+CDS: 25\r\n07919471060000F006000C91947110325476622170210000406221702100004000"},
        {"new message shown, PDU mode",
         "+CMT: ,24\r\n07919471060000F0040C9194711032547600006221702100004004C8329BFD06"},
        {"new message shown, its text a final result", "+CMT: \"+4917\",,\"26/12/07,12:00:00+04\"\r\nOK"},
        {"ring", "RING"},
        {"ring with its type", "+CRING: VOICE"},
        {"caller", "+CLIP: \"+491701234567\",145,,,,0"},
        {"call over", "NO CARRIER"},
        {"registration", "+CREG: 1"},
        {"registration with cell", "+CREG: 1,\"00C3\",\"1A2B\""},
        {"USSD answer", "+CUSD: 0,\"Balance 5.00\",15"},
        {"maker's signal report", "^RSSI: 12"},
    };
    for (const auto& r : reports) {
        const QByteArray bytes = "\r\n" + r.lines + "\r\n";
        QTest::addRow("%s before", r.name) << bytes << Where::Before;
        QTest::addRow("%s inside", r.name) << bytes << Where::Inside;
        QTest::addRow("%s after", r.name) << bytes << Where::After;
    }
}

void tst_Unsolicited::besideEveryAnswer() {
    QFETCH(QByteArray, report);
    QFETCH(Where, where);
    for (const bool pdu : {true, false}) {
        m_rig->sim.setInjection(Where::None, {});
        const QStringList plain = session(pdu);
        QVERIFY2(plain.value(0) == u"started"_s, qPrintable(plain.join(u" / "_s)));
        QVERIFY2(plain.value(5).startsWith(u"OK "_s), qPrintable(plain.value(5)));
        // A reply that waited for its limit would read "ERROR: TimeOut ...": none differs.
        m_rig->sim.setInjection(where, report);
        QCOMPARE(session(pdu), plain);
    }
    QFile debug(m_rig->log.debugLogPath());
    QVERIFY(debug.open(QIODevice::ReadOnly));
    const QByteArray first = report.trimmed().split('\r').first();
    const QByteArray expected = QByteArray("Unsolicited: ") + first;
    QVERIFY2(debug.readAll().contains(expected), expected.constData());
}

// The second line of a message report comes after the reply was taken: it is not taken for
// the next reply.
void tst_Unsolicited::reportAfterTheReplyInALaterRead() {
    PhoneSimulator& sim = m_rig->sim;
    QVERIFY(m_rig->link.openPort(sim.devicePath(), 115200));
    sim.setEcho(false);
    PhoneSimulator::Rule rule;
    rule.answer = u"OK"_s;
    rule.after = "\r\n+CMT: \"+4917\",,\"26/12/07,12:00:00+04\"\r\n";
    sim.setRule(u"AT+CGMI"_s, rule);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s, 0, true), u"OK"_s);
    sim.sendRaw("ERROR\r\n");  // the message's text
    sim.clearRules();
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMM"_s), u"Simulated GSM Modem"_s);
}

QTEST_GUILESS_MAIN(tst_Unsolicited)
#include "tst_unsolicited.moc"
