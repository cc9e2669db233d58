// The outgoing spool's own cost: the time per message of a send cycle over complete files
// (the simulated phone answers at once), and the CPU an idle program spends on its polling
// ticks with many messages kept in Sent against an empty Sent.
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "CpuTime.h"
#include "MessageFiles.h"
#include "PhoneSimulator.h"
#include "SendCycle.h"
#include "TestContext.h"
#include "frmMain.h"

namespace {

bool startPhone(TestContext& t, PhoneSimulator& sim, benchmark::State& state) {
    if (!sim.start()) {
        state.SkipWithError("no pseudo-terminal");
        return false;
    }
    t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Port"), sim.devicePath());
    t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Speed"), QStringLiteral("115200"));
    if (!t.ctx().phone().openPort() || !t.ctx().phone().startDevice()) {
        state.SkipWithError("phone not started");
        return false;
    }
    t.ctx().getSettings();
    return true;
}

// Complete files: written a minute ago, so the cycle takes them at once.
void age(const QString& path, int secondsAgo) {
    QFile f(path);
    if (f.open(QIODevice::ReadWrite)) {
        f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime);
    }
}

void BM_SendPerMessage(benchmark::State& state) {
    const int messages = int(state.range(0));
    for (auto _ : state) {
        TestContext t;
        PhoneSimulator sim;
        if (!startPhone(t, sim, state)) {
            return;
        }
        for (int i = 0; i < messages; ++i) {
            const QString path = MessageFiles::createSMSFile(t.ctx(), {}, QStringLiteral("+4917%1").arg(i),
                                                             QStringLiteral("message %1").arg(i), false,
                                                             false, false, false, false);
            age(path, 60);
        }
        SendCycle cycle(t.ctx());
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = cpuSeconds();
        const int sent = cycle.run();
        const double cpu = cpuSeconds() - cpu0;
        const double ms = double(wall.nsecsElapsed()) / 1e6;
        state.counters["ms_per_message"] = ms / std::max(sent, 1);
        state.counters["cpu_ms_per_message"] = cpu * 1000.0 / std::max(sent, 1);
        std::printf("%d messages: %.3f ms each (wall), %.3f ms each (CPU, simulator included)\n", sent,
                    ms / std::max(sent, 1), cpu * 1000.0 / std::max(sent, 1));
        sim.disappear();
    }
}
BENCHMARK(BM_SendPerMessage)->Arg(1000)->Iterations(3)->Unit(benchmark::kMillisecond);

// Idle: sending and receiving on, nothing to send, the polling tick at its shortest.
void BM_IdleTicks(benchmark::State& state) {
    const int kept = int(state.range(0));
    constexpr int kTicks = 200;
    for (auto _ : state) {
        TestContext t;
        PhoneSimulator sim;
        if (!startPhone(t, sim, state)) {
            return;
        }
        const QString sent = t.ctx().state().sentDir;
        for (int i = 0; i < kept; ++i) {
            QFile f(QStringLiteral("%1/20261207-120000-+4917%2-001.sms").arg(sent).arg(i));
            if (f.open(QIODevice::WriteOnly)) {
                f.write(
                    "[Tellwick]\nNo=+4917\nText=kept\n[Job Result]\nResult=OK: Message was sent to +4917.\n");
            }
        }
        frmMain& m = t.ctx().mainWindow();
        m.Form_Load();
        const double cpu0 = cpuSeconds();
        for (int i = 0; i < kTicks; ++i) {
            m.InTimer_Timer();
        }
        const double cpu = cpuSeconds() - cpu0;
        state.counters["cpu_ms_per_tick"] = cpu * 1000.0 / kTicks;
        std::printf("%d files in Sent: %.3f ms of CPU per polling tick\n", kept, cpu * 1000.0 / kTicks);
        m.Form_Unload();
        t.ctx().phone().closePort();
        sim.disappear();
    }
}
BENCHMARK(BM_IdleTicks)->Arg(0)->Arg(30000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
