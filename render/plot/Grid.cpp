#include "render/plot/Grid.h"

#include "render/plot/AxesTicks.h"
#include "render/view/TickLabelAids.h"

#include <QPoint>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
// A view stretched so far that more circles than this cross it shows a
// smear of grid; the rest are left out.
constexpr std::int64_t MaxPolarCircles = 10000;
// The most pieces of one arc of a circle in view.
constexpr long double MaxArcSegments = 100000.0L;

std::vector<int> TickPixels(const TAxesFrame& frame, TAxisRole role)
{
    const ScaleSubT& axis = frame.Axis(role);
    const TAxisMapping& mapping = frame.AxisMapping(role);
    const TAxisTicks ticks = TicksFrom(axis.Low, axis.High, frame.TickStep(role));
    std::vector<int> pixels;
    pixels.reserve(static_cast<std::size_t>(std::max<std::int64_t>(ticks.Count, 0)));
    for (std::int64_t i = 0; i < ticks.Count; ++i)
        pixels.push_back(mapping.ValueToPixel(ticks.At(i)).Pixel);
    return pixels;
}

// The view's world rectangle, widened by a few pixels: a pen reaches that
// far.
struct TPolarView {
    long double XLow, XHigh, YLow, YHigh;

    // Distance from the origin to the nearest point of the view.
    long double Nearest() const
    {
        const long double dx = std::max({XLow, -XHigh, 0.0L});
        const long double dy = std::max({YLow, -YHigh, 0.0L});
        return std::hypot(dx, dy);
    }
    // Distance from the origin to the farthest corner.
    long double Farthest() const
    {
        return std::hypot(std::max(std::fabs(XLow), std::fabs(XHigh)), std::max(std::fabs(YLow), std::fabs(YHigh)));
    }
};

TPolarView PolarViewOf(const TAxesFrame& frame)
{
    const ScaleSubT& x = frame.View.XAxis;
    const ScaleSubT& y = frame.View.YAxis;
    const long double reach = (frame.MeshStyle + 2.0L) / frame.Magnification();
    const long double mx = reach * frame.Mapping.X.UnitsPerPixel;
    const long double my = reach * frame.Mapping.Y.UnitsPerPixel;
    return {x.Low - mx, x.High + mx, y.Low - my, y.High + my};
}

struct TAngles {
    long double From;
    long double To;
};

// The angles a at which the circle of radius r about the origin runs
// inside the view: r cos a within the x range and r sin a within the y
// range, each one or two intervals, intersected.
std::vector<TAngles> ArcsInView(const TPolarView& view, long double r)
{
    std::vector<TAngles> across; // r cos a in [XLow, XHigh], a in [-π, π]
    const long double c0 = std::max(-1.0L, view.XLow / r);
    const long double c1 = std::min(1.0L, view.XHigh / r);
    if (c0 > c1)
        return {};
    across.push_back({std::acos(c1), std::acos(c0)});
    across.push_back({-std::acos(c0), -std::acos(c1)});
    std::vector<TAngles> along; // r sin a in [YLow, YHigh], a in [-π/2, 3π/2]
    const long double s0 = std::max(-1.0L, view.YLow / r);
    const long double s1 = std::min(1.0L, view.YHigh / r);
    if (s0 > s1)
        return {};
    along.push_back({std::asin(s0), std::asin(s1)});
    along.push_back({Pi - std::asin(s1), Pi - std::asin(s0)});
    std::vector<TAngles> arcs;
    for (const TAngles& a : across)
        for (const TAngles& b : along)
            for (long double shift : {-2.0L * Pi, 0.0L, 2.0L * Pi}) {
                const long double from = std::max(a.From, b.From + shift);
                const long double to = std::min(a.To, b.To + shift);
                if (from < to)
                    arcs.push_back({from, to});
            }
    // Pieces that meet (at the angles 0, ±π/2, π) make one arc.
    std::sort(arcs.begin(), arcs.end(), [](const TAngles& a, const TAngles& b) { return a.From < b.From; });
    std::vector<TAngles> merged;
    for (const TAngles& a : arcs) {
        if (!merged.empty() && a.From <= merged.back().To)
            merged.back().To = std::max(merged.back().To, a.To);
        else
            merged.push_back(a);
    }
    return merged;
}

// A circle too large for the drawing layer's coordinates: its arcs inside
// the view as polylines whose chords stray less than a quarter pixel.
void DrawLargeCircle(TCanvas& canvas, const TAxesFrame& frame, const TPolarView& view, long double r)
{
    const TViewMapping& mapping = frame.Mapping;
    const long double radiusPixels =
        r * std::max(mapping.X.PixelsPerUnit, mapping.Y.PixelsPerUnit) * frame.Magnification();
    const long double chordAngle = std::sqrt(2.0L / radiusPixels);
    std::vector<QPoint> arc;
    for (const TAngles& a : ArcsInView(view, r)) {
        const auto n = static_cast<int>(std::clamp(std::ceil((a.To - a.From) / chordAngle), 1.0L, MaxArcSegments));
        arc.clear();
        for (int k = 0; k <= n; ++k) {
            const long double angle = a.From + (a.To - a.From) * k / n;
            const TPointL p = mapping.ValueToPixelF({r * std::cos(angle), r * std::sin(angle)});
            arc.emplace_back(NearestInt(p.X), NearestInt(p.Y));
        }
        canvas.Polyline(arc);
    }
}

void DrawPolarCircles(TCanvas& canvas, const TAxesFrame& frame, long double reach)
{
    const long double step = frame.TickStep(TAxisRole::X);
    if (!(std::isfinite(step) && step > 0.0L))
        return;
    const TPolarView view = PolarViewOf(frame);
    const long double first = std::max(1.0L, std::ceil(view.Nearest() / step));
    const long double last = std::min(std::floor(view.Farthest() / step), first + MaxPolarCircles - 1);
    const TViewMapping& mapping = frame.Mapping;
    for (long double k = first; k <= last; k += 1.0L) {
        const long double r = k * step;
        if (!(r < reach))
            break;
        const TMappedPixel left = mapping.X.ValueToPixel(-r);
        const TMappedPixel right = mapping.X.ValueToPixel(r);
        const TMappedPixel top = mapping.Y.ValueToPixel(r);
        const TMappedPixel bottom = mapping.Y.ValueToPixel(-r);
        if (left.Clamped || right.Clamped || top.Clamped || bottom.Clamped)
            DrawLargeCircle(canvas, frame, view, r);
        else
            canvas.Ellipse(left.Pixel, top.Pixel, right.Pixel + 1, bottom.Pixel + 1);
    }
}

void DrawPolarRays(TCanvas& canvas, const TAxesFrame& frame, long double reach)
{
    const int n = frame.View.PolorCount();
    for (int k = 0; k <= n; ++k) {
        const long double a = k * 2.0L * Pi / n;
        const std::optional<TPointLine> ray =
            frame.Mapping.ClipLineToPoints(1, {0.0L, 0.0L}, {reach * std::cos(a), reach * std::sin(a)});
        if (!ray)
            continue;
        canvas.MoveTo(ray->P1.x(), ray->P1.y());
        canvas.LineTo(ray->P2.x(), ray->P2.y());
    }
}

} // namespace

void DrawGridCrosses(TCanvas& canvas, const TAxesFrame& frame)
{
    const ScaleSubT& x = frame.View.XAxis;
    const ScaleSubT& y = frame.View.YAxis;
    const int c = frame.Magnify(frame.View.AxisWidth + 1);
    canvas.Pen.Mode = TPenMode::Mask;
    canvas.Pen.Width = frame.MeshStyle;
    SetGridPen(1, canvas.Pen);
    const std::vector<int> columns = TickPixels(frame, TAxisRole::X);
    const std::vector<int> rows = TickPixels(frame, TAxisRole::Y);
    for (int px : columns)
        for (int py : rows) {
            if (x.ScaleVisible) {
                canvas.MoveTo(px - c, py);
                canvas.LineTo(px + c, py);
            }
            if (y.ScaleVisible) {
                canvas.MoveTo(px, py - c);
                canvas.LineTo(px, py + c);
            }
        }
    canvas.Pen.Color = ColorBlack;
    canvas.Pen.Width = 1;
}

void DrawPolarGrid(TCanvas& canvas, const TAxesFrame& frame)
{
    const ScaleSubT& x = frame.View.XAxis;
    const ScaleSubT& y = frame.View.YAxis;
    canvas.Pen.Mode = TPenMode::Mask;
    canvas.Pen.Width = frame.MeshStyle;
    SetGridPen(frame.View.PsMesh, canvas.Pen);
    canvas.Brush.Style = TBrushStyle::Clear;
    const long double reach =
        std::sqrt(2.0L) * std::max({std::fabs(x.High), std::fabs(x.Low), std::fabs(y.High), std::fabs(y.Low)});
    if (x.ScaleVisible)
        DrawPolarCircles(canvas, frame, reach);
    if (y.ScaleVisible)
        DrawPolarRays(canvas, frame, reach);
}
