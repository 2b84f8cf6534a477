#include "model/BuiltinsGeometry.h"

#include "model/BuiltinsCommon.h"
#include "model/BuiltinsElementary.h"
#include "model/BuiltinsNumeric.h"
#include "model/Numeric.h"
#include "model/PointAngle.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace builtins;

namespace {

using TPattern = std::initializer_list<std::uint8_t>;

constexpr std::uint8_t R = KindReal;
constexpr std::uint8_t P = KindPair;

bool MatchesAny(std::span<const TValue> args, std::initializer_list<TPattern> patterns)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [args](TPattern kinds) { return MatchesKinds(args, kinds); });
}

bool AllDefined(std::span<const TValue> args)
{
    return std::all_of(args.begin(), args.end(), [](const TValue& v) { return v.Defined != 0; });
}

// The arguments of a matched pattern as points in written order, two
// consecutive reals making one point.
struct TPoints {
    std::array<TPlanar, TValueList::Capacity> Items;
    int Count = 0;
    TPlanar operator[](int i) const { return Items[i]; }
};

TPoints WrittenPoints(std::span<const TValue> args)
{
    const TValueList reversed = CollectPointArgs(args);
    TPoints points;
    points.Count = reversed.size();
    for (int i = 0; i < points.Count; ++i)
        points.Items[i] = PlanarOf(reversed[points.Count - 1 - i]);
    return points;
}

// The arguments as points when they match one of the patterns and are all
// defined; Count is 0 otherwise.
TPoints MatchedPoints(std::span<const TValue> args, std::initializer_list<TPattern> patterns)
{
    if (!MatchesAny(args, patterns) || !AllDefined(args))
        return {};
    return WrittenPoints(args);
}

TPoints ThreePoints(std::span<const TValue> args)
{
    return MatchedPoints(args, {{P, P, P}});
}

bool IsNearZeroVector(TPlanar v)
{
    return IsNearZero(v.X) && IsNearZero(v.Y);
}

// The written point values are results: outside the usable range they are undefined.
TValue PointResult(bool ok, TPlanar p)
{
    return ok ? PairResult(p) : ValueUndefined(KindReal);
}

bool IntersectLines(TPlanar a, TPlanar b, TPlanar c, TPlanar d, TPlanar& result)
{
    const TPlanar u = b - a;
    const TPlanar v = d - c;
    if (IsNearZeroVector(u) || IsNearZeroVector(v))
        return false;
    const long double det = CrossProduct(u, v);
    if (det == 0.0L)
        return false;
    result = a + (CrossProduct(c - a, v) / det) * u;
    return true;
}

// The foot of the perpendicular from p on the line ab.
bool Foot(TPlanar p, TPlanar a, TPlanar b, TPlanar& foot)
{
    const TPlanar u = b - a;
    const long double lengthSquared = DotProduct(u, u);
    if (lengthSquared == 0.0L)
        return false;
    foot = a + (DotProduct(p - a, u) / lengthSquared) * u;
    return true;
}

bool IntersectLineCircle(TPlanar a, TPlanar b, TPlanar centre, long double r, TPlanar& result)
{
    TPlanar foot;
    if (!Foot(centre, a, b, foot))
        return false;
    const long double d = Length(centre - foot);
    if (!(d < std::fabs(r)))
        return false;
    const TPlanar u = b - a;
    const long double s = SignOf(r) * std::sqrt(r * r - d * d);
    result = foot + (s / Length(u)) * u;
    return true;
}

bool IntersectCircles(TPlanar c1, long double r1, TPlanar c2, long double r2, TPlanar& result)
{
    const long double d = Length(c2 - c1);
    const long double a = std::fabs(r1);
    const long double b = std::fabs(r2);
    if (!(d <= a + b && std::fabs(a - b) <= d && d > 0.0L))
        return false;
    if (a == 0.0L) {
        result = c1;
        return true;
    }
    const long double cosTheta = std::clamp((d * d + a * a - b * b) / (2.0L * d * a), -1.0L, 1.0L);
    // Turned in radians directly, so that both angle units give the same point.
    const long double theta = std::acos(cosTheta) * SignOf(r1) * SignOf(r2);
    const TSinCos turn = SinCosL(theta);
    result = c1 + (a / d) * Rotated(c2 - c1, turn.Cos, turn.Sin);
    return true;
}

bool PerpendicularFoot(std::span<const TValue> args, TPlanar& p, TPlanar& foot)
{
    const TPoints points = MatchedPoints(args, {{P, P, P}, {P, P}});
    if (points.Count == 0)
        return false;
    p = points[0];
    if (points.Count == 2)
        return Foot(p, TPlanar{}, points[1], foot);
    return Foot(p, points[1], points[2], foot);
}

bool Circumcentre(TPoints t, TPlanar& centre)
{
    const TPlanar m1 = 0.5L * (t[0] + t[1]);
    const TPlanar m2 = 0.5L * (t[1] + t[2]);
    return IntersectLines(m1, m1 + QuarterTurn(t[1] - t[0]), m2, m2 + QuarterTurn(t[2] - t[1]), centre);
}

// (wa·A + wb·B + wc·C) / (wa + wb + wc) with the side lengths a = |BC|,
// b = |CA|, c = |AB| and the sign of a's weight given.
bool SideWeightedCentre(TPoints t, long double signOfA, TPlanar& centre)
{
    const long double a = signOfA * Length(t[1] - t[2]);
    const long double b = Length(t[2] - t[0]);
    const long double c = Length(t[0] - t[1]);
    const long double sum = a + b + c;
    if (sum == 0.0L)
        return false;
    centre = (1.0L / sum) * (a * t[0] + b * t[1] + c * t[2]);
    return true;
}

bool Incentre(TPoints t, TPlanar& centre)
{
    return SideWeightedCentre(t, 1.0L, centre);
}

// One channel of a colour number from a fraction, clamped to 0..1.
long double ColorChannel(long double fraction)
{
    return NearestInt(255.0L * std::clamp(fraction, 0.0L, 1.0L));
}

TValue ColorNumber(long double red, long double green, long double blue)
{
    return ValueReal(ColorChannel(red) + 256.0L * ColorChannel(green) + 65536.0L * ColorChannel(blue));
}

long double HueChannel(long double p, long double q, long double t)
{
    if (t < 0.0L)
        t += 1.0L;
    if (t > 1.0L)
        t -= 1.0L;
    if (6.0L * t < 1.0L)
        return p + (q - p) * 6.0L * t;
    if (2.0L * t < 1.0L)
        return q;
    if (3.0L * t < 2.0L)
        return p + (q - p) * (2.0L / 3.0L - t) * 6.0L;
    return p;
}

// Three defined reals in written order.
bool ThreeReals(std::span<const TValue> args, long double& a, long double& b, long double& c)
{
    if (!MatchesKinds(args, {R, R, R}) || !AllDefined(args))
        return false;
    const TWrittenArgs w(args);
    a = w[0].X;
    b = w[1].X;
    c = w[2].X;
    return true;
}

struct TProjection {
    TPlanar Plane;
    long double Depth = 0.0L;
};

// The written values x, y, z, α, β and the optional D: α is the fourth value
// and β the fifth, counting a pair as x and y.
bool Project(std::span<const TValue> args, TProjection& result)
{
    if (!MatchesAny(args, {{P, R, R, R, R}, {R, R, R, R, R, R}, {P, R, R, R}, {R, R, R, R, R}})
        || !AllDefined(args))
        return false;
    const TValueList reversed = CollectRealArgs(args);
    const int count = reversed.size();
    auto value = [&](int i) { return reversed[count - 1 - i].X; };
    const long double x = value(0), y = value(1), z = value(2);
    const TSinCos alpha = SinCosOfAngle(value(3));
    const TSinCos beta = SinCosOfAngle(value(4));
    const long double sinA = alpha.Sin, cosA = alpha.Cos;
    const long double sinB = beta.Sin, cosB = beta.Cos;
    const long double w = y * sinA + z * cosA;
    result.Depth = x * sinB + w * cosB;
    result.Plane = {y * cosA - z * sinA, x * cosB - w * sinB};
    if (count == 6) {
        const long double distance = value(5);
        if (distance < 0.0L)
            return false;
        if (distance > 1E-8L) {
            // At or behind the eye nothing is seen.
            if (result.Depth >= distance - 1E-9L)
                return false;
            result.Plane = (distance / (distance - result.Depth)) * result.Plane;
        }
    }
    return true;
}

// ---- roots of polynomials up to degree 4 ----

struct TRoot {
    long double Re = 0.0L;
    long double Im = 0.0L;
    bool Exists = false;
};
using TRoots = std::array<TRoot, 4>;

TRoot RealRoot(long double x)
{
    return {x, 0.0L, true};
}

// √u of a complex u, in the right half plane.
TRoot ComplexSqrt(long double re, long double im)
{
    const long double modulus = std::hypot(re, im);
    const long double x = std::sqrt((modulus + re) / 2.0L);
    const long double y = std::sqrt(std::max((modulus - re) / 2.0L, 0.0L));
    return {x, im < 0.0L ? -y : y, true};
}

// The two roots of a x² + b x + c (a ≠ 0), written into roots[first..first+1].
void QuadraticRoots(long double a, long double b, long double c, TRoots& roots, int first)
{
    const long double disc = b * b - 4.0L * a * c;
    if (disc < 0.0L) {
        const long double re = -b / (2.0L * a);
        const long double im = std::sqrt(-disc) / (2.0L * a);
        roots[first] = {re, -im, true};
        roots[first + 1] = {re, im, true};
        return;
    }
    // The form without cancellation between −b and the root of the discriminant.
    const long double q = -0.5L * (b + (b < 0.0L ? -std::sqrt(disc) : std::sqrt(disc)));
    if (q == 0.0L) {
        roots[first] = roots[first + 1] = RealRoot(0.0L);
        return;
    }
    roots[first] = RealRoot(q / a);
    roots[first + 1] = RealRoot(c / q);
}

// Cardano: the three roots of a x³ + b x² + c x + d (a ≠ 0); real roots have
// an imaginary part of exactly 0.
void CubicRoots(long double a, long double b, long double c, long double d, TRoots& roots)
{
    const long double bn = b / a, cn = c / a, dn = d / a;
    const long double shift = bn / 3.0L;
    const long double p = cn - bn * bn / 3.0L;
    const long double q = 2.0L * bn * bn * bn / 27.0L - bn * cn / 3.0L + dn;
    long double disc = q * q / 4.0L + p * p * p / 27.0L;
    if (std::fabs(disc) <= 1E-17L)
        disc = 0.0L;
    if (disc > 0.0L) {
        const long double s = std::sqrt(disc);
        const long double u = std::cbrt(-q / 2.0L + s);
        const long double v = std::cbrt(-q / 2.0L - s);
        const long double im = std::sqrt(3.0L) / 2.0L * (u - v);
        roots[0] = RealRoot(u + v - shift);
        roots[1] = {-(u + v) / 2.0L - shift, -im, true};
        roots[2] = {-(u + v) / 2.0L - shift, im, true};
    } else if (disc == 0.0L) {
        const long double u = std::cbrt(-q / 2.0L);
        roots[0] = RealRoot(2.0L * u - shift);
        roots[1] = roots[2] = RealRoot(-u - shift);
    } else {
        const long double r = std::sqrt(-p / 3.0L);
        const long double phi = std::acos(std::clamp(-q / 2.0L / (r * r * r), -1.0L, 1.0L));
        for (int k = 0; k < 3; ++k)
            roots[k] = RealRoot(2.0L * r * CosL((phi - 2.0L * Pi * k) / 3.0L) - shift);
    }
    roots[3] = TRoot{};
}

// Ferrari: the four roots of a x⁴ + b x³ + c x² + d x + e (a ≠ 0).
void QuarticRoots(long double a, long double b, long double c, long double d, long double e, TRoots& roots)
{
    const long double bn = b / a, cn = c / a, dn = d / a, en = e / a;
    // x = y − b/4a leaves y⁴ + p y² + q y + r.
    const long double p = cn - 3.0L * bn * bn / 8.0L;
    long double q = dn - bn * cn / 2.0L + bn * bn * bn / 8.0L;
    const long double r = en - bn * dn / 4.0L + bn * bn * cn / 16.0L - 3.0L * bn * bn * bn * bn / 256.0L;
    if (std::fabs(q) < 1E-9L)
        q = 0.0L;
    long double sSquared = 0.0L;
    long double m = 0.0L;
    if (q != 0.0L) {
        // The largest real root of the resolvent 8m³ − 4p m² − 8r m + 4pr − q²
        // exceeds p/2, so 2m − p > 0.
        TRoots resolvent;
        CubicRoots(8.0L, -4.0L * p, -8.0L * r, 4.0L * p * r - q * q, resolvent);
        m = resolvent[0].Re;
        for (int i = 1; i < 3; ++i) {
            if (resolvent[i].Im == 0.0L)
                m = std::max(m, resolvent[i].Re);
        }
        sSquared = 2.0L * m - p;
    }
    if (q == 0.0L || sSquared <= 0.0L) {
        // Biquadratic: a quadratic in u = y².
        TRoots u;
        QuadraticRoots(1.0L, p, r, u, 0);
        for (int i = 0; i < 2; ++i) {
            const TRoot y = ComplexSqrt(u[i].Re, u[i].Im);
            roots[2 * i] = y;
            roots[2 * i + 1] = {-y.Re, -y.Im, true};
        }
    } else {
        // (y² + m)² = (s y − q/2s)² splits into two quadratics.
        const long double s = std::sqrt(sSquared);
        QuadraticRoots(1.0L, -s, m + q / (2.0L * s), roots, 0);
        QuadraticRoots(1.0L, s, m - q / (2.0L * s), roots, 2);
    }
    const long double shift = bn / 4.0L;
    for (TRoot& root : roots)
        root.Re -= shift;
}

TRoots PolynomialRoots(long double a, long double b, long double c, long double d, long double e)
{
    TRoots roots;
    if (a != 0.0L)
        QuarticRoots(a, b, c, d, e, roots);
    else if (b != 0.0L)
        CubicRoots(b, c, d, e, roots);
    else if (c != 0.0L)
        QuadraticRoots(c, d, e, roots, 0);
    else if (d != 0.0L)
        roots[0] = RealRoot(-e / d);
    // Nothing else: a constant has no roots, and every number is a root of 0.
    for (TRoot& root : roots) {
        if (std::fabs(root.Im) < 1E-9L)
            root.Im = 0.0L;
    }
    return roots;
}

TValue RootValue(const TRoot& root)
{
    if (!root.Exists)
        return ValueUndefined(KindReal);
    // + 0 turns a −0 left by the negations into 0.
    const long double re = root.Re + 0.0L;
    return root.Im == 0.0L ? RealResult(re) : PairResult(re, root.Im + 0.0L);
}

} // namespace

TValue FuncLen(std::span<const TValue> args)
{
    const TPoints points = MatchedPoints(args, {{P}, {R, R}, {P, P}, {R, R, R, R}});
    if (points.Count == 0)
        return ValueUndefined(KindReal);
    const TPlanar v = points.Count == 1 ? points[0] : points[1] - points[0];
    return RealResult(Length(v));
}

TValue FuncArg(std::span<const TValue> args)
{
    TPlanar v;
    if (Options.ComplexMode && MatchesKinds(args, {R})) {
        if (!args[0].Defined)
            return ValueUndefined(KindReal);
        v = {args[0].X, 0.0L};
    } else {
        const TPoints points = MatchedPoints(args, {{P}, {R, R}, {P, P}, {P, P, P}});
        if (points.Count == 0)
            return ValueUndefined(KindReal);
        if (points.Count == 1) {
            v = points[0];
        } else {
            // The angle from u to w is the angle of (u·w, u×w).
            const TPlanar u = points.Count == 2 ? points[0] : points[0] - points[1];
            const TPlanar w = points.Count == 2 ? points[1] : points[2] - points[1];
            v = {DotProduct(u, w), CrossProduct(u, w)};
        }
    }
    if (v.X == 0.0L && v.Y == 0.0L)
        return ValueUndefined(KindReal);
    return RealResult(RadiansToAngle(PointAngle(v.X, v.Y)));
}

TValue FuncDet(std::span<const TValue> args)
{
    const TPoints points = MatchedPoints(args, {{P, P}, {R, R, R, R}});
    if (points.Count == 0)
        return ValueUndefined(KindReal);
    return RealResult(CrossProduct(points[0], points[1]));
}

TValue FuncMid(std::span<const TValue> args)
{
    if (!MatchesAny(args, {{P, P}, {P, P, R, R}}) || !AllDefined(args))
        return ValueUndefined(KindReal);
    const TWrittenArgs w(args);
    const TPlanar a = PlanarOf(w[0]), b = PlanarOf(w[1]);
    if (w.size() == 2)
        return PairResult(0.5L * (a + b));
    const long double m = w[2].X, n = w[3].X;
    if (m + n == 0.0L)
        return ValueUndefined(KindReal);
    return PairResult((1.0L / (m + n)) * (n * a + m * b));
}

TValue FuncRot(std::span<const TValue> args)
{
    if (!MatchesAny(args, {{P}, {P, R}, {P, P, R}}) || !AllDefined(args))
        return ValueUndefined(KindReal);
    const TWrittenArgs w(args);
    const TPlanar p = PlanarOf(w[0]);
    if (w.size() == 1)
        return PairResult(QuarterTurn(p));
    const TPlanar centre = w.size() == 3 ? PlanarOf(w[1]) : TPlanar{};
    const TSinCos turn = SinCosOfAngle(w[w.size() - 1].X);
    return PairResult(centre + Rotated(p - centre, turn.Cos, turn.Sin));
}

TValue FuncIntr(std::span<const TValue> args)
{
    if (!AllDefined(args))
        return ValueUndefined(KindReal);
    const TWrittenArgs w(args);
    TPlanar result;
    bool ok = false;
    if (MatchesKinds(args, {P, P, P, P}))
        ok = IntersectLines(PlanarOf(w[0]), PlanarOf(w[1]), PlanarOf(w[2]), PlanarOf(w[3]), result);
    else if (MatchesKinds(args, {P, P, P, R}))
        ok = IntersectLineCircle(PlanarOf(w[0]), PlanarOf(w[1]), PlanarOf(w[2]), w[3].X, result);
    else if (MatchesKinds(args, {P, R, P, P}))
        ok = IntersectLineCircle(PlanarOf(w[2]), PlanarOf(w[3]), PlanarOf(w[0]), w[1].X, result);
    else if (MatchesKinds(args, {P, R, P, R}))
        ok = IntersectCircles(PlanarOf(w[0]), w[1].X, PlanarOf(w[2]), w[3].X, result);
    return PointResult(ok, result);
}

TValue FuncPerp(std::span<const TValue> args)
{
    TPlanar p, foot;
    const bool ok = PerpendicularFoot(args, p, foot);
    return PointResult(ok, foot);
}

TValue FuncPerpL(std::span<const TValue> args)
{
    TPlanar p, foot;
    if (!PerpendicularFoot(args, p, foot))
        return ValueUndefined(KindReal);
    return RealResult(Length(p - foot));
}

TValue FuncCcentr(std::span<const TValue> args)
{
    const TPoints t = ThreePoints(args);
    TPlanar centre;
    const bool ok = t.Count == 3 && Circumcentre(t, centre);
    return PointResult(ok, centre);
}

TValue FuncIcentr(std::span<const TValue> args)
{
    const TPoints t = ThreePoints(args);
    TPlanar centre;
    const bool ok = t.Count == 3 && Incentre(t, centre);
    return PointResult(ok, centre);
}

TValue FuncEcentr(std::span<const TValue> args)
{
    const TPoints t = ThreePoints(args);
    TPlanar centre;
    const bool ok = t.Count == 3 && SideWeightedCentre(t, -1.0L, centre);
    return PointResult(ok, centre);
}

TValue FuncHcentr(std::span<const TValue> args)
{
    const TPoints t = ThreePoints(args);
    TPlanar centre;
    // Two altitudes: through A across BC and through B across CA.
    const bool ok = t.Count == 3
        && IntersectLines(t[0], t[0] + QuarterTurn(t[2] - t[1]), t[1], t[1] + QuarterTurn(t[2] - t[0]),
                          centre);
    return PointResult(ok, centre);
}

TValue FuncGcentr(std::span<const TValue> args)
{
    if (args.empty())
        return ValueUndefined(KindReal);
    TPlanar sum;
    for (const TValue& v : args) {
        if (!IsDefinedPair(v))
            return ValueUndefined(KindReal);
        sum = sum + PlanarOf(v);
    }
    return PairResult((1.0L / static_cast<long double>(args.size())) * sum);
}

TValue FuncCrad(std::span<const TValue> args)
{
    const TPoints t = ThreePoints(args);
    TPlanar centre;
    if (t.Count != 3 || !Circumcentre(t, centre))
        return ValueUndefined(KindReal);
    return RealResult(Length(t[0] - centre));
}

TValue FuncIrad(std::span<const TValue> args)
{
    const TPoints t = ThreePoints(args);
    TPlanar centre, foot;
    if (t.Count != 3 || !Incentre(t, centre) || !Foot(centre, t[0], t[1], foot))
        return ValueUndefined(KindReal);
    return RealResult(Length(centre - foot));
}

TValue FuncPtan(std::span<const TValue> args)
{
    if (!MatchesAny(args, {{P, P, R}, {P, R}}) || !AllDefined(args))
        return ValueUndefined(KindReal);
    const TWrittenArgs w(args);
    const TPlanar p = PlanarOf(w[0]);
    const TPlanar centre = w.size() == 3 ? PlanarOf(w[1]) : TPlanar{};
    const long double r = w[w.size() - 1].X;
    const long double distance = Length(p - centre);
    if (distance == 0.0L || std::fabs(r) > distance)
        return ValueUndefined(KindReal);
    // The touching point T sees P and C at a right angle: seen from P, it lies
    // at the angle θ = asin(r / |PC|) off the direction to C, at cos θ·|PC|.
    const long double theta = std::asin(r / distance);
    const TSinCos turn = SinCosL(theta);
    return PairResult(p + turn.Cos * Rotated(centre - p, turn.Cos, turn.Sin));
}

TValue FuncRgb(std::span<const TValue> args)
{
    long double red, green, blue;
    if (!ThreeReals(args, red, green, blue))
        return ValueUndefined(KindReal);
    return ColorNumber(red, green, blue);
}

TValue FuncHsl(std::span<const TValue> args)
{
    long double hue, saturation, lightness;
    if (!ThreeReals(args, hue, saturation, lightness))
        return ValueUndefined(KindReal);
    saturation = std::clamp(saturation, 0.0L, 1.0L);
    lightness = std::clamp(lightness, 0.0L, 1.0L);
    hue = hue >= 0.0L ? hue - std::trunc(hue) : 1.0L - (-hue - std::trunc(-hue));
    const long double q = lightness <= 0.5L ? lightness * (1.0L + saturation)
                                            : lightness + saturation - lightness * saturation;
    const long double p = 2.0L * lightness - q;
    return ColorNumber(HueChannel(p, q, hue + 1.0L / 3.0L), HueChannel(p, q, hue),
                       HueChannel(p, q, hue - 1.0L / 3.0L));
}

TValue FuncProj(std::span<const TValue> args)
{
    TProjection projection;
    const bool ok = Project(args, projection);
    return PointResult(ok, projection.Plane);
}

TValue FuncProjz(std::span<const TValue> args)
{
    TProjection projection;
    if (!Project(args, projection))
        return ValueUndefined(KindReal);
    return RealResult(projection.Depth);
}

TValue FuncBezier(std::span<const TValue> args)
{
    const TWrittenArgs w(args);
    if (w.size() < 2 || NotRealValue(w[0]))
        return ValueUndefined(KindReal);
    for (int i = 1; i < w.size(); ++i) {
        if (!IsDefinedPair(w[i]))
            return ValueUndefined(KindReal);
    }
    const long double t = w[0].X;
    const int n = w.size() - 2; // the degree: control points P0 .. Pn
    if (t == 1.0L)
        return w[n + 1];
    // Bernstein weights, each from the one before.
    long double weight = std::pow(1.0L - t, n);
    const long double ratio = t / (1.0L - t);
    TPlanar sum = weight * PlanarOf(w[1]);
    for (int k = 1; k <= n; ++k) {
        weight = weight * ratio * (n - k + 1) / k;
        sum = sum + weight * PlanarOf(w[k + 1]);
    }
    return PairResult(sum);
}

TValue FuncPolygon(const TValue& first, std::span<const TValue> rest)
{
    const int n = static_cast<int>(rest.size());
    if (NotRealValue(first) || std::fabs(first.X) > 2147483646.0L || n == 0)
        return ValueUndefined(KindReal);
    if (!std::all_of(rest.begin(), rest.end(), IsDefinedPair))
        return ValueUndefined(KindReal);
    const long double whole = FloorWithTolerance(first.X);
    const long double f = first.X - whole;
    const std::int64_t k = static_cast<std::int64_t>(whole);
    const int i = static_cast<int>(((k % n) + n) % n);
    const int j = i + 1 == n ? 0 : i + 1;
    const TWrittenArgs vertices(rest);
    return PairResult(f * PlanarOf(vertices[j]) + (1.0L - f) * PlanarOf(vertices[i]));
}

TValue FuncSolut4(std::span<const TValue> args)
{
    if (!MatchesAny(args, {{R, R, R, R, R}, {R, R, R, R, R, R}}) || !AllDefined(args))
        return ValueUndefined(KindReal);
    const TWrittenArgs w(args);
    const int k = w.size() == 6 ? NearestInt(w[5].X) : 1;
    return SolveQuartic(k, w[0].X, w[1].X, w[2].X, w[3].X, w[4].X);
}

TValue SolveQuartic(int k, long double a, long double b, long double c, long double d, long double e)
{
    TRoots roots = PolynomialRoots(a, b, c, d, e);
    const bool complex = Options.ComplexMode != 0;
    if (!complex) {
        // A complex root has no value in real mode.
        for (TRoot& root : roots) {
            if (root.Im != 0.0L)
                root = TRoot{};
        }
    }
    std::sort(roots.begin(), roots.end(), [](const TRoot& x, const TRoot& y) {
        if (x.Exists != y.Exists)
            return x.Exists;
        return x.Re < y.Re || (x.Re == y.Re && x.Im < y.Im);
    });
    if (k >= 1 && k <= 4)
        return RootValue(roots[k - 1]);
    for (const TRoot& root : roots) {
        if (root.Exists && root.Im == 0.0L)
            return RootValue(root);
    }
    return ValueUndefined(KindReal);
}

std::vector<TCurvePoint> CalcBezierPoint(std::span<const TCurvePoint> controls, int count)
{
    std::vector<TCurvePoint> curve;
    if (controls.empty() || count < 1)
        return curve;
    const int n = static_cast<int>(controls.size()) - 1;
    std::vector<long double> binomial(n + 1, 1.0L);
    for (int i = 1; i <= n; ++i)
        binomial[i] = binomial[i - 1] * (n - i + 1) / i;
    curve.reserve(count + 1);
    // Powers of t and 1 − t by multiplication: a figure samples many points.
    std::vector<long double> tPowers(n + 1), uPowers(n + 1);
    for (int k = 0; k < count; ++k) {
        const long double t = static_cast<long double>(k) / count;
        tPowers[0] = uPowers[0] = 1.0L;
        for (int i = 1; i <= n; ++i) {
            tPowers[i] = tPowers[i - 1] * t;
            uPowers[i] = uPowers[i - 1] * (1.0L - t);
        }
        long double x = 0.0L, y = 0.0L;
        for (int i = 0; i <= n; ++i) {
            const long double weight = binomial[i] * tPowers[i] * uPowers[n - i];
            x += weight * controls[i].X;
            y += weight * controls[i].Y;
        }
        curve.push_back({x, y});
    }
    curve.push_back(controls.back());
    return curve;
}
