#include "render/gfx/GfxTypes.h"

#include <algorithm>
#include <cmath>

namespace {

// a × b / c rounded half away from zero, as the Windows font sizes are.
int MulDiv(int a, int b, int c)
{
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

constexpr int PixelsPerInch = 96;
constexpr int PointsPerInch = 72;

} // namespace

TRect IntersectRects(const TRect& a, const TRect& b)
{
    const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

int TFont::Size() const
{
    return MulDiv(-Height, PointsPerInch, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    Height = -MulDiv(points, PixelsPerInch, PointsPerInch);
}
