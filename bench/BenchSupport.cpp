#include "BenchSupport.h"

#include "engine/EngineStartup.h"
#include "model/DocumentState.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <iostream>

namespace {
std::atomic<bool> failed{false};
// Kept for the whole run: the library may hold on to the reason's text.
std::deque<std::string> reasons;
} // namespace

void StartEngineOnce()
{
    static const bool started = [] {
        InitializeEngine();
        ResetDocument();
        return true;
    }();
    (void)started;
}

TKavirofunction CompiledFormula(const QString& text, int mode)
{
    StartEngineOnce();
    TKavirofunction f = BlankFunction;
    f.Text = text;
    PrepareExpression(f, mode);
    return f;
}

bool AgreesWithReference(long double ours, long double reference)
{
    const long double scale = std::max({std::fabs(ours), std::fabs(reference), 1.0L});
    return std::fabs(ours - reference) <= 1E-12L * scale;
}

void FailBenchmark(benchmark::State& state, const std::string& reason)
{
    failed = true;
    std::cerr << "CHECK FAILED: " << reason << '\n';
    reasons.push_back(reason);
    state.SkipWithError(reasons.back().c_str());
}

bool AnyBenchmarkFailed()
{
    return failed;
}
