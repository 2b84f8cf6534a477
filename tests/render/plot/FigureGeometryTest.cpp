// Pixel points of figures and what lies under the mouse.
#include "FigureTestKit.h"
#include "render/plot/ArrowsAndBraces.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Points = std::vector<QPoint>;

TEST_F(FigureTest, EdgesEndOnLinesAtTheirFootAndLinesReachTheBorder)
{
    struct Case {
        const char* What;
        std::uint8_t Kind;
        std::vector<int> Vertices;
        Points Expected;
    };
    SetPoint(P, 1, 2);     // pixel (240, 120)
    SetPoint(Q, -1, -1);   // pixel (160, 240)
    SetPoint(R, 0, 0);     // pixel (200, 200)
    SetPoint(S, 1, 1);     // pixel (240, 160)
    SetPoint(T, 1, 0.5L);  // pixel (240, 180)
    SetHorizontalLine(U, 1);
    SetHorizontalLine(V, -1);
    SetVerticalLine(A, -1);
    SetVerticalLine(B, 1);
    SetPoint(C, 1, 0);     // pixel (240, 200)
    SetPoint(D, 0, 1);     // pixel (200, 160)
    const Case cases[] = {
        {"segment to the x axis", FigureSegment, {P, AxisXObject}, {{240, 120}, {240, 200}}},
        {"segment from the x axis", FigureSegment, {AxisXObject, P}, {{240, 200}, {240, 120}}},
        {"segment to the y axis", FigureSegment, {P, AxisYObject}, {{240, 120}, {200, 120}}},
        {"segment to a horizontal line", FigureSegment, {P, V}, {{240, 120}, {240, 240}}},
        {"segment to a vertical line", FigureArrow, {P, A}, {{240, 120}, {160, 120}}},
        {"rectangle between two horizontal lines", FigureRectangle, {U, V}, {{-1, 160}, {401, 240}}},
        {"rectangle between two vertical lines", FigureRectangle, {A, B}, {{160, 401}, {240, -1}}},
        {"rectangle from a point to the x axis", FigureRectangle, {P, AxisXObject}, {{-1, 120}, {401, 200}}},
        {"rectangle between two points", FigureRectangle, {P, Q}, {{240, 120}, {160, 240}}},
        {"line from border to border", FigureLine, {R, S}, {{0, 400}, {400, 0}}},
        {"half-line from its start to the border", FigureHalfLine, {R, T}, {{200, 200}, {400, 100}}},
        {"polygon closes on its first vertex", FigurePolygon, {P, Q, R}, {{240, 120}, {160, 240}, {200, 200}, {240, 120}}},
        {"polyline stays open", FigurePolyline, {P, Q, R}, {{240, 120}, {160, 240}, {200, 200}}},
        // The arms only give directions: 1000 pixels out from the vertex.
        {"angle mark", FigureAngle, {T, R, S}, {{1094, -247}, {200, 200}, {907, -507}}},
        // Pen width 2 and font 12: the arrow head of 16 pixels, halved.
        {"right-angle mark", FigureRightAngle, {C, R, D}, {{208, 200}, {208, 192}, {200, 192}}},
    };
    for (const Case& c : cases) {
        list.Clear();
        Tsegment& f = Item(Put(c.Kind, {}));
        for (std::size_t i = 0; i < c.Vertices.size(); ++i)
            f.Vertices[static_cast<int>(i) + 1] = static_cast<std::uint8_t>(c.Vertices[i]);
        const auto points = BuildPolygon(View(), 1);
        ASSERT_TRUE(points) << c.What;
        EXPECT_EQ(*points, c.Expected) << c.What;
    }
}

// Eleven vertices and the closing one: twelve points.
TEST_F(FigureTest, APolygonOfElevenVerticesHasTwelvePoints)
{
    for (int k = 1; k <= FigureVertexCount; ++k)
        SetPoint(k, k - 6, (k % 2) * 2);
    const int s = Put(FigurePolygon, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const auto points = BuildPolygon(View(), s);
    ASSERT_TRUE(points);
    ASSERT_EQ(points->size(), 12u);
    EXPECT_EQ(points->front(), QPoint(0, 120));
    EXPECT_EQ(points->back(), points->front());
    EXPECT_EQ((*points)[10], QPoint(400, 120));
}

TEST_F(FigureTest, FiguresThatCannotBeDrawnAreNeitherDrawnNorHit)
{
    struct Case {
        const char* What;
        std::uint8_t Kind;
        std::vector<int> Vertices;
        bool ShowSync = false;
    };
    SetPoint(P, -2.5L, 2.5L); // pixel (100, 100)
    SetPoint(Q, 0, 2.5L);     // pixel (200, 100)
    SetPoint(R, 0, 0);
    SetHorizontalLine(U, 1);
    SetHorizontalLine(V, -1);
    SetVerticalLine(A, 1);
    // S is not evaluated (state kind 0); D is hidden.
    settings.ObjectShown[D] = 0;
    SetPoint(D, 0, 0);
    settings.YAxisShown = false;
    const Case cases[] = {
        {"vertex 23 names no object", FigureSegment, {P, 23}},
        {"vertex 249 names no object", FigureSegment, {249, Q}},
        {"vertex 252 names no object", FigureSegment, {P, 252}},
        {"a polyline's vertex 255 from a file", FigurePolyline, {P, Q, 255}},
        {"an empty vertex of a segment", FigureSegment, {P, 0}},
        {"an angle mark of two vertices", FigureAngle, {P, Q}},
        {"an object without a value", FigureSegment, {P, S}},
        {"a horizontal and a vertical line", FigureSegment, {U, A}},
        {"two horizontal lines", FigureSegment, {U, V}},
        {"a line in a polygon", FigurePolygon, {P, Q, U}},
        {"an axis in a polyline", FigurePolyline, {P, Q, AxisXObject}},
        {"an axis in an angle mark", FigureAngle, {P, Q, AxisYObject}},
        {"kind 4", 4, {P, Q}},
        {"kind 14", 14, {P, Q}},
        {"a hidden object with ShowSync", FigureSegment, {P, D}, true},
        {"a hidden axis with ShowSync", FigureSegment, {P, AxisYObject}, true},
    };
    for (const Case& c : cases) {
        list.Clear();
        settings.ShowSync = c.ShowSync ? 1 : 0;
        Tsegment& f = Item(Put(c.Kind, {}));
        for (std::size_t i = 0; i < c.Vertices.size(); ++i)
            f.Vertices[static_cast<int>(i) + 1] = static_cast<std::uint8_t>(c.Vertices[i]);
        EXPECT_FALSE(BuildPolygon(View(), 1)) << c.What;
        EXPECT_EQ(HitTest(View(), 150, 100), 0) << c.What;
        EXPECT_EQ(HitTest(View(), 100, 100), 0) << c.What;
        TRecorder rec;
        DrawSegment(View(), rec.Canvas, 1, true);
        EXPECT_TRUE(rec.Picture.IsEmpty()) << c.What;
    }
    // Without ShowSync hidden objects and axes still carry their figures.
    settings.ShowSync = 0;
    list.Clear();
    Put(FigureSegment, {P, D});
    Put(FigureSegment, {P, AxisYObject});
    EXPECT_TRUE(BuildPolygon(View(), 1));
    EXPECT_TRUE(BuildPolygon(View(), 2));
}

TEST_F(FigureTest, EdgesAreHitWithinFourPixels)
{
    struct Case {
        std::uint8_t Kind;
        QPoint Mouse;
        bool Hit;
    };
    SetPoint(P, -2.5L, 2.5L); // pixel (100, 100)
    SetPoint(Q, 0, 2.5L);     // pixel (200, 100)
    const Case cases[] = {
        {FigureSegment, {150, 104}, true},
        {FigureSegment, {150, 105}, false},
        {FigureSegment, {150, 96}, true},
        {FigureSegment, {96, 100}, true}, // the box around the edge is 4 pixels wider
        {FigureSegment, {95, 100}, false},
        {FigureSegment, {204, 101}, true},
        {FigureSegment, {205, 101}, false},
        {FigureArrow, {150, 103}, true},
        {FigureLine, {5, 102}, true}, // a line reaches the border
        {FigureLine, {395, 105}, false},
        {FigureHalfLine, {96, 100}, true}, // at most 4 pixels behind its start
        {FigureHalfLine, {95, 100}, false},
        {FigureHalfLine, {390, 104}, true},
        {FigureRectangle, {150, 100}, false}, // a flat rectangle has no inside
    };
    for (const Case& c : cases) {
        list.Clear();
        Put(c.Kind, {P, Q});
        EXPECT_EQ(HitSegment(View(), 1, c.Mouse.x(), c.Mouse.y()), c.Hit)
            << int(c.Kind) << " at " << c.Mouse.x() << "," << c.Mouse.y();
    }
}

TEST_F(FigureTest, RectanglesAreHitInsideAndPolygonsOnTheirEdges)
{
    SetPoint(P, -2.5L, 2.5L); // (100, 100)
    SetPoint(Q, 0, 0);        // (200, 200)
    SetPoint(R, -2.5L, 0);    // (100, 200)
    const int rectangle = Put(FigureRectangle, {P, Q});
    EXPECT_TRUE(HitSegment(View(), rectangle, 150, 150));
    EXPECT_TRUE(HitSegment(View(), rectangle, 101, 199));
    EXPECT_FALSE(HitSegment(View(), rectangle, 100, 150)); // strictly inside
    EXPECT_FALSE(HitSegment(View(), rectangle, 201, 150));
    list.Clear();
    const int triangle = Put(FigurePolygon, {P, Q, R});
    EXPECT_TRUE(HitSegment(View(), triangle, 103, 150));  // the closing edge R–P
    EXPECT_TRUE(HitSegment(View(), triangle, 150, 152));  // the diagonal P–Q
    EXPECT_FALSE(HitSegment(View(), triangle, 130, 170)); // inside is not on an edge
}

// The mark's radius is the arrow head of its pen (16 pixels at width 2);
// an arc's is the distance to its first vertex.
TEST_F(FigureTest, AngleMarksAndArcsAreHitOnTheDrawnSector)
{
    struct Case {
        std::uint8_t Kind;
        int First, Last; // the arms' vertices about R
        std::uint8_t AngleArea;
        QPoint Mouse;
        bool Hit;
    };
    SetPoint(P, 1, 0); // right of R
    SetPoint(Q, 0, 1); // above R
    SetPoint(R, 0, 0); // (200, 200)
    const Case cases[] = {
        {FigureAngle, P, Q, 1, {211, 189}, true}, // counter-clockwise from P to Q: the upper right
        {FigureAngle, P, Q, 1, {211, 211}, false},
        {FigureAngle, P, Q, 1, {219, 200}, true}, // 19 pixels out: within 16 + 4
        {FigureAngle, P, Q, 1, {221, 200}, false},
        {FigureAngle, P, Q, 1, {212, 200}, true},
        {FigureAngle, P, Q, 1, {211, 200}, false},
        {FigureAngle, P, Q, 1, {207, 199}, false}, // 7 pixels out: nearer the centre than 16 − 4
        {FigureAngle, Q, P, 1, {211, 211}, true}, // from Q round to P: three quarters
        {FigureAngle, Q, P, 1, {211, 189}, false},
        {FigureAngle, Q, P, 2, {211, 189}, true}, // the smaller angle whatever the order
        {FigureAngle, Q, P, 2, {211, 211}, false},
        {FigureArc, P, Q, 1, {257, 143}, true}, // radius 40 · 2
        {FigureArc, P, Q, 1, {257, 257}, false},
    };
    for (const Case& c : cases) {
        list.Clear();
        settings.AngleArea = c.AngleArea;
        Put(c.Kind, {c.First, R, c.Last});
        if (c.Kind == FigureAngle)
            SetPoint(P, 1, 0);
        else
            SetPoint(P, 2, 0);
        EXPECT_EQ(HitSegment(View(), 1, c.Mouse.x(), c.Mouse.y()), c.Hit)
            << int(c.Kind) << " area " << int(c.AngleArea) << " at " << c.Mouse.x() << "," << c.Mouse.y();
    }
}

TEST_F(FigureTest, CurvesAreHitAlongTheirSamples)
{
    SetPoint(P, -2.5L, 0); // (100, 200)
    SetPoint(Q, -2.5L, 2.5L); // (100, 100)
    SetPoint(R, 0, 2.5L);  // (200, 100)
    SetPoint(S, 0, 0);     // (200, 200)
    const int bezier = Put(FigureBezier, {P, Q, R, S});
    EXPECT_TRUE(HitSegment(View(), bezier, 150, 125));  // the curve's top at t = 1/2
    EXPECT_FALSE(HitSegment(View(), bezier, 150, 100)); // the control polygon is not the curve
    list.Clear();
    const int brace = Put(FigureBrace, {P, S});
    const auto controls = BracePoints(100, 200, 200, 200, settings.Pen);
    ASSERT_TRUE(controls);
    EXPECT_TRUE(HitSegment(View(), brace, 100, 199));
    EXPECT_FALSE(HitSegment(View(), brace, 150, 200)); // the chord is not the brace
}

// Pieces far from the mouse are not sampled; the answer must be the one
// the samples give: within 4 pixels of an edge between two samples and
// inside the edge's box widened by 4.
TEST_F(FigureTest, BezierHitsAreThoseOfTheirSamplesEverywhere)
{
    SetPoint(P, -4, 0);
    SetPoint(Q, -3, 4);
    SetPoint(R, 0, -4);
    SetPoint(S, 1, 3);
    SetPoint(T, 3, 4);
    SetPoint(U, 4, -1);
    SetPoint(V, 2, -3);
    const int s = Put(FigureBezier, {P, Q, R, S, T, U, V});
    const auto points = BuildPolygon(View(), s);
    ASSERT_TRUE(points);
    const Points curve = BezierPoints(*points);
    const auto nearSamples = [&curve](QPoint m) {
        for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
            const QPoint a = curve[i], b = curve[i + 1];
            const long long c = 1LL * (a.x() - b.x()) * (a.y() - m.y()) - 1LL * (a.x() - m.x()) * (a.y() - b.y());
            const long long n = std::abs(a.x() - b.x()) + std::abs(a.y() - b.y());
            const bool nearLine = n == 0 ? std::abs(a.x() - m.x()) + std::abs(a.y() - m.y()) <= 4 : std::llabs(c) <= 4 * n;
            if (nearLine && m.x() >= std::min(a.x(), b.x()) - 4 && m.x() <= std::max(a.x(), b.x()) + 4 &&
                m.y() >= std::min(a.y(), b.y()) - 4 && m.y() <= std::max(a.y(), b.y()) + 4)
                return true;
        }
        return false;
    };
    int hits = 0;
    for (int y = 0; y <= 400; y += 3) {
        for (int x = 0; x <= 400; x += 3) {
            const bool expected = nearSamples({x, y});
            hits += expected;
            ASSERT_EQ(HitSegment(View(), s, x, y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(hits, 100);
}

TEST_F(FigureTest, HitTestFindsTheTopmostShownFigure)
{
    SetPoint(P, -2.5L, 2.5L);
    SetPoint(Q, 0, 2.5L);
    Put(FigureSegment, {P, Q});
    Put(FigureSegment, {Q, P});
    Put(FigureLine, {P, Q});
    EXPECT_EQ(HitTest(View(), 150, 101), 3);
    Item(3).Shown = 0;
    EXPECT_EQ(HitTest(View(), 150, 101), 2);
    EXPECT_EQ(HitTest(View(), 300, 101), 0);
}

TEST(FigureBezierTest, PiecesOfFourPointsShareTheirEnds)
{
    const Points seven = {{0, 0}, {30, 90}, {60, 90}, {90, 0}, {120, -90}, {150, -90}, {180, 0}};
    EXPECT_EQ(BezierPieceCount(7), 2);
    const Points curve = BezierPoints(seven);
    ASSERT_EQ(curve.size(), 2u * BezierSamplesPerPiece + 1); // 120 samples and the last point
    EXPECT_EQ(curve[0], seven[0]);
    EXPECT_EQ(curve[30], QPoint(45, 68)); // the first piece's middle: (p0 + 3 p1 + 3 p2 + p3) / 8
    EXPECT_EQ(curve[60], seven[3]);       // the second piece starts where the first ended
    EXPECT_EQ(curve[90], QPoint(135, -68));
    EXPECT_EQ(curve[120], seven[6]);

    struct Case {
        int Count;
        int Pieces;
    };
    for (const Case c : {Case{1, 0}, Case{2, 1}, Case{4, 1}, Case{5, 2}, Case{10, 3}, Case{11, 4}}) {
        EXPECT_EQ(BezierPieceCount(c.Count), c.Pieces) << c.Count;
        const Points some(static_cast<std::size_t>(c.Count), QPoint(3, 4));
        EXPECT_EQ(BezierPoints(some).size(), c.Pieces ? std::size_t(c.Pieces) * BezierSamplesPerPiece + 1 : 0u);
    }
}

// The marks take their size from the arrow head of the figure's pen.
TEST_F(FigureTest, MarkSizeIsTheArrowHeadOfTheFiguresPen)
{
    struct Case {
        int Width;
        int Magnification;
        int Expected;
    };
    for (const Case c : {Case{2, 1, 16}, Case{5, 1, 22}, Case{2, 16, 256}}) {
        TPenSettings pen = PenSettings(1, c.Magnification);
        Tsegment f;
        f.Width = static_cast<std::uint8_t>(c.Width);
        EXPECT_EQ(FigureArrowSize(f, pen), c.Expected);
        EXPECT_EQ(ArrowSize(pen.Context.Magnify(c.Width), pen), c.Expected);
    }
}

} // namespace
