// Relations over the view −5..5 × −5..5 on 400 × 400 pixels: splitting,
// the choice of method, the conic's roots, contour cells, what each method
// draws and the bits it leaves, and a scan broken off by Esc.
#include "PlotTestKit.h"
#include "RelationsTestKit.h"
#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "platform/Clock.h"
#include "platform/fakes/FakeInputState.h"
#include "render/plot/LineJoiner.h"
#include "render/plot/RelationPlot.h"
#include "render/plot/Relations.h"
#include "render/view/fakes/CountingViewServices.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using Polyline = std::vector<QPoint>;

// The points of every polyline of a display list, with its pen.
struct DrawnLine {
    std::string Pen;
    Polyline Points;
};

std::vector<DrawnLine> Polylines(const std::vector<std::string>& lines)
{
    static const QRegularExpression shape(QStringLiteral("^polyline pen\\(([^)]*)\\) (.*)$"));
    static const QRegularExpression point(QStringLiteral("(-?\\d+),(-?\\d+)"));
    std::vector<DrawnLine> out;
    for (const std::string& line : lines) {
        const QRegularExpressionMatch m = shape.match(QString::fromStdString(line));
        if (!m.hasMatch())
            continue;
        DrawnLine d{m.captured(1).toStdString(), {}};
        for (auto it = point.globalMatch(m.captured(2)); it.hasNext();) {
            const QRegularExpressionMatch p = it.next();
            d.Points.emplace_back(p.captured(1).toInt(), p.captured(2).toInt());
        }
        out.push_back(std::move(d));
    }
    return out;
}

class RelationsTest : public RelationsViewTest {
protected:
    TRecorder main;
    TRecorder trace;

    std::vector<DrawnLine> Plot(const TEquationFunction& record, int magnification = 1, bool direct = false)
    {
        PlotFunction(view, {view.Mapping(magnification), {&main.Canvas, &trace.Canvas}, direct, {}}, record);
        return Polylines(main.Lines());
    }

    TRelationMethod MethodOf(const char* text, bool autoCalc = true)
    {
        const TEquationFunction& r = SetRelation(1, text, autoCalc);
        const TRelationPieces split = SplitRelation(r);
        EXPECT_EQ(split.Pieces.size(), 1u) << text;
        return split.Pieces.empty() ? TRelationMethod::Scan : RelationMethodOf(view, split.Pieces[0], r);
    }
};

TEST_F(RelationsTest, SplittingGivesPiecesAndConjunctionMasks)
{
    struct Case {
        const char* Text;
        std::vector<std::string> Pieces;
        std::vector<std::uint8_t> Masks;
    };
    const std::vector<Case> cases = {
        {"x^2+y^2<4 and y>0", {"x^2+y^2<4", "y>0"}, {3}},
        {"x<0 or y<0", {"x<0", "y<0"}, {1, 2}},
        {"0<y<x", {"0<y", "y<x"}, {3}},
        {"(x>0 and y>0)", {"x>0", "y>0"}, {3}},
        {"x<1 and y<1 or x>2", {"x<1", "y<1", "x>2"}, {3, 4}},
        // A bracketed alternative inside a conjunction is distributed.
        {"(x<0 or y<0) and x>-1", {"x<0", "y<0", "x>-1"}, {5, 6}},
        {"x^2+y^2", {"x^2+y^2"}, {1}},
    };
    for (const Case& c : cases) {
        const TRelationPieces split = SplitRelation(SetRelation(1, c.Text));
        std::vector<std::string> texts;
        for (const TRelationPiece& p : split.Pieces)
            texts.push_back(QString(p.Func.Text).remove(u' ').toStdString());
        EXPECT_EQ(texts, c.Pieces) << c.Text;
        EXPECT_EQ(split.Masks, c.Masks) << c.Text;
    }
}

TEST_F(RelationsTest, NinePiecesKeepTheFirstEightAndAnEmptyReferenceGivesNone)
{
    const TRelationPieces nine =
        SplitRelation(SetRelation(1, "x>1 and x>2 and x>3 and x>4 and x>5 and x>6 and x>7 and x>8 and x>9"));
    ASSERT_EQ(nine.Pieces.size(), 8u);
    EXPECT_EQ(QString(nine.Pieces[7].Func.Text).remove(u' '), QStringLiteral("x>8"));
    EXPECT_EQ(nine.Masks, std::vector<std::uint8_t>{255});

    EXPECT_TRUE(SplitRelation(SetRelation(1, "C2 and y>0")).Pieces.empty());
    SetRelation(2, "x<1");
    const TRelationPieces referenced = SplitRelation(SetRelation(1, "C2 and y>0"));
    ASSERT_EQ(referenced.Pieces.size(), 2u);
    EXPECT_EQ(referenced.Masks, std::vector<std::uint8_t>{3});
}

TEST_F(RelationsTest, ThePieceDifferenceLeavesOutTheComparison)
{
    const TRelationPieces split = SplitRelation(SetRelation(1, "x^2 >= 3y and x+y"));
    ASSERT_EQ(split.Pieces.size(), 2u);
    EXPECT_EQ(split.Pieces[0].Operator, TokenCodes.GreaterEqual);
    EXPECT_EQ(split.Pieces[1].Operator, 0);
    const TValue zero = ValueReal(0.0L);
    // L - R at x = 2, y = 1: 4 - 3; the piece without a comparison is itself.
    EXPECT_EQ(EvaluatePostfix(split.Pieces[0].Difference(), ValueReal(2.0L), ValueReal(1.0L), zero, zero).X, 1.0L);
    EXPECT_EQ(EvaluatePostfix(split.Pieces[1].Difference(), ValueReal(2.0L), ValueReal(1.0L), zero, zero).X, 3.0L);
    EXPECT_TRUE(split.Pieces[1].IsEquation());
}

TEST_F(RelationsTest, ExplicitFormAndMethods)
{
    struct Case {
        const char* Text;
        bool Explicit;
    };
    for (const Case& c : std::vector<Case>{{"y>x^2", true},
                                           {"y = x + 1", true},
                                           {"x^2+y^2=4", false},
                                           {"y^2=x", false},
                                           {"y=x+y", false},
                                           {"y1>0", false}}) {
        DocumentTables.Functions[1].Func.Text = QStringLiteral("x");
        PrepareExpression(DocumentTables.Functions[1].Func, ModeFunction);
        const TRelationPieces split = SplitRelation(SetRelation(1, c.Text));
        ASSERT_EQ(split.Pieces.size(), 1u) << c.Text;
        EXPECT_EQ(IsExplicitRelation(split.Pieces[0].Func), c.Explicit) << c.Text;
    }
    EXPECT_EQ(MethodOf("y=x^2"), TRelationMethod::Explicit);
    EXPECT_EQ(MethodOf("x^2+y^2=4"), TRelationMethod::Conic);
    EXPECT_EQ(MethodOf("x*y=1"), TRelationMethod::Conic);
    EXPECT_EQ(MethodOf("x^2+y^2=4", false), TRelationMethod::Scan);
    EXPECT_EQ(MethodOf("x^3+y^3=3x*y"), TRelationMethod::Interpolated);
    EXPECT_EQ(MethodOf("x*y^2-sin(x+y)=1"), TRelationMethod::Scan);
    EXPECT_EQ(MethodOf("sqrt(x)+y=1"), TRelationMethod::Scan) << "undefined samples fail the polynomial test";
}

TEST_F(RelationsTest, ColumnParabolaRootsOverPixelColumns)
{
    struct Case {
        long double (*G)(long double);
        int Count;
        long double R1, R2;
    };
    const std::vector<Case> cases = {
        {[](long double c) { return (c - 30) * (c - 70); }, 2, 70, 30},
        {[](long double c) { return 2 * c - 60; }, 1, 30, -1},
        {[](long double) { return 0.0L; }, -1, -1, -1},
        {[](long double) { return 5.0L; }, 0, -1, -1},
        {[](long double c) { return (c - 40) * (c - 40); }, 1, 40, -1},
        {[](long double c) { return c * c + 1; }, 0, -1, -1},
    };
    for (size_t k = 0; k < cases.size(); ++k) {
        TColumnArray g;
        for (int c = -1; c <= 401; ++c)
            g.Set(c, ValueReal(cases[k].G(c)));
        long double r1 = 0, r2 = 0;
        EXPECT_EQ(ColumnParabolaRoots(g, r1, r2), cases[k].Count) << k;
        EXPECT_NEAR(static_cast<double>(r1), static_cast<double>(cases[k].R1), 1e-9) << k;
        EXPECT_NEAR(static_cast<double>(r2), static_cast<double>(cases[k].R2), 1e-9) << k;
    }
    TColumnArray undefinedAt50;
    undefinedAt50.Set(50, ValueUndefined(KindReal));
    long double r1 = 0, r2 = 0;
    EXPECT_EQ(ColumnParabolaRoots(undefinedAt50, r1, r2), 0);
    EXPECT_EQ(r1, -1.0L);
}

// The cell from columns 0..1 and rows 0..1 with the corner values BL, BR,
// TL, TR; what it adds to a joiner, in magnified pixels.
std::vector<std::pair<QPoint, QPoint>> Cell(std::array<long double, 4> v, int magnification = 16)
{
    TCellCorners corners;
    for (int k = 0; k < 4; ++k) {
        corners.Values[k] = v[k];
        corners.Signs[k] = ScanSign(v[k]);
    }
    TconnectLines joiner;
    joiner.Reset(nullptr, nullptr, true, false, false, TPenSettings{});
    ContourCell(1, 1, corners, magnification, joiner);
    std::vector<std::pair<QPoint, QPoint>> segments;
    for (const Tpolyline& p : joiner.Open())
        segments.emplace_back(p.front(), p.back());
    return segments;
}

using Segments = std::vector<std::pair<QPoint, QPoint>>;

TEST_F(RelationsTest, ContourCellCases)
{
    // Corners at magnification 16: BL (0,16), BR (16,16), TL (0,0), TR (16,0).
    struct Case {
        const char* What;
        std::array<long double, 4> V; // BL, BR, TL, TR
        Segments Expected;
    };
    const std::vector<Case> cases = {
        {"one corner on the other side", {1, 1, 1, -1}, {{{8, 0}, {16, 8}}}},
        {"three on the other side cut the odd corner", {-1, -3, -1, 1}, {{{8, 0}, {16, 4}}}},
        {"upper row against lower row", {1, 1, -1, -3}, {{{0, 8}, {16, 12}}}},
        {"left column against right column", {-1, 3, -1, 1}, {{{4, 16}, {8, 0}}}},
        {"saddle, BR·TL larger: cut BR then TL", {1, -1, -3, 1}, {{{8, 16}, {16, 8}}, {{12, 0}, {0, 12}}}},
        {"saddle, equal products: cut TR then BL", {1, -1, -1, 1}, {{{8, 0}, {16, 8}}, {{8, 16}, {0, 8}}}},
        {"all four at zero: the lower edge", {0, 1e-10L, -1e-10L, 0}, {{{0, 16}, {16, 16}}}},
        {"three zeros with BL and TR", {0, 1, 0, 0}, {{{0, 16}, {16, 0}}}},
        {"three zeros otherwise", {1, 0, 0, 0}, {{{16, 16}, {0, 0}}}},
        {"zero pair on the lower edge, then the cut", {0, 0, 1, -1}, {{{0, 16}, {16, 16}}, {{8, 16}, {8, 0}}}},
        {"zero pair on the left edge adds only the cut", {0, 1, 0, -1}, {{{0, 8}, {16, 8}}}},
        {"zero pair on the upper edge adds nothing", {1, 1, 0, 0}, {}},
        {"zero pair on the diagonal", {0, 1, 1, 0}, {{{0, 16}, {16, 0}}}},
        {"touching corner, opposite corner largest: nothing", {3, 1, 2, 0}, {}},
        {"touching corner, smallest on the right edge", {2, 1, 3, 0}, {{{16, 16}, {16, 0}}}},
        {"touching corner: to the smallest", {1, 2, 3, 0}, {{{0, 16}, {16, 0}}}},
        {"touching corner, smallest beside it on the upper edge", {2, 3, 1, 0}, {{{0, 0}, {16, 0}}}},
        {"one zero, odd corner", {0, 1, 1, -1}, {{{8, 0}, {16, 8}}}},
        {"one zero, crossing top to bottom", {0, 1, -1, 1}, {{{0, 16}, {8, 0}}}},
        {"all on one side", {1, 2, 3, 4}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cell(c.V), c.Expected) << c.What;
}

TEST_F(RelationsTest, DegenerateConicDrawsTheVerticalLines)
{
    const std::vector<DrawnLine> lines = Plot(SetRelation(1, "x^2=1"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points, (Polyline{{240, 0}, {240, 400}}));
    EXPECT_EQ(lines[1].Points, (Polyline{{160, 0}, {160, 400}}));
    EXPECT_EQ(lines[0].Pen, "FF0000 2 solid mask geometric flat");
}

TEST_F(RelationsTest, AnInequalityAboveALineSetsEveryPixelAboveIt)
{
    TEquationFunction& r = SetRelation(1, "y>x");
    r.Color = 0x00A000; // pure blue would fade to white
    Plot(r);
    const TRegionMask& region = RelationFillGrid;
    int total = 0;
    for (int c = 0; c <= 401; ++c) {
        int column = 0;
        for (int r = 0; r <= 401; ++r)
            column += region.At(c, r) & 1;
        if (c <= 400) {
            EXPECT_EQ(column, 401 - c) << c;
        }
        total += column;
    }
    EXPECT_EQ(total, 80601);
    EXPECT_EQ(region.Masks, std::vector<std::uint8_t>{1});
    // A strict inequality's boundary is faded.
    const std::vector<DrawnLine> lines = Polylines(main.Lines());
    ASSERT_EQ(lines.size(), 1u);
    char pen[64];
    std::snprintf(pen, sizeof pen, "%06X 2 solid mask geometric flat", ColorRGBPart(FadeColor(0x00A000, 0.75L)));
    EXPECT_EQ(lines[0].Pen, pen);
}

TEST_F(RelationsTest, ConjunctionsAndAlternativesLeaveTheirBits)
{
    Plot(SetRelation(1, "x^2+y^2<4 and y>0"));
    const TRegionMask& region = RelationFillGrid;
    EXPECT_TRUE(region.InRegion(200, 150)) << "upper half of the disc";
    EXPECT_FALSE(region.InRegion(200, 250)) << "lower half of the disc";
    EXPECT_FALSE(region.InRegion(20, 20)) << "outside the disc";
    EXPECT_EQ(region.At(200, 250), 1);

    Plot(SetRelation(1, "x<0 or y<0"));
    EXPECT_TRUE(region.InRegion(100, 100));
    EXPECT_TRUE(region.InRegion(300, 300));
    EXPECT_FALSE(region.InRegion(300, 100));
}

// Every polyline point's distance from the circle of radius 80 about (200, 200).
long double WorstCircleDistance(const std::vector<DrawnLine>& lines, int magnification = 1)
{
    long double worst = 0;
    for (const DrawnLine& l : lines)
        for (const QPoint p : l.Points) {
            const long double dx = p.x() / static_cast<long double>(magnification) - 200;
            const long double dy = p.y() / static_cast<long double>(magnification) - 200;
            worst = std::max(worst, std::fabs(std::sqrt(dx * dx + dy * dy) - 80));
        }
    return worst;
}

TEST_F(RelationsTest, TheCircleIsTracedCloseToItselfByEveryMethod)
{
    for (const std::uint8_t width : {1, 4}) {
        Options.ScanWidth = width;
        main.Picture.Clear();
        const std::vector<DrawnLine> scanned = Plot(SetRelation(1, "x^2+y^2=4", false));
        ASSERT_FALSE(scanned.empty());
        size_t points = 0;
        for (const DrawnLine& l : scanned)
            points += l.Points.size();
        EXPECT_GT(points, 300u) << "width " << int(width);
        EXPECT_LT(WorstCircleDistance(scanned), 1.5L) << "width " << int(width);
    }
    main.Picture.Clear();
    const std::vector<DrawnLine> conic = Plot(SetRelation(1, "x^2+y^2=4"));
    ASSERT_EQ(conic.size(), 2u) << "two branches";
    EXPECT_LT(WorstCircleDistance(conic), 1.0L);
    // The branches meet at x = ±2 (columns 120 and 280).
    EXPECT_EQ(conic[0].Points.front(), conic[1].Points.front());
    EXPECT_EQ(conic[0].Points.back(), conic[1].Points.back());
    EXPECT_EQ(conic[0].Points.front(), QPoint(120, 200));
    EXPECT_EQ(conic[0].Points.back(), QPoint(280, 200));
}

TEST_F(RelationsTest, ComplexSquareRootsGiveTheConicNoPoints)
{
    const std::vector<DrawnLine> real = Plot(SetRelation(1, "x^2+y^2=4"));
    main.Picture.Clear();
    Options.ComplexMode = 1;
    Options.AllowSqrtN = 1;
    const std::vector<DrawnLine> complex = Plot(SetRelation(1, "x^2+y^2=4"));
    ASSERT_EQ(complex.size(), 2u);
    EXPECT_EQ(complex[0].Points, real[0].Points);
    EXPECT_EQ(complex[1].Points, real[1].Points);
}

TEST_F(RelationsTest, AHyperbolaRunsOffAtItsAsymptoteWithoutAVerticalLine)
{
    const std::vector<DrawnLine> lines = Plot(SetRelation(1, "x*y=1"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points.back(), QPoint(199, 10000));
    EXPECT_EQ(lines[1].Points.front(), QPoint(201, -10000));
    EXPECT_EQ(lines[0].Points.front(), QPoint(0, 208)); // y = -1/5
    EXPECT_EQ(lines[1].Points.back(), QPoint(400, 192));
}

TEST_F(RelationsTest, PiecesRestoreTheParameterY)
{
    DocumentTables.Params[0].Value = 0.625L;
    Plot(SetRelation(1, "x^3+y^3=3x*y"));
    Plot(SetRelation(1, "x*y^2-sin(x+y)=1", false));
    Plot(SetRelation(1, "y<sin(x)"));
    EXPECT_EQ(DocumentTables.Params[0].Value, 0.625L);
}

// Time moves on by a fixed step at every look at the clock.
class SteppingClock final : public platform::Clock {
public:
    std::int64_t tickCount() const override { return now_ += 4; }

private:
    mutable std::int64_t now_ = 0;
};

TEST_F(RelationsTest, EscDuringAScanEndsItAndKeepsWhatWasTraced)
{
    const TEquationFunction& r = SetRelation(1, "x^2+y^2=4", false);
    size_t whole = 0;
    for (const DrawnLine& l : Plot(r))
        whole += l.Points.size();
    main.Picture.Clear();

    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    platform::FakeInputState keys;
    platform::ScopedInputState useKeys(keys);
    CountingRedrawWindow host;
    ScopedRedrawWindow useHost(host);
    keys.setKeyDown(platform::VkEscape);
    DocumentTables.Params[0].Value = 2.5L;
    int shown = 0;
    PlotFunction(view, {view.Mapping(1), {&main.Canvas, nullptr}, false, [&] { ++shown; }}, r);
    const std::vector<DrawnLine> partial = Polylines(main.Lines());
    EXPECT_FALSE(partial.empty()) << "what was traced is drawn";
    size_t partialPoints = 0;
    for (const DrawnLine& l : partial)
        partialPoints += l.Points.size();
    EXPECT_LT(partialPoints, whole / 2);
    for (const DrawnLine& l : partial)
        for (const QPoint p : l.Points)
            EXPECT_LE(p.y(), 125) << "only the rows before the first progress step";
    EXPECT_EQ(DocumentTables.Params[0].Value, 2.5L);
    EXPECT_EQ(shown, 1);
    ASSERT_GE(host.CaptionSuffixes.size(), 2u);
    EXPECT_EQ(host.CaptionSuffixes.front(), QStringLiteral(" : 31%"));
    EXPECT_EQ(host.CaptionSuffixes.back(), QString()) << "the caption is put back";
}

} // namespace
