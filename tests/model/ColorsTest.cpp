#include "model/Colors.h"
#include "model/Options.h"

#include <gtest/gtest.h>

namespace {

class ColorsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Options.Reset();
        SetNormalColorScheme();
    }
    void TearDown() override { SetUp(); }
};

TEST_F(ColorsTest, FadeColorMovesDarkAndLightTowardWhite)
{
    struct Case {
        TColor c;
        long double e;
        TColor faded;
    };
    const Case cases[] = {
        {0x0000FF, 0.5L, 0x027070FF},  // red: t rounds to 14/32
        {0x808080, 0.5L, 0x02808080},  // mid-bright stays
        {0x000000, 0.5L, 0x02FFFFFF},  // black becomes white
        {0xFFFFFF, 0.5L, 0x02FFFFFF},
        {0x123456, 0.0L, 0x02123456},  // no fading at all
        {0x123456, -1.0L, 0x02123456},
        {0x02FF0000, 0.5L, 0x02FFFFFF}, // blue does not count: pure blue fades like black
        {0x00FF00, 0.5L, 0x0270FF70},
        {0x000000, 2.0L, 0x02FFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FadeColor(c.c, c.e), c.faded) << std::hex << c.c << " e=" << static_cast<double>(c.e);
}

TEST_F(ColorsTest, FadeColorBySettingUsesQuartersOfTheAfterImageSetting)
{
    const TColor c = 0x00A0FF;
    EXPECT_EQ(FadeColorBySetting(c), FadeColor(c, 0.5L)); // the reset setting is 2
    Options.AfterImageColorNo = 0;
    EXPECT_TRUE(SameColor(FadeColorBySetting(c), c));
    Options.AfterImageColorNo = 8;
    EXPECT_EQ(FadeColorBySetting(c), FadeColor(c, 2.0L));
    EXPECT_NE(FadeColor(c, 2.0L), FadeColor(c, 0.5L));
}

TEST_F(ColorsTest, DarkenColorTakesTwoThirdsRounded)
{
    EXPECT_EQ(DarkenColor(0xFFFFFF), 0x02AAAAAAu);
    EXPECT_EQ(DarkenColor(0x010203), 0x02010102u); // red 3, green 2, blue 1 become 2, 1, 1
    EXPECT_EQ(DarkenColor(0x02000000), 0x02000000u);
}

TEST_F(ColorsTest, MonochromeConversionByBrightness)
{
    const std::pair<TColor, TColor> cases[] = {
        {0x0000FF, 0x000000}, // red: v = 76
        {0xC0C0C0, 0xC0C0C0}, {0xE0E0E0, 0xFFFFFF}, {0x808080, 0x808080},
        {0x7F7F7F, 0x000000}, {0xC1C1C1, 0xFFFFFF}, {0x00FF00, 0x000000}, // green: v = 127
        {0x60C0C0, 0xACACAC}, {0x00FFFF, 0xFFFFFF}, {0x02C0C0C0, 0xC0C0C0},
    };
    for (const auto& [c, gray] : cases)
        EXPECT_TRUE(SameColor(MonochromeColor(c), c)) << "normal scheme leaves colours alone";
    SetMonochromeColorScheme();
    for (const auto& [c, gray] : cases)
        EXPECT_EQ(MonochromeColor(c), gray) << std::hex << c;
}

TEST_F(ColorsTest, SchemesSwitchEveryTable)
{
    SetMonochromeColorScheme();
    EXPECT_TRUE(ColorScheme.Monochrome);
    EXPECT_EQ(ColorScheme.ColorPalette[3], 0x000000u);
    EXPECT_EQ(ColorScheme.ColorPalette[11], 0xF0F0F0u);
    EXPECT_EQ(ColorScheme.SchemeColors[3], 0xFFFFFFu);
    EXPECT_EQ(ColorScheme.MemoBGColors[1], 0xFFFFFFu);
    EXPECT_EQ(ColorScheme.MeshColor, 0x000000u);

    ColorScheme.Reset();
    EXPECT_FALSE(ColorScheme.Monochrome);
    EXPECT_EQ(ColorScheme.ColorPalette[3], 0x00BF00u);
    EXPECT_EQ(ColorScheme.ColorPalette[15], 0xFFFFE0u);
    EXPECT_EQ(ColorScheme.SchemeColors[1], 0x404040u);
    EXPECT_EQ(ColorScheme.MemoTextColors[3], 0x00007Fu);
    EXPECT_EQ(ColorScheme.MeshColor, 0xE0A0A0u);
    EXPECT_TRUE(IsWhiteColor(0x02FFFFFF)); // the palette flag does not count
}

} // namespace
