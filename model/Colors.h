#pragma once

#include <array>
#include <cstdint>

// Colours are Windows colour numbers 0x00BBGGRR, red in the low byte, here
// and in files. The flag 0x02000000 asks for the nearest palette colour;
// colours are therefore compared on their low 24 bits only.
using TColor = std::uint32_t;

constexpr TColor PaletteColorFlag = 0x02000000;
constexpr TColor ColorBlack = 0x000000;
constexpr TColor ColorWhite = 0xFFFFFF;
// A trace colour of white means that nothing leaves a trace.
constexpr TColor NoTraceColor = ColorWhite;

constexpr int ColorRed(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor MakeColor(int r, int g, int b)
{
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr TColor ColorRGBPart(TColor c) { return c & 0xFFFFFF; }
constexpr bool SameColor(TColor a, TColor b) { return ColorRGBPart(a) == ColorRGBPart(b); }
constexpr bool IsWhiteColor(TColor c) { return SameColor(c, ColorWhite); }

// The colours the drawing takes from the current scheme: normal on screen,
// monochrome while printing or copying in black and white.
struct TColorScheme {
    bool Monochrome = false;
    std::array<TColor, 5> SchemeColors{};
    std::array<TColor, 16> ColorPalette{};
    std::array<TColor, 4> MemoBGColors{};
    std::array<TColor, 4> MemoTextColors{};
    TColor MeshColor = 0;

    // The normal scheme.
    void Reset();
};
extern TColorScheme ColorScheme;

void SetNormalColorScheme();
void SetMonochromeColorScheme();

// The colour of a trace: very dark and very light colours move toward white,
// mid-bright ones stay; a larger exponent fades less, 0 or less not at all.
TColor FadeColor(TColor c, long double exponent);
// FadeColor with the document's after-image setting.
TColor FadeColorBySetting(TColor c);
// Two thirds of each component (the grid pen).
TColor DarkenColor(TColor c);
// In the monochrome scheme: black, white or a grey by brightness; else c.
TColor MonochromeColor(TColor c);
