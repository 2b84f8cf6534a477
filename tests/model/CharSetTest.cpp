#include "model/CharSet.h"

#include <gtest/gtest.h>

namespace {

TEST(CharSetTest, CodesAboveTheRangeAreNeverMembers)
{
    TWideCharSet set;
    CharSetIncludeRange(set, 0, 65535);
    EXPECT_TRUE(CharSetHas(set, 0));
    EXPECT_TRUE(CharSetHas(set, 1000));
    EXPECT_FALSE(CharSetHas(set, 1001));
    EXPECT_FALSE(CharSetHas(set, 65535));
    EXPECT_EQ(set.Flags.count(), 1001u);
    EXPECT_FALSE(CharSetHasIndex(set, -1));
    EXPECT_FALSE(CharSetHasIndex(set, 1001));
}

TEST(CharSetTest, IncludeRangeClipsAndIgnoresEmptyRanges)
{
    TWideCharSet set;
    CharSetIncludeRange(set, -5, 3);
    EXPECT_EQ(set.Flags.count(), 4u);
    EXPECT_TRUE(CharSetHasIndex(set, 0));
    EXPECT_TRUE(CharSetHasIndex(set, 3));
    EXPECT_FALSE(CharSetHasIndex(set, 4));

    TWideCharSet none;
    CharSetIncludeRange(none, 7, 6);
    EXPECT_TRUE(CharSetIsEmpty(none));

    TWideCharSet letters;
    CharSetIncludeCharRange(letters, u'a', u'z');
    EXPECT_EQ(letters.Flags.count(), 26u);
}

TEST(CharSetTest, FromStringSkipsCodesAboveTheRange)
{
    const TWideCharSet set = CharSetFromString(u"ab\u4E2D\u00B0");
    EXPECT_TRUE(CharSetHas(set, u'a'));
    EXPECT_TRUE(CharSetHas(set, u'b'));
    EXPECT_TRUE(CharSetHas(set, u'\u00B0'));
    EXPECT_EQ(set.Flags.count(), 3u);

    const TWideCharSet one = CharSetFromString(QStringView(u"\u00C4"));
    EXPECT_EQ(one.Flags.count(), 1u);
}

TEST(CharSetTest, UnionDifferenceAndEquality)
{
    TWideCharSet a, b;
    CharSetIncludeRange(a, 10, 20);
    CharSetIncludeRange(b, 15, 25);
    const TWideCharSet u = CharSetUnion(a, b);
    EXPECT_EQ(u.Flags.count(), 16u);
    const TWideCharSet d = CharSetDifference(a, b);
    EXPECT_EQ(d.Flags.count(), 5u);
    EXPECT_TRUE(CharSetHas(d, 14));
    EXPECT_FALSE(CharSetHas(d, 15));
    // The operands are values: neither changed.
    EXPECT_EQ(a.Flags.count(), 11u);
    EXPECT_EQ(b.Flags.count(), 11u);

    EXPECT_TRUE(CharSetIsEmpty(CharSetDifference(a, a)));
    EXPECT_TRUE(CharSetEquals(TWideCharSet{}, TWideCharSet{}));
    EXPECT_FALSE(CharSetEquals(a, b));
    CharSetClear(a);
    EXPECT_TRUE(CharSetIsEmpty(a));
}

} // namespace
