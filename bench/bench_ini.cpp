// A job-list-style sweep over a settings file with 500 job sections: 2,500 section look-ups
// (5 types x 500 numbers) reading up to four keys each, with the parsed-file cache and
// against parsing the file on every call; and the cost of one write to that file.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "IniStore.h"
#include "JobTypes.h"
#include "QtBenchMain.h"

namespace {

QString makeSettings(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("tellwick.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray text = "[Settings]\nPort=/dev/ttyUSB0\nSpeed=115200\n";
    for (int t = 0; t < jobTypeCount; ++t) {
        for (int n = 1; n <= 100; ++n) {
            text += "[Job " + jobTypeLetter(t).toLatin1() + QByteArray::number(n) + "]\n";
            text += "Type=" + QByteArray::number(t) + "\nIdentification=ID" +
                    QByteArray::number(t * 1000 + n) + "\nName=Job number " + QByteArray::number(n) +
                    "\nDescription=A job\nActive=1\n";
        }
    }
    f.write(text);
    return path;
}

int sweep(IniStore& ini, bool parseEveryCall) {
    int found = 0;
    static const QStringList keys = {QStringLiteral("Identification"), QStringLiteral("Name"),
                                     QStringLiteral("Active")};
    for (int t = 0; t < jobTypeCount; ++t) {
        for (int n = 1; n <= maxJobsPerType; ++n) {
            const QString section = jobSection(jobKey(t, n));
            if (parseEveryCall) {
                ini.clearCache();
            }
            if (ini.readINI(section, QStringLiteral("Type")).isEmpty()) {
                continue;
            }
            for (const QString& key : keys) {
                if (parseEveryCall) {
                    ini.clearCache();
                }
                found += !ini.readINI(section, key).isEmpty();
            }
        }
    }
    return found;
}

// Every job has its three keys: 500 jobs, 1,500 values found.
bool sweepFindsEveryKey(benchmark::State& state, int found) {
    return benchRequire(state, found == 1500, QStringLiteral("%1 of 1500 values found").arg(found));
}

void BM_JobSweepCached(benchmark::State& state) {
    QTemporaryDir dir;
    IniStore ini(makeSettings(dir));
    for (auto _ : state) {
        if (!sweepFindsEveryKey(state, sweep(ini, false))) {
            break;
        }
    }
    state.counters["lookups"] = 2500;
}
BENCHMARK(BM_JobSweepCached)->Unit(benchmark::kMillisecond);

void BM_JobSweepParseEveryCall(benchmark::State& state) {
    QTemporaryDir dir;
    IniStore ini(makeSettings(dir));
    for (auto _ : state) {
        if (!sweepFindsEveryKey(state, sweep(ini, true))) {
            break;
        }
    }
}
BENCHMARK(BM_JobSweepParseEveryCall)->Unit(benchmark::kMillisecond)->Iterations(1);

// One key of the same file changed per iteration (a tick in the job list): the whole file is
// written again, every other line as it was.
void BM_WriteOneKey(benchmark::State& state) {
    QTemporaryDir dir;
    IniStore ini(makeSettings(dir));
    int n = 0;
    for (auto _ : state) {
        const QString value = QString::number(++n % 2);
        ini.writeINI(QStringLiteral("Job e50"), QStringLiteral("Active"), value);
        state.PauseTiming();
        IniStore disk(ini.settingsFile());  // the file as it is on disk
        const bool written = disk.readINI(QStringLiteral("Job e50"), QStringLiteral("Active")) == value;
        state.ResumeTiming();
        if (!benchRequire(state, written, QStringLiteral("the key was not written"))) {
            break;
        }
    }
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return runCheckedBenchmarks(argc, argv);
}
