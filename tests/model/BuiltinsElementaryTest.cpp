#include "model/BuiltinsElementary.h"
#include "tests/model/BuiltinsTest.h"

#include <cmath>
#include <numbers>

namespace {

using namespace testvalues;

constexpr long double pi = std::numbers::pi_v<long double>;
constexpr long double tight = 1E-18L;

using ElementaryBuiltinsTest = BuiltinsTest;

TEST_F(ElementaryBuiltinsTest, TrigonometryFollowsTheAngleUnit)
{
    EXPECT_TRUE(IsReal(ValueSin(Real(pi / 6.0L)), 0.5L, tight));
    EXPECT_TRUE(IsReal(ValueCos(Real(pi / 3.0L)), 0.5L, tight));
    EXPECT_TRUE(IsReal(ValueArcTan(Real(1.0L)), pi / 4.0L));

    UseDegrees();
    // Whole quarter turns are taken off exactly before the rest is converted,
    // so these are exact (and a zero is never −0).
    EXPECT_TRUE(IsReal(ValueSin(Real(30.0L)), 0.5L));
    EXPECT_TRUE(IsReal(ValueCos(Real(60.0L)), 0.5L));
    EXPECT_TRUE(IsReal(ValueTan(Real(45.0L)), 1.0L));
    EXPECT_TRUE(IsReal(ValueSin(Real(-210.0L)), 0.5L));
    for (const long double quarterTurn : {90.0L, 270.0L, -90.0L, 450.0L}) {
        EXPECT_FALSE(std::signbit(ValueCos(Real(quarterTurn)).X));
        EXPECT_TRUE(IsReal(ValueCos(Real(quarterTurn)), 0.0L));
    }
    EXPECT_FALSE(std::signbit(ValueSin(Real(180.0L)).X));
    EXPECT_TRUE(IsReal(ValueArcTan(Real(1.0L)), 45.0L));
    EXPECT_TRUE(IsReal(ValueArcSin(Real(0.5L)), 30.0L, 1E-15L));
    EXPECT_TRUE(IsReal(ValueArcCos(Real(-1.0L)), 180.0L));
}

TEST_F(ElementaryBuiltinsTest, InverseFunctionsRefuseWhatIsOutsideTheirDomain)
{
    EXPECT_TRUE(IsUndefined(ValueArcSin(Real(2.0L))));
    EXPECT_TRUE(IsUndefined(ValueArcCos(Real(-1.5L))));
    EXPECT_TRUE(IsUndefined(ValueArcSin(Pair(0.5L, 0.0L))));
    EXPECT_TRUE(IsUndefined(ValueArcTan(Undefined())));
    UseComplex();
    EXPECT_TRUE(IsUndefined(ValueArcTan(Pair(1.0L, 0.0L))));
}

TEST_F(ElementaryBuiltinsTest, ComplexSineAndCosineAreInRadiansEvenInDegreeMode)
{
    UseComplex();
    UseDegrees();
    const long double s = std::sin(1.0L), c = std::cos(1.0L);
    const long double sh = std::sinh(1.0L), ch = std::cosh(1.0L);
    EXPECT_TRUE(IsPair(ValueSin(Pair(1.0L, 1.0L)), s * ch, c * sh, 1E-17L));
    EXPECT_TRUE(IsPair(ValueCos(Pair(1.0L, 1.0L)), c * ch, -s * sh, 1E-17L));
    EXPECT_TRUE(IsPair(ValueSin(Pair(1.0L, -2.0L)), s * std::cosh(2.0L), -c * std::sinh(2.0L), 1E-17L));
    // Pairs are points in real mode: no sine.
    Options.ComplexMode = 0;
    EXPECT_TRUE(IsUndefined(ValueSin(Pair(1.0L, 1.0L))));
}

TEST_F(ElementaryBuiltinsTest, HyperbolicFunctions)
{
    EXPECT_TRUE(IsReal(ValueSinh(Real(0.5L)), std::sinh(0.5L), tight));
    EXPECT_TRUE(IsReal(ValueCosh(Real(-0.5L)), std::cosh(0.5L), tight));
    EXPECT_TRUE(IsReal(ValueTanh(Real(0.5L)), std::tanh(0.5L), tight));
    EXPECT_TRUE(IsUndefined(ValueSinh(Real(6000.0L))));
    EXPECT_TRUE(IsUndefined(ValueCosh(Pair(0.0L, 1.0L))));
    UseComplex();
    EXPECT_TRUE(IsPair(ValueSinh(Pair(0.0L, pi / 2.0L)), 0.0L, 1.0L, tight));
    EXPECT_TRUE(IsPair(ValueCosh(Pair(0.0L, pi)), -1.0L, 0.0L, tight));
    EXPECT_TRUE(IsPair(ValueTanh(Pair(0.0L, pi / 4.0L)), 0.0L, 1.0L, 1E-17L));
}

TEST_F(ElementaryBuiltinsTest, ExponentialStaysInTheExtendedRange)
{
    EXPECT_TRUE(ValueExp(Real(5000.0L)).Defined);
    EXPECT_TRUE(ValueExp(Real(-5560.0L)).Defined);
    EXPECT_TRUE(IsUndefined(ValueExp(Real(20000.0L))));
    EXPECT_TRUE(IsUndefined(ValueExp(Real(-5562.0L))));
    // e^x underflowing to 0 is not a result either.
    EXPECT_TRUE(IsUndefined(ValueExp(Real(-20000.0L))));
    EXPECT_TRUE(IsReal(ValueExp(Real(1.0L)), std::numbers::e_v<long double>, tight));
    EXPECT_TRUE(IsUndefined(ValueExp(Pair(0.0L, 1.0L))));
}

TEST_F(ElementaryBuiltinsTest, ComplexExponentialTakesTheImaginaryPartInRadians)
{
    UseComplex();
    UseDegrees();
    EXPECT_TRUE(IsPair(ValueExp(Pair(0.0L, pi)), -1.0L, 0.0L, tight));
    EXPECT_TRUE(IsPair(ValueExp(Pair(1.0L, pi / 2.0L)), 0.0L, std::numbers::e_v<long double>, tight));
    EXPECT_TRUE(IsUndefined(ValueExp(Pair(20000.0L, 0.0L))));
}

TEST_F(ElementaryBuiltinsTest, LogarithmsInRealAndComplexMode)
{
    EXPECT_TRUE(IsReal(ValueLn(Real(std::numbers::e_v<long double>)), 1.0L, tight));
    EXPECT_TRUE(IsUndefined(ValueLn(Real(-1.0L))));
    EXPECT_TRUE(IsUndefined(ValueLn(Real(0.0L))));

    UseComplex();
    EXPECT_TRUE(IsPair(ValueLn(Real(-1.0L)), 0.0L, pi));
    EXPECT_TRUE(IsPair(ValueLn(Pair(0.0L, -2.0L)), std::log(2.0L), 3.0L * pi / 2.0L, tight));
    // An angle of 0 gives a real.
    EXPECT_TRUE(IsReal(ValueLn(Real(2.0L)), std::log(2.0L)));
    EXPECT_TRUE(IsUndefined(ValueLn(Pair(0.0L, 0.0L))));
}

TEST_F(ElementaryBuiltinsTest, LogFollowsTheLogMode)
{
    Options.LogMode = 1;
    EXPECT_TRUE(IsReal(ValueLog10(Real(100.0L)), 2.0L));
    EXPECT_TRUE(IsUndefined(ValueLog10(Real(-100.0L))));
    UseComplex();
    EXPECT_TRUE(IsPair(ValueLog10(Real(-100.0L)), 2.0L, pi / std::numbers::ln10_v<long double>, tight));

    Options.LogMode = 2;
    EXPECT_TRUE(IsReal(ValueLog10(Real(100.0L)), std::log(100.0L)));
}

TEST_F(ElementaryBuiltinsTest, LogToABaseTakesTheBaseFirst)
{
    EXPECT_TRUE(IsReal(ValueLogBase(Real(2.0L), Real(8.0L)), 3.0L, tight));
    EXPECT_TRUE(IsReal(ValueLogBase(Real(8.0L), Real(2.0L)), 1.0L / 3.0L, tight));
    EXPECT_TRUE(IsUndefined(ValueLogBase(Real(1.0L), Real(8.0L))));
    EXPECT_TRUE(IsUndefined(ValueLogBase(Undefined(), Real(8.0L))));
}

TEST_F(ElementaryBuiltinsTest, SquareRootOfANegativeNeedsComplexModeAndPermission)
{
    EXPECT_TRUE(IsReal(ValueSqrt(Real(9.0L)), 3.0L));
    EXPECT_TRUE(IsUndefined(ValueSqrt(Real(-4.0L))));
    UseComplex();
    EXPECT_TRUE(IsUndefined(ValueSqrt(Real(-4.0L))));
    Options.AllowSqrtN = 1;
    EXPECT_TRUE(IsPair(ValueSqrt(Real(-4.0L)), 0.0L, 2.0L));
    EXPECT_TRUE(IsUndefined(ValueSqrt(Pair(-4.0L, 0.0L))));
}

TEST_F(ElementaryBuiltinsTest, RootsAbsoluteValueAndReciprocal)
{
    EXPECT_TRUE(IsReal(ValueCbrt(Real(-8.0L)), -2.0L));
    EXPECT_TRUE(IsReal(ValueAbs(Real(-3.0L)), 3.0L));
    EXPECT_TRUE(IsReal(ValueAbs(Pair(3.0L, -4.0L)), 5.0L));
    EXPECT_TRUE(IsUndefined(ValueAbs(Undefined(KindPair))));
    EXPECT_TRUE(IsReal(ValueReciprocal(Real(4.0L)), 0.25L));
    EXPECT_TRUE(IsUndefined(ValueReciprocal(Real(0.0L))));
    EXPECT_TRUE(IsUndefined(ValueReciprocal(Pair(3.0L, 4.0L))));
    UseComplex();
    EXPECT_TRUE(IsPair(ValueReciprocal(Pair(3.0L, 4.0L)), 0.12L, -0.16L, tight));
    EXPECT_TRUE(IsUndefined(ValueReciprocal(Pair(0.0L, 0.0L))));
}

TEST_F(ElementaryBuiltinsTest, NegationConjugateAndSign)
{
    EXPECT_TRUE(IsPair(ValueNegate(Pair(3.0L, -5.0L)), -3.0L, 5.0L));
    const TValue zero = ValueNegate(Real(0.0L));
    EXPECT_TRUE(IsReal(zero, 0.0L));
    EXPECT_FALSE(std::signbit(zero.X)) << "-0 would print as \"-0\"";

    EXPECT_TRUE(IsPair(ValueConj(Pair(1.0L, 2.0L)), 1.0L, -2.0L));
    EXPECT_TRUE(IsReal(ValueConj(Real(7.0L)), 7.0L));

    EXPECT_TRUE(IsReal(ValueSign(Real(-3.0L)), -1.0L));
    EXPECT_TRUE(IsReal(ValueSign(Real(0.0L)), 0.0L));
    EXPECT_TRUE(IsPair(ValueSign(Pair(3.0L, 4.0L)), 0.6L, 0.8L, tight));
    EXPECT_TRUE(IsPair(ValueSign(Pair(0.0L, 1E-18L)), 0.0L, 0.0L));
    EXPECT_EQ(ValueSign(Undefined(KindPair)).Kind, KindPair);
}

TEST_F(ElementaryBuiltinsTest, RollAndTheDegreeSign)
{
    EXPECT_TRUE(IsPair(ValueRoll(Real(pi)), -1.0L, 0.0L, tight));
    EXPECT_TRUE(IsReal(ValueDegToRad(Real(180.0L)), pi, tight));
    UseDegrees();
    EXPECT_TRUE(IsPair(ValueRoll(Real(90.0L)), 0.0L, 1.0L, tight));
    EXPECT_TRUE(IsReal(ValueDegToRad(Real(180.0L)), 180.0L));
    EXPECT_TRUE(IsUndefined(ValueRoll(Pair(1.0L, 0.0L))));
}

TEST_F(ElementaryBuiltinsTest, FailuresAreUndefinedRealsUnlessTheFunctionKeepsTheKind)
{
    const TValue noPoint = Undefined(KindPair);
    ExpectFailureKinds({
        {"roll(P)", ValueRoll(Pair(1.0L, 0.0L)), KindReal},
        {"roll(undefined)", ValueRoll(Undefined()), KindReal},
        {"sin(P)", ValueSin(Pair(1.0L, 0.0L)), KindReal},
        {"exp(undefined pair)", ValueExp(noPoint), KindReal},
        {"ln(P)", ValueLn(Pair(1.0L, 1.0L)), KindReal},
        {"ln(0)", ValueLn(Real(0.0L)), KindReal},
        {"log(2, P)", ValueLogBase(Real(2.0L), Pair(1.0L, 1.0L)), KindReal},
        {"Sqrt(-4)", ValueSqrt(Real(-4.0L)), KindReal},
        {"abs(undefined pair)", ValueAbs(noPoint), KindReal},
        {"-(undefined pair)", ValueNegate(noPoint), KindReal},
        // These two give a value of their argument's kind, defined or not.
        {"sign(undefined pair)", ValueSign(noPoint), KindPair},
        {"conj(undefined pair)", ValueConj(noPoint), KindPair},
    });
}

TEST_F(ElementaryBuiltinsTest, ComplexFunctionsFailWithTheArgumentsKind)
{
    UseComplex();
    const TValue noPoint = Undefined(KindPair);
    ExpectFailureKinds({
        {"ln(0)", ValueLn(Real(0.0L)), KindReal},
        {"log(0)", ValueLog10(Real(0.0L)), KindReal},
        {"ln((0, 0))", ValueLn(Pair(0.0L, 0.0L)), KindPair},
        {"sin(undefined pair)", ValueSin(noPoint), KindPair},
        {"sinh(undefined pair)", ValueSinh(noPoint), KindPair},
        {"exp((20000, 0))", ValueExp(Pair(20000.0L, 0.0L)), KindPair},
        {"exp(20000)", ValueExp(Real(20000.0L)), KindReal},
        {"1/(0, 0)", ValueReciprocal(Pair(0.0L, 0.0L)), KindPair},
        {"1/0", ValueReciprocal(Real(0.0L)), KindReal},
        // Through the division operator, whose failure is a real.
        {"tan(undefined pair)", ValueTan(noPoint), KindReal},
    });
}

TEST_F(ElementaryBuiltinsTest, Constants)
{
    EXPECT_TRUE(IsReal(ValuePi(), 3.14159265358979323851L));
    EXPECT_TRUE(IsReal(ValueE(), std::exp(1.0L), tight));
    EXPECT_TRUE(IsPair(ValueI(), 0.0L, 1.0L));
}

} // namespace
