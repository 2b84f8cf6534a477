#pragma once

#include "render/gfx/GfxTypes.h"

#include <QPoint>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

// The pixels of a one-pixel polyline as Windows draws it: each segment
// leaves out its last pixel in the drawing direction, so joints are set once
// and a line drawn twice in XOR mode vanishes. A dash pattern (pixels on,
// off, on, ...) runs on over the joints. Only pixels inside clip are passed
// to plot(x, y); coordinates are limited to ±2^29.
template <class Plot>
void RasterizeThinPolyline(std::span<const QPoint> points, std::span<const int> dashes, const TRect& clip, Plot&& plot)
{
    std::vector<bool> on;
    for (size_t k = 0; k < dashes.size(); ++k)
        on.insert(on.end(), static_cast<size_t>(std::max(dashes[k], 0)), k % 2 == 0);
    constexpr std::int64_t Limit = std::int64_t{1} << 29;
    std::int64_t phase = 0;
    for (size_t s = 1; s < points.size(); ++s) {
        const std::int64_t x0 = std::clamp<std::int64_t>(points[s - 1].x(), -Limit, Limit);
        const std::int64_t y0 = std::clamp<std::int64_t>(points[s - 1].y(), -Limit, Limit);
        const std::int64_t x1 = std::clamp<std::int64_t>(points[s].x(), -Limit, Limit);
        const std::int64_t y1 = std::clamp<std::int64_t>(points[s].y(), -Limit, Limit);
        const std::int64_t adx = std::llabs(x1 - x0);
        const std::int64_t ady = std::llabs(y1 - y0);
        const std::int64_t sx = x1 >= x0 ? 1 : -1;
        const std::int64_t sy = y1 >= y0 ? 1 : -1;
        const bool xMajor = adx >= ady;
        const std::int64_t major = xMajor ? adx : ady; // pixels of the segment
        const std::int64_t minor = xMajor ? ady : adx;
        // Steps whose major coordinate lies inside the clip.
        const std::int64_t m0 = xMajor ? x0 : y0;
        const std::int64_t lo = xMajor ? clip.Left : clip.Top;
        const std::int64_t hi = (xMajor ? clip.Right : clip.Bottom) - 1;
        const bool forward = (xMajor ? sx : sy) > 0;
        std::int64_t first = forward ? lo - m0 : m0 - hi;
        std::int64_t last = forward ? hi - m0 : m0 - lo;
        first = std::max<std::int64_t>(first, 0);
        last = std::min<std::int64_t>(last, major - 1);
        if (first <= last) {
            // The minor coordinate rounded to the nearest pixel, halves away
            // from the start: offset = (2·i·minor + major) / (2·major), kept
            // as quotient and remainder from step to step (minor <= major,
            // so a step carries at most one).
            const std::int64_t denominator = 2 * major;
            const std::int64_t numerator = 2 * first * minor + major;
            std::int64_t offset = numerator / denominator;
            std::int64_t rest = numerator % denominator;
            for (std::int64_t i = first; i <= last; ++i) {
                if (on.empty() || on[static_cast<size_t>((phase + i) % static_cast<std::int64_t>(on.size()))]) {
                    const std::int64_t x = xMajor ? x0 + sx * i : x0 + sx * offset;
                    const std::int64_t y = xMajor ? y0 + sy * offset : y0 + sy * i;
                    if (x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom)
                        plot(static_cast<int>(x), static_cast<int>(y));
                }
                rest += 2 * minor;
                if (rest >= denominator) {
                    rest -= denominator;
                    ++offset;
                }
            }
        }
        phase += major;
    }
}
