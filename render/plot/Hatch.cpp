#include "render/plot/Hatch.h"

#include "model/Numeric.h"
#include "render/plot/LineJoiner.h"

#include <array>
#include <cstdint>

namespace {

// Phase (A·x − B·y + C) AND 15 of each pattern. The AND, not a remainder,
// keeps negative sums in 0..15: B = 15 is the same as B = −1.
struct TPhaseTerms {
    int A = 0;
    int B = 0;
    int C = 0;
};
constexpr std::array<TPhaseTerms, LastHatchPattern + 1> PhaseTerms{{
    {},           // no pattern
    {1, 0, 0},    // 1 vertical
    {0, 1, 0},    // 2 horizontal
    {1, 1, 0},    // 3 diagonal, falling to the right
    {1, 15, 0},   // 4 diagonal, rising to the right
    {1, 2, 0},    // 5 slope 1/2, falling
    {1, 14, 0},   // 6 slope 1/2, rising
    {14, 1, 0},   // 7 slope 2, rising
    {2, 1, 0},    // 8 slope 2, falling
    {1, 4, 0},    // 9 dots
    {1, 4, 10},   // 10 dots, shifted
}};

int Phase(const TPhaseTerms& t, int x, int y)
{
    return (t.A * x - t.B * y + t.C) & 15;
}

// Which grid bytes lie in the region: those that hold all bits of some mask.
std::array<bool, 256> RegionBytes(const std::vector<std::uint8_t>& masks)
{
    std::array<bool, 256> in{};
    for (int byte = 0; byte < 256; ++byte)
        for (const std::uint8_t mask : masks)
            if ((byte & mask) == mask)
                in[static_cast<size_t>(byte)] = true;
    return in;
}

// The canvases a region is painted on, with the colours of each.
struct THatchCanvases {
    TCanvas& Main;
    TCanvas* Trace; // null when the region leaves no trace
    TColor MainColor;
    TColor TraceColor;
};

// Screen hatch: only the rows whose phase can be 0 are visited. The phase
// repeats every 16 rows, so each column's candidates are a few residues.
void HatchPixels(const TRegionMask& region, const std::array<bool, 256>& inRegion, const TPhaseTerms& terms,
                 const THatchCanvases& to)
{
    const int w = region.Width();
    const int h = region.Height();
    for (int x = 0; x <= w; ++x) {
        std::array<int, 16> residues{};
        int count = 0;
        for (int r = 0; r < 16; ++r)
            if (Phase(terms, x, r) == 0)
                residues[static_cast<size_t>(count++)] = r;
        for (int base = 0; count > 0 && base <= h; base += 16)
            for (int k = 0; k < count; ++k) {
                const int y = base + residues[static_cast<size_t>(k)];
                if (y > h)
                    break;
                if (!inRegion[region.At(x, y)])
                    continue;
                to.Main.SetPixel(x, y, to.MainColor);
                if (to.Trace)
                    to.Trace->SetPixel(x, y, to.TraceColor);
            }
    }
}

// What a pixel of the vector hatch draws, as offsets from its cell's corner
// (X, Y) = (m·x − h, m·y − h), each 0, h or m.
enum TOffset : std::uint8_t { O0, OH, OM };
struct TStroke {
    TOffset X1, Y1, X2, Y2;
};
// A region pixel draws its pattern's On part when the phase at its offset
// OnDy below is 0; else, in patterns 5..10, its Beside part when the phase of
// the neighbour at (BesideX, BesideY) is 0: the piece of that neighbour's
// line that crosses this pixel's cell, so slanted lines stay unbroken. Dots
// (patterns 9 and 10) have no strokes.
struct TStrokePattern {
    TStroke On;
    TStroke Beside;
    int OnDy = 0;
    int BesideX = 0;
    int BesideY = 0;
};
constexpr std::array<TStrokePattern, LastHatchPattern + 1> StrokePatterns{{
    {},
    {{OH, O0, OH, OM}, {}, 0, 0, 0},
    {{O0, OH, OM, OH}, {}, 0, 0, 0},
    {{O0, O0, OM, OM}, {}, 0, 0, 0},
    {{O0, OM, OM, O0}, {}, 0, 0, 0},
    {{O0, OH, OM, OM}, {O0, O0, OM, OH}, 0, 1, 0},
    {{O0, OH, OM, O0}, {O0, OM, OM, OH}, 0, 1, 0},
    {{O0, OM, OH, O0}, {OH, OM, OM, O0}, 0, 0, 1},
    {{OH, O0, OM, OM}, {O0, O0, OH, OM}, 0, 0, 1},
    {{}, {}, 2, 2, 4},
    {{}, {}, 0, 2, 2},
}};

enum class TPixelPart : std::uint8_t { None, On, Beside };

TPixelPart PartOfPixel(int pattern, int x, int y)
{
    const TPhaseTerms& terms = PhaseTerms[static_cast<size_t>(pattern)];
    const TStrokePattern& p = StrokePatterns[static_cast<size_t>(pattern)];
    if (Phase(terms, x, y + p.OnDy) == 0)
        return TPixelPart::On;
    if ((p.BesideX != 0 || p.BesideY != 0) && Phase(terms, x + p.BesideX, y + p.BesideY) == 0)
        return TPixelPart::Beside;
    return TPixelPart::None;
}

struct TCellSizes {
    int M; // one pixel magnified
    int H; // half of it: the line width of patterns 1..4
    int Q; // a quarter: the line width of patterns 5..8, the dots' offset
    int R; // the dots' radius
};

TCellSizes CellSizes(const TDrawContext& context)
{
    const int m = context.Magnify(1.0L);
    const int h = m / 2;
    return {m, h, h / 2, NearestInt(3.0L * h / 4.0L)};
}

int Offset(TOffset o, const TCellSizes& s)
{
    return o == O0 ? 0 : o == OH ? s.H : s.M;
}

void AddStroke(TconnectLines& joiner, const TStroke& stroke, int cellX, int cellY, const TCellSizes& s)
{
    joiner.AddSegment({cellX + Offset(stroke.X1, s), cellY + Offset(stroke.Y1, s)},
                      {cellX + Offset(stroke.X2, s), cellY + Offset(stroke.Y2, s)});
}

void DrawDot(TCanvas& canvas, int cx, int cy, int radius)
{
    canvas.Ellipse(cx - radius, cy - radius, cx + radius, cy + radius);
}

int StrokeWidth(int pattern, const TCellSizes& s)
{
    return pattern <= 4 ? s.H : pattern <= 8 ? s.Q : 0;
}

void SetHatchPen(TCanvas& canvas, TColor color, int width)
{
    canvas.Pen = TPen{.Color = color, .Width = width, .Style = TPenStyle::Solid, .Mode = TPenMode::Mask};
}

// Calls draw(part, cellX, cellY) for every region pixel of row y that draws
// a part of the pattern.
template <class Draw>
void ForEachPartInRow(const TRegionMask& region, const std::array<bool, 256>& inRegion, int pattern, int y,
                      const TCellSizes& s, Draw&& draw)
{
    const std::uint8_t* bytes = region.Row(y);
    for (int x = 0; x <= region.Width(); ++x) {
        if (!inRegion[bytes[x]])
            continue;
        const TPixelPart part = PartOfPixel(pattern, x, y);
        if (part != TPixelPart::None)
            draw(part, s.M * x - s.H, s.M * y - s.H);
    }
}

// Picture hatch: rows outer. The strokes of neighbouring pixels touch end to
// end along a hatch line and merge into one long stroke; after each row the
// strokes that can grow no more are put aside.
void HatchStrokes(const TRegionMask& region, const std::array<bool, 256>& inRegion, int pattern,
                  const THatchCanvases& to, const TPenSettings& settings, TColor dotColor)
{
    const TCellSizes s = CellSizes(settings.Context);
    const int width = StrokeWidth(pattern, s);
    SetHatchPen(to.Main, to.MainColor, width);
    if (to.Trace)
        SetHatchPen(*to.Trace, to.TraceColor, width);
    if (pattern >= 9) {
        to.Main.Brush.Style = TBrushStyle::Solid;
        to.Main.Brush.Color = MonochromeColor(dotColor);
        // A dot below the corner of a cell on the line, one above the corner
        // of the cell before it.
        const auto dot = [&](TPixelPart part, int cellX, int cellY) {
            DrawDot(to.Main, cellX, part == TPixelPart::On ? cellY + s.Q : cellY - s.Q, s.R);
        };
        for (int y = 0; y <= region.Height(); ++y)
            ForEachPartInRow(region, inRegion, pattern, y, s, dot);
        return;
    }
    TconnectLines joiner;
    joiner.Reset(&to.Main, to.Trace, true, false, to.Trace != nullptr, settings);
    const TStrokePattern& strokes = StrokePatterns[static_cast<size_t>(pattern)];
    const auto stroke = [&](TPixelPart part, int cellX, int cellY) {
        AddStroke(joiner, part == TPixelPart::On ? strokes.On : strokes.Beside, cellX, cellY, s);
    };
    for (int y = 0; y <= region.Height(); ++y) {
        ForEachPartInRow(region, inRegion, pattern, y, s, stroke);
        joiner.Join(settings.Context.Magnify(y - 1));
    }
    joiner.Collect();
}

} // namespace

int HatchPhase(int pattern, int x, int y)
{
    return IsHatchPattern(pattern) ? Phase(PhaseTerms[static_cast<size_t>(pattern)], x, y) : -1;
}

void FillRegion(const TRegionMask& region, const TEquationFunction& record, const TPlotCanvases& canvases,
                const TPenSettings& settings, bool direct, TColor dotColor)
{
    TCanvas* main = canvases.MainCanvas();
    const int pattern = record.Pattern;
    if (!main || !region.HasRegion() || !IsHatchPattern(pattern))
        return;
    TCanvas* trace = settings.AimgOfArea ? canvases.TraceCanvas(record.AfterImage != 0) : nullptr;
    const THatchCanvases to{*main, trace, MonochromeColor(record.Color), FadeColorBySetting(record.Color)};
    const TCanvas::TTools mainTools = main->SaveTools();
    const TCanvas::TTools traceTools = trace ? trace->SaveTools() : TCanvas::TTools{};

    const std::array<bool, 256> inRegion = RegionBytes(region.Masks);
    if (direct)
        HatchStrokes(region, inRegion, pattern, to, settings, dotColor);
    else
        HatchPixels(region, inRegion, PhaseTerms[static_cast<size_t>(pattern)], to);

    main->RestoreTools(mainTools);
    if (trace)
        trace->RestoreTools(traceTools);
}
