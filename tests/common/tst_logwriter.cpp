#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "LogWriter.h"
#include "ProgramFolder.h"
#include "TestContext.h"

class TestLogWriter : public QObject {
    Q_OBJECT
private slots:
    void linesGoToTheRightLog() {
        QTemporaryDir dir;
        LogWriter log(dir.path());
        QVERIFY(log.writeLog(QStringLiteral("first")));
        QVERIFY(log.writeLog(QStringLiteral("with\r\nbreak")));
        QVERIFY(log.writeLog(QStringLiteral("dbg"), true));
        QFile t(log.transactionLogPath());
        QVERIFY(t.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(t.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        static const QRegularExpression re(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}/\\d{2}:\\d{2}:\\d{2}: first$"));
        QVERIFY2(re.match(lines[0]).hasMatch(), qPrintable(lines[0]));
        QVERIFY(lines[1].endsWith(QLatin1String(": with break")));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("debug.log"))));
    }

    void aFailedWriteIsReportedOnlyInDebugMode() {
        TestContext t;
        t.ctx().log().setFolder(t.path(QStringLiteral("missing/folder")));
        QVERIFY(!t.ctx().log().writeLog(QStringLiteral("x")));
        QCOMPARE(t.msgBox().shown().size(), 0);
        t.ctx().log().setDebugMode(true);
        QVERIFY(!t.ctx().log().writeLog(QStringLiteral("x")));
        QCOMPARE(t.msgBox().shown().size(), 1);
        const MsgBox::Shown box = t.msgBox().shown().first();
        QCOMPARE(box.title, QStringLiteral("Error writing to logfile"));
        QCOMPARE(box.icon, MsgBox::Critical);
        QVERIFY(box.text.startsWith(QStringLiteral("Can't write to ") + t.path(QStringLiteral("missing/folder/tellwick.log")) +
                                    QStringLiteral(": ")));
    }

    void programFolderAndSettingsFile() {
        QTemporaryDir dir;
        QCOMPARE(ProgramFolder::locate({QStringLiteral("tellwick"), QStringLiteral("--home"), dir.path()}), dir.path());
        qputenv("TELLWICK_HOME", dir.path().toUtf8());
        QCOMPARE(ProgramFolder::locate({QStringLiteral("tellwick")}), dir.path());
        qunsetenv("TELLWICK_HOME");
        qputenv("XDG_DATA_HOME", dir.path().toUtf8());
        QCOMPARE(ProgramFolder::locate({QStringLiteral("tellwick")}), dir.path() + QStringLiteral("/tellwick"));

        QCOMPARE(ProgramFolder::settingsFile(dir.path()), dir.filePath(QStringLiteral("tellwick.ini")));
        IniStore ini(dir.filePath(QStringLiteral("tellwick.ini")));
        QVERIFY(ini.writeINI(QStringLiteral("Settings"), QStringLiteral("INI"), QStringLiteral("conf\\other.ini")));
        QCOMPARE(ProgramFolder::settingsFile(dir.path()), dir.filePath(QStringLiteral("conf/other.ini")));
        QVERIFY(ini.writeINI(QStringLiteral("Settings"), QStringLiteral("INI"), QStringLiteral("/etc/tw.ini")));
        QCOMPARE(ProgramFolder::settingsFile(dir.path()), QStringLiteral("/etc/tw.ini"));
    }
};

QTEST_GUILESS_MAIN(TestLogWriter)
#include "tst_logwriter.moc"
