// The rules behind the compose dialog's boxes: the cut to the limit, the accent table, the
// number test and name completion.
#include <QtTest>

#include "GsmAlphabet.h"
#include "MessageFiles.h"
#include "RecipientCompletion.h"
#include "SharedState.h"
#include "TextCounter.h"

using namespace Qt::StringLiterals;

class tst_ComposeText : public QObject {
    Q_OBJECT
private slots:
    void cutNeverLeavesHalfACharacter();
    void measuredInTheUnitsSent_data();
    void measuredInTheUnitsSent();
    void accentTable();
    void numberTest_data();
    void numberTest();
    void completion();
};

void tst_ComposeText::cutNeverLeavesHalfACharacter() {
    const SharedState s;  // 160 septets, no footer
    // A line break across the limit goes as a whole.
    const QString broken = QString(159, u'x') + u"\r\nyy"_s;
    QCOMPARE(TextCounter::truncated(broken, s), QString(159, u'x'));
    // So does an emoji (two UTF-16 units), in a text that goes out in UCS2.
    const QString emoji = QString(69, u'x') + u"\U0001F600z"_s;
    QCOMPARE(TextCounter::truncated(emoji, s), QString(69, u'x'));
    QCOMPARE(TextCounter::truncated(QString(68, u'x') + u"\U0001F600z"_s, s),
             QString(68, u'x') + u"\U0001F600"_s);
    // Editor text and box text convert both ways.
    QCOMPARE(TextCounter::toBoxText(u"a\nb"_s), u"a\r\nb"_s);
    QCOMPARE(TextCounter::fromBoxText(u"a\r\nb"_s), u"a\nb"_s);
}

void tst_ComposeText::measuredInTheUnitsSent_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("footer");
    QTest::addColumn<bool>("nokia");
    QTest::addColumn<int>("left");      // without auto-split
    QTest::addColumn<int>("messages");  // with auto-split
    QTest::addColumn<int>("kept");      // characters the cut to one message keeps
    const QString a159(159, u'a');
    const QString zhe = u"\u0436"_s;  // Cyrillic, outside the phone's alphabet
    QTest::newRow("gsm 161") << QString(161, u'a') << QString() << false << -1 << 2 << 160;
    QTest::newRow("euro takes two septets") << a159 + u"\u20AC"_s << QString() << false << -1 << 2 << 159;
    QTest::newRow("escapes") << QString(144, u'a') + u"[]{}~^|\\"_s << QString() << false << 0 << 1 << 152;
    QTest::newRow("accent replaced first") << a159 + u"\u00E1"_s << QString() << false << 0 << 1 << 160;
    QTest::newRow("ucs2 140") << zhe.repeated(140) << QString() << false << -70 << 3 << 70;
    QTest::newRow("emoji counts two units")
        << QString(68, u'a') + u"\U0001F600"_s << QString() << false << 0 << 1 << 70;
    // The alphabet's part of a text stays whole when the rest is cut.
    QTest::newRow("gsm before a ucs2 letter")
        << QString(150, u'a') + zhe + QString(20, u'b') << QString() << false << -101 << 3 << 150;
    QTest::newRow("nokia ucs2") << zhe.repeated(70) << QString() << true << 0 << 1 << 70;
    QTest::newRow("footer in ucs2") << zhe.repeated(66) << u" {TW}"_s << false << -1 << 2 << 65;
    QTest::newRow("footer outside the alphabet")
        << QString(66, u'a') << u" \u2014TW"_s << false << 0 << 1 << 66;
}

void tst_ComposeText::measuredInTheUnitsSent() {
    QFETCH(QString, text);
    QFETCH(QString, footer);
    QFETCH(bool, nokia);
    QFETCH(int, left);
    QFETCH(int, messages);
    QFETCH(int, kept);
    SharedState s;
    s.deviceManufacturer = nokia ? u"Nokia"_s : u"SIEMENS"_s;
    const int base = nokia ? 159 : 160;
    s.footer = footer;
    s.footerUsed = !footer.isEmpty();
    s.maxTextLen = base - int(footer.size());
    QCOMPARE(TextCounter::unitsLeft(text, s), left);
    QCOMPARE(TextCounter::messageCount(text, s), messages);
    QCOMPARE(TextCounter::truncated(text, s), text.left(kept));
    // Every part the message-file writer makes goes in one SMS as the phone encodes it.
    const QStringList parts = MessageFiles::messageTexts(s, TextCounter::replaceAccents(text), true);
    QCOMPARE(int(parts.size()), messages);
    for (const QString& part : parts) {
        const int single = Gsm::isGsmText(part) ? base : 70;
        QVERIFY2(Gsm::smsLength(part) <= single, qPrintable(part));
    }
}

void tst_ComposeText::accentTable() {
    QCOMPARE(TextCounter::replaceAccents(u"ÂÊÎÔÛâêîôûÁÍÓÚáíóú"_s), u"AEIOUaeiouAIOUaiou"_s);
    // Everything else stays: É and é, the phone alphabet's own letters, tabs, emoji.
    const QString kept = u"ÉéèùìòÇØøÅåÄÖÑÜäöñüà\t\U0001F600€"_s;
    QCOMPARE(TextCounter::replaceAccents(kept), kept);
    QCOMPARE(TextCounter::replaceAccents(u"á, ê and é"_s), u"a, e and é"_s);
}

void tst_ComposeText::numberTest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::newRow("digits") << u"4915112345"_s << true;
    QTest::newRow("plus") << u"+4915112345"_s << true;
    QTest::newRow("minus") << u"-12"_s << true;
    QTest::newRow("blanks around") << u"  123  "_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blank") << u" "_s << false;
    QTest::newRow("sign alone") << u"+"_s << false;
    QTest::newRow("letter") << u"12a3"_s << false;
    QTest::newRow("name") << u"Alpha"_s << false;
    QTest::newRow("blank inside") << u"12 3"_s << false;
}

void tst_ComposeText::numberTest() {
    QFETCH(QString, text);
    QFETCH(bool, number);
    QCOMPARE(RecipientCompletion::readsAsNumber(text), number);
}

void tst_ComposeText::completion() {
    const QStringList names{u"Alpha"_s, u"alfred"_s, u"Beta"_s};
    // The first name in list order that begins with the fragment, case as stored.
    auto p = RecipientCompletion::complete(u"al"_s, names);
    QVERIFY(p.ran);
    QCOMPARE(p.row, 0);
    QCOMPARE(p.text, u"Alpha"_s);
    QCOMPARE(p.selectionStart, 2);
    QCOMPARE(p.selectionLength, 3);
    p = RecipientCompletion::complete(u"alf"_s, names);
    QCOMPARE(p.text, u"alfred"_s);
    // After a ";", with blanks before the fragment kept.
    p = RecipientCompletion::complete(u"+49151; b"_s, names);
    QCOMPARE(p.text, u"+49151; Beta"_s);
    QCOMPARE(p.selectionStart, 9);
    QCOMPARE(p.selectionLength, 3);
    // An empty fragment selects the first row and leaves the text alone.
    for (const QString& box : {QString(), u"Beta;"_s}) {
        p = RecipientCompletion::complete(box, names);
        QVERIFY(p.ran);
        QCOMPARE(p.row, 0);
        QCOMPARE(p.text, box);
        QCOMPARE(p.selectionStart, -1);
    }
    // No fitting name: nothing selected, text alone.
    p = RecipientCompletion::complete(u"x"_s, names);
    QCOMPARE(p.row, -1);
    QCOMPARE(p.text, u"x"_s);
    // Numbers and ";" never complete, each number with or without its leading "+".
    const QStringList plusNames{u"+49 Office"_s};
    for (const QString& box : {u"123;456;"_s, u"123;"_s, u"+49;1"_s, u"+4917100001;+49"_s, u" ; +49 ;"_s}) {
        QVERIFY2(!RecipientCompletion::complete(box, plusNames).ran, qPrintable(box));
    }
    // A box without any number is completed (an empty fragment selects the first row).
    QVERIFY(RecipientCompletion::complete(u" ; "_s, plusNames).ran);
    QCOMPARE(RecipientCompletion::complete(u"+4930;A"_s, names).text, u"+4930;Alpha"_s);
    // An empty address book proposes nothing.
    p = RecipientCompletion::complete(u"a"_s, {});
    QCOMPARE(p.row, -1);
}

QTEST_GUILESS_MAIN(tst_ComposeText)
#include "tst_composetext.moc"
