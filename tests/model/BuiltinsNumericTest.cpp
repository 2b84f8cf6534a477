#include "model/BuiltinsNumeric.h"
#include "model/DocumentState.h"
#include "model/ViewRange.h"
#include "platform/fakes/FakeInputState.h"
#include "tests/model/BuiltinsTest.h"

#include <cmath>
#include <numbers>
#include <set>

namespace {

using namespace testvalues;

class NumericBuiltinsTest : public BuiltinsTest {
protected:
    void SetUp() override
    {
        BuiltinsTest::SetUp();
        ClearTable();
        ViewRange.Reset();
    }
    void TearDown() override
    {
        ClearTable();
        ViewRange.Reset();
        BuiltinsTest::TearDown();
    }
};

struct OneArgumentCase {
    long double argument;
    long double expected;
};

void ExpectRealResults(TValue (*routine)(const TValue&), std::initializer_list<OneArgumentCase> cases)
{
    for (const OneArgumentCase& c : cases)
        EXPECT_TRUE(IsReal(routine(Real(c.argument)), c.expected)) << "argument " << c.argument;
}

TEST_F(NumericBuiltinsTest, Rounding)
{
    ExpectRealResults(ValueInt, {{-2.5L, -3.0L}, {2.9999999999L, 3.0L}, {-0.0000000001L, 0.0L}, {3.7L, 3.0L}});
    ExpectRealResults(ValueRound, {{2.5L, 3.0L}, {-2.5L, -3.0L}, {2.4L, 2.0L}, {-0.3L, 0.0L}});
    EXPECT_FALSE(std::signbit(ValueRound(Real(-0.3L)).X));
    ExpectRealResults(ValueFrc, {{-0.25L, 0.75L}, {2.9999999999L, 0.0L}, {3.25L, 0.25L}});
    EXPECT_TRUE(IsUndefined(ValueInt(Pair(1.0L, 2.0L))));
    EXPECT_EQ(FloorWithTolerance(-1.0000000001L), -1.0L);
}

TEST_F(NumericBuiltinsTest, ModIsFlooredWithTheDivisorsSign)
{
    EXPECT_TRUE(IsReal(ValueMod(Real(-7.0L), Real(3.0L)), 2.0L));
    EXPECT_TRUE(IsReal(ValueMod(Real(7.0L), Real(-3.0L)), -2.0L));
    EXPECT_TRUE(IsReal(ValueMod(Real(3.0L), Real(7.0L)), 3.0L));
    EXPECT_TRUE(IsReal(ValueMod(Real(7.4L), Real(3.0L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValueMod(Real(7.0L), Real(0.0L))));
    EXPECT_TRUE(IsUndefined(ValueMod(Real(3E9L), Real(7.0L))));
}

TEST_F(NumericBuiltinsTest, GcdAndLcm)
{
    EXPECT_TRUE(IsReal(ValueGcd(Real(12.0L), Real(-18.0L)), 6.0L));
    EXPECT_TRUE(IsUndefined(ValueGcd(Real(0.0L), Real(5.0L))));
    EXPECT_TRUE(IsReal(ValueLcm(Real(4.0L), Real(6.0L)), 12.0L));
    EXPECT_TRUE(IsReal(ValueLcm(Real(-4.0L), Real(6.0L)), -12.0L));
    // Beyond 32 bits the product is still exact.
    EXPECT_TRUE(IsReal(ValueLcm(Real(2147483646.0L), Real(2147483645.0L)), 4611686007689969670.0L));
    EXPECT_TRUE(IsUndefined(ValueLcm(Real(4.0L), Undefined())));
}

TEST_F(NumericBuiltinsTest, BinomialCoefficients)
{
    EXPECT_TRUE(IsReal(ValueNCr(Real(5.0L), Real(2.0L)), 10.0L));
    EXPECT_TRUE(IsReal(ValueNCr(Real(10.0L), Real(7.0L)), 120.0L));
    EXPECT_TRUE(IsReal(ValueNCr(Real(2000000000.0L), Real(1.0L)), 2000000000.0L));
    EXPECT_TRUE(IsReal(ValueNCr(Real(2147483647.0L), Real(1.0L)), 2147483647.0L));
    // Above the 32-bit range, even when it would round back into it.
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(2147483647.5L), Real(1.0L))));
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(2147483647.0L), Real(2147483647.2L))));
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(2.0L), Real(5.0L))));
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(5.0L), Real(7.0L))));
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(5.0L), Real(-1.0L))));
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(10000.0L), Real(5000.0L))));
    EXPECT_TRUE(IsUndefined(ValueNCr(Real(2000000000.0L), Real(1000000000.0L))));
}

TEST_F(NumericBuiltinsTest, FactorialStopsAtTheRange)
{
    ExpectRealResults(ValueFactorial, {{0.0L, 1.0L}, {0.4L, 1.0L}, {5.0L, 120.0L}, {20.0L, 2432902008176640000.0L}});
    EXPECT_TRUE(ValueFactorial(Real(948.0L)).Defined);
    EXPECT_TRUE(IsUndefined(ValueFactorial(Real(949.0L))));
    EXPECT_TRUE(IsUndefined(ValueFactorial(Real(1751.0L))));
    EXPECT_TRUE(IsUndefined(ValueFactorial(Real(-1.0L))));
}

TEST_F(NumericBuiltinsTest, Gamma)
{
    const long double rootPi = std::sqrt(std::numbers::pi_v<long double>);
    EXPECT_TRUE(IsReal(ValueGamma(Real(0.5L)), 1.77245385090551603L, 1.77245385090551603L * 1E-15L));
    EXPECT_TRUE(IsReal(ValueGamma(Real(0.5L)), rootPi, rootPi * 1E-15L));
    EXPECT_TRUE(IsReal(ValueGamma(Real(5.0L)), 24.0L, 24.0L * 1E-15L));
    EXPECT_TRUE(IsReal(ValueGamma(Real(-2.5L)), -8.0L / 15.0L * rootPi, 1E-15L));
    EXPECT_TRUE(IsReal(ValueGamma(Real(30.0L)), 8841761993739701954543616000000.0L, 1E16L));
    EXPECT_TRUE(IsUndefined(ValueGamma(Real(-2.0L))));
    EXPECT_TRUE(IsUndefined(ValueGamma(Real(0.0L))));
    EXPECT_TRUE(IsUndefined(ValueGamma(Real(1751.0L))));
    // Far below zero Γ is too small to be a value; these must not loop.
    EXPECT_TRUE(IsUndefined(ValueGamma(Real(-1759.5L))));
    EXPECT_TRUE(IsUndefined(ValueGamma(Real(-1E30L))));
}

TEST_F(NumericBuiltinsTest, Beta)
{
    const long double pi = std::numbers::pi_v<long double>;
    EXPECT_TRUE(IsReal(ValueBeta(Real(2.0L), Real(3.0L)), 1.0L / 12.0L, 1E-17L));
    EXPECT_TRUE(IsReal(ValueBeta(Real(0.5L), Real(0.5L)), pi, pi * 1E-15L));
    EXPECT_TRUE(IsReal(ValueBeta(Real(20.5L), Real(3.0L)), 2.0L / (20.5L * 21.5L * 22.5L), 1E-18L));
    // Large arguments: from logarithms of Γ, never by stepping.
    EXPECT_TRUE(IsReal(ValueBeta(Real(1E30L), Real(1.0L)), 1E-30L, 1E-42L));
    EXPECT_TRUE(IsReal(ValueBeta(Real(2.0L), Real(5000.0L)), 1.0L / (5000.0L * 5001.0L), 1E-20L));
    EXPECT_TRUE(IsUndefined(ValueBeta(Real(1E300L), Real(1E300L))));
    EXPECT_TRUE(IsUndefined(ValueBeta(Real(0.0L), Real(1.0L))));
    EXPECT_TRUE(IsUndefined(ValueBeta(Real(1.0L), Pair(1.0L, 1.0L))));
}

TEST_F(NumericBuiltinsTest, RandomNumbers)
{
    SeedRandom(42);
    std::set<long double> faces;
    for (int i = 0; i < 200; ++i) {
        const TValue die = ValueRnd(Real(6.0L));
        ASSERT_TRUE(die.Defined);
        ASSERT_EQ(die.X, std::trunc(die.X));
        ASSERT_GE(die.X, 0.0L);
        ASSERT_LE(die.X, 5.0L);
        faces.insert(die.X);
        const TValue fraction = ValueRnd(Real(1.0L));
        ASSERT_TRUE(fraction.Defined);
        ASSERT_GE(fraction.X, 0.0L);
        ASSERT_LT(fraction.X, 1.0L);
    }
    EXPECT_EQ(faces.size(), 6u);

    SeedRandom(7);
    const long double first = ValueRnd(Real(1000.0L)).X;
    SeedRandom(7);
    EXPECT_EQ(ValueRnd(Real(1000.0L)).X, first);

    EXPECT_TRUE(IsUndefined(ValueRnd(Real(0.4L))));
    EXPECT_TRUE(IsUndefined(ValueRnd(Real(0.5L))));
    EXPECT_TRUE(ValueRnd(Real(0.6L)).Defined);
    EXPECT_TRUE(IsUndefined(ValueRnd(Real(3E9L))));
}

TEST_F(NumericBuiltinsTest, MaxAndMinReadTheListInWrittenOrder)
{
    EXPECT_TRUE(IsReal(FuncMax(Args({Real(1.0L), Real(3.0L), Real(2.0L)})), 3.0L));
    EXPECT_TRUE(IsReal(FuncMin(Args({Real(4.0L), Real(-1.0L), Real(2.0L)})), -1.0L));
    EXPECT_TRUE(IsReal(FuncMax(Args({Undefined(), Real(2.0L)})), 2.0L));
    EXPECT_TRUE(IsUndefined(FuncMax(Args({Undefined(), Undefined()}))));
    EXPECT_TRUE(IsUndefined(FuncMax(Args({Real(1.0L), Real(2.0L), Pair(5.0L, 5.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncMin(Args({}))));
}

TEST_F(NumericBuiltinsTest, PressedReadsTheKeyState)
{
    platform::FakeInputState keys;
    platform::ScopedInputState installed(keys);
    keys.setKeyDown(platform::VkA);
    EXPECT_TRUE(IsReal(ValuePressed(Real(65.0L)), 1.0L));
    EXPECT_TRUE(IsReal(ValuePressed(Real(64.6L)), 1.0L));
    EXPECT_TRUE(IsUndefined(ValuePressed(Real(66.0L))));
    EXPECT_TRUE(IsUndefined(ValuePressed(Real(0.0L))));
    EXPECT_TRUE(IsUndefined(ValuePressed(Real(1001.0L))));
    EXPECT_TRUE(IsUndefined(ValuePressed(Real(999.0L))));
}

TEST_F(NumericBuiltinsTest, CellsReadTheTable)
{
    EXPECT_TRUE(IsReal(FuncCells(Real(3.0L), Real(0.0L)), 3.0L));
    SetCellValue(2, 4, Real(7.5L), QString());
    SetCellValue(2, 5, Real(-1.0L), QString());
    EXPECT_TRUE(IsReal(FuncCells(Real(2.0L), Real(4.0L)), 7.5L));
    EXPECT_TRUE(IsUndefined(FuncCells(Real(4.0L), Real(2.0L))));
    EXPECT_TRUE(IsPair(FuncCellsP(Real(2.0L), Real(4.0L)), 7.5L, -1.0L));
    EXPECT_TRUE(IsUndefined(FuncCellsP(Real(2.0L), Real(5.0L))));
    EXPECT_TRUE(IsUndefined(FuncCellsP(Real(1.0L), Real(10.0L))));
    EXPECT_TRUE(IsUndefined(FuncCells(Real(201.0L), Real(1.0L))));
    EXPECT_TRUE(IsUndefined(FuncCells(Real(1.0L), Real(-1.0L))));
}

TEST_F(NumericBuiltinsTest, FailuresAreUndefinedReals)
{
    const TValue P = Pair(1.0L, 2.0L);
    ExpectFailureKinds({
        {"CellsP(1, 10)", FuncCellsP(Real(1.0L), Real(10.0L)), KindReal},
        {"CellsP of an empty cell", FuncCellsP(Real(2.0L), Real(5.0L)), KindReal},
        {"CellsP(P, 1)", FuncCellsP(P, Real(1.0L)), KindReal},
        {"Cells(201, 1)", FuncCells(Real(201.0L), Real(1.0L)), KindReal},
        {"int(P)", ValueInt(P), KindReal},
        {"mod(P, 3)", ValueMod(P, Real(3.0L)), KindReal},
        {"max(1, P)", FuncMax(Args({Real(1.0L), P})), KindReal},
        {"Gamma(-2)", ValueGamma(Real(-2.0L)), KindReal},
        {"1751!", ValueFactorial(Real(1751.0L)), KindReal},
    });
}

TEST_F(NumericBuiltinsTest, AreaReadsTheViewRanges)
{
    ViewRange.XLow = -3.0L;
    ViewRange.YLow = -2.0L;
    ViewRange.XHigh = 7.0L;
    ViewRange.YHigh = 4.0L;
    // The index is x + 0.5 rounded down: -0.5 .. 3.5 reach the four edges.
    ExpectRealResults(ValueArea, {{0.0L, -3.0L}, {1.0L, -2.0L}, {2.0L, 7.0L}, {3.0L, 4.0L}, {2.4L, 7.0L},
                                  {-0.4L, -3.0L}, {-0.5L, -3.0L}, {3.4L, 4.0L}});
    for (long double k : {4.0L, 3.5L, -1.0L, -0.6L, -1.6L})
        EXPECT_TRUE(IsUndefined(ValueArea(Real(k)))) << static_cast<double>(k);
    EXPECT_EQ(ValueArea(Pair(0.0L, 0.0L)).Kind, KindNone);
}

} // namespace
