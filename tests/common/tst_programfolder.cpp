// The program folder: one program at a time holds it, and what the program creates there is
// its owner's only.
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "AppContext.h"
#include "ProgramFolder.h"

namespace {

int modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

}  // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // A held lock refuses a second program and names its holder, however old: a program runs
    // for months. A lock whose program is gone (killed, the machine reset) is taken over.
    void lockHeldOrTakenOver_data() {
        QTest::addColumn<int>("ageDays");
        QTest::addColumn<bool>("holderGone");
        QTest::newRow("held, just taken") << 0 << false;
        QTest::newRow("held for 40 days") << 40 << false;
        QTest::newRow("holder gone") << 0 << true;
    }
    void lockHeldOrTakenOver() {
        QFETCH(int, ageDays);
        QFETCH(bool, holderGone);
        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(ProgramFolder::ensure(folder));
        ProgramLock first(folder);
        QFile lock(folder + u'/' + QString::fromLatin1(ProgramLock::kFileName));
        if (holderGone) {
            QProcess gone;
            gone.start(QStringLiteral("true"));
            QVERIFY(gone.waitForFinished());
            const qint64 pid = gone.processId() > 0 ? gone.processId() : 999999;
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
                       QSysInfo::machineHostName().toUtf8() + '\n');
        } else {
            QVERIFY(first.tryLock());
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-ageDays),
                                     QFileDevice::FileModificationTime));
        }
        lock.close();
        ProgramLock second(folder);
        QCOMPARE(second.tryLock(), holderGone);
        if (!holderGone) {
            QVERIFY2(second.holder().startsWith(QStringLiteral("process %1 on ").arg(::getpid())),
                     qPrintable(second.holder()));
            QVERIFY(second.error().isEmpty());
        }
    }

    void createdFoldersAndFilesArePrivate() {
        const mode_t old = ::umask(022);
        const QString folder = m_dir.filePath(QStringLiteral("new/program"));
        {
            AppContext ctx(folder);
            ctx.getSettings();
            ctx.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Port"), QStringLiteral("1"));
            ctx.log().writeLog(QStringLiteral("started"));
            const SharedState& s = ctx.state();
            for (const QString& dir :
                 {m_dir.filePath(QStringLiteral("new")), folder, s.inDir, s.outDir, s.sentDir, s.arcDir}) {
                QVERIFY2(modeOf(dir) == 0700,
                         qPrintable(QStringLiteral("%1: %2").arg(dir).arg(modeOf(dir), 0, 8)));
            }
            QCOMPARE(modeOf(folder + QStringLiteral("/tellwick.ini")), 0600);
            QCOMPARE(modeOf(folder + QStringLiteral("/tellwick.log")), 0600);
        }
        ::umask(old);
        // A settings file others can read is named in the log at start-up, once, and kept as it is.
        QVERIFY(QFile::setPermissions(folder + QStringLiteral("/tellwick.ini"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        { AppContext ctx(folder); }
        QFile log(folder + QStringLiteral("/tellwick.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray lines = log.readAll();
        QCOMPARE(lines.count("other users of this computer can read"), 1);
        QCOMPARE(modeOf(folder + QStringLiteral("/tellwick.ini")), 0604);
    }
};

QTEST_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
