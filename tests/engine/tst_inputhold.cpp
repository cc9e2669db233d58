#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "InputHold.h"
#include "ModalDriver.h"
#include "MsgBox.h"

using namespace Qt::StringLiterals;

class tst_InputHold : public QObject {
    Q_OBJECT

private slots:
    void inputWaitsForTheHold() {
        QLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        {
            InputHold hold;
            QTest::keyClicks(&edit, u"ab"_s);
            QCOMPARE(edit.text(), QString());
            QVERIFY(hold.held() > 0);
        }
        QTRY_COMPARE(edit.text(), u"ab"_s);
    }

    // A box that comes up while input is held (a failed log write during a phone tick) is
    // answered at once, not after the hold it belongs to.
    void aBoxInsideTheHoldTakesClicks() {
        QWidget main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        MsgBox boxes;
        QObject guard;
        driveModal(&guard, u"box"_s, [](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            QVERIFY(QTest::qWaitForWindowExposed(box));
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        });
        InputHold hold;
        QCOMPARE(boxes.show(u"Go on?"_s, MsgBox::YesNo, MsgBox::Question, u"Question"_s, &main),
                 int(MsgBox::No));
        QCOMPARE(hold.held(), 0);
    }
};

QTEST_MAIN(tst_InputHold)
#include "tst_inputhold.moc"
