#pragma once

// The multi-argument built-ins on points: lengths and angles, division
// points, rotation, intersections, triangle centres, tangent points, colour
// numbers, a 3-D projection, Bézier and polygon points, and the roots of
// polynomials up to degree 4.
//
// Argument lists arrive as the evaluator pops them: args[0] is the last
// argument written. Each function accepts a few patterns of kinds (real or
// pair, in written order) and gives an undefined real when none matches,
// when an argument is undefined or when the figure has no solution.

#include "model/Value.h"

#include <span>
#include <vector>

// "len": |P| or |PQ|; points as pairs or as two reals.
TValue FuncLen(std::span<const TValue> args);
// "arg": the angle of a vector, from P to Q, or at B from BA to BC; in the
// angle unit. In complex mode a real counts as a vector too.
TValue FuncArg(std::span<const TValue> args);
// "det": x1·y2 − y1·x2.
TValue FuncDet(std::span<const TValue> args);
// "mid": the midpoint of A and B, or the point (n·A + m·B) / (m + n).
TValue FuncMid(std::span<const TValue> args);
// "rot": P turned by a quarter, by t about the origin, or by t about C.
TValue FuncRot(std::span<const TValue> args);
// "intr": the intersection of two lines (two points each) or circles
// (centre and radius); the signs of the radii choose between two points.
TValue FuncIntr(std::span<const TValue> args);
// "perp": the foot of the perpendicular from P on the line AB (or the line
// through the origin and D); "perpL": the distance from P to it.
TValue FuncPerp(std::span<const TValue> args);
TValue FuncPerpL(std::span<const TValue> args);
// Triangle centres of A, B, C: circumcentre, incentre, orthocentre, excentre
// opposite A; "Gcentr" is the centroid of one or more points.
TValue FuncCcentr(std::span<const TValue> args);
TValue FuncIcentr(std::span<const TValue> args);
TValue FuncHcentr(std::span<const TValue> args);
TValue FuncEcentr(std::span<const TValue> args);
TValue FuncGcentr(std::span<const TValue> args);
// Circumradius and inradius.
TValue FuncCrad(std::span<const TValue> args);
TValue FuncIrad(std::span<const TValue> args);
// "Ptan"(P, C, r) or (P, r): where a tangent from P touches the circle about
// C (or the origin) of radius |r|; the sign of r chooses the tangent.
TValue FuncPtan(std::span<const TValue> args);
// "rgb"(r, g, b) and "hsl"(h, s, l), fractions 0..1: the Windows colour
// number R + 256·G + 65536·B.
TValue FuncRgb(std::span<const TValue> args);
TValue FuncHsl(std::span<const TValue> args);
// "proj"(x, y, z, α, β[, D]) (x and y may be one pair): the view plane point
// of a 3-D point seen under the angles α and β, in parallel projection or in
// perspective from distance D; "projz": its depth.
TValue FuncProj(std::span<const TValue> args);
TValue FuncProjz(std::span<const TValue> args);
// "bezier"(t, P0, ..., Pn): the Bézier point at t.
TValue FuncBezier(std::span<const TValue> args);
// "polygon"(t, V0, ..., Vn−1): the point at t on the closed polygon, one side
// per unit of t. rest holds V0 .. Vn−1 reversed (rest[0] is Vn−1).
TValue FuncPolygon(const TValue& first, std::span<const TValue> rest);
// "solut4"(a, b, c, d, e[, k]): root k of a x⁴ + b x³ + c x² + d x + e.
TValue FuncSolut4(std::span<const TValue> args);

// Root k (1..4) of a x⁴ + b x³ + c x² + d x + e = 0, any leading
// coefficients may be 0. The roots are numbered in ascending order: in real
// mode by value, complex roots undefined and last; in complex mode by real
// part, then imaginary part, as pairs (reals when the imaginary part is
// below 1E-9). Missing roots are undefined and come last. Any other k gives
// the smallest real root.
TValue SolveQuartic(int k, long double a, long double b, long double c, long double d, long double e);

// A point of a curve in world units, in extended precision.
struct TCurvePoint {
    long double X = 0.0L;
    long double Y = 0.0L;
    friend bool operator==(const TCurvePoint&, const TCurvePoint&) = default;
};

// The Bézier curve of the control points sampled at t = k/count for
// k = 0 .. count − 1, followed by the last control point itself: count + 1
// points. Empty without control points or with count < 1.
std::vector<TCurvePoint> CalcBezierPoint(std::span<const TCurvePoint> controls, int count);
