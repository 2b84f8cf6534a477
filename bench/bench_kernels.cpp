// The 80-bit elementary kernels beside the C library's long double routines
// they replace, over the same arguments: sine and cosine on [π/4, 40] (where
// the library's reduction costs most), 2^x and x^a, e^x and ln x. Each pair
// first checks that both give the same numbers within 1 ulp.
#include "BenchSupport.h"

#include "model/ElementaryKernels.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>

namespace {

constexpr int ArgumentCount = 1024;
using TArgumentArray = std::array<long double, ArgumentCount>;

TArgumentArray UniformArguments(long double lo, long double hi)
{
    std::mt19937_64 generator(7);
    TArgumentArray args;
    for (long double& x : args)
        x = lo + (hi - lo) * std::ldexp(static_cast<long double>(generator()), -64);
    return args;
}

const TArgumentArray& TrigArguments()
{
    static const TArgumentArray args = UniformArguments(std::numbers::pi_v<long double> / 4.0L, 40.0L);
    return args;
}
const TArgumentArray& ExponentArguments()
{
    static const TArgumentArray args = UniformArguments(-60.0L, 60.0L);
    return args;
}
const TArgumentArray& PositiveArguments()
{
    static const TArgumentArray args = UniformArguments(1E-3L, 1E3L);
    return args;
}

// The distance of a from b in ulps of b.
long double UlpsApart(long double a, long double b)
{
    if (a == b)
        return 0.0L;
    const long double ulp = std::ldexp(1.0L, std::ilogb(b) - 63);
    return std::fabs(a - b) / ulp;
}

using TKernel = long double (*)(long double);

// False, with the benchmark failed, when ours and the library's differ by
// more than 1 ulp on some argument.
bool SameNumbers(benchmark::State& state, const TArgumentArray& args, TKernel ours, TKernel library)
{
    for (const long double x : args) {
        const long double a = ours(x), b = library(x);
        if (!(UlpsApart(a, b) <= 1.0L)) {
            FailBenchmark(state, "kernel and library differ at " + std::to_string(static_cast<double>(x)) + ": "
                                     + std::to_string(static_cast<double>(a)) + " against "
                                     + std::to_string(static_cast<double>(b)));
            return false;
        }
    }
    return true;
}

// Times f over every argument; the results are stored, as an evaluator does.
void TimeKernel(benchmark::State& state, const TArgumentArray& args, TKernel f)
{
    TArgumentArray results;
    for (auto _ : state) {
        for (int i = 0; i < ArgumentCount; ++i)
            results[i] = f(args[i]);
        benchmark::DoNotOptimize(results.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * ArgumentCount);
}

// Ours, or the library's when TimeLibrary, each checked against the other first.
template <TKernel Ours, TKernel Library, const TArgumentArray& (*Args)(), bool TimeLibrary>
void BM_Kernel(benchmark::State& state)
{
    if (!SameNumbers(state, Args(), Ours, Library))
        return;
    TimeKernel(state, Args(), TimeLibrary ? Library : Ours);
}

long double OurExp2(long double x)
{
    return PowL(2.0L, x);
}
long double LibraryExp2(long double x)
{
    return powl(2.0L, x);
}
// x^2.7, a power with a fractional exponent.
long double OurPower(long double x)
{
    return PowL(x, 2.7L);
}
long double LibraryPower(long double x)
{
    return powl(x, 2.7L);
}

#define KERNEL_PAIR(name, ours, library, args)                                                                        \
    BENCHMARK(BM_Kernel<ours, library, args, false>)->Name("BM_Kernel" name);                                         \
    BENCHMARK(BM_Kernel<ours, library, args, true>)->Name("BM_Kernel" name "Library")

KERNEL_PAIR("Sin", SinL, sinl, TrigArguments);
KERNEL_PAIR("Cos", CosL, cosl, TrigArguments);
KERNEL_PAIR("Exp2", OurExp2, LibraryExp2, ExponentArguments);
KERNEL_PAIR("Power", OurPower, LibraryPower, PositiveArguments);
KERNEL_PAIR("Exp", ExpL, expl, ExponentArguments);
KERNEL_PAIR("Ln", LnL, logl, PositiveArguments);

} // namespace
