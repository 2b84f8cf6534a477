#include "PlotTestKit.h"
#include "render/plot/Pens.h"
#include "tests/render/PixelProbe.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;

TEST(PensTest, LineStyleBytesMapToPenStyles)
{
    const std::pair<int, TPenStyle> cases[] = {
        {0, TPenStyle::Clear}, {1, TPenStyle::Solid},   {2, TPenStyle::Dash},  {3, TPenStyle::Dot},
        {4, TPenStyle::DashDot}, {5, TPenStyle::Solid}, {255, TPenStyle::Solid}, {-1, TPenStyle::Solid},
    };
    for (const auto& [byte, style] : cases)
        EXPECT_EQ(PenStyleCode(byte), style) << byte;
}

TEST(PensTest, OnlyWideVisiblePensThatNeedItBecomeGeometric)
{
    struct Case {
        TPenStyle Style;
        int Width;
        TColor Color;
        std::uint8_t CapStyle;
        TPenCap Caps;
        bool Made;
        TPenCap Cap; // when made
    };
    const Case cases[] = {
        {TPenStyle::Solid, 2, Red, 1, TPenCap::Round, true, TPenCap::Flat}, // flat ends for solid pens too
        {TPenStyle::Solid, 2, Red, 0, TPenCap::Round, false, {}},
        {TPenStyle::Dash, 2, Red, 0, TPenCap::Round, true, TPenCap::Round},
        {TPenStyle::Dash, 2, Red, 0, TPenCap::Flat, true, TPenCap::Flat},
        {TPenStyle::Dot, 2, Red, 2, TPenCap::Round, true, TPenCap::Flat},
        {TPenStyle::Clear, 3, Red, 0, TPenCap::Round, true, TPenCap::Round},
        {TPenStyle::Dash, 1, Red, 1, TPenCap::Round, false, {}},
        {TPenStyle::Dash, 3, ColorWhite | PaletteColorFlag, 1, TPenCap::Round, false, {}},
    };
    for (const Case& c : cases) {
        TRecorder rec;
        rec.Canvas.Pen = TPen{.Color = c.Color, .Width = c.Width, .Style = c.Style};
        const TPen before = rec.Canvas.Pen;
        EXPECT_EQ(CreateStyledPen(rec.Canvas, c.Caps, PenSettings(c.CapStyle)), c.Made) << int(c.Style) << c.Width;
        TPen expected = before;
        if (c.Made) {
            expected.Geometric = true;
            expected.Cap = c.Cap;
        }
        EXPECT_EQ(rec.Canvas.Pen, expected);
        EXPECT_EQ(rec.Canvas.Brush.Style, TBrushStyle::Clear);
    }
}

TEST(PensTest, StyledPolylinesRecordTheStyledPenAndLeaveTheToolsAlone)
{
    struct Case {
        TPenStyle Style;
        int Width;
        TColor Color;
        std::uint8_t CapStyle;
        std::string Expected; // empty: nothing drawn
    };
    const Case cases[] = {
        {TPenStyle::Dash, 3, Red, 1, "polyline pen(0000FF 3 dash mask geometric flat) 0,0 10,5 20,0"},
        {TPenStyle::Dash, 3, Red, 0, "polyline pen(0000FF 3 dash mask geometric round) 0,0 10,5 20,0"},
        {TPenStyle::Solid, 3, Red, 0, "polyline pen(0000FF 3 solid mask) 0,0 10,5 20,0"},
        {TPenStyle::Dot, 1, Red, 1, "polyline pen(0000FF 1 dot mask) 0,0 10,5 20,0"},
        {TPenStyle::Clear, 3, Red, 1, ""},
        {TPenStyle::Solid, 3, ColorWhite, 1, ""},
    };
    const QPoint points[] = {{0, 0}, {10, 5}, {20, 0}};
    for (const Case& c : cases) {
        TRecorder rec;
        rec.Canvas.Pen = TPen{.Color = c.Color, .Width = c.Width, .Style = c.Style, .Mode = TPenMode::Mask};
        rec.Canvas.Brush.Color = Green;
        const TCanvas::TTools before = rec.Canvas.SaveTools();
        DrawPolyline(rec.Canvas, points, PenSettings(c.CapStyle));
        EXPECT_EQ(rec.Lines(), c.Expected.empty() ? Lines{} : Lines{c.Expected});
        EXPECT_EQ(rec.Canvas.Pen, before.Pen);
        EXPECT_EQ(rec.Canvas.Brush, before.Brush);
    }
}

TEST(PensTest, PolygonsFillWithoutOutlineOnlyWhenTheBrushShows)
{
    const QPoint triangle[] = {{0, 0}, {10, 0}, {10, 10}};
    struct Case {
        TBrush Brush;
        std::string Fill; // empty: no fill
    };
    const Case cases[] = {
        {TBrush{TBrushStyle::Solid, Green, {}}, "brush(solid 00FF00)"},
        {TBrush{TBrushStyle::DiagCross, Green, {}}, "brush(diagcross 00FF00)"},
        {TBrush{TBrushStyle::Solid, ColorWhite, {}}, ""},
        {TBrush{TBrushStyle::Bitmap, ColorWhite, BlankImage(2, 2, Green)}, "brush(bitmap 2x2 #"},
    };
    for (const Case& c : cases) {
        TRecorder rec;
        rec.Canvas.Brush = c.Brush;
        DrawPolygonAndOutline(rec.Canvas, triangle, PenSettings(1));
        const Lines lines = rec.Lines();
        ASSERT_EQ(lines.size(), c.Fill.empty() ? 1 : 2) << c.Fill;
        if (!c.Fill.empty()) {
            EXPECT_TRUE(lines[0].starts_with("polygon pen(000000 1 clear copy) " + c.Fill)) << lines[0];
            EXPECT_TRUE(lines[0].ends_with(" 0,0 10,0 10,10")) << lines[0];
        }
        EXPECT_EQ(lines.back(), "polyline pen(000000 1 solid copy) 0,0 10,0 10,10 0,0");
        EXPECT_EQ(rec.Canvas.Pen.Style, TPenStyle::Solid);
    }
}

TEST(PensTest, RectOutlineRunsDownTheLeftSideFirstWithThePenAsItIs)
{
    TRecorder rec;
    rec.Canvas.Pen = TPen{.Color = Red, .Width = 3, .Style = TPenStyle::Dash};
    DrawRectOutline(rec.Canvas, 1, 2, 30, 40);
    const std::string pen = "polyline pen(0000FF 3 dash copy) ";
    EXPECT_EQ(rec.Lines(), Lines({pen + "1,2 1,40", pen + "1,40 30,40", pen + "30,40 30,2", pen + "30,2 1,2"}));
    EXPECT_EQ(rec.Canvas.PenPos, QPoint(1, 2));
}

// The cap option decides whether a wide line reaches past its end points.
TEST(PensTest, CapOptionGivesWideLinesFlatOrRoundEnds)
{
    for (const std::uint8_t capStyle : {0, 1}) {
        QImage image = BlankImage(40, 20);
        TCanvas canvas = MakeImageCanvas(image);
        canvas.Pen = TPen{.Color = ColorBlack, .Width = 6, .Mode = TPenMode::Mask};
        DrawLineSeg(canvas, 10, 10, 30, 10, PenSettings(capStyle));
        const bool round = capStyle == 0;
        EXPECT_EQ(PixelAt(image, 8, 10), round ? ColorBlack : ColorWhite) << int(capStyle);
        EXPECT_EQ(PixelAt(image, 31, 10), round ? ColorBlack : ColorWhite) << int(capStyle);
        EXPECT_EQ(PixelAt(image, 10, 10), ColorBlack);
        EXPECT_EQ(PixelAt(image, 29, 10), ColorBlack);
    }
}

} // namespace
