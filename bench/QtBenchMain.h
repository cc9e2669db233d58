#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QString>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A benchmark that did not do the work it times measures nothing: it says so and the program
// fails. benchRequire marks the run with what was missing; the reporter below counts every run
// marked so (by benchRequire or by SkipWithError anywhere) and the program ends nonzero.
inline bool benchRequire(benchmark::State& state, bool done, const QString& what) {
    if (!done) {
        state.SkipWithError(what.toUtf8().constData());
    }
    return done;
}

class BenchFailureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                failures.push_back(run.benchmark_name() + ": " + run.error_message);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::vector<std::string> failures;
};

// Runs the benchmarks given on the command line; 1 when any of them did not do its work.
inline int runCheckedBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    BenchFailureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const std::string& failure : reporter.failures) {
        std::fprintf(stderr, "BENCHMARK FAILED: %s\n", failure.c_str());
    }
    return reporter.failures.empty() ? 0 : 1;
}

// main() of a benchmark that needs windows: an offscreen QApplication around the runs.
// atEnd runs before the application goes (windows must not outlive it).
inline int runQtBenchmarks(int argc, char** argv, const std::function<void()>& atEnd = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int result = runCheckedBenchmarks(argc, argv);
    if (atEnd) {
        atEnd();
    }
    return result;
}
