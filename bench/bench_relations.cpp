// Relations at 800 × 800 pixels: the general scan with one and four rows
// per evaluation, the interpolated scan of a cubic, a conic solved column
// by column, the share of contour tracing and joining in a scan with many
// short curves, one row of a relation against a hand-written loop, and a
// parameter step through the redraw pipeline with functions, a conic and a
// hatched inequality. Before timing, every traced point is checked against
// the relation itself.
#include "BenchSupport.h"
#include "BenchView.h"
#include "engine/ArrayEvaluator.h"
#include "engine/Evaluator.h"
#include "engine/ParallelWork.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/gfx/ColorConvert.h"
#include "render/gfx/Metafile.h"
#include "render/plot/RelationPlot.h"
#include "render/plot/Relations.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/Redraw.h"
#include "render/scene/RedrawClosure.h"
#include "render/view/RedrawState.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

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

// range(0) is the scan width, range(1) the number of threads (0, or none
// given: the machine's cores).
void BM_RelationGeneralScan(benchmark::State& state)
{
    const TScopedWorkerThreads threads(state.range(1) > 0 ? static_cast<int>(state.range(1)) : WorkerThreadCount());
    const TEquationFunction& r = SetRelation("x*y^2-sin(x+y)=1", false);
    Options.ScanWidth = static_cast<std::uint8_t>(state.range(0));
    if (MethodOf(r) != TRelationMethod::Scan)
        return FailBenchmark(state, "not scanned");
    // Interpolated rows may stray a pixel further from the curve.
    if (!PointsOnCurve(TracedPoints(r), Tilted, state.range(0) == 1 ? 1 : 2))
        return FailBenchmark(state, "a traced point is off the curve");
    TimePlot(state, r);
}
BENCHMARK(BM_RelationGeneralScan)
    ->Args({1, 0})
    ->Args({4, 0})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({4, 1})
    ->Args({4, 2})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_RelationInterpolatedScan)->UseRealTime()->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_RelationConic)->UseRealTime()->Unit(benchmark::kMillisecond);

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

// A parameter step through the redraw pipeline: five functions, a conic and
// an inequality hatched from a general scan four rows at a time, all reading
// the parameter a.
class StepScene {
public:
    StepScene()
    {
        StartEngineOnce();
        ResetDocument();
        const char* const functions[] = {"a·sin(x)", "a·cos(2x)+1", "exp(-x^2)·a", "a·x^2-3", "sin(a·x)·x/3"};
        for (int i = 1; i <= 5; ++i) {
            TEquationFunction& f = DocumentTables.Functions[i];
            f = DefaultEquation;
            f.Func = CompiledFormula(QString::fromUtf8(functions[i - 1]), -1);
        }
        SetRelationText(1, "x^2/4+y^2=a+3", true);
        SetRelationText(2, "sin(x)·cos(y)<a/4", false);
        SetSquareBenchView(Size, 5.0L);
        Options.ScanWidth = 4;
        InitRedrawState();
        ForgetRedrawClosure();
        SetDirtyObjects();
        SetDirtyView();
        GraphScale.Redraw(GraphScale.GraphImages);
    }

    static void Step(long double a)
    {
        DocumentTables.Params[1].Value = a;
        SetDirtyObjects();
        const QChar name(Vocabulary.ParamTokens[1]);
        MarkNamesChanged(QStringView(&name, 1));
        GraphScale.Redraw(GraphScale.GraphImages);
    }

    // Why the last step is not what it should be, or nothing: every
    // function's cache current and right at a few columns, the conic solved
    // as one, the inequality scanned, and the relation layer drawn.
    static std::string Fault()
    {
        const ViewColumns& columns = GraphScale.Columns;
        for (int i = 1; i <= 5; ++i) {
            const TColumnArray* cache = columns.ValidCache(i);
            if (!cache)
                return "cache " + std::to_string(i) + " not current";
            for (int c : {1, 333, 799}) {
                const TValue v = EvaluateExpression(DocumentTables.Functions[i].Func, columns.ColumnX().At(c));
                if (v.Defined != cache->Defined(c) || (v.Defined && !AgreesWithReference(cache->X(c), v.X)))
                    return "function " + std::to_string(i) + " differs at column " + std::to_string(c);
            }
        }
        if (MethodOf(DocumentTables.Relations[1]) != TRelationMethod::Conic)
            return "relation 1 is not solved as a conic";
        if (MethodOf(DocumentTables.Relations[2]) != TRelationMethod::Scan)
            return "relation 2 is not scanned";
        if (RelationPixels() < Size)
            return "the relation layer is nearly empty";
        return {};
    }

    // Pixels of the relation layer in the relations' colour.
    static int RelationPixels()
    {
        const QImage& layer = GraphScale.GraphImages[2].Image();
        const QRgb colour = ToQColor(DefaultEquation.Color).rgb();
        int count = 0;
        for (int y = 0; y < layer.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
            for (int x = 0; x < layer.width(); ++x)
                count += (row[x] | 0xFF000000u) == (colour | 0xFF000000u);
        }
        return count;
    }

private:
    static void SetRelationText(int j, const char* text, bool autoCalc)
    {
        TEquationFunction& r = DocumentTables.Relations[j];
        r = DefaultEquation;
        r.Func = CompiledFormula(QString::fromUtf8(text), ModeRelation);
        r.Func.Text = QString::fromUtf8(text);
        r.AutoCalc = autoCalc;
    }

    TSceneRedrawer redrawer_;
    ScopedRedrawer use_{redrawer_};
};

// range(0) is the number of threads (0: the machine's cores).
void BM_ParameterStepWithRelations(benchmark::State& state)
{
    const TScopedWorkerThreads threads(state.range(0) > 0 ? static_cast<int>(state.range(0)) : WorkerThreadCount());
    const StepScene scene;
    StepScene::Step(1.5L);
    if (const std::string fault = StepScene::Fault(); !fault.empty())
        return FailBenchmark(state, fault);
    const QImage before = GraphScale.GraphImages[2].Image().copy();
    const int evaluatedBefore = RedrawCounters.CachesEvaluated;
    StepScene::Step(1.6L);
    if (RedrawCounters.CachesEvaluated - evaluatedBefore != 5)
        return FailBenchmark(state, "a step did not evaluate the five functions");
    if (GraphScale.GraphImages[2].Image() == before)
        return FailBenchmark(state, "a step left the relation layer as it was");
    long double a = 1.0L;
    for (auto _ : state) {
        a += 0.01L;
        StepScene::Step(a);
    }
}
BENCHMARK(BM_ParameterStepWithRelations)->Arg(0)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
