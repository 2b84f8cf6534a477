#include "render/plot/BrushPattern.h"

#include "render/gfx/ColorConvert.h"

#include <array>
#include <cstdint>

namespace {

// One byte per row, the high bit leftmost; a set bit is a dot.
using TTileRows = std::array<std::uint8_t, 8>;
constexpr TTileRows DenseDots{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
constexpr TTileRows SparseDots{0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};

QImage TileOf(const TTileRows& rows, TColor color)
{
    QImage tile(8, 8, QImage::Format_RGB32);
    const QRgb dot = ToQRgb(color);
    const QRgb blank = ToQRgb(ColorWhite);
    for (int y = 0; y < 8; ++y) {
        auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < 8; ++x)
            line[x] = (rows[static_cast<std::size_t>(y)] & (0x80 >> x)) ? dot : blank;
    }
    return tile;
}

} // namespace

QImage PatternTile(int pattern, TColor color)
{
    switch (pattern) {
    case PatternDense:
        return TileOf(DenseDots, color);
    case PatternSparse:
        return TileOf(SparseDots, color);
    default:
        return {};
    }
}

void SetBrushPattern(TBrush& brush, int pattern)
{
    // Styles of patterns 1 to 8; the dot screens are tiles.
    static constexpr std::array<TBrushStyle, 8> Styles{
        TBrushStyle::Solid,     TBrushStyle::Bitmap,    TBrushStyle::Bitmap,   TBrushStyle::DiagCross,
        TBrushStyle::BDiagonal, TBrushStyle::FDiagonal, TBrushStyle::Vertical, TBrushStyle::Horizontal,
    };
    if (IsWhiteColor(brush.Color))
        pattern = PatternSolid;
    brush.Style = pattern >= 1 && pattern <= 8 ? Styles[static_cast<std::size_t>(pattern - 1)] : TBrushStyle::Clear;
    brush.Pattern = PatternTile(pattern, brush.Color);
}
