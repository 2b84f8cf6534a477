#include "model/BuiltinsNumeric.h"

#include "model/BuiltinsCommon.h"
#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/ViewRange.h"
#include "platform/InputState.h"

#include <algorithm>
#include <cmath>
#include <random>

using namespace builtins;

namespace {

constexpr long double IntLimit = 2147483647.0L;

std::mt19937_64& RandomGenerator()
{
    static std::mt19937_64 generator = [] {
        std::random_device device;
        return std::mt19937_64((static_cast<std::uint64_t>(device()) << 32) | device());
    }();
    return generator;
}

// Two defined reals below bound in size, rounded to the nearest whole numbers.
bool NearestWholePair(const TValue& a, const TValue& b, long double bound, std::int64_t& m,
                      std::int64_t& n)
{
    if (NotRealValues(a, b) || std::fabs(a.X) >= bound || std::fabs(b.X) >= bound)
        return false;
    m = NearestInt64(a.X);
    n = NearestInt64(b.X);
    return true;
}

std::int64_t Gcd(std::int64_t m, std::int64_t n)
{
    while (n != 0) {
        const std::int64_t r = m % n;
        m = n;
        n = r;
    }
    return m;
}

// The asymptotic series of ln Γ(x) − ((x − ½) ln x − x + ½ ln 2π), good for x ≥ 16.
long double StirlingSeries(long double x)
{
    const long double z = 1.0L / x;
    const long double w = z * z;
    return z
        * (1.0L / 12.0L
           + w * (-1.0L / 360.0L + w * (1.0L / 1260.0L + w * (-1.0L / 1680.0L + w / 1188.0L))));
}

// Γ(x) by shifting x into [16, 17) and Stirling's series there. Callers keep
// x within −1760 .. 1750 so that the shifts stay short.
long double GammaOf(long double x)
{
    long double p = 1.0L;
    while (x >= 17.0L) {
        x -= 1.0L;
        p *= x;
    }
    while (x < 16.0L) {
        p /= x;
        x += 1.0L;
    }
    return 2.506628274631L * p * std::exp((x - 0.5L) * std::log(x) - x + StirlingSeries(x));
}

// B(a, b) for moderate a and b: the large arguments are first walked down
// below 17, which costs one step per unit.
long double BetaByShifting(long double a, long double b)
{
    long double p = 1.0L;
    long double s = a + b;
    while (a >= 17.0L) {
        a -= 1.0L;
        s -= 1.0L;
        p = p * a / s;
    }
    while (b >= 17.0L) {
        b -= 1.0L;
        s -= 1.0L;
        p = p * b / s;
    }
    return GammaOf(a) * p * GammaOf(b) / GammaOf(s);
}

// ln B(a, b) for a + b ≥ 2000, so that the larger argument is at least 1000:
// ln Γ(large) − ln Γ(large + small) is taken from Stirling's formula in a form
// that does not cancel, so that B(1E30, 1) still gives 1E-30.
long double LogBetaOfLarge(long double a, long double b)
{
    const long double large = std::max(a, b);
    const long double small = std::min(a, b);
    const long double sum = large + small;
    const long double difference = -(large - 0.5L) * std::log1p(small / large)
        - small * std::log(sum) + small + StirlingSeries(large) - StirlingSeries(sum);
    return std::lgamma(small) + difference;
}

// A non-zero result that underflowed to 0 is out of range too.
TValue NonZeroResult(long double x)
{
    return x == 0.0L ? ValueUndefined(KindReal) : RealResult(x);
}

template <class Better>
TValue Extreme(std::span<const TValue> args, Better better)
{
    const TWrittenArgs written(args);
    TValue best = ValueUndefined(KindReal);
    for (int i = 0; i < written.size(); ++i) {
        const TValue& v = written[i];
        if (v.Kind != KindReal)
            return ValueUndefined(KindReal);
        // The first of equal values wins.
        if (v.Defined && (!best.Defined || better(v.X, best.X)))
            best = v;
    }
    return best;
}

bool CellIndex(const TValue& row, const TValue& column, int& r, int& c)
{
    std::int64_t r64 = 0, c64 = 0;
    if (!NearestWholePair(row, column, IntLimit, r64, c64))
        return false;
    if (r64 < 0 || r64 > TableRows || c64 < 0 || c64 > TableColumns)
        return false;
    r = static_cast<int>(r64);
    c = static_cast<int>(c64);
    return true;
}

} // namespace

long double FloorWithTolerance(long double x)
{
    const long double y = x + 1E-9L;
    const long double whole = std::trunc(y);
    return y < 0.0L && y != whole ? whole - 1.0L : whole;
}

TValue ValueInt(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    return RealResult(FloorWithTolerance(a.X));
}

TValue ValueRound(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    // + 0 turns the −0 of small negative values into 0.
    return RealResult(std::round(a.X) + 0.0L);
}

TValue ValueFrc(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    const long double fraction = a.X - FloorWithTolerance(a.X);
    return RealResult(std::max(fraction, 0.0L));
}

TValue ValueRnd(const TValue& a)
{
    if (NotRealValue(a) || a.X < 0.5L || a.X >= IntLimit)
        return ValueUndefined(KindReal);
    // 0.5 rounds to 0 (halves to even): no range to draw from.
    const int n = NearestInt(a.X);
    if (n < 1)
        return ValueUndefined(KindReal);
    std::mt19937_64& generator = RandomGenerator();
    if (n == 1)
        return ValueReal(static_cast<long double>(generator()) * 0x1p-64L);
    std::uniform_int_distribution<int> draw(0, n - 1);
    return ValueReal(draw(generator));
}

void SeedRandom(std::uint64_t seed)
{
    RandomGenerator().seed(seed);
}

TValue ValueMod(const TValue& a, const TValue& b)
{
    std::int64_t m = 0, n = 0;
    if (!NearestWholePair(a, b, IntLimit, m, n) || n == 0)
        return ValueUndefined(KindReal);
    std::int64_t r = m % n;
    if (r != 0 && (r < 0) != (n < 0))
        r += n;
    return ValueReal(static_cast<long double>(r));
}

TValue ValueGcd(const TValue& a, const TValue& b)
{
    std::int64_t m = 0, n = 0;
    if (!NearestWholePair(a, b, IntLimit, m, n) || m == 0 || n == 0)
        return ValueUndefined(KindReal);
    return ValueReal(static_cast<long double>(Gcd(std::abs(m), std::abs(n))));
}

TValue ValueLcm(const TValue& a, const TValue& b)
{
    std::int64_t m = 0, n = 0;
    if (!NearestWholePair(a, b, IntLimit, m, n) || m == 0 || n == 0)
        return ValueUndefined(KindReal);
    // Both below 2^31, so the product fits 64 bits.
    const std::int64_t g = Gcd(std::abs(m), std::abs(n));
    return ValueReal(static_cast<long double>(m / g * n));
}

TValue ValueNCr(const TValue& nv, const TValue& rv)
{
    // Operands up to 2147483647 itself; negative ones fail below.
    if (NotRealValues(nv, rv) || nv.X > IntLimit || rv.X > IntLimit)
        return ValueUndefined(KindReal);
    std::int64_t n = NearestInt64(nv.X), r = NearestInt64(rv.X);
    if (n < 0 || r < 0 || r > n)
        return ValueUndefined(KindReal);
    r = std::min(r, n - r);
    long double p = 1.0L;
    long double top = static_cast<long double>(n);
    // p grows at least twofold per step, so the bound ends the loop within
    // about 8000 steps however large r is.
    for (std::int64_t i = 1; i <= r; ++i) {
        if (p >= RangeHigh)
            return ValueUndefined(KindReal);
        p = p * top / static_cast<long double>(i);
        top -= 1.0L;
    }
    return RealResult(std::trunc(p + 0.1L));
}

TValue ValueFactorial(const TValue& a)
{
    if (NotRealValue(a) || a.X < 0.0L || a.X > 1750.0L)
        return ValueUndefined(KindReal);
    const int n = NearestInt(a.X);
    long double p = 1.0L;
    for (int i = 2; i <= n; ++i)
        p *= i;
    return RealResult(p);
}

TValue ValueGamma(const TValue& a)
{
    // Below −1760 |Γ| is far under the usable range; refusing early keeps the
    // shift loop short.
    if (NotRealValue(a) || a.X > 1750.0L || a.X < -1760.0L)
        return ValueUndefined(KindReal);
    if (a.X <= 0.0L && IsWhole(a.X))
        return ValueUndefined(KindReal);
    return NonZeroResult(GammaOf(a.X));
}

TValue ValueBeta(const TValue& a, const TValue& b)
{
    if (NotRealValues(a, b) || a.X <= 0.0L || b.X <= 0.0L)
        return ValueUndefined(KindReal);
    if (a.X + b.X < 2000.0L)
        return NonZeroResult(BetaByShifting(a.X, b.X));
    return NonZeroResult(std::exp(LogBetaOfLarge(a.X, b.X)));
}

TValue FuncMax(std::span<const TValue> args)
{
    return Extreme(args, [](long double x, long double best) { return x > best; });
}

TValue FuncMin(std::span<const TValue> args)
{
    return Extreme(args, [](long double x, long double best) { return x < best; });
}

TValue ValuePressed(const TValue& a)
{
    if (NotRealValue(a) || a.X <= 0.0L || a.X > 1000.0L)
        return ValueUndefined(KindReal);
    return platform::IsKeyDown(NearestInt(a.X)) ? ValueReal(1.0L) : ValueUndefined(KindReal);
}

TValue FuncCells(const TValue& row, const TValue& column)
{
    int r = 0, c = 0;
    if (!CellIndex(row, column, r, c))
        return ValueUndefined(KindReal);
    const TCell& cell = DocumentTables.Cells[r][c];
    return cell.Defined ? RealResult(cell.Value) : ValueUndefined(KindReal);
}

TValue FuncCellsP(const TValue& row, const TValue& column)
{
    int r = 0, c = 0;
    if (!CellIndex(row, column, r, c) || c + 1 > TableColumns)
        return ValueUndefined(KindReal);
    const TCell& first = DocumentTables.Cells[r][c];
    const TCell& second = DocumentTables.Cells[r][c + 1];
    if (!first.Defined || !second.Defined)
        return ValueUndefined(KindReal);
    return PairResult(first.Value, second.Value);
}

TValue ValueArea(const TValue& k)
{
    if (k.Kind != KindReal)
        return ValueUndefined(KindNone);
    if (!k.Defined)
        return ValueUndefined(KindReal);
    // Rounded down, so that everything below -0.5 falls outside 0 .. 3.
    const long double i = std::floor(k.X + 0.5L);
    if (!(i >= 0.0L && i <= 3.0L))
        return ValueUndefined(KindReal);
    const long double edges[] = {ViewRange.XLow, ViewRange.YLow, ViewRange.XHigh, ViewRange.YHigh};
    return ValueReal(edges[static_cast<int>(i)]);
}
