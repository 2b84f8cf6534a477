#include "render/plot/BrushPattern.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(BrushPatternTest, PatternNumbersGiveTheirBrushStyles)
{
    struct Case {
        int Pattern;
        TBrushStyle Style;
    };
    const Case cases[] = {
        {1, TBrushStyle::Solid},     {2, TBrushStyle::Bitmap},    {3, TBrushStyle::Bitmap},
        {4, TBrushStyle::DiagCross}, {5, TBrushStyle::BDiagonal}, {6, TBrushStyle::FDiagonal},
        {7, TBrushStyle::Vertical},  {8, TBrushStyle::Horizontal}, {0, TBrushStyle::Clear},
        {9, TBrushStyle::Clear},     {255, TBrushStyle::Clear},
    };
    for (const Case& c : cases) {
        TBrush brush{.Style = TBrushStyle::Cross, .Color = 0x00FF00, .Pattern = QImage(2, 2, QImage::Format_RGB32)};
        SetBrushPattern(brush, c.Pattern);
        EXPECT_EQ(brush.Style, c.Style) << c.Pattern;
        EXPECT_EQ(brush.Color, 0x00FF00u) << c.Pattern;
        EXPECT_EQ(brush.Pattern.isNull(), c.Style != TBrushStyle::Bitmap) << c.Pattern;
    }
    // A white fill covers whatever the pattern.
    for (int pattern : {0, 2, 5}) {
        TBrush white{.Color = ColorWhite, .Pattern = {}};
        SetBrushPattern(white, pattern);
        EXPECT_EQ(white.Style, TBrushStyle::Solid);
    }
}

// The dot screens: every second pixel and every fourth, in the brush colour
// on white, so that white vanishes under the mask pen.
TEST(BrushPatternTest, DotScreensAreTilesInTheBrushColour)
{
    struct Case {
        int Pattern;
        int Dots;
    };
    for (const Case c : {Case{2, 32}, Case{3, 16}}) {
        TBrush brush{.Color = 0x0000FF, .Pattern = {}};
        SetBrushPattern(brush, c.Pattern);
        const QImage& tile = brush.Pattern;
        ASSERT_EQ(tile.size(), QSize(8, 8));
        int dots = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const QRgb p = tile.pixel(x, y);
                EXPECT_TRUE(p == qRgb(255, 0, 0) || p == qRgb(255, 255, 255));
                dots += p == qRgb(255, 0, 0);
            }
        }
        EXPECT_EQ(dots, c.Dots) << c.Pattern;
        // No two dots touch side by side.
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_FALSE(tile.pixel(x, y) == qRgb(255, 0, 0) && tile.pixel((x + 1) % 8, y) == qRgb(255, 0, 0));
    }
    EXPECT_TRUE(PatternTile(4, 0x0000FF).isNull());
}

} // namespace
