#pragma once

#include "render/gfx/GfxTypes.h"

#include <QPoint>
#include <algorithm>
#include <span>
#include <utility>
#include <vector>

// Pixel runs per row, merged so that every pixel is visited once (XOR must
// not set a pixel twice where pieces of one stroke overlap).
class TSpanRows {
public:
    // Forgets the runs and takes a new clip; the storage is kept for reuse.
    void Reset(const TRect& clip);

    // Pixels x0 .. x1 - 1 of row y; clipped.
    void Add(int y, int x0, int x1)
    {
        if (y < clip_.Top || y >= clip_.Bottom)
            return;
        x0 = std::max(x0, clip_.Left);
        x1 = std::min(x1, clip_.Right);
        if (x0 >= x1)
            return;
        auto& runs = rows_[static_cast<size_t>(y - clip_.Top)];
        if (runs.empty())
            touched_.push_back(y);
        runs.emplace_back(x0, x1);
    }

    // Calls visit(y, x0, x1) for each merged run.
    template <class Visit>
    void ForEach(Visit&& visit)
    {
        for (int y : touched_) {
            auto& runs = rows_[static_cast<size_t>(y - clip_.Top)];
            MergeRow(runs);
            for (const auto& [x0, x1] : runs)
                visit(y, x0, x1);
        }
    }

private:
    static void MergeRow(std::vector<std::pair<int, int>>& runs);

    TRect clip_;
    std::vector<std::vector<std::pair<int, int>>> rows_;
    std::vector<int> touched_;
};

// The pixels of a polyline drawn with a solid pen of the given width: round
// joins, round or flat ends. A pixel is covered when its sample point lies in
// the stroke, left and top edges inclusive; odd widths sample at the pixel's
// integer point, even widths half a pixel to the right and below, so that a
// horizontal line of width w covers w rows.
void AddWidePolyline(TSpanRows& spans, std::span<const QPoint> points, int width, bool roundEnds);
// A filled disc of that diameter about the point.
void AddDisc(TSpanRows& spans, QPoint centre, int diameter);
