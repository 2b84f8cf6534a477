#pragma once
// What the engine benchmarks share: starting the engine, compiling a
// formula, and checking results before timing them.
//
// A benchmark times nothing until its result has been checked against a
// reference. A failed check skips the benchmark with the reason and makes the
// program exit with a nonzero status, so a wrong comparison cannot pass
// unnoticed in a long listing.
#include "engine/Compiler.h"
#include "model/Formula.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <string>

// Builds the engine's tables and resets the document, once per run. Each
// benchmark then sets what it reads of the document itself, since others
// (run before it or interleaved with it) may have changed it.
void StartEngineOnce();

// The formula compiled in the given mode, the engine started.
TKavirofunction CompiledFormula(const QString& text, int mode = ModePlain);

// True when ours agrees with the reference to 1e-12 relative. Below 1 in
// magnitude the bound is 1e-12 absolute: where a formula's terms of size 1
// cancel, a double-precision reference keeps only their rounding error.
bool AgreesWithReference(long double ours, long double reference);

// Skips the benchmark with the reason (printed to standard error too) and
// remembers the failure for the exit status. Call before the timed loop and
// return.
void FailBenchmark(benchmark::State& state, const std::string& reason);

// Whether any check failed in this run.
bool AnyBenchmarkFailed();
