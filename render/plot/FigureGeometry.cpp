#include "render/plot/FigureGeometry.h"

#include "model/BuiltinsGeometry.h"
#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "render/plot/ArrowsAndBraces.h"
#include "render/view/Scale.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr long double TwoPi = 2.0L * std::numbers::pi_v<long double>;
// How far out an angle mark's outer points are put: they only give directions.
constexpr long double ArmReach = 1000.0L;

bool IsObject(int v)
{
    return v >= 1 && v <= PointCount;
}

TWorldPoint VertexWorld(const TSegments& figures, int v)
{
    if (!IsObject(v))
        return {}; // the axes meet at the origin
    return {figures.States[v].X, figures.States[v].Y};
}

bool IsHorizontal(const TSegments& figures, int v)
{
    return v == AxisXObject || (IsObject(v) && figures.States[v].Kind == ObjectHorizontalLine);
}

bool IsVertical(const TSegments& figures, int v)
{
    return v == AxisYObject || (IsObject(v) && figures.States[v].Kind == ObjectVerticalLine);
}

// Points, circles and curves (whose states are points) only.
bool IsPointLike(const TSegments& figures, int v)
{
    if (!IsObject(v))
        return false;
    const std::uint8_t kind = figures.States[v].Kind;
    return kind == ObjectPoint || kind == ObjectCircle;
}

// The vertex can be drawn: it exists and is evaluated, and with ShowSync
// it is shown.
bool IsVertexDrawable(const TFigureView& view, int v)
{
    if (!IsVertexNumber(v))
        return false;
    const bool sync = view.Settings.ShowSync != 0;
    if (v == AxisXObject)
        return !sync || view.Settings.XAxisShown;
    if (v == AxisYObject)
        return !sync || view.Settings.YAxisShown;
    if (view.Figures.States[v].Kind == 0)
        return false;
    return !sync || view.Settings.ObjectShown[v] != 0;
}

// Two lines in a row span no edge, except two parallel sides of a band.
bool CanJoin(const TSegments& figures, std::uint8_t kind, int a, int b)
{
    const bool ha = IsHorizontal(figures, a), va = IsVertical(figures, a);
    const bool hb = IsHorizontal(figures, b), vb = IsVertical(figures, b);
    if ((ha && vb) || (va && hb))
        return false;
    if ((ha && hb) || (va && vb))
        return kind == FigureRectangle;
    return true;
}

// The visible range of one axis in world units, lower value first.
std::pair<long double, long double> VisibleRange(const TAxisMapping& axis)
{
    const long double a = axis.PixelToValueRaw(0);
    const long double b = axis.PixelToValueRaw(axis.MagnifiedPixels());
    return {std::min(a, b), std::max(a, b)};
}

QPoint PointAlong(QPoint from, long double ux, long double uy, long double length)
{
    return {NearestInt(from.x() + ux * length), NearestInt(from.y() + uy * length)};
}

// The unit direction from a to b; nothing when they coincide.
std::optional<std::pair<long double, long double>> Direction(QPoint a, QPoint b)
{
    const long double dx = b.x() - a.x();
    const long double dy = b.y() - a.y();
    const long double d = std::hypot(dx, dy);
    if (d == 0.0L)
        return std::nullopt;
    return std::make_pair(dx / d, dy / d);
}

// Angle marks only show directions: their arms reach far out.
bool StretchArms(std::vector<QPoint>& points)
{
    const QPoint centre = points[1];
    for (int i : {0, 2}) {
        const auto u = Direction(centre, points[static_cast<std::size_t>(i)]);
        if (!u)
            return false;
        points[static_cast<std::size_t>(i)] = PointAlong(centre, u->first, u->second, ArmReach);
    }
    return true;
}

// The small square corner of a right-angle mark at the middle vertex.
bool MakeSquareCorner(std::vector<QPoint>& points, long double e)
{
    const QPoint centre = points[1];
    const auto u1 = Direction(centre, points[0]);
    const auto u2 = Direction(centre, points[2]);
    if (!u1 || !u2)
        return false;
    points[0] = PointAlong(centre, u1->first, u1->second, e);
    points[2] = PointAlong(centre, u2->first, u2->second, e);
    points[1] = {NearestInt(centre.x() + (u1->first + u2->first) * e),
                 NearestInt(centre.y() + (u1->second + u2->second) * e)};
    return true;
}

long double NormalAngle(long double a)
{
    a = std::fmod(a, TwoPi);
    return a < 0.0L ? a + TwoPi : a;
}

} // namespace

TFigureSettings DocumentFigureSettings(const ScaleT& view, const TDrawContext& context)
{
    TFigureSettings settings;
    settings.Pen = DocumentPenSettings(context);
    settings.ShowSync = Options.ShowSync;
    settings.AngleArea = Options.AngleArea;
    settings.XAxisShown = view.XAxis.AxesVisible != 0;
    settings.YAxisShown = view.YAxis.AxesVisible != 0;
    for (int k = 1; k <= PointCount; ++k)
        settings.ObjectShown[k] = DocumentTables.Points[k].Shown;
    return settings;
}

TFigureView DocumentFigureView(const ScaleT& view, int magnification)
{
    const TViewMapping mapping = view.Mapping(magnification);
    return {Segments, mapping, DocumentFigureSettings(view, mapping.Context())};
}

int FigureArrowSize(const Tsegment& figure, const TPenSettings& settings)
{
    return ArrowSize(settings.Context.Magnify(figure.Width), settings);
}

std::optional<TPointLine> EdgePixels(const TFigureView& view, std::uint8_t kind, int a, int b)
{
    const TSegments& figures = view.Figures;
    TWorldPoint wa = VertexWorld(figures, a);
    TWorldPoint wb = VertexWorld(figures, b);
    const TWorldPoint pa = wa, pb = wb;
    const bool ha = IsHorizontal(figures, a), va = IsVertical(figures, a);
    const bool hb = IsHorizontal(figures, b), vb = IsVertical(figures, b);
    if (ha)
        wa.X = pb.X;
    if (va)
        wa.Y = pb.Y;
    if (hb)
        wb.X = pa.X;
    if (vb)
        wb.Y = pa.Y;
    if (kind == FigureRectangle) {
        // A rectangle against a line is a band reaching past the view.
        if (ha || hb) {
            const auto [low, high] = VisibleRange(view.Mapping.X);
            wa.X = low - (high - low) / 5.0L;
            wb.X = high + (high - low) / 5.0L;
        }
        if (va || vb) {
            const auto [low, high] = VisibleRange(view.Mapping.Y);
            wa.Y = low - (high - low) / 5.0L;
            wb.Y = high + (high - low) / 5.0L;
        }
    }
    return view.Mapping.ClipLineToPoints(kind, wa, wb);
}

std::optional<std::vector<QPoint>> BuildPolygon(const TFigureView& view, int s)
{
    const TSegments& figures = view.Figures;
    if (s < 1 || s > figures.Count())
        return std::nullopt;
    const Tsegment& f = figures.Data.Items[s];
    const int n = UsedVertexCount(f);
    if (n == 0)
        return std::nullopt;
    const bool needsPoints = f.Kind == FigurePolyline || f.Kind == FigurePolygon || f.Kind == FigureAngle;
    std::vector<int> chain;
    chain.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const int v = f.Vertices[i];
        if (!IsVertexDrawable(view, v) || (needsPoints && !IsPointLike(figures, v)))
            return std::nullopt;
        chain.push_back(v);
    }
    if (f.Kind == FigurePolygon)
        chain.push_back(chain.front());

    std::vector<QPoint> points;
    points.reserve(chain.size());
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        if (!CanJoin(figures, f.Kind, chain[i], chain[i + 1]))
            return std::nullopt;
        const std::optional<TPointLine> edge = EdgePixels(view, f.Kind, chain[i], chain[i + 1]);
        if (!edge)
            return std::nullopt;
        if (i == 0)
            points.push_back(edge->P1);
        points.push_back(edge->P2);
    }
    if (f.Kind == FigureAngle && !StretchArms(points))
        return std::nullopt;
    if (f.Kind == FigureRightAngle && !MakeSquareCorner(points, FigureArrowSize(f, view.Settings.Pen) / 2.0L))
        return std::nullopt;
    return points;
}

int BezierPieceCount(int pointCount)
{
    return pointCount < 2 ? 0 : (pointCount - 2) / 3 + 1;
}

void SampleBezierPiece(std::span<const QPoint> controls, std::vector<QPoint>& samples)
{
    std::vector<TCurvePoint> curve;
    curve.reserve(controls.size());
    for (const QPoint& p : controls)
        curve.push_back({static_cast<long double>(p.x()), static_cast<long double>(p.y())});
    const std::vector<TCurvePoint> sampled = CalcBezierPoint(curve, BezierSamplesPerPiece);
    // The piece's own end is the next piece's start.
    for (std::size_t k = 0; k + 1 < sampled.size(); ++k)
        samples.emplace_back(NearestInt(sampled[k].X), NearestInt(sampled[k].Y));
}

std::vector<QPoint> BezierPoints(std::span<const QPoint> points)
{
    std::vector<QPoint> curve;
    const int pieces = BezierPieceCount(static_cast<int>(points.size()));
    if (pieces == 0)
        return curve;
    curve.reserve(static_cast<std::size_t>(pieces) * BezierSamplesPerPiece + 1);
    ForEachBezierPiece(points, [&curve](std::span<const QPoint> controls) {
        SampleBezierPiece(controls, curve);
        return false;
    });
    curve.push_back(points.back());
    return curve;
}

std::optional<TArcMark> ArcMarkOf(const TFigureView& view, const Tsegment& figure, std::span<const QPoint> points)
{
    if (points.size() < 3)
        return std::nullopt;
    TArcMark mark;
    mark.Centre = points[1];
    mark.Start = points[0];
    mark.End = points[2];
    const auto arm = [&mark](QPoint p) {
        // Counter-clockwise as seen: pixel rows grow downwards.
        return std::make_pair(static_cast<long long>(p.x() - mark.Centre.x()),
                              static_cast<long long>(mark.Centre.y() - p.y()));
    };
    auto [ax, ay] = arm(mark.Start);
    auto [cx, cy] = arm(mark.End);
    if ((ax == 0 && ay == 0) || (cx == 0 && cy == 0))
        return std::nullopt;
    mark.Radius = figure.Kind == FigureAngle ? FigureArrowSize(figure, view.Settings.Pen)
                                             : NearestInt(std::hypot(static_cast<long double>(ax), static_cast<long double>(ay)));
    long long cross = ax * cy - ay * cx;
    const long long dot = ax * cx + ay * cy;
    if (view.Settings.AngleArea == 2 && cross < 0) {
        std::swap(mark.Start, mark.End);
        std::swap(ax, cx);
        std::swap(ay, cy);
        cross = -cross;
    }
    if (cross == 0 && dot >= 0)
        return std::nullopt;
    mark.StartAngle = std::atan2(static_cast<long double>(ay), static_cast<long double>(ax));
    if (cross == 0) {
        mark.Sweep = std::numbers::pi_v<long double>;
    } else {
        mark.Sweep = NormalAngle(std::atan2(static_cast<long double>(cy), static_cast<long double>(cx)) - mark.StartAngle);
    }
    return mark;
}

QPoint VertexMeanPixel(const TFigureView& view, const Tsegment& figure)
{
    const int n = UsedVertexCount(figure);
    TWorldPoint sum;
    for (int i = 1; i <= n; ++i) {
        const TWorldPoint w = VertexWorld(view.Figures, figure.Vertices[i]);
        sum.X += w.X;
        sum.Y += w.Y;
    }
    if (n > 0) {
        sum.X /= n;
        sum.Y /= n;
    }
    return view.Mapping.WorldToPoint(sum);
}
