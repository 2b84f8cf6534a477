#include "GoldenFiles.h"
#include "PixelProbe.h"
#include "render/gfx/Canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00FF00;
constexpr TColor Yellow = 0x00FFFF;

struct CanvasFixture : ::testing::Test {
    QImage image = BlankImage(40, 30);
    TCanvas canvas = MakeImageCanvas(image);

    void Line(int x1, int y1, int x2, int y2)
    {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    }
};

TEST_F(CanvasFixture, MaskLinesDarkenEachOtherAndWhiteStaysInvisible)
{
    canvas.Pen.Mode = TPenMode::Mask;
    canvas.Pen.Color = Red;
    Line(0, 10, 40, 10);
    canvas.Pen.Color = Blue;
    Line(20, 0, 20, 30);
    canvas.Pen.Color = ColorWhite;
    Line(0, 20, 40, 20);
    EXPECT_EQ(PixelAt(image, 20, 10), ColorBlack);
    EXPECT_EQ(PixelAt(image, 5, 10), Red);
    EXPECT_EQ(PixelAt(image, 20, 5), Blue);
    EXPECT_EQ(PixelAt(image, 5, 20), ColorWhite);
    EXPECT_EQ(PixelAt(image, 20, 20), Blue);
}

TEST_F(CanvasFixture, XorLineDrawnTwiceRestoresThePicture)
{
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) & 0xFF));
    const QImage before = image.copy();
    canvas.Pen.Mode = TPenMode::Xor;
    canvas.Pen.Color = 0xC0C0C0;
    const QPoint zigzag[] = {{1, 1}, {30, 25}, {35, 3}, {2, 28}};
    canvas.Polyline(zigzag);
    EXPECT_NE(image, before);
    canvas.Polyline(zigzag);
    EXPECT_EQ(image, before);
}

TEST_F(CanvasFixture, MergeModeOrsColours)
{
    image.fill(QColor(0, 0, 255)); // blue
    canvas.Pen.Mode = TPenMode::Merge;
    canvas.Pen.Color = Red;
    Line(0, 5, 40, 5);
    EXPECT_EQ(PixelAt(image, 3, 5), 0xFF00FF);
}

TEST_F(CanvasFixture, TextFillRectAndPixelsIgnoreThePenMode)
{
    image.fill(QColor(0, 0, 255));
    canvas.Pen.Mode = TPenMode::Mask;
    canvas.Font.Name = QStringLiteral("DejaVu Sans");
    canvas.Font.Height = -24;
    canvas.Font.Bold = true;
    canvas.Font.Color = Red;
    canvas.TextOut(2, 2, QStringLiteral("H"));
    // Under AND red on blue would be black; copied text keeps pure red cores.
    EXPECT_GT(CountColor(image, Red), 10);
    EXPECT_EQ(CountColor(image, ColorBlack), 0);

    canvas.Pen.Mode = TPenMode::Xor;
    canvas.Brush.Color = Green;
    canvas.FillRect({20, 0, 30, 10});
    canvas.SetPixel(35, 20, Yellow);
    EXPECT_EQ(PixelAt(image, 25, 5), Green);
    EXPECT_EQ(PixelAt(image, 35, 20), Yellow);
}

TEST_F(CanvasFixture, BoxesExcludeTheirRightAndBottomEdges)
{
    canvas.Brush.Color = Green;
    canvas.FillRect({2, 2, 6, 5});
    EXPECT_EQ(CountColor(image, Green), 12);
    EXPECT_EQ(PixelAt(image, 5, 4), Green);
    EXPECT_EQ(PixelAt(image, 6, 4), ColorWhite);

    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Pen.Color = Red;
    canvas.Rectangle(10, 10, 20, 16);
    // A one-pixel frame through the last pixels inside: 10 .. 19 by 10 .. 15.
    EXPECT_EQ(CountColor(image, Red), 2 * 10 + 2 * 4);
    EXPECT_EQ(PixelAt(image, 19, 15), Red);
    EXPECT_EQ(PixelAt(image, 20, 15), ColorWhite);
    EXPECT_EQ(PixelAt(image, 15, 12), ColorWhite);

    image.fill(Qt::white);
    canvas.Pen.Color = Blue;
    canvas.Ellipse(0, 0, 12, 8);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x >= 12 || y >= 8) {
                EXPECT_EQ(PixelAt(image, x, y), ColorWhite) << x << "," << y;
            }
        }
    }
    EXPECT_GT(CountColor(image, Blue), 20);
}

TEST_F(CanvasFixture, ThinLinesLeaveOutTheirLastPixelAndMoveThePen)
{
    canvas.Pen.Color = Red;
    Line(2, 3, 9, 3);
    EXPECT_EQ(CountColor(image, Red), 7);
    EXPECT_EQ(PixelAt(image, 8, 3), Red);
    EXPECT_EQ(PixelAt(image, 9, 3), ColorWhite);
    EXPECT_EQ(canvas.PenPos, QPoint(9, 3));
    canvas.LineTo(9, 8);
    EXPECT_EQ(PixelAt(image, 9, 3), Red);
}

TEST_F(CanvasFixture, LinesOfNoLengthAreDotsByPen)
{
    const QPoint dot[] = {{10, 10}, {10, 10}};
    canvas.Pen.Color = Red;
    canvas.Polyline(dot);
    EXPECT_EQ(CountColor(image, Red), 1);

    image.fill(Qt::white);
    canvas.Pen.Width = 6;
    canvas.Polyline(dot);
    const int disc = CountColor(image, Red);
    EXPECT_GT(disc, 20);
    EXPECT_LT(disc, 40);

    image.fill(Qt::white);
    canvas.Pen.Geometric = true;
    canvas.Pen.Cap = TPenCap::Flat;
    canvas.Polyline(dot);
    EXPECT_EQ(CountColor(image, Red), 0);
}

TEST_F(CanvasFixture, DashesFollowTheWindowsPatterns)
{
    struct Case {
        TPenStyle Style;
        const char* Pattern; // one character per pixel of row 0 from x = 0
    };
    const Case cases[] = {
        {TPenStyle::Dot, "###...###...###...###...###...###...###."},
        {TPenStyle::Dash, "##################......################"},
        {TPenStyle::DashDot, "#########......###......#########......#"},
    };
    for (const Case& c : cases) {
        image.fill(Qt::white);
        canvas.Pen.Style = c.Style;
        Line(0, 0, 40, 0);
        QString row;
        for (int x = 0; x < 40; ++x)
            row += PixelAt(image, x, 0) == ColorBlack ? u'#' : u'.';
        EXPECT_EQ(row.toStdString(), c.Pattern);
    }
}

TEST_F(CanvasFixture, WideStyledPensDrawSolidUnlessGeometric)
{
    canvas.Pen.Width = 3;
    canvas.Pen.Style = TPenStyle::Dot;
    Line(0, 10, 40, 10);
    for (int x = 2; x < 38; ++x)
        EXPECT_EQ(PixelAt(image, x, 10), ColorBlack) << x;

    image.fill(Qt::white);
    canvas.Pen.Geometric = true;
    canvas.Pen.Cap = TPenCap::Flat;
    Line(0, 10, 40, 10);
    EXPECT_GT(CountColor(image, ColorWhite), 40 * 30 - 40 * 3 + 30);
    EXPECT_EQ(PixelAt(image, 1, 10), ColorBlack);
    EXPECT_EQ(PixelAt(image, 4, 10), ColorWhite);
}

TEST_F(CanvasFixture, WideLinesCoverTheirWidthWithRoundOrFlatEnds)
{
    struct Case {
        int Width;
        bool Geometric;
        int Pixels;
    };
    // From (2, 5) to (10, 5): flat ends cover columns 2 .. 9; round ends
    // are discs about both end points, columns 1 .. 3 and 9 .. 11.
    const Case cases[] = {{3, true, 8 * 3}, {2, true, 8 * 2}, {4, true, 8 * 4}, {3, false, 8 * 3 + 3 + 6}};
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            image.fill(Qt::white);
            canvas.Pen.Width = c.Width;
            canvas.Pen.Geometric = c.Geometric;
            canvas.Pen.Cap = TPenCap::Flat;
            if (reversed)
                Line(10, 5, 2, 5);
            else
                Line(2, 5, 10, 5);
            EXPECT_EQ(CountColor(image, ColorBlack), c.Pixels) << c.Width << " " << c.Geometric << " " << reversed;
            EXPECT_EQ(PixelAt(image, 2, 5), ColorBlack);
            EXPECT_EQ(PixelAt(image, 9, 5), ColorBlack);
        }
    }
}

TEST_F(CanvasFixture, WideXorLinesSetEachPixelOnce)
{
    const QPoint zigzag[] = {{2, 2}, {12, 25}, {14, 3}, {30, 20}, {5, 15}};
    canvas.Pen.Width = 4;
    canvas.Pen.Color = Red;
    canvas.Polyline(zigzag);
    const int covered = CountColor(image, Red);
    image.fill(Qt::white);
    canvas.Pen.Mode = TPenMode::Xor;
    canvas.Polyline(zigzag);
    // Red XOR white once is cyan; twice would be white again.
    EXPECT_EQ(CountColor(image, 0xFFFF00), covered);
    EXPECT_GT(covered, 150);
}

TEST_F(CanvasFixture, ClearPenDrawsNoOutlineButShapesStillFill)
{
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Brush.Color = Green;
    canvas.Rectangle(0, 0, 10, 10);
    // Without a pen Windows fills one pixel less each way.
    EXPECT_EQ(CountColor(image, Green), 81);
    EXPECT_EQ(CountColor(image, ColorBlack), 0);
    Line(0, 20, 40, 20);
    EXPECT_EQ(CountNot(image, ColorWhite), 81);
}

TEST_F(CanvasFixture, HatchBrushesAreTransparentAndFollowThePenMode)
{
    image.fill(QColor(0, 0, 255));
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Brush.Style = TBrushStyle::Horizontal;
    canvas.Brush.Color = Red;
    canvas.Rectangle(0, 0, 41, 31);
    for (int y = 0; y < 30; ++y)
        EXPECT_EQ(PixelAt(image, 7, y), y % 8 == 0 ? Red : Blue) << y;

    image.fill(QColor(255, 0, 255)); // magenta
    canvas.Pen.Mode = TPenMode::Mask;
    canvas.Brush.Style = TBrushStyle::DiagCross;
    canvas.Rectangle(0, 0, 41, 31);
    EXPECT_EQ(PixelAt(image, 0, 0), Red);       // on the falling diagonal
    EXPECT_EQ(PixelAt(image, 6, 1), Red);       // on the rising one
    EXPECT_EQ(PixelAt(image, 3, 1), 0xFF00FF);  // between the lines
    EXPECT_EQ(CountColor(image, ColorBlack), 0); // red AND magenta is red
}

TEST_F(CanvasFixture, BitmapBrushTilesFromTheDeviceOrigin)
{
    QImage tile = BlankImage(2, 2, Blue);
    tile.setPixel(0, 0, qRgb(255, 0, 0));
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Brush.Style = TBrushStyle::Bitmap;
    canvas.Brush.Pattern = tile;
    canvas.FillRect({3, 3, 7, 7});
    EXPECT_EQ(PixelAt(image, 4, 4), Red);
    EXPECT_EQ(PixelAt(image, 3, 3), Blue);
    EXPECT_EQ(PixelAt(image, 6, 6), Red);
    EXPECT_EQ(PixelAt(image, 7, 7), ColorWhite);
}

TEST_F(CanvasFixture, PolygonsFillByTheOddEvenRule)
{
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Brush.Color = Green;
    // Two overlapping squares in one outline: the overlap is outside.
    const QPoint twice[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0},
                            {10, 10}, {30, 10}, {30, 29}, {10, 29}, {10, 10}};
    canvas.Polygon(twice);
    EXPECT_EQ(PixelAt(image, 5, 5), Green);
    EXPECT_EQ(PixelAt(image, 15, 15), ColorWhite);
    EXPECT_EQ(PixelAt(image, 25, 25), Green);
}

TEST_F(CanvasFixture, PieChordAndArcRunCounterClockwise)
{
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Brush.Color = Green;
    // From the ray to the right to the ray upwards: the upper right quarter.
    canvas.Pie(0, 0, 30, 30, 30, 15, 15, 0);
    EXPECT_EQ(PixelAt(image, 20, 8), Green);
    EXPECT_EQ(PixelAt(image, 8, 8), ColorWhite);
    EXPECT_EQ(PixelAt(image, 20, 22), ColorWhite);

    image.fill(Qt::white);
    canvas.Chord(0, 0, 30, 30, 30, 15, 15, 0);
    EXPECT_EQ(PixelAt(image, 24, 5), Green);
    EXPECT_EQ(PixelAt(image, 17, 12), ColorWhite); // inside the pie, outside the chord

    image.fill(Qt::white);
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Arc(0, 0, 30, 30, 15, 0, 30, 15); // the other three quarters, never filled
    EXPECT_EQ(CountColor(image, Green), 0);
    EXPECT_EQ(PixelAt(image, 0, 14), ColorBlack);
    EXPECT_EQ(PixelAt(image, 25, 5), ColorWhite);
}

TEST_F(CanvasFixture, ClipRectangleLimitsEveryCall)
{
    canvas.SetClipRect({10, 10, 20, 20});
    canvas.Brush.Color = Green;
    canvas.FillRect({0, 0, 40, 30});
    canvas.SetPixel(5, 5, Red);
    canvas.Pen.Color = Red;
    Line(0, 15, 40, 15);
    EXPECT_EQ(CountColor(image, Green) + CountColor(image, Red), 100);
    EXPECT_EQ(PixelAt(image, 5, 5), ColorWhite);
    canvas.ClearClipRect();
    canvas.SetPixel(5, 5, Red);
    EXPECT_EQ(PixelAt(image, 5, 5), Red);
    // Pixels off the image are dropped, on every side.
    const QImage before = image.copy();
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {image.width(), 0}, {0, image.height()}, {-5, 9999}})
        canvas.SetPixel(x, y, Green);
    EXPECT_EQ(image, before);
}

TEST_F(CanvasFixture, ImagesGoDownByTheCopyMode)
{
    QImage stamp = BlankImage(4, 4, Yellow);
    stamp.setPixel(0, 0, qRgb(255, 255, 255));
    image.fill(QColor(255, 0, 255));
    canvas.Draw(0, 0, stamp);
    EXPECT_EQ(PixelAt(image, 1, 1), Yellow);
    EXPECT_EQ(PixelAt(image, 0, 0), ColorWhite);

    canvas.CopyMode = TCopyMode::SrcAnd;
    canvas.Draw(10, 0, stamp);
    EXPECT_EQ(PixelAt(image, 11, 1), Red); // yellow AND magenta
    EXPECT_EQ(PixelAt(image, 10, 0), 0xFF00FF);

    canvas.CopyMode = TCopyMode::SrcCopy;
    canvas.DrawTransparent(20, 0, stamp);
    EXPECT_EQ(PixelAt(image, 21, 1), Yellow);
    EXPECT_EQ(PixelAt(image, 20, 0), 0xFF00FF);

    canvas.StretchDraw({0, 10, 8, 18}, stamp);
    EXPECT_EQ(PixelAt(image, 7, 17), Yellow);
    EXPECT_EQ(PixelAt(image, 1, 11), ColorWhite); // the white corner, doubled
    EXPECT_EQ(PixelAt(image, 8, 17), 0xFF00FF);
}

TEST_F(CanvasFixture, ToolsAreSavedAndRestored)
{
    canvas.Pen.Color = Red;
    canvas.Brush.Style = TBrushStyle::Cross;
    canvas.Font.SetSize(12);
    const TCanvas::TTools saved = canvas.SaveTools();
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    canvas.Font.Bold = true;
    canvas.RestoreTools(saved);
    EXPECT_EQ(canvas.Pen.Color, Red);
    EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Cross);
    EXPECT_EQ(canvas.Font.Height, -16);
    EXPECT_FALSE(canvas.Font.Bold);
}

// One picture of every shape and brush, without text: exact.
TEST(CanvasGolden, ShapesWithoutText)
{
    QImage image = BlankImage(96, 64);
    TCanvas c = MakeImageCanvas(image);
    c.Pen.Mode = TPenMode::Mask;
    c.Pen.Color = Red;
    c.Pen.Width = 3;
    c.Brush.Style = TBrushStyle::FDiagonal;
    c.Brush.Color = Blue;
    c.Ellipse(4, 4, 44, 34);
    c.Pen.Width = 1;
    c.Pen.Color = 0x008000;
    c.Brush.Style = TBrushStyle::Cross;
    c.Rectangle(30, 20, 70, 60);
    c.Pen.Geometric = true;
    c.Pen.Width = 4;
    c.Pen.Style = TPenStyle::Dash;
    c.Pen.Cap = TPenCap::Flat;
    c.Pen.Color = 0x0080FF;
    const QPoint wave[] = {{2, 60}, {20, 40}, {40, 58}, {60, 38}, {92, 50}};
    c.Polyline(wave);
    c.Pen = TPen{};
    c.Pen.Mode = TPenMode::Mask;
    c.Pen.Width = 5;
    c.Pen.Color = 0xA0A0A0;
    const QPoint corner[] = {{8, 44}, {24, 30}, {26, 56}};
    c.Polyline(corner);
    c.Pen = TPen{};
    c.Pen.Color = 0x800080;
    const QPoint bezier[] = {{50, 5}, {90, 0}, {60, 40}, {92, 30}};
    c.PolyBezier(bezier);
    c.Brush.Style = TBrushStyle::Solid;
    c.Brush.Color = 0xC0FFC0;
    c.Pie(66, 2, 94, 30, 94, 16, 80, 30);
    c.RoundRect(72, 40, 94, 62, 8, 8);
    EXPECT_TRUE(MatchesImageGolden(image, QStringLiteral("shapes.png")));
}

// Text goes through the platform's font engine: a small tolerance.
TEST(CanvasGolden, TextInTheSubstitutedFonts)
{
    QImage image = BlankImage(120, 40);
    TCanvas c = MakeImageCanvas(image);
    c.Font.Name = QStringLiteral("Times New Roman");
    c.Font.SetSize(14);
    c.Font.Italic = true;
    c.TextOut(2, 0, QStringLiteral("x² + 1"));
    c.Font = TFont{};
    c.Font.Name = QStringLiteral("Arial Unicode MS");
    c.Font.SetSize(10);
    c.Font.Color = Blue;
    c.Font.Underline = true;
    c.TextOut(2, 22, QStringLiteral("Informação"));
    EXPECT_TRUE(MatchesImageGolden(image, QStringLiteral("text.png"), {48, 0.02}));
}

} // namespace
