#include <QTest>

#include <limits>

#include "Fields.h"

using namespace Qt::StringLiterals;

class TestFields : public QObject {
    Q_OBJECT
private slots:
    void getField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first") << "a;b;c" << 1 << ";" << "a";
        QTest::newRow("last") << "a;b;c" << 3 << ";" << "c";
        QTest::newRow("trimmed") << " a ; b " << 2 << ";" << "b";
        QTest::newRow("past the end") << "a;b" << 3 << ";" << "";
        QTest::newRow("no separator, any index") << " abc " << 5 << ";" << "abc";
        QTest::newRow("empty field") << "a;;c" << 2 << ";" << "";
        QTest::newRow("trailing separator") << "a;" << 2 << ";" << "";
        QTest::newRow("pipe") << "Name|+4912" << 2 << "|" << "+4912";
        QTest::newRow("empty text") << "" << 1 << ";" << "";
        QTest::newRow("index zero") << "a;b" << 0 << ";" << "";
    }
    void getField() {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(::getField(text, index, separator), expected);
    }

    void countFields() {
        QCOMPARE(::countFields(QString(), QStringLiteral(";")), 0);
        QCOMPARE(::countFields(QStringLiteral("abc"), QStringLiteral(";")), 1);
        QCOMPARE(::countFields(QStringLiteral("a;b"), QStringLiteral(";")), 2);
        QCOMPARE(::countFields(QStringLiteral(";"), QStringLiteral(";")), 2);
        QCOMPARE(::countFields(QStringLiteral("a;b;"), QStringLiteral(";")), 3);
        QCOMPARE(::countFields(QStringLiteral("a,b;c"), QStringLiteral(",")), 2);
    }

    void leadingNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("whole");
        QTest::addColumn<bool>("present");
        QTest::newRow("plain") << "42" << 42 << true;
        QTest::newRow("letters after") << "1abc" << 1 << true;
        QTest::newRow("letters only") << "abc" << 0 << true;
        QTest::newRow("blanks around") << " 12 " << 12 << true;
        QTest::newRow("blanks inside") << "1 2" << 12 << true;
        QTest::newRow("negative") << "-3" << -3 << true;
        QTest::newRow("plus") << "+7x" << 7 << true;
        QTest::newRow("decimal rounds") << "2.5s" << 3 << true;
        QTest::newRow("decimal rounds to 0") << "0.4" << 0 << true;
        QTest::newRow("exponent") << "1e3" << 1000 << true;
        QTest::newRow("past int") << "1e12" << std::numeric_limits<int>::max() << true;
        QTest::newRow("other digits") << u"٣"_s << 0 << true;  // Arabic-Indic three
        QTest::newRow("empty") << "" << 0 << false;
        QTest::newRow("blank") << "   " << 0 << false;
    }
    void leadingNumbers() {
        QFETCH(QString, text);
        QFETCH(int, whole);
        QFETCH(bool, present);
        bool seen = !present;
        QCOMPARE(::leadingInt(text, &seen), whole);
        QCOMPARE(seen, present);
        // A flag is on when its number is not 0; a blank one takes the reader's default.
        QCOMPARE(::isFlagSet(text), whole != 0);
        QCOMPARE(::isFlagSet(text, true), present ? whole != 0 : true);
    }

    void removeField() {
        QCOMPARE(::removeField(QStringLiteral("a,b,c"), 2, QStringLiteral(",")), QStringLiteral("a,c"));
        QCOMPARE(::removeField(QStringLiteral("a,b,c"), 3, QStringLiteral(",")), QStringLiteral("a,b"));
        QCOMPARE(::removeField(QStringLiteral("a"), 1, QStringLiteral(",")), QString());
        QCOMPARE(::removeField(QStringLiteral("a,b"), 5, QStringLiteral(",")), QStringLiteral("a,b"));
    }
};

QTEST_GUILESS_MAIN(TestFields)
#include "tst_fields.moc"
