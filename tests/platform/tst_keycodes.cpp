#include <QKeyEvent>
#include <QTest>

#include "KeyCodes.h"

class TestKeyCodes : public QObject {
    Q_OBJECT
private slots:
    void mapping_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("code");
        const int none = Qt::NoModifier;
        const int keypad = Qt::KeypadModifier;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << 8;
        QTest::newRow("return") << int(Qt::Key_Return) << none << 13;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << keypad << 13;
        QTest::newRow("space") << int(Qt::Key_Space) << none << 32;
        QTest::newRow("delete") << int(Qt::Key_Delete) << none << 46;
        QTest::newRow("comma") << int(Qt::Key_Comma) << none << 188;
        QTest::newRow("shifted comma") << int(Qt::Key_Less) << int(Qt::ShiftModifier) << 188;
        QTest::newRow("A") << int(Qt::Key_A) << none << 65;
        QTest::newRow("0") << int(Qt::Key_0) << none << 48;
        QTest::newRow("keypad 0") << int(Qt::Key_0) << keypad << 96;
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << keypad << 109;
        QTest::newRow("minus") << int(Qt::Key_Minus) << none << 189;
        QTest::newRow("F1") << int(Qt::Key_F1) << none << 112;
        QTest::newRow("up") << int(Qt::Key_Up) << none << 38;
        QTest::newRow("shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << 16;
        QTest::newRow("no code") << int(Qt::Key_VolumeUp) << none << 0;
        QTest::newRow("letter beyond ascii") << int(Qt::Key_Adiaeresis) << none << 0;
    }
    void mapping() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(KeyCodes::fromEvent(&event), code);
    }

    void shiftState() {
        QCOMPARE(KeyCodes::fromEvent(nullptr), 0);
        QCOMPARE(KeyCodes::shiftState(Qt::NoModifier), 0);
        QCOMPARE(KeyCodes::shiftState(Qt::ShiftModifier), 1);
        QCOMPARE(KeyCodes::shiftState(Qt::ControlModifier | Qt::AltModifier), 6);
        QCOMPARE(KeyCodes::shiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier), 3);
    }
};

QTEST_MAIN(TestKeyCodes)
#include "tst_keycodes.moc"
