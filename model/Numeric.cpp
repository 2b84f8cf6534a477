#include "model/Numeric.h"

#include <climits>
#include <cmath>
#include <utility>

namespace {

// 2^63, exact in extended precision.
constexpr long double Int64Limit = 9223372036854775808.0L;

} // namespace

std::int64_t NearestInt64(long double x)
{
    if (std::isnan(x))
        return INT64_MIN;
    const long double r = RoundHalfEven(x);
    if (r <= -Int64Limit)
        return INT64_MIN;
    if (r >= Int64Limit)
        return INT64_MAX;
    return static_cast<std::int64_t>(r);
}

bool FitsInt(long double x)
{
    return x >= static_cast<long double>(INT_MIN) && x <= static_cast<long double>(INT_MAX);
}

int SignOf(long double x)
{
    return (x > 0.0L) - (x < 0.0L);
}

bool SameDouble(long double a, long double b)
{
    return std::fabs(b - a) <= 1E-9L;
}

void SortExtendedPair(long double& a, long double& b)
{
    if (a > b)
        std::swap(a, b);
}

void SortIntPairDesc(int& a, int& b)
{
    if (a < b)
        std::swap(a, b);
}

int PowerOfTwo(int n)
{
    return NearestInt(std::ldexp(1.0L, n));
}

int RoundLog2(int n)
{
    if (n < 1)
        return 0;
    return NearestInt(std::log(static_cast<long double>(n)) / std::log(2.0L));
}

bool IsNearZero(long double x)
{
    return std::fabs(x) <= 1E-11L;
}

namespace {

constexpr int MaxFractionTerms = 35;
// Remainders below this count as an exact end of the expansion.
constexpr long double FractionTolerance = 1E-9L;

long double FractionRemainder(long double r)
{
    return r < FractionTolerance ? 0.0L : r;
}

} // namespace

bool FloatToFraction(long double x, std::int64_t& num, std::int64_t& den)
{
    num = 0;
    den = 1;
    if (!std::isfinite(x))
        return false;
    const int sign = x < 0.0L ? -1 : 1;
    x = std::fabs(x);
    const long double whole = std::trunc(x);
    if (whole >= Int64Limit)
        return false;

    // terms[0] is the integer part; the remainders stay above the tolerance,
    // so every later term is at most 1E9.
    std::int64_t terms[MaxFractionTerms + 1];
    int count = 0;
    terms[count++] = static_cast<std::int64_t>(whole);
    long double r = FractionRemainder(x - whole);
    while (r > 0.0L && count <= MaxFractionTerms) {
        const long double y = 1.0L / r;
        const long double term = std::trunc(y);
        terms[count++] = static_cast<std::int64_t>(term);
        r = FractionRemainder(y - term);
    }
    if (r != 0.0L)
        return false;

    std::int64_t n = 0, d = 1;
    for (int k = count - 1; k >= 0; --k) {
        std::int64_t product = 0;
        if (__builtin_mul_overflow(d, terms[k], &product) || __builtin_add_overflow(n, product, &n))
            return false;
        if (k > 0)
            std::swap(n, d);
    }
    num = sign * n;
    den = d;
    return true;
}
