#include "model/Numeric.h"

#include <climits>
#include <cmath>
#include <utility>

int NearestInt(long double x)
{
    if (std::isnan(x))
        return INT_MIN;
    const long double r = std::nearbyintl(x);
    if (r <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    if (r >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(r);
}

std::int64_t NearestInt64(long double x)
{
    if (std::isnan(x))
        return INT64_MIN;
    const long double r = std::nearbyintl(x);
    // 2^63 is exact in extended precision.
    constexpr long double limit = 9223372036854775808.0L;
    if (r <= -limit)
        return INT64_MIN;
    if (r >= limit)
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
