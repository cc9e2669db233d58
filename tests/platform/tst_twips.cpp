#include <QTest>
#include <QWidget>

#include "Twips.h"

class TestTwips : public QObject {
    Q_OBJECT
private slots:
    void rounding_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("under half") << 7 << 0;
        QTest::newRow("over half") << 8 << 1;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("22") << 22 << 1;
        QTest::newRow("23") << 23 << 2;
        QTest::newRow("inch") << 1440 << 96;
        QTest::newRow("list width") << 4455 << 297;
        QTest::newRow("column") << 1114 << 74;
        QTest::newRow("negative under half") << -7 << 0;
        QTest::newRow("negative over half") << -8 << -1;
        QTest::newRow("negative") << -1440 << -96;
    }
    void rounding() {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips), pixels);
        static_assert(Twips::fromPixels(96) == 1440);
    }

    void sizesStayReadableInTwips() {
        QWidget w;
        Twips::setWidth(&w, 4455);
        Twips::setHeight(&w, 2760);
        QCOMPARE(w.width(), 297);
        QCOMPARE(w.height(), 184);
        QCOMPARE(Twips::width(&w), 4455);
        QCOMPARE(Twips::height(&w), 2760);

        // Resized by other means: the pixels count.
        w.resize(100, 184);
        QCOMPARE(Twips::width(&w), 1500);
        QCOMPARE(Twips::height(&w), 2760);

        QWidget never;
        never.resize(10, 20);
        QCOMPARE(Twips::width(&never), 150);
        QCOMPARE(Twips::height(&never), 300);
    }

    void geometry() {
        QWidget parent;
        auto* child = new QWidget(&parent);
        Twips::setGeometry(child, 120, 1905, 1215, 375);
        QCOMPARE(child->geometry(), QRect(8, 127, 81, 25));
        QCOMPARE(Twips::left(child), 120);
        QCOMPARE(Twips::top(child), 1905);
        QCOMPARE(Twips::width(child), 1215);
        QCOMPARE(Twips::height(child), 375);
        Twips::setTop(child, 360);
        QCOMPARE(child->y(), 24);
        QCOMPARE(Twips::top(child), 360);
        Twips::setLeft(child, 30);
        QCOMPARE(Twips::left(child), 30);
        child->move(10, 10);
        QCOMPARE(Twips::left(child), 150);
    }
};

QTEST_MAIN(TestTwips)
#include "tst_twips.moc"
