#pragma once

#include "render/gfx/GfxTypes.h"

#include <QPoint>
#include <span>
#include <utility>
#include <vector>

// Pixel runs per row, merged so that every pixel is visited once (XOR must
// not set a pixel twice where pieces of one stroke overlap).
class TSpanRows {
public:
    explicit TSpanRows(const TRect& clip)
        : clip_(clip)
        , rows_(static_cast<size_t>(std::max(clip.Height(), 0)))
    {
    }

    // Pixels x0 .. x1 - 1 of row y; clipped.
    void Add(int y, int x0, int x1);

    // Calls visit(y, x0, x1) for each merged run, rows from the top.
    template <class Visit>
    void ForEach(Visit&& visit)
    {
        for (size_t r = 0; r < rows_.size(); ++r) {
            auto& runs = rows_[r];
            if (runs.empty())
                continue;
            MergeRow(runs);
            for (const auto& [x0, x1] : runs)
                visit(clip_.Top + static_cast<int>(r), x0, x1);
        }
    }

private:
    static void MergeRow(std::vector<std::pair<int, int>>& runs);

    TRect clip_;
    std::vector<std::vector<std::pair<int, int>>> rows_;
};

// The pixels of a polyline drawn with a solid pen of the given width: round
// joins, round or flat ends. A pixel is covered when its sample point lies in
// the stroke, left and top edges inclusive; odd widths sample at the pixel's
// integer point, even widths half a pixel to the right and below, so that a
// horizontal line of width w covers w rows.
void AddWidePolyline(TSpanRows& spans, std::span<const QPoint> points, int width, bool roundEnds);
// A filled disc of that diameter about the point.
void AddDisc(TSpanRows& spans, QPoint centre, int diameter);
