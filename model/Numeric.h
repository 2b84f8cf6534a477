#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

// x rounded to a whole number, halves to even (the default rounding mode).
// Adding and taking away 1.5 × 2^63 leaves no fraction in a 64-bit mantissa,
// which is several times faster than nearbyintl; without fast-math the
// compiler does not fold it away. Nothing here switches the x87 control word.
[[gnu::always_inline]] inline long double RoundHalfEven(long double x)
{
    constexpr long double TwoTo62 = 4611686018427387904.0L;
    constexpr long double TwoTo63 = 9223372036854775808.0L;
    if (std::fabs(x) < TwoTo62) {
        constexpr long double Shift = 13835058055282163712.0L;
        return (x + Shift) - Shift;
    }
    // From 2^63 on every value is whole (NaN and infinities pass too); below
    // it a shift of 2^63 with x's sign still leaves no fraction.
    if (!(std::fabs(x) < TwoTo63))
        return x;
    const long double shift = x < 0.0L ? -TwoTo63 : TwoTo63;
    return (x + shift) - shift;
}

// The integral part of x (towards zero), without the x87 control-word
// switch that trunc costs.
[[gnu::always_inline]] inline long double TruncateTowardZero(long double x)
{
    if (!(std::fabs(x) < 9223372036854775808.0L)) // whole from 2^63 on; NaN too
        return x;
    const long double i = RoundHalfEven(x);
    if (std::fabs(i) > std::fabs(x))
        return x < 0.0L ? i + 1.0L : i - 1.0L;
    return i;
}

// The nearest integer, halves to even. Saturates at the int range; NaN gives
// INT_MIN, which every caller's bounds check rejects.
inline int NearestInt(long double x)
{
    if (std::isnan(x))
        return INT_MIN;
    const long double r = RoundHalfEven(x);
    if (r <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    if (r >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    // r is whole and inside the int range, so it converts exactly through
    // double (an SSE2 conversion) where a direct conversion of the long
    // double would switch the x87 control word to truncation and back.
    return static_cast<int>(static_cast<double>(r));
}
std::int64_t NearestInt64(long double x);
// True when x lies within the int range; NaN does not (used to refuse "1e30" as a count).
bool FitsInt(long double x);

int SignOf(long double x);
// −x without producing −0, which would print as "-0".
inline long double Negated(long double x)
{
    return 0.0L - x;
}
bool SameDouble(long double a, long double b);

// Puts the smaller value first.
void SortExtendedPair(long double& a, long double& b);
// Puts the larger value first.
void SortIntPairDesc(int& a, int& b);

// 2^n rounded to the nearest integer (0 for n < 0), saturating at the int range.
int PowerOfTwo(int n);
// log2 of n rounded to the nearest integer; 0 for n < 1.
int RoundLog2(int n);
// |x| <= 1E-11.
bool IsNearZero(long double x);

// x as a fraction num/den (den > 0) by continued fractions. False, with
// num = 0 and den = 1, when the expansion does not end within 35 terms or
// when the integer part or a numerator does not fit 64 bits.
bool FloatToFraction(long double x, std::int64_t& num, std::int64_t& den);
