#include "PlotTestKit.h"
#include "render/plot/ArrowsAndBraces.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// The head grows with the pen width and the magnified font size, and takes
// at most three quarters of a short arrow; the shaft ends inside the head.
TEST(ArrowsTest, ShaftAndHeadFollowThePenFontAndLength)
{
    struct Case {
        QPoint From;
        QPoint To;
        int Width;
        int Magnification;
        std::string Shaft; // the shaft's points
        std::string Head;  // the head's points
    };
    const Case cases[] = {
        {{0, 0}, {100, 0}, 1, 1, "0,0 89,0", "100,0 87,-5 89,0 87,5"},
        {{0, 0}, {10, 0}, 1, 1, "0,0 4,0", "10,0 3,-3 4,0 3,3"}, // head of 0.75 × 10
        {{50, 80}, {50, 0}, 3, 1, "50,80 50,14", "50,0 44,17 50,14 56,17"},
        {{0, 0}, {1000, 0}, 16, 16, "0,0 828,0", "1000,0 789,-77 828,0 789,77"},
    };
    for (const Case& c : cases) {
        TRecorder rec;
        rec.Canvas.Pen = TPen{.Color = 0x0000FF, .Width = c.Width, .Mode = TPenMode::Mask};
        TPenSettings settings = PenSettings(0, c.Magnification);
        DrawArrow(rec.Canvas, c.From.x(), c.From.y(), c.To.x(), c.To.y(), settings);
        const std::string width = std::to_string(c.Width);
        EXPECT_EQ(rec.Lines(),
                  Lines({"polyline pen(0000FF " + width + " solid mask) " + c.Shaft,
                               "polygon pen(0000FF 1 solid mask) brush(solid 0000FF) " + c.Head}));
        EXPECT_EQ(rec.Canvas.Pen.Width, 1);
        EXPECT_EQ(rec.Canvas.Brush.Style, TBrushStyle::Clear);
    }
    TRecorder rec;
    DrawArrow(rec.Canvas, 7, 7, 7, 7, PenSettings(0));
    EXPECT_TRUE(rec.Picture.IsEmpty());
}

TEST(BracesTest, ControlPointsAndLabelAnchorBulgeLeftOfTheDirection)
{
    struct Case {
        QPoint From;
        QPoint To;
        int Magnification;
        TBracePoints Expected;
    };
    const Case cases[] = {
        {{0, 0}, {120, 0}, 1, {{20, -40}, {100, -40}, {60, -42}}},
        {{0, 0}, {0, 600}, 1, {{60, 30}, {60, 570}, {57, 300}}}, // size capped at 30 pixels
        {{0, 0}, {1920, 0}, 16, {{320, -640}, {1600, -640}, {960, -672}}},
    };
    for (const Case& c : cases) {
        const auto points = BracePoints(c.From.x(), c.From.y(), c.To.x(), c.To.y(), PenSettings(1, c.Magnification));
        ASSERT_TRUE(points);
        EXPECT_EQ(*points, c.Expected) << c.To.x() << "," << c.To.y();
    }
    EXPECT_FALSE(BracePoints(5, 5, 5, 5, PenSettings(1)));
}

TEST(BracesTest, BraceIsABezierWithTheStyledPenWhichIsRestored)
{
    TRecorder rec;
    rec.Canvas.Pen = TPen{.Color = 0x0000FF, .Width = 2, .Style = TPenStyle::Dash};
    rec.Canvas.Brush.Color = 0x00FF00;
    const TPen pen = rec.Canvas.Pen;
    EXPECT_EQ(DrawBrace(rec.Canvas, 0, 0, 120, 0, PenSettings(1)), QPoint(60, -42));
    EXPECT_EQ(rec.Lines(), Lines({"bezier pen(0000FF 2 dash copy geometric flat) 0,0 20,-40 100,-40 120,0"}));
    EXPECT_EQ(rec.Canvas.Pen, pen);
    EXPECT_EQ(rec.Canvas.Brush.Style, TBrushStyle::Clear);
    EXPECT_FALSE(DrawBrace(rec.Canvas, 3, 3, 3, 3, PenSettings(1)));
    EXPECT_EQ(rec.Lines().size(), 1);
}

} // namespace
