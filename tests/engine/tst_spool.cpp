// The outgoing folder as a spool, end to end against the simulated phone: a message is claimed
// before it is sent, so it is sent once and filed as itself whatever happens to the folder, its
// names and the disk meanwhile.
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "IsolatedRun.h"
#include "MessageFiles.h"
#include "PhoneSimulator.h"
#include "SendCycle.h"
#include "SendingTest.h"
#include "SettledFiles.h"
#include "Spool.h"
#include "TestContext.h"

using namespace MessageFiles;

class TestSpool : public SendingTest {
    Q_OBJECT

    QString read(const QString& path, const char* key, const char* section = "Tellwick") {
        return ctx().ini().readINI(QString::fromLatin1(section), QString::fromLatin1(key), path);
    }
    QByteArray log() { return t->readFile(QStringLiteral("tellwick.log")); }
    // Runs the cycle of a freshly started program, and again, as later ticks would.
    int runTwice() {
        settleFiles(out());
        SendCycle first(ctx());
        int handled = first.run();
        settleFiles(out());
        handled += first.run();
        SendCycle afterRestart(ctx());
        return handled + afterRestart.run();
    }

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        sim = std::make_unique<PhoneSimulator>();
        set("LogSMS", QStringLiteral("1"));
        const QString notReady = startSimulatedPhone(ctx(), *sim);
        QVERIFY2(notReady.isEmpty(), qPrintable(notReady));
    }
    void cleanup() {
        IniStore::setWriteFaultForTest(-1);
        ctx().phone().closePort();
        TW_VERIFY_NO_UNANSWERED(*t);
        t.reset();
        sim.reset();
    }

    // Another program renames a new message into the folder under the name of the one on the
    // line: both go out, each filed with its own text.
    void nameUsedAgainWhileOnTheLine() {
        writeOutgoing(QStringLiteral("alert.sms"), "[Tellwick]\nNo=+491\nText=first\n");
        QObject guard;  // the connection ends with this function
        connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
            if (c.startsWith(QLatin1String("AT+CMGS")) && sentTexts().isEmpty()) {
                t->writeFile(out() + QStringLiteral("/next.tmp"), "[Tellwick]\nNo=+492\nText=second\n");
                QFile::rename(out() + QStringLiteral("/next.tmp"), out() + QStringLiteral("/alert.sms"));
            }
        });
        QCOMPARE(runTwice(), 2);
        QCOMPARE(sentTexts(), (QStringList{QStringLiteral("+491|first"), QStringLiteral("+492|second")}));
        QCOMPARE(read(sent() + QStringLiteral("/alert.sms"), "Text"), QStringLiteral("first"));
        QCOMPARE(read(sent() + QStringLiteral("/alert_2.sms"), "Text"), QStringLiteral("second"));
        QCOMPARE(read(sent() + QStringLiteral("/alert_2.sms"), "Result", "Job Result"),
                 QStringLiteral("OK: Message was sent to +492."));
    }

    // Two programs on one outgoing folder (the second started with the same OutDir), each with
    // its own phone: every message goes out once, through one phone or the other.
    void twoProgramsOnOneFolderSendEachMessageOnce() {
        TestContext other;
        PhoneSimulator otherSim;
        const QString notReady = startSimulatedPhone(other.ctx(), otherSim);
        QVERIFY2(notReady.isEmpty(), qPrintable(notReady));
        other.ctx().state().outDir = out();
        for (int i = 1; i <= 6; ++i) {
            writeOutgoing(QStringLiteral("m%1.sms").arg(i),
                          "[Tellwick]\nNo=+49" + QByteArray::number(i) + "\nText=t\n");
        }
        settleFiles(out());
        SendCycle mine(ctx());
        SendCycle theirs(other.ctx());
        int theirsHandled = 0;
        QObject guard;  // the connection ends with this function
        connect(sim.get(), &PhoneSimulator::commandReceived, &guard, [&](const QString& c) {
            // The other program's tick comes while this one waits for its phone.
            if (c.startsWith(QLatin1String("AT+CMGS")) && theirsHandled == 0) {
                theirsHandled = theirs.run();
            }
        });
        const int mineHandled = mine.run();
        QStringList all = sentTexts();
        for (const SubmittedSms& s : otherSim.decodedSubmissions()) {
            all.append(s.number + u'|' + s.text);
        }
        all.sort();
        QCOMPARE(all.size(), 6);
        QCOMPARE(all.removeDuplicates(), 0);
        QVERIFY(theirsHandled > 0);
        QCOMPARE(mineHandled + theirsHandled, 6);
        other.ctx().phone().closePort();
    }

    // A program killed while it sent leaves the message claimed: the next start sends it.
    void claimedMessageLeftByACrashIsSentAgain() {
        const QString work = Spool::claimFolder(out(), Spool::ownerId(ctx().programFolder()));
        QDir().mkpath(work);
        t->writeFile(work + QStringLiteral("/left.sms"), "[Tellwick]\nNo=+493\nText=again\n");
        settleFiles(work);
        // Another program's claims on a shared outgoing folder are not taken.
        const QString theirs = Spool::claimFolder(out(), Spool::ownerId(t->path(QStringLiteral("other"))));
        QDir().mkpath(theirs);
        t->writeFile(theirs + QStringLiteral("/busy.sms"), "[Tellwick]\nNo=+498\nText=theirs\n");
        settleFiles(theirs);
        QCOMPARE(runTwice(), 1);
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+493|again")});
        QVERIFY(QFileInfo::exists(sent() + QStringLiteral("/left.sms")));
        QVERIFY(log().contains("left.sms was being sent when Tellwick ended: it is sent again"));
        QVERIFY(QFileInfo::exists(theirs + QStringLiteral("/busy.sms")));
    }

    // The message was sent but cannot be filed in Sent: it stays in the program's folder, with
    // its result where the disk allows it, is never sent again, and the log says where.
    void sentCopyThatCannotBeFiled_data() {
        QTest::addColumn<bool>("sentIsAFile");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("Sent is a regular file") << true << false;
        QTest::newRow("disk full") << false << true;
    }
    void sentCopyThatCannotBeFiled() {
        QFETCH(bool, sentIsAFile);
        QFETCH(bool, diskFull);
        if (sentIsAFile) {
            QDir(sent()).removeRecursively();
            t->writeFile(sent(), "not a folder");
        }
        writeOutgoing(QStringLiteral("m.sms"), "[Tellwick]\nNo=+494\nText=once\n");
        settleFiles(out());
        SendCycle cycle(ctx());
        IniStore::setWriteFaultForTest(diskFull ? 0 : -1);
        QCOMPARE(cycle.run(), 1);
        IniStore::setWriteFaultForTest(-1);
        QCOMPARE(runTwice(), 0);
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+494|once")});
        const QString held = out() + QStringLiteral("/.sending/unfiled/m.sms");
        QCOMPARE(read(held, "Text"), QStringLiteral("once"));
        QCOMPARE(read(held, "Result", "Job Result"),
                 diskFull ? QString() : QStringLiteral("OK: Message was sent to +494."));
        const QByteArray lines = log();
        QVERIFY2(lines.contains(QByteArray("it stays in " + QFile::encodeName(held))), lines.constData());
        QVERIFY2(
            lines.contains(QByteArray("'once' was sent successfully. File NOT deleted. It was moved to " +
                                      QFile::encodeName(held))),
            lines.constData());
        QVERIFY(!lines.contains("File was deleted"));
    }

    // Only regular files are messages: links (even to files outside), FIFOs and folders named
    // like messages are left alone with one log line each, and the messages beside them go.
    void oddEntriesLeftAlone() {
        QTemporaryDir elsewhere;
        const QString victim = elsewhere.filePath(QStringLiteral("passwd"));
        t->writeFile(victim, "root:x:0:0\n");
        QVERIFY(QFile::link(victim, out() + QStringLiteral("/y.sms")));
        QVERIFY(
            QFile::link(elsewhere.filePath(QStringLiteral("gone")), out() + QStringLiteral("/dangling.sms")));
        QCOMPARE(::mkfifo(QFile::encodeName(out() + QStringLiteral("/fifo.sms")).constData(), 0600), 0);
        QVERIFY(QDir().mkpath(out() + QStringLiteral("/folder.sms")));
        writeOutgoing(QStringLiteral(".hidden.sms"), "[Tellwick]\nNo=+499\nText=hidden\n");
        writeOutgoing(QStringLiteral("good.sms"), "[Tellwick]\nNo=+495\nText=good\n");
        QCOMPARE(runTwice(), 1);
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+495|good")});
        QCOMPARE(t->readFile(victim), QByteArray("root:x:0:0\n"));
        const QByteArray lines = log();
        for (const char* odd :
             {"/y.sms left alone: it is a symbolic link", "/dangling.sms left alone: it is a symbolic link",
              "/fifo.sms left alone: it is a FIFO", "/folder.sms left alone: it is a folder"}) {
            // Once per program run: two runs, two lines.
            QVERIFY2(lines.count(odd) == 2, odd);
        }
        QVERIFY(QFileInfo(out() + QStringLiteral("/y.sms")).isSymLink());
        QVERIFY(QFileInfo::exists(out() + QStringLiteral("/.hidden.sms")));
        // Sending a link by name takes nothing either.
        QVERIFY(sendSMSFile(ctx(), out() + QStringLiteral("/y.sms")).startsWith(QLatin1String("ERROR")));
        QCOMPARE(t->readFile(victim), QByteArray("root:x:0:0\n"));
    }

    // A name that is not UTF-8 (written by a program in another locale) is sent and filed.
    void nameThatIsNotUtf8IsSent() {
        const QByteArray raw = QFile::encodeName(out()) + "/caf\xe9.sms";
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        const QByteArray content("[Tellwick]\nNo=+496\nText=latin\n");
        QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
        const timespec aMinuteAgo[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 60, 0}};
        QCOMPARE(::futimens(fd, aMinuteAgo), 0);
        ::close(fd);
        QCOMPARE(runTwice(), 1);
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+496|latin")});
        QCOMPARE(read(sent() + QString::fromUtf8("/caf\xc3\xa9.sms"), "Result", "Job Result"),
                 QStringLiteral("OK: Message was sent to +496."));
    }

    // A message that cannot be taken (read-only Out) or read is not sent, and the log says so
    // once per file, not on every tick. File permissions do not bind root: as another user.
    void refusedFileLoggedOnce_data() {
        QTest::addColumn<QString>("function");
        QTest::newRow("Out read-only") << QStringLiteral("outReadOnlyInside");
        QTest::newRow("file unreadable") << QStringLiteral("fileUnreadableInside");
    }
    void refusedFileLoggedOnce() {
        QFETCH(QString, function);
        TW_RUN_ISOLATED(IsolatedRun::asUser(qPrintable(function)));
    }
    void outReadOnlyInside() { refusedInside(true); }
    void fileUnreadableInside() { refusedInside(false); }

private:
    void refusedInside(bool folderReadOnly) {
        if (!IsolatedRun::inside()) {
            QSKIP("runs as another user from refusedFileLoggedOnce");
        }
        const QString path = writeOutgoing(QStringLiteral("r.sms"), "[Tellwick]\nNo=+497\nText=no\n");
        settleFiles(out());
        QVERIFY(QFile::setPermissions(folderReadOnly ? out() : path, folderReadOnly
                                                                         ? QFile::ReadOwner | QFile::ExeOwner
                                                                         : QFileDevice::Permissions()));
        SendCycle cycle(ctx());
        for (int tick = 0; tick < 3; ++tick) {
            QCOMPARE(cycle.run(), 0);
        }
        QFile::setPermissions(out(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(sentTexts().isEmpty());
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(QDir(sent()).isEmpty());
        QCOMPARE(log().count("r.sms not sent"), 1);
        // Once readable, it goes.
        QCOMPARE(cycle.run(), 1);
        QCOMPARE(sentTexts(), QStringList{QStringLiteral("+497|no")});
    }
};

QTEST_MAIN(TestSpool)
#include "tst_spool.moc"
