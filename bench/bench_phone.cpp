// Round trips through the serial link against the simulated phone on a pty: plain "AT"
// commands with an instant phone, and 160-character submits with the phone's answers paced
// at 115200 bit/s. Each line prints the measured rate beside the rate the wire alone allows.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "PhoneRig.h"
#include "QtBenchMain.h"

namespace {
constexpr int kSpeed = 115200;

PhoneRig* g_rig = nullptr;

// Rates of one benchmark: measured, what the line allows for the bytes it carried, and the ratio.
void report(benchmark::State& state, qint64 bytes, double seconds) {
    const double perSecond = double(state.iterations()) / seconds;
    const double bytesPerOp = double(bytes) / double(state.iterations());
    const double wire = (kSpeed / 10.0) / bytesPerOp;
    state.counters["per_s"] = perSecond;
    state.counters["wire_limited_per_s"] = wire;
    state.counters["bytes_per_op"] = bytesPerOp;
    state.counters["of_wire"] = perSecond / wire;
    state.counters["overhead_ms"] = seconds * 1000.0 / double(state.iterations());
}

void BM_SendCommandAT(benchmark::State& state) {
    PhoneRig& r = *g_rig;
    r.sim.setLineSpeed(0);
    r.sim.setEcho(state.range(0) != 0);
    r.sim.clearRecords();
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        const QString reply = r.link.sendCommand(QStringLiteral("AT"));
        if (!benchRequire(state, reply.endsWith(QLatin1String("OK")), u"AT answered " + reply)) {
            break;
        }
    }
    report(state, r.sim.bytesReceived() + r.sim.bytesSent(), clock.nsecsElapsed() / 1e9);
    r.sim.setEcho(false);
}
BENCHMARK(BM_SendCommandAT)->Arg(0)->Arg(1)->ArgName("echo")->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Submit160(benchmark::State& state) {
    PhoneRig& r = *g_rig;
    r.sim.setLineSpeed(kSpeed);
    r.sim.clearRecords();
    QString text;
    for (int i = 0; i < 160; ++i) {
        text.append(QChar(u'a' + i % 26));
    }
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        const QString result = r.link.submitSms(QStringLiteral("+491701234567"), text, false, false);
        if (!benchRequire(state, result.startsWith(QLatin1String("OK")), result)) {
            break;
        }
    }
    report(state, r.sim.bytesReceived() + r.sim.bytesSent(), clock.nsecsElapsed() / 1e9);
    r.sim.setLineSpeed(0);
}
BENCHMARK(BM_Submit160)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PhoneRig rig;
    if (!rig.sim.start() || !rig.link.openPort(rig.sim.devicePath(), kSpeed) || !rig.link.startDevice()) {
        std::fprintf(stderr, "bench_phone: simulated phone not reachable: %s %s\n",
                     qPrintable(rig.sim.errorString()), qPrintable(rig.link.lastError()));
        return 1;
    }
    g_rig = &rig;
    const int result = runCheckedBenchmarks(argc, argv);
    g_rig = nullptr;
    return result;
}
