#include "render/plot/ArrowsAndBraces.h"
#include "render/plot/FigureGeometry.h"

#include <QPointF>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// How near, in pixels, the mouse must come to a figure.
constexpr int Reach = 4;

// The mouse's distance from the line through a and b is at most Reach:
// |cross| / n with n the edge's Manhattan length, compared without dividing.
bool IsNearEdge(QPoint a, QPoint b, QPoint m)
{
    const long long c = static_cast<long long>(a.x() - b.x()) * (a.y() - m.y()) -
                        static_cast<long long>(a.x() - m.x()) * (a.y() - b.y());
    const long long n = std::llabs(a.x() - b.x()) + std::llabs(a.y() - b.y());
    if (n == 0)
        return std::abs(a.x() - m.x()) + std::abs(a.y() - m.y()) <= Reach;
    return std::llabs(c) <= Reach * n;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

bool HitsEdge(std::uint8_t kind, QPoint a, QPoint b, QPoint m)
{
    switch (kind) {
    case FigureLine:
        return IsNearEdge(a, b, m);
    case FigureHalfLine:
        return IsNearEdge(a, b, m) && Sign(b.x() - a.x()) * (a.x() - m.x()) <= Reach &&
               Sign(b.y() - a.y()) * (a.y() - m.y()) <= Reach;
    case FigureRectangle:
        return m.x() > std::min(a.x(), b.x()) && m.x() < std::max(a.x(), b.x()) && m.y() > std::min(a.y(), b.y()) &&
               m.y() < std::max(a.y(), b.y());
    default:
        return IsNearEdge(a, b, m) && m.x() >= std::min(a.x(), b.x()) - Reach &&
               m.x() <= std::max(a.x(), b.x()) + Reach && m.y() >= std::min(a.y(), b.y()) - Reach &&
               m.y() <= std::max(a.y(), b.y()) + Reach;
    }
}

bool HitsPolyline(std::uint8_t kind, std::span<const QPoint> points, QPoint m)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (HitsEdge(kind, points[i], points[i + 1], m))
            return true;
    }
    return false;
}

// Whether a Bézier piece may come within margin of m: a curve lies inside
// the box of its control points, so halves whose widened boxes miss m are
// dropped. Only pieces that pass are sampled.
bool MayPassNear(std::array<QPointF, 4> c, int degree, QPointF m, double margin, int depth)
{
    double minX = c[0].x(), maxX = minX, minY = c[0].y(), maxY = minY;
    for (int i = 1; i <= degree; ++i) {
        minX = std::min(minX, c[i].x());
        maxX = std::max(maxX, c[i].x());
        minY = std::min(minY, c[i].y());
        maxY = std::max(maxY, c[i].y());
    }
    if (m.x() < minX - margin || m.x() > maxX + margin || m.y() < minY - margin || m.y() > maxY + margin)
        return false;
    if (depth == 0 || (maxX - minX <= margin && maxY - minY <= margin))
        return true;
    // De Casteljau at t = 1/2: the left half's points are the first of each
    // level, the right half's the last.
    std::array<QPointF, 4> left{}, right{};
    left[0] = c[0];
    right[static_cast<std::size_t>(degree)] = c[static_cast<std::size_t>(degree)];
    for (int level = 1; level <= degree; ++level) {
        for (int i = 0; i + level <= degree; ++i)
            c[static_cast<std::size_t>(i)] = (c[static_cast<std::size_t>(i)] + c[static_cast<std::size_t>(i) + 1]) / 2.0;
        left[static_cast<std::size_t>(level)] = c[0];
        right[static_cast<std::size_t>(degree - level)] = c[static_cast<std::size_t>(degree - level)];
    }
    return MayPassNear(left, degree, m, margin, depth - 1) || MayPassNear(right, degree, m, margin, depth - 1);
}

bool HitsBezier(std::uint8_t kind, std::span<const QPoint> points, QPoint m)
{
    // Samples are rounded to whole pixels: a pixel more of margin.
    constexpr double Margin = Reach + 1.0;
    constexpr int Depth = 6;
    std::vector<QPoint> samples;
    return ForEachBezierPiece(points, [&](std::span<const QPoint> controls) {
        std::array<QPointF, 4> c{};
        std::copy(controls.begin(), controls.end(), c.begin());
        if (!MayPassNear(c, static_cast<int>(controls.size()) - 1, m, Margin, Depth))
            return false;
        samples.clear();
        SampleBezierPiece(controls, samples);
        samples.push_back(controls.back());
        return HitsPolyline(kind, samples, m);
    });
}

// Within Reach of the arc's circle, inside the sector that is drawn.
bool HitsArcMark(const TArcMark& mark, QPoint m)
{
    const long double dx = m.x() - mark.Centre.x();
    const long double dy = mark.Centre.y() - m.y();
    const long double d = std::hypot(dx, dy);
    if (d < mark.Radius - Reach || d > mark.Radius + Reach || d == 0.0L)
        return false;
    constexpr long double twoPi = 2.0L * std::numbers::pi_v<long double>;
    long double a = std::fmod(std::atan2(dy, dx) - mark.StartAngle, twoPi);
    if (a < 0.0L)
        a += twoPi;
    return a <= mark.Sweep;
}

} // namespace

bool HitSegment(const TFigureView& view, int s, int mx, int my)
{
    if (s < 1 || s > view.Figures.Count() || !view.Figures.Data.Items[s].Shown)
        return false;
    const std::optional<std::vector<QPoint>> points = BuildPolygon(view, s);
    if (!points)
        return false;
    const Tsegment& f = view.Figures.Data.Items[s];
    const QPoint m(mx, my);
    switch (f.Kind) {
    case FigureAngle:
    case FigureArc: {
        const std::optional<TArcMark> mark = ArcMarkOf(view, f, *points);
        return mark && HitsArcMark(*mark, m);
    }
    case FigureBezier:
        return HitsBezier(f.Kind, *points, m);
    case FigureBrace: {
        const QPoint a = (*points)[0], b = (*points)[1];
        const std::optional<TBracePoints> brace = BracePoints(a.x(), a.y(), b.x(), b.y(), view.Settings.Pen);
        if (!brace)
            return false;
        const QPoint controls[4] = {a, brace->P1, brace->P2, b};
        return HitsBezier(f.Kind, controls, m);
    }
    default:
        return HitsPolyline(f.Kind, *points, m);
    }
}

int HitTest(const TFigureView& view, int mx, int my)
{
    for (int s = view.Figures.Count(); s >= 1; --s) {
        if (HitSegment(view, s, mx, my))
            return s;
    }
    return 0;
}
