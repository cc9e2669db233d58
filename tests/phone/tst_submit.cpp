// Submitting messages through the simulated phone, in PDU and in text mode.
#include <QTest>
#include <memory>

#include "PhoneRig.h"

using namespace Qt::StringLiterals;

class tst_Submit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pduMessages_data();
    void pduMessages();
    void longMessageGoesInParts();
    void lateOkIsNoPrompt();
    void leftoverDrained();
    void phoneRefuses();
    void portGoneDuringSubmit();
    void badNumber();
    void recipientIsANumber_data();
    void recipientIsANumber();
    void textMode();
    void textCharsets_data();
    void textCharsets();

private:
    bool start(bool pdu = true);

    std::unique_ptr<PhoneRig> m_rig;
};

void tst_Submit::init() {
    m_rig = std::make_unique<PhoneRig>();
    QVERIFY2(m_rig->sim.start(), qPrintable(m_rig->sim.errorString()));
}

void tst_Submit::cleanup() {
    m_rig.reset();
}

bool tst_Submit::start(bool pdu) {
    m_rig->sim.setPduSupported(pdu);
    if (!m_rig->link.openPort(m_rig->sim.devicePath(), 115200) || !m_rig->link.startDevice()) {
        return false;
    }
    m_rig->sim.clearRecords();
    return true;
}

void tst_Submit::pduMessages_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("report");
    QTest::addColumn<bool>("flash");
    QTest::addColumn<bool>("ucs2");
    QTest::newRow("7-bit") << u"Meeting at 10, room 4."_s << false << false << false;
    QTest::newRow("escapes") << u"{Total}: 5\u20AC | [ok] ~ ^\\"_s << false << false << false;
    QTest::newRow("accents of the alphabet")
        << u"\u00C5ngstr\u00F6m \u00E9t\u00E9 \u00A3\u00A5\u00A7 \u0394\u03A9"_s << true << false << false;
    QTest::newRow("ucs2")
        << u"\u0417\u0434\u0440\u0430\u0432\u0441\u0442\u0432\u0443\u0439 \u2013 \u4F60\u597D"_s << false
        << false << true;
    QTest::newRow("flash with report") << u"Call me"_s << true << true << false;
    QTest::newRow("empty") << QString() << false << false << false;
}

void tst_Submit::pduMessages() {
    QFETCH(QString, text);
    QFETCH(bool, report);
    QFETCH(bool, flash);
    QFETCH(bool, ucs2);
    QVERIFY(start());
    m_rig->sim.setNextReference(42);
    QCOMPARE(m_rig->link.submitSms(u"+491701234567"_s, text, report, flash), u"OK 42"_s);
    const QList<SubmittedSms> sent = m_rig->sim.decodedSubmissions();
    QCOMPARE(sent.size(), 1);
    const SubmittedSms& s = sent.at(0);
    QVERIFY2(s.valid, qPrintable(s.error));
    QCOMPARE(s.number, u"+491701234567"_s);
    QCOMPARE(s.text, text);
    QCOMPARE(s.statusReport, report);
    QCOMPARE(s.flash, flash);
    QCOMPARE(s.ucs2, ucs2);
    QCOMPARE(s.validity, 0xA7);
    QCOMPARE(m_rig->sim.commands(), QStringList{u"AT+CMGS=%1"_s.arg(s.tpduLength)});
    QVERIFY(m_rig->sim.submissions().at(0).body.startsWith(u"00"_s));
}

void tst_Submit::longMessageGoesInParts() {
    QVERIFY(start());
    QString text;
    for (int i = 0; i < 330; ++i) {
        text.append(QChar(u'A' + i % 26));
    }
    text += u" \u20AC\u20AC end"_s;
    m_rig->sim.setNextReference(7);
    QCOMPARE(m_rig->link.submitSms(u"0170123456"_s, text, true, false), u"OK 7,8,9"_s);
    const QList<SubmittedSms> parts = m_rig->sim.decodedSubmissions();
    QCOMPARE(parts.size(), 3);
    QString joined;
    for (int i = 0; i < parts.size(); ++i) {
        QVERIFY2(parts.at(i).valid, qPrintable(parts.at(i).error));
        QCOMPARE(parts.at(i).concatRef, parts.at(0).concatRef);
        QCOMPARE(parts.at(i).concatTotal, 3);
        QCOMPARE(parts.at(i).concatSeq, i + 1);
        QCOMPARE(parts.at(i).number, u"0170123456"_s);
        QVERIFY(parts.at(i).statusReport);
        joined += parts.at(i).text;
    }
    QCOMPARE(joined, text);

    // The next long message gets a reference of its own.
    QVERIFY(m_rig->link.submitSms(u"0170123456"_s, text, false, false).startsWith(u"OK"_s));
    QVERIFY(m_rig->sim.decodedSubmissions().at(3).concatRef != parts.at(0).concatRef);

    // A part the phone refuses stops the message with the phone's error.
    m_rig->sim.setSubmitAnswer(u"+CMS ERROR: 38"_s);
    const QString r = m_rig->link.submitSms(u"0170123456"_s, text, false, false);
    QVERIFY2(r.startsWith(u"ERROR"_s) && r.contains(u"+CMS ERROR: 38"_s) && r.contains(u"part 1 of 3"_s),
             qPrintable(r));
}

void tst_Submit::lateOkIsNoPrompt() {
    // An "OK" that comes late for an earlier command arrives while the submit waits for ">":
    // the body must still go after the prompt, not on the stray "OK".
    QVERIFY(start());
    PhoneSimulator::Rule late;
    late.after = "\r\nOK\r\n";
    late.afterDelayMs = 20;
    m_rig->sim.setRule(u"AT+CSQ"_s, late);
    m_rig->sim.setDelay(u"AT+CMGS"_s, 150);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CSQ"_s), u"+CSQ: 20,99"_s);
    QVERIFY(m_rig->link.submitSms(u"+44123"_s, u"hi"_s, false, false).startsWith(u"OK"_s));
    QCOMPARE(m_rig->sim.decodedSubmissions().size(), 1);
    QCOMPARE(m_rig->sim.decodedSubmissions().at(0).text, u"hi"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT+CGMI"_s), u"Tellwick"_s);
}

void tst_Submit::leftoverDrained() {
    QVERIFY(start());
    m_rig->sim.sendRaw("\r\nOK\r\n\r\n+CMTI: \"SM\",2\r\n\r\n> \r\n");
    QVERIFY(m_rig->link.submitSms(u"+44123"_s, u"hello"_s, false, false).startsWith(u"OK"_s));
    QCOMPARE(m_rig->sim.decodedSubmissions().at(0).text, u"hello"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
}

void tst_Submit::phoneRefuses() {
    QVERIFY(start());
    m_rig->sim.setAnswer(u"AT+CMGS"_s, u"+CMS ERROR: 330"_s);
    QCOMPARE(m_rig->link.submitSms(u"+44123"_s, u"x"_s, false, false), u"ERROR: +CMS ERROR: 330"_s);
    m_rig->sim.clearRules();
    m_rig->sim.setSubmitAnswer(u"ERROR"_s);
    QCOMPARE(m_rig->link.submitSms(u"+44123"_s, u"x"_s, false, false), u"ERROR"_s);
    QVERIFY(m_rig->sim.submissions().isEmpty());
    m_rig->sim.setSubmitAnswer(QString());
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
}

void tst_Submit::portGoneDuringSubmit() {
    QVERIFY(start());
    PhoneSimulator::Rule gone;
    gone.silent = true;
    m_rig->sim.setRule(u"AT+CMGS"_s, gone);
    QObject::connect(&m_rig->sim, &PhoneSimulator::commandReceived, &m_rig->sim, [this](const QString& c) {
        if (c.startsWith(u"AT+CMGS"_s)) {
            m_rig->sim.disappear();
        }
    });
    QVERIFY(m_rig->link.submitSms(u"+44123"_s, u"x"_s, false, false).startsWith(u"ERROR"_s));
    QVERIFY(!m_rig->link.isOpen());
}

void tst_Submit::badNumber() {
    QVERIFY(start());
    QVERIFY(m_rig->link.submitSms(u"nobody"_s, u"x"_s, false, false).startsWith(u"ERROR"_s));
    QVERIFY(m_rig->sim.commands().isEmpty());
}

void tst_Submit::recipientIsANumber_data() {
    QTest::addColumn<bool>("pdu");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("dialled");  // "" when refused
    const struct {
        const char* name;
        QString written;
        QString dialled;
    } cases[] = {
        {"international", u"+491701234567"_s, u"+491701234567"_s},
        {"blanks and separators", u" +49 (170) 123-45/6.7 "_s, u"+491701234567"_s},
        {"trunk zero after the country code", u"+49 (0)170 1234567"_s, u"+491701234567"_s},
        {"national with a zero in brackets", u"(0170) 1234567"_s, u"01701234567"_s},
        {"service number", u"*100#"_s, u"*100#"_s},
        {"letters inside", u"+49170ABC123"_s, QString()},
        {"a name ending in a digit", u"Mum2"_s, QString()},
        {"a name", u"BROOKE"_s, QString()},
        {"plus not at the start", u"0170+123456"_s, QString()},
        {"two pluses", u"++49170"_s, QString()},
        {"no digit", u"+ ( ) -"_s, QString()},
    };
    for (const bool pdu : {true, false}) {
        for (const auto& c : cases) {
            QTest::addRow("%s, %s", pdu ? "PDU" : "text", c.name) << pdu << c.written << c.dialled;
        }
    }
}

// What the phone is asked to dial is the number as written, without its separators; a text
// that is no number is refused before the phone is asked.
void tst_Submit::recipientIsANumber() {
    QFETCH(bool, pdu);
    QFETCH(QString, written);
    QFETCH(QString, dialled);
    QVERIFY(start(pdu));
    const QString result = m_rig->link.submitSms(written, u"x"_s, false, false);
    if (dialled.isEmpty()) {
        QCOMPARE(result, u"ERROR: invalid number '%1'"_s.arg(written));
        QCOMPARE(m_rig->sim.commands(), QStringList());
        return;
    }
    QVERIFY2(result.startsWith(u"OK"_s), qPrintable(result));
    if (pdu) {
        QCOMPARE(m_rig->sim.decodedSubmissions().value(0).number, dialled);
    } else {
        QCOMPARE(m_rig->sim.submissions().value(0).number, dialled);
    }
}

void tst_Submit::textMode() {
    QVERIFY(start(false));
    QCOMPARE(m_rig->link.identity().mode, 1);
    m_rig->sim.setNextReference(3);
    QCOMPARE(m_rig->link.submitSms(u"+44 1234-567"_s, u"Caf\u00E9 \u00E0 5\u00A3 {x}"_s, false, false),
             u"OK 3"_s);
    QCOMPARE(m_rig->sim.commands(), QStringList({u"AT+CSMP=17,167,0,0"_s, u"AT+CMGS=\"+441234567\""_s}));
    // The phone offers the GSM set: the text goes in it, escapes for the braces.
    QCOMPARE(m_rig->sim.charset(), u"GSM"_s);
    QCOMPARE(m_rig->sim.submissions().at(0).body, QString::fromLatin1("Caf\x05 \x7F 5\x01 \x1B(x\x1B)"));
    QCOMPARE(m_rig->sim.submissions().at(0).text, u"Caf\u00E9 \u00E0 5\u00A3 {x}"_s);
    QVERIFY(!m_rig->logText().contains(u"\"?\""_s));

    // Report and flash go by AT+CSMP; characters outside the alphabet become "?", logged.
    m_rig->sim.clearRecords();
    QVERIFY(m_rig->link.submitSms(u"+441234567"_s, u"na\u00EFve \u4F60"_s, true, true).startsWith(u"OK"_s));
    QCOMPARE(m_rig->sim.smsParameters(), u"49,167,0,16"_s);
    QCOMPARE(m_rig->sim.submissions().at(0).body, u"na?ve ?"_s);
    QVERIFY(m_rig->logText().contains(u"2 character(s) sent to +441234567 as \"?\""_s));
    QVERIFY(m_rig->sim.decodedSubmissions().isEmpty());

    // A line break makes the phone prompt again while the text is sent: that prompt is no
    // answer to the message, which is only over with "+CMGS:".
    m_rig->sim.clearRecords();
    m_rig->sim.setLineSpeed(9600);
    m_rig->sim.setNextReference(9);
    QCOMPARE(m_rig->link.submitSms(u"+441234567"_s, u"two\rlines"_s, false, false), u"OK 9"_s);
    QCOMPARE(m_rig->sim.submissions().at(0).body, u"two\rlines"_s);
    QCOMPARE(m_rig->link.sendCommand(u"AT"_s), u"OK"_s);
}

void tst_Submit::textCharsets_data() {
    QTest::addColumn<QStringList>("offered");  // empty: the phone refuses AT+CSCS=?
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("inForce");   // the phone's set after the start
    QTest::addColumn<QByteArray>("bytes");  // hex of what the phone receives
    QTest::addColumn<QString>("address");   // the number as AT+CMGS carries it
    QTest::addColumn<QString>("arrives");   // the text as the phone reads it
    QTest::addColumn<int>("replaced");      // characters sent as "?"
    QTest::addColumn<int>("unfit");         // bytes the phone's set cannot hold
    const QString text = u"Gr\u00FC\u00DFe \u00A35 \u20AC \u00E9"_s;
    QTest::newRow("GSM among others") << QStringList{u"IRA"_s, u"GSM"_s, u"UCS2"_s} << text << u"GSM"_s
                                      << "47727E1E65200135201B652005"_ba << u"+44123"_s << text << 0 << 0;
    QTest::newRow("GSM, the letter on Ctrl-Z") << QStringList{u"GSM"_s} << u"\u0394\u039E!"_s << u"GSM"_s
                                               << "103F21"_ba << u"+44123"_s << u"\u0394?!"_s << 1 << 0;
    QTest::newRow("UCS2 without GSM")
        << QStringList{u"IRA"_s, u"8859-1"_s, u"UCS2"_s} << text << u"UCS2"_s
        << "0047007200FC00DF0065002000A30035002020AC002000E9"_ba.toHex()  // hex digits
        << u"002B00340034003100320033"_s << text << 0 << 0;
    QTest::newRow("8859-1 and IRA") << QStringList{u"IRA"_s, u"8859-1"_s} << text << u"8859-1"_s
                                    << "4772FCDF6520A335203F20E9"_ba << u"+44123"_s
                                    << u"Gr\u00FC\u00DFe \u00A35 ? \u00E9"_s << 1 << 0;
    QTest::newRow("IRA only") << QStringList{u"IRA"_s} << text << u"IRA"_s << "47723F3F65203F35203F203F"_ba
                              << u"+44123"_s << u"Gr??e ?5 ? ?"_s << 5 << 0;
    // Nothing known to choose: Latin-1 as before, which the phone's own set cannot hold.
    const QString unread = u"Gr\uFFFD\uFFFDe \uFFFD5 ? \uFFFD"_s;
    QTest::newRow("no set known") << QStringList{u"PCCP437"_s} << text << u"IRA"_s
                                  << "4772FCDF6520A335203F20E9"_ba << u"+44123"_s << unread << 1 << 4;
    QTest::newRow("AT+CSCS=? refused") << QStringList() << text << u"IRA"_s << "4772FCDF6520A335203F20E9"_ba
                                       << u"+44123"_s << unread << 1 << 4;
}

void tst_Submit::textCharsets() {
    QFETCH(QStringList, offered);
    QFETCH(QString, text);
    QFETCH(QString, inForce);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, address);
    QFETCH(QString, arrives);
    QFETCH(int, replaced);
    QFETCH(int, unfit);
    m_rig->sim.setCharsets(offered);
    if (offered.isEmpty()) {
        m_rig->sim.setAnswer(u"AT+CSCS=?"_s, u"ERROR"_s);
    }
    QVERIFY(start(false));
    QCOMPARE(m_rig->sim.charset(), inForce);
    QVERIFY(m_rig->link.submitSms(u"+44123"_s, text, false, false).startsWith(u"OK"_s));
    QCOMPARE(m_rig->sim.submissions().size(), 1);
    const PhoneSimulator::Submission s = m_rig->sim.submissions().at(0);
    QCOMPARE(s.body.toLatin1().toHex().toUpper(), bytes);
    QCOMPARE(s.argument, u'"' + address + u'"');
    QCOMPARE(s.number, u"+44123"_s);
    QCOMPARE(s.text, arrives);
    QCOMPARE(s.unfit, unfit);
    QCOMPARE(m_rig->logText().contains(u"Text mode: %1 character(s) sent to +44123 as \"?\""_s.arg(replaced)),
             replaced > 0);
    QCOMPARE(m_rig->logText().contains(u"no character set of the phone could be chosen"_s),
             !offered.contains(inForce));
}

QTEST_GUILESS_MAIN(tst_Submit)
#include "tst_submit.moc"
