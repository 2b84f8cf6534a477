// The 80-bit elementary kernels beside the C library's long double routines
// they replace, over the same arguments, in two ways: independent calls
// whose results are stored, as a column of an evaluator is computed (the
// cost of a call when calls overlap), and calls each waiting on the result
// of the last, as a formula computes one value (the delay of a call). Each
// pair first checks that both give the same numbers within its bound. A
// benchmark times 1024 calls: the time per call is its time / 1024, or one
// over its items per second.
#include "BenchSupport.h"

#include "model/ElementaryKernels.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <utility>

namespace {

constexpr int ArgumentCount = 1024;
using TArgumentArray = std::array<long double, ArgumentCount>;

TArgumentArray UniformArguments(long double lo, long double hi, std::uint64_t seed = 7)
{
    std::mt19937_64 generator(seed);
    TArgumentArray args;
    for (long double& x : args)
        x = lo + (hi - lo) * std::ldexp(static_cast<long double>(generator()), -64);
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

// x^2.7, a power with a fractional exponent.
long double OurPower(long double x)
{
    return PowL(x, 2.7L);
}
long double LibraryPower(long double x)
{
    return powl(x, 2.7L);
}
long double OurExp2(long double x)
{
    return PowL(2.0L, x);
}
long double LibraryExp2(long double x)
{
    return powl(2.0L, x);
}
// The angle of (x, 1 − x/3): every octant over [−40, 40].
long double OurAngle(long double x)
{
    return Atan2L(1.0L - x / 3.0L, x);
}
long double LibraryAngle(long double x)
{
    return atan2l(1.0L - x / 3.0L, x);
}

// One kernel beside the library's routine over one range of arguments. The
// bound of the check allows for the library's own errors (its sine is off by
// up to 1.4 ulps), ours being within 1 ulp.
struct TKernelCase {
    const char* Name;
    TKernel Ours;
    TKernel Library;
    long double Low;
    long double High;
    long double UlpBound = 1.0L;
};

const TKernelCase KernelCases[] = {
    {"Sin", SinL, sinl, -40.0L, 40.0L, 2.5L},
    {"SinQuarter", SinL, sinl, -std::numbers::pi_v<long double> / 4.0L, std::numbers::pi_v<long double> / 4.0L},
    {"Cos", CosL, cosl, -40.0L, 40.0L, 2.5L},
    {"CosQuarter", CosL, cosl, -std::numbers::pi_v<long double> / 4.0L, std::numbers::pi_v<long double> / 4.0L},
    {"Ln", LnL, logl, 1E-3L, 1E3L},
    {"LnNearOne", LnL, logl, 0.5L, 2.0L},
    {"Atan", AtanL, atanl, -40.0L, 40.0L},
    {"AtanUnit", AtanL, atanl, -1.0L, 1.0L},
    {"Atan2", OurAngle, LibraryAngle, -40.0L, 40.0L},
    {"Exp", ExpL, expl, -60.0L, 60.0L},
    {"Exp2", OurExp2, LibraryExp2, -60.0L, 60.0L},
    {"Power", OurPower, LibraryPower, 1E-3L, 1E3L},
};

// False, with the benchmark failed, when ours and the library's differ by
// more than the bound on some argument.
bool SameNumbers(benchmark::State& state, const TKernelCase& c, const TArgumentArray& args)
{
    for (const long double x : args) {
        const long double a = c.Ours(x), b = c.Library(x);
        if (!(UlpsApart(a, b) <= c.UlpBound)) {
            FailBenchmark(state, std::string(c.Name) + ": kernel and library differ at "
                                     + std::to_string(static_cast<double>(x)) + ": "
                                     + std::to_string(static_cast<double>(a)) + " against "
                                     + std::to_string(static_cast<double>(b)));
            return false;
        }
    }
    return true;
}

// Independent calls; the results are stored, as an evaluator does.
void TimeOverlapped(benchmark::State& state, const TArgumentArray& args, TKernel f)
{
    TArgumentArray results;
    for (auto _ : state) {
        for (int i = 0; i < ArgumentCount; ++i)
            results[i] = f(args[i]);
        benchmark::DoNotOptimize(results.data());
        benchmark::ClobberMemory();
    }
}

// Each argument made to wait on the last result: adding it times 2^−300
// changes no argument but costs a multiplication and an addition, which the
// chain of the identity (Chained/Identity) measures with the call.
void TimeChained(benchmark::State& state, const TArgumentArray& args, TKernel f)
{
    long double last = 0.0L;
    for (auto _ : state) {
        for (int i = 0; i < ArgumentCount; ++i)
            last = f(args[i] + last * 0x1P-300L);
        benchmark::DoNotOptimize(last);
    }
}

long double Identity(long double x)
{
    return x;
}

enum class TWay { Overlapped, Chained };

void RunKernel(benchmark::State& state, const TKernelCase& c, bool library, TWay way)
{
    const TArgumentArray args = UniformArguments(c.Low, c.High);
    if (!SameNumbers(state, c, args))
        return;
    const TKernel f = library ? c.Library : c.Ours;
    if (way == TWay::Overlapped)
        TimeOverlapped(state, args, f);
    else
        TimeChained(state, args, f);
    state.SetItemsProcessed(state.iterations() * ArgumentCount);
}

void RunChainedIdentity(benchmark::State& state)
{
    TimeChained(state, UniformArguments(-40.0L, 40.0L), Identity);
    state.SetItemsProcessed(state.iterations() * ArgumentCount);
}

// BM_Kernel/<way>/<case>/<Ours|Library>.
const bool Registered = [] {
    const std::pair<TWay, const char*> ways[] = {{TWay::Overlapped, "Overlapped"}, {TWay::Chained, "Chained"}};
    for (const auto& [way, wayName] : ways) {
        for (const TKernelCase& c : KernelCases) {
            for (const bool library : {false, true}) {
                const std::string name =
                    std::string("BM_Kernel/") + wayName + "/" + c.Name + (library ? "/Library" : "/Ours");
                benchmark::RegisterBenchmark(name.c_str(), RunKernel, c, library, way);
            }
        }
    }
    benchmark::RegisterBenchmark("BM_Kernel/Chained/Identity", RunChainedIdentity);
    return true;
}();

} // namespace
