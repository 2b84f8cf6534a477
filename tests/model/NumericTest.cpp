#include "model/Numeric.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <utility>

namespace {

TEST(NumericTest, NearestIntRoundsHalvesToEven)
{
    struct Case {
        long double x;
        int n;
    };
    const Case cases[] = {{0.5L, 0},   {1.5L, 2},   {2.5L, 2},   {-0.5L, 0},  {-1.5L, -2},
                          {-2.5L, -2}, {2.4999L, 2}, {2.5001L, 3}, {-7.0L, -7}, {1E30L, INT_MAX},
                          {-1E30L, INT_MIN}};
    for (const Case& c : cases)
        EXPECT_EQ(NearestInt(c.x), c.n) << static_cast<double>(c.x);
    EXPECT_EQ(NearestInt(std::numeric_limits<long double>::quiet_NaN()), INT_MIN);
    EXPECT_EQ(NearestInt64(4294967296.5L), 4294967296LL);
    EXPECT_EQ(NearestInt64(1E30L), INT64_MAX);
    EXPECT_EQ(NearestInt64(std::numeric_limits<long double>::quiet_NaN()), INT64_MIN);
}

TEST(NumericTest, SmallHelpers)
{
    EXPECT_EQ(SignOf(-0.1L), -1);
    EXPECT_EQ(SignOf(0.0L), 0);
    EXPECT_EQ(SignOf(3.0L), 1);
    EXPECT_TRUE(SameDouble(1.0L, 1.0L + 1E-10L));
    EXPECT_FALSE(SameDouble(1.0L, 1.0L + 1E-8L));

    long double a = 2.0L, b = 1.0L;
    SortExtendedPair(a, b);
    EXPECT_EQ(a, 1.0L);
    EXPECT_EQ(b, 2.0L);
    int i = 1, j = 5;
    SortIntPairDesc(i, j);
    EXPECT_EQ(i, 5);
    EXPECT_EQ(j, 1);
}

} // namespace

namespace {

TEST(NumericTest, FloatToFractionFindsShortFractions)
{
    struct Case {
        long double x;
        std::int64_t num, den;
    };
    const Case cases[] = {{0.75L, 3, 4},      {-2.5L, -5, 2},        {0.0L, 0, 1},     {3.0L, 3, 1},
                          {1.0L / 3, 1, 3},   {0.1L, 1, 10},         {-0.125L, -1, 8}, {355.0L / 113, 355, 113},
                          {1E18L + 0.5L, 2000000000000000001LL, 2}};
    for (const Case& c : cases) {
        std::int64_t num = 99, den = 99;
        ASSERT_TRUE(FloatToFraction(c.x, num, den)) << static_cast<double>(c.x);
        EXPECT_EQ(num, c.num) << static_cast<double>(c.x);
        EXPECT_EQ(den, c.den) << static_cast<double>(c.x);
    }
}

TEST(NumericTest, FloatToFractionRefusesEndlessAndOversizedExpansions)
{
    const long double cases[] = {
        3.14159265358979323846L,       // no end within 35 terms
        1E19L,                         // integer part beyond 64 bits
        -1E30L,
        4611686018427387904.5L,        // 2^62 + 1/2: the numerator 2^63 + 1 overflows
        std::numeric_limits<long double>::infinity(),
        std::numeric_limits<long double>::quiet_NaN(),
    };
    for (long double x : cases) {
        std::int64_t num = 99, den = 99;
        EXPECT_FALSE(FloatToFraction(x, num, den)) << static_cast<double>(x);
        EXPECT_EQ(num, 0);
        EXPECT_EQ(den, 1);
    }
}

TEST(NumericTest, PowersAndLogarithmsOfTwoRoundHalvesToEven)
{
    const std::pair<int, int> powers[] = {{0, 1}, {1, 2}, {10, 1024}, {30, 1 << 30}, {-1, 0}, {-2, 0}, {40, INT_MAX}};
    for (const auto& [n, expected] : powers)
        EXPECT_EQ(PowerOfTwo(n), expected) << n;
    const std::pair<int, int> logs[] = {{-5, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 2}, {5, 2}, {6, 3}, {1024, 10}};
    for (const auto& [n, expected] : logs)
        EXPECT_EQ(RoundLog2(n), expected) << n;
}

TEST(NumericTest, IsNearZeroIncludesItsBound)
{
    EXPECT_TRUE(IsNearZero(0.0L));
    EXPECT_TRUE(IsNearZero(1E-11L));
    EXPECT_TRUE(IsNearZero(-1E-11L));
    EXPECT_FALSE(IsNearZero(1.1E-11L));
}

} // namespace

namespace {

TEST(NumericTest, RoundingNearTheTopOfTheMantissaStaysExact)
{
    // From 2^62 the mantissa holds halves only, from 2^63 whole numbers only.
    const long double two62 = std::ldexp(1.0L, 62);
    const long double two63 = std::ldexp(1.0L, 63);
    struct Case {
        long double x, nearest, truncated;
    };
    const Case cases[] = {
        {two62 + 0.5L, two62, two62},           {two62 + 1.5L, two62 + 2.0L, two62 + 1.0L},
        {-(two62 + 1.5L), -(two62 + 2.0L), -(two62 + 1.0L)},
        {two63 - 0.5L, two63, two63 - 1.0L},   {two63 + 2.0L, two63 + 2.0L, two63 + 2.0L},
        {-1E30L, -1E30L, -1E30L},               {2.5L, 2.0L, 2.0L},
        {-2.5L, -2.0L, -2.0L},                  {-2.75L, -3.0L, -2.0L},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.x), c.nearest) << static_cast<double>(c.x);
        EXPECT_EQ(TruncateTowardZero(c.x), c.truncated) << static_cast<double>(c.x);
    }
    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(RoundHalfEven(-inf), -inf);
    EXPECT_EQ(TruncateTowardZero(inf), inf);
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::numeric_limits<long double>::quiet_NaN())));
    EXPECT_EQ(NearestInt(2147483646.5L), 2147483646);
    EXPECT_EQ(NearestInt(-2147483647.5L), INT_MIN);
}

} // namespace
