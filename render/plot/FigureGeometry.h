#pragma once

// Geometry that drawing and hit tests of figures share.
#include "render/plot/Figures.h"

#include <QPoint>
#include <algorithm>
#include <optional>
#include <span>
#include <vector>

// The sector of an angle mark or an arc about its middle vertex: from the
// direction of Start counter-clockwise (as seen) by Sweep radians.
struct TArcMark {
    QPoint Centre;
    int Radius = 0;
    QPoint Start; // a point on the first arm
    QPoint End;   // a point on the second arm
    long double StartAngle = 0.0L; // of the first arm, counter-clockwise from the right
    long double Sweep = 0.0L;      // in (0, 2π]
};
// Nothing when both arms point the same way (or one has no length).
std::optional<TArcMark> ArcMarkOf(const TFigureView& view, const Tsegment& figure, std::span<const QPoint> points);

// Calls visit with the control points of each Bézier piece in turn (up to
// four points, each piece starting on the last point of the one before)
// until it returns true; whether one did.
template <class Visit>
bool ForEachBezierPiece(std::span<const QPoint> points, Visit&& visit)
{
    for (std::size_t first = 0; first + 1 < points.size(); first += 3) {
        const std::size_t count = std::min<std::size_t>(4, points.size() - first);
        if (visit(points.subspan(first, count)))
            return true;
    }
    return false;
}
// Appends the piece's samples, its end point excepted.
void SampleBezierPiece(std::span<const QPoint> controls, std::vector<QPoint>& samples);

// The pixel of the mean of the vertices' world points.
QPoint VertexMeanPixel(const TFigureView& view, const Tsegment& figure);
