#pragma once

#include <cstdint>

// The four function options that change what formulas compute without
// changing how they compile: angle unit (1 radian, 2 degree), angle interval
// (1 from 0, 2 from -pi), logarithm (1 common, 2 natural) and circle mode
// (1 negative radius allowed, 2 not). Each one that differs from the
// document's is stored, objects are flagged, and the names whose values
// depend on it are marked changed. Whether anything changed.
bool SetAngleMode(std::uint8_t angleMode, std::uint8_t angleArea, std::uint8_t logMode, std::uint8_t circleMode);
