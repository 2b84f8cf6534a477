// Relations at 800 × 800 pixels: the general scan with one and four rows
// per evaluation, the interpolated scan of a cubic, a conic solved column
// by column, the share of contour tracing and joining in a scan with many
// short curves, and one row of a relation against a hand-written loop.
// Before timing, every traced point is checked against the relation itself.
#include "BenchSupport.h"
#include "BenchView.h"
#include "engine/ArrayEvaluator.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/gfx/Metafile.h"
#include "render/plot/RelationPlot.h"
#include "render/plot/Relations.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <string>

namespace {

constexpr int Size = 800;

TEquationFunction& SetRelation(const char* text, bool autoCalc, long double halfRange = 5.0L)
{
    StartEngineOnce();
    SetSquareBenchView(Size, halfRange);
    Options.ScanWidth = 4;
    TEquationFunction& r = DocumentTables.Relations[1];
    r = DefaultEquation;
    r.Func = CompiledFormula(QString::fromUtf8(text), ModeRelation);
    r.Func.Text = QString::fromUtf8(text);
    r.AutoCalc = autoCalc;
    r.Pattern = 0;
    return r;
}

TRelationMethod MethodOf(const TEquationFunction& r)
{
    const TRelationPieces split = SplitRelation(r);
    return split.Pieces.empty() ? TRelationMethod::Scan : RelationMethodOf(GraphScale, split.Pieces[0], r);
}

// The points of every polyline drawn for the relation.
std::vector<QPoint> TracedPoints(const TEquationFunction& r)
{
    TMetafile picture;
    picture.Width = picture.Height = Size;
    {
        TCanvas canvas = MakeMetafileCanvas(picture);
        PlotFunction(GraphScale, {GraphScale.Mapping(1), {&canvas, nullptr}, false, {}}, r);
    }
    static const QRegularExpression point(QStringLiteral("(-?\\d+),(-?\\d+)"));
    std::vector<QPoint> points;
    for (const QString& line : DumpMetafile(picture).split(u'\n'))
        if (line.startsWith(QStringLiteral("polyline")))
            for (auto it = point.globalMatch(line); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                points.emplace_back(m.captured(1).toInt(), m.captured(2).toInt());
            }
    return points;
}

// Every traced point lies where f changes sign within `reach` pixels.
bool PointsOnCurve(const std::vector<QPoint>& points, const std::function<long double(long double, long double)>& f,
                   int reach)
{
    const ScaleT& view = GraphScale;
    for (const QPoint p : points) {
        bool below = false, above = false;
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy) {
                const long double v = f(view.XAxis.PixelToValue(p.x() + dx), view.YAxis.PixelToValue(p.y() + dy));
                below = below || v <= 0.0L;
                above = above || v >= 0.0L;
            }
        if (!below || !above)
            return false;
    }
    return !points.empty();
}

long double Tilted(long double x, long double y)
{
    return x * y * y - std::sin(x + y) - 1.0L;
}

void TimePlot(benchmark::State& state, const TEquationFunction& r)
{
    QImage image(Size + 1, Size + 1, QImage::Format_RGB32);
    TCanvas canvas = MakeImageCanvas(image);
    for (auto _ : state) {
        image.fill(Qt::white);
        PlotFunction(GraphScale, {GraphScale.Mapping(1), {&canvas, nullptr}, false, {}}, r);
        benchmark::ClobberMemory();
    }
}

// range(0) is the scan width.
void BM_RelationGeneralScan(benchmark::State& state)
{
    const TEquationFunction& r = SetRelation("x*y^2-sin(x+y)=1", false);
    Options.ScanWidth = static_cast<std::uint8_t>(state.range(0));
    if (MethodOf(r) != TRelationMethod::Scan)
        return FailBenchmark(state, "not scanned");
    // Interpolated rows may stray a pixel further from the curve.
    if (!PointsOnCurve(TracedPoints(r), Tilted, state.range(0) == 1 ? 1 : 2))
        return FailBenchmark(state, "a traced point is off the curve");
    TimePlot(state, r);
}
BENCHMARK(BM_RelationGeneralScan)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_RelationInterpolatedScan(benchmark::State& state)
{
    const TEquationFunction& r = SetRelation("x^3+y^3=3x*y", true);
    if (MethodOf(r) != TRelationMethod::Interpolated)
        return FailBenchmark(state, "not interpolated");
    const auto folium = [](long double x, long double y) { return x * x * x + y * y * y - 3.0L * x * y; };
    if (!PointsOnCurve(TracedPoints(r), folium, 1))
        return FailBenchmark(state, "a traced point is off the curve");
    TimePlot(state, r);
}
BENCHMARK(BM_RelationInterpolatedScan)->Unit(benchmark::kMillisecond);

void BM_RelationConic(benchmark::State& state)
{
    const TEquationFunction& r = SetRelation("x^2+y^2=4", true);
    if (MethodOf(r) != TRelationMethod::Conic)
        return FailBenchmark(state, "not a conic");
    for (const QPoint p : TracedPoints(r))
        if (std::fabs(std::hypot(p.x() - 400.0, p.y() - 400.0) - 160.0) > 1.0)
            return FailBenchmark(state, "a point is off the circle");
    TimePlot(state, r);
}
BENCHMARK(BM_RelationConic)->Unit(benchmark::kMillisecond);

// sin(x·y) = 0 on -20..20: hundreds of short curves. The scan with contour
// tracing and joining (range 1) against the same scan without (range 0);
// the difference is their share.
void BM_RelationManyCurves(benchmark::State& state)
{
    const TEquationFunction& r = SetRelation("sin(x*y)=0", false, 20.0L);
    Options.ScanWidth = 1;
    const auto f = [](long double x, long double y) { return std::sin(x * y); };
    if (!PointsOnCurve(TracedPoints(r), f, 1))
        return FailBenchmark(state, "a traced point is off the curve");
    const TRelationPieces split = SplitRelation(r);
    const TRelationGrid grid = MakeRelationGrid(GraphScale, GraphScale.Mapping(1));
    QImage image(Size + 1, Size + 1, QImage::Format_RGB32);
    TCanvas canvas = MakeImageCanvas(image);
    TPiecePens pens;
    pens.Main = &canvas;
    TRegionMask region;
    region.Reset(grid.W, grid.H);
    TRelationRows rows(grid, split.Pieces[0].Difference());
    const TScanRequest scan{&rows, nullptr, 1, state.range(0) != 0, 0, 1};
    for (auto _ : state) {
        image.fill(Qt::white);
        ScanPiece(grid, scan, pens, region, {});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RelationManyCurves)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One row of «x·y^2 - sin(x+y) - 1» over the 803 columns of the scan: the
// row evaluation (range 1) against a hand-written long double loop (range 0).
void BM_RelationRow(benchmark::State& state)
{
    const TEquationFunction& r = SetRelation("x*y^2-sin(x+y)=1", false);
    const TRelationPieces split = SplitRelation(r);
    const TRelationGrid grid = MakeRelationGrid(GraphScale, GraphScale.Mapping(1));
    TRelationRows rows(grid, split.Pieces[0].Difference());
    const long double y = 1.2375L;
    const long double* x = grid.ColumnX->XLane();
    TColumnArray out;
    std::vector<long double> hand(Size + 3);
    const auto handLoop = [&] {
        for (int c = -1; c <= Size + 1; ++c)
            hand[static_cast<size_t>(c + 1)] = x[c] * y * y - std::sin(x[c] + y) - 1.0L;
    };
    rows.EvaluateRelationColumns(y, out);
    handLoop();
    for (int c = -1; c <= Size + 1; ++c)
        if (!out.Defined(c) || !AgreesWithReference(out.X(c), hand[static_cast<size_t>(c + 1)]))
            return FailBenchmark(state, "the row differs from the loop at column " + std::to_string(c));
    for (auto _ : state) {
        if (state.range(0)) {
            rows.EvaluateRelationColumns(y, out);
            benchmark::DoNotOptimize(out.XLane());
        } else {
            handLoop();
            benchmark::DoNotOptimize(hand.data());
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RelationRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
