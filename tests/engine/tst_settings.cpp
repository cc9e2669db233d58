#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <memory>

#include "Settings.h"
#include "TestContext.h"

class TestSettings : public QObject {
    Q_OBJECT
    std::unique_ptr<TestContext> t;

    void set(const char* key, const QString& value) {
        t->ini().writeINI(QStringLiteral("Settings"), QString::fromLatin1(key), value);
    }

private slots:
    void init() { t = std::make_unique<TestContext>(); }
    void cleanup() {
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
    }

    void defaultsAndFolders() {
        t->ctx().getSettings();
        const SharedState& s = t->ctx().state();
        for (const auto& [dir, name] :
             {std::pair{s.inDir, "In"}, {s.outDir, "Out"}, {s.sentDir, "Sent"}, {s.arcDir, "Arc"}}) {
            QCOMPARE(dir, QDir::cleanPath(t->path(QString::fromLatin1(name))));
            QVERIFY(QFileInfo(dir).isDir());
        }
        QCOMPARE(s.maxTextLen, 160);
        QVERIFY(!s.logSMSFlag);
        QVERIFY(!s.debugMode);
        QVERIFY(s.keepSent);
        QVERIFY(s.sendActive);
        QVERIFY(!s.receiveActive);
        QCOMPARE(s.outTiming, 0);
        QCOMPARE(s.timerInterval, 5000);
        QCOMPARE(s.timeoutSeconds, 10);
        QCOMPARE(s.smtpServer, QString());
    }

    void keysRead() {
        const QString absolute = t->path(QStringLiteral("abs/out"));
        set("InDir", QStringLiteral("mail\\incoming\\"));
        set("OutDir", absolute);
        set("LogSMS", QStringLiteral("1"));
        set("Debug", QStringLiteral("1"));
        set("SMTPServer", QStringLiteral("smtp.example.org"));
        set("KeepSent", QStringLiteral("0"));
        set("SendActive", QStringLiteral("0"));
        set("ReceiveActive", QStringLiteral("1"));
        set("OutTiming", QStringLiteral("30"));
        set("InTiming", QStringLiteral("60"));
        set("Timer", QStringLiteral("2500"));
        set("Timeout", QStringLiteral("4"));
        set("MinimizeToTray", QStringLiteral("1"));
        set("Footer", QStringLiteral("-TW"));
        t->ctx().getSettings();
        const SharedState& s = t->ctx().state();
        QCOMPARE(s.inDir, QDir::cleanPath(t->path(QStringLiteral("mail/incoming"))));
        QVERIFY(QFileInfo(s.inDir).isDir());
        QCOMPARE(s.outDir, absolute);
        QVERIFY(QFileInfo(absolute).isDir());
        QVERIFY(s.logSMSFlag && s.debugMode && t->ctx().log().debugMode());
        QCOMPARE(s.smtpServer, QStringLiteral("smtp.example.org"));
        QVERIFY(!s.keepSent && !s.sendActive && s.receiveActive && s.minimizeToTray);
        QCOMPARE(s.outTiming, 30);
        QCOMPARE(s.inTiming, 60);
        QCOMPARE(s.timerInterval, 2500);
        QCOMPARE(s.timeoutSeconds, 4);
        QCOMPARE(s.footer, QStringLiteral("-TW"));
        QCOMPARE(s.maxTextLen, 157);
    }

    void nonsenseNumbersFallBack() {
        set("Timer", QStringLiteral("fast"));
        set("Timeout", QStringLiteral("0"));
        set("OutTiming", QStringLiteral("-5"));
        set("InTiming", QStringLiteral(" 12 s"));  // its leading number counts
        t->ctx().getSettings();
        QCOMPARE(t->ctx().state().timerInterval, 5000);
        QCOMPARE(t->ctx().state().timeoutSeconds, 10);
        QCOMPARE(t->ctx().state().outTiming, 0);
        QCOMPARE(t->ctx().state().inTiming, 12);
    }

    void nokiaLength() {
        QCOMPARE(Settings::baseTextLen(QStringLiteral("NOKIA"), QString()), 159);
        QCOMPARE(Settings::baseTextLen(QStringLiteral("x"), QStringLiteral("Nokia 6310i")), 159);
        QCOMPARE(Settings::baseTextLen(QStringLiteral("SIEMENS"), QStringLiteral("MC35")), 160);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
