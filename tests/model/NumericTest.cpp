#include "model/Numeric.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

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
