#pragma once

#include <array>
#include <cmath>
#include <limits>

// Extended values at the edges of the format: subnormal, the smallest and
// largest normal values, zeros of both signs, neighbours of 10^±4932, and a
// few ordinary ones.
inline std::array<long double, 22> ExtendedEdgeValues()
{
    using limits = std::numeric_limits<long double>;
    const long double tiny = limits::denorm_min();
    return {
        tiny,
        -tiny,
        3 * tiny,
        std::ldexp(137166702570541362.0L, -16445), // the nearest value to 5E-4934
        std::ldexp(1.0L, -16400),
        limits::min() - tiny, // the largest subnormal value
        limits::min(),
        -limits::min(),
        std::nextafter(limits::min(), 1.0L),
        1E-4932L,
        std::nextafter(1E-4932L, 0.0L),
        limits::max(),
        -limits::max(),
        std::nextafter(limits::max(), 0.0L),
        1E4932L,
        std::nextafter(1E4932L, 0.0L),
        0.0L,
        -0.0L,
        0.1L,
        -1.0L / 3.0L,
        123456789.123456789L,
        5.0L,
    };
}
