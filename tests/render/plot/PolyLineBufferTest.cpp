#include "PlotTestKit.h"
#include "render/plot/PlotResets.h"
#include "render/plot/PolyLineBuffer.h"
#include "tests/render/PixelProbe.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;
constexpr std::uint8_t OutlineAndFill = TVPolyLine::DrawOutline | TVPolyLine::DrawFill;

std::string PointList(std::span<const QPoint> points)
{
    std::string text;
    for (const QPoint& p : points) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(p.x()) + ',' + std::to_string(p.y());
    }
    return text;
}

void SetTools(TCanvas& canvas)
{
    canvas.Pen = TPen{.Color = Red};
    canvas.Brush = TBrush{TBrushStyle::Solid, Green, {}};
}

// The buffer holds 5000 points; the fill's two closing points go beyond them
// and do not count, so the trace canvas still gets the 5000-point outline.
TEST(PolyLineBufferTest, FullBufferIgnoresFurtherPointsAndStillClosesItsFill)
{
    TRecorder main;
    TRecorder trace;
    SetTools(main.Canvas);
    SetTools(trace.Canvas);
    TVPolyLine buffer;
    buffer.Init(&main.Canvas, &trace.Canvas, true, false, OutlineAndFill, TPolyFill::ToBaseY, 0, 100, PenSettings(1));
    for (int i = 0; i <= TVPolyLine::Capacity; ++i)
        buffer.AddPoint(i, i % 7);
    ASSERT_EQ(buffer.Count(), 5000);
    EXPECT_EQ(buffer.Points().back(), QPoint(4999, 4999 % 7));
    const std::vector<QPoint> piece(buffer.Points().begin(), buffer.Points().end());
    buffer.Flush();
    EXPECT_EQ(buffer.Count(), 0);

    const std::string points = PointList(piece);
    EXPECT_EQ(main.Lines(), Lines({"polyline pen(0000FF 1 solid copy) " + points,
                                         "polygon pen(0000FF 1 clear copy) brush(solid 00FF00) " + points +
                                             " 4999,100 0,100"}));
    EXPECT_EQ(trace.Lines(), Lines({"polyline pen(0000FF 1 solid copy) " + points}));
}

TEST(PolyLineBufferTest, FillModesCloseThePieceThroughTheBase)
{
    const std::pair<TPolyFill, std::string> cases[] = {
        {TPolyFill::None, "10,20 30,40 50,30"},
        {TPolyFill::Fan, "10,20 30,40 50,30 0,100"},
        {TPolyFill::ToBaseY, "10,20 30,40 50,30 50,100 10,100"},
        {TPolyFill::ToBaseX, "10,20 30,40 50,30 0,30 0,20"},
    };
    for (const auto& [mode, polygon] : cases) {
        TRecorder rec;
        SetTools(rec.Canvas);
        TVPolyLine buffer;
        buffer.Init(&rec.Canvas, nullptr, false, false, OutlineAndFill, mode, 0, 100, PenSettings(1));
        buffer.AddPoint(10, 20);
        buffer.AddPoint(30, 40);
        buffer.AddPoint(50, 30);
        buffer.Flush();
        EXPECT_EQ(rec.Lines(), Lines({"polyline pen(0000FF 1 solid copy) 10,20 30,40 50,30",
                                            "polygon pen(0000FF 1 clear copy) brush(solid 00FF00) " + polygon}));
        EXPECT_EQ(rec.Canvas.Pen.Style, TPenStyle::Solid);
    }
}

TEST(PolyLineBufferTest, OutlineNeedsAVisiblePenAndFillAVisibleBrush)
{
    struct Case {
        std::uint8_t Flags;
        TPen Pen;
        TBrush Brush;
        Lines Ops; // the first word of each line
    };
    const Case cases[] = {
        {OutlineAndFill, TPen{.Color = Red, .Style = TPenStyle::Clear}, TBrush{TBrushStyle::Solid, Green, {}}, {"polygon"}},
        {OutlineAndFill, TPen{.Color = ColorWhite}, TBrush{TBrushStyle::Solid, Green, {}}, {"polygon"}},
        {OutlineAndFill, TPen{.Color = Red}, TBrush{TBrushStyle::Solid, ColorWhite, {}}, {"polyline"}},
        {OutlineAndFill, TPen{.Color = Red}, TBrush{TBrushStyle::Clear, Green, {}}, {"polyline"}},
        {OutlineAndFill, TPen{.Color = Red}, TBrush{TBrushStyle::Bitmap, ColorWhite, BlankImage(2, 2, Green)},
         {"polyline", "polygon"}},
        {TVPolyLine::DrawOutline, TPen{.Color = Red}, TBrush{TBrushStyle::Solid, Green, {}}, {"polyline"}},
        {TVPolyLine::DrawFill, TPen{.Color = Red}, TBrush{TBrushStyle::Solid, Green, {}}, {"polygon"}},
    };
    for (const Case& c : cases) {
        TRecorder rec;
        rec.Canvas.Pen = c.Pen;
        rec.Canvas.Brush = c.Brush;
        TVPolyLine buffer;
        buffer.Init(&rec.Canvas, nullptr, false, false, c.Flags, TPolyFill::Fan, 0, 0, PenSettings(1));
        buffer.AddPoint(10, 20);
        buffer.AddPoint(30, 40);
        buffer.Flush();
        Lines ops;
        for (const std::string& line : rec.Lines())
            ops.push_back(line.substr(0, line.find(' ')));
        EXPECT_EQ(ops, c.Ops) << int(c.Flags) << " " << int(c.Pen.Style) << " " << int(c.Brush.Style);
    }
}

// Which canvas gets what: the trace canvas gets fills only when traces are
// drawn with their areas.
TEST(PolyLineBufferTest, SkipMainAndOnSecondChooseTheCanvases)
{
    struct Case {
        bool SkipMain;
        bool OnSecond;
        std::uint8_t AimgOfArea;
        int MainCalls;
        int TraceCalls;
    };
    const Case cases[] = {
        {false, false, 0, 2, 0},
        {true, true, 0, 0, 1},
        {false, true, 0, 2, 1},
        {false, true, 1, 2, 2},
    };
    for (const Case& c : cases) {
        TRecorder main;
        TRecorder trace;
        SetTools(main.Canvas);
        SetTools(trace.Canvas);
        TVPolyLine buffer;
        buffer.Init(&main.Canvas, &trace.Canvas, c.OnSecond, c.SkipMain, OutlineAndFill, TPolyFill::Fan, 0, 0,
                    PenSettings(1, 1, c.AimgOfArea));
        buffer.AddPoint(1, 2);
        buffer.AddPoint(3, 4);
        buffer.Flush();
        EXPECT_EQ(main.Lines().size(), c.MainCalls) << c.SkipMain << c.OnSecond << int(c.AimgOfArea);
        EXPECT_EQ(trace.Lines().size(), c.TraceCalls) << c.SkipMain << c.OnSecond << int(c.AimgOfArea);
    }
}

TEST(PolyLineBufferTest, AddStartsANewPieceAndALonePointIsADot)
{
    TRecorder rec;
    SetTools(rec.Canvas);
    TVPolyLine buffer;
    buffer.Init(&rec.Canvas, nullptr, false, false, TVPolyLine::DrawOutline, TPolyFill::None, 0, 0, PenSettings(1));
    buffer.Add(1, 1);
    buffer.AddPoint(2, 2);
    buffer.Add(3, 3);
    buffer.Flush();
    buffer.Flush(); // nothing left
    EXPECT_EQ(rec.Lines(), Lines({"polyline pen(0000FF 1 solid copy) 1,1 2,2",
                                        "polyline pen(0000FF 1 solid copy) 3,3 3,3"}));
}

// On pixels the dot takes the pen's width and ends: round ends make a disc,
// flat ends (the default option) leave nothing.
TEST(PolyLineBufferTest, ALonePointDrawsAsAZeroLengthLineOfThePen)
{
    for (const std::uint8_t capStyle : {0, 1}) {
        QImage image = BlankImage(20, 20);
        TCanvas canvas = MakeImageCanvas(image);
        canvas.Pen = TPen{.Color = ColorBlack, .Width = 5, .Mode = TPenMode::Mask};
        PolyLineBuffer.Init(&canvas, nullptr, false, false, TVPolyLine::DrawOutline, TPolyFill::None, 0, 0,
                            PenSettings(capStyle));
        PolyLineBuffer.AddPoint(10, 10);
        PolyLineBuffer.Flush();
        EXPECT_EQ(CountColor(image, ColorBlack), capStyle == 0 ? 21 : 0) << int(capStyle);
    }
}

// The shared buffer is one of the global tables that a reset puts back: no
// points and no canvases, which it would otherwise keep between drawings.
TEST(PolyLineBufferTest, GlobalResetEmptiesTheSharedBufferAndForgetsItsCanvases)
{
    RegisterPlotResets();
    const QStringList names = RegisteredResetNames();
    EXPECT_GT(names.indexOf(QStringLiteral("polyline buffer")), names.indexOf(QStringLiteral("graph view")));
    TRecorder rec;
    PolyLineBuffer.Init(&rec.Canvas, nullptr, false, false, TVPolyLine::DrawOutline, TPolyFill::None, 0, 0,
                        PenSettings(1));
    PolyLineBuffer.AddPoint(1, 1);
    ResetAllGlobals();
    EXPECT_EQ(PolyLineBuffer.Count(), 0);
    PolyLineBuffer.AddPoint(2, 2);
    PolyLineBuffer.Flush();
    EXPECT_EQ(PolyLineBuffer.Count(), 0);
    EXPECT_TRUE(rec.Picture.IsEmpty());
}

} // namespace
