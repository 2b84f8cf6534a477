// The palette's pictures: tinting, colour replacement, fill brushes, and
// glyphs that show what their value draws.
#include "dialogs/FmSetColor.h"
#include "dialogs/PaletteGlyphs.h"
#include "model/Colors.h"
#include "render/gfx/Bitmap.h"
#include "render/plot/Hatch.h"
#include "render/scene/FreePen.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

QRgb Rgb(TColor c)
{
    return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

int CountInColumn(const QImage& image, int x, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += image.pixel(x, y) == colour;
    return count;
}

TEST(PaletteGlyphsTest, TintColoursTheNonWhitePixelsOfRowsAndColumnsOneToEighteen)
{
    QImage glyph(21, 21, QImage::Format_RGB32);
    glyph.fill(Qt::black);
    glyph.setPixel(5, 5, White);
    const QImage tinted = TFmSetColor::TintGlyph(glyph, 0x0000FF | PaletteColorFlag);
    ASSERT_EQ(tinted.format(), QImage::Format_RGB32);
    struct Case {
        int x, y;
        QRgb expected;
    };
    const Case cases[] = {
        {1, 1, qRgb(255, 0, 0)}, {18, 18, qRgb(255, 0, 0)}, {9, 9, qRgb(255, 0, 0)}, // inside
        {5, 5, White},                                                             // white stays
        {0, 9, Black},           {9, 0, Black},           {19, 9, Black}, {9, 20, Black}, // outside 1..18
    };
    for (const Case& c : cases)
        EXPECT_EQ(tinted.pixel(c.x, c.y), c.expected) << c.x << "," << c.y;
    // A glyph smaller than the tinted square is tinted as far as it goes.
    const QImage small = TFmSetColor::TintGlyph(QImage(4, 4, QImage::Format_RGB32), 0xFF0000);
    EXPECT_EQ(small.pixel(3, 3), qRgb(0, 0, 255));
}

TEST(PaletteGlyphsTest, ReplaceBitmapColorChangesOnlyTheOldColour)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, Black);
    image.setPixel(1, 0, White);
    image.setPixel(2, 0, qRgb(1, 0, 0));
    TFmSetColor::ReplaceBitmapColor(image, 0x00FF00, ColorBlack);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(1, 0), White);
    EXPECT_EQ(image.pixel(2, 0), qRgb(1, 0, 0));
}

// What a fill in each pattern leaves on a black picture.
QImage Filled(int pattern, TColor colour)
{
    TBitmap bitmap(16, 16);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = ColorBlack;
    canvas.FillRect(TRect{0, 0, 16, 16});
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Brush = TFmSetColor::SetBrushPattern(pattern, colour);
    canvas.Rectangle(0, 0, 17, 17);
    return bitmap.Image();
}

TEST(PaletteGlyphsTest, BrushPatterns)
{
    // White counts as solid whatever the pattern.
    EXPECT_EQ(TFmSetColor::SetBrushPattern(5, ColorWhite).Style, TBrushStyle::Solid);
    const QImage whiteFill = Filled(5, ColorWhite);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(CountInColumn(whiteFill, x, White), 16) << x;

    // 5 in red: red lines rising to the right, the black showing between.
    EXPECT_EQ(TFmSetColor::SetBrushPattern(5, 0x0000FF).Style, TBrushStyle::BDiagonal);
    const QImage red = Filled(5, 0x0000FF);
    int redPixels = 0;
    for (int y = 1; y < 16; ++y)
        for (int x = 0; x + 1 < 16; ++x)
            if (red.pixel(x, y) == qRgb(255, 0, 0)) {
                ++redPixels;
                EXPECT_EQ(red.pixel(x + 1, y - 1), qRgb(255, 0, 0)) << x << "," << y;
            }
    EXPECT_GT(redPixels, 16);
    EXPECT_LT(redPixels, 16 * 16 / 2);

    struct Case {
        int pattern;
        TBrushStyle style;
    };
    const Case cases[] = {{1, TBrushStyle::Solid},     {2, TBrushStyle::Bitmap},    {3, TBrushStyle::Bitmap},
                          {4, TBrushStyle::DiagCross}, {6, TBrushStyle::FDiagonal}, {7, TBrushStyle::Vertical},
                          {8, TBrushStyle::Horizontal}, {9, TBrushStyle::Clear},    {0, TBrushStyle::Clear}};
    for (const Case& c : cases)
        EXPECT_EQ(TFmSetColor::SetBrushPattern(c.pattern, 0x0000FF).Style, c.style) << c.pattern;
    // 9 leaves the picture as it was; 2's picture is dotted in the colour.
    EXPECT_EQ(CountInColumn(Filled(9, 0x0000FF), 3, Black), 16);
    const TBrush dots = TFmSetColor::SetBrushPattern(2, 0x0000FF);
    EXPECT_EQ(dots.Pattern.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(dots.Pattern.pixel(1, 0), White);
}

TEST(PaletteGlyphsTest, WidthGlyphsAreAsThickAsTheirWidth)
{
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(CountInColumn(PaletteGlyph(TPaletteFamily::Width, n), GlyphSize / 2, Black), n) << n;
    EXPECT_EQ(CountInColumn(PaletteGlyph(TPaletteFamily::Width, 0), GlyphSize / 2, Black), 0);
    EXPECT_TRUE(PaletteGlyph(TPaletteFamily::Width, 7).isNull());
}

// Runs of ink along the middle row: one for solid, several for the others.
TEST(PaletteGlyphsTest, LineStyleGlyphsShowTheirDashes)
{
    int lastRuns = 0;
    for (int n = 1; n <= 4; ++n) {
        const QImage glyph = PaletteGlyph(TPaletteFamily::LineStyle, n);
        ASSERT_EQ(glyph.width(), LineStyleGlyphWidth);
        int runs = 0;
        for (int x = 2; x < glyph.width() - 2; ++x)
            runs += glyph.pixel(x, GlyphSize / 2) == Black && glyph.pixel(x - 1, GlyphSize / 2) != Black;
        if (n == 1)
            EXPECT_EQ(runs, 1);
        else
            EXPECT_GE(runs, 2) << n;
        EXPECT_NE(runs, lastRuns) << n;
        lastRuns = runs;
    }
}

TEST(PaletteGlyphsTest, HatchGlyphsPaintThePhaseZeroPixels)
{
    for (int n = 1; n <= 10; ++n) {
        const QImage glyph = PaletteGlyph(TPaletteFamily::Pattern, n);
        for (int x = 1; x < GlyphSize - 1; ++x)
            for (int y = 1; y < GlyphSize - 1; ++y)
                ASSERT_EQ(glyph.pixel(x, y) == Black, HatchPhase(n, x, y) == 0) << n << ": " << x << "," << y;
    }
}

TEST(PaletteGlyphsTest, PointStylesAndColoursShowTheirKind)
{
    const int mid = GlyphSize / 2;
    EXPECT_EQ(PaletteGlyph(TPaletteFamily::PointStyle, 0).pixel(mid, mid), Black);
    EXPECT_EQ(PaletteGlyph(TPaletteFamily::PointStyle, 1).pixel(mid, mid), White);
    EXPECT_EQ(PaletteGlyph(TPaletteFamily::Color, 2).pixel(mid, mid), Rgb(ColorScheme.ColorPalette[2]));
    EXPECT_EQ(PaletteGlyph(TPaletteFamily::Color, 0).pixel(2, 2), White);
    EXPECT_EQ(PaletteGlyph(TPaletteFamily::BackColor, 1).pixel(mid, mid), Rgb(ColorScheme.MemoBGColors[1]));
    // The pen's solid colours are their tile's first pixel.
    for (int n : {1, 3, 5})
        EXPECT_EQ(PaletteGlyph(TPaletteFamily::FreePenColor, n).pixel(mid, mid), FreePenPatternTile(n).pixel(0, 0));
}

} // namespace
