// Accuracy of the 80-bit elementary kernels, measured against quadruple
// precision over a million arguments per range, beside the C library's long
// double routines: the kernels must be within 1 ulp everywhere, wherever the
// C library is within 1 ulp so must they be, and in each range at least a
// given share of their results must be correctly rounded. The table of
// maximum errors and correctly rounded shares is printed for the record.
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
constexpr long double QuarterPi = std::numbers::pi_v<long double> / 4.0L;

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
        std::printf("%-6s %-30s ours %.3f ulp, %6.2f%% correctly rounded | library %.3f ulp, %6.2f%%\n", function,
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
    // The same with either sign.
    long double SignedLogUniform(int lo, int hi) { return (Whole(0, 1) ? -1.0L : 1.0L) * LogUniform(lo, hi); }
    // A whole number in [lo, hi].
    std::int64_t Whole(std::int64_t lo, std::int64_t hi)
    {
        return lo + static_cast<std::int64_t>(generator_() % static_cast<std::uint64_t>(hi - lo + 1));
    }

private:
    long double Fraction() { return std::ldexp(static_cast<long double>(generator_()), -64); }
    std::mt19937_64 generator_{20261207};
};

// The 80-bit number nearest to k·step moved by a few ulps: where reductions
// cancel most and tables change their point.
long double NearMultiple(TArguments& args, std::int64_t k, Quad step)
{
    long double x = static_cast<long double>(k * step);
    for (std::int64_t steps = args.Whole(-4, 4); steps != 0; steps += steps < 0 ? 1 : -1)
        x = std::nextafter(x, steps < 0 ? -INFINITY : INFINITY);
    return x;
}

// The arguments of one call: x, or y and x, or a base and an exponent.
struct TInput {
    long double A = 0.0L;
    long double B = 0.0L;
};

// One function over one range, with the share of correctly rounded results
// it must reach there (in percent).
struct TAccuracyCase {
    const char* Function;
    const char* Range;
    std::function<TInput(TArguments&)> Draw;
    long double (*Ours)(TInput);
    long double (*Library)(TInput);
    Quad (*Exact)(TInput);
    double MinimumShare;
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
        const TAccuracyCase& c = cases[i];
        const TComparison comparison = results[i].get();
        comparison.Report(c.Function, c.Range);
        EXPECT_EQ(comparison.Worse, 0) << c.Function << " " << c.Range << ": first at "
                                       << static_cast<double>(comparison.WorstArgument);
        EXPECT_LE(comparison.Ours.MaxUlps, 1.0) << c.Function << " " << c.Range;
        EXPECT_GE(comparison.Ours.Share(), c.MinimumShare) << c.Function << " " << c.Range;
    }
}

TInput Only(long double x)
{
    return {x, 0.0L};
}

using TDraw = std::function<TInput(TArguments&)>;

struct TRange {
    const char* Name;
    TDraw Draw;
    double MinimumShare;
};

TEST(ElementaryKernelsTest, SineAndCosineAreWithinAnUlpWhereTheLibraryIs)
{
    // Below π/4 the series alone, beyond it the table of sin(kπ/64); its
    // reduction changes at 2^13 and ends at 2^24.
    const TRange ranges[] = {
        {"[-pi/4, pi/4]", [](TArguments& a) { return Only(a.Uniform(-QuarterPi, QuarterPi)); }, 95.0},
        {"[-40, 40]", [](TArguments& a) { return Only(a.Uniform(-40.0L, 40.0L)); }, 99.5},
        {"[-1e5, 1e5]", [](TArguments& a) { return Only(a.Uniform(-1E5L, 1E5L)); }, 99.5},
        {"[8000, 8400]", [](TArguments& a) { return Only(a.Uniform(8000.0L, 8400.0L)); }, 99.5},
        {"[1e6, 1.6e7]", [](TArguments& a) { return Only(a.Uniform(1E6L, 1.6E7L)); }, 99.5},
        {"near k pi/2, |k| <= 1e5",
         [](TArguments& a) { return Only(NearMultiple(a, a.Whole(-100000, 100000), PiQ / 2)); }, 99.5},
        {"near k pi/2, |k| < 2^23",
         [](TArguments& a) { return Only(NearMultiple(a, a.Whole(-8388607, 8388607), PiQ / 2)); }, 99.5},
        {"near k pi/64, |k| < 2^17",
         [](TArguments& a) { return Only(NearMultiple(a, a.Whole(-131071, 131071), PiQ / 64)); }, 99.5},
        {"near k pi/64, |k| < 2^28",
         [](TArguments& a) { return Only(NearMultiple(a, a.Whole(-268435455, 268435455), PiQ / 64)); }, 99.5},
    };
    std::vector<TAccuracyCase> cases;
    for (const auto& [name, draw, share] : ranges) {
        cases.push_back({"sin", name, draw, [](TInput in) { return SinL(in.A); }, [](TInput in) { return sinl(in.A); },
                         [](TInput in) { return sinq(in.A); }, share});
        cases.push_back({"cos", name, draw, [](TInput in) { return CosL(in.A); }, [](TInput in) { return cosl(in.A); },
                         [](TInput in) { return cosq(in.A); }, share});
    }
    // Degrees: the library's column converts first, and is no match.
    const TDraw degrees = [](TArguments& a) { return Only(a.Uniform(-400.0L, 400.0L)); };
    cases.push_back({"sin", "degrees [-400, 400]", degrees, [](TInput in) { return SinDegreesL(in.A); },
                     [](TInput in) { return sinl(in.A * std::numbers::pi_v<long double> / 180.0L); },
                     [](TInput in) { return sinq(in.A * PiQ / 180); }, 99.5});
    cases.push_back({"cos", "degrees [-400, 400]", degrees, [](TInput in) { return CosDegreesL(in.A); },
                     [](TInput in) { return cosl(in.A * std::numbers::pi_v<long double> / 180.0L); },
                     [](TInput in) { return cosq(in.A * PiQ / 180); }, 99.5});
    CheckAccuracy(cases);

    // SinCosL computes both from one reduction; it must give the same bits.
    for (const long double x : {0.3L, 2.0L, -7.5L, 1E5L, 1E10L}) {
        const TSinCos both = SinCosL(x);
        EXPECT_EQ(both.Sin, SinL(x));
        EXPECT_EQ(both.Cos, CosL(x));
        const TSinCos inDegrees = SinCosDegreesL(x);
        EXPECT_EQ(inDegrees.Sin, SinDegreesL(x));
        EXPECT_EQ(inDegrees.Cos, CosDegreesL(x));
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
         expExact, 99.0},
        {"exp", "[-1, 1]", [](TArguments& a) { return Only(a.Uniform(-1.0L, 1.0L)); }, exp, expLibrary, expExact,
         99.0},
        {"ln", "[2^-8022, 2^8022]", [](TArguments& a) { return Only(a.LogUniform(-8022, 8022)); }, ln, lnLibrary,
         lnExact, 99.0},
        {"ln", "[0.5, 2]", [](TArguments& a) { return Only(a.Uniform(0.5L, 2.0L)); }, ln, lnLibrary, lnExact, 99.0},
        {"ln", "[0.99, 1.01]", [](TArguments& a) { return Only(a.Uniform(0.99L, 1.01L)); }, ln, lnLibrary, lnExact,
         99.0},
        {"ln", "[0.001, 1000]", [](TArguments& a) { return Only(a.Uniform(0.001L, 1000.0L)); }, ln, lnLibrary,
         lnExact, 99.0},
        // Where the mantissa is no longer found by scaling with a double.
        {"ln", "2^[1015, 1030], 2^[-1030, -1015]",
         [](TArguments& a) { return Only(a.Whole(0, 1) ? a.LogUniform(1015, 1030) : a.LogUniform(-1030, -1015)); }, ln,
         lnLibrary, lnExact, 99.0},
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
         powerLibrary, powerExact, 99.0},
        {"x^a", "x in [2^-8022, 2^8022]",
         [](TArguments& a) {
             const long double x = a.LogUniform(-8022, 8022);
             return TInput{x, ExponentInRange(a, x, 1E6L)};
         },
         power, powerLibrary, powerExact, 99.0},
        {"x^a", "x in [0.001, 1000], a < 30",
         [](TArguments& a) { return TInput{a.Uniform(0.001L, 1000.0L), a.Uniform(0.0L, 30.0L)}; }, power,
         powerLibrary, powerExact, 99.0},
        {"x^a", "x = 2^k, |k| <= 100, a < 80",
         [](TArguments& a) {
             return TInput{std::ldexp(1.0L, static_cast<int>(a.Whole(-100, 100))), a.Uniform(0.0L, 80.0L)};
         },
         power, powerLibrary, powerExact, 99.0},
        // Near 1 the exponents grow large, and so does any error of the logarithm.
        {"x^a", "x in [0.99, 1.01], a large",
         [](TArguments& a) {
             const long double x = a.Uniform(0.99L, 1.01L);
             return TInput{x, ExponentInRange(a, x, 1E9L)};
         },
         power, powerLibrary, powerExact, 99.0},
    });
}

TEST(ElementaryKernelsTest, ArcTangentsAreWithinAnUlpWhereTheLibraryIs)
{
    auto atan = [](TInput in) { return AtanL(in.A); };
    auto atanLibrary = [](TInput in) { return atanl(in.A); };
    auto atanExact = [](TInput in) { return atanq(in.A); };
    auto angle = [](TInput in) { return Atan2L(in.A, in.B); };
    auto angleLibrary = [](TInput in) { return atan2l(in.A, in.B); };
    auto angleExact = [](TInput in) { return atan2q(in.A, in.B); };
    // The quadruple reference turned into [0, 2π) as the kernel turns it.
    auto fullTurn = [](TInput in) { return FullTurnAngleL(in.A, in.B); };
    auto fullTurnLibrary = [](TInput in) {
        const long double a = atan2l(in.A, in.B);
        return a < 0.0L ? a + 2.0L * std::numbers::pi_v<long double> : a;
    };
    auto fullTurnExact = [](TInput in) {
        const Quad a = atan2q(in.A, in.B);
        return a < 0 ? a + 2 * PiQ : a;
    };
    auto unitSquare = [](TArguments& a) { return TInput{a.Uniform(-1.0L, 1.0L), a.Uniform(-1.0L, 1.0L)}; };
    CheckAccuracy({
        {"atan", "[-1, 1]", [](TArguments& a) { return Only(a.Uniform(-1.0L, 1.0L)); }, atan, atanLibrary, atanExact,
         99.5},
        {"atan", "[-40, 40]", [](TArguments& a) { return Only(a.Uniform(-40.0L, 40.0L)); }, atan, atanLibrary,
         atanExact, 99.5},
        // Up to the first table point beyond 0, and just past it.
        {"atan", "[-0.03, 0.03]", [](TArguments& a) { return Only(a.Uniform(-0.03L, 0.03L)); }, atan, atanLibrary,
         atanExact, 99.0},
        {"atan", "+-2^[-70, 70]", [](TArguments& a) { return Only(a.SignedLogUniform(-70, 70)); }, atan, atanLibrary,
         atanExact, 99.5},
        {"atan", "near k/128 and 128/k",
         [](TArguments& a) {
             const long double x = NearMultiple(a, a.Whole(-128, 128), Quad(1) / 128);
             return Only(a.Whole(0, 1) && x != 0.0L ? 1.0L / x : x);
         },
         atan, atanLibrary, atanExact, 99.5},
        {"atan2", "[-1, 1]^2", unitSquare, angle, angleLibrary, angleExact, 99.5},
        // Angles near 0 and π, where the quotient is the whole result.
        {"atan2", "near the x axis",
         [](TArguments& a) { return TInput{a.Uniform(-0.03L, 0.03L), a.Whole(0, 1) ? -1.0L : 1.0L}; }, angle,
         angleLibrary, angleExact, 99.5},
        {"atan2", "near the diagonals",
         [](TArguments& a) {
             const long double x = a.Uniform(-1.0L, 1.0L);
             return TInput{(a.Whole(0, 1) ? -x : x) * a.Uniform(0.97L, 1.03L), x};
         },
         angle, angleLibrary, angleExact, 99.5},
        {"atan2", "+-2^[-40, 40]^2",
         [](TArguments& a) { return TInput{a.SignedLogUniform(-40, 40), a.SignedLogUniform(-40, 40)}; }, angle,
         angleLibrary, angleExact, 99.5},
        {"turn", "[-1, 1]^2", unitSquare, fullTurn, fullTurnLibrary, fullTurnExact, 99.5},
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
        {"sin(2.8125 degrees)", SinDegreesL(2.8125L), sinq(PiQ / 64)},
        {"exp(1)", ExpL(1.0L), expq(1)},
        {"ln(10)", LnL(10.0L), logq(10)},
        {"ln(2^1023)", LnL(0x1P1023L), 1023 * logq(2)},
        {"ln(2^-1023)", LnL(0x1P-1023L), -1023 * logq(2)},
        {"ln(2^1024)", LnL(0x1P1024L), 1024 * logq(2)},
        {"ln(2^16383)", LnL(0x1P16383L), 16383 * logq(2)},
        {"3^25", PowL(3.0L, 25.0L), static_cast<Quad>(847288609443.0L)},
        {"2^0.5", PowL(2.0L, 0.5L), sqrtq(2)},
        {"atan(1)", AtanL(1.0L), PiQ / 4},
        {"atan(1e30)", AtanL(1E30L), atanq(static_cast<Quad>(1E30L))},
        {"atan2(1, -1)", Atan2L(1.0L, -1.0L), 3 * PiQ / 4},
        {"atan2(-1, 0)", Atan2L(-1.0L, 0.0L), -PiQ / 2},
        {"turn of (0, -1)", FullTurnAngleL(-1.0L, 0.0L), 3 * PiQ / 2},
        {"turn of (1, -1e-30)", FullTurnAngleL(-1E-30L, 1.0L), 2 * PiQ - static_cast<Quad>(1E-30L)},
    };
    for (const TCase& c : cases)
        EXPECT_LE(UlpError(c.Got, c.Exact), 1.0) << c.Name;
    // Whole quarter turns in degrees are exact.
    EXPECT_EQ(SinCosDegreesL(30.0L).Sin, 0.5L);
    EXPECT_EQ(SinCosDegreesL(90.0L).Cos, 0.0L);
    EXPECT_EQ(SinCosDegreesL(-180.0L).Sin, 0.0L);
    EXPECT_EQ(SinCosDegreesL(1E30L).Sin, SinCosDegreesL(std::fmod(1E30L, 360.0L)).Sin);
}

// NaN, infinities, zeros and values beyond the kernels' reach give what the C
// library gives, bit for bit (NaN as any NaN).
TEST(ElementaryKernelsTest, SpecialArgumentsFollowTheLibrary)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double subnormal = std::numeric_limits<long double>::denorm_min() * 12345.0L;
    struct TCase {
        const char* Name;
        long double Got;
        long double Expected;
    };
    const TCase cases[] = {
        {"sin(nan)", SinL(nan), sinl(nan)},
        {"cos(inf)", CosL(inf), cosl(inf)},
        {"sin of inf degrees", SinCosDegreesL(inf).Sin, nan},
        {"sin(1e-30)", SinL(1E-30L), 1E-30L},
        {"sin(1e10)", SinL(1E10L), sinl(1E10L)},
        {"cos(0)", CosL(0.0L), 1.0L},
        {"exp(0)", ExpL(0.0L), 1.0L},
        {"exp(20000)", ExpL(20000.0L), inf},
        {"exp(-20000)", ExpL(-20000.0L), 0.0L},
        {"ln(1)", LnL(1.0L), 0.0L},
        {"ln(0)", LnL(0.0L), -inf},
        {"ln(-0)", LnL(-0.0L), -inf},
        {"ln(-1)", LnL(-1.0L), logl(-1.0L)},
        {"ln(inf)", LnL(inf), inf},
        {"ln(nan)", LnL(nan), nan},
        {"ln of a subnormal", LnL(subnormal), logl(subnormal)},
        {"1^1e300", PowL(1.0L, 1E300L), 1.0L},
        {"2^1e300", PowL(2.0L, 1E300L), inf},
        {"2^-1e300", PowL(2.0L, -1E300L), 0.0L},
        {"atan(0)", AtanL(0.0L), 0.0L},
        {"atan(inf)", AtanL(inf), atanl(inf)},
        {"atan(-inf)", AtanL(-inf), atanl(-inf)},
        {"atan(nan)", AtanL(nan), nan},
    };
    for (const TCase& c : cases) {
        if (std::isnan(c.Expected))
            EXPECT_TRUE(std::isnan(c.Got)) << c.Name;
        else
            EXPECT_EQ(c.Got, c.Expected) << c.Name;
    }
    // The signs of zeros, which the evaluators compare as well.
    EXPECT_TRUE(std::signbit(AtanL(-0.0L)));
    EXPECT_FALSE(std::signbit(LnL(1.0L)));
    // atan2 of zeros, infinities, NaN and the ends of the range as the
    // library gives it.
    const long double specials[] = {0.0L, -0.0L, inf, -inf, nan, 1.0L, -1.0L, 1E4900L, -1E-4940L};
    for (const long double y : specials) {
        for (const long double x : specials) {
            const long double got = Atan2L(y, x), expected = atan2l(y, x);
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(got)) << y << ", " << x;
            } else {
                EXPECT_EQ(got, expected) << y << ", " << x;
                EXPECT_EQ(std::signbit(got), std::signbit(expected)) << y << ", " << x;
            }
        }
    }
}

} // namespace
