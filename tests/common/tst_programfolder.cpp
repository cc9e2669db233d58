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
    void secondProgramIsRefusedAndToldWho() {
        const QString folder = m_dir.filePath(QStringLiteral("held"));
        QVERIFY(ProgramFolder::ensure(folder));
        ProgramLock first(folder);
        QVERIFY(first.tryLock());
        ProgramLock second(folder);
        QVERIFY(!second.tryLock());
        QVERIFY2(second.holder().startsWith(QStringLiteral("process %1 on ").arg(::getpid())),
                 qPrintable(second.holder()));
        QVERIFY(second.error().isEmpty());
    }

    // A lock whose program is gone (killed, the machine reset) is taken over, however young.
    void lockOfAProgramThatIsGoneIsTakenOver() {
        const QString folder = m_dir.filePath(QStringLiteral("stale"));
        QVERIFY(ProgramFolder::ensure(folder));
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForFinished());
        const qint64 pid = gone.processId() > 0 ? gone.processId() : 999999;
        QFile lock(folder + u'/' + QString::fromLatin1(ProgramLock::kFileName));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
                   QSysInfo::machineHostName().toUtf8() + '\n');
        lock.close();
        ProgramLock next(folder);
        QVERIFY(next.tryLock());
    }

    // A held lock is not stale for its age: a program runs for months.
    void oldLockOfARunningProgramHolds() {
        const QString folder = m_dir.filePath(QStringLiteral("old"));
        QVERIFY(ProgramFolder::ensure(folder));
        ProgramLock first(folder);
        QVERIFY(first.tryLock());
        QFile lock(folder + u'/' + QString::fromLatin1(ProgramLock::kFileName));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(
            lock.setFileTime(QDateTime::currentDateTime().addDays(-40), QFileDevice::FileModificationTime));
        lock.close();
        ProgramLock second(folder);
        QVERIFY(!second.tryLock());
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
