#include "render/scene/PointStates.h"

#include "engine/Evaluator.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"

#include <optional>

namespace {

// Parts EvaluatePoint takes.
enum : int { PositionPart = 0, XPart = 1, YPart = 2, RadiusPart = 3 };

std::optional<long double> DefinedX(const TValue& v)
{
    return v.Defined ? std::optional<long double>(v.X) : std::nullopt;
}

// Whether the kind has what it is drawn from.
bool HasCoordinates(std::uint8_t kind, const std::optional<long double>& x, const std::optional<long double>& y,
                    const std::optional<long double>& r)
{
    switch (kind) {
    case ObjectPoint:
        return x && y;
    case ObjectCircle:
        return x && y && r;
    case ObjectHorizontalLine:
        return y.has_value();
    case ObjectVerticalLine:
        return x.has_value();
    default:
        return false;
    }
}

// Points and circles stand at their position; a polar or parametric curve's
// handle is its position formula at the current value of the curve's
// parameter, the point a drag along the curve moves.
bool HasPosition(std::uint8_t kind)
{
    return kind == ObjectPoint || kind == ObjectCircle || kind == ObjectPolar || kind == ObjectParametric;
}

} // namespace

TPointState BuildPointState(int k)
{
    const TPointFunction& p = DocumentTables.Points[k];
    TPointState s;
    s.Kind = p.Kind;
    s.ColorNo1 = p.ColorNo1;
    s.RColorNo1 = p.RColorNo1;
    s.InsideColor = p.InsideColor;
    s.PointAImg = p.PointAImg;
    s.RAImg = p.RAImg;
    s.Width = p.Width;
    s.RWidth = p.RWidth;
    s.PointStyle = p.PointStyle;
    s.LineStyle = p.LineStyle;
    // 255: the drawing takes the object's own width when it draws.
    s.LocusWidth = !IsDirtyFlag4() && p.LocusWidth != 0 ? 255 : p.LocusWidth;

    std::optional<long double> x, y, r;
    if (HasPosition(p.Kind)) {
        const TValue position = EvaluatePoint(k, PositionPart);
        if (position.Defined) {
            x = position.X;
            y = position.Y;
        }
    } else if (p.Kind == ObjectVerticalLine) {
        x = DefinedX(EvaluatePoint(k, XPart));
    } else if (p.Kind == ObjectHorizontalLine) {
        y = DefinedX(EvaluatePoint(k, YPart));
    }
    if (p.Kind >= ObjectCircle && p.Kind <= ObjectPolar) {
        r = DefinedX(EvaluatePoint(k, RadiusPart));
        if (r && Options.CircleMode == 2 && *r < 0.0L)
            r.reset();
    }
    // A polar curve's handle stands on the curve: without a radius drawn
    // there, there is no handle either.
    if (p.Kind == ObjectPolar && !r)
        y.reset();
    if (p.Kind == ObjectPolar || p.Kind == ObjectParametric)
        s.Kind = ObjectPoint;
    else if (p.Kind == ObjectSequence)
        s.Kind = ObjectEmpty;
    s.X = x.value_or(0.0L);
    s.Y = y.value_or(0.0L);
    s.R = r.value_or(0.0L);
    if (!HasCoordinates(s.Kind, x, y, r))
        s.Kind = ObjectEmpty;
    return s;
}

void BuildPointStates(TPointStates& states)
{
    for (int k = 1; k <= PointCount; ++k)
        states[k] = BuildPointState(k);
}
