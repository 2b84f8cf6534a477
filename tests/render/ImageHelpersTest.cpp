#include "PixelProbe.h"
#include "render/gfx/ImageHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageHelpersTest, FillImageFillsEverythingAndLeavesABlackPen)
{
    TBitmap image(12, 9);
    image.Canvas().Pen.Mode = TPenMode::Mask;
    FillImage(image, 0x336699);
    EXPECT_EQ(CountColor(image.Image(), 0x336699), 12 * 9);
    EXPECT_EQ(image.Canvas().Pen.Color, ColorBlack);
    EXPECT_EQ(image.Canvas().Pen.Mode, TPenMode::Copy);
    EXPECT_EQ(image.Canvas().Brush.Color, 0x336699u);
    EXPECT_EQ(image.Canvas().Brush.Style, TBrushStyle::Solid);
}

TEST(ImageHelpersTest, FramedImageIsWhiteWithASunkenBevel)
{
    TBitmap image(10, 8);
    FillImage(image, 0x0000FF);
    ClearImageFramed(image);
    const QImage& p = image.Image();
    const TColor light = ThreeDLightColor();
    EXPECT_EQ(PixelAt(p, 0, 0), 0x808080u);
    EXPECT_EQ(PixelAt(p, 0, 7), 0x808080u);
    EXPECT_EQ(PixelAt(p, 8, 0), 0x808080u);
    EXPECT_EQ(PixelAt(p, 9, 0), light);
    EXPECT_EQ(PixelAt(p, 9, 7), light);
    EXPECT_EQ(PixelAt(p, 1, 7), light);
    EXPECT_EQ(PixelAt(p, 5, 4), ColorWhite);
    EXPECT_EQ(CountColor(p, 0x808080) + CountColor(p, light) + CountColor(p, ColorWhite), 80);
    EXPECT_EQ(CountColor(p, 0x808080), 7 + 9);
}

TEST(ImageHelpersTest, BitmapResizesWhiteAndKeepsItsTools)
{
    TBitmap image;
    image.Canvas().Pen.Color = 0x00FF00;
    image.SetSize(5, 4);
    EXPECT_EQ(CountColor(image.Image(), ColorWhite), 20);
    image.Canvas().MoveTo(0, 0);
    image.Canvas().LineTo(5, 0);
    EXPECT_EQ(CountColor(image.Image(), 0x00FF00), 5);
}

} // namespace
