#include "model/BuiltinsElementary.h"

#include "model/BuiltinsCommon.h"
#include "model/BuiltinsOperators.h"
#include "model/ElementaryKernels.h"
#include "model/Numeric.h"
#include "model/PointAngle.h"

#include <cmath>
#include <numbers>

using namespace builtins;

namespace {

// e^x underflows to 0 long before its argument leaves the usable range; a
// zero there is not a true result and counts as out of range.
TValue RealExp(long double x)
{
    const long double ex = ExpL(x);
    return ex == 0.0L ? ValueUndefined(KindReal) : RealResult(ex);
}

// e^z = e^x (cos y, sin y); y is in radians whatever the angle unit.
TValue ComplexExp(TPlanar z)
{
    const long double ex = ExpL(z.X);
    if (ex == 0.0L || !InUsableRange(ex))
        return ValueUndefined(KindPair);
    const TSinCos turn = SinCosL(z.Y);
    return PairResult(ex * turn.Cos, ex * turn.Sin);
}

TValue ComplexReciprocal(TPlanar z)
{
    const long double d = z.X * z.X + z.Y * z.Y;
    if (d == 0.0L)
        return ValueUndefined(KindPair);
    return PairResult(z.X / d, Negated(z.Y) / d);
}

// e^z and e^−z, the two halves of the complex sine, cosine and their
// hyperbolic relatives; false when either is undefined.
bool ExpAndInverse(TPlanar z, TPlanar& e, TPlanar& inverse)
{
    const TValue ez = ComplexExp(z);
    if (!ez.Defined)
        return false;
    const TValue inv = ComplexReciprocal(PlanarOf(ez));
    if (!inv.Defined)
        return false;
    e = PlanarOf(ez);
    inverse = PlanarOf(inv);
    return true;
}

// sin z = (e^iz − e^−iz) / 2i.
TValue ComplexSin(TPlanar z)
{
    TPlanar e, inverse;
    if (!ExpAndInverse({Negated(z.Y), z.X}, e, inverse))
        return ValueUndefined(KindPair);
    const TPlanar d = e - inverse;
    return PairResult(d.Y / 2.0L, Negated(d.X) / 2.0L);
}

// cos z = (e^iz + e^−iz) / 2.
TValue ComplexCos(TPlanar z)
{
    TPlanar e, inverse;
    if (!ExpAndInverse({Negated(z.Y), z.X}, e, inverse))
        return ValueUndefined(KindPair);
    return PairResult(0.5L * (e + inverse));
}

// sinh z = (e^z − e^−z) / 2, cosh z = (e^z + e^−z) / 2.
TValue ComplexSinhCosh(TPlanar z, bool sinh)
{
    TPlanar e, inverse;
    if (!ExpAndInverse(z, e, inverse))
        return ValueUndefined(KindPair);
    return PairResult(0.5L * (sinh ? e - inverse : e + inverse));
}

// ln z = (ln |z|, arg z); a real when the angle is (nearly) 0.
TValue ComplexLn(TPlanar z)
{
    const long double modulus = Length(z);
    if (modulus == 0.0L)
        return ValueUndefined(KindPair);
    const long double angle = PointAngle(z.X, z.Y);
    if (IsNearZero(angle))
        return RealResult(LnL(modulus));
    return PairResult(LnL(modulus), angle);
}

// A function of reals that takes pairs as complex numbers in complex mode.
// Defined reals, by far the most common argument, are decided first.
template <class OfReal, class OfComplex>
TValue RealOrComplex(const TValue& a, OfReal ofReal, OfComplex ofComplex)
{
    if (IsDefinedReal(a))
        return ofReal(a.X);
    TValue result;
    if (!ValueComplexModeCheck(a, result))
        return result;
    return ofComplex(PlanarOf(a));
}

// An inverse trigonometric function of a real, its result in the angle unit.
template <class F>
TValue InverseTrig(const TValue& a, bool bounded, F f)
{
    if (NotRealValue(a) || (bounded && std::fabs(a.X) > 1.0L))
        return ValueUndefined(KindReal);
    return RealResult(RadiansToAngle(f(a.X)));
}

} // namespace

TValue ValuePi()
{
    return ValueReal(Pi);
}

TValue ValueE()
{
    return ValueReal(std::numbers::e_v<long double>);
}

TValue ValueI()
{
    return ValuePoint(0.0L, 1.0L);
}

long double SinOfAngle(long double t)
{
    return DegreeMode() ? SinDegreesL(t) : SinL(t);
}

long double CosOfAngle(long double t)
{
    return DegreeMode() ? CosDegreesL(t) : CosL(t);
}

TSinCos SinCosOfAngle(long double t)
{
    return DegreeMode() ? SinCosDegreesL(t) : SinCosL(t);
}

TValue ValueSin(const TValue& a)
{
    return RealOrComplex(a, [](long double x) { return RealResult(SinOfAngle(x)); }, ComplexSin);
}

TValue ValueCos(const TValue& a)
{
    return RealOrComplex(a, [](long double x) { return RealResult(CosOfAngle(x)); }, ComplexCos);
}

TValue ValueTan(const TValue& a)
{
    return ValueDivide(ValueSin(a), ValueCos(a));
}

TValue ValueArcSin(const TValue& a)
{
    return InverseTrig(a, true, [](long double x) { return std::asin(x); });
}

TValue ValueArcCos(const TValue& a)
{
    return InverseTrig(a, true, [](long double x) { return std::acos(x); });
}

TValue ValueArcTan(const TValue& a)
{
    return InverseTrig(a, false, AtanL);
}

TValue ValueSinh(const TValue& a)
{
    return RealOrComplex(
        a, [](long double x) { return RealResult(std::sinh(x)); },
        [](TPlanar z) { return ComplexSinhCosh(z, true); });
}

TValue ValueCosh(const TValue& a)
{
    return RealOrComplex(
        a, [](long double x) { return RealResult(std::cosh(x)); },
        [](TPlanar z) { return ComplexSinhCosh(z, false); });
}

TValue ValueTanh(const TValue& a)
{
    return ValueDivide(ValueSinh(a), ValueCosh(a));
}

TValue ValueExp(const TValue& a)
{
    return RealOrComplex(a, RealExp, ComplexExp);
}

TValue ValueLn(const TValue& a)
{
    // A positive real has the same logarithm in both modes. The sign is not
    // tested first: 0 and negative reals give −inf and NaN, which the range
    // check refuses, and the hot path stays one comparison shorter.
    if (IsDefinedReal(a)) {
        const long double ln = LnL(a.X);
        if (InUsableRange(ln))
            return TValue{KindReal, 1, ln, 0.0L};
    }
    if (!Options.ComplexMode)
        return ValueUndefined(KindReal);
    TValue result;
    if (!ValueComplexModeCheck(a, result))
        return result;
    // ln 0 has no value: the undefined value of the argument's kind stands.
    const TValue ln = ComplexLn(PlanarOf(a));
    return ln.Defined ? ln : result;
}

TValue ValueLog10(const TValue& a)
{
    if (Options.LogMode == 2)
        return ValueLn(a);
    if (IsDefinedReal(a) && a.X > 0.0L)
        return RealResult(std::log10(a.X));
    // What is left is a complex logarithm (or undefined in real mode).
    const TValue ln = ValueLn(a);
    if (!ln.Defined)
        return ln;
    constexpr long double ln10 = std::numbers::ln10_v<long double>;
    return ResultOfKind(ln.Kind, ln.X / ln10, ln.Y / ln10);
}

TValue ValueLogBase(const TValue& base, const TValue& value)
{
    return ValueDivide(ValueLn(value), ValueLn(base));
}

TValue ValueSqrt(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    if (a.X >= 0.0L)
        return RealResult(std::sqrt(a.X));
    if (Options.ComplexMode && Options.AllowSqrtN)
        return PairResult(0.0L, std::sqrt(-a.X));
    return ValueUndefined(KindReal);
}

TValue ValueCbrt(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    return RealResult(std::cbrt(a.X));
}

TValue ValueReciprocal(const TValue& a)
{
    return RealOrComplex(
        a, [](long double x) { return x == 0.0L ? ValueUndefined(KindReal) : RealResult(1.0L / x); },
        ComplexReciprocal);
}

TValue ValueAbs(const TValue& a)
{
    if (!a.Defined || !IsNumberKind(a.Kind))
        return ValueUndefined(KindReal);
    if (a.Kind == KindReal)
        return RealResult(std::fabs(a.X));
    return RealResult(Length(PlanarOf(a)));
}

TValue ValueNegate(const TValue& a)
{
    if (!a.Defined)
        return ValueUndefined(KindReal);
    return TValue{a.Kind, 1, Negated(a.X), Negated(a.Y)};
}

TValue ValueConj(const TValue& a)
{
    if (!IsDefinedPair(a))
        return a;
    return ValuePoint(a.X, Negated(a.Y));
}

TValue ValueSign(const TValue& a)
{
    if (!a.Defined || !IsNumberKind(a.Kind))
        return ValueUndefined(a.Kind);
    if (a.Kind == KindReal)
        return ValueReal(SignOf(a.X));
    const long double length = Length(PlanarOf(a));
    if (length < 1E-17L)
        return ValuePoint(0.0L, 0.0L);
    return PairResult(a.X / length, a.Y / length);
}

TValue ValueRoll(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    const TSinCos turn = SinCosOfAngle(a.X);
    return PairResult(turn.Cos, turn.Sin);
}

TValue ValueDegToRad(const TValue& a)
{
    if (NotRealValue(a))
        return ValueUndefined(KindReal);
    if (DegreeMode())
        return a;
    return RealResult(a.X * Pi / 180.0L);
}
