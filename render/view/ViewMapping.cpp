#include "render/view/ViewMapping.h"

#include <algorithm>
#include <cmath>

namespace {

long double ClampRectCoord(long double c, long double m)
{
    if (c < 0.0L)
        return -1.0L;
    return c <= m ? c : m + 1.0L;
}

bool BeyondLimit(const TPointL& p, long double limit)
{
    return std::fabs(p.X) > limit || std::fabs(p.Y) > limit;
}

} // namespace

std::optional<TPixelLine> TViewMapping::ClipLine(std::uint8_t kind, TWorldPoint wa, TWorldPoint wb) const
{
    const TDrawContext context = Context();
    const auto clamped = [&context](const TPointL& p) -> TPointL {
        return {context.ClampToPixelLimit(p.X), context.ClampToPixelLimit(p.Y)};
    };
    const long double w = X.MagnifiedPixels();
    const long double h = Y.MagnifiedPixels();
    const long double m = std::max(w, h);
    const long double limit = context.PixelLimit();
    const TPointL a = ValueToPixelF(wa);
    const TPointL b = ValueToPixelF(wb);
    TPixelLine line{clamped(a), clamped(b)};
    const long double dx = b.X - a.X;
    const long double dy = b.Y - a.Y;
    // Equal end points, or ends with no pixel, make nothing to draw.
    if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0.0L && dy == 0.0L))
        return std::nullopt;

    switch (kind) {
    case ClipHalfLine: {
        if (IsNearZero(dx) && IsNearZero(dy))
            return std::nullopt;
        if (std::fabs(dx) < std::fabs(dy)) {
            const long double border = dy > 0.0L ? h : 0.0L;
            const bool beyond = dy > 0.0L ? a.Y > h : a.Y < 0.0L;
            if (!beyond)
                line.P2 = clamped({a.X + dx * (border - a.Y) / dy, border});
        } else {
            const long double border = dx > 0.0L ? w : 0.0L;
            const bool beyond = dx > 0.0L ? a.X > w : a.X < 0.0L;
            if (!beyond)
                line.P2 = clamped({border, a.Y + dy * (border - a.X) / dx});
        }
        return line;
    }
    case ClipWholeLine:
        if (IsNearZero(dx) && IsNearZero(dy))
            return std::nullopt;
        if (std::fabs(dx) < std::fabs(dy)) {
            line.P1 = clamped({a.X - dx * a.Y / dy, 0.0L});
            line.P2 = clamped({a.X + dx * (h - a.Y) / dy, h});
        } else {
            line.P1 = clamped({0.0L, a.Y - dy * a.X / dx});
            line.P2 = clamped({w, a.Y + dy * (w - a.X) / dx});
        }
        return line;
    case ClipRectangle:
        for (TPointL* p : {&line.P1, &line.P2}) {
            p->X = NearestInt(ClampRectCoord(p->X, m));
            p->Y = NearestInt(ClampRectCoord(p->Y, m));
        }
        return line;
    default:
        break;
    }

    const bool aBeyond = BeyondLimit(a, limit);
    const bool bBeyond = BeyondLimit(b, limit);
    if (!aBeyond && !bBeyond)
        return line;
    const bool whollyOutside = (a.X < 0.0L && b.X < 0.0L) || (a.Y < 0.0L && b.Y < 0.0L) ||
                               (a.X > w && b.X > w) || (a.Y > h && b.Y > h);
    if (whollyOutside)
        return line;
    // The foot of the perpendicular from the view's centre onto the line.
    const TPointL centre{w / 2.0L, h / 2.0L};
    const long double length = std::sqrt(dx * dx + dy * dy);
    const long double t = ((centre.X - a.X) * dx + (centre.Y - a.Y) * dy) / (length * length);
    const TPointL foot{a.X + t * dx, a.Y + t * dy};
    if (std::hypot(foot.X - centre.X, foot.Y - centre.Y) <= std::hypot(centre.X, centre.Y)) {
        // Far ends come in to twice the view's size from the foot, keeping
        // the direction.
        const long double reach = 2.0L * m / length;
        if (aBeyond)
            line.P1 = {foot.X - dx * reach, foot.Y - dy * reach};
        if (bBeyond)
            line.P2 = {foot.X + dx * reach, foot.Y + dy * reach};
    } else {
        line.P1.X = line.P2.X = 2.0L * w; // the line passes by the view
    }
    return line;
}

std::optional<TPointLine> TViewMapping::ClipLineToPoints(std::uint8_t kind, TWorldPoint a, TWorldPoint b) const
{
    const std::optional<TPixelLine> line = ClipLine(kind, a, b);
    if (!line)
        return std::nullopt;
    const auto rounded = [](const TPointL& p) { return QPoint(NearestInt(p.X), NearestInt(p.Y)); };
    return TPointLine{rounded(line->P1), rounded(line->P2)};
}
