#include "render/scene/HitTests.h"

#include "engine/References.h"
#include "model/DocumentState.h"
#include "model/ObjectNames.h"
#include "render/plot/Loci.h"

#include <cmath>
#include <cstdlib>

namespace {

bool IsObjectNumber(int k)
{
    return k >= 1 && k <= PointCount;
}

bool IsShown(int k)
{
    return DocumentTables.Points[k].Shown != 0;
}

// Polar and parametric curves: the kinds with a parameter handle.
bool IsParameterCurveKind(std::uint8_t kind)
{
    return kind == ObjectPolar || kind == ObjectParametric;
}

bool Near(int a, int b)
{
    return std::llabs(static_cast<long long>(a) - b) < HitTolerance;
}

bool Near(QPoint a, QPoint b)
{
    return Near(a.x(), b.x()) && Near(a.y(), b.y());
}

// Near(axis pixel of v, mouse) without rounding values that are plainly far:
// curves have thousands of samples.
bool NearPixel(const TAxisMapping& axis, long double v, int mouse)
{
    const bool mouseWithinLimit = std::llabs(mouse) < axis.PixelLimit() - HitTolerance;
    if (mouseWithinLimit && !(std::fabs(axis.ValueToPixelF(v) - mouse) <= HitTolerance))
        return false;
    return Near(axis.ValueToPixel(v).Pixel, mouse);
}

TWorldPoint StatePoint(const TPointState& s)
{
    return {s.X, s.Y};
}

bool HasPoint(const TPointState& s)
{
    return s.Kind == ObjectPoint || s.Kind == ObjectCircle;
}

// Whether the state's drawing lies under the mouse: a point or circle by its
// point, a horizontal line by its row, a vertical line by its column.
bool StateUnderMouse(const TViewMapping& mapping, const TPointState& s, QPoint mouse)
{
    switch (s.Kind) {
    case ObjectPoint:
    case ObjectCircle:
        return Near(mapping.WorldToPoint(StatePoint(s)), mouse);
    case ObjectHorizontalLine:
        return Near(mapping.Y.ValueToPixel(s.Y).Pixel, mouse.y());
    case ObjectVerticalLine:
        return Near(mapping.X.ValueToPixel(s.X).Pixel, mouse.x());
    default:
        return false;
    }
}

// An axis line within the tolerance, when the axis is shown.
int HitAxis(const ScaleT& view, const TViewMapping& mapping, QPoint mouse)
{
    if (view.XAxis.AxesVisible && Near(mouse.y(), mapping.Y.ValueToPixel(0.0L).Pixel))
        return AxisXObject;
    if (view.YAxis.AxesVisible && Near(mouse.x(), mapping.X.ValueToPixel(0.0L).Pixel))
        return AxisYObject;
    return 0;
}

TWorldPoint MouseWorld(const ScaleT& view, QPoint mouse)
{
    return {view.XAxis.PixelToValue(mouse.x()), view.YAxis.PixelToValue(mouse.y())};
}

long double SquaredDistance(TWorldPoint a, TWorldPoint b)
{
    const long double dx = a.X - b.X;
    const long double dy = a.Y - b.Y;
    return dx * dx + dy * dy;
}

TWorldPoint SamplePoint(const TLocusPoint& p)
{
    return {p.X, p.Y};
}

// The defined sample nearest to the point (the first of equal ones), or -1.
int NearestDefinedSample(const Tlocus& locus, TWorldPoint at)
{
    int nearest = -1;
    long double best = 0.0L;
    for (int i = 0; i < locus.Count; ++i) {
        const TLocusPoint& p = locus.Items[i];
        if (!p.Defined)
            continue;
        const long double d = SquaredDistance(SamplePoint(p), at);
        if (nearest < 0 || d < best) {
            nearest = i;
            best = d;
        }
    }
    return nearest;
}

// The nearer of the sample's defined neighbours in the list (the following
// one on a tie), or -1 when it has none.
int NearerNeighbour(const Tlocus& locus, int i, TWorldPoint at)
{
    const auto defined = [&locus](int j) { return j >= 0 && j < locus.Count && locus.Items[j].Defined; };
    const bool before = defined(i - 1);
    const bool after = defined(i + 1);
    if (before && after)
        return SquaredDistance(SamplePoint(locus.Items[i - 1]), at) <
                       SquaredDistance(SamplePoint(locus.Items[i + 1]), at)
                   ? i - 1
                   : i + 1;
    return after ? i + 1 : before ? i - 1 : -1;
}

// The point and parameter between the nearest sample and its neighbour that
// the mouse stands for; nothing without a defined sample.
std::optional<TLocusPoint> CurvePointNear(const Tlocus& locus, TWorldPoint mouse, bool ctrl)
{
    const int n = NearestDefinedSample(locus, mouse);
    if (n < 0)
        return std::nullopt;
    const int a = NearerNeighbour(locus, n, mouse);
    const TLocusPoint& nearest = locus.Items[n];
    if (a < 0)
        return nearest;
    const TLocusPoint& neighbour = locus.Items[a];
    const long double dn = SquaredDistance(SamplePoint(nearest), mouse);
    const long double da = SquaredDistance(SamplePoint(neighbour), mouse);
    const long double between = SquaredDistance(SamplePoint(nearest), SamplePoint(neighbour));
    // Beyond the nearest sample, away from its neighbour.
    if (da > dn + between && dn != 0.0L)
        return nearest;
    if (ctrl)
        return dn >= da ? neighbour : nearest;
    // On two coinciding samples the weights are both 0.
    if (dn + da == 0.0L)
        return nearest;
    const auto mix = [dn, da](long double vn, long double va) { return (da * vn + dn * va) / (da + dn); };
    TLocusPoint p;
    p.X = mix(nearest.X, neighbour.X);
    p.Y = mix(nearest.Y, neighbour.Y);
    p.T = mix(nearest.T, neighbour.T);
    p.Defined = 1;
    return p;
}

int CurveParamSlot(const TPointFunction& object)
{
    const int j = PrmIndex(QStringView(&object.ParamChar, 1));
    return j >= 1 ? j : 0;
}

} // namespace

int HitDraggablePoint(const ScaleT& view, QPoint mouse)
{
    const TViewMapping mapping = view.Mapping();
    for (int k = 1; k <= PointCount; ++k) {
        const TPointState& s = view.PointStates[k];
        if (IsShown(k) && HasPoint(s) && Near(mapping.WorldToPoint(StatePoint(s)), mouse))
            return k;
    }
    return 0;
}

int HitCircleEdge(const ScaleT& view, QPoint mouse)
{
    static constexpr QPoint Probes[] = {{4, 0}, {-4, 0}, {0, 4}, {0, -4}};
    TWorldPoint probes[4];
    for (int i = 0; i < 4; ++i)
        probes[i] = MouseWorld(view, mouse + Probes[i]);
    for (int k = 1; k <= PointCount; ++k) {
        const TPointState& s = view.PointStates[k];
        if (!IsShown(k) || s.Kind != ObjectCircle)
            continue;
        const long double r2 = s.R * s.R;
        int outside = 0;
        for (const TWorldPoint& p : probes)
            outside += SquaredDistance(p, StatePoint(s)) >= r2;
        if (outside >= 1 && outside <= 3)
            return k;
    }
    return 0;
}

TObjectHit HitObjectAt(const ScaleT& view, QPoint mouse, bool any)
{
    const TViewMapping mapping = view.Mapping();
    for (int k = PointCount; k >= 1; --k) {
        const TPointState& s = view.PointStates[k];
        if (!IsShown(k) || !StateUnderMouse(mapping, s, mouse))
            continue;
        if (any || CanDragPoint(DragAnyWay, k))
            return {k, StatePoint(s)};
    }
    return {any ? HitAxis(view, mapping, mouse) : 0, {}};
}

TObjectHit HitCurveAt(const ScaleT& view, QPoint mouse)
{
    const TViewMapping mapping = view.Mapping();
    for (int k = PointCount; k >= 1; --k) {
        const std::uint8_t kind = DocumentTables.Points[k].Kind;
        if (!IsShown(k) || !IsCurveKind(kind))
            continue;
        const Tlocus& locus = Locuses.Items[k];
        for (int i = 0; i < locus.Count; ++i) {
            const TLocusPoint& p = locus.Items[i];
            if (p.Defined && NearPixel(mapping.X, p.X, mouse.x()) && NearPixel(mapping.Y, p.Y, mouse.y()))
                return {k, SamplePoint(p)};
        }
    }
    return {};
}

bool CanDragPoint(int how, int k)
{
    if (!IsObjectNumber(k))
        return false;
    const TPointFunction& object = DocumentTables.Points[k];
    const bool draggable = object.Draggable != 0;
    const auto constant = [draggable](const TKavirofunction& f) { return draggable && IsConstantExpression(f); };
    switch (how) {
    case DragAnyWay:
        return constant(object.X) || constant(object.Y) || (draggable && IsParameterCurveKind(object.Kind)) ||
               constant(object.R);
    case DragInX:
        return constant(object.X);
    case DragInY:
        return constant(object.Y);
    case DragInXAndY:
        return constant(object.X) && constant(object.Y);
    case DragAlongCurve:
        return draggable && IsParameterCurveKind(object.Kind);
    case DragRadius:
        return constant(object.R);
    default:
        return false;
    }
}

std::optional<TCurveDrag> DragCurveParameter(const ScaleT& view, int k, QPoint mouse, bool nearestSample)
{
    if (!IsObjectNumber(k))
        return std::nullopt;
    const TPointFunction& object = DocumentTables.Points[k];
    const Tlocus& locus = Locuses.Items[k];
    if (!IsParameterCurveKind(object.Kind))
        return std::nullopt;
    const std::optional<TLocusPoint> near = CurvePointNear(locus, MouseWorld(view, mouse), nearestSample);
    if (!near)
        return std::nullopt;
    const TLocusPoint& p = *near;
    TCurveDrag drag;
    drag.Param = CurveParamSlot(object);
    drag.Value = p.T;
    drag.Point = SamplePoint(p);
    drag.Pointer = view.WorldToPoint(drag.Point);
    return drag;
}

void DrawDragGuides(const ScaleT& view, TCanvas& canvas, int k)
{
    const TViewMapping mapping = view.Mapping();
    const TPen saved = canvas.Pen;
    canvas.Pen.Color = 0xC0C0C0;
    canvas.Pen.Width = 5;
    const auto line = [&canvas](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    const int right = view.XAxis.VHigh;
    const int bottom = view.YAxis.VHigh;
    if (k == AxisXObject) {
        const int y = mapping.Y.ValueToPixel(0.0L).Pixel;
        line(0, y, right, y);
    } else if (k == AxisYObject) {
        const int x = mapping.X.ValueToPixel(0.0L).Pixel;
        line(x, 0, x, bottom);
    } else if (IsObjectNumber(k)) {
        const TPointState& s = view.PointStates[k];
        if (HasPoint(s)) {
            const QPoint p = mapping.WorldToPoint(StatePoint(s));
            canvas.Ellipse(p.x() - 4, p.y() - 4, p.x() + 4 + 1, p.y() + 4 + 1);
        } else if (s.Kind == ObjectHorizontalLine) {
            const int y = mapping.Y.ValueToPixel(s.Y).Pixel;
            line(0, y, right, y);
        } else if (s.Kind == ObjectVerticalLine) {
            const int x = mapping.X.ValueToPixel(s.X).Pixel;
            line(x, 0, x, bottom);
        }
    }
    canvas.Pen.Color = saved.Color;
    canvas.Pen.Width = saved.Width;
}
