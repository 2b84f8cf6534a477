// Traces recorded by the redraw and replayed onto the trace layer: what is
// drawn, how a replay is stopped, and that it leaves the document and the
// view as they were.
#include "SceneTestKit.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakeInputState.h"
#include "render/plot/Functions.h"
#include "render/plot/Loci.h"
#include "render/scene/TraceReplay.h"
#include "render/scene/TraceStore.h"

namespace {

class TraceReplayTest : public SceneTest {
protected:
    platform::FakeInputState keys;
    platform::ScopedInputState useKeys{keys};
    int eventRounds = 0;

    // y = a·x, traced in red, drawn for a = 1, 2, 3: the redraws record the
    // scenes for a = 1 and a = 2 (each redraw records the scene before it).
    void TraceLineForThreeValues()
    {
        TPointFunction& p = DocumentTables.Points[1];
        p.Kind = ObjectPoint;
        SetFormula(1, p.Pos, "(a, 1)");
        p.PointAImg = 1;
        p.ColorNo1 = 0x00A000;
        SetFunction(1, "a·x");
        TEquationFunction& f = DocumentTables.Functions[1];
        f.AfterImage = 1;
        f.Color = 0x0000FF;
        DrawForAFrom1To3();
    }
    // Redraws for a = 1, 2, 3: each redraw records the scene before it.
    void DrawForAFrom1To3()
    {
        SetDirtyObjects();
        view.Redraw(images);
        for (const long double a : {2.0L, 3.0L}) {
            StepParameter("a", a);
            view.Redraw(images);
        }
    }
    // The replay onto a picture of the view's size, as the trace layer gets it.
    TMetafile Replay()
    {
        TMetafile picture;
        picture.Width = view.XAxis.VHigh;
        picture.Height = view.YAxis.VHigh;
        TCanvas canvas = MakeMetafileCanvas(picture);
        ReplayTraces(view, canvas);
        return picture;
    }
    // F1 goes down while events are handled after the n-th record.
    void PressF1AfterRecord(int n)
    {
        keys.onProcessEvents([this, n](int) {
            if (++eventRounds == n)
                keys.setKeyDown(platform::VkF1);
        });
    }
    static std::vector<long double> ParamValues()
    {
        std::vector<long double> values;
        for (const TParameter& p : DocumentTables.Params)
            values.push_back(p.Value);
        return values;
    }
    static std::vector<long double> CacheX(const ScaleT& v, int i)
    {
        std::vector<long double> xs;
        if (const TColumnArray* cache = v.Columns.ValidCache(i))
            for (int c = 0; c <= v.XAxis.VHigh; c += 40)
                xs.push_back(cache->X(c));
        return xs;
    }
};

TEST_F(TraceReplayTest, NothingTracedLeavesTheStoreEmpty)
{
    SetFunction(1, "a·x");
    SetFormula(1, DocumentTables.Points[1].Pos, "(a, 1)");
    DocumentTables.Points[1].Kind = ObjectPoint;
    for (int i = 0; i < 10; ++i) {
        StepParameter("a", i);
        view.Redraw(images);
    }
    EXPECT_TRUE(TraceStore.IsEmpty());
}

TEST_F(TraceReplayTest, TheRedrawRecordsEachTracedSceneWithItsParameters)
{
    TraceLineForThreeValues();
    ASSERT_EQ(TraceStore.RecordCount(), 3);
    TraceStore.ResetCursor();
    const TTraceRecord base = TraceStore.ReadNext();
    const TTraceRecord first = TraceStore.ReadNext();
    const TTraceRecord second = TraceStore.ReadNext();
    EXPECT_FALSE(base.Colors.AnyTraced());
    EXPECT_EQ(first.Colors.Functions[1], 0x0000FFu);
    EXPECT_EQ(first.Params[ParamIndexOfToken(Token("a"))].Value, 1.0L);
    EXPECT_EQ(second.Params[ParamIndexOfToken(Token("a"))].Value, 2.0L);
    EXPECT_TRUE(TraceStore.AtEnd());

    // Off: nothing more is recorded.
    Options.CanAImg = 0;
    StepParameter("a", 4.0L);
    view.Redraw(images);
    EXPECT_EQ(TraceStore.RecordCount(), 3);

    ClearTracesAndRedraw(view, images);
    EXPECT_TRUE(TraceStore.IsEmpty());
}

// Each record comes back in the faded trace colours with the parameter value
// it was drawn with: point P = (a, 1) as a disc of radius 5 about (240, 160)
// and (280, 160), then the line y = a·x, from (0, 400) to (400, 0) and from
// (0, 600) to (400, −200) (the canvas clips). The base record adds nothing.
TEST_F(TraceReplayTest, AReplayDrawsEveryRecordWithItsOwnParameter)
{
    TraceLineForThreeValues();
    EXPECT_EQ(FadeColorBySetting(0x0000FF), 0x7070FFu | PaletteColorFlag);
    EXPECT_EQ(FadeColorBySetting(0x00A000), 0x18A918u | PaletteColorFlag);
    const std::string p1 = "ellipse pen(18A918 1 solid mask) brush(solid 18A918) 235 155 246 166";
    const std::string p2 = "ellipse pen(18A918 1 solid mask) brush(solid 18A918) 275 155 286 166";
    const std::vector<std::string> expected{
        p1,
        "polyline pen(7070FF 2 solid mask geometric flat) 0,400 400,0",
        p2,
        "polyline pen(7070FF 2 solid mask geometric flat) 0,600 400,-200",
    };
    EXPECT_EQ(Lines(Replay()), expected);
    EXPECT_EQ(ProgramState.StartupPending, 0);

    // The line's trace erased, the point's stays; then the point's.
    TraceStore.EraseYfxTrace(1);
    EXPECT_EQ(Lines(Replay()), (std::vector<std::string>{p1, p2}));
    TraceStore.ErasePointTrace(1);
    EXPECT_TRUE(Lines(Replay()).empty());
}

// A traced curve through (−1, a), (0, a), (1, a) is computed again for each
// record's a and drawn in its recorded colour.
TEST_F(TraceReplayTest, ATracedCurveComesBackWithEachRecordsParameter)
{
    TPointFunction& q = DocumentTables.Points[2];
    q.Kind = ObjectParametric;
    SetFormula(2, q.X, "t");
    SetFormula(2, q.Y, "a");
    SetFormula(ModePlain, q.Low, "-1");
    SetFormula(ModePlain, q.High, "1");
    q.ParamStep = 1.0L;
    q.RAImg = 1;
    q.RColorNo1 = 0x00A000;
    DrawForAFrom1To3();
    const std::vector<std::string> expected{
        "polyline pen(18A918 1 solid mask) 160,160 200,160 240,160",
        "polyline pen(18A918 1 solid mask) 160,120 200,120 240,120",
    };
    EXPECT_EQ(Lines(Replay()), expected);
    EXPECT_EQ(Locuses.Items[2].Items[0].Y, 3.0L); // the view's list as it was
}

TEST_F(TraceReplayTest, EveryWayOutPutsTheDocumentAndTheViewBack)
{
    TraceLineForThreeValues();
    MarkChanged(Token("b"));
    SetDirtyFlag3();
    const std::vector<long double> params = ParamValues();
    const TEquationFunction function = DocumentTables.Functions[1];
    const TRedrawState redrawState = RedrawState;
    const std::vector<long double> cache = CacheX(view, 1);
    const TOffsetArray<TColor, 1, FunctionCount> drawnColors = FunctionColors;
    ASSERT_FALSE(cache.empty());
    struct Case {
        const char* What;
        int StopAfter; // 0: runs to the end
        int Read;
    };
    for (const Case c : {Case{"whole", 0, 3}, Case{"F1 after the second record", 2, 2},
                         Case{"F1 at once", 1, 1}}) {
        SCOPED_TRACE(c.What);
        keys.releaseAll();
        eventRounds = 0;
        PressF1AfterRecord(c.StopAfter);
        window.CaptionSuffixes.clear();
        Replay();
        EXPECT_EQ(eventRounds, c.Read == 3 ? 2 : c.Read); // the last record asks no more
        EXPECT_EQ(TraceStore.Cursor(), (TraceStore.Tail() + c.Read - 1) % TBpnt::Size + 1);
        EXPECT_EQ(ParamValues(), params);
        EXPECT_EQ(DocumentTables.Functions[1].Color, function.Color);
        EXPECT_EQ(DocumentTables.Functions[1].AfterImage, function.AfterImage);
        EXPECT_EQ(DocumentTables.Functions[1].Visible, function.Visible);
        EXPECT_EQ(RedrawState.ChangedNames, redrawState.ChangedNames);
        EXPECT_EQ(RedrawState.DirtyFlags, redrawState.DirtyFlags);
        EXPECT_EQ(CacheX(view, 1), cache);
        EXPECT_EQ(FunctionColors, drawnColors);
        EXPECT_EQ(window.CaptionSuffixes, (std::vector<QString>{ReplayCaptionSuffix, QString()}));
    }
}

TEST_F(TraceReplayTest, AnEmptyStoreReplaysNothing)
{
    const TMetafile picture = Replay();
    EXPECT_TRUE(Lines(picture).empty());
    EXPECT_TRUE(window.CaptionSuffixes.empty());
}

} // namespace
