#pragma once

#include "model/Numeric.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

// Extended precision is the x87 80-bit format: 64 mantissa bits.
static_assert(std::numeric_limits<long double>::digits == 64,
              "Kaviro needs the 80-bit extended long double (x86-64 Linux)");

// Kinds of a value.
enum : std::uint8_t {
    KindNone = 0,
    KindReal = 1,
    KindPair = 2,   // a point or vector; a complex number in complex mode
    KindSZero = 255 // the signed zero a leading sign pushes; takes the other operand's kind
};

// The value of every formula result, constant, parameter, cell and built-in argument.
// An undefined value keeps its kind and has X = Y = 0; a real has Y = 0.
// Kind and Defined sit together in front, so the record takes 48 bytes.
struct TValue {
    std::uint8_t Kind = KindNone;
    std::uint8_t Defined = 0;
    long double X = 0.0L;
    long double Y = 0.0L;
};
static_assert(sizeof(TValue) == 48);

// What the token SZERO pushes: a zero that, as the left operand of "+" or
// "-", takes the other operand's kind.
inline constexpr TValue SZeroValue{KindSZero, 1, 0.0L, 0.0L};

// Upper bound of the argument count of one call of a built-in.
constexpr int MaxArgumentCount = 22;

// A small fixed-capacity list of values: argument lists are collected
// many times per evaluation and must not touch the heap.
class TValueList {
public:
    static constexpr int Capacity = 2 * MaxArgumentCount;

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const TValue& operator[](int i) const { return items_[i]; }
    TValue& operator[](int i) { return items_[i]; }
    const TValue* begin() const { return items_; }
    const TValue* end() const { return items_ + count_; }
    // False (and nothing added) when the list is full.
    bool push(const TValue& v);
    void clear() { count_ = 0; }

private:
    TValue items_[Capacity];
    int count_ = 0;
};

// Constructors. Inline: every operation builds its result with one, and a
// call would store the record only for the caller to load it back.
inline TValue ValueReal(long double x)
{
    return TValue{KindReal, 1, x, 0.0L};
}
inline TValue ValuePoint(long double x, long double y)
{
    return TValue{KindPair, 1, x, y};
}
inline TValue ValueUndefined(std::uint8_t kind)
{
    return TValue{kind, 0, 0.0L, 0.0L};
}
inline TValue ValueMakePoint(const TValue& a, const TValue& b)
{
    if (a.Kind == KindReal && b.Kind == KindReal && a.Defined && b.Defined)
        return ValuePoint(a.X, b.X);
    return ValueUndefined(KindPair);
}
inline TValue ValueToPoint(const TValue& src)
{
    if (!src.Defined)
        return ValueUndefined(KindPair);
    if (src.Kind == KindReal)
        return ValuePoint(src.X, 0.0L);
    return src;
}
inline TValue BoolToValue(bool b)
{
    return b ? ValueReal(1.0L) : ValueUndefined(KindNone);
}

// Checks.
inline bool NotRealValue(const TValue& v)
{
    return !v.Defined || v.Kind != KindReal;
}
inline bool NotRealValues(const TValue& a, const TValue& b)
{
    return NotRealValue(a) || NotRealValue(b);
}
// Presets result to the undefined value a complex-capable function returns
// on failure, and says whether the argument can be used.
bool ValueComplexModeCheck(const TValue& arg, TValue& result);
// True when v is defined and each used part is 0 or strictly inside
// (1E-2415, 1E2415) in magnitude; NaN and infinities fail.
bool ValueCheckRange(const TValue& v);

constexpr long double RangeLow = 1E-2415L;
constexpr long double RangeHigh = 1E2415L;
// Written so that NaN fails every comparison.
inline bool InUsableRange(long double x)
{
    const long double m = x < 0.0L ? -x : x;
    return x == 0.0L || (RangeLow < m && m < RangeHigh);
}

// Int(x) when x lies within 1E-17 of it, else x unchanged.
inline long double SnapToInteger(long double x)
{
    const long double whole = TruncateTowardZero(x);
    return std::fabs(x - whole) <= 1E-17L ? whole : x;
}
inline TValue ValueSnap(const TValue& src)
{
    TValue dst = src;
    if (dst.Defined) {
        dst.X = SnapToInteger(dst.X);
        if (dst.Kind == KindPair)
            dst.Y = SnapToInteger(dst.Y);
    }
    return dst;
}

// Arithmetic for callers outside the formula language; the operators of
// model/BuiltinsOperators.h decide kinds and definedness.
TValue ValueAdd(const TValue& a, const TValue& b);
TValue ValueSub(const TValue& a, const TValue& b);
TValue ValueMul(const TValue& a, const TValue& b);
// The real x times a.
TValue ValueMulReal(long double x, const TValue& a);
TValue ValueDiv(const TValue& a, const TValue& b);
// a divided by the real x.
TValue ValueDivReal(const TValue& a, long double x);

// The built-ins ".x" and ".y".
TValue ValueX(const TValue& v);
TValue ValueY(const TValue& v);

// Argument lists arrive reversed: args[0] is the last argument written.
// A real is copied; a defined pair gives Y then X; an undefined non-real
// gives two undefined reals. Empty when the reals would not fit.
TValueList CollectRealArgs(std::span<const TValue> args);
// Pairs the collected reals into points; empty when their count is odd.
TValueList CollectPointArgs(std::span<const TValue> args);
// True when kinds[i] == args[high - i].Kind for every i and the lengths agree.
bool CheckArgKinds(std::span<const TValue> args, std::span<const std::uint8_t> kinds);
