#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "MessagesWindows.h"
#include "ModalWatcher.h"
#include "TestContext.h"
#include "frmCopyMove.h"
#include "frmMain.h"

using namespace Qt::StringLiterals;

namespace {
const QString kName = u"frmCopyMove"_s;

// "<caption>|<tag>|<enabled 1/0>" of an option, for compact comparisons.
QString describe(const QRadioButton* option) {
    return option->text() + u'|' + frmCopyMove::tagOf(option) + u'|' +
           (option->isEnabled() ? u"1"_s : u"0"_s);
}
}  // namespace

class TestFrmCopyMove : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestContext> t;

    // getDestMemory's path: drive runs inside the modal loop of the dialog.
    QString choose(const QString& button, const QString& store, int maxME, int maxSM,
                   const std::function<void(frmCopyMove&)>& drive) {
        QObject guard;
        driveRegistered<frmCopyMove>(&guard, t->ctx().windows(), kName, drive);
        return frmCopyMove::chooseDestination(t->ctx(), button, store, maxME, maxSM);
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        registerMessagesWindows(t->ctx().windows());
    }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void optionsByCurrentStore_data() {
        QTest::addColumn<QString>("store");
        QTest::addColumn<int>("maxME");
        QTest::addColumn<int>("maxSM");
        QTest::addColumn<QString>("opt1");
        QTest::addColumn<QString>("opt2");
        const QString phoneOn = u"phone addressbook|ME|1"_s, phoneOff = u"phone addressbook|ME|0"_s;
        const QString simOn = u"SIM addressbook|SM|1"_s, simOff = u"SIM addressbook|SM|0"_s;
        const QString local = u"Tellwick's addressbook|SMS|1"_s;
        QTest::newRow("local, no phone") << u"SMS"_s << 0 << 0 << phoneOff << simOff;
        QTest::newRow("local, phone memory only") << u"SMS"_s << 100 << 0 << phoneOn << simOff;
        QTest::newRow("local, SIM only") << u"SMS"_s << 0 << 1 << phoneOff << simOn;
        QTest::newRow("local, both") << u"SMS"_s << 100 << 250 << phoneOn << simOn;
        QTest::newRow("phone, SIM") << u"ME"_s << 100 << 250 << local << simOn;
        QTest::newRow("phone, no SIM") << u"ME"_s << 100 << 0 << local << simOff;
        QTest::newRow("SIM, phone") << u"SM"_s << 100 << 250 << local << phoneOn;
        QTest::newRow("SIM, no phone memory") << u"SM"_s << 0 << 250 << local << phoneOff;
        QTest::newRow("unknown store") << u"sms"_s << 100 << 250 << u"||0"_s << u"||0"_s;
    }
    void optionsByCurrentStore() {
        QFETCH(QString, store);
        QFETCH(int, maxME);
        QFETCH(int, maxSM);
        QFETCH(QString, opt1);
        QFETCH(QString, opt2);
        frmCopyMove d(t->ctx());
        d.fill(u"cmdCopy"_s, store, maxME, maxSM);
        QCOMPARE(describe(d.Opt1), opt1);
        QCOMPARE(describe(d.Opt2), opt2);
        // The current store is never offered, and nothing is chosen yet.
        QVERIFY(frmCopyMove::tagOf(d.Opt1) != store && frmCopyMove::tagOf(d.Opt2) != store);
        QVERIFY(!d.Opt1->isChecked() && !d.Opt2->isChecked());
        QVERIFY(!d.cmdOK->isEnabled());
        QCOMPARE(d.chosenStore(), QString());
    }

    void captionByButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::newRow("copy") << u"cmdCopy"_s << u"Copy address(es)"_s
                              << u"Select memory to copy selected address(es) to:"_s;
        QTest::newRow("move") << u"cmdMove"_s << u"Move address(es)"_s
                              << u"Select memory to move selected address(es) to:"_s;
    }
    void captionByButton() {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QString seenCaption, seenLabel;
        choose(button, u"ME"_s, 10, 10, [&](frmCopyMove& d) {
            seenCaption = d.windowTitle();
            seenLabel = d.Label1->text();
            d.cmdCancel->click();
        });
        QCOMPARE(seenCaption, caption);
        QCOMPARE(seenLabel, label);
    }

    void answers_data() {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("steps");  // 1/2 choose an option, O OK, C Cancel, X close box, E Escape
        QTest::addColumn<QString>("result");
        QTest::newRow("Opt1, OK") << u"SMS"_s << u"1O"_s << u"ME"_s;
        QTest::newRow("Opt2, OK") << u"SMS"_s << u"2O"_s << u"SM"_s;
        QTest::newRow("local from phone") << u"ME"_s << u"1O"_s << u"SMS"_s;
        QTest::newRow("phone from SIM") << u"SM"_s << u"2O"_s << u"ME"_s;
        QTest::newRow("last choice wins") << u"SM"_s << u"21O"_s << u"SMS"_s;
        QTest::newRow("Cancel after a choice") << u"SMS"_s << u"1C"_s << QString();
        QTest::newRow("close box after a choice") << u"ME"_s << u"2X"_s << QString();
        QTest::newRow("Escape after a choice") << u"ME"_s << u"1E"_s << QString();
        QTest::newRow("OK before a choice does nothing") << u"ME"_s << u"O1O"_s << u"SMS"_s;
    }
    void answers() {
        QFETCH(QString, store);
        QFETCH(QString, steps);
        QFETCH(QString, result);
        const QString answer = choose(u"cmdMove"_s, store, 50, 50, [&](frmCopyMove& d) {
            for (const QChar step : steps) {
                if (step == u'1') {
                    d.Opt1->click();
                    QVERIFY(d.cmdOK->isEnabled());
                } else if (step == u'2') {
                    d.Opt2->click();
                    QVERIFY(d.cmdOK->isEnabled());
                } else if (step == u'O') {
                    QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                } else if (step == u'C') {
                    d.cmdCancel->click();
                } else if (step == u'X') {
                    d.close();
                } else if (step == u'E') {
                    QTest::keyClick(&d, Qt::Key_Escape);
                }
            }
        });
        QCOMPARE(answer, result);
        // The answer has been read: the dialog is unloaded.
        QTRY_VERIFY(!t->ctx().windows().isLoaded(kName));
    }

    void localStoreWithoutPhoneOffersNothing() {
        bool stayedOpen = false;
        const QString answer = choose(u"cmdCopy"_s, u"SMS"_s, 0, 0, [&](frmCopyMove& d) {
            d.Opt1->click();
            d.Opt2->click();
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
            QTest::keyClick(&d, Qt::Key_Return);
            stayedOpen = d.isVisible() && !d.Opt1->isChecked() && !d.Opt2->isChecked();
            d.cmdCancel->click();
        });
        QVERIFY(stayedOpen);
        QCOMPARE(answer, QString());
    }

    void everyOpeningStartsAfresh() {
        QPointer<frmCopyMove> first;
        QCOMPARE(choose(u"cmdCopy"_s, u"SMS"_s, 10, 10,
                        [&](frmCopyMove& d) {
                            first = &d;
                            d.Opt2->click();
                            d.cmdOK->click();
                        }),
                 u"SM"_s);
        bool fresh = false;
        choose(u"cmdCopy"_s, u"SMS"_s, 10, 10, [&](frmCopyMove& d) {
            fresh =
                &d != first.data() && !d.Opt1->isChecked() && !d.Opt2->isChecked() && !d.cmdOK->isEnabled();
            d.cmdCancel->click();
        });
        QVERIFY(fresh);
    }

    void rendersInsideItsWindow() {
        // Set TELLWICK_SHOTS to a folder to keep the picture.
        QPixmap shot;
        bool inside = true;
        choose(u"cmdMove"_s, u"SMS"_s, 100, 0, [&](frmCopyMove& d) {
            d.Opt1->click();
            shot = d.grab();
            for (QWidget* c :
                 std::initializer_list<QWidget*>{d.Label1, d.Opt1, d.Opt2, d.cmdOK, d.cmdCancel}) {
                inside = inside && QRect(QPoint(0, 0), shot.size()).contains(c->geometry());
            }
            d.cmdCancel->click();
        });
        QVERIFY(inside);
        const QString folder = qEnvironmentVariable("TELLWICK_SHOTS");
        if (!folder.isEmpty()) {
            shot.save(folder + u"/copy_move.png"_s);
        }
    }

    void iconDefaultAndCancelButtons() {
        frmCopyMove d(t->ctx());
        QCOMPARE(d.windowIcon().cacheKey(), t->ctx().mainWindow().windowIcon().cacheKey());
        QVERIFY(d.cmdOK->isDefault());
        TestContext bare;
        QCOMPARE(frmCopyMove::chooseDestination(bare.ctx(), u"cmdCopy"_s, u"SMS"_s, 10, 10), QString());
    }
};

QTEST_MAIN(TestFrmCopyMove)
#include "tst_frmcopymove.moc"
