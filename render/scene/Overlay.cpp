#include "model/DocumentState.h"
#include "render/scene/Redraw.h"
#include "render/scene/RedrawParticipants.h"

#include <algorithm>
#include <utility>

namespace {

constexpr TColor ToolLineColor = 0xC0C0C0;
constexpr TColor AreaAboveColor = 0x333300; // the integral counts the column positive
constexpr TColor AreaBelowColor = 0x003333;

void RestoreCopyPen(TCanvas& canvas)
{
    canvas.Pen.Mode = TPenMode::Copy;
    canvas.Pen.Width = 1;
}

// A vertical XOR line over the whole height: drawn twice, it is gone.
void DrawToolLine(const ScaleT& view, TCanvas& canvas, long double x)
{
    canvas.Pen.Color = ToolLineColor;
    canvas.Pen.Width = 2;
    canvas.Pen.Mode = TPenMode::Xor;
    const int px = view.XAxis.ValueToPixel(x);
    canvas.MoveTo(px, 0);
    canvas.LineTo(px, view.YAxis.VHigh);
    RestoreCopyPen(canvas);
}

void DrawIntegralBounds(const ScaleT& view, TCanvas& canvas)
{
    const Tinterval& interval = DocumentTables.IntegralInterval;
    if (interval.Lower.Marker && interval.LowerValue.Defined)
        DrawToolLine(view, canvas, interval.LowerValue.X);
    if (interval.Upper.Marker && interval.UpperValue.Defined)
        DrawToolLine(view, canvas, interval.UpperValue.X);
}

// One XOR stroke per column between the limits, from the function down (or
// up) to the subtracted function or to y = 0, coloured by the sign the
// column adds to the integral.
void DrawIntegralArea(const ScaleT& view, TCanvas& canvas)
{
    const Tinterval& interval = DocumentTables.IntegralInterval;
    const int d = interval.Dfuncno;
    const int e = interval.Efuncno;
    if (!interval.LowerValue.Defined || !interval.UpperValue.Defined || d < 1 || d > FunctionCount || d == e ||
        e < 0 || e > FunctionCount || interval.LowerValue.X == interval.UpperValue.X)
        return;
    const TColumnArray* f = view.Columns.ValidCache(d);
    const TColumnArray* g = e ? view.Columns.ValidCache(e) : nullptr;
    if (!f || (e && !g))
        return;
    int p0 = view.XAxis.ValueToPixel(interval.LowerValue.X);
    int p1 = view.XAxis.ValueToPixel(interval.UpperValue.X);
    const bool reversed = p1 < p0;
    if (reversed)
        std::swap(p0, p1);
    if (p1 < 0 || p0 > view.XAxis.VHigh)
        return;
    p0 = std::max(p0, 0);
    p1 = std::min(p1, view.XAxis.VHigh);
    canvas.Pen.Width = 1;
    canvas.Pen.Mode = TPenMode::Xor;
    for (int c = p0; c <= p1; ++c) {
        if (!f->Defined(c) || (g && !g->Defined(c)))
            continue;
        const long double top = f->X(c);
        const long double base = g ? g->X(c) : 0.0L;
        const bool functionBelow = top < base;
        canvas.Pen.Color = ((functionBelow || interval.AreaQ) == reversed) ? AreaAboveColor : AreaBelowColor;
        canvas.MoveTo(c, view.YAxis.ValueToPixel(top));
        canvas.LineTo(c, view.YAxis.ValueToPixel(base));
    }
    canvas.Pen.Color = ColorBlack;
    RestoreCopyPen(canvas);
}

} // namespace

void DrawOverlay(ScaleT& view, TCanvas& canvas, bool refresh)
{
    const TViewMapping mapping = view.Mapping();
    ForEachRedrawParticipant([&](TRedrawParticipant& p) { p.DrawOver(canvas, mapping, refresh); });
}

void DrawOverlayTools(const ScaleT& view, TCanvas& canvas, const TOverlayTools& tools)
{
    if (tools.YValueLineX)
        DrawToolLine(view, canvas, *tools.YValueLineX);
    if (tools.IntegralToolActive) {
        DrawIntegralBounds(view, canvas);
        DrawIntegralArea(view, canvas);
    }
}
