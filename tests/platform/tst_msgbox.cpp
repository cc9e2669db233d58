#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ModalDriver.h"
#include "MsgBox.h"

// What a real (not scripted) box shows and answers.
class TestMsgBox : public QObject {
    Q_OBJECT

private slots:
    void quotedTextIsShownAsWritten_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("tags") << QStringLiteral("Delete job <b>Night</b> run?");
        QTest::newRow("strike") << QStringLiteral("<s>");
        QTest::newRow("plain") << QStringLiteral("SMS to +4917012345678 (1) sent successfully");
    }
    void quotedTextIsShownAsWritten() {
        QFETCH(QString, text);
        MsgBox box;
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        QObject guard;
        driveModal(&guard, QStringLiteral("The question box"), [&](QWidget* modal) {
            auto* mb = qobject_cast<QMessageBox*>(modal);
            QVERIFY(mb);
            // The label that draws the text.
            for (QLabel* label : mb->findChildren<QLabel*>()) {
                if (label->text() == text) {
                    shown = label->text();
                    format = label->textFormat();
                }
            }
            mb->button(QMessageBox::No)->click();
        });
        QCOMPARE(box.show(text, MsgBox::YesNo, MsgBox::Question, QStringLiteral("Tellwick")), int(MsgBox::No));
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(box.shown().size(), 1);
        QCOMPARE(box.shown().first().text, text);
    }
};

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
