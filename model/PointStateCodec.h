#pragma once

// The fixed 100-byte little-endian form of an object state that trace
// records and trace files keep. Extended values are written field by field
// as 80-bit numbers (sign and exponent in the last two bytes), whatever the
// machine's own layout of long double.
#include "model/PointState.h"

#include <array>
#include <cstdint>
#include <span>

constexpr int PointStateBytes = 100;
constexpr int Extended80Bytes = 10;

using TPointStateBlock = std::array<std::uint8_t, PointStateBytes>;

// v as 10 bytes: 64-bit significand with its integer bit, then 15-bit biased
// exponent and sign. NaN is written as the quiet NaN.
void WriteExtended80(long double v, std::span<std::uint8_t, Extended80Bytes> out);
long double ReadExtended80(std::span<const std::uint8_t, Extended80Bytes> in);

TPointStateBlock EncodePointState(const TPointState& state);
// The reserved bytes are ignored.
TPointState DecodePointState(std::span<const std::uint8_t, PointStateBytes> block);
