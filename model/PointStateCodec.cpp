#include "model/PointStateCodec.h"

#include <algorithm>
#include <cmath>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64, "80-bit extended precision expected");

namespace {

constexpr int ExponentBias = 16383;
constexpr int MaxExponent = 0x7FFF;
constexpr std::uint64_t IntegerBit = 0x8000000000000000ULL;
constexpr std::uint64_t QuietNaNBits = 0xC000000000000000ULL;

// Field offsets of the block.
enum : int {
    KindAt = 0,
    XAt = 2,
    YAt = 12,
    RAt = 22,
    ColorNo1At = 32,
    RColorNo1At = 36,
    InsideColorAt = 40,
    PointAImgAt = 44,
    RAImgAt = 45,
    WidthAt = 46,
    LocusWidthAt = 47,
    RWidthAt = 48,
    PointStyleAt = 98,
    LineStyleAt = 99,
};

void WriteLE(std::uint64_t v, std::uint8_t* out, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t ReadLE(const std::uint8_t* in, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= std::uint64_t{in[i]} << (8 * i);
    return v;
}

// Significand and biased exponent of a finite, non-zero magnitude.
void SplitFinite(long double magnitude, std::uint64_t& significand, int& exponent)
{
    int e = 0;
    const long double m = std::frexp(magnitude, &e); // magnitude = m · 2^e, 0.5 <= m < 1
    exponent = e - 1 + ExponentBias;
    if (exponent >= 1) {
        significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
        return;
    }
    // Subnormal: the exponent field is 0 and the value is significand · 2^(1 - bias - 63).
    exponent = 0;
    significand = static_cast<std::uint64_t>(std::ldexp(magnitude, ExponentBias - 1 + 63));
}

std::span<std::uint8_t, Extended80Bytes> Field(TPointStateBlock& block, int at)
{
    return std::span<std::uint8_t, Extended80Bytes>(block.data() + at, Extended80Bytes);
}

std::span<const std::uint8_t, Extended80Bytes> Field(std::span<const std::uint8_t, PointStateBytes> block, int at)
{
    return std::span<const std::uint8_t, Extended80Bytes>(block.data() + at, Extended80Bytes);
}

} // namespace

void WriteExtended80(long double v, std::span<std::uint8_t, Extended80Bytes> out)
{
    std::uint64_t significand = 0;
    int exponent = 0;
    if (std::isnan(v)) {
        significand = QuietNaNBits;
        exponent = MaxExponent;
    } else if (std::isinf(v)) {
        significand = IntegerBit;
        exponent = MaxExponent;
    } else if (v != 0.0L) {
        SplitFinite(std::fabs(v), significand, exponent);
    }
    const unsigned sign = std::signbit(v) ? 0x8000u : 0u;
    WriteLE(significand, out.data(), 8);
    WriteLE(sign | static_cast<unsigned>(exponent), out.data() + 8, 2);
}

long double ReadExtended80(std::span<const std::uint8_t, Extended80Bytes> in)
{
    const std::uint64_t significand = ReadLE(in.data(), 8);
    const unsigned top = static_cast<unsigned>(ReadLE(in.data() + 8, 2));
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = static_cast<int>(top & 0x7FFFu);
    long double magnitude;
    if (exponent == MaxExponent)
        magnitude = (significand << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                            : std::numeric_limits<long double>::quiet_NaN();
    else
        // A zero exponent field scales like exponent 1 (subnormals).
        magnitude = std::ldexp(static_cast<long double>(significand), std::max(exponent, 1) - ExponentBias - 63);
    return negative ? -magnitude : magnitude;
}

TPointStateBlock EncodePointState(const TPointState& state)
{
    TPointStateBlock block{};
    block[KindAt] = state.Kind;
    WriteExtended80(state.X, Field(block, XAt));
    WriteExtended80(state.Y, Field(block, YAt));
    WriteExtended80(state.R, Field(block, RAt));
    WriteLE(state.ColorNo1, block.data() + ColorNo1At, 4);
    WriteLE(state.RColorNo1, block.data() + RColorNo1At, 4);
    WriteLE(state.InsideColor, block.data() + InsideColorAt, 4);
    block[PointAImgAt] = state.PointAImg;
    block[RAImgAt] = state.RAImg;
    block[WidthAt] = state.Width;
    block[LocusWidthAt] = state.LocusWidth;
    block[RWidthAt] = state.RWidth;
    block[PointStyleAt] = state.PointStyle;
    block[LineStyleAt] = state.LineStyle;
    return block;
}

TPointState DecodePointState(std::span<const std::uint8_t, PointStateBytes> block)
{
    TPointState state;
    state.Kind = block[KindAt];
    state.X = ReadExtended80(Field(block, XAt));
    state.Y = ReadExtended80(Field(block, YAt));
    state.R = ReadExtended80(Field(block, RAt));
    state.ColorNo1 = static_cast<TColor>(ReadLE(block.data() + ColorNo1At, 4));
    state.RColorNo1 = static_cast<TColor>(ReadLE(block.data() + RColorNo1At, 4));
    state.InsideColor = static_cast<TColor>(ReadLE(block.data() + InsideColorAt, 4));
    state.PointAImg = block[PointAImgAt];
    state.RAImg = block[RAImgAt];
    state.Width = block[WidthAt];
    state.LocusWidth = block[LocusWidthAt];
    state.RWidth = block[RWidthAt];
    state.PointStyle = block[PointStyleAt];
    state.LineStyle = block[LineStyleAt];
    return state;
}
