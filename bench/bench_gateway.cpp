// Resident memory of a running gateway: idle (phone started, settings read) and after the send
// cycle has sent 1,000 message files through the simulated phone and filed them in Sent.
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QDir>
#include <QFile>
#include <cstdio>

#include "MessageFiles.h"
#include "PhoneSimulator.h"
#include "SendCycle.h"
#include "TestContext.h"

namespace {

constexpr int kMessages = 1000;

double residentMiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return double(f.readAll().split(' ').value(1).toLongLong()) * 4096.0 / (1024.0 * 1024.0);
}

void BM_MemoryAfterSending(benchmark::State& state) {
    for (auto _ : state) {
        TestContext t;
        PhoneSimulator sim;
        if (!benchRequire(state, sim.start(), QStringLiteral("no pseudo-terminal"))) {
            return;
        }
        t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Port"), sim.devicePath());
        t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Speed"), QStringLiteral("115200"));
        if (!benchRequire(state, t.ctx().phone().openPort() && t.ctx().phone().startDevice(),
                          QStringLiteral("phone not started"))) {
            return;
        }
        t.ctx().getSettings();
        const double idle = residentMiB();
        const QString text = QString(int(state.range(0)), u'm');
        SendCycle cycle(t.ctx());
        int sent = 0;
        // In batches, as they come in: the folder never holds all of them at once.
        for (int batch = 0; batch < kMessages / 100; ++batch) {
            for (int i = 0; i < 100; ++i) {
                const QString path = MessageFiles::createSMSFile(
                    t.ctx(), {}, QStringLiteral("+4917%1").arg(i), text, false, false, false, false, false);
                QFile f(path);
                if (f.open(QIODevice::ReadWrite)) {  // settled: the cycle takes it at once
                    f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime);
                }
            }
            sent += cycle.run();
        }
        if (!benchRequire(state, sent == kMessages && sim.decodedSubmissions().size() == kMessages,
                          QStringLiteral("%1 of %2 files sent").arg(sent).arg(kMessages))) {
            return;
        }
        const double after = residentMiB();
        state.counters["idle_MiB"] = idle;
        state.counters["after_MiB"] = after;
        state.counters["files_sent"] = sent;
        std::printf(
            "resident memory: idle %.1f MiB, after %d messages of %lld characters %.1f MiB (+%.1f MiB)\n",
            idle, sent, static_cast<long long>(state.range(0)), after, after - idle);
        sim.disappear();
    }
}
BENCHMARK(BM_MemoryAfterSending)->Arg(100)->Arg(160)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
