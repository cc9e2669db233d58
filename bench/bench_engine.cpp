// 100 messages through createSMSFile + sendSMSFile against the simulated phone,
// with the line paced at 115200 bit/s and at no pacing, printed beside the rate
// the wire allows; and the same messages written complete beforehand and sent by
// one send cycle. Each run fails unless the phone received every message.
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include "MessageFiles.h"
#include "PhoneSimulator.h"
#include "SendCycle.h"
#include "TestContext.h"

namespace {

constexpr int kMessages = 100;
constexpr int kSpeed = 115200;

struct Rig {
    TestContext t;
    PhoneSimulator sim;
    bool ok = false;

    explicit Rig(int lineSpeed) {
        if (!sim.start()) {
            return;
        }
        sim.setLineSpeed(lineSpeed);
        t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Port"), sim.devicePath());
        t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("Speed"), QString::number(kSpeed));
        t.ini().writeINI(QStringLiteral("Settings"), QStringLiteral("KeepSent"), QStringLiteral("1"));
        ok = t.ctx().phone().openPort() && t.ctx().phone().startDevice();
        t.ctx().getSettings();
    }
    qint64 wireBytes() const { return sim.bytesReceived() + sim.bytesSent(); }
    int submitted() const {
        return int(sim.commands().filter(QStringLiteral("AT+CMGS"), Qt::CaseInsensitive).size());
    }
    int waiting() {
        return int(QDir(t.ctx().state().outDir).entryList({QStringLiteral("*.sms")}, QDir::Files).size());
    }
};

// A writer that renames complete files into the folder leaves them as old as they are: the
// files written a minute ago, so the send cycle takes every one at once.
void ageFiles(const QString& folder) {
    const QDateTime past = QDateTime::currentDateTime().addSecs(-60);
    for (const QFileInfo& fi : QDir(folder).entryInfoList({QStringLiteral("*.sms")}, QDir::Files)) {
        QFile f(fi.absoluteFilePath());
        if (f.open(QIODevice::ReadWrite)) {
            f.setFileTime(past, QFileDevice::FileModificationTime);
        }
    }
}

const QString kText = QStringLiteral(
    "Tellwick benchmark message: the quick brown fox jumps over "
    "the lazy dog 0123456789");

void report(benchmark::State& state, qint64 bytes, qint64 failures) {
    const double messages = double(state.iterations()) * kMessages;
    // Ten bits a byte on the line: the most messages a second the wire could
    // carry.
    const double wireSeconds = double(bytes) * 10.0 / kSpeed;
    state.counters["msgs_per_s"] = benchmark::Counter(messages, benchmark::Counter::kIsRate);
    state.counters["wire_limit_msgs_per_s"] = wireSeconds > 0 ? messages / wireSeconds : 0;
    state.counters["bytes_per_msg"] = double(bytes) / messages;
    state.counters["failures"] = double(failures);
}

void runOnce(Rig& rig, qint64& failures) {
    for (int i = 0; i < kMessages; ++i) {
        const QString path = MessageFiles::createSMSFile(
            rig.t.ctx(), {}, QStringLiteral("+4917000%1").arg(i, 3, 10, QLatin1Char('0')), kText, false,
            false, false, false, false);
        if (!MessageFiles::sendSMSFile(rig.t.ctx(), path).startsWith(QLatin1String("OK"))) {
            ++failures;
        }
    }
}

void BM_CreateAndSend(benchmark::State& state) {
    Rig rig(int(state.range(0)));
    if (!rig.ok) {
        state.SkipWithError("simulator or phone start failed");
        return;
    }
    qint64 bytes = 0;
    qint64 failures = 0;
    for (auto _ : state) {
        const qint64 before = rig.wireBytes();
        const int submittedBefore = rig.submitted();
        runOnce(rig, failures);
        bytes += rig.wireBytes() - before;
        if (!benchRequire(state, failures == 0 && rig.submitted() - submittedBefore == kMessages,
                          QStringLiteral("%1 of %2 messages reached the phone, %3 failed")
                              .arg(rig.submitted() - submittedBefore)
                              .arg(kMessages)
                              .arg(failures))) {
            break;
        }
    }
    report(state, bytes, failures);
}
BENCHMARK(BM_CreateAndSend)
    ->Arg(kSpeed)
    ->Arg(0)
    ->ArgName("line_bps")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// The same messages written first and then sent by one send cycle.
void BM_SendCycle(benchmark::State& state) {
    Rig rig(kSpeed);
    if (!rig.ok) {
        state.SkipWithError("simulator or phone start failed");
        return;
    }
    qint64 bytes = 0;
    qint64 failures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kMessages; ++i) {
            MessageFiles::createSMSFile(rig.t.ctx(), {},
                                        QStringLiteral("+4917100%1").arg(i, 3, 10, QLatin1Char('0')), kText,
                                        false, false, false, false, false);
        }
        ageFiles(rig.t.ctx().state().outDir);
        const int submittedBefore = rig.submitted();
        state.ResumeTiming();
        const qint64 before = rig.wireBytes();
        SendCycle cycle(rig.t.ctx());
        const int sentBefore = rig.t.ctx().state().sentCount;
        cycle.run();
        failures += kMessages - (rig.t.ctx().state().sentCount - sentBefore);
        bytes += rig.wireBytes() - before;
        const int submitted = rig.submitted() - submittedBefore;
        if (!benchRequire(state, submitted == kMessages && rig.waiting() == 0,
                          QStringLiteral("the send cycle sent %1 of %2 files, %3 left in the outgoing folder")
                              .arg(submitted)
                              .arg(kMessages)
                              .arg(rig.waiting()))) {
            break;
        }
    }
    report(state, bytes, failures);
}
BENCHMARK(BM_SendCycle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
