#include <QTest>

#include "TextCut.h"

using namespace Qt::StringLiterals;

namespace {
const QString kEmoji = u"\U0001F600"_s;  // two UTF-16 units
}

class TestTextCut : public QObject {
    Q_OBJECT
private slots:
    void left_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("shorter") << u"abc"_s << 5 << u"abc"_s;
        QTest::newRow("plain cut") << u"abcdef"_s << 4 << u"abcd"_s;
        QTest::newRow("emoji whole inside") << u"ab"_s + kEmoji + u"cd"_s << 4 << u"ab"_s + kEmoji;
        QTest::newRow("emoji across the cut") << u"abc"_s + kEmoji + u"d"_s << 4 << u"abc"_s;
        QTest::newRow("line break across the cut") << u"abc\r\nd"_s << 4 << u"abc"_s;
        QTest::newRow("zero") << u"abc"_s << 0 << QString();
        QTest::newRow("negative") << u"abc"_s << -2 << QString();
    }
    void left() {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        QCOMPARE(TextCut::left(text, limit), expected);
    }

    void rightAndElided() {
        QCOMPARE(TextCut::right(u"ab"_s + kEmoji + u"cd"_s, 3), u"cd"_s);
        QCOMPARE(TextCut::right(u"ab"_s + kEmoji + u"cd"_s, 4), kEmoji + u"cd"_s);
        QCOMPARE(TextCut::right(u"abc"_s, 9), u"abc"_s);
        // 34 units with an emoji at units 30 and 31: 29 characters and "...", not 30 units
        // ending in half an emoji.
        const QString line = QString(29, u'x') + kEmoji + u"yyy"_s;
        QCOMPARE(TextCut::elided(line, 33), QString(29, u'x') + u"..."_s);
        QCOMPARE(TextCut::elided(QString(33, u'x'), 33), QString(33, u'x'));
        QCOMPARE(TextCut::elided(QString(34, u'x'), 33), QString(30, u'x') + u"..."_s);
    }

    // Every position of an emoji in the text, every piece size: the pieces join to the text,
    // none is longer than asked (but for a lone emoji with size 1), none ends in half a pair.
    void piecesKeepEveryCharacterWhole() {
        for (const int size : {1, 2, 3, 7, 156}) {
            for (int at = 0; at <= 20; ++at) {
                QString text = QString(20, u'x');
                text.insert(at, kEmoji);
                const QStringList parts = TextCut::pieces(text, size);
                QCOMPARE(parts.join(QString()), text);
                for (const QString& p : parts) {
                    QVERIFY(p.size() <= std::max(size, 2));
                    QVERIFY(!p.back().isHighSurrogate());
                }
            }
        }
        QVERIFY(TextCut::pieces(QString(), 5).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextCut)
#include "tst_textcut.moc"
