#include "model/BuiltinsOperators.h"
#include "tests/model/BuiltinsTest.h"

#include <cmath>

namespace {

using namespace testvalues;

using OperatorBuiltinsTest = BuiltinsTest;

const TValue P = Pair(3.0L, -5.0L);
const TValue Q = Pair(2.0L, 7.0L);

TEST_F(OperatorBuiltinsTest, AdditionNeedsEqualKindsInRealMode)
{
    EXPECT_TRUE(IsReal(ValueAddCore(Real(2.0L), Real(3.5L)), 5.5L));
    EXPECT_TRUE(IsPair(ValueAddCore(P, Q), 5.0L, 2.0L));
    EXPECT_TRUE(IsUndefined(ValueAddCore(Real(1.0L), P)));
    EXPECT_TRUE(IsUndefined(ValueAddCore(Real(1.0L), Undefined())));
    UseComplex();
    EXPECT_TRUE(IsPair(ValueAddCore(Real(1.0L), P), 4.0L, -5.0L));
    EXPECT_TRUE(IsPair(ValueAddCore(P, Real(1.0L)), 4.0L, -5.0L));
}

TEST_F(OperatorBuiltinsTest, SubtractionKeepsTheOperandOrder)
{
    EXPECT_TRUE(IsReal(ValueSubtract(Real(5.0L), Real(3.0L)), 2.0L));
    EXPECT_TRUE(IsPair(ValueSubtract(P, Q), 1.0L, -12.0L));
    EXPECT_FALSE(std::signbit(ValueSubtract(Real(5.0L), Real(5.0L)).X));
}

TEST_F(OperatorBuiltinsTest, LeadingSignTakesTheOtherOperandsKind)
{
    EXPECT_TRUE(IsPair(ValueAddCore(SZeroValue, P), 3.0L, -5.0L));
    EXPECT_TRUE(IsReal(ValueSubtract(SZeroValue, Real(3.0L)), -3.0L));
    EXPECT_TRUE(IsPair(ValueSubtract(SZeroValue, P), -3.0L, 5.0L));
}

TEST_F(OperatorBuiltinsTest, SumsOutsideTheRangeAreUndefined)
{
    EXPECT_TRUE(ValueAddCore(Real(2E2414L), Real(2E2414L)).Defined);
    EXPECT_TRUE(IsUndefined(ValueAddCore(Real(6E2414L), Real(6E2414L))));
    EXPECT_TRUE(IsUndefined(ValueAddCore(P, Pair(0.0L, 1E2415L))));
}

TEST_F(OperatorBuiltinsTest, ARealScalesAPointButAPointTimesARealIsUndefined)
{
    EXPECT_TRUE(IsPair(ValueMultiply(Real(2.0L), P), 6.0L, -10.0L));
    EXPECT_TRUE(IsUndefined(ValueMultiply(P, Real(2.0L))));
    EXPECT_TRUE(IsPair(ValueScalarProduct(Real(2.0L), P), 6.0L, -10.0L));
    EXPECT_TRUE(IsUndefined(ValueScalarProduct(P, Real(2.0L))));
    EXPECT_TRUE(IsPair(ValueDivide(P, Real(2.0L)), 1.5L, -2.5L));
    EXPECT_TRUE(IsUndefined(ValueDivide(Real(2.0L), P)));
    EXPECT_TRUE(IsUndefined(ValueDivide(P, Real(0.0L))));
    EXPECT_TRUE(IsReal(ValueDivide(Real(1.0L), Real(4.0L)), 0.25L));
}

TEST_F(OperatorBuiltinsTest, TwoPointsGiveTheirDotProductInRealModeAndTheComplexProductInComplexMode)
{
    EXPECT_TRUE(IsReal(ValueMultiply(P, Q), 6.0L - 35.0L));
    EXPECT_TRUE(IsUndefined(ValueScalarProduct(P, Q)));
    UseComplex();
    // (3 − 5i)(2 + 7i) = 41 + 11i
    EXPECT_TRUE(IsPair(ValueMultiply(P, Q), 41.0L, 11.0L));
    EXPECT_TRUE(IsPair(ValueScalarProduct(P, Q), 41.0L, 11.0L));
    EXPECT_TRUE(IsPair(ValueMultiply(P, Real(2.0L)), 6.0L, -10.0L));
    // 2 / i = −2i
    EXPECT_TRUE(IsPair(ValueDivide(Real(2.0L), Pair(0.0L, 1.0L)), 0.0L, -2.0L));
    EXPECT_TRUE(IsPair(ValueDivide(Q, P), (6.0L - 35.0L) / 34.0L, (21.0L + 10.0L) / 34.0L, 1E-18L));
}

TEST_F(OperatorBuiltinsTest, RealPowers)
{
    struct Case {
        long double base, exponent, expected;
    };
    const Case cases[] = {
        {2.0L, 3.0L, 8.0L},          {3.0L, 2.0L, 9.0L},      {-2.0L, 3.0L, -8.0L},
        {-2.0L, 2.0L, 4.0L},         {-2.0L, -3.0L, -0.125L}, {2.0L, -3.0L, 0.125L},
        {0.0L, 0.0L, 1.0L},          {0.0L, 2.5L, 0.0L},      {2.0L, 30.0L, 1073741824.0L},
        {10.0L, 21.0L, 1E21L},       {-3.0L, 25.0L, -847288609443.0L},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(IsReal(ValuePower(Real(c.base), Real(c.exponent)), c.expected))
            << c.base << " ^ " << c.exponent;
    }
    EXPECT_TRUE(IsReal(ValuePower(Real(2.0L), Real(0.5L)), std::sqrt(2.0L), 1E-18L));
    EXPECT_TRUE(IsUndefined(ValuePower(Real(-8.0L), Real(1.0L / 3.0L))));
    EXPECT_TRUE(IsUndefined(ValuePower(Real(0.0L), Real(-1.0L))));
    EXPECT_TRUE(IsUndefined(ValuePower(Real(10.0L), Real(3000.0L))));
    EXPECT_TRUE(IsUndefined(ValuePower(Real(2.0L), Undefined())));
}

TEST_F(OperatorBuiltinsTest, PowersTooSmallForTheRangeAreUndefinedEvenWhenTheyUnderflowToZero)
{
    // 0.5^9000 lies below the range; 0.5^20000 is smaller still, not 0.
    const long double cases[][2] = {{0.5L, 9000.0L}, {0.5L, 20000.0L}, {1E-300L, 20.0L}, {-0.5L, 20001.0L},
                                    {10.0L, -6000.0L}};
    for (const auto& c : cases)
        EXPECT_TRUE(IsUndefined(ValuePower(Real(c[0]), Real(c[1])))) << c[0] << " ^ " << c[1];
    EXPECT_TRUE(IsReal(ValuePower(Real(0.0L), Real(20000.0L)), 0.0L));
}

TEST_F(OperatorBuiltinsTest, APointSquaredIsItsLengthSquared)
{
    EXPECT_TRUE(IsReal(ValuePower(Pair(3.0L, 4.0L), Real(2.0L)), 25.0L));
    EXPECT_TRUE(IsUndefined(ValuePower(Pair(3.0L, 4.0L), Real(3.0L))));
    EXPECT_TRUE(IsUndefined(ValuePower(Real(2.0L), Pair(3.0L, 4.0L))));
}

TEST_F(OperatorBuiltinsTest, ComplexPowers)
{
    UseComplex();
    EXPECT_TRUE(IsPair(ValuePower(Pair(0.0L, 1.0L), Real(2.0L)), -1.0L, 0.0L));
    EXPECT_TRUE(IsPair(ValuePower(Pair(1.0L, 1.0L), Real(3.0L)), -2.0L, 2.0L));
    EXPECT_TRUE(IsPair(ValuePower(Real(-8.0L), Real(1.0L / 3.0L)), 1.0L, std::sqrt(3.0L), 1E-17L));
    // i^i = e^(−π/2)
    EXPECT_TRUE(IsPair(ValuePower(Pair(0.0L, 1.0L), Pair(0.0L, 1.0L)), std::exp(-std::acos(0.0L)), 0.0L, 1E-18L));
    // Real operands with a real result stay real and exact.
    EXPECT_TRUE(IsReal(ValuePower(Real(2.0L), Real(30.0L)), 1073741824.0L));
    EXPECT_TRUE(IsReal(ValuePower(Real(0.0L), Real(0.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValuePower(Real(0.0L), Real(-1.0L))));
    // Two real operands that have no power give an undefined real, as in real mode.
    EXPECT_EQ(ValuePower(Real(0.0L), Real(-1.0L)).Kind, KindReal);
    EXPECT_EQ(ValuePower(Pair(0.0L, 0.0L), Real(-1.0L)).Kind, KindPair);
}

TEST_F(OperatorBuiltinsTest, OrderComparisonsNeedReals)
{
    EXPECT_TRUE(IsReal(ValueLess(Real(1.0L), Real(2.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueLess(Real(2.0L), Real(1.0L))));
    EXPECT_TRUE(IsReal(ValueGreater(Real(2.0L), Real(1.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueGreater(Real(1.0L), Real(2.0L))));
    EXPECT_TRUE(IsReal(ValueLessEq(Real(1.0L), Real(1.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueLessEq(Real(2.0L), Real(1.0L))));
    EXPECT_TRUE(IsReal(ValueGreaterEq(Real(1.0L), Real(1.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueGreaterEq(Real(1.0L), Real(2.0L))));
    EXPECT_TRUE(IsUndefined(ValueLess(Real(1.0L), P)));
    EXPECT_TRUE(IsUndefined(ValueLess(Undefined(), Real(2.0L))));
}

TEST_F(OperatorBuiltinsTest, EqualityHasATolerance)
{
    EXPECT_TRUE(IsReal(ValueEqual(Real(1.0L), Real(1.0000000001L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueEqual(Real(1.0L), Real(1.00000001L))));
    EXPECT_TRUE(IsUndefined(ValueEqual(Pair(1.0L, 2.0L), Real(1.0L))));
    EXPECT_TRUE(IsReal(ValueEqual(Pair(1.0L, 2.0L), Pair(1.0L, 2.0000000001L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueEqual(Pair(1.0L, 2.0L), Pair(1.0L, 3.0L))));
    EXPECT_TRUE(IsUndefined(ValueEqual(Undefined(), Undefined())));

    EXPECT_TRUE(IsUndefined(ValueNotEqual(Real(1.0L), Real(1.0000000001L))));
    EXPECT_TRUE(IsReal(ValueNotEqual(Pair(1.0L, 2.0L), Pair(1.0L, 3.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueNotEqual(Pair(1.0L, 2.0L), Real(1.0L))));
}

TEST_F(OperatorBuiltinsTest, LogicTreatsUndefinedAsFalse)
{
    EXPECT_TRUE(IsReal(ValueAnd(Real(2.0L), Real(5.0L)), 5.0L));
    EXPECT_TRUE(IsReal(ValueAnd(Real(5.0L), Real(2.0L)), 5.0L));
    EXPECT_TRUE(IsUndefined(ValueAnd(Real(2.0L), Undefined())));
    EXPECT_TRUE(IsReal(ValueOr(Real(2.0L), Undefined()), 2.0L));
    EXPECT_TRUE(IsReal(ValueOr(Undefined(), Real(3.0L)), 3.0L));
    EXPECT_TRUE(IsReal(ValueOr(Real(2.0L), Real(5.0L)), 5.0L));
    EXPECT_TRUE(IsReal(ValueOr(Real(5.0L), Real(2.0L)), 5.0L));
    EXPECT_TRUE(IsUndefined(ValueOr(Undefined(), Undefined())));

    EXPECT_TRUE(IsReal(ValueNot(Undefined()), 1.0L));
    EXPECT_TRUE(IsReal(ValueNot(Undefined(KindNone)), 1.0L));
    EXPECT_TRUE(IsPair(ValueNot(Undefined(KindPair)), 1.0L, 0.0L));
    EXPECT_TRUE(IsUndefined(ValueNot(Real(5.0L))));
}

// A failed operation gives an undefined real, whatever the kinds of its
// operands; only the power, "or", a result out of range and the functions
// that keep the argument's kind say otherwise.
TEST_F(OperatorBuiltinsTest, FailuresInRealModeAreUndefinedReals)
{
    const TValue noPoint = Undefined(KindPair);
    ExpectFailureKinds({
        {"P + undefined pair", ValueAddCore(P, noPoint), KindReal},
        {"undefined pair + undefined pair", ValueAddCore(noPoint, noPoint), KindReal},
        {"sign + undefined pair", ValueAddCore(SZeroValue, noPoint), KindReal},
        {"1 + P", ValueAddCore(Real(1.0L), P), KindReal},
        {"P - undefined pair", ValueSubtract(P, noPoint), KindReal},
        {"sign - undefined pair", ValueSubtract(SZeroValue, noPoint), KindReal},
        {"2 x undefined pair", ValueScalarProduct(Real(2.0L), noPoint), KindReal},
        {"undefined x P", ValueScalarProduct(Undefined(), P), KindReal},
        {"P x Q", ValueScalarProduct(P, Q), KindReal},
        {"2 . undefined pair", ValueMultiply(Real(2.0L), noPoint), KindReal},
        {"P . undefined pair", ValueMultiply(P, noPoint), KindReal},
        {"P . 2", ValueMultiply(P, Real(2.0L)), KindReal},
        {"undefined pair / 2", ValueDivide(noPoint, Real(2.0L)), KindReal},
        {"P / 0", ValueDivide(P, Real(0.0L)), KindReal},
        {"P / undefined", ValueDivide(P, Undefined()), KindReal},
        {"(3, 4) ^ 3", ValuePower(Pair(3.0L, 4.0L), Real(3.0L)), KindReal},
        {"undefined pair ^ 2", ValuePower(noPoint, Real(2.0L)), KindReal},
        {"P and undefined pair", ValueAnd(P, noPoint), KindReal},
        // "or" hands back its left operand when neither is defined.
        {"undefined pair or undefined", ValueOr(noPoint, Undefined()), KindPair},
        // A result outside the usable range keeps the kind it was computed in.
        {"P + (0, 1E2415)", ValueAddCore(P, Pair(0.0L, 1E2415L)), KindPair},
    });
    // "not" copies its argument's kind, so a failed product must not pass as a point.
    EXPECT_TRUE(IsReal(ValueNot(ValueMultiply(Real(2.0L), noPoint)), 1.0L));
}

TEST_F(OperatorBuiltinsTest, FailuresInComplexModeAreUndefinedRealsExceptForThePower)
{
    UseComplex();
    const TValue noPoint = Undefined(KindPair);
    ExpectFailureKinds({
        {"1 + undefined pair", ValueAddCore(Real(1.0L), noPoint), KindReal},
        {"undefined + P", ValueAddCore(Undefined(), P), KindReal},
        {"P x undefined pair", ValueScalarProduct(P, noPoint), KindReal},
        {"P . undefined", ValueMultiply(P, Undefined()), KindReal},
        {"1 / undefined pair", ValueDivide(Real(1.0L), noPoint), KindReal},
        {"P / (0, 0)", ValueDivide(P, Pair(0.0L, 0.0L)), KindReal},
        {"0 ^ -1", ValuePower(Real(0.0L), Real(-1.0L)), KindReal},
        // Not both operands real: the power starts as an undefined pair.
        {"(0, 0) ^ -1", ValuePower(Pair(0.0L, 0.0L), Real(-1.0L)), KindPair},
        {"2 ^ undefined pair", ValuePower(Real(2.0L), noPoint), KindPair},
    });
}

TEST_F(OperatorBuiltinsTest, KernelEntryPoints)
{
    EXPECT_TRUE(IsReal(ValueAdd(Real(2.0L), Real(3.0L)), 5.0L));
    EXPECT_TRUE(IsReal(ValueSub(Real(2.0L), Real(3.0L)), -1.0L));
    EXPECT_TRUE(IsReal(ValueMul(P, Q), -29.0L));
    EXPECT_TRUE(IsPair(ValueMulReal(2.0L, P), 6.0L, -10.0L));
    EXPECT_TRUE(IsReal(ValueDiv(Real(1.0L), Real(8.0L)), 0.125L));
    EXPECT_TRUE(IsPair(ValueDivReal(P, 2.0L), 1.5L, -2.5L));
}

} // namespace
