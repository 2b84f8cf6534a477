#include "model/Colors.h"

#include "model/Numeric.h"
#include "model/Options.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TColorScheme NormalColorScheme{
    false,
    {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF},
    {0xFFFFFF, 0xFF0000, 0x0000FF, 0x00BF00, 0x000000, 0x808080, 0xE0E0FF, 0xFFE0E0, 0xE0FFE0,
     0xD000D0, 0xE0E0E0, 0xE0FFFF, 0xC0C000, 0x00FFFF, 0xFFE0FF, 0xFFFFE0},
    {0xFFFFFF, 0xE8FFFF, 0xFFFFF0, 0xF2F2FF},
    {0x008000, 0x000000, 0x800000, 0x00007F},
    0xE0A0A0,
};

constexpr TColorScheme MonochromeColorScheme{
    true,
    {0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF},
    {0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0xD0D0D0, 0xD0D0D0, 0xD0D0D0,
     0x000000, 0xC0C0C0, 0xF0F0F0, 0x000000, 0xC0C0C0, 0xE0E0E0, 0xE0E0E0},
    {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
    {0x000000, 0x000000, 0x000000, 0x000000},
    0x000000,
};

} // namespace

TColorScheme ColorScheme = NormalColorScheme;

void TColorScheme::Reset()
{
    *this = NormalColorScheme;
}

void SetNormalColorScheme()
{
    ColorScheme = NormalColorScheme;
}

void SetMonochromeColorScheme()
{
    ColorScheme = MonochromeColorScheme;
}

TColor FadeColor(TColor c, long double exponent)
{
    const int r = ColorRed(c), g = ColorGreen(c), b = ColorBlue(c);
    // Blue hardly changes how bright a colour looks, so it does not count.
    const long double brightness = (2 * r + 5 * g) / 1785.0L;
    long double t = 0.0L;
    if (exponent > 0.0L) {
        const long double d = 2.0L * brightness - 1.0L;
        t = std::pow(d * d, exponent);
    }
    t = NearestInt(t * 32.0L) / 32.0L;
    const auto fade = [t](int component) {
        return std::clamp(NearestInt(t * 255.0L + component * (1.0L - t)), 0, 255);
    };
    return MakeColor(fade(r), fade(g), fade(b)) | PaletteColorFlag;
}

TColor FadeColorBySetting(TColor c)
{
    return FadeColor(c, Options.AfterImageColorNo / 4.0L);
}

TColor DarkenColor(TColor c)
{
    const auto darken = [](int component) { return NearestInt(component * 2.0L / 3.0L); };
    return MakeColor(darken(ColorRed(c)), darken(ColorGreen(c)), darken(ColorBlue(c))) | PaletteColorFlag;
}

TColor MonochromeColor(TColor c)
{
    if (!ColorScheme.Monochrome)
        return c;
    const int v = (3 * ColorRed(c) + 5 * ColorGreen(c) + 2 * ColorBlue(c)) / 10;
    if (v < 128)
        return ColorBlack;
    if (v > 192)
        return ColorWhite;
    return static_cast<TColor>(v) * 0x010101;
}
