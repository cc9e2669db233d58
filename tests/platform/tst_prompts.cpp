#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "ModalDriver.h"
#include "Prompts.h"

class TestPrompts : public QObject {
    Q_OBJECT
private slots:
    void scriptedBoxesAreRecordedAndAnswered() {
        MsgBox box;
        box.setScripted(true);
        box.queueAnswer(MsgBox::No);
        QCOMPARE(box.show(QStringLiteral("Delete?"), MsgBox::YesNo, MsgBox::Question, QStringLiteral("Tellwick")), int(MsgBox::No));
        // An information box needs no queued answer.
        QCOMPARE(box.show(QStringLiteral("Done"), MsgBox::OKOnly, MsgBox::Information), int(MsgBox::OK));
        QCOMPARE(box.shown().size(), 2);
        QCOMPARE(box.shown()[0].text, QStringLiteral("Delete?"));
        QCOMPARE(box.shown()[0].title, QStringLiteral("Tellwick"));
        QCOMPARE(box.shown()[0].icon, MsgBox::Question);
        QCOMPARE(box.shown()[0].buttons, MsgBox::YesNo);
        QVERIFY(box.unanswered().isEmpty());
    }

    void aQuestionWithoutAnAnswerIsFlaggedAndTakesTheSafeChoice() {
        MsgBox box;
        box.setScripted(true);
        QCOMPARE(box.show(QStringLiteral("Save?"), MsgBox::YesNoCancel, MsgBox::Question), int(MsgBox::Cancel));
        QCOMPARE(box.show(QStringLiteral("Go?"), MsgBox::YesNo, MsgBox::Question), int(MsgBox::No));
        QCOMPARE(box.unanswered().size(), 2);
    }

    void pickersAndBeepInScriptedMode() {
        Prompts p;
        p.setScripted(true);
        p.folders.queueFolder(QStringLiteral("/tmp/x"));
        QCOMPARE(p.folders.browseForFolder(nullptr, QStringLiteral("/start"), QStringLiteral("Pick")), QStringLiteral("/tmp/x"));
        QCOMPARE(p.folders.browseForFolder(nullptr, QStringLiteral("/start"), QStringLiteral("Pick")), QString());
        QCOMPARE(p.folders.asked().size(), 2);
        QCOMPARE(p.folders.asked()[0].startFolder, QStringLiteral("/start"));
        QCOMPARE(p.folders.asked()[0].title, QStringLiteral("Pick"));
        p.files.queueFile(QStringLiteral("/bin/true"));
        QCOMPARE(p.files.openFile(nullptr, QStringLiteral("Program"), QString()), QStringLiteral("/bin/true"));
        p.beeper.beep();
        p.beeper.beep();
        QCOMPARE(p.beeper.count(), 2);
    }

    // A box with a short text is still wide enough for its title.
    void aBoxFitsItsTitle() {
        MsgBox box;
        const QString title = QStringLiteral("Tellwick: Outlook contacts import");
        int width = 0, needed = 0;
        QObject guard;
        driveModal(&guard, QStringLiteral("The information box"), [&](QWidget* modal) {
            auto* mb = qobject_cast<QMessageBox*>(modal);
            QVERIFY(mb);
            width = mb->width();
            needed = mb->fontMetrics().horizontalAdvance(title);
            mb->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(box.show(QStringLiteral("1 contacts successfully imported."), MsgBox::OKOnly, MsgBox::Information,
                          title),
                 int(MsgBox::OK));
        QVERIFY2(width > needed + 100, qPrintable(QStringLiteral("%1 for %2").arg(width).arg(needed)));
    }

    // A window closed and deleted while a box over it waits (a timer, the send cycle) takes
    // the box with it; the box must come back with the no-choice answer, not crash.
    void aBoxWhoseWindowIsDeletedUnderItReturnsCancel() {
        MsgBox box;
        QPointer<QWidget> owner = new QWidget;
        owner->show();
        QObject guard;  // the connection ends with this function
        QTimer::singleShot(0, &guard, [&owner] { delete owner.data(); });
        QCOMPARE(box.show(QStringLiteral("Save?"), MsgBox::YesNoCancel, MsgBox::Question, QStringLiteral("T"),
                          owner),
                 int(MsgBox::Cancel));
        QVERIFY(owner.isNull());
        QCOMPARE(box.shown().size(), 1);
    }
};

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
