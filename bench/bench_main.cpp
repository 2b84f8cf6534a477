// Google Benchmark's main, except that the exit status is nonzero when a
// benchmark's check against its reference failed.
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return AnyBenchmarkFailed() ? 1 : 0;
}
