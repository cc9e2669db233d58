// Rebuilding the job list over a settings file with 500 jobs, 100 of each type: 2,500
// section look-ups and 500 rows added, coloured and sorted.
#include <benchmark/benchmark.h>

#include "QtBenchMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "AppContext.h"
#include "JobEditorWindows.h"
#include "JobList.h"
#include "JobTypes.h"
#include "ListView.h"
#include "frmJobs.h"

namespace {

void writeSettings(const QString& path) {
    QByteArray text = "[Settings]\nPort=/dev/ttyUSB0\nSpeed=115200\n";
    for (int t = 0; t < jobTypeCount; ++t) {
        for (int n = 1; n <= 100; ++n) {
            text += "[Job " + jobTypeLetter(t).toLatin1() + QByteArray::number(n) + "]\n";
            text += "Type=" + QByteArray::number(t) + "\nIdentification=" +
                    (t == 0 && n == 1 ? QByteArray() : "ID" + QByteArray::number(t * 1000 + n)) +
                    "\nName=Job number " + QByteArray::number(n) +
                    "\nDescription=A job\nActive=" + QByteArray::number(n % 2) + "\n";
        }
    }
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(text);
    }
}

void BM_GetJobs500(benchmark::State& state) {
    QTemporaryDir dir;
    AppContext ctx(dir.path());
    writeSettings(ctx.ini().settingsFile());
    registerJobEditorWindows(ctx.windows());
    auto* jobs = ctx.windows().get<frmJobs>(QStringLiteral("frmJobs"));
    for (auto _ : state) {
        jobs->getJobs();
        if (!benchRequire(state, jobs->lstJobs2->count() == 500,
                          QStringLiteral("%1 of 500 rows filled").arg(jobs->lstJobs2->count()))) {
            break;
        }
    }
    state.counters["rows"] = jobs->lstJobs2->count();
}
BENCHMARK(BM_GetJobs500)->Unit(benchmark::kMillisecond);

// The settings look-ups alone that a rebuild of the same list needs: the rebuild above should
// take little more (a list filled and sized to its texts, each text measured once).
void BM_JobLookups2500(benchmark::State& state) {
    QTemporaryDir dir;
    AppContext ctx(dir.path());
    writeSettings(ctx.ini().settingsFile());
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanJobs(ctx.ini()));
    }
}
BENCHMARK(BM_JobLookups2500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
