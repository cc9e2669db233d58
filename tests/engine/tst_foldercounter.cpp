// The main window's folder counters: right after every change, and without listing the
// thousands of messages a busy gateway keeps on every tick.
#include <QTest>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <memory>

#include "CpuTime.h"
#include "FolderCounter.h"
#include "TestContext.h"
#include "frmMain.h"

namespace {

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Tellwick]\nNo=1\nText=kept\n");
}

}  // namespace

class TestFolderCounter : public QObject {
    Q_OBJECT
    std::unique_ptr<TestContext> t;

private slots:
    void init() {
        t = std::make_unique<TestContext>();
        t->ctx().getSettings();
    }
    void cleanup() { t.reset(); }

    // Changes in quick succession (within one time-stamp grain of the folder) are all seen.
    void countFollowsEveryChange() {
        const QString sent = t->ctx().state().sentDir;
        FolderCounter counter;
        QCOMPARE(counter.count(sent), 0);
        QCOMPARE(counter.count({}), 0);
        for (int i = 1; i <= 5; ++i) {
            touch(QStringLiteral("%1/m%2.sms").arg(sent).arg(i));
            QCOMPARE(counter.count(sent), i);
        }
        touch(sent + QStringLiteral("/notes.txt"));
        QVERIFY(QDir().mkpath(sent + QStringLiteral("/sub.sms")));
        QCOMPARE(counter.count(sent), 5);
        QVERIFY(QFile::remove(sent + QStringLiteral("/m1.sms")));
        QCOMPARE(counter.count(sent), 4);
        QVERIFY(QFile::rename(sent + QStringLiteral("/m2.sms"), sent + QStringLiteral("/M2.SMS")));
        QCOMPARE(counter.count(sent), 4);
        // A folder put in place of another under the same name.
        QVERIFY(QDir(sent).removeRecursively());
        QVERIFY(QDir().mkpath(sent));
        QCOMPARE(counter.count(sent), 0);
    }

    // 10,000 kept messages: the counters of 300 ticks cost what a few listings cost.
    void keptMessagesDoNotCostEveryTick() {
        const QString sent = t->ctx().state().sentDir;
        for (int i = 0; i < 10000; ++i) {
            QFile f(QStringLiteral("%1/20261207-120000-+4917%2-001.sms").arg(sent).arg(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        frmMain& m = t->ctx().mainWindow();
        const double before = cpuSeconds();
        for (int tick = 0; tick < 300; ++tick) {
            m.showCounters();
        }
        const double spent = cpuSeconds() - before;
        QCOMPARE(m.labFolders->text(), QStringLiteral("0 incoming, 0 outgoing, 10000 sent, 0 archived"));
        QVERIFY2(spent < 2.0, qPrintable(QStringLiteral("%1 s of CPU").arg(spent)));
        touch(sent + QStringLiteral("/one-more.sms"));
        m.showCounters();
        QCOMPARE(m.labFolders->text(), QStringLiteral("0 incoming, 0 outgoing, 10001 sent, 0 archived"));
    }
};

QTEST_MAIN(TestFolderCounter)
#include "tst_foldercounter.moc"
