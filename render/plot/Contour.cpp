// The contour through one cell of the scan: where the curve crosses the
// cell's edges, from the signs and values at its four corners.
#include "model/Numeric.h"
#include "render/plot/RelationPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The other corner of a corner's row, and of its column.
constexpr std::array<int, 4> RowPartner{CornerBR, CornerBL, CornerTR, CornerTL};
constexpr std::array<int, 4> ColumnPartner{CornerTL, CornerTR, CornerBL, CornerBR};
constexpr std::array<int, 4> Diagonal{CornerTR, CornerTL, CornerBR, CornerBL};

class Cell {
public:
    Cell(int c, int r, const TCellCorners& corners, int magnification, std::vector<TContourSegment>& segments)
        : s_(corners.Signs)
        , v_(corners.Values)
        , m_(magnification)
        , segments_(segments)
    {
        // Corner (i, j) of the cell, in magnified pixels.
        const int left = (c - 1) * m_;
        const int right = c * m_;
        const int top = (r - 1) * m_;
        const int bottom = r * m_;
        at_ = {QPoint(left, bottom), QPoint(right, bottom), QPoint(left, top), QPoint(right, top)};
    }

    void Trace()
    {
        const int p = s_[0] * s_[1] * s_[2] * s_[3];
        const int sum = s_[0] + s_[1] + s_[2] + s_[3];
        const int zeros = static_cast<int>(std::count(s_.begin(), s_.end(), 0));
        const int bl = s_[CornerBL], br = s_[CornerBR], tl = s_[CornerTL], tr = s_[CornerTR];
        if (p < 0) {
            OddCornerCut(sum);
        } else if (p > 0) {
            if (std::abs(sum) == 4)
                return; // all on one side
            if (bl * tr < 0) {
                if (bl * br >= 0)
                    LeftRightCut();
                else
                    TopBottomCut();
            } else if (std::fabs(v_[CornerBL] * v_[CornerTR]) < std::fabs(v_[CornerBR] * v_[CornerTL])) {
                CornerCut(CornerBR);
                CornerCut(CornerTL);
            } else {
                CornerCut(CornerTR);
                CornerCut(CornerBL);
            }
        } else if (zeros == 1 && std::abs(sum) == 1) {
            if (bl * tr + br * tl > 0)
                OddCornerCut(sum);
            else if (bl * br + tl * tr < 0)
                TopBottomCut();
            else
                LeftRightCut();
        } else if (zeros == 1 && std::abs(sum) == 3) {
            TouchingCorner();
        } else if (zeros == 2) {
            ZeroPair(false);
            if (bl * br < 0 || tl * tr < 0)
                TopBottomCut();
            else if (bl * tl < 0 || br * tr < 0)
                LeftRightCut();
        } else if (zeros == 3) {
            if (bl == 0 && tr == 0)
                ZeroSegment(CornerBL, CornerTR);
            else
                ZeroSegment(CornerBR, CornerTL);
        } else if (zeros == 4) {
            ZeroSegment(CornerBL, CornerBR);
        }
    }

private:
    // How far from corner a towards corner b the curve crosses, in
    // magnified pixels.
    int Offset(int a, int b) const
    {
        const long double va = v_[a];
        const long double vb = v_[b];
        long double t = va == vb ? 0.5L : va / (va - vb);
        t = std::clamp(t, 0.0L, 1.0L);
        return NearestInt(m_ * t);
    }

    void Segment(QPoint p1, QPoint p2) { segments_.push_back({p1, p2}); }

    void LeftRightCut()
    {
        Segment(at_[CornerTL] + QPoint(0, Offset(CornerTL, CornerBL)),
                at_[CornerTR] + QPoint(0, Offset(CornerTR, CornerBR)));
    }

    void TopBottomCut()
    {
        Segment(at_[CornerBL] + QPoint(Offset(CornerBL, CornerBR), 0),
                at_[CornerTL] + QPoint(Offset(CornerTL, CornerTR), 0));
    }

    // Cuts off corner k: across its row edge, then across its column edge,
    // each offset pointing from k towards the other corner.
    void CornerCut(int k)
    {
        const int h = RowPartner[static_cast<size_t>(k)];
        const int v = ColumnPartner[static_cast<size_t>(k)];
        const int dx = at_[h].x() > at_[k].x() ? 1 : -1;
        const int dy = at_[v].y() > at_[k].y() ? 1 : -1;
        Segment(at_[k] + QPoint(dx * Offset(k, h), 0), at_[k] + QPoint(0, dy * Offset(k, v)));
    }

    // The corner on the minority side: the first whose sign is minus the sum's.
    void OddCornerCut(int sum)
    {
        const int minority = sum > 0 ? -1 : 1;
        for (int k = 0; k < 4; ++k)
            if (s_[k] == minority) {
                CornerCut(k);
                return;
            }
    }

    void ZeroSegment(int a, int b) { Segment(at_[std::min(a, b)], at_[std::max(a, b)]); }

    // The segment between the two zero corners; a pair on the left or upper
    // edge is its neighbour's to draw, unless always.
    void ZeroPair(bool always)
    {
        int a = -1, b = -1;
        for (int k = 0; k < 4; ++k)
            if (s_[k] == 0)
                (a < 0 ? a : b) = k;
        if (b < 0)
            return;
        const bool leftEdge = a == CornerBL && b == CornerTL;
        const bool upperEdge = a == CornerTL && b == CornerTR;
        if (always || !(leftEdge || upperEdge))
            ZeroSegment(a, b);
    }

    // One zero corner, the other three alike: the curve touches the cell.
    void TouchingCorner()
    {
        const int zero = static_cast<int>(std::find(s_.begin(), s_.end(), 0) - s_.begin());
        int smallest = -1, largest = -1;
        for (int k = 0; k < 4; ++k) {
            if (k == zero)
                continue;
            if (smallest < 0 || std::fabs(v_[k]) < std::fabs(v_[smallest]))
                smallest = k;
            if (largest < 0 || std::fabs(v_[k]) > std::fabs(v_[largest]))
                largest = k;
        }
        if (largest == Diagonal[static_cast<size_t>(zero)])
            return;
        s_[smallest] = 0;
        ZeroPair(true);
    }

    std::array<int, 4> s_;
    std::array<long double, 4> v_;
    int m_;
    std::vector<TContourSegment>& segments_;
    std::array<QPoint, 4> at_;
};

} // namespace

void ContourCell(int c, int r, const TCellCorners& corners, int magnification, TconnectLines& joiner)
{
    std::vector<TContourSegment> segments;
    ContourCell(c, r, corners, magnification, segments);
    for (const TContourSegment& s : segments)
        joiner.AddSegment(s.From, s.To);
}

void ContourCell(int c, int r, const TCellCorners& corners, int magnification, std::vector<TContourSegment>& segments)
{
    Cell(c, r, corners, magnification, segments).Trace();
}
