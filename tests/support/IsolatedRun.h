#pragma once

#include <unistd.h>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

// Runs one test function of the running test program again in a child process set up the way
// the test needs: as an ordinary user (file permissions do not bind root), or in a private
// mount namespace with a small file system of its own (a full disk without filling a real
// one). The child function runs only there: it skips itself unless inside() is true.
//
//     void refusedInside() { if (!IsolatedRun::inside()) QSKIP("..."); ... }
//     void refused() { TW_RUN_ISOLATED(IsolatedRun::asUser("refusedInside")); }
namespace IsolatedRun {

inline bool inside() {
    return qEnvironmentVariableIsSet("TW_ISOLATED");
}
// The folder a small file system is mounted on, inside withSmallDisk.
inline QString smallDisk() {
    return qEnvironmentVariable("TW_SMALL_DISK");
}

struct Outcome {
    enum { Passed, Failed, Skipped } state = Skipped;
    QString output;
};

inline Outcome run(const QString& program, const QStringList& arguments, const QString& smallDiskDir = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TW_ISOLATED"), QStringLiteral("1"));
    if (!smallDiskDir.isEmpty()) {
        env.insert(QStringLiteral("TW_SMALL_DISK"), smallDiskDir);
    }
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    Outcome o;
    if (!p.waitForStarted() || !p.waitForFinished(120000)) {
        o.output = QStringLiteral("%1 did not run: %2").arg(program, p.errorString());
        p.kill();
        p.waitForFinished();
        return o;
    }
    o.output = QString::fromLocal8Bit(p.readAll());
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) {
        o.state = o.output.contains(QLatin1String("SKIP   :")) ? Outcome::Skipped : Outcome::Passed;
    } else {
        o.state = Outcome::Failed;
    }
    return o;
}

// The function as an ordinary user: as it is, or under root as the user nobody.
inline Outcome asUser(const char* function) {
    const QString self = QCoreApplication::applicationFilePath();
    if (::geteuid() != 0) {
        return run(self, {QString::fromLatin1(function)});
    }
    return run(QStringLiteral("setpriv"),
               {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                QStringLiteral("--clear-groups"), self, QString::fromLatin1(function)});
}

// The function with a tmpfs of kib KiB mounted on dir, in a mount namespace of its own (never
// on the machine's own disks). Skipped where namespaces are not allowed.
inline Outcome withSmallDisk(const char* function, const QString& dir, int kib) {
    const QString script =
        QStringLiteral(
            "mount -t tmpfs -o size=%1k tellwick-test \"$TW_SMALL_DISK\" || exit 77; exec \"$0\" \"$1\"")
            .arg(kib);
    const QStringList childArgs{QStringLiteral("sh"), QStringLiteral("-c"), script,
                                QCoreApplication::applicationFilePath(), QString::fromLatin1(function)};
    // Root needs only a mount namespace; others map themselves to root in a user namespace.
    const QStringList flags =
        ::geteuid() == 0 ? QStringList{QStringLiteral("-m")} : QStringList{QStringLiteral("-rm")};
    Outcome o =
        run(QStringLiteral("unshare"),
            flags + QStringList{QStringLiteral("--propagation"), QStringLiteral("private")} + childArgs, dir);
    if (o.state == Outcome::Failed && !o.output.contains(QLatin1String("Totals:"))) {
        o.state = Outcome::Skipped;  // no namespace or no mount allowed here
    }
    return o;
}

}  // namespace IsolatedRun

// Passes, fails or skips the calling test function as the child did.
#define TW_RUN_ISOLATED(outcome)                                                                     \
    do {                                                                                             \
        const IsolatedRun::Outcome o_ = (outcome);                                                   \
        if (o_.state == IsolatedRun::Outcome::Skipped) {                                             \
            QSKIP(qPrintable(QStringLiteral("not run in isolation here: ") + o_.output.right(300))); \
        }                                                                                            \
        QVERIFY2(o_.state == IsolatedRun::Outcome::Passed, qPrintable(o_.output));                   \
    } while (false)
