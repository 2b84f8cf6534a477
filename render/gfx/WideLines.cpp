#include "render/gfx/WideLines.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// An interval of sample coordinates; pixels take its left edge and leave
// its right edge.
struct TInterval {
    double Low = -std::numeric_limits<double>::infinity();
    double High = std::numeric_limits<double>::infinity();
    bool IsEmpty() const { return !(Low < High); }
};

// The x for which low <= a·x + b <= high; which edges are inside is decided
// when the interval becomes pixels, the same way for every direction.
TInterval SolveLinear(double a, double b, double low, double high)
{
    if (std::fabs(a) < 1E-12)
        return b >= low && b <= high ? TInterval{} : TInterval{0.0, 0.0};
    double x0 = (low - b) / a;
    double x1 = (high - b) / a;
    if (a < 0)
        std::swap(x0, x1);
    return {x0, x1};
}

TInterval Intersect(const TInterval& a, const TInterval& b)
{
    return {std::max(a.Low, b.Low), std::min(a.High, b.High)};
}

class TStrokeRasterizer {
public:
    TStrokeRasterizer(TSpanRows& spans, int width)
        : spans_(spans)
        , radius_(width / 2.0)
        , offset_(width % 2 == 1 ? 0.0 : 0.5)
    {
    }

    void Disc(double cx, double cy)
    {
        ForRows(cy - radius_, cy + radius_, [&](double ys) {
            const double dy = ys - cy;
            const double h2 = radius_ * radius_ - dy * dy;
            if (h2 < 0)
                return TInterval{0.0, 0.0};
            const double h = std::sqrt(h2);
            return TInterval{cx - h, cx + h};
        });
    }

    // The rectangle of the stroke along one segment, without ends.
    void Segment(double ax, double ay, double bx, double by)
    {
        const double length = std::hypot(bx - ax, by - ay);
        if (length == 0)
            return;
        const double ux = (bx - ax) / length;
        const double uy = (by - ay) / length;
        const double extent = std::fabs(uy) * length + 2 * radius_ * std::fabs(ux);
        const double midY = (ay + by) / 2;
        ForRows(midY - extent / 2, midY + extent / 2, [&](double ys) {
            // Along: 0 <= (P - A)·u <= length; across: |(P - A)·n| <= r, n = (-uy, ux).
            const double dy = ys - ay;
            const TInterval along = SolveLinear(ux, dy * uy - ax * ux, 0.0, length);
            const TInterval across = SolveLinear(-uy, dy * ux + ax * uy, -radius_, radius_);
            return Intersect(along, across);
        });
    }

private:
    template <class RowInterval>
    void ForRows(double top, double bottom, RowInterval&& interval)
    {
        const int first = static_cast<int>(std::ceil(top - offset_));
        const int last = static_cast<int>(std::ceil(bottom - offset_)) - 1;
        for (int y = first; y <= last; ++y) {
            const TInterval x = interval(y + offset_);
            if (x.IsEmpty())
                continue;
            spans_.Add(y, static_cast<int>(std::ceil(x.Low - offset_)), static_cast<int>(std::ceil(x.High - offset_)));
        }
    }

    TSpanRows& spans_;
    double radius_;
    double offset_;
};

} // namespace

void TSpanRows::Reset(const TRect& clip)
{
    for (int y : touched_)
        rows_[static_cast<size_t>(y - clip_.Top)].clear();
    touched_.clear();
    clip_ = clip;
    if (rows_.size() < static_cast<size_t>(std::max(clip.Height(), 0)))
        rows_.resize(static_cast<size_t>(clip.Height()));
}

void TSpanRows::MergeRow(std::vector<std::pair<int, int>>& runs)
{
    if (runs.size() > 1)
        std::sort(runs.begin(), runs.end());
    size_t out = 0;
    for (size_t i = 1; i < runs.size(); ++i) {
        if (runs[i].first <= runs[out].second)
            runs[out].second = std::max(runs[out].second, runs[i].second);
        else
            runs[++out] = runs[i];
    }
    runs.resize(out + 1);
}

void AddWidePolyline(TSpanRows& spans, std::span<const QPoint> points, int width, bool roundEnds)
{
    if (points.empty() || width < 1)
        return;
    TStrokeRasterizer stroke(spans, width);
    for (size_t i = 0; i < points.size(); ++i) {
        const bool end = i == 0 || i + 1 == points.size();
        if (!end || roundEnds)
            stroke.Disc(points[i].x(), points[i].y());
        if (i > 0)
            stroke.Segment(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
    }
}

void AddDisc(TSpanRows& spans, QPoint centre, int diameter)
{
    if (diameter < 1)
        return;
    TStrokeRasterizer(spans, diameter).Disc(centre.x(), centre.y());
}
