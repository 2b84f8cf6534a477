#include "render/plot/ArrowsAndBraces.h"

#include "model/Numeric.h"

#include <algorithm>
#include <cmath>

namespace {

QPoint NearestPoint(long double x, long double y)
{
    return QPoint(NearestInt(x), NearestInt(y));
}

} // namespace

int ArrowSize(int penWidth, const TPenSettings& settings)
{
    return 2 * penWidth + settings.Context.Magnification * settings.FontSize;
}

void DrawArrow(TCanvas& canvas, int x1, int y1, int x2, int y2, const TPenSettings& settings)
{
    // The head's half-angle: its sides leave the shaft at atan(1 / 2.75).
    constexpr long double k = 2.75L;
    const long double s = std::sqrt(k * k + 1.0L);
    const long double dx = x1 - x2;
    const long double dy = y1 - y2;
    const long double d = std::hypot(dx, dy);
    if (d == 0.0L)
        return;
    const long double nominal = ArrowSize(canvas.Pen.Width, settings);
    const long double length = std::min(nominal, 0.75L * d);
    const long double ux = dx / d * length;
    const long double uy = dy / d * length;
    // The shaft stops inside the head, so that a wide pen's end does not
    // show past the tip.
    const QPoint shaftEnd = NearestPoint(x2 + ux * 10.0L / 13.0L, y2 + uy * 10.0L / 13.0L);
    DrawLineSeg(canvas, x1, y1, shaftEnd.x(), shaftEnd.y(), settings);
    const QPoint head[4] = {
        QPoint(x2, y2),
        NearestPoint(x2 + (k * ux - uy) / s, y2 + (k * uy + ux) / s),
        shaftEnd,
        NearestPoint(x2 + (k * ux + uy) / s, y2 + (k * uy - ux) / s),
    };
    canvas.Pen.Width = 1;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = canvas.Pen.Color;
    canvas.Polygon(head);
    canvas.Brush.Style = TBrushStyle::Clear;
}

std::optional<TBracePoints> BracePoints(int x1, int y1, int x2, int y2, const TPenSettings& settings)
{
    const long double d = std::hypot(static_cast<long double>(x2 - x1), static_cast<long double>(y2 - y1));
    if (d == 0.0L)
        return std::nullopt;
    const long double magnification = settings.Context.Magnification;
    const long double size = std::min(30.0L * magnification, d / 6.0L);
    const long double a = (x2 - x1) * size / d;
    const long double b = (y2 - y1) * size / d;
    TBracePoints points;
    points.P1 = NearestPoint(x1 + a + 2.0L * b, y1 + b - 2.0L * a);
    points.P2 = NearestPoint(x2 - a + 2.0L * b, y2 - b - 2.0L * a);
    const long double shift = settings.FontSize * magnification / size;
    points.Anchor = NearestPoint(3.0L * (points.P1.x() + points.P2.x()) / 8.0L + (x1 + x2) / 8.0L + b * shift,
                                 3.0L * (points.P1.y() + points.P2.y()) / 8.0L + (y1 + y2) / 8.0L - a * shift);
    return points;
}

std::optional<QPoint> DrawBrace(TCanvas& canvas, int x1, int y1, int x2, int y2, const TPenSettings& settings)
{
    const std::optional<TBracePoints> points = BracePoints(x1, y1, x2, y2, settings);
    if (!points)
        return std::nullopt;
    const TPen pen = canvas.Pen;
    CreateStyledPen(canvas, TPenCap::Round, settings);
    const QPoint curve[4] = {QPoint(x1, y1), points->P1, points->P2, QPoint(x2, y2)};
    canvas.PolyBezier(curve);
    canvas.Pen = pen;
    return points->Anchor;
}
