#include "render/scene/FreePen.h"

#include "render/gfx/ColorConvert.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<TColor, 6> FreePenColors{0x80FFFF, 0x0000FF, 0x80FF80, 0xFF0000, 0xFF80FF, 0x000000};
constexpr int TileSize = 8;

} // namespace

TColor FreePenColor(int n)
{
    const bool known = n >= 0 && n < static_cast<int>(FreePenColors.size());
    return FreePenColors[static_cast<std::size_t>(known ? n : 1)];
}

QImage FreePenPatternTile(int n)
{
    QImage tile(TileSize, TileSize, QImage::Format_RGB32);
    tile.fill(ToQColor(FreePenColor(n)));
    return tile;
}

bool IsOpaquePenPattern(int n)
{
    return n == 1 || n == 3 || n == 5;
}

TfreePen::TfreePen()
{
    marks_.reserve(MaxMarks);
}

void TfreePen::Clear()
{
    marks_.clear();
    lastPattern_ = -1;
}

bool TfreePen::Add(int x, int y, int size, int pattern)
{
    if (Count() >= MaxMarks)
        return false;
    marks_.push_back({x, y, static_cast<std::uint8_t>(pattern), static_cast<std::uint8_t>(size)});
    return true;
}

void TfreePen::EraseRect(int x1, int y1, int x2, int y2)
{
    const auto [left, right] = std::minmax(x1, x2);
    const auto [top, bottom] = std::minmax(y1, y2);
    std::erase_if(marks_, [&](const TPenMark& m) {
        return m.X >= left && m.X <= right && m.Y >= top && m.Y <= bottom;
    });
}

void TfreePen::LoadPattern(int pattern)
{
    if (pattern == lastPattern_)
        return;
    lastPattern_ = pattern;
    pattern_ = FreePenPatternTile(pattern);
    ++patternLoads_;
}

void TfreePen::DrawMark(TCanvas& canvas, int i, const TDrawContext& context)
{
    if (i < 1 || i > Count())
        return;
    const TPenMark& mark = Mark(i);
    LoadPattern(mark.Pattern);
    const TCanvas::TTools saved = canvas.SaveTools();
    canvas.Brush = TBrush{TBrushStyle::Bitmap, ColorWhite, pattern_};
    const int r = context.Magnify(mark.Size + 2);
    const int x = context.Magnify(mark.X);
    const int y = context.Magnify(mark.Y);
    if (IsOpaquePenPattern(mark.Pattern)) {
        // The tile is of one colour: its first pixel's.
        canvas.Pen = TPen{FreePenColor(mark.Pattern), 1, TPenStyle::Solid, TPenMode::Copy};
        canvas.Ellipse(x - (r - 1), y - (r - 1), x + (r - 1), y + (r - 1));
    } else {
        canvas.Pen = TPen{ColorBlack, 1, TPenStyle::Clear, TPenMode::Mask};
        canvas.Ellipse(x - r, y - r, x + r, y + r);
    }
    canvas.RestoreTools(saved);
}

void TfreePen::DrawAll(TCanvas& canvas, const TDrawContext& context)
{
    for (int i = 1; i <= Count(); ++i)
        DrawMark(canvas, i, context);
}
