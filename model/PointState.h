#pragma once

#include "model/Colors.h"

#include <cstdint>

// The evaluated state of one elementary object at the last redraw: what is
// drawn, hit-tested and recorded for traces.
struct TPointState {
    // 0 not drawable, 1 point (curves too), 2 circle, 3 horizontal line, 4 vertical line
    std::uint8_t Kind = 0;
    long double X = 0.0L; // 0 when undefined
    long double Y = 0.0L;
    long double R = 0.0L;
    TColor ColorNo1 = 0;
    TColor RColorNo1 = 0;
    TColor InsideColor = 0;
    std::uint8_t PointAImg = 0;
    std::uint8_t RAImg = 0;
    std::uint8_t Width = 0;
    std::uint8_t LocusWidth = 0; // 255: taken from the object while drawing
    std::uint8_t RWidth = 0;
    std::uint8_t PointStyle = 0;
    std::uint8_t LineStyle = 0;
};
