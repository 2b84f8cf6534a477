#include "model/BuiltinsOperators.h"

#include "model/BuiltinsCommon.h"
#include "model/BuiltinsElementary.h"
#include "model/ElementaryKernels.h"

#include <cmath>

using namespace builtins;

namespace {

// base^n for n >= 1 by repeated squaring: exact for small whole numbers.
template <class T, class Multiply>
T RepeatedSquaring(T base, int n, T one, Multiply multiply)
{
    T result = one;
    for (;;) {
        if (n & 1)
            result = multiply(result, base);
        n >>= 1;
        if (n == 0)
            return result;
        base = multiply(base, base);
    }
}

long double RealIntegerPower(long double base, int n)
{
    return RepeatedSquaring(base, n, 1.0L, [](long double a, long double b) { return a * b; });
}

TPlanar ComplexIntegerPower(TPlanar base, int n)
{
    return RepeatedSquaring(base, n, TPlanar{1.0L, 0.0L}, ComplexProduct);
}

// True, with n = b, when b is a whole number between −20 and 20: the
// exponents that repeated squaring computes exactly.
bool SmallWholeExponent(long double b, int& n)
{
    if (!(b >= -20.0L && b <= 20.0L) || !IsWhole(b))
        return false;
    // Through double: converting a long double to int would switch the x87
    // control word to truncation and back.
    n = static_cast<int>(static_cast<double>(b));
    return true;
}

// A power of a positive base is never 0: a 0 underflowed from below the
// usable range, and is refused like "exp" refuses it.
TValue PositivePowerResult(long double power)
{
    return power == 0.0L ? ValueUndefined(KindReal) : RealResult(power);
}

// a^b for a > 0.
TValue PositivePower(long double a, long double b)
{
    int n = 0;
    if (SmallWholeExponent(b, n) && n != 0)
        return PositivePowerResult(n > 0 ? RealIntegerPower(a, n) : 1.0L / RealIntegerPower(a, -n));
    long double power = PowL(a, b);
    // Whole powers of whole numbers print as whole numbers.
    if (IsWhole(a) && IsWhole(b) && b > 0.0L && std::fabs(power) < 2147483647.0L)
        power = RoundHalfEven(power);
    return PositivePowerResult(power);
}

// a^b of two reals; a negative base needs a whole exponent.
TValue RealPower(long double a, long double b)
{
    if (a > 0.0L)
        return PositivePower(a, b);
    if (a == 0.0L) {
        if (b > 0.0L)
            return ValueReal(0.0L);
        return b == 0.0L ? ValueReal(1.0L) : ValueUndefined(KindReal);
    }
    if (!IsWhole(b))
        return ValueUndefined(KindReal);
    const TValue magnitude = PositivePower(-a, b);
    const bool odd = !IsWhole(b / 2.0L);
    return odd ? ValueNegate(magnitude) : magnitude;
}

TValue ComplexPower(const TValue& base, const TValue& exponent)
{
    // Real operands keep real results (and the exact whole powers of the
    // real rules); only what has no real value becomes complex.
    if (base.Kind == KindReal && exponent.Kind == KindReal) {
        const TValue real = RealPower(base.X, exponent.X);
        if (real.Defined)
            return real;
    }
    const TPlanar z = PlanarOf(ValueToPoint(base));
    int n = 0;
    if (exponent.Kind == KindReal && SmallWholeExponent(exponent.X, n) && n >= 1)
        return PairResult(ComplexIntegerPower(z, n));
    const TValue ln = ValueLn(ValuePoint(z.X, z.Y));
    if (!ln.Defined)
        return ValueUndefined(KindPair);
    return ValueExp(ValueMultiply(exponent, ln));
}

TValue Truth(bool holds)
{
    return holds ? ValueReal(1.0L) : ValueUndefined(KindReal);
}

template <class Relation>
TValue CompareReals(const TValue& left, const TValue& right, Relation holds)
{
    return Truth(!NotRealValues(left, right) && holds(left.X, right.X));
}

bool DefinedOfSameKind(const TValue& left, const TValue& right)
{
    return left.Kind == right.Kind && left.Defined && right.Defined;
}

bool WithinTolerance(const TValue& left, const TValue& right)
{
    constexpr long double tolerance = 1E-9L;
    return std::fabs(left.X - right.X) < tolerance
        && (left.Kind != KindPair || std::fabs(left.Y - right.Y) < tolerance);
}

} // namespace

TValue ValueAddCore(const TValue& left, const TValue& right)
{
    const std::uint8_t leftKind = left.Kind == KindSZero ? right.Kind : left.Kind;
    if (leftKind != right.Kind) {
        // Mixed real and pair: the real is the complex number (x, 0), whose
        // Y is already 0.
        if (!Options.ComplexMode || !IsNumberKind(leftKind) || !IsNumberKind(right.Kind) || !left.Defined
            || !right.Defined)
            return ValueUndefined(KindReal);
        return PairResult(left.X + right.X, left.Y + right.Y);
    }
    if (!left.Defined || !right.Defined || !IsNumberKind(leftKind))
        return ValueUndefined(KindReal);
    if (leftKind == KindReal)
        return RealResult(left.X + right.X);
    return PairResult(left.X + right.X, left.Y + right.Y);
}

TValue ValueSubtract(const TValue& left, const TValue& right)
{
    return ValueAddCore(left, ValueNegate(right));
}

TValue ValueScalarProduct(const TValue& left, const TValue& right)
{
    if (left.Kind == KindReal && IsNumberKind(right.Kind)) {
        if (!left.Defined || !right.Defined)
            return ValueUndefined(KindReal);
        if (right.Kind == KindReal)
            return RealResult(left.X * right.X);
        return PairResult(left.X * right.X, left.X * right.Y);
    }
    if (Options.ComplexMode && left.Kind == KindPair && right.Kind == KindPair) {
        if (!left.Defined || !right.Defined)
            return ValueUndefined(KindReal);
        return PairResult(ComplexProduct(PlanarOf(left), PlanarOf(right)));
    }
    return ValueUndefined(KindReal);
}

TValue ValueMultiply(const TValue& left, const TValue& right)
{
    if (left.Kind == KindReal)
        return ValueScalarProduct(left, right);
    if (left.Kind != KindPair)
        return ValueUndefined(KindReal);
    if (Options.ComplexMode) {
        if (right.Kind == KindReal)
            return ValueScalarProduct(ValueToPoint(left), ValueToPoint(right));
        return ValueScalarProduct(left, right);
    }
    // Real mode: two points give their dot product.
    if (right.Kind != KindPair || !left.Defined || !right.Defined)
        return ValueUndefined(KindReal);
    return RealResult(DotProduct(PlanarOf(left), PlanarOf(right)));
}

TValue ValueDivide(const TValue& left, const TValue& right)
{
    const bool divisorAccepted = right.Kind == KindReal || (Options.ComplexMode && right.Kind == KindPair);
    if (!divisorAccepted)
        return ValueUndefined(KindReal);
    if (!left.Defined || !right.Defined)
        return ValueUndefined(KindReal);
    // The reciprocal stands on the left, so that a point divided by a real
    // works in real mode.
    return ValueMultiply(ValueReciprocal(right), left);
}

TValue ValuePower(const TValue& base, const TValue& exponent)
{
    const bool realResult = !Options.ComplexMode || (base.Kind == KindReal && exponent.Kind == KindReal);
    if (!base.Defined || !exponent.Defined || !IsNumberKind(base.Kind) || !IsNumberKind(exponent.Kind))
        return ValueUndefined(realResult ? KindReal : KindPair);
    if (Options.ComplexMode) {
        const TValue power = ComplexPower(base, exponent);
        return power.Defined ? power : ValueUndefined(realResult ? KindReal : KindPair);
    }
    if (exponent.Kind != KindReal)
        return ValueUndefined(KindReal);
    if (base.Kind == KindPair) {
        // A point squared is its length squared.
        if (exponent.X != 2.0L)
            return ValueUndefined(KindReal);
        return RealResult(DotProduct(PlanarOf(base), PlanarOf(base)));
    }
    return RealPower(base.X, exponent.X);
}

TValue ValueLess(const TValue& left, const TValue& right)
{
    return CompareReals(left, right, [](long double a, long double b) { return a < b; });
}

TValue ValueLessEq(const TValue& left, const TValue& right)
{
    return CompareReals(left, right, [](long double a, long double b) { return a <= b; });
}

TValue ValueGreater(const TValue& left, const TValue& right)
{
    return CompareReals(left, right, [](long double a, long double b) { return a > b; });
}

TValue ValueGreaterEq(const TValue& left, const TValue& right)
{
    return CompareReals(left, right, [](long double a, long double b) { return a >= b; });
}

TValue ValueEqual(const TValue& left, const TValue& right)
{
    return Truth(DefinedOfSameKind(left, right) && WithinTolerance(left, right));
}

TValue ValueNotEqual(const TValue& left, const TValue& right)
{
    return Truth(DefinedOfSameKind(left, right) && !WithinTolerance(left, right));
}

TValue ValueAnd(const TValue& left, const TValue& right)
{
    if (!left.Defined || !right.Defined)
        return ValueUndefined(KindReal);
    return left.X > right.X ? left : right;
}

TValue ValueOr(const TValue& left, const TValue& right)
{
    if (right.Defined && (!left.Defined || left.X < right.X))
        return right;
    return left;
}

TValue ValueNot(const TValue& a)
{
    if (a.Defined)
        return ValueUndefined(a.Kind);
    // The truth 1 of a value that has no number kind of its own is a real.
    const std::uint8_t kind = IsNumberKind(a.Kind) ? a.Kind : std::uint8_t{KindReal};
    return TValue{kind, 1, 1.0L, 0.0L};
}
