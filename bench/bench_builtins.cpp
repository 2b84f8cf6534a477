// Costs of the built-ins on the evaluation path: the arithmetic operators,
// the elementary functions beside the raw C calls they wrap (the kind and
// range checks must stay cheap), whole powers, Gamma and the quartic solver.
#include "model/BuiltinsElementary.h"
#include "model/BuiltinsGeometry.h"
#include "model/BuiltinsNumeric.h"
#include "model/BuiltinsOperators.h"
#include "model/Options.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void BM_BuiltinAddReals(benchmark::State& state)
{
    TValue a = ValueReal(1.25L), b = ValueReal(-3.5L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        TValue sum = ValueAddCore(a, b);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BuiltinAddReals);

void BM_BuiltinAddPoints(benchmark::State& state)
{
    TValue a = ValuePoint(1.25L, 2.0L), b = ValuePoint(-3.5L, 0.75L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        TValue sum = ValueAddCore(a, b);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BuiltinAddPoints);

void BM_BuiltinMultiplyReals(benchmark::State& state)
{
    TValue a = ValueReal(1.25L), b = ValueReal(-3.5L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        TValue product = ValueMultiply(a, b);
        benchmark::DoNotOptimize(product);
    }
}
BENCHMARK(BM_BuiltinMultiplyReals);

void BM_BuiltinMultiplyComplex(benchmark::State& state)
{
    Options.ComplexMode = 1;
    TValue a = ValuePoint(1.25L, 2.0L), b = ValuePoint(-3.5L, 0.75L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        TValue product = ValueMultiply(a, b);
        benchmark::DoNotOptimize(product);
    }
    Options.Reset();
}
BENCHMARK(BM_BuiltinMultiplyComplex);

// Arguments spread over (0.5, 1.5), read in turn so that no call sees a
// constant. The built-ins get them as values already made, as the evaluator
// has them on its stack.
constexpr int ArgumentCount = 1024;

struct TArguments {
    long double Raw[ArgumentCount];
    TValue Values[ArgumentCount];
    TArguments()
    {
        for (int i = 0; i < ArgumentCount; ++i) {
            Raw[i] = 0.5L + static_cast<long double>(i) / ArgumentCount;
            Values[i] = ValueReal(Raw[i]);
        }
    }
};
const TArguments Arguments;

template <TValue (*Routine)(const TValue&)>
void BuiltinOfReal(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state) {
        TValue r = Routine(Arguments.Values[i]);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (ArgumentCount - 1);
    }
}

template <long double (*Raw)(long double)>
void RawOfReal(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state) {
        long double r = Raw(Arguments.Raw[i]);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (ArgumentCount - 1);
    }
}

long double RawSin(long double x)
{
    return sinl(x);
}
long double RawExp(long double x)
{
    return expl(x);
}
long double RawLog(long double x)
{
    return logl(x);
}

BENCHMARK(BuiltinOfReal<ValueSin>)->Name("BM_BuiltinSin");
BENCHMARK(RawOfReal<RawSin>)->Name("BM_BuiltinRawSinl");
BENCHMARK(BuiltinOfReal<ValueExp>)->Name("BM_BuiltinExp");
BENCHMARK(RawOfReal<RawExp>)->Name("BM_BuiltinRawExpl");
BENCHMARK(BuiltinOfReal<ValueLn>)->Name("BM_BuiltinLn");
BENCHMARK(RawOfReal<RawLog>)->Name("BM_BuiltinRawLogl");

void BM_BuiltinIntegerPower(benchmark::State& state)
{
    TValue base = ValueReal(1.0001L), exponent = ValueReal(17.0L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(base);
        benchmark::DoNotOptimize(exponent);
        TValue r = ValuePower(base, exponent);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BuiltinIntegerPower);

void BM_BuiltinGamma(benchmark::State& state)
{
    TValue x = ValueReal(static_cast<long double>(state.range(0)) / 10.0L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        TValue r = ValueGamma(x);
        benchmark::DoNotOptimize(r);
    }
}
// Γ(0.5), Γ(7.3), Γ(150): below, inside and above the shift window.
BENCHMARK(BM_BuiltinGamma)->Arg(5)->Arg(73)->Arg(1500);

void BM_BuiltinSolveQuartic(benchmark::State& state)
{
    // Four real roots (1, 2, 3, 4), or two real and two complex ones.
    const bool realRoots = state.range(0) == 0;
    long double a = 1.0L, b = -10.0L, c = 35.0L, d = -50.0L, e = 24.0L;
    if (!realRoots) {
        b = -3.0L;
        c = 3.0L;
        d = -3.0L;
        e = 2.0L;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        TValue r = SolveQuartic(2, a, b, c, d, e);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BuiltinSolveQuartic)->Arg(0)->Arg(1);

} // namespace
