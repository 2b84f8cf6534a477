#include "render/view/RedrawState.h"

#include <gtest/gtest.h>

namespace {

class RedrawStateTest : public ::testing::Test {
protected:
    void SetUp() override { RedrawState.Reset(); }
    void TearDown() override { RedrawState.Reset(); }
};

TEST_F(RedrawStateTest, EachFlagHasItsOwnSetterAndReader)
{
    struct Case {
        void (*Set)();
        bool (*Is)();
        TDirtyFlag Flag;
    };
    const Case cases[] = {
        {SetDirtyView, IsDirtyView, DirtyView},       {SetDirtyObjects, IsDirtyObjects, DirtyObjects},
        {SetDirtyScale, IsDirtyScale, DirtyScale},    {SetDirtyFlag3, IsDirtyFlag3, DirtyFlag3},
        {SetDirtyFlag4, IsDirtyFlag4, DirtyFlag4},    {SetDirtyTraces, IsDirtyTraces, DirtyTraces},
    };
    for (const Case& c : cases) {
        RedrawState.Reset();
        c.Set();
        for (const Case& other : cases)
            EXPECT_EQ(other.Is(), other.Flag == c.Flag) << c.Flag << " " << other.Flag;
    }
}

TEST_F(RedrawStateTest, NamesAccumulateUntilCleared)
{
    MarkNamesChanged(u"\x0005\x0009");
    MarkNameRangeChanged(20, 23);
    MarkNamesChanged(u"\x0005");
    for (int c : {5, 9, 20, 21, 22, 23})
        EXPECT_TRUE(RedrawState.ChangedNames.has(c)) << c;
    EXPECT_FALSE(RedrawState.ChangedNames.has(24));

    SetDirtyView();
    RedrawState.RelationChanged[4] = 1;
    ClearChangedNames();
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.ChangedNames));
    EXPECT_EQ(RedrawState.RelationChanged[4], 0);
    EXPECT_TRUE(IsDirtyView());
    ClearRedrawState();
    EXPECT_FALSE(IsDirtyView());
}

TEST_F(RedrawStateTest, InitAlsoForgetsTheLastClosure)
{
    MarkNamesChanged(u"\x0007");
    RedrawState.LastChangedNames = RedrawState.ChangedNames;
    RedrawState.RedrawNames = RedrawState.ChangedNames;
    SetDirtyTraces();
    ClearRedrawState();
    EXPECT_FALSE(CharSetIsEmpty(RedrawState.LastChangedNames));
    InitRedrawState();
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.LastChangedNames));
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.RedrawNames));
}

} // namespace
