// Curves kept as recorded: a step that changes what one function reads
// draws that curve alone, and the scene's pictures are the ones a scene
// drawn from nothing records, whatever changed around the kept curves.
#include "SceneTestKit.h"
#include "model/Colors.h"
#include "model/Options.h"
#include "render/scene/Redraw.h"

namespace {

class KeptCurvesTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        SetFunction(1, "a·sin(x)");
        SetFunction(2, "b·x^2-1");
        SetFunction(3, "sqrt(4-x^2)·b");
        SetFunction(4, "1/x");
        SetFunction(5, "b·cos(x)");
        DocumentTables.Functions[5].AfterImage = 1; // its curve also goes into the scene picture
        SetDirtyObjects();
        SetDirtyView();
        view.Redraw(images);
    }

    // The pictures of the last redraw against those of a redraw that keeps
    // no curve.
    void ExpectSameAsDrawnAnew(const char* what)
    {
        const TMetafile graph = SceneState.GraphMetafile;
        const TMetafile scene = SceneState.SceneMetafile;
        SceneState.Curves.Clear();
        SetDirtyObjects();
        view.Redraw(images);
        EXPECT_EQ(Lines(SceneState.GraphMetafile), Lines(graph)) << what;
        EXPECT_EQ(Lines(SceneState.SceneMetafile), Lines(scene)) << what;
        EXPECT_GT(SceneState.Curves.Drawn(), 0) << what;
    }
};

TEST_F(KeptCurvesTest, AChangeRedrawsTheCurvesItReachesAndKeepsTheOthers)
{
    struct Case {
        const char* What;
        void (*Change)();
        int Drawn; // curves drawn again of the five
    };
    const Case cases[] = {
        {"a step of a", [] { StepParameter("a", 1.5L); }, 1},
        {"a step of b", [] { StepParameter("b", 0.75L); }, 3},
        {"a colour", [] {
             DocumentTables.Functions[4].Color = 0x00A000;
             SetDirtyObjects();
         }, 1},
        {"a width", [] {
             DocumentTables.Functions[2].Width = 4;
             SetDirtyObjects();
         }, 1},
        {"nothing", [] { SetDirtyObjects(); }, 0},
        {"the trace fading", [] {
             Options.AfterImageColorNo = 3;
             SetDirtyObjects();
         }, 5},
        {"the draw mode", [] {
             Options.DrawMode = 2;
             SetDirtyObjects();
         }, 5},
    };
    for (const Case& c : cases) {
        const int drawnBefore = SceneState.Curves.Drawn();
        const int reusedBefore = SceneState.Curves.Reused();
        c.Change();
        view.Redraw(images);
        EXPECT_EQ(SceneState.Curves.Drawn() - drawnBefore, c.Drawn) << c.What;
        EXPECT_EQ(SceneState.Curves.Reused() - reusedBefore, 5 - c.Drawn) << c.What;
        ExpectSameAsDrawnAnew(c.What);
    }
}

TEST_F(KeptCurvesTest, ANewViewDrawsEveryCurve)
{
    const int drawnBefore = SceneState.Curves.Drawn();
    SetView(-4.0L, 6.0L, -5.0L, 5.0L, 400, 400);
    SetDirtyObjects();
    SetDirtyView();
    view.Redraw(images);
    EXPECT_EQ(SceneState.Curves.Drawn() - drawnBefore, 5);
    ExpectSameAsDrawnAnew("a new view");
}

} // namespace
