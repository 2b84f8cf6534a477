#include "render/gfx/WideLines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

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

// static_cast<int>(std::ceil(v)), by truncation where v fits an int: the
// baseline instruction set has no rounding instruction, and this is the
// pixel rasterizer's innermost step.
int CeilToInt(double v)
{
    if (!(std::fabs(v) < 2147483647.0))
        return static_cast<int>(std::ceil(v));
    const int truncated = static_cast<int>(v);
    return truncated + (truncated < v ? 1 : 0);
}

TInterval Intersect(const TInterval& a, const TInterval& b)
{
    return {std::max(a.Low, b.Low), std::min(a.High, b.High)};
}

// The rows of a disc, cached per diameter: a disc about an integer centre
// has the same row offsets and half widths wherever it stands, so each row's
// square root is taken once rather than at every join. Where it is safe, a
// row also keeps its run as pixel offsets from the centre's column, so that
// placing it needs no rounding at all.
class TDiscRows {
public:
    enum class TKind : unsigned char { Empty, Offsets, Rounded };
    struct TRow {
        TKind Kind = TKind::Empty;
        double HalfWidth = 0;
        int Left = 0; // the run is cx + Left .. cx + Right - 1
        int Right = 0;
    };

    // Offsets hold for centres with |cx| below this.
    static constexpr int OffsetsLimit = 1 << 30;

    // Rows run from the centre's row + First() to + Last().
    void SetDiameter(int diameter)
    {
        if (diameter == diameter_)
            return;
        diameter_ = diameter;
        const double radius = diameter / 2.0;
        const double offset = diameter % 2 == 1 ? 0.0 : 0.5;
        first_ = static_cast<int>(std::ceil(-radius - offset));
        last_ = static_cast<int>(std::ceil(radius - offset)) - 1;
        rows_.clear();
        for (int k = first_; k <= last_; ++k) {
            const double dy = k + offset;
            const double h2 = radius * radius - dy * dy;
            rows_.push_back(MakeRow(h2 < 0 ? 0.0 : std::sqrt(h2), offset));
        }
    }
    int First() const { return first_; }
    int Last() const { return last_; }
    const TRow& Row(int k) const { return rows_[static_cast<size_t>(k - first_)]; }

private:
    // The run of a row is [ceil(cx - h - offset), ceil(cx + h - offset)),
    // each edge rounded twice on the way. The rounding cannot move an edge
    // across a pixel when h has few binary places (then every step is
    // exact for |cx| < 2^30), or when both edges stay well clear of whole
    // numbers (further than the 2^-21 the two roundings can err at that
    // size); elsewhere the row is computed as it stands.
    static TRow MakeRow(double h, double offset)
    {
        TRow row;
        row.HalfWidth = h;
        if (!(h > 0))
            return row; // a point or nothing: an empty run either way
        const double left = -h - offset;
        const double right = h - offset;
        const bool fewPlaces = h < 1 << 20 && std::ldexp(h, 8) == std::floor(std::ldexp(h, 8));
        const bool clear = h > 1.0 / 1024 && DistanceToWhole(left) > 1.0 / (1 << 20) && DistanceToWhole(right) > 1.0 / (1 << 20);
        row.Kind = fewPlaces || clear ? TKind::Offsets : TKind::Rounded;
        row.Left = static_cast<int>(std::ceil(left));
        row.Right = static_cast<int>(std::ceil(right));
        return row;
    }

    static double DistanceToWhole(double v) { return std::fabs(v - std::nearbyint(v)); }

    int diameter_ = 0;
    int first_ = 0;
    int last_ = -1;
    std::vector<TRow> rows_;
};

class TStrokeRasterizer {
public:
    TStrokeRasterizer(TSpanRows& spans, int width)
        : spans_(spans)
        , radius_(width / 2.0)
        , offset_(width % 2 == 1 ? 0.0 : 0.5)
    {
        discRows_.SetDiameter(width);
    }

    // Centres are integers, so the disc's rows and their sample offsets from
    // the centre are exact and the cached half widths are the ones the row
    // would compute.
    void Disc(int cx, int cy)
    {
        const int first = static_cast<int>(std::max<long long>(discRows_.First(), 0LL + spans_.Top() - cy));
        const int last = static_cast<int>(std::min<long long>(discRows_.Last(), spans_.Bottom() - 1LL - cy));
        const double x = cx;
        const bool offsetsHold = cx > -TDiscRows::OffsetsLimit && cx < TDiscRows::OffsetsLimit;
        for (int k = first; k <= last; ++k) {
            const TDiscRows::TRow& row = discRows_.Row(k);
            if (row.Kind == TDiscRows::TKind::Empty)
                continue;
            if (row.Kind == TDiscRows::TKind::Offsets && offsetsHold) {
                spans_.Add(cy + k, cx + row.Left, cx + row.Right);
                continue;
            }
            const TInterval run{x - row.HalfWidth, x + row.HalfWidth};
            if (!run.IsEmpty())
                AddRun(cy + k, run);
        }
    }

    // The rectangle of the stroke along one segment, without ends.
    void Segment(int ax, int ay, int bx, int by)
    {
        Segment(ax, ay, bx, by, SegmentLength(static_cast<long long>(bx) - ax, static_cast<long long>(by) - ay));
    }

private:
    // The length of a segment of these sides, as std::hypot gives it;
    // the short steps of curves drawn column by column are looked up.
    static double SegmentLength(long long dx, long long dy)
    {
        const unsigned long long across = dx < 0 ? -static_cast<unsigned long long>(dx) : dx;
        const unsigned long long down = dy < 0 ? -static_cast<unsigned long long>(dy) : dy;
        if (across >= ShortAcross || down >= ShortDown)
            return std::hypot(static_cast<double>(dx), static_cast<double>(dy));
        double& known = shortLengths_[across * ShortDown + down];
        if (known < 0)
            known = std::hypot(static_cast<double>(across), static_cast<double>(down));
        return known;
    }

    void Segment(double ax, double ay, double bx, double by, double length)
    {
        if (length == 0)
            return;
        const double ux = (bx - ax) / length;
        const double uy = (by - ay) / length;
        const double extent = std::fabs(uy) * length + 2 * radius_ * std::fabs(ux);
        const double midY = (ay + by) / 2;
        const double top = midY - extent / 2;
        const double bottom = midY + extent / 2;
        const bool alongDivides = !(std::fabs(ux) < 1E-12);
        const double alongInverse = 1.0 / ux;
        // Rows outside the clip are skipped: they would add nothing.
        const int first = std::max(static_cast<int>(std::ceil(top - offset_)), spans_.Top());
        const int last = std::min(static_cast<int>(std::ceil(bottom - offset_)) - 1, spans_.Bottom() - 1);
        for (int y = first; y <= last; ++y) {
            // Along: 0 <= (P - A)·u <= length; across: |(P - A)·n| <= r, n = (-uy, ux).
            const double dy = (y + offset_) - ay;
            const double alongOffset = dy * uy - ax * ux;
            const TInterval across = SolveLinear(-uy, dy * ux + ax * uy, -radius_, radius_);
            const TInterval x = alongDivides && AlongHoldsAcross(alongInverse, alongOffset, length, across)
                                    ? across
                                    : Intersect(SolveLinear(ux, alongOffset, 0.0, length), across);
            if (!x.IsEmpty())
                AddRun(y, x);
        }
    }

private:
    // Whether the along interval, SolveLinear(ux, b, 0, length), holds the
    // across interval strictly inside, so that their intersection is the
    // across interval itself. Decided on products with 1 / ux rather than
    // the quotients: they differ by a few units in the last place, and the
    // answer is taken only where the products clear the across edges by a
    // margin a thousand times wider; rows near the segment's ends divide.
    static bool AlongHoldsAcross(double inverse, double b, double length, const TInterval& across)
    {
        if (across.IsEmpty())
            return false;
        double low = (0.0 - b) * inverse;
        double high = (length - b) * inverse;
        if (inverse < 0)
            std::swap(low, high);
        constexpr double Margin = 1E-12;
        return low + std::fabs(low) * Margin < across.Low && high - std::fabs(high) * Margin > across.High;
    }

    void AddRun(int y, const TInterval& x)
    {
        spans_.Add(y, CeilToInt(x.Low - offset_), CeilToInt(x.High - offset_));
    }

    static constexpr unsigned long long ShortAcross = 8;
    static constexpr unsigned long long ShortDown = 512;
    static thread_local TDiscRows discRows_;
    static thread_local std::array<double, ShortAcross * ShortDown> shortLengths_; // -1 until known
    TSpanRows& spans_;
    double radius_;
    double offset_;
};

thread_local TDiscRows TStrokeRasterizer::discRows_;
thread_local std::array<double, TStrokeRasterizer::ShortAcross * TStrokeRasterizer::ShortDown> TStrokeRasterizer::shortLengths_ = [] {
    std::array<double, ShortAcross * ShortDown> lengths;
    lengths.fill(-1.0);
    return lengths;
}();

} // namespace

void TSpanRows::Reset(const TRect& clip)
{
    for (int y : touched_) {
        const size_t row = static_cast<size_t>(y - clip_.Top);
        std::uint64_t* words = bits_.data() + row * static_cast<size_t>(wordsPerRow_);
        std::fill(words + lowWord_[row], words + highWord_[row] + 1, 0);
        lowWord_[row] = INT_MAX;
        highWord_[row] = -1;
    }
    touched_.clear();
    clip_ = clip;
    const size_t rows = static_cast<size_t>(std::max(clip.Height(), 0));
    // The row stride never shrinks (a narrower clip keeps the wider rows),
    // so the bits must hold every row of this clip at that stride.
    const int wordsPerRow = std::max(wordsPerRow_, (std::max(clip.Width(), 0) + 63) / 64);
    const size_t words = rows * static_cast<size_t>(wordsPerRow);
    if (wordsPerRow != wordsPerRow_ || bits_.size() < words) {
        // Every bit is clear here, so the rows may be laid out anew.
        wordsPerRow_ = wordsPerRow;
        bits_.assign(std::max(bits_.size(), words), 0);
    }
    if (lowWord_.size() < rows) {
        lowWord_.resize(rows, INT_MAX);
        highWord_.resize(rows, -1);
    }
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
