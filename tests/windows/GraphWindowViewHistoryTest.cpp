// Back and forward through the views with the graph window's buttons, the
// views a resize records, and the window's look at two sizes.
#include "WindowTestKit.h"

#include "model/History.h"
#include "render/view/Scale.h"
#include "session/ProjectFile.h"
#include "session/ViewHistory.h"
#include "tests/render/GoldenFiles.h"

#include <QStatusBar>
#include <QToolButton>

namespace {

class GraphWindowViewHistoryTest : public WindowTest {
protected:
    void ResizeGraph(int w, int h)
    {
        Graph().resize(w + 8, h + 8 + Graph().PageControlHeight() + Graph().SBar->sizeHint().height());
        ProcessEvents();
        ASSERT_EQ(GraphScale.XAxis.VHigh, w);
        ASSERT_EQ(GraphScale.YAxis.VHigh, h);
    }
    static void SetView(long double xLow, long double xHigh, long double yLow, long double yHigh)
    {
        GraphScale.SetRange(GraphScale.GraphImages, {{xLow, yLow}, {xHigh, yHigh}});
    }
    static TWorldRect Range() { return GraphScale.Range(); }
    bool BackEnabled() { return Graph().tbUndo->isEnabled(); }
    bool ForwardEnabled() { return Graph().tbRedo->isEnabled(); }
};

// A host that says a drag is under way.
class DraggingHost final : public TNoProjectHost {
public:
    bool SuppressesViewHistory() override { return true; }
};

TEST_F(GraphWindowViewHistoryTest, SquareThenBackAndForward)
{
    StartProgram();
    ResizeGraph(400, 400);
    SetView(-5.0L, 5.0L, -2.0L, 2.0L);
    ClearViewHistory();
    EXPECT_FALSE(BackEnabled());
    EXPECT_FALSE(ForwardEnabled());
    const TWorldRect unequal = Range();
    ASSERT_FALSE(GraphScale.IsEqualScale());

    Click(Graph().sbSquare);
    EXPECT_TRUE(GraphScale.IsEqualScale());
    const TWorldRect square = Range();
    EXPECT_TRUE(BackEnabled());
    EXPECT_FALSE(ForwardEnabled());
    // Already square: nothing is recorded.
    const int entries = BackUpArea.Count();
    Click(Graph().sbSquare);
    EXPECT_EQ(BackUpArea.Count(), entries);

    Click(Graph().tbUndo);
    EXPECT_EQ(Range().Low.X, unequal.Low.X);
    EXPECT_EQ(Range().High.Y, unequal.High.Y);
    EXPECT_FALSE(BackEnabled());
    EXPECT_TRUE(ForwardEnabled());
    Click(Graph().tbRedo);
    EXPECT_EQ(Range().Low.Y, square.Low.Y);
    EXPECT_EQ(Range().High.Y, square.High.Y);
    EXPECT_TRUE(BackEnabled());
    EXPECT_FALSE(ForwardEnabled());
}

TEST_F(GraphWindowViewHistoryTest, BackAtTheStartChangesNothing)
{
    StartProgram();
    ClearViewHistory();
    const TWorldRect before = Range();
    UndoView();
    EXPECT_EQ(Range().Low.X, before.Low.X);
    EXPECT_EQ(Range().High.Y, before.High.Y);
    EXPECT_EQ(BackUpArea.Count(), 0);
    EXPECT_FALSE(BackEnabled());
    EXPECT_FALSE(ForwardEnabled());
    RedoView();
    EXPECT_EQ(Range().Low.X, before.Low.X);
}

TEST_F(GraphWindowViewHistoryTest, AZoomIsRecordedUnlessADragIsUnderWay)
{
    StartProgram();
    ClearViewHistory();
    const TWorldRect before = Range();
    GraphScale.ZoomAt({0.0L, 0.0L}, 2.0L, 2.0L);
    EXPECT_TRUE(BackEnabled());
    UndoView();
    EXPECT_EQ(Range().High.X, before.High.X);
    RedoView();
    EXPECT_NE(Range().High.X, before.High.X);

    ClearViewHistory();
    DraggingHost dragging;
    {
        const ScopedProjectHost useDragging(dragging);
        GraphScale.ZoomAt({0.0L, 0.0L}, 2.0L, 2.0L);
    }
    EXPECT_EQ(BackUpArea.Count(), 0);
}

TEST_F(GraphWindowViewHistoryTest, AViewOfAnotherSizeResizesTheGraphFirst)
{
    StartProgram();
    ResizeGraph(400, 400);
    SetView(-5.0L, 5.0L, -5.0L, 5.0L);
    ClearViewHistory();
    ResizeGraph(600, 400); // the resize records the view it leaves
    EXPECT_EQ(Range().High.X, 7.5L);
    EXPECT_TRUE(BackEnabled());
    Click(Graph().tbUndo);
    EXPECT_EQ(GraphScale.XAxis.VHigh, 400);
    EXPECT_EQ(Graph().GImage->width(), 401);
    EXPECT_EQ(GraphScale.GraphImages[5].Width(), 401);
    EXPECT_EQ(Range().High.X, 5.0L);
    Click(Graph().tbRedo);
    EXPECT_EQ(GraphScale.XAxis.VHigh, 600);
    EXPECT_EQ(Graph().GImage->width(), 601);
    EXPECT_EQ(Range().High.X, 7.5L);
}

// Text is drawn by the platform's font engine.
constexpr TImageTolerance TextTolerance{48, 0.02};

TEST_F(GraphWindowViewHistoryTest, TheWindowAtTwoSizes)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    ASSERT_TRUE(messages.empty());
    // Separate sheets, the origin in view: no strips.
    ResizeGraph(400, 400);
    EXPECT_TRUE(MatchesImageGolden(Graph().grab().toImage(), QStringLiteral("windows/graph-400x400.png"),
                                   TextTolerance));
    // Joined sheets; the axes on the border rulers.
    ResizeGraph(600, 400);
    Click(Graph().tbAxisOn);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(Graph().grab().toImage(), QStringLiteral("windows/graph-600x400.png"),
                                   TextTolerance));
}

} // namespace
