#pragma once

// Helpers shared by the built-in families (model/Builtins*.cpp); callers
// outside them use the family headers.

#include "model/Options.h"
#include "model/Value.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <span>

namespace builtins {

inline constexpr long double Pi = std::numbers::pi_v<long double>;

// The results below are built inline: they sit on the path of every
// evaluation, where a call per check or constructor costs more than the
// arithmetic itself.

inline bool IsDefinedReal(const TValue& v)
{
    return v.Kind == KindReal && v.Defined;
}

inline TValue RealResult(long double x)
{
    return InUsableRange(x) ? TValue{KindReal, 1, x, 0.0L} : TValue{KindReal, 0, 0.0L, 0.0L};
}

inline TValue PairResult(long double x, long double y)
{
    return InUsableRange(x) && InUsableRange(y) ? TValue{KindPair, 1, x, y} : TValue{KindPair, 0, 0.0L, 0.0L};
}

// A real for kind 1 (y is then dropped), a pair for kind 2.
inline TValue ResultOfKind(std::uint8_t kind, long double x, long double y)
{
    return kind == KindPair ? PairResult(x, y) : RealResult(x);
}

// Rounding, unlike trunc, needs no switch of the x87 control word.
inline bool IsWhole(long double x)
{
    return x == RoundHalfEven(x);
}

inline bool IsNumberKind(std::uint8_t kind)
{
    return kind == KindReal || kind == KindPair;
}

inline bool IsDefinedPair(const TValue& v)
{
    return v.Defined && v.Kind == KindPair;
}

// The formula language's angle unit: degrees when AngleMode is 2.
inline bool DegreeMode()
{
    return Options.AngleMode == 2;
}
// (Sines and cosines of angles go through SinCosOfAngle and its kind, in
// model/BuiltinsElementary.h, which reduce whole quarter turns of degrees exactly.)
inline long double RadiansToAngle(long double r)
{
    return DegreeMode() ? r / Pi * 180.0L : r;
}

// A point, vector or complex number while a built-in computes with it.
struct TPlanar {
    long double X = 0.0L;
    long double Y = 0.0L;
};

inline TPlanar PlanarOf(const TValue& v)
{
    return {v.X, v.Y};
}
inline TValue PairResult(TPlanar p)
{
    return PairResult(p.X, p.Y);
}
inline TPlanar operator+(TPlanar a, TPlanar b)
{
    return {a.X + b.X, a.Y + b.Y};
}
inline TPlanar operator-(TPlanar a, TPlanar b)
{
    return {a.X - b.X, a.Y - b.Y};
}
inline TPlanar operator*(long double s, TPlanar a)
{
    return {s * a.X, s * a.Y};
}
inline long double DotProduct(TPlanar a, TPlanar b)
{
    return a.X * b.X + a.Y * b.Y;
}
inline long double CrossProduct(TPlanar a, TPlanar b)
{
    return a.X * b.Y - a.Y * b.X;
}
inline long double Length(TPlanar a)
{
    return std::sqrt(a.X * a.X + a.Y * a.Y);
}
inline TPlanar ComplexProduct(TPlanar a, TPlanar b)
{
    return {a.X * b.X - a.Y * b.Y, a.X * b.Y + a.Y * b.X};
}
// R(t)·a, the rotation by t radians.
inline TPlanar Rotated(TPlanar a, long double cosT, long double sinT)
{
    return {cosT * a.X - sinT * a.Y, sinT * a.X + cosT * a.Y};
}
inline TPlanar QuarterTurn(TPlanar a)
{
    return {-a.Y, a.X};
}

// An argument list as the evaluator hands it over (last argument first),
// read in the order the arguments were written.
class TWrittenArgs {
public:
    explicit TWrittenArgs(std::span<const TValue> args)
        : args_(args)
    {
    }
    int size() const { return static_cast<int>(args_.size()); }
    const TValue& operator[](int i) const { return args_[args_.size() - 1 - i]; }

private:
    std::span<const TValue> args_;
};

// The argument kinds, in written order, are exactly these.
inline bool MatchesKinds(std::span<const TValue> args, std::initializer_list<std::uint8_t> kinds)
{
    return CheckArgKinds(args, std::span<const std::uint8_t>(kinds.begin(), kinds.size()));
}

} // namespace builtins
