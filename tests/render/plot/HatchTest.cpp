#include "PlotTestKit.h"
#include "render/gfx/Bitmap.h"
#include "render/plot/Hatch.h"
#include "tests/render/PixelProbe.h"

#include <gtest/gtest.h>
#include <QPoint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEquationFunction Relation(int pattern, TColor color = 0xFF0000, std::uint8_t afterImage = 0)
{
    TEquationFunction r;
    r.Pattern = static_cast<std::uint8_t>(pattern);
    r.Color = color;
    r.AfterImage = afterImage;
    return r;
}

// A grid over W × H whose pixels in [x0, x1] × [y0, y1] carry the byte.
TRegionMask Region(int w, int h, int x0, int y0, int x1, int y1, std::uint8_t byte = 1,
                   std::vector<std::uint8_t> masks = {1})
{
    TRegionMask region;
    region.Reset(w, h);
    for (int x = x0; x <= x1; ++x)
        region.SetRows(x, y0, y1, byte);
    region.Masks = std::move(masks);
    return region;
}

TRegionMask WholeView(int w, int h)
{
    return Region(w, h, 0, 0, w + 1, h + 1);
}

std::string Hex(TColor c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", ColorRGBPart(c));
    return text;
}

// The pixels the screen hatch sets, in the order it sets them.
std::vector<QPoint> RecordedPixels(const Lines& lines)
{
    std::vector<QPoint> pixels;
    for (const std::string& line : lines) {
        int x = 0;
        int y = 0;
        if (std::sscanf(line.c_str(), "pixel %d,%d", &x, &y) == 2)
            pixels.emplace_back(x, y);
    }
    return pixels;
}

struct HatchTest : ::testing::Test {
    TRecorder main;
    TRecorder trace;

    void Fill(const TRegionMask& region, const TEquationFunction& record, bool direct, int magnification = 1,
              std::uint8_t aimgOfArea = 0, bool traceAll = false, bool onlyTrace = false, TColor dot = 0x00FF00)
    {
        FillRegion(region, record, {&main.Canvas, &trace.Canvas, onlyTrace, traceAll},
                   PenSettings(1, magnification, aimgOfArea), direct, dot);
    }
};

TEST(HatchPhaseTest, PhasesWrapOnSignedIntegers)
{
    struct Case {
        int Pattern, X, Y, Phase;
    };
    const Case cases[] = {
        {4, 1, 1, 2},    // 1 − 15 = −14
        {10, 0, 0, 10},  // the constant term alone
        {4, 0, 1, 1},    // −15: a remainder would give −15
        {2, 0, 1, 15},   // −1
        {7, 1, 0, 14},   {8, 1, 0, 2}, {6, 0, 1, 2}, {5, 0, 1, 14},
        {9, 3, 1, 15},   {10, 3, 1, 9},  {1, 37, 5, 5}, {3, 5, 37, 0},
        {0, 0, 0, -1},   {11, 0, 0, -1}, {-1, 0, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HatchPhase(c.Pattern, c.X, c.Y), c.Phase) << c.Pattern << " at " << c.X << "," << c.Y;
}

// Each pattern's lines run in its named direction (screen y grows
// downwards): the phase keeps its value along it and repeats every 16
// pixels either way.
TEST(HatchPhaseTest, EachPatternRunsInItsDirection)
{
    struct Case {
        int Pattern;
        QPoint Along;
    };
    const Case cases[] = {
        {1, {0, 1}}, {2, {1, 0}}, {3, {1, 1}}, {4, {1, -1}}, {5, {2, 1}},
        {6, {2, -1}}, {7, {1, -2}}, {8, {1, 2}}, {9, {4, 1}}, {10, {4, 1}},
    };
    for (const Case& c : cases)
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y) {
                const int phase = HatchPhase(c.Pattern, x + 20, y + 20);
                EXPECT_EQ(HatchPhase(c.Pattern, x + 20 + c.Along.x(), y + 20 + c.Along.y()), phase) << c.Pattern;
                EXPECT_EQ(HatchPhase(c.Pattern, x + 4, y + 4), phase) << c.Pattern << ": period 16";
            }
}

TEST_F(HatchTest, TheWholeViewInVerticalLinesOnScreen)
{
    TBitmap layer(401, 401);
    FillRegion(WholeView(400, 400), Relation(1), {&layer.Canvas(), nullptr, false, false}, PenSettings(1), false,
               0xFF0000);
    EXPECT_EQ(CountNot(layer.Image(), ColorWhite), 10426);
    EXPECT_EQ(CountColor(layer.Image(), 0xFF0000), 10426);
    for (int x = 0; x <= 400; ++x)
        EXPECT_EQ(PixelAt(layer.Image(), x, 200), x % 16 == 0 ? 0xFF0000u : ColorWhite) << x;
}

// Columns outer, rows inner, only pixels of phase 0, right and bottom edge
// columns and rows included.
TEST_F(HatchTest, ScreenPixelsGoColumnByColumn)
{
    Fill(Region(40, 20, 0, 0, 41, 21), Relation(3), false);
    std::vector<QPoint> expected;
    for (int x = 0; x <= 40; ++x)
        for (int y = 0; y <= 20; ++y)
            if ((x - y) % 16 == 0)
                expected.emplace_back(x, y);
    EXPECT_EQ(RecordedPixels(main.Lines()), expected);
    EXPECT_EQ(main.Lines()[0], "pixel 0,0 FF0000");
    EXPECT_TRUE(trace.Lines().empty());
}

// A pixel is in the region when one mask has all its bits set there: an
// "and" needs both pieces, an "or" either.
TEST_F(HatchTest, MasksSelectThePixels)
{
    struct Case {
        std::vector<std::uint8_t> Masks;
        std::vector<QPoint> Set;
    };
    // Column 0 (phase 0 for pattern 1) holds the bytes 0, 1, 2, 3, 7, 4 in rows 0..5.
    const Case cases[] = {
        {{3}, {{0, 3}, {0, 4}}},                 // «x^2+y^2<4 and y>0»
        {{1, 2}, {{0, 1}, {0, 2}, {0, 3}, {0, 4}}}, // «x<0 or y<0»
        {{4, 3}, {{0, 3}, {0, 4}, {0, 5}}},
        {{}, {}},
    };
    const std::uint8_t bytes[] = {0, 1, 2, 3, 7, 4};
    for (const Case& c : cases) {
        TRegionMask region;
        region.Reset(20, 5);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 16; ++x)
                region.Set(x, y, bytes[y]);
        region.Masks = c.Masks;
        main.Picture.Clear();
        Fill(region, Relation(1), false);
        EXPECT_EQ(RecordedPixels(main.Lines()), c.Set) << c.Masks.size();
    }
}

TEST_F(HatchTest, PatternsOutsideOneToTenAndOnlyTraceDrawNothing)
{
    const TRegionMask region = WholeView(40, 40);
    for (const int pattern : {0, 11, 255})
        for (const bool direct : {false, true}) {
            Fill(region, Relation(pattern), direct, 16, 1, true);
            EXPECT_TRUE(main.Lines().empty()) << pattern;
            EXPECT_TRUE(trace.Lines().empty()) << pattern;
        }
    Fill(region, Relation(1, 0xFF0000, 1), false, 1, 1, true, true);
    EXPECT_TRUE(main.Lines().empty());
    EXPECT_TRUE(trace.Lines().empty()) << "only the trace: no hatch at all";
}

// The region reaches the trace canvas, in the faded colour, only when traces
// take fills and the relation leaves a trace there.
TEST_F(HatchTest, TheTraceTakesTheRegionOnlyWithFills)
{
    struct Case {
        std::uint8_t AimgOfArea;
        std::uint8_t AfterImage;
        bool TraceAll;
        bool Traced;
    };
    const Case cases[] = {
        {1, 1, false, true}, {1, 0, true, true}, {1, 0, false, false}, {0, 1, true, false},
    };
    const TRegionMask region = Region(20, 20, 16, 0, 16, 0);
    const std::string faded = "pixel 16,0 " + Hex(FadeColorBySetting(0x0000FF));
    for (const Case& c : cases) {
        main.Picture.Clear();
        trace.Picture.Clear();
        Fill(region, Relation(1, 0x0000FF, c.AfterImage), false, 1, c.AimgOfArea, c.TraceAll);
        EXPECT_EQ(main.Lines(), Lines{"pixel 16,0 0000FF"});
        EXPECT_EQ(trace.Lines(), c.Traced ? Lines{faded} : Lines{}) << int(c.AimgOfArea) << int(c.AfterImage);
    }
}

// At magnification 16 a pixel is a 16 × 16 cell centred on (16x, 16y); the
// strokes of neighbouring pixels on one hatch line merge into one stroke.
TEST_F(HatchTest, MagnifiedStrokesMergeAlongTheLine)
{
    TRegionMask region = Region(40, 40, 16, 0, 16, 0);
    region.Set(17, 1, 1);
    Fill(region, Relation(3), true, 16);
    EXPECT_EQ(main.Lines(), Lines{"polyline pen(FF0000 8 solid mask geometric flat) 248,-8 280,24"});
}

// Every pattern over the 4 × 4 pixels (14..17, 14..17) at magnification 16:
// cell corners at 216, 232, 248, 264. (Red: blue would fade to white, which
// draws nothing on the trace.) Patterns 5..8 draw the part of a line
// that crosses the pixel beside it, so their lines stay unbroken.
TEST_F(HatchTest, EachPatternAsStrokes)
{
    const std::string dot = "ellipse pen(0000FF 0 solid mask) brush(solid 00FF00) ";
    struct Case {
        int Pattern;
        Lines Main;
    };
    const Case cases[] = {
        {1, {"polyline pen(0000FF 8 solid mask geometric flat) 256,216 256,280"}},
        {2, {"polyline pen(0000FF 8 solid mask geometric flat) 216,256 280,256"}},
        {3, {"polyline pen(0000FF 8 solid mask geometric flat) 216,216 280,280"}},
        {4, {"polyline pen(0000FF 8 solid mask geometric flat) 232,280 280,232"}},
        {5, {"polyline pen(0000FF 4 solid mask geometric flat) 216,240 280,272"}},
        {6, {"polyline pen(0000FF 4 solid mask geometric flat) 216,272 280,240"}},
        {7, {"polyline pen(0000FF 4 solid mask geometric flat) 240,280 272,216"}},
        {8, {"polyline pen(0000FF 4 solid mask geometric flat) 240,216 272,280"}},
        // A dot below the line's cell corner, one above the corner before it.
        {9, {dot + "242 214 254 226", dot + "210 238 222 250"}},
        {10, {dot + "210 214 222 226", dot + "242 254 254 266"}},
    };
    const TRegionMask region = Region(40, 40, 14, 14, 17, 17);
    for (const Case& c : cases) {
        main.Picture.Clear();
        trace.Picture.Clear();
        Fill(region, Relation(c.Pattern, 0x0000FF), true, 16, 1, true);
        EXPECT_EQ(main.Lines(), c.Main) << c.Pattern;
        if (c.Pattern <= 8) {
            ASSERT_EQ(trace.Lines().size(), 1u) << c.Pattern << Hex(FadeColorBySetting(0x0000FF));
            const std::string faded = "polyline pen(" + Hex(FadeColorBySetting(0x0000FF));
            EXPECT_EQ(trace.Lines()[0].substr(0, faded.size()), faded) << c.Pattern;
        } else {
            EXPECT_TRUE(trace.Lines().empty()) << "dots stay off the trace";
        }
    }
}

// At magnification 1 the strokes are one pixel wide and the dots have no
// radius; a long run still merges into one stroke per line.
TEST_F(HatchTest, UnmagnifiedStrokes)
{
    Fill(Region(40, 40, 0, 0, 41, 41), Relation(1), true);
    EXPECT_EQ(main.Lines(), (Lines{"polyline pen(FF0000 0 solid mask) 0,0 0,41",
                                   "polyline pen(FF0000 0 solid mask) 16,0 16,41",
                                   "polyline pen(FF0000 0 solid mask) 32,0 32,41"}));
    main.Picture.Clear();
    Fill(Region(40, 40, 14, 14, 14, 14), Relation(10), true);
    EXPECT_EQ(main.Lines(), Lines{"ellipse pen(FF0000 0 solid mask) brush(solid 00FF00) 14 14 14 14"});
}

TEST_F(HatchTest, TheCanvasesKeepTheirTools)
{
    main.Canvas.Pen = TPen{.Color = 0x123456, .Width = 3};
    main.Canvas.Brush.Style = TBrushStyle::Clear;
    Fill(Region(40, 40, 14, 14, 17, 17), Relation(9), true, 16);
    EXPECT_EQ(main.Canvas.Pen, (TPen{.Color = 0x123456, .Width = 3}));
    EXPECT_EQ(main.Canvas.Brush.Style, TBrushStyle::Clear);
}

} // namespace
