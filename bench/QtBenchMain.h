#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>

// main() of a benchmark that needs windows: an offscreen QApplication around the runs.
// atEnd runs before the application goes (windows must not outlive it).
inline int runQtBenchmarks(int argc, char** argv, const std::function<void()>& atEnd = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (atEnd) {
        atEnd();
    }
    return 0;
}
