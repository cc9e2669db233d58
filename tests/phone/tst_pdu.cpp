// The GSM alphabet and the SMS-SUBMIT encoder, checked against PDUs of an independent encoder
// and by taking the encoder's own PDUs apart again.
#include <QTest>

#include "GsmAlphabet.h"
#include "Pdu.h"
#include "PhoneSimulator.h"

using namespace Qt::StringLiterals;

class tst_Pdu : public QObject {
    Q_OBJECT

private slots:
    void table();
    void septetCount_data();
    void septetCount();
    void referencePdus_data();
    void referencePdus();
    void headerBits();
    void concatenatedGsm();
    void concatenatedUcs2();
    void neverCutsAPair();
    void badNumbers();
};

void tst_Pdu::table() {
    const GsmTable& t = initGSMTable();
    QCOMPARE(&t, &initGSMTable());  // one table for everybody
    const struct {
        char16_t ch;
        int code;
    } basics[] = {{u'@', 0x00},      {u'\u00A3', 0x01}, {u'$', 0x02},      {u'\n', 0x0A},
                  {u'\u0394', 0x10}, {u'_', 0x11},      {u'\u039E', 0x1A}, {u'\u00C9', 0x1F},
                  {u'\u00A4', 0x24}, {u'\u00A1', 0x40}, {u'\u00A7', 0x5F}, {u'\u00BF', 0x60},
                  {u'\u00E0', 0x7F}, {u'A', 0x41},      {u'z', 0x7A}};
    for (const auto& b : basics) {
        QCOMPARE(t.basicCode(QChar(b.ch)), b.code);
        QCOMPARE(t.basic()[size_t(b.code)], b.ch);
    }
    QCOMPARE(t.escapes().size(), size_t(10));
    QCOMPARE(t.escapeCode(u'\u20AC'), 0x65);
    QCOMPARE(t.escapeCode(u'|'), 0x40);
    QCOMPARE(t.escapeCode(u'\f'), 0x0A);
    QCOMPARE(t.escapeCode(u'['), 0x3C);
    // The escape septet is no character; nor are ESC, Ctrl-Z or a backtick.
    QCOMPARE(t.septetsOf(QChar(0x1B)), 0);
    QCOMPARE(t.septetsOf(QChar(0x1A)), 0);
    QCOMPARE(t.septetsOf(u'`'), 0);
    QVERIFY(Gsm::isGsmText(u"Hello {world} \u20AC5"_s));
    QVERIFY(!Gsm::isGsmText(u"na\u00EFve"_s));
    int replaced = 0;
    QCOMPARE(Gsm::replaceNonGsm(u"a\u00EFb\U0001F600c"_s, &replaced), u"a?b?c"_s);
    QCOMPARE(replaced, 2);
    QCOMPARE(Gsm::fromSeptets(Gsm::toSeptets(u"[x]~\u20AC@"_s)), u"[x]~\u20AC@"_s);
}

void tst_Pdu::septetCount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("septets");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("plain") << u"hello"_s << 5;
    QTest::newRow("escapes count two") << u"5\u20AC [ok]"_s << 10;
    QTest::newRow("all ten") << u"\f^{}\\[~]|\u20AC"_s << 20;
    QTest::newRow("160 at") << QString(160, u'@') << 160;
}

void tst_Pdu::septetCount() {
    QFETCH(QString, text);
    QFETCH(int, septets);
    QCOMPARE(Gsm::septetCount(text), septets);
    QCOMPARE(int(Gsm::toSeptets(text).size()), septets);
}

void tst_Pdu::referencePdus_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pdu");
    // From an independent reference encoder: no service-centre address, reference 0, 24 h.
    QTest::newRow("plain7") << u"+46708251358"_s << u"hellohello"_s
                            << u"0011000B916407281553F80000A70AE8329BFD4697D9EC37"_s;
    QTest::newRow("escapes") << u"0170123456"_s << u"Price: 5\u20AC [ok]"_s
                             << u"0011000A8110072143650000A71150797A5CD6816A9B3268C37BAF373E"_s;
    QTest::newRow("ucs2") << u"+491701234567"_s << u"\u041F\u0440\u0438\u0432\u0435\u0442"_s
                          << u"0011000C919471103254760008A70C041F04400438043204350442"_s;
}

void tst_Pdu::referencePdus() {
    QFETCH(QString, number);
    QFETCH(QString, text);
    QFETCH(QString, pdu);
    const QList<Pdu::Part> parts = Pdu::buildSubmit(number, text, false, false, 0);
    QCOMPARE(parts.size(), 1);
    QCOMPARE(parts.at(0).hex, pdu);
    QCOMPARE(parts.at(0).tpduLength, int(pdu.size() / 2 - 1));

    const SubmittedSms s = PhoneSimulator::decodeSubmit(pdu);
    QVERIFY2(s.valid, qPrintable(s.error));
    QCOMPARE(s.number, number);
    QCOMPARE(s.text, text);
    QCOMPARE(s.validity, 0xA7);
    QVERIFY(!s.statusReport);
    QVERIFY(!s.flash);
}

void tst_Pdu::headerBits() {
    // Delivery report and flash, in both alphabets.
    for (const QString& text : {u"Alarm!"_s, u"\u0422\u0440\u0435\u0432\u043E\u0433\u0430"_s}) {
        const QList<Pdu::Part> parts = Pdu::buildSubmit(u"+4912345"_s, text, true, true, 7);
        QCOMPARE(parts.size(), 1);
        const SubmittedSms s = PhoneSimulator::decodeSubmit(parts.at(0).hex);
        QVERIFY2(s.valid, qPrintable(s.error));
        QVERIFY(s.statusReport);
        QVERIFY(s.flash);
        QCOMPARE(s.validity, 0xA7);
        QCOMPARE(s.concatRef, -1);
        QCOMPARE(s.text, text);
        QCOMPARE(s.number, u"+4912345"_s);
    }
    const SubmittedSms plain =
        PhoneSimulator::decodeSubmit(Pdu::buildSubmit(u"12345"_s, u"x"_s, false, false, 0).at(0).hex);
    QCOMPARE(plain.firstOctet, 0x11);
    QCOMPARE(plain.dcs, 0x00);
    QCOMPARE(plain.numberType, 0x81);
    QCOMPARE(plain.number, u"12345"_s);
}

void tst_Pdu::concatenatedGsm() {
    // 160 septets fit one PDU; one more and it takes two, of 153 septets at most.
    QCOMPARE(Pdu::buildSubmit(u"1"_s, QString(160, u'a'), false, false, 0).size(), 1);
    QCOMPARE(Pdu::buildSubmit(u"1"_s, QString(80, u'\u20AC'), false, false, 0).size(), 1);
    QCOMPARE(Pdu::buildSubmit(u"1"_s, QString(80, u'\u20AC') + u'a', false, false, 0).size(), 2);

    QString text;
    for (int i = 0; i < 400; ++i) {
        text.append(i % 50 == 49 ? u'\u20AC' : QChar(u'a' + i % 26));
    }
    const QList<Pdu::Part> parts = Pdu::buildSubmit(u"+4412345"_s, text, true, false, 200);
    QCOMPARE(parts.size(), 3);
    QString joined;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const SubmittedSms s = PhoneSimulator::decodeSubmit(parts.at(i).hex);
        QVERIFY2(s.valid, qPrintable(s.error));
        QCOMPARE(s.concatRef, 200);
        QCOMPARE(s.concatTotal, 3);
        QCOMPARE(s.concatSeq, int(i + 1));
        QVERIFY(s.statusReport);
        QCOMPARE(s.firstOctet & 0x40, 0x40);
        QVERIFY(s.userDataLength <= 160);
        QVERIFY(Gsm::septetCount(s.text) <= Pdu::kPartSeptets);
        QVERIFY(parts.at(i).tpduLength <= 140 + 13);
        joined += s.text;
    }
    QCOMPARE(joined, text);
}

void tst_Pdu::concatenatedUcs2() {
    QCOMPARE(Pdu::buildSubmit(u"1"_s, QString(70, u'\u0416'), false, false, 0).size(), 1);
    const QString text = QString(100, u'\u0416') + u"\u00EF end"_s;
    const QList<Pdu::Part> parts = Pdu::buildSubmit(u"1"_s, text, false, true, 9);
    QCOMPARE(parts.size(), 2);
    QString joined;
    for (const Pdu::Part& p : parts) {
        const SubmittedSms s = PhoneSimulator::decodeSubmit(p.hex);
        QVERIFY2(s.valid, qPrintable(s.error));
        QVERIFY(s.ucs2);
        QVERIFY(s.flash);
        QCOMPARE(s.concatTotal, 2);
        QVERIFY(s.userDataLength <= 140);
        joined += s.text;
    }
    QCOMPARE(joined, text);
}

void tst_Pdu::neverCutsAPair() {
    // An escape character straddling the 153rd septet goes whole into the next part.
    const QString gsm = QString(152, u'a') + u"\u20ACtail"_s + QString(10, u'b');
    const QStringList pieces = Pdu::splitText(gsm, Pdu::Coding::Gsm7);
    QCOMPARE(pieces.size(), 2);
    QCOMPARE(pieces.at(0), QString(152, u'a'));
    QVERIFY(pieces.at(1).startsWith(u'\u20AC'));
    // A character outside the basic plane (two UTF-16 units) straddling the 67th unit.
    const QString emoji = QString(66, u'x') + u"\U0001F600"_s + QString(10, u'y');
    const QStringList u = Pdu::splitText(emoji, Pdu::Coding::Ucs2);
    QCOMPARE(u.size(), 2);
    QCOMPARE(u.at(0), QString(66, u'x'));
    QVERIFY(u.at(1).startsWith(u"\U0001F600"_s));
    QCOMPARE(u.join(QString()), emoji);
}

void tst_Pdu::badNumbers() {
    QVERIFY(Pdu::buildSubmit(QString(), u"x"_s, false, false, 0).isEmpty());
    QVERIFY(Pdu::buildSubmit(u"abc"_s, u"x"_s, false, false, 0).isEmpty());
    QCOMPARE(Pdu::encodeAddress(u"+49 (170) 123-45"_s), Pdu::encodeAddress(u"+4917012345"_s));
}

QTEST_GUILESS_MAIN(tst_Pdu)
#include "tst_pdu.moc"
