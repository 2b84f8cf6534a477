// One action, one redraw: nested edit scopes, redraws asked for inside
// them, a running redraw as a scope of its own, mid-action frames and the
// document's modified mark.
#include "StoreTestKit.h"

#include "session/EditScope.h"
#include "session/ParameterSteps.h"
#include "session/SessionServices.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"

#include "model/ProgramState.h"
#include "render/scene/Redraw.h"
#include "render/scene/RedrawParticipants.h"
#include "render/view/RedrawState.h"

#include <functional>

namespace {

// Runs what the test gives it before each redraw draws its objects.
class ActingParticipant final : public TRedrawParticipant {
public:
    std::function<void()> Act;
    void ApplyPendingEdits() override
    {
        if (Act)
            Act();
    }
};

class EditScopeTest : public StoreTest {
protected:
    ActingParticipant acting;
    TRedrawParticipation actingTakesPart{acting, TRedrawOrder::Scripts};

    void SetUp() override
    {
        StoreTest::SetUp();
        InstallSceneRedrawer();
        InstallSessionServices();
        GraphScale.XAxis.VHigh = GraphScale.YAxis.VHigh = 200;
        for (TBitmap& image : GraphScale.GraphImages)
            image.SetSize(201, 201);
        ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}}));
    }
    void TearDown() override
    {
        UninstallScopedRedrawer();
        UninstallSceneRedrawer();
        StoreTest::TearDown();
    }
    static int Redraws() { return RedrawCounters.Redraws; }
    static void StoreFunction(int n, const char* text) { SetYfx(n, Equation(QString::fromUtf8(text))); }
};

TEST_F(EditScopeTest, TheOutermostScopeDrawsOnceWhenSomethingIsToBeDrawn)
{
    struct Case {
        const char* What;
        std::function<void()> Action;
        int Redraws;
        bool Modified;
    };
    const Case cases[] = {
        {"nothing marked", [] { const TEditScope action; }, 0, false},
        {"a flag raised", [] {
             const TEditScope action;
             SetDirtyScale();
         }, 1, false},
        {"two stores in one action", [] {
             const TEditScope action;
             StoreFunction(1, "x");
             StoreFunction(2, "2x");
         }, 1, true},
        {"a store in a store in a scope", [] {
             const TEditScope outer;
             {
                 const TEditScope inner;
                 StoreFunction(1, "x+1");
             }
             EXPECT_EQ(ProgramState.Modified, 0) << "modified once the action ends";
         }, 1, true},
        {"a redraw asked for inside", [] {
             const TEditScope action;
             GraphScale.Redraw(GraphScale.GraphImages);
             GraphScale.Redraw(GraphScale.GraphImages);
         }, 1, false},
        {"a range set and a parameter stepped", [] {
             const TEditScope action;
             GraphScale.SetRange(GraphScale.GraphImages, {{-3.0L, -3.0L}, {3.0L, 3.0L}});
             StepParameter(1, StepUp);
         }, 1, false},
        {"a store, then the document saved", [] {
             const TEditScope action;
             StoreFunction(3, "x^2");
             TEditScope::ChangesSaved();
         }, 1, false},
    };
    for (const Case& c : cases) {
        ProgramState.Modified = 0;
        const int before = Redraws();
        c.Action();
        EXPECT_EQ(Redraws() - before, c.Redraws) << c.What;
        EXPECT_EQ(ProgramState.Modified != 0, c.Modified) << c.What;
        EXPECT_FALSE(TEditScope::IsOpen()) << c.What;
        EXPECT_FALSE(IsAnythingToRedraw()) << c.What;
    }
}

TEST_F(EditScopeTest, WhatChangesInsideARunningRedrawIsDrawnByIt)
{
    StoreFunction(1, "a*x");
    int inside = 0;
    acting.Act = [&] {
        if (inside++ > 0)
            return;
        // As a script stores from inside the redraw.
        StoreFunction(2, "b*x");
        SetPrmIfChanged(2, 3.0L);
    };
    ProgramState.Modified = 0;
    const int before = Redraws();
    StepParameter(1, StepUp);
    EXPECT_EQ(Redraws() - before, 1) << "no redraw of its own from inside";
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(ProgramState.Modified, 1) << "the store inside marks the document";
    EXPECT_FALSE(IsAnythingToRedraw()) << "the running redraw took the marks";
    // The column cache of y2 was filled with b = 3 by that one redraw.
    const TColumnArray* y2 = GraphScale.Columns.ValidCache(2);
    ASSERT_NE(y2, nullptr);
    const int c = GraphScale.XAxis.ValueToPixel(1.0L);
    EXPECT_NEAR(static_cast<double>(y2->X(c)), 3.0, 0.1);
}

TEST_F(EditScopeTest, FlushShowsAFrameInTheMiddleOfAnAction)
{
    const int before = Redraws();
    {
        const TEditScope action;
        StoreFunction(1, "x");
        TEditScope::Flush();
        EXPECT_EQ(Redraws() - before, 1);
        EXPECT_TRUE(GraphScale.Columns.ValidCache(1));
        TEditScope::Flush(); // nothing new to draw
        EXPECT_EQ(Redraws() - before, 1);
        StoreFunction(2, "-x");
    }
    EXPECT_EQ(Redraws() - before, 2);
    TEditScope::Flush(); // no scope open: nothing
    EXPECT_EQ(Redraws() - before, 2);
}

TEST_F(EditScopeTest, UndoAndRedoDrawOnceAndLeaveTheDocumentModified)
{
    StoreFunction(1, "x");
    StoreFunction(1, "x+2");
    for (const std::function<void()>& step : {std::function<void()>(Undo), std::function<void()>(Redo)}) {
        ProgramState.Modified = 0;
        const int before = Redraws();
        step();
        EXPECT_EQ(Redraws() - before, 1);
        EXPECT_EQ(ProgramState.Modified, 1);
    }
    EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("x+2"));
}

} // namespace
