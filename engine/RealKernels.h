#pragma once

// What the built-in routines give for reals, written out for the compiled
// forms of a formula (block programs over columns, scalar programs): which
// tokens they compute themselves, and the kernels of the operations whose
// routine is too slow to call per value. Each kernel takes a value and its
// defined flag and returns whether the result is defined before the range
// check of v. Internal to the engine; the differential tests hold these to
// the routines bit for bit.

#include "engine/TokenTable.h"
#include "model/BuiltinsCommon.h"
#include "model/BuiltinsElementary.h"
#include "model/Numeric.h"
#include "model/Value.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

// Tokens whose routine the compiled forms call for every value (real
// arguments give real results in real mode; the run checks it). Random
// numbers stay with the machines, which draw them in their own order.
inline bool IsGenericUnary(TTokenCode t)
{
    const TNamedTokens& k = TokenCodes;
    for (TTokenCode c : {k.Asin, k.Acos, k.Atan, k.Sinh, k.Cosh, k.Tanh, k.Cbrt, k.Int, k.Round, k.Frc,
                         k.Factorial, k.Gamma, k.Degree, k.Sign, k.Unit, k.Conj, k.DotX, k.DotY, k.Area, k.Pressed}) {
        if (t == c)
            return true;
    }
    return false;
}

inline bool IsGenericBinary(TTokenCode t)
{
    const TNamedTokens& k = TokenCodes;
    for (TTokenCode c : {k.Percent, k.NotEqual, k.Mod, k.NCr, k.Beta, k.LogBase, k.Gcd, k.Lcm, k.VEC,
                         k.Cells}) {
        if (t == c)
            return true;
    }
    return false;
}

// The operation a compiled form pairs with token t in its table, if any.
template <class Op, std::size_t N>
bool FindTokenOp(const std::pair<TTokenCode, Op> (&table)[N], TTokenCode t, Op& op)
{
    for (const auto& [code, o] : table) {
        if (t == code) {
            op = o;
            return true;
        }
    }
    return false;
}

// Functions that may turn reals into complex numbers in complex mode.
inline bool MayGoComplex(TTokenCode t)
{
    const TNamedTokens& k = TokenCodes;
    return t == k.Sqrt || t == k.Ln || t == k.Log || t == k.Power || t == k.Percent || t == k.LogBase;
}

// InUsableRange, deciding most values against bounds that load as doubles:
// an 80-bit constant costs a slow load on some processors.
inline bool InUsableRangeQuick(long double v)
{
    const long double m = std::fabs(v);
    if (m > 0x1p-996L && m < 0x1p996L) [[likely]]
        return true;
    return InUsableRange(v);
}

// "/": the reciprocal of the divisor, in range, times the dividend.
inline bool Quotient(long double a, bool da, long double b, bool db, long double& v)
{
    const long double r = 1.0L / b;
    v = r * a;
    return da & db & (b != 0.0L) & InUsableRangeQuick(r);
}

// sin or cos of a defined real in the angle unit, its kernel called
// directly as SinOfAngle and CosOfAngle would call it.
inline long double SinOrCosOfAngle(bool sine, long double t)
{
    const bool degrees = builtins::DegreeMode();
    return sine ? (degrees ? SinDegreesL(t) : SinL(t)) : (degrees ? CosDegreesL(t) : CosL(t));
}

// "tan" of a defined real before its range check: sin divided by cos, each
// a result of its own first, as the routine divides them. One reduction of
// the angle serves both (SinCosOfAngle gives SinOfAngle's and CosOfAngle's
// values).
inline bool TangentOfAngle(long double t, long double& v)
{
    const TSinCos turn = SinCosOfAngle(t);
    return Quotient(turn.Sin, InUsableRangeQuick(turn.Sin), turn.Cos, InUsableRangeQuick(turn.Cos), v);
}

// base^n by repeated squaring, as "^" computes whole exponents.
inline long double RepeatedSquaring(long double base, int n)
{
    long double result = 1.0L;
    for (;;) {
        if (n & 1)
            result = result * base;
        n >>= 1;
        if (n == 0)
            return result;
        base = base * base;
    }
}

// a^b for a > 0 and a whole b = n, 0 < |n| <= 20: never 0, or it underflowed.
inline bool PositiveWholePower(long double a, int n, long double& v)
{
    v = n > 0 ? RepeatedSquaring(a, n) : 1.0L / RepeatedSquaring(a, -n);
    return v != 0.0L && InUsableRangeQuick(v);
}

// "^" with a whole exponent n, 0 < |n| <= 20.
inline bool WholePower(long double a, bool da, int n, long double& v)
{
    if (!da)
        return false;
    if (a > 0.0L)
        return PositiveWholePower(a, n, v);
    if (a == 0.0L) {
        v = 0.0L;
        return n > 0;
    }
    const bool d = PositiveWholePower(-a, n, v);
    if (n & 1)
        v = 0.0L - v;
    return d;
}

// True, with n, when a defined real exponent e is one that "^" computes by
// repeated squaring (whole, 0 < |e| <= 20).
inline bool SmallWholeExponent(long double e, int& n)
{
    if (!(e >= -20.0L && e <= 20.0L) || e != RoundHalfEven(e))
        return false;
    n = static_cast<int>(static_cast<double>(e));
    return n != 0;
}

inline bool SmallWholeExponent(const TValue& e, int& n)
{
    return e.Kind == KindReal && e.Defined && SmallWholeExponent(e.X, n);
}

// "and": the operand with the larger value, the right one on a tie.
inline bool LargerOfBoth(long double a, bool da, long double b, bool db, long double& v)
{
    v = a > b ? a : b;
    return da & db;
}

// "or": the defined operand with the larger value, the left one on a tie.
inline bool LargerDefined(long double a, bool da, long double b, bool db, long double& v)
{
    const bool right = db && (!da || a < b);
    v = right ? b : a;
    return right ? db : da;
}

// The bits of an 80-bit value as it lies in memory: lanes are checked and
// snapped with integer instructions, which cost a fraction of the x87's
// loads and stores of 80-bit values.
struct TBits {
    std::uint64_t mantissa; // with the explicit leading 1
    std::uint16_t signAndExponent;
};

inline TBits BitsOf(const long double& v)
{
    TBits b;
    std::memcpy(&b.mantissa, &v, sizeof b.mantissa);
    std::memcpy(&b.signAndExponent, reinterpret_cast<const char*>(&v) + sizeof b.mantissa, sizeof b.signAndExponent);
    return b;
}

inline void SetBits(long double& v, std::uint64_t mantissa, std::uint16_t signAndExponent)
{
    std::memcpy(&v, &mantissa, sizeof mantissa);
    std::memcpy(reinterpret_cast<char*>(&v) + sizeof mantissa, &signAndExponent, sizeof signAndExponent);
}

constexpr int ExponentBias = 16383;
// 1E-2415 and 1E2415 lie in the binades of these biased exponents; values of
// the exponents between them are in range, those of these two are compared.
constexpr unsigned LowRangeExponent = ExponentBias - 8023;
constexpr unsigned HighRangeExponent = ExponentBias + 8022;

// InUsableRange of a value in memory.
inline bool InRange(const long double& v)
{
    const TBits b = BitsOf(v);
    const unsigned e = b.signAndExponent & 0x7FFFu;
    if (e - (LowRangeExponent + 1) <= HighRangeExponent - LowRangeExponent - 2)
        return true;
    if (e == 0)
        return b.mantissa == 0;
    return (e == LowRangeExponent || e == HighRangeExponent) && InUsableRange(v);
}

// SmallWholeExponent of a real in memory, read from its bits.
inline bool SmallWholeExponentInMemory(const long double& e, int& n)
{
    const TBits b = BitsOf(e);
    const unsigned exponent = b.signAndExponent & 0x7FFFu;
    // 1 <= |e| < 32, normal; the bits below the units are 0.
    if (exponent < ExponentBias || exponent > ExponentBias + 4 || !(b.mantissa >> 63))
        return false;
    const int k = static_cast<int>(exponent - ExponentBias);
    if ((b.mantissa << (k + 1)) != 0)
        return false;
    const int whole = static_cast<int>(b.mantissa >> (63 - k));
    if (whole > 20)
        return false;
    n = (b.signAndExponent & 0x8000u) ? -whole : whole;
    return true;
}

// SnapToInteger, deciding most values by RoundHalfEven (whose constants load
// as floats): a value more than 2^-56 (above 1E-17) from its nearest whole
// number is not snapped; the rest are left to SnapToInteger itself.
inline long double SnapToIntegerQuick(long double x)
{
    if (std::fabs(x - RoundHalfEven(x)) > 0x1p-56L) [[likely]]
        return x;
    return SnapToInteger(x);
}
