#include "model/PointAngle.h"

#include "model/Options.h"

#include <cmath>
#include <numbers>

long double PointAngle(long double x, long double y)
{
    constexpr long double pi = std::numbers::pi_v<long double>;
    long double angle;
    if (x == 0.0L)
        angle = pi / 2.0L;
    else if (y == 0.0L && x < 0.0L)
        angle = pi;
    else
        angle = std::atan(y / x);
    // atan covers half a turn; fold into [0, π) and then pick the lower half
    // plane by the sign of y.
    if (angle < 0.0L)
        angle += pi;
    if (y < 0.0L)
        angle += Options.AngleArea == 1 ? pi : -pi;
    return angle;
}
