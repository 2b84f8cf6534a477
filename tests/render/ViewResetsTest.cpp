#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "render/view/ViewResets.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewResetsTest, TheGraphViewAndRedrawStateAreRebuilt)
{
    GraphScale.PolorNum = 5;
    GraphScale.SquareQ = 1;
    GraphScale.XAxis.AxisChar = u'@';
    SetDirtyView();
    MarkNamesChanged(u"a");

    ResetAllGlobals();

    EXPECT_EQ(GraphScale.PolorNum, 12);
    EXPECT_EQ(GraphScale.SquareQ, 0);
    EXPECT_EQ(GraphScale.XAxis.AxisChar, u'x');
    EXPECT_FALSE(IsDirtyView());
    EXPECT_TRUE(RedrawState.ChangedNames.Flags.none());
    EXPECT_TRUE(RegisteredResetNames().contains(QStringLiteral("graph view")));
}

} // namespace
