// Every write of a settings or message file is checked to the last byte: a write that fails
// (a full disk) leaves the old file exactly as it was, says so to its caller and to the log,
// and leaves no stray file behind. New files are their owner's only.
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "IniStore.h"
#include "IsolatedRun.h"
#include "LogWriter.h"

namespace {

QByteArray readRaw(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// A settings file as a program folder holds after its first jobs.
const QByteArray kSettings =
    "[Settings]\nPort=/dev/ttyUSB0\nSpeed=115200\nTimer=5000\nOutTiming=1\nKeepSent=1\n"
    "LogSMS=1\nFooter=/sent by the office gateway\nSendActive=1\nReceiveActive=1\n"
    "[Job f1]\nType=1\nName=forward\n";

bool writeSettings(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(kSettings) == kSettings.size();
}

using Write = std::function<bool(IniStore&)>;

}  // namespace

Q_DECLARE_METATYPE(Write)

class TestCheckedWrites : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString file() const { return m_dir.filePath(QStringLiteral("tellwick.ini")); }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QFile::remove(file());
        QFile::remove(m_dir.filePath(QStringLiteral("tellwick.log")));
    }
    void cleanup() { IniStore::setWriteFaultForTest(-1); }

    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<Write>("write");
        QTest::addColumn<qint64>("accepted");
        const QString settings = QStringLiteral("Settings");
        const QList<std::pair<const char*, Write>> writes{
            {"writeINI",
             [=](IniStore& i) {
                 return i.writeINI(settings, QStringLiteral("Port"), QStringLiteral("/dev/ttyACM0"));
             }},
            {"writeINIValues",
             [=](IniStore& i) {
                 return i.writeINIValues(QStringLiteral("Job f1"),
                                         {{QStringLiteral("Name"), QStringLiteral("n")}});
             }},
            {"deleteINIKey", [=](IniStore& i) { return i.deleteINIKey(settings, QStringLiteral("Timer")); }},
            {"deleteINISection", [=](IniStore& i) { return i.deleteINISection(QStringLiteral("Job f1")); }},
            {"replaceINISections",
             [=](IniStore& i) {
                 return i.replaceINISections({{settings, {{QStringLiteral("A"), QStringLiteral("1")}}}});
             }},
        };
        for (const auto& [name, write] : writes) {
            QTest::addRow("%s, nothing written", name) << write << qint64(0);
            QTest::addRow("%s, part written", name) << write << qint64(12);
        }
    }
    void failedWriteKeepsTheOldFile() {
        QFETCH(Write, write);
        QFETCH(qint64, accepted);
        QVERIFY(writeSettings(file()));
        LogWriter log(m_dir.path());
        IniStore ini(file(), &log);
        IniStore::setWriteFaultForTest(accepted);
        QVERIFY(!write(ini));
        IniStore::setWriteFaultForTest(-1);
        QCOMPARE(readRaw(file()), kSettings);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // the file and the log
        const QByteArray lines = readRaw(log.transactionLogPath());
        QVERIFY2(lines.contains("No space left on device"), lines.constData());
        // The store reads what the file holds, not what it failed to write.
        QCOMPARE(ini.readINI(QStringLiteral("Settings"), QStringLiteral("Port")),
                 QStringLiteral("/dev/ttyUSB0"));
    }

    void newFilesArePrivateExistingOnesKeepTheirPermissions() {
        const mode_t old = ::umask(022);
        IniStore ini(file());
        QVERIFY(ini.writeINI(QStringLiteral("Settings"), QStringLiteral("a"), QStringLiteral("1")));
        QCOMPARE(modeOf(file()), 0600);
        QVERIFY(QFile::setPermissions(
            file(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(ini.writeINI(QStringLiteral("Settings"), QStringLiteral("b"), QStringLiteral("2")));
        QCOMPARE(modeOf(file()), 0644);
        LogWriter log(m_dir.path());
        QVERIFY(log.writeLog(QStringLiteral("x")));
        QCOMPARE(modeOf(log.transactionLogPath()), 0600);
        ::umask(old);
    }

    // A real full disk: a small file system of its own, filled to the last block.
    void settingsSurviveAFullDisk() {
        QTemporaryDir mountPoint;
        TW_RUN_ISOLATED(IsolatedRun::withSmallDisk("settingsSurviveAFullDiskInside", mountPoint.path(), 64));
    }
    void settingsSurviveAFullDiskInside() {
        if (!IsolatedRun::inside() || IsolatedRun::smallDisk().isEmpty()) {
            QSKIP("runs on its own small disk from settingsSurviveAFullDisk");
        }
        const QString dir = IsolatedRun::smallDisk();
        const QString path = dir + QStringLiteral("/tellwick.ini");
        QVERIFY(writeSettings(path));
        LogWriter log(dir);
        IniStore ini(path, &log);
        QVERIFY(log.writeLog(QStringLiteral("started")));
        QFile filler(dir + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        QVERIFY(!ini.writeINI(QStringLiteral("Settings"), QStringLiteral("Footer"), QString(3000, u'x')));
        QCOMPARE(readRaw(path), kSettings);
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 3);  // no temporary file left
        // With room again the write goes through.
        QVERIFY(QFile::remove(dir + QStringLiteral("/filler")));
        QVERIFY(ini.writeINI(QStringLiteral("Settings"), QStringLiteral("Footer"), QString(3000, u'x')));
        QCOMPARE(ini.readINI(QStringLiteral("Settings"), QStringLiteral("Port")),
                 QStringLiteral("/dev/ttyUSB0"));
    }
};

QTEST_MAIN(TestCheckedWrites)
#include "tst_checkedwrites.moc"
