#include "model/BuiltinsGeometry.h"
#include "tests/model/BuiltinsTest.h"
#include "tests/ExtendedNear.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

using namespace testvalues;

constexpr long double pi = std::numbers::pi_v<long double>;
constexpr long double tight = 1E-17L;

using GeometryBuiltinsTest = BuiltinsTest;

TEST_F(GeometryBuiltinsTest, LengthOfAVectorOrBetweenTwoPoints)
{
    EXPECT_TRUE(IsReal(FuncLen(Args({Pair(1.0L, 1.0L), Pair(4.0L, 5.0L)})), 5.0L));
    EXPECT_TRUE(IsReal(FuncLen(Args({Real(1.0L), Real(1.0L), Real(4.0L), Real(5.0L)})), 5.0L));
    EXPECT_TRUE(IsReal(FuncLen(Args({Real(3.0L), Real(4.0L)})), 5.0L));
    EXPECT_TRUE(IsReal(FuncLen(Args({Pair(-3.0L, 4.0L)})), 5.0L));
    EXPECT_TRUE(IsUndefined(FuncLen(Args({Pair(1.0L, 1.0L), Real(4.0L), Real(5.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncLen(Args({Pair(1.0L, 1.0L), Undefined(KindPair)}))));
}

TEST_F(GeometryBuiltinsTest, ArgFollowsTheAngleAreaAndUnit)
{
    EXPECT_TRUE(IsReal(FuncArg(Args({Pair(0.0L, -1.0L)})), 3.0L * pi / 2.0L));
    EXPECT_TRUE(IsReal(FuncArg(Args({Pair(-1.0L, 0.0L)})), pi));
    EXPECT_TRUE(IsReal(FuncArg(Args({Real(1.0L), Real(-1.0L)})), 7.0L * pi / 4.0L, tight));
    Options.AngleArea = 0;
    EXPECT_TRUE(IsReal(FuncArg(Args({Pair(0.0L, -1.0L)})), -pi / 2.0L));
    EXPECT_TRUE(IsReal(FuncArg(Args({Pair(-1.0L, 0.0L)})), pi));
    UseDegrees();
    EXPECT_TRUE(IsReal(FuncArg(Args({Pair(0.0L, 1.0L)})), 90.0L));
}

// Every octant, and vectors close to the axes, in both angle areas: within
// an ulp or two of the C library's atan2 (turned into [0, 2π) for area 1).
TEST_F(GeometryBuiltinsTest, ArgInEveryOctantAndBothAngleAreas)
{
    const struct {
        long double X, Y;
    } vectors[] = {
        {3.0L, 1.0L},   {1.0L, 3.0L},   {-1.0L, 3.0L},   {-3.0L, 1.0L},      {-3.0L, -1.0L},     {-1.0L, -3.0L},
        {1.0L, -3.0L},  {3.0L, -1.0L},  {2.0L, 2.0L},    {-2.0L, -2.0L},     {1E-30L, -1.0L},    {-1.0L, 1E-30L},
        {-1.0L, -1E-30L}, {1.0L, -1E-30L}, {1E20L, 3.0L}, {-7.0L, 1E-5L},
    };
    for (const std::uint8_t area : {std::uint8_t{1}, std::uint8_t{0}}) {
        Options.AngleArea = area;
        for (const auto& v : vectors) {
            long double expected = std::atan2(v.Y, v.X);
            if (area == 1 && expected < 0.0L)
                expected += 2.0L * pi;
            EXPECT_TRUE(IsReal(FuncArg(Args({Pair(v.X, v.Y)})), expected, 2E-18L))
                << "area " << int(area) << " (" << v.X << ", " << v.Y << ")";
        }
    }
}

TEST_F(GeometryBuiltinsTest, ArgBetweenVectorsAndAtAVertex)
{
    UseDegrees();
    const TValue east = Pair(2.0L, 0.0L), north = Pair(0.0L, 3.0L);
    EXPECT_TRUE(IsReal(FuncArg(Args({east, north})), 90.0L));
    EXPECT_TRUE(IsReal(FuncArg(Args({north, east})), 270.0L));
    // At B = (1, 1) from BA to BC.
    EXPECT_TRUE(IsReal(FuncArg(Args({Pair(3.0L, 1.0L), Pair(1.0L, 1.0L), Pair(1.0L, 4.0L)})), 90.0L));
    EXPECT_TRUE(IsUndefined(FuncArg(Args({Pair(0.0L, 0.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncArg(Args({east, Pair(0.0L, 0.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncArg(Args({Real(-2.0L)}))));
    UseComplex();
    EXPECT_TRUE(IsReal(FuncArg(Args({Real(-2.0L)})), 180.0L));
}

TEST_F(GeometryBuiltinsTest, DeterminantMidAndDivisionPoint)
{
    EXPECT_TRUE(IsReal(FuncDet(Args({Pair(1.0L, 2.0L), Pair(3.0L, 4.0L)})), -2.0L));
    EXPECT_TRUE(IsReal(FuncDet(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(4.0L)})), -2.0L));
    const TValue a = Pair(0.0L, 0.0L), b = Pair(4.0L, 8.0L);
    EXPECT_TRUE(IsPair(FuncMid(Args({a, b})), 2.0L, 4.0L));
    // m : n = 1 : 3 from A.
    EXPECT_TRUE(IsPair(FuncMid(Args({a, b, Real(1.0L), Real(3.0L)})), 1.0L, 2.0L));
    EXPECT_TRUE(IsUndefined(FuncMid(Args({a, b, Real(1.0L), Real(-1.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncMid(Args({a, Real(4.0L), Real(8.0L)}))));
}

TEST_F(GeometryBuiltinsTest, Rotation)
{
    EXPECT_TRUE(IsPair(FuncRot(Args({Pair(2.0L, 1.0L)})), -1.0L, 2.0L));
    EXPECT_TRUE(IsPair(FuncRot(Args({Pair(1.0L, 0.0L), Real(pi)})), -1.0L, 0.0L, tight));
    UseDegrees();
    EXPECT_TRUE(IsPair(FuncRot(Args({Pair(1.0L, 0.0L), Real(90.0L)})), 0.0L, 1.0L, tight));
    // About C = (1, 1): (3, 1) goes to (1, 3).
    EXPECT_TRUE(IsPair(FuncRot(Args({Pair(3.0L, 1.0L), Pair(1.0L, 1.0L), Real(90.0L)})), 1.0L, 3.0L, tight));
    EXPECT_TRUE(IsUndefined(FuncRot(Args({Real(90.0L), Pair(3.0L, 1.0L)}))));
}

TEST_F(GeometryBuiltinsTest, IntersectionOfLines)
{
    const TValue a = Pair(0.0L, 0.0L), b = Pair(2.0L, 2.0L), c = Pair(0.0L, 2.0L), d = Pair(2.0L, 0.0L);
    EXPECT_TRUE(IsPair(FuncIntr(Args({a, b, c, d})), 1.0L, 1.0L));
    EXPECT_TRUE(IsPair(FuncIntr(Args({a, Pair(4.0L, 1.0L), c, Pair(1.0L, 2.0L)})), 8.0L, 2.0L, tight));
    EXPECT_TRUE(IsUndefined(FuncIntr(Args({a, b, c, Pair(2.0L, 4.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncIntr(Args({a, a, c, d}))));
}

TEST_F(GeometryBuiltinsTest, IntersectionOfCircles)
{
    const TValue o = Pair(0.0L, 0.0L), c = Pair(8.0L, 0.0L);
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(5.0L), c, Real(5.0L)})), 4.0L, 3.0L, tight));
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(-5.0L), c, Real(5.0L)})), 4.0L, -3.0L, tight));
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(6.0L), Pair(0.0L, 10.0L), Real(8.0L)})), -4.8L, 3.6L, 1E-16L));
    UseDegrees();
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(5.0L), c, Real(5.0L)})), 4.0L, 3.0L, tight));
    EXPECT_TRUE(IsUndefined(FuncIntr(Args({o, Real(3.0L), c, Real(3.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncIntr(Args({o, Real(5.0L), o, Real(5.0L)}))));
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(0.0L), Pair(3.0L, 0.0L), Real(3.0L)})), 0.0L, 0.0L));
}

TEST_F(GeometryBuiltinsTest, IntersectionOfALineAndACircleInEitherOrder)
{
    const TValue a = Pair(-10.0L, 3.0L), b = Pair(10.0L, 3.0L), o = Pair(0.0L, 0.0L);
    EXPECT_TRUE(IsPair(FuncIntr(Args({a, b, o, Real(5.0L)})), 4.0L, 3.0L, tight));
    EXPECT_TRUE(IsPair(FuncIntr(Args({a, b, o, Real(-5.0L)})), -4.0L, 3.0L, tight));
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(5.0L), a, b})), 4.0L, 3.0L, tight));
    EXPECT_TRUE(IsPair(FuncIntr(Args({o, Real(5.0L), b, a})), -4.0L, 3.0L, tight));
    EXPECT_TRUE(IsUndefined(FuncIntr(Args({a, b, o, Real(2.0L)}))));
}

TEST_F(GeometryBuiltinsTest, PerpendicularFoot)
{
    const TValue p = Pair(1.0L, 3.0L);
    EXPECT_TRUE(IsPair(FuncPerp(Args({p, Pair(0.0L, 0.0L), Pair(4.0L, 0.0L)})), 1.0L, 0.0L));
    EXPECT_TRUE(IsPair(FuncPerp(Args({p, Pair(1.0L, 1.0L)})), 2.0L, 2.0L));
    EXPECT_TRUE(IsReal(FuncPerpL(Args({p, Pair(0.0L, 0.0L), Pair(4.0L, 0.0L)})), 3.0L));
    EXPECT_TRUE(IsReal(FuncPerpL(Args({p, Pair(1.0L, 1.0L)})), std::sqrt(2.0L), tight));
    EXPECT_TRUE(IsUndefined(FuncPerp(Args({p, Pair(2.0L, 2.0L), Pair(2.0L, 2.0L)}))));
}

TEST_F(GeometryBuiltinsTest, TriangleCentres)
{
    const auto triangle = Args({Pair(0.0L, 0.0L), Pair(4.0L, 0.0L), Pair(0.0L, 3.0L)});
    EXPECT_TRUE(IsPair(FuncCcentr(triangle), 2.0L, 1.5L));
    EXPECT_TRUE(IsReal(FuncCrad(triangle), 2.5L));
    EXPECT_TRUE(IsPair(FuncIcentr(triangle), 1.0L, 1.0L));
    EXPECT_TRUE(IsReal(FuncIrad(triangle), 1.0L));
    // Opposite A = (0, 0): a = 5, b = 3, c = 4.
    EXPECT_TRUE(IsPair(FuncEcentr(triangle), 6.0L, 6.0L));
    EXPECT_TRUE(IsPair(FuncHcentr(Args({Pair(0.0L, 0.0L), Pair(4.0L, 0.0L), Pair(1.0L, 3.0L)})), 1.0L, 1.0L));
    EXPECT_TRUE(IsPair(FuncGcentr(triangle), 4.0L / 3.0L, 1.0L, tight));
    EXPECT_TRUE(IsPair(FuncGcentr(Args({Pair(2.0L, -1.0L)})), 2.0L, -1.0L));

    const auto collinear = Args({Pair(0.0L, 0.0L), Pair(1.0L, 1.0L), Pair(2.0L, 2.0L)});
    EXPECT_TRUE(IsUndefined(FuncCcentr(collinear)));
    EXPECT_TRUE(IsUndefined(FuncHcentr(collinear)));
    EXPECT_TRUE(IsUndefined(FuncIcentr(Args({Pair(1.0L, 1.0L), Pair(1.0L, 1.0L), Pair(1.0L, 1.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncGcentr(Args({Pair(1.0L, 1.0L), Real(2.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncCcentr(Args({Pair(0.0L, 0.0L), Pair(4.0L, 0.0L)}))));
}

TEST_F(GeometryBuiltinsTest, TangentPointLiesOnTheCircle)
{
    EXPECT_TRUE(IsPair(FuncPtan(Args({Pair(5.0L, 0.0L), Pair(0.0L, 0.0L), Real(3.0L)})), 1.8L, -2.4L, tight));
    EXPECT_TRUE(IsPair(FuncPtan(Args({Pair(5.0L, 0.0L), Real(-3.0L)})), 1.8L, 2.4L, tight));
    EXPECT_TRUE(IsUndefined(FuncPtan(Args({Pair(1.0L, 1.0L), Pair(1.0L, 1.0L), Real(0.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncPtan(Args({Pair(1.0L, 0.0L), Real(3.0L)}))));

    // Off the origin: T on the circle and CT perpendicular to PT.
    const long double px = -2.0L, py = 7.0L, cx = 3.0L, cy = 1.0L, r = 2.5L;
    for (long double radius : {r, -r}) {
        const TValue t = FuncPtan(Args({Pair(px, py), Pair(cx, cy), Real(radius)}));
        ASSERT_TRUE(t.Defined);
        EXPECT_EXTENDED_NEAR(std::hypot(t.X - cx, t.Y - cy), r, 1E-18L);
        EXPECT_EXTENDED_NEAR((t.X - cx) * (t.X - px) + (t.Y - cy) * (t.Y - py), 0.0L, 1E-17L);
    }
}

TEST_F(GeometryBuiltinsTest, ColourNumbers)
{
    EXPECT_TRUE(IsReal(FuncRgb(Args({Real(1.0L), Real(0.0L), Real(0.0L)})), 255.0L));
    EXPECT_TRUE(IsReal(FuncRgb(Args({Real(0.0L), Real(0.0L), Real(2.0L)})), 16711680.0L));
    EXPECT_TRUE(IsReal(FuncRgb(Args({Real(0.0L), Real(1.0L), Real(-1.0L)})), 65280.0L));
    EXPECT_TRUE(IsUndefined(FuncRgb(Args({Real(0.0L), Real(1.0L)}))));
    EXPECT_TRUE(IsReal(FuncHsl(Args({Real(0.5L), Real(1.0L), Real(0.5L)})), 16776960.0L));
    EXPECT_TRUE(IsReal(FuncHsl(Args({Real(0.0L), Real(1.0L), Real(0.5L)})), 255.0L));
    EXPECT_TRUE(IsReal(FuncHsl(Args({Real(0.0L), Real(0.0L), Real(1.0L)})), 16777215.0L));
    const TValue quarter = FuncHsl(Args({Real(0.25L), Real(1.0L), Real(0.5L)}));
    ASSERT_TRUE(quarter.Defined);
    EXPECT_TRUE(IsReal(FuncHsl(Args({Real(1.25L), Real(1.0L), Real(0.5L)})), quarter.X));
    EXPECT_TRUE(IsReal(FuncHsl(Args({Real(-0.75L), Real(1.0L), Real(0.5L)})), quarter.X));
}

TEST_F(GeometryBuiltinsTest, ProjectionTakesAlphaFourthAndBetaFifth)
{
    UseDegrees();
    // α = 90°: the plane point is (−z, x) and the depth y.
    EXPECT_TRUE(IsPair(FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(90.0L), Real(0.0L)})),
                       -3.0L, 1.0L, tight));
    // β = 90°: the plane point is (y, −z) and the depth x.
    EXPECT_TRUE(IsPair(FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L), Real(90.0L)})),
                       2.0L, -3.0L, tight));
    EXPECT_TRUE(IsPair(FuncProj(Args({Pair(1.0L, 2.0L), Real(3.0L), Real(90.0L), Real(0.0L)})),
                       -3.0L, 1.0L, tight));
    EXPECT_TRUE(IsReal(FuncProjz(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(90.0L), Real(0.0L)})),
                       2.0L, tight));
    EXPECT_TRUE(IsReal(FuncProjz(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L), Real(90.0L)})),
                       1.0L, tight));
}

TEST_F(GeometryBuiltinsTest, PerspectiveProjection)
{
    // α = β = 0: plane point (y, x), depth z.
    EXPECT_TRUE(IsPair(FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L), Real(0.0L), Real(10.0L)})),
                       20.0L / 7.0L, 10.0L / 7.0L, tight));
    EXPECT_TRUE(IsPair(FuncProj(Args({Pair(1.0L, 2.0L), Real(3.0L), Real(0.0L), Real(0.0L), Real(0.0L)})),
                       2.0L, 1.0L));
    EXPECT_TRUE(IsUndefined(FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L), Real(0.0L), Real(3.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L), Real(0.0L), Real(-1.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L)}))));
}

TEST_F(GeometryBuiltinsTest, BezierPoint)
{
    const TValue p0 = Pair(0.0L, 0.0L), p1 = Pair(1.0L, 2.0L), p2 = Pair(2.0L, 0.0L);
    EXPECT_TRUE(IsPair(FuncBezier(Args({Real(0.5L), p0, p1, p2})), 1.0L, 1.0L));
    EXPECT_TRUE(IsPair(FuncBezier(Args({Real(0.25L), p0, p1, p2})), 0.5L, 0.75L));
    EXPECT_TRUE(IsPair(FuncBezier(Args({Real(0.0L), p0, p1, p2})), 0.0L, 0.0L));
    EXPECT_TRUE(IsPair(FuncBezier(Args({Real(1.0L), p0, p1, Pair(0.1L, 0.3L)})), 0.1L, 0.3L));
    EXPECT_TRUE(IsUndefined(FuncBezier(Args({Real(0.5L), p0, Real(1.0L)}))));
    EXPECT_TRUE(IsUndefined(FuncBezier(Args({p0, p1}))));
}

TEST_F(GeometryBuiltinsTest, PolygonRunsOneSidePerUnit)
{
    // The evaluator hands over the parameter and the rest of the list, reversed.
    const auto square = Args({Pair(0.0L, 0.0L), Pair(1.0L, 0.0L), Pair(1.0L, 1.0L), Pair(0.0L, 1.0L)});
    struct Case {
        long double t, x, y;
    };
    const Case cases[] = {
        {0.5L, 0.5L, 0.0L}, {4.0L, 0.0L, 0.0L}, {-0.5L, 0.0L, 0.5L}, {1.5L, 1.0L, 0.5L}, {2.25L, 0.75L, 1.0L},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(IsPair(FuncPolygon(Real(c.t), square), c.x, c.y)) << "t = " << c.t;
    EXPECT_TRUE(IsUndefined(FuncPolygon(Real(3E9L), square)));
    EXPECT_TRUE(IsUndefined(FuncPolygon(Pair(0.5L, 0.0L), square)));
    EXPECT_TRUE(IsUndefined(FuncPolygon(Real(0.5L), Args({Pair(0.0L, 0.0L), Real(1.0L)}))));
}

TEST_F(GeometryBuiltinsTest, FailuresAreUndefinedRealsEvenWhereASuccessIsAPoint)
{
    const TValue o = Pair(0.0L, 0.0L), a = Pair(1.0L, 0.0L), b = Pair(2.0L, 0.0L), c = Pair(0.0L, 1.0L);
    const TValue noPoint = Undefined(KindPair);
    ExpectFailureKinds({
        {"mid(A, B, 1, -1)", FuncMid(Args({a, c, Real(1.0L), Real(-1.0L)})), KindReal},
        {"mid(A, undefined pair)", FuncMid(Args({a, noPoint})), KindReal},
        {"rot(1)", FuncRot(Args({Real(1.0L)})), KindReal},
        {"rot(undefined pair)", FuncRot(Args({noPoint})), KindReal},
        {"intr of parallel lines", FuncIntr(Args({o, a, c, Pair(1.0L, 1.0L)})), KindReal},
        {"intr of far circles", FuncIntr(Args({o, Real(1.0L), Pair(5.0L, 0.0L), Real(1.0L)})), KindReal},
        {"intr with an undefined point", FuncIntr(Args({o, a, c, noPoint})), KindReal},
        {"perp(P, O)", FuncPerp(Args({a, o})), KindReal},
        {"Ccentr of collinear points", FuncCcentr(Args({o, a, b})), KindReal},
        {"Icentr of one point thrice", FuncIcentr(Args({a, a, a})), KindReal},
        {"Ecentr of one point thrice", FuncEcentr(Args({a, a, a})), KindReal},
        {"Hcentr of collinear points", FuncHcentr(Args({o, a, b})), KindReal},
        {"Gcentr(1)", FuncGcentr(Args({Real(1.0L)})), KindReal},
        {"Gcentr()", FuncGcentr({}), KindReal},
        {"Ptan from the centre", FuncPtan(Args({o, Real(1.0L)})), KindReal},
        {"Ptan from inside", FuncPtan(Args({a, o, Real(3.0L)})), KindReal},
        {"proj behind the eye", FuncProj(Args({Real(1.0L), Real(2.0L), Real(3.0L), Real(0.0L), Real(0.0L), Real(3.0L)})),
         KindReal},
        {"bezier(0.5, A, 1)", FuncBezier(Args({Real(0.5L), a, Real(1.0L)})), KindReal},
        {"bezier(undefined, A, B)", FuncBezier(Args({Undefined(), a, b})), KindReal},
        {"polygon(P, square)", FuncPolygon(Pair(0.5L, 0.0L), Args({o, a, c})), KindReal},
        {"polygon(0.5, undefined pair)", FuncPolygon(Real(0.5L), Args({o, noPoint})), KindReal},
        {"len(A, undefined pair)", FuncLen(Args({a, noPoint})), KindReal},
        // A point computed outside the usable range keeps its kind.
        {"rot far out", FuncRot(Args({Pair(9E2414L, 9E2414L), Real(pi / 4.0L)})), KindPair},
    });
}

// The roots of a polynomial as solut4 numbers them (k = 1..4).
void ExpectRealRoots(std::initializer_list<long double> coefficients,
                     std::initializer_list<long double> roots, long double tolerance = 0.0L)
{
    std::vector<TValue> written;
    for (long double c : coefficients)
        written.push_back(Real(c));
    int k = 1;
    for (long double root : roots) {
        std::vector<TValue> args = written;
        args.push_back(Real(k));
        std::reverse(args.begin(), args.end());
        EXPECT_TRUE(IsReal(FuncSolut4(args), root, tolerance)) << "root " << k;
        ++k;
    }
    for (; k <= 4; ++k) {
        std::vector<TValue> args = written;
        args.push_back(Real(k));
        std::reverse(args.begin(), args.end());
        EXPECT_TRUE(IsUndefined(FuncSolut4(args))) << "root " << k;
    }
}

TEST_F(GeometryBuiltinsTest, QuarticRootsInAscendingOrder)
{
    ExpectRealRoots({1.0L, 0.0L, -5.0L, 0.0L, 4.0L}, {-2.0L, -1.0L, 1.0L, 2.0L});
    ExpectRealRoots({1.0L, -10.0L, 35.0L, -50.0L, 24.0L}, {1.0L, 2.0L, 3.0L, 4.0L}, 1E-12L);
    ExpectRealRoots({2.0L, -4.0L, -8.0L, 4.0L, 6.0L}, {-1.0L, -1.0L, 1.0L, 3.0L}, 1E-8L);
    // (x² + 1)(x − 1)(x − 2): two real roots, the complex ones are undefined.
    ExpectRealRoots({1.0L, -3.0L, 3.0L, -3.0L, 2.0L}, {1.0L, 2.0L}, 1E-12L);
    ExpectRealRoots({1.0L, 0.0L, 0.0L, 0.0L, 1.0L}, {});
    EXPECT_TRUE(IsReal(FuncSolut4(Args({Real(1.0L), Real(0.0L), Real(-5.0L), Real(0.0L), Real(4.0L)})), -2.0L));
    EXPECT_TRUE(IsReal(FuncSolut4(Args({Real(1.0L), Real(0.0L), Real(-5.0L), Real(0.0L), Real(4.0L), Real(9.0L)})), -2.0L));
    EXPECT_TRUE(IsUndefined(FuncSolut4(Args({Real(1.0L), Real(0.0L), Real(-5.0L), Real(0.0L)}))));
}

TEST_F(GeometryBuiltinsTest, LowerDegreesWhenTheLeadingCoefficientsAreZero)
{
    ExpectRealRoots({0.0L, 1.0L, -6.0L, 11.0L, -6.0L}, {1.0L, 2.0L, 3.0L}, 1E-15L);
    ExpectRealRoots({0.0L, 0.0L, 1.0L, -3.0L, 2.0L}, {1.0L, 2.0L});
    ExpectRealRoots({0.0L, 0.0L, 0.0L, 2.0L, -4.0L}, {2.0L});
    ExpectRealRoots({0.0L, 0.0L, 0.0L, 0.0L, 3.0L}, {});
    ExpectRealRoots({0.0L, 0.0L, 0.0L, 0.0L, 0.0L}, {});
    EXPECT_TRUE(IsUndefined(SolveQuartic(0, 0.0L, 0.0L, 0.0L, 0.0L, 0.0L)));
}

TEST_F(GeometryBuiltinsTest, ComplexRootsInComplexMode)
{
    UseComplex();
    const long double h = std::sqrt(0.5L);
    EXPECT_TRUE(IsPair(SolveQuartic(1, 1.0L, 0.0L, 0.0L, 0.0L, 1.0L), -h, -h, tight));
    EXPECT_TRUE(IsPair(SolveQuartic(2, 1.0L, 0.0L, 0.0L, 0.0L, 1.0L), -h, h, tight));
    EXPECT_TRUE(IsPair(SolveQuartic(3, 1.0L, 0.0L, 0.0L, 0.0L, 1.0L), h, -h, tight));
    EXPECT_TRUE(IsPair(SolveQuartic(4, 1.0L, 0.0L, 0.0L, 0.0L, 1.0L), h, h, tight));
    EXPECT_TRUE(IsUndefined(SolveQuartic(0, 1.0L, 0.0L, 0.0L, 0.0L, 1.0L)));
    // x³ − 1: the real root 1 last, by real part.
    const long double s = std::sqrt(3.0L) / 2.0L;
    EXPECT_TRUE(IsPair(SolveQuartic(1, 0.0L, 1.0L, 0.0L, 0.0L, -1.0L), -0.5L, -s, 1E-15L));
    EXPECT_TRUE(IsPair(SolveQuartic(2, 0.0L, 1.0L, 0.0L, 0.0L, -1.0L), -0.5L, s, 1E-15L));
    EXPECT_TRUE(IsReal(SolveQuartic(3, 0.0L, 1.0L, 0.0L, 0.0L, -1.0L), 1.0L, 1E-15L));
    EXPECT_TRUE(IsUndefined(SolveQuartic(4, 0.0L, 1.0L, 0.0L, 0.0L, -1.0L)));
    EXPECT_TRUE(IsReal(SolveQuartic(7, 0.0L, 1.0L, 0.0L, 0.0L, -1.0L), 1.0L, 1E-15L));
}

TEST_F(GeometryBuiltinsTest, BezierCurveSamplesEndOnTheLastControlPoint)
{
    const TCurvePoint controls[] = {{0.0L, 0.0L}, {1.0L, 2.0L}, {2.0L, 0.0L}};
    const std::vector<TCurvePoint> curve = CalcBezierPoint(controls, 4);
    ASSERT_EQ(curve.size(), 5u);
    EXPECT_EQ(curve[0], TCurvePoint(0.0L, 0.0L));
    EXPECT_EQ(curve[1], TCurvePoint(0.5L, 0.75L));
    EXPECT_EQ(curve[2], TCurvePoint(1.0L, 1.0L));
    EXPECT_EQ(curve[4], TCurvePoint(2.0L, 0.0L));
    EXPECT_TRUE(CalcBezierPoint({}, 4).empty());

    // Extended precision throughout: 1 + 2^-60 has no double, and the curve
    // of three equal control points is that point wherever the weights are exact.
    const long double fine = 1.0L + std::ldexp(1.0L, -60);
    const TCurvePoint flat[] = {{fine, -fine}, {fine, -fine}, {fine, -fine}};
    for (const TCurvePoint& p : CalcBezierPoint(flat, 4))
        EXPECT_EQ(p, TCurvePoint(fine, -fine));
}

} // namespace
