// One-pixel lines against their definition: at step i of a segment the minor
// coordinate is offset (2·i·minor + major) / (2·major), the last pixel left
// out, only pixels inside the clip passed on; random segments, long and
// short, clipped at either end, with and without dashes.
#include "render/gfx/ThinLines.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

using TPixels = std::vector<std::pair<int, int>>;

TPixels Reference(QPoint a, QPoint b, const std::vector<int>& dashes, const TRect& clip)
{
    std::vector<bool> on;
    for (size_t k = 0; k < dashes.size(); ++k)
        on.insert(on.end(), static_cast<size_t>(dashes[k]), k % 2 == 0);
    const long long dx = b.x() - a.x(), dy = b.y() - a.y();
    const long long major = std::max(std::llabs(dx), std::llabs(dy));
    const long long minor = std::min(std::llabs(dx), std::llabs(dy));
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    TPixels pixels;
    for (long long i = 0; i < major; ++i) {
        if (!on.empty() && !on[static_cast<size_t>(i % static_cast<long long>(on.size()))])
            continue;
        const long long offset = (2 * i * minor + major) / (2 * major);
        const long long along = i * (xMajor ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1));
        const long long across = offset * (xMajor ? (dy < 0 ? -1 : 1) : (dx < 0 ? -1 : 1));
        const int x = static_cast<int>(a.x() + (xMajor ? along : across));
        const int y = static_cast<int>(a.y() + (xMajor ? across : along));
        if (clip.Contains(x, y))
            pixels.emplace_back(x, y);
    }
    return pixels;
}

TEST(ThinLinesTest, SegmentsSetThePixelsOfTheirDefinition)
{
    std::mt19937 random(7);
    const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const TRect clip{-20, -30, 90, 70};
    for (int n = 0; n < 3000; ++n) {
        const int reach = n % 3 == 0 ? 400 : 40;
        const QPoint a(between(-reach, reach), between(-reach, reach));
        const QPoint b(between(-reach, reach), between(-reach, reach));
        const std::vector<int> dashes = n % 4 == 0 ? std::vector<int>{between(1, 9), between(1, 9)} : std::vector<int>{};
        TPixels pixels;
        const QPoint line[2] = {a, b};
        RasterizeThinPolyline(line, dashes, clip, [&](int x, int y) { pixels.emplace_back(x, y); });
        ASSERT_EQ(pixels, Reference(a, b, dashes, clip)) << "from " << a.x() << "," << a.y() << " to " << b.x() << "," << b.y();
    }
}

} // namespace
