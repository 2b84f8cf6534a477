// The window benchmarks: the program's windows built off screen, measured
// from the event to the repainted picture. The exit status is nonzero when
// a benchmark's check failed.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    ReleaseSharedWindowBench();
    benchmark::Shutdown();
    return AnyBenchmarkFailed() ? 1 : 0;
}
