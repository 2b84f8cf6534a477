// The layered redraw: its steps on the window side, the triggered scripts
// and redraws started from inside, the tools' overlay, the background
// picture and the after-images.
#include "SceneTestKit.h"
#include "model/Colors.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/gfx/ImageHelpers.h"
#include "render/plot/Functions.h"
#include "tests/render/PixelProbe.h"

namespace {

class RedrawPipelineTest : public SceneTest {
protected:
    TColor GraphPixel(int x, int y) const { return PixelAt(images[0].Image(), x, y); }
};

TEST_F(RedrawPipelineTest, OneRedrawRunsEveryStepOnceInOrderAndClearsWhatChanged)
{
    using Steps = std::vector<std::string>;
    SetFunction(1, "x");
    SetDirtyObjects();
    SetDirtyView();
    MarkChanged(Token("a"));
    view.Redraw(images);
    EXPECT_EQ(participant.Steps, (Steps{"ViewChanged", "ApplyPendingEdits", "BeforeRedraw", "ObjectsEvaluated",
                                        "SceneDrawn", "DrawOver", "AfterObjects", "OverBackground",
                                        "AfterRepaint"}));
    EXPECT_EQ(participant.StatesRebuilt, 1);
    EXPECT_EQ(participant.RefreshedOverlays, 1);
    EXPECT_EQ(participant.ForcedAfterObjects, 0);
    EXPECT_TRUE(participant.ChangeSets.at(0).has(Token("a")));
    EXPECT_EQ(window.BusyCursors, 1);
    EXPECT_EQ(window.BusyDepth, 0);
    EXPECT_EQ(window.Repaints, 1);
    EXPECT_FALSE(IsDirtyObjects() || IsDirtyView());
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.ChangedNames));
    // The graph shows the axes and the line y = x (blue under the mask pen).
    EXPECT_EQ(GraphPixel(300, 100), 0xFF0000u);
    EXPECT_EQ(GraphPixel(100, 100), ColorWhite);

    // Nothing changed: the view stays, the objects are not taken again.
    participant.Steps.clear();
    view.Redraw(images);
    EXPECT_EQ(participant.Steps, (Steps{"ApplyPendingEdits", "BeforeRedraw", "ObjectsEvaluated", "SceneDrawn",
                                        "DrawOver", "OverBackground", "AfterRepaint"}));
    EXPECT_EQ(participant.StatesRebuilt, 1);
    EXPECT_EQ(GraphPixel(300, 100), 0xFF0000u);

    // While the windows are rebuilt: everything after the objects forced,
    // nothing before the redraw.
    ProgramState.InRefreshAll = true;
    SetDirtyObjects();
    view.Redraw(images);
    EXPECT_EQ(participant.ForcedAfterObjects, 1);
    EXPECT_EQ(participant.ChangeSets.size(), 2u);
}

TEST_F(RedrawPipelineTest, ParticipantsTakeTheirTurnsInTheirOrder)
{
    std::string log;
    struct Logging : TRedrawParticipant {
        std::string& Log;
        char Name;
        Logging(std::string& log, char name) : Log(log), Name(name) {}
        void BeforeRedraw(const TWideCharSet&) override { Log += Name; }
        void AfterRepaint() override { Log += Name; }
    };
    Logging notes(log, 'n'), scripts(log, 's'), pen(log, 'p'), laterNotes(log, 'N');
    {
        // Registered out of order; those of one place keep theirs.
        const TRedrawParticipation a(notes, TRedrawOrder::Notes);
        const TRedrawParticipation b(pen, TRedrawOrder::Pen);
        const TRedrawParticipation c(scripts, TRedrawOrder::Scripts);
        const TRedrawParticipation d(laterNotes, TRedrawOrder::Notes);
        view.Redraw(images);
        EXPECT_EQ(log, "snNpsnNp");
    }
    // A participation that ended takes no more turns.
    log.clear();
    view.Redraw(images);
    EXPECT_EQ(log, "");
}

TEST_F(RedrawPipelineTest, AScriptRunsOncePerChangeAndItsRedrawCompletesInside)
{
    SetFunction(1, "b·x");
    int runs = 0;
    int redrawsSeenInside = 0;
    participant.OnBeforeRedraw = [&](const TWideCharSet& changed) {
        if (!changed.has(Token("a")))
            return;
        ++runs;
        // The script sets b through a store operation, which redraws.
        ++ProgramState.ScriptDrawState;
        StepParameter("b", 2.0L);
        view.Redraw(images);
        redrawsSeenInside = RedrawCounters.Redraws;
        --ProgramState.ScriptDrawState;
    };
    SetDirtyObjects();
    view.Redraw(images);
    EXPECT_EQ(runs, 0);

    StepParameter("a", 5.0L);
    const int before = RedrawCounters.Redraws;
    view.Redraw(images);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(redrawsSeenInside, before + 2) << "the inner redraw ran whole inside the outer";
    EXPECT_EQ(RedrawCounters.Redraws, before + 2);
    EXPECT_EQ(window.BusyDepth, 0);
    // The outer redraw drew what the script left: y = 2x through (1, 2).
    EXPECT_EQ(view.Columns.ValidCache(1)->X(240), 2.0L);
    EXPECT_EQ(GraphPixel(250, 100), 0xFF0000u);
    EXPECT_EQ(GraphPixel(260, 140), ColorWhite); // y = x is gone

    // Not while the windows are rebuilt after a load.
    ProgramState.InRefreshAll = true;
    StepParameter("a", 6.0L);
    view.Redraw(images);
    EXPECT_EQ(runs, 1);
}

TEST_F(RedrawPipelineTest, TheToolsDrawTheirLinesAndTheIntegralArea)
{
    SetFunction(1, "x");
    Tinterval& interval = DocumentTables.IntegralInterval;
    interval.Lower.Marker = interval.Upper.Marker = 1;
    interval.LowerValue = ValueReal(-1.1L);
    interval.UpperValue = ValueReal(1.1L);
    interval.Dfuncno = 1;
    interval.Efuncno = 0;
    participant.Tools.IntegralToolActive = true;
    participant.Tools.YValueLineX = 2.9L;
    SetDirtyObjects();
    view.Redraw(images);
    // XOR over white: left of 0 the area counts negative, right positive.
    EXPECT_EQ(GraphPixel(180, 210), ColorWhite ^ 0x003333u);
    EXPECT_EQ(GraphPixel(220, 190), ColorWhite ^ 0x333300u);
    EXPECT_EQ(GraphPixel(260, 190), ColorWhite) << "outside the limits";
    // The value line at x = 2.9 and the limit lines, grey by XOR.
    EXPECT_EQ(GraphPixel(316, 50), ColorWhite ^ 0xC0C0C0u);
    EXPECT_EQ(GraphPixel(156, 50), ColorWhite ^ 0xC0C0C0u);
    EXPECT_EQ(images[0].Canvas().Pen.Mode, TPenMode::Copy);

    // A hidden lower marker draws no line; the upper one stays.
    interval.Lower.Marker = 0;
    view.Redraw(images);
    EXPECT_EQ(GraphPixel(156, 50), ColorWhite);
    EXPECT_EQ(GraphPixel(244, 50), ColorWhite ^ 0xC0C0C0u);
}

TEST_F(RedrawPipelineTest, TheBackgroundPictureShowsThroughWhiteOnly)
{
    Options.BGshown = 1;
    SetFunction(1, "x");
    SetDirtyObjects();
    // A picture without pixels is left out.
    window.Background = QImage(0, 5, QImage::Format_RGB32);
    view.Redraw(images);
    EXPECT_EQ(GraphPixel(100, 100), ColorWhite);
    EXPECT_EQ(participant.BackgroundOverlays, 1);

    // Stretched over the whole graph; the curve and axes stay on top.
    Options.BGMode = 0;
    window.Background = BlankImage(20, 10, 0x00FFFF);
    view.Redraw(images);
    EXPECT_EQ(GraphPixel(100, 100), 0x00FFFFu);
    EXPECT_EQ(GraphPixel(300, 100), 0xFF0000u);

    // Mode 1 keeps the picture's aspect from the width: 402 × 201 about the centre.
    Options.BGMode = 1;
    view.Redraw(images);
    EXPECT_EQ(GraphPixel(100, 130), 0x00FFFFu);
    EXPECT_EQ(GraphPixel(100, 50), ColorWhite);
    EXPECT_EQ(images[0].Canvas().CopyMode, TCopyMode::SrcAnd);
}

TEST_F(RedrawPipelineTest, TracedFunctionsLeaveAfterImages)
{
    TEquationFunction& traced = DocumentTables.Functions[1];
    SetFunction(1, "a·x");
    traced.AfterImage = 1;
    traced.Color = 0x0000FF; // pure blue would fade to white
    SetFunction(2, "-a·x");
    SetDirtyObjects();
    view.Redraw(images);
    // The scene keeps the traced curve only, in its faded colour.
    const std::vector<std::string> scene = Lines(SceneState.SceneMetafile);
    ASSERT_EQ(scene.size(), 2u);
    EXPECT_NE(scene[1].find("polyline"), std::string::npos);
    EXPECT_EQ(FunctionColors[1], 0x0000FFu);
    EXPECT_EQ(FunctionColors[2], NoTraceColor);

    // The next change lays the last scene onto the trace layer.
    StepParameter("a", 2.0L);
    view.Redraw(images);
    const TColor faded = ColorRGBPart(FadeColorBySetting(0x0000FF));
    EXPECT_EQ(PixelAt(images[1].Image(), 300, 100), faded) << "y = x as it was";
    EXPECT_EQ(PixelAt(images[1].Image(), 100, 100), ColorWhite) << "y = -x left no trace";
    EXPECT_EQ(PixelAt(images[1].Image(), 250, 100), ColorWhite) << "y = 2x is not a trace yet";

    // Clearing the traces rebuilds the trace layer empty.
    ClearTracesAndRedraw(view, images);
    EXPECT_EQ(PixelAt(images[1].Image(), 300, 100), ColorWhite);
}

TEST_F(RedrawPipelineTest, ATraceStepStampsTheCurvesInTheAfterImageColour)
{
    SetFunction(1, "x");
    SetDirtyObjects();
    view.Redraw(images);
    DrawChangedObjects(view, images);
    const TColor stamp = ColorScheme.SchemeColors[Options.AfterImageColorNo];
    EXPECT_EQ(PixelAt(images[1].Image(), 300, 100), 0xFF0000u | stamp);
    EXPECT_EQ(PixelAt(images[1].Image(), 100, 100), ColorWhite);
    EXPECT_EQ(GraphPixel(300, 100), 0xFF0000u);
    EXPECT_EQ(images[1].Canvas().Pen, TPen{});

    // With a relation shown the trace layer is left alone.
    FillImage(images[1], ColorWhite);
    SetRelation(1, "y=x^2");
    DrawChangedObjects(view, images);
    EXPECT_EQ(PixelAt(images[1].Image(), 300, 100), ColorWhite);
}

TEST_F(RedrawPipelineTest, ParameterStepsDrawAsARedrawFromScratch)
{
    // Curves that cross: the moving curve is drawn again, the others and
    // the axes come from the kept pixels.
    SetFunction(1, "a·x");
    SetFunction(2, "x^2/3-2");
    SetFunction(3, "sin(2x)·3");
    DocumentTables.Functions[3].Width = 3;
    DocumentTables.Functions[3].Color = 0x00A0FF;
    SetDirtyObjects();
    view.Redraw(images);
    for (const long double a : {0.5L, 0.75L, 1.25L, -2.0L}) {
        StepParameter("a", a);
        view.Redraw(images);
        const QImage stepped = images[0].Image().copy();
        ASSERT_FALSE(SceneState.AxesLayer.Pixels.isNull());
        // The same scene without kept pixels, then the replay as it was.
        TPictureReplayCache replay = std::move(SceneState.GraphReplay);
        SceneState.GraphReplay.Clear();
        SceneState.AxesLayer = {};
        SetDirtyObjects();
        view.Redraw(images);
        ASSERT_EQ(stepped, images[0].Image()) << "a = " << static_cast<double>(a);
        SceneState.GraphReplay = std::move(replay);
    }
    EXPECT_EQ(SceneState.GraphReplay.Counts().LayersReused, 3);
}

} // namespace
