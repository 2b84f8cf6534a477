#include "model/PointAngle.h"

#include "model/ElementaryKernels.h"
#include "model/Options.h"

#include <numbers>

long double PointAngle(long double x, long double y)
{
    constexpr long double pi = std::numbers::pi_v<long double>;
    if (x == 0.0L && y == 0.0L)
        return pi / 2.0L;
    // On the x axis: 0 (with the sign of y) or π, whatever the sign of y.
    if (y == 0.0L)
        return x < 0.0L ? pi : y / x;
    // Below the x axis a whole turn on, or half a turn back.
    return Options.AngleArea == 1 ? FullTurnAngleL(y, x) : Atan2L(y, x);
}
