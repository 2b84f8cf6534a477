// Accuracy of the 80-bit elementary kernels, measured against quadruple
// precision over a million arguments per range, beside the C library's long
// double routines: wherever the C library is within 1 ulp, so must the
// kernels be. The table of maximum errors and correctly rounded shares is
// printed for the record.
#include "model/ElementaryKernels.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <future>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Quad = __float128;

constexpr int ArgumentsPerRange = 1000000;
const Quad PiQ = acosq(-1);

// The error of an 80-bit result in ulps of the 80-bit format at the exact value.
double UlpError(long double got, Quad exact)
{
    if (exact == 0)
        return got == 0.0L ? 0.0 : std::numeric_limits<double>::infinity();
    const Quad ulp = scalbnq(1, ilogbq(exact) - 63);
    return static_cast<double>(fabsq(static_cast<Quad>(got) - exact) / ulp);
}

struct TErrorStats {
    double MaxUlps = 0.0;
    long CorrectlyRounded = 0;
    long Count = 0;

    void Add(long double got, Quad exact)
    {
        MaxUlps = std::max(MaxUlps, UlpError(got, exact));
        CorrectlyRounded += got == static_cast<long double>(exact);
        ++Count;
    }
    double Share() const { return Count == 0 ? 0.0 : 100.0 * CorrectlyRounded / Count; }
};

// Ours and the C library's on one function over one range.
struct TComparison {
    TErrorStats Ours, Library;
    // Arguments where the library is within 1 ulp and ours is not.
    long Worse = 0;
    long double WorstArgument = 0.0L;

    void Add(long double argument, long double ours, long double library, Quad exact)
    {
        Ours.Add(ours, exact);
        Library.Add(library, exact);
        if (UlpError(library, exact) <= 1.0 && UlpError(ours, exact) > 1.0) {
            if (Worse++ == 0)
                WorstArgument = argument;
        }
    }

    void Report(const char* function, const char* range) const
    {
        std::printf("%-6s %-26s ours %.3f ulp, %6.2f%% correctly rounded | library %.3f ulp, %6.2f%%\n", function,
                    range, Ours.MaxUlps, Ours.Share(), Library.MaxUlps, Library.Share());
    }
};

// A deterministic source of arguments with all 64 mantissa bits random.
class TArguments {
public:
    // Uniform in [lo, hi].
    long double Uniform(long double lo, long double hi) { return lo + (hi - lo) * Fraction(); }
    // Positive, uniform in the binary exponent from lo to hi.
    long double LogUniform(int lo, int hi)
    {
        return std::ldexp(1.0L + Fraction(), static_cast<int>(Whole(lo, hi - 1)));
    }
    // A whole number in [lo, hi].
    std::int64_t Whole(std::int64_t lo, std::int64_t hi)
    {
        return lo + static_cast<std::int64_t>(generator_() % static_cast<std::uint64_t>(hi - lo + 1));
    }

private:
    long double Fraction() { return std::ldexp(static_cast<long double>(generator_()), -64); }
    std::mt19937_64 generator_{20261207};
};

// The 80-bit number nearest to k·π/2 moved by a few ulps.
long double NearQuarterTurn(TArguments& args, std::int64_t k)
{
    long double x = static_cast<long double>(k * PiQ / 2);
    for (std::int64_t steps = args.Whole(-4, 4); steps != 0; steps += steps < 0 ? 1 : -1)
        x = std::nextafter(x, steps < 0 ? -INFINITY : INFINITY);
    return x;
}

// The arguments of one call: x, or a base and an exponent.
struct TInput {
    long double A = 0.0L;
    long double B = 0.0L;
};

// One function over one range.
struct TAccuracyCase {
    const char* Function;
    const char* Range;
    std::function<TInput(TArguments&)> Draw;
    long double (*Ours)(TInput);
    long double (*Library)(TInput);
    Quad (*Exact)(TInput);
};

TComparison Measure(const TAccuracyCase& c)
{
    TArguments args;
    TComparison comparison;
    for (int i = 0; i < ArgumentsPerRange; ++i) {
        const TInput in = c.Draw(args);
        comparison.Add(in.A, c.Ours(in), c.Library(in), c.Exact(in));
    }
    return comparison;
}

// The cases run side by side: the quadruple-precision references are slow.
void CheckAccuracy(const std::vector<TAccuracyCase>& cases)
{
    std::vector<std::future<TComparison>> results;
    for (const TAccuracyCase& c : cases)
        results.push_back(std::async(std::launch::async, Measure, std::cref(c)));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TComparison comparison = results[i].get();
        comparison.Report(cases[i].Function, cases[i].Range);
        EXPECT_EQ(comparison.Worse, 0) << cases[i].Function << " " << cases[i].Range << ": first at "
                                       << static_cast<double>(comparison.WorstArgument);
    }
}

TInput Only(long double x)
{
    return {x, 0.0L};
}

TEST(ElementaryKernelsTest, SineAndCosineAreWithinAnUlpWhereTheLibraryIs)
{
    const std::pair<const char*, std::function<TInput(TArguments&)>> ranges[] = {
        {"[-pi/4, pi/4]",
         [](TArguments& a) {
             const long double quarterPi = std::numbers::pi_v<long double> / 4.0L;
             return Only(a.Uniform(-quarterPi, quarterPi));
         }},
        {"[-40, 40]", [](TArguments& a) { return Only(a.Uniform(-40.0L, 40.0L)); }},
        {"[-1e5, 1e5]", [](TArguments& a) { return Only(a.Uniform(-1E5L, 1E5L)); }},
        {"near k pi/2, |k| <= 1e5", [](TArguments& a) { return Only(NearQuarterTurn(a, a.Whole(-100000, 100000))); }},
        {"near k pi/2, |k| < 2^23",
         [](TArguments& a) { return Only(NearQuarterTurn(a, a.Whole(-8388607, 8388607))); }},
    };
    std::vector<TAccuracyCase> cases;
    for (const auto& [name, draw] : ranges) {
        cases.push_back({"sin", name, draw, [](TInput in) { return SinL(in.A); },
                         [](TInput in) { return sinl(in.A); }, [](TInput in) { return sinq(in.A); }});
        cases.push_back({"cos", name, draw, [](TInput in) { return CosL(in.A); },
                         [](TInput in) { return cosl(in.A); }, [](TInput in) { return cosq(in.A); }});
    }
    CheckAccuracy(cases);

    // SinCosL computes both from one reduction; it must give the same bits.
    for (const long double x : {0.3L, 2.0L, -7.5L, 1E5L, 1E10L}) {
        const TSinCos both = SinCosL(x);
        EXPECT_EQ(both.Sin, SinL(x));
        EXPECT_EQ(both.Cos, CosL(x));
        const TSinCos degrees = SinCosDegreesL(x);
        EXPECT_EQ(degrees.Sin, SinDegreesL(x));
        EXPECT_EQ(degrees.Cos, CosDegreesL(x));
    }
}

// The value kernel keeps results within (1e-2415, 1e2415), about 2^±8022:
// e^x over |x| <= 5561 and ln over that interval are the whole usable range.
TEST(ElementaryKernelsTest, ExpAndLnAreWithinAnUlpWhereTheLibraryIs)
{
    auto exp = [](TInput in) { return ExpL(in.A); };
    auto expLibrary = [](TInput in) { return expl(in.A); };
    auto expExact = [](TInput in) { return expq(in.A); };
    auto ln = [](TInput in) { return LnL(in.A); };
    auto lnLibrary = [](TInput in) { return logl(in.A); };
    auto lnExact = [](TInput in) { return logq(in.A); };
    CheckAccuracy({
        {"exp", "[-5561, 5561]", [](TArguments& a) { return Only(a.Uniform(-5561.0L, 5561.0L)); }, exp, expLibrary,
         expExact},
        {"exp", "[-1, 1]", [](TArguments& a) { return Only(a.Uniform(-1.0L, 1.0L)); }, exp, expLibrary, expExact},
        {"ln", "[2^-8022, 2^8022]", [](TArguments& a) { return Only(a.LogUniform(-8022, 8022)); }, ln, lnLibrary,
         lnExact},
        {"ln", "[0.5, 2]", [](TArguments& a) { return Only(a.Uniform(0.5L, 2.0L)); }, ln, lnLibrary, lnExact},
    });
}

// An exponent for the base x that keeps x^a within the usable range.
long double ExponentInRange(TArguments& args, long double x, long double largest)
{
    return args.Uniform(0.0L, std::min(5561.0L / std::fabs(std::log(x)), largest));
}

// Powers as formulas meet them: 2^x and x^a with a > 0, wherever the result
// stays within the usable range.
TEST(ElementaryKernelsTest, PowersAreWithinAnUlpWhereTheLibraryIs)
{
    auto power = [](TInput in) { return PowL(in.A, in.B); };
    auto powerLibrary = [](TInput in) { return powl(in.A, in.B); };
    auto powerExact = [](TInput in) { return powq(in.A, in.B); };
    CheckAccuracy({
        {"2^x", "[-8020, 8020]", [](TArguments& a) { return TInput{2.0L, a.Uniform(-8020.0L, 8020.0L)}; }, power,
         powerLibrary, powerExact},
        {"x^a", "x in [2^-8022, 2^8022]",
         [](TArguments& a) {
             const long double x = a.LogUniform(-8022, 8022);
             return TInput{x, ExponentInRange(a, x, 1E6L)};
         },
         power, powerLibrary, powerExact},
        {"x^a", "x in [0.001, 1000], a < 30",
         [](TArguments& a) { return TInput{a.Uniform(0.001L, 1000.0L), a.Uniform(0.0L, 30.0L)}; }, power,
         powerLibrary, powerExact},
        {"x^a", "x = 2^k, |k| <= 100, a < 80",
         [](TArguments& a) {
             return TInput{std::ldexp(1.0L, static_cast<int>(a.Whole(-100, 100))), a.Uniform(0.0L, 80.0L)};
         },
         power, powerLibrary, powerExact},
        // Near 1 the exponents grow large, and so does any error of the logarithm.
        {"x^a", "x in [0.99, 1.01], a large",
         [](TArguments& a) {
             const long double x = a.Uniform(0.99L, 1.01L);
             return TInput{x, ExponentInRange(a, x, 1E9L)};
         },
         power, powerLibrary, powerExact},
    });
}

// Before the results are snapped to whole numbers: the classic hard cases.
TEST(ElementaryKernelsTest, HardCasesAgreeWithQuadruplePrecision)
{
    const long double pi = std::numbers::pi_v<long double>;
    struct TCase {
        const char* Name;
        long double Got;
        Quad Exact;
    };
    const TCase cases[] = {
        {"sin(1e22)", SinL(1E22L), sinq(static_cast<Quad>(1E22L))},
        {"sin(pi)", SinL(pi), sinq(static_cast<Quad>(pi))},
        {"cos(pi/2)", CosL(pi / 2.0L), cosq(static_cast<Quad>(pi / 2.0L))},
        {"sin(30 degrees)", SinCosDegreesL(30.0L).Sin, static_cast<Quad>(0.5L)},
        {"sin(30 pi / 180)", SinL(30.0L * pi / 180.0L), sinq(static_cast<Quad>(30.0L * pi / 180.0L))},
        {"cos(60 degrees)", SinCosDegreesL(60.0L).Cos, static_cast<Quad>(0.5L)},
        {"exp(1)", ExpL(1.0L), expq(1)},
        {"ln(10)", LnL(10.0L), logq(10)},
        {"3^25", PowL(3.0L, 25.0L), static_cast<Quad>(847288609443.0L)},
        {"2^0.5", PowL(2.0L, 0.5L), sqrtq(2)},
    };
    for (const TCase& c : cases)
        EXPECT_LE(UlpError(c.Got, c.Exact), 1.0) << c.Name;
    // Whole quarter turns in degrees are exact.
    EXPECT_EQ(SinCosDegreesL(30.0L).Sin, 0.5L);
    EXPECT_EQ(SinCosDegreesL(90.0L).Cos, 0.0L);
    EXPECT_EQ(SinCosDegreesL(-180.0L).Sin, 0.0L);
    EXPECT_EQ(SinCosDegreesL(1E30L).Sin, SinCosDegreesL(std::fmod(1E30L, 360.0L)).Sin);
}

TEST(ElementaryKernelsTest, SpecialArgumentsFollowTheLibrary)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_TRUE(std::isnan(SinL(NAN)));
    EXPECT_TRUE(std::isnan(CosL(inf)));
    EXPECT_TRUE(std::isnan(SinCosDegreesL(inf).Sin));
    EXPECT_EQ(SinL(1E-30L), 1E-30L);
    EXPECT_EQ(CosL(0.0L), 1.0L);
    EXPECT_EQ(ExpL(0.0L), 1.0L);
    EXPECT_EQ(ExpL(20000.0L), inf);
    EXPECT_EQ(ExpL(-20000.0L), 0.0L);
    EXPECT_EQ(LnL(1.0L), 0.0L);
    EXPECT_EQ(LnL(0.0L), -inf);
    EXPECT_TRUE(std::isnan(LnL(-1.0L)));
    EXPECT_EQ(PowL(1.0L, 1E300L), 1.0L);
    EXPECT_EQ(PowL(2.0L, 1E300L), inf);
    EXPECT_EQ(PowL(2.0L, -1E300L), 0.0L);
    // Large arguments go to the C library's exact reduction.
    EXPECT_EQ(SinL(1E10L), sinl(1E10L));
}

} // namespace
