#include <QTest>

#include "Fields.h"

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

    void removeField() {
        QCOMPARE(::removeField(QStringLiteral("a,b,c"), 2, QStringLiteral(",")), QStringLiteral("a,c"));
        QCOMPARE(::removeField(QStringLiteral("a,b,c"), 3, QStringLiteral(",")), QStringLiteral("a,b"));
        QCOMPARE(::removeField(QStringLiteral("a"), 1, QStringLiteral(",")), QString());
        QCOMPARE(::removeField(QStringLiteral("a,b"), 5, QStringLiteral(",")), QStringLiteral("a,b"));
    }
};

QTEST_GUILESS_MAIN(TestFields)
#include "tst_fields.moc"
