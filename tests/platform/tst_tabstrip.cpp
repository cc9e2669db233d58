#include <QSignalSpy>
#include <QTest>

#include "TabStrip.h"

class TestTabStrip : public QObject {
    Q_OBJECT
private slots:
    void oneBasedIndexes() {
        TabStrip tabs;
        QSignalSpy clicks(&tabs, &TabStrip::TabClick);
        QCOMPARE(tabs.selectedIndex(), 0);
        QCOMPARE(tabs.addTab1(QStringLiteral("&Local"), QStringLiteral("SMS")), 1);
        QCOMPARE(tabs.addTab1(QStringLiteral("&Phone"), QStringLiteral("ME")), 2);
        QCOMPARE(tabs.addTab1(QStringLiteral("&SIM")), 3);
        QCOMPARE(tabs.tabCount(), 3);
        QCOMPARE(tabs.selectedIndex(), 1);
        QCOMPARE(clicks.count(), 0);  // the first tab selected by itself is no click

        QCOMPARE(tabs.tabKey(2), QStringLiteral("ME"));
        QCOMPARE(tabs.tabKey(3), QString());
        QCOMPARE(tabs.tabKey(0), QString());
        QCOMPARE(tabs.tabKey(4), QString());
        QCOMPARE(tabs.indexOfKey(QStringLiteral("SMS")), 1);
        QCOMPARE(tabs.indexOfKey(QStringLiteral("XX")), 0);

        tabs.setSelectedIndex(3);
        QCOMPARE(tabs.selectedIndex(), 3);
        QCOMPARE(tabs.currentIndex(), 2);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), 3);
        tabs.setSelectedIndex(0);  // out of range: nothing
        tabs.setSelectedIndex(4);
        QCOMPARE(tabs.selectedIndex(), 3);
        QCOMPARE(clicks.count(), 1);
    }

    void userClickReportsOneBased() {
        TabStrip tabs;
        tabs.addTab1(QStringLiteral("One"));
        tabs.addTab1(QStringLiteral("Two"));
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QSignalSpy clicks(&tabs, &TabStrip::TabClick);
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), 2);
        QCOMPARE(tabs.selectedIndex(), 2);
    }
};

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
