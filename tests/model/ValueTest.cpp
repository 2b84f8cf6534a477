#include "model/Options.h"
#include "model/Value.h"

#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

class ValueTest : public ::testing::Test {
protected:
    void SetUp() override { Options.Reset(); }
    void TearDown() override { Options.Reset(); }
};

void ExpectValue(const TValue& v, int kind, long double x, long double y, int defined)
{
    EXPECT_EQ(v.Kind, kind);
    EXPECT_EQ(v.X, x);
    EXPECT_EQ(v.Y, y);
    EXPECT_EQ(v.Defined, defined);
}

TEST_F(ValueTest, ConstructorsKeepTheInvariants)
{
    ExpectValue(ValueReal(2.5L), KindReal, 2.5L, 0.0L, 1);
    ExpectValue(ValuePoint(1.0L, -3.0L), KindPair, 1.0L, -3.0L, 1);
    ExpectValue(ValueUndefined(KindPair), KindPair, 0.0L, 0.0L, 0);
    ExpectValue(BoolToValue(true), KindReal, 1.0L, 0.0L, 1);
    ExpectValue(BoolToValue(false), KindNone, 0.0L, 0.0L, 0);
}

TEST_F(ValueTest, MakePointNeedsTwoDefinedReals)
{
    ExpectValue(ValueMakePoint(ValueReal(1.0L), ValueReal(2.0L)), KindPair, 1.0L, 2.0L, 1);
    ExpectValue(ValueMakePoint(ValueReal(1.0L), ValueUndefined(KindReal)), KindPair, 0, 0, 0);
    ExpectValue(ValueMakePoint(ValuePoint(1.0L, 2.0L), ValueReal(2.0L)), KindPair, 0, 0, 0);
}

TEST_F(ValueTest, ToPointKeepsPairsAndWidensReals)
{
    ExpectValue(ValueToPoint(ValueReal(4.0L)), KindPair, 4.0L, 0.0L, 1);
    ExpectValue(ValueToPoint(ValuePoint(4.0L, 5.0L)), KindPair, 4.0L, 5.0L, 1);
    ExpectValue(ValueToPoint(ValueUndefined(KindPair)), KindPair, 0, 0, 0);
    ExpectValue(ValueToPoint(ValueUndefined(KindReal)), KindPair, 0, 0, 0);
}

TEST_F(ValueTest, NotRealRefusesUndefinedAndPairs)
{
    EXPECT_FALSE(NotRealValue(ValueReal(1.0L)));
    EXPECT_TRUE(NotRealValue(ValuePoint(1.0L, 2.0L)));
    EXPECT_TRUE(NotRealValue(ValueUndefined(KindReal)));
    EXPECT_FALSE(NotRealValues(ValueReal(1.0L), ValueReal(2.0L)));
    EXPECT_TRUE(NotRealValues(ValueReal(1.0L), ValuePoint(2.0L, 0.0L)));
    EXPECT_TRUE(NotRealValues(ValueUndefined(KindReal), ValueReal(2.0L)));
}

TEST_F(ValueTest, ComplexModeCheckPresetsTheFailureValue)
{
    TValue result;
    EXPECT_TRUE(ValueComplexModeCheck(ValueReal(1.0L), result));
    ExpectValue(result, KindReal, 0, 0, 0);
    EXPECT_FALSE(ValueComplexModeCheck(ValuePoint(1.0L, 1.0L), result));
    ExpectValue(result, KindReal, 0, 0, 0);

    Options.ComplexMode = 1;
    EXPECT_TRUE(ValueComplexModeCheck(ValuePoint(1.0L, 1.0L), result));
    ExpectValue(result, KindPair, 0, 0, 0);
    EXPECT_FALSE(ValueComplexModeCheck(ValueUndefined(KindPair), result));
    EXPECT_FALSE(ValueComplexModeCheck(ValueUndefined(KindNone), result));
    ExpectValue(result, KindNone, 0, 0, 0);
}

TEST_F(ValueTest, CheckRangeRefusesWhatLeftTheUsableRange)
{
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    struct Case {
        TValue v;
        bool ok;
    };
    const std::vector<Case> cases = {
        {ValueReal(0.0L), true},
        {ValueReal(-0.0L), true},
        {ValueReal(1E-3000L), false},
        {ValueReal(1E-2414L), true},
        {ValueReal(1E2414L), true},
        {ValueReal(-1E2414L), true},
        {ValueReal(1E2415L), false},
        {ValueReal(nan), false},
        {ValueReal(inf), false},
        {ValuePoint(1.0L, 1E3000L), false},
        {ValuePoint(1.0L, nan), false},
        {ValuePoint(0.0L, -2.0L), true},
        {ValueUndefined(KindReal), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueCheckRange(c.v), c.ok) << static_cast<double>(c.v.X) << ", " << static_cast<double>(c.v.Y);
}

TEST_F(ValueTest, SnapToIntegerTruncatesOnlyNearIntegersAbove)
{
    EXPECT_EQ(SnapToInteger(3.00000000000000000001L), 3.0L);
    EXPECT_EQ(SnapToInteger(-2.0000000000000000001L), -2.0L);
    EXPECT_EQ(SnapToInteger(3.000001L), 3.000001L);
    EXPECT_EQ(SnapToInteger(5.0L + 8E-18L), 5.0L);
    EXPECT_EQ(SnapToInteger(-5.0L - 8E-18L), -5.0L);
    EXPECT_EQ(SnapToInteger(5.0L + 1E-16L), 5.0L + 1E-16L);

    const TValue snapped = ValueSnap(ValuePoint(7.0L + 4E-18L, -1.5L));
    ExpectValue(snapped, KindPair, 7.0L, -1.5L, 1);
}

TEST_F(ValueTest, ComponentSelectorsDependOnComplexMode)
{
    ExpectValue(ValueX(ValueReal(5.0L)), KindReal, 0, 0, 0);
    ExpectValue(ValueY(ValueReal(5.0L)), KindReal, 0, 0, 0);
    ExpectValue(ValueX(ValuePoint(1.0L, 2.0L)), KindReal, 1.0L, 0, 1);
    ExpectValue(ValueY(ValuePoint(1.0L, 2.0L)), KindReal, 2.0L, 0, 1);
    ExpectValue(ValueY(ValueUndefined(KindPair)), KindReal, 0, 0, 0);

    Options.ComplexMode = 1;
    ExpectValue(ValueX(ValueReal(5.0L)), KindReal, 5.0L, 0, 1);
    ExpectValue(ValueY(ValueReal(5.0L)), KindReal, 0.0L, 0, 1);
    ExpectValue(ValueX(ValueUndefined(KindReal)), KindReal, 0, 0, 0);
}

TEST_F(ValueTest, CollectRealArgsKeepsTheReversedOrder)
{
    // The call f((1,2), 3, (4,5)) arrives as (4,5), 3, (1,2).
    const TValue args[] = {ValuePoint(4.0L, 5.0L), ValueReal(3.0L), ValuePoint(1.0L, 2.0L)};
    const TValueList reals = CollectRealArgs(args);
    ASSERT_EQ(reals.size(), 5);
    const long double expected[] = {5.0L, 4.0L, 3.0L, 2.0L, 1.0L};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(reals[i].Kind, KindReal);
        EXPECT_EQ(reals[i].X, expected[i]) << i;
    }

    const TValue undefinedPair[] = {ValueUndefined(KindPair)};
    const TValueList two = CollectRealArgs(undefinedPair);
    ASSERT_EQ(two.size(), 2);
    EXPECT_FALSE(two[0].Defined);
    EXPECT_FALSE(two[1].Defined);
}

TEST_F(ValueTest, CollectPointArgsPairsConsecutiveCoordinates)
{
    // (x1, y1, x2, y2) reversed: y2, x2, y1, x1.
    const TValue args[] = {ValueReal(4.0L), ValueReal(3.0L), ValueReal(2.0L), ValueReal(1.0L)};
    const TValueList points = CollectPointArgs(args);
    ASSERT_EQ(points.size(), 2);
    ExpectValue(points[0], KindPair, 3.0L, 4.0L, 1);
    ExpectValue(points[1], KindPair, 1.0L, 2.0L, 1);

    // A point and two reals make two points as well.
    const TValue mixed[] = {ValueReal(9.0L), ValueReal(8.0L), ValuePoint(1.0L, 2.0L)};
    const TValueList fromMixed = CollectPointArgs(mixed);
    ASSERT_EQ(fromMixed.size(), 2);
    ExpectValue(fromMixed[0], KindPair, 8.0L, 9.0L, 1);
    ExpectValue(fromMixed[1], KindPair, 1.0L, 2.0L, 1);

    const TValue three[] = {ValueReal(3.0L), ValueReal(2.0L), ValueReal(1.0L)};
    EXPECT_TRUE(CollectPointArgs(three).empty());
}

TEST_F(ValueTest, CollectArgsRefusesMoreThanTheArgumentLimit)
{
    std::vector<TValue> many(MaxArgumentCount + 1, ValuePoint(1.0L, 2.0L));
    EXPECT_TRUE(CollectRealArgs(many).empty());
    EXPECT_TRUE(CollectPointArgs(many).empty());
    many.pop_back();
    EXPECT_EQ(CollectPointArgs(many).size(), MaxArgumentCount);
}

TEST_F(ValueTest, CheckArgKindsComparesInWrittenOrder)
{
    // Written as (point, real): reversed in args.
    const TValue args[] = {ValueReal(1.0L), ValuePoint(0.0L, 0.0L)};
    const std::uint8_t pointThenReal[] = {KindPair, KindReal};
    const std::uint8_t realThenPoint[] = {KindReal, KindPair};
    const std::uint8_t justPoint[] = {KindPair};
    EXPECT_TRUE(CheckArgKinds(args, pointThenReal));
    EXPECT_FALSE(CheckArgKinds(args, realThenPoint));
    EXPECT_FALSE(CheckArgKinds(args, justPoint));
}

} // namespace
