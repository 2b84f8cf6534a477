// The redraw pipeline at 800 × 800 pixels: a parameter step with 20
// functions that read the parameter and with one that does, one curve drawn
// from its cache, and the closure of a change set over a full document. The
// parts of a redraw are timed alone too, to show where its time goes. A step
// must draw the pixels a redraw without kept pixels draws. A point dragged
// beside 9 relations that do not read it leaves their layers as they are.
#include "BenchSupport.h"
#include "BenchView.h"
#include "engine/Evaluator.h"
#include "engine/ParallelWork.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/ProgramState.h"
#include "render/gfx/Metafile.h"
#include "render/plot/Functions.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/Redraw.h"
#include "render/scene/RedrawClosure.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/MouseWork.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPoint>
#include <QString>
#include <cmath>

namespace {

constexpr int Size = 800;

// Five to ten tokens each, transcendental ones among them; %1 is the
// parameter they read.
const char* const Formulas[20] = {
    "%1·sin(x)",       "%1·cos(2x)+1",  "exp(-x^2)·%1",    "%1·x^2-3",       "ln(abs(x)+%1)",
    "sqrt(%1+x^2)",    "%1/(1+x^2)",    "Atan(%1·x)",      "%1·x^3/10-x",    "sin(%1·x)·x/3",
    "cos(x)+%1·sin(x)", "x/%1+sin(3x)", "%1·tanh(x)",      "2^(x/%1)",       "%1·abs(sin(x))",
    "(x-%1)^2/4",      "%1·cos(x)^2",   "sqrt(abs(%1·x))", "exp(x/4)-%1",    "%1·sin(x)/(x^2+1)",
};

// Functions 1 .. 20; the first `readers` read a, the others b.
void SetFunctions(int readers)
{
    StartEngineOnce();
    ResetDocument();
    for (int i = 1; i <= FunctionCount; ++i) {
        const QString parameter = i <= readers ? QStringLiteral("a") : QStringLiteral("b");
        TEquationFunction& f = DocumentTables.Functions[i];
        f = DefaultEquation;
        f.Func = CompiledFormula(QString::fromUtf8(Formulas[i - 1]).arg(parameter), -1);
    }
    SetSquareBenchView(Size, 5.0L);
    InitRedrawState();
    ForgetRedrawClosure();
    SetDirtyObjects();
    SetDirtyView();
    CurrentRedrawer().Redraw(GraphScale, GraphScale.GraphImages);
}

void StepA(long double value)
{
    DocumentTables.Params[1].Value = value;
    SetDirtyObjects();
    const QChar a(Vocabulary.ParamTokens[1]);
    MarkNamesChanged(QStringView(&a, 1));
}

// Every curve's cache against the scalar evaluator at a few columns.
bool CachesAgree(std::string& why)
{
    const ViewColumns& columns = GraphScale.Columns;
    for (int i = 1; i <= FunctionCount; ++i) {
        const TColumnArray* cache = columns.ValidCache(i);
        if (!cache) {
            why = "cache " + std::to_string(i) + " not current";
            return false;
        }
        for (int c : {1, 333, 799}) {
            const TValue v = EvaluateExpression(DocumentTables.Functions[i].Func, columns.ColumnX().At(c));
            if (v.Defined != cache->Defined(c) || (v.Defined && !AgreesWithReference(cache->X(c), v.X))) {
                why = "function " + std::to_string(i) + " differs at column " + std::to_string(c);
                return false;
            }
        }
    }
    return true;
}

// The pipeline installed as the view's redrawer over a document of 20
// functions, the first `readers` reading a.
class ScenePipeline {
public:
    explicit ScenePipeline(int readers = 20) { SetFunctions(readers); }

private:
    TSceneRedrawer redrawer_;
    ScopedRedrawer use_{redrawer_};
};

void ParameterStep(benchmark::State& state, int readers)
{
    const ScenePipeline pipeline(readers);
    StepA(1.5L);
    GraphScale.Redraw(GraphScale.GraphImages);
    std::string why;
    if (!CachesAgree(why)) {
        FailBenchmark(state, why);
        return;
    }
    const int evaluatedBefore = RedrawCounters.CachesEvaluated;
    StepA(1.6L);
    GraphScale.Redraw(GraphScale.GraphImages);
    if (RedrawCounters.CachesEvaluated - evaluatedBefore != readers) {
        FailBenchmark(state, "a step evaluated " + std::to_string(RedrawCounters.CachesEvaluated - evaluatedBefore) + " functions, not its " + std::to_string(readers) + " readers");
        return;
    }
    // The step drew what a redraw without kept pixels draws.
    const int reusedBefore = SceneState.GraphReplay.Counts().LayersReused;
    StepA(1.7L);
    GraphScale.Redraw(GraphScale.GraphImages);
    // Curves that do not read a stay in the kept pixels, or the step times
    // a plain replay.
    if (readers < FunctionCount && SceneState.GraphReplay.Counts().LayersReused == reusedBefore) {
        FailBenchmark(state, "a step drew every curve again");
        return;
    }
    const QImage stepped = GraphScale.GraphImages[0].Image().copy();
    TSceneState::TAxesLayer axes = std::move(SceneState.AxesLayer);
    TPictureReplayCache replay = std::move(SceneState.GraphReplay);
    SceneState.AxesLayer = {};
    SceneState.GraphReplay.Clear();
    SetDirtyObjects();
    GraphScale.Redraw(GraphScale.GraphImages);
    if (GraphScale.GraphImages[0].Image() != stepped) {
        FailBenchmark(state, "a step drew other pixels than a redraw from scratch");
        return;
    }
    SceneState.AxesLayer = std::move(axes);
    SceneState.GraphReplay = std::move(replay);
    long double a = 1.0L;
    for (auto _ : state) {
        a += 0.01L;
        StepA(a);
        GraphScale.Redraw(GraphScale.GraphImages);
    }
    state.counters["evaluated"] = readers;
}

void BM_ParameterStepAllReaders(benchmark::State& state)
{
    ParameterStep(state, 20);
}
BENCHMARK(BM_ParameterStepAllReaders)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ParameterStepOneReader(benchmark::State& state)
{
    ParameterStep(state, 1);
}
BENCHMARK(BM_ParameterStepOneReader)->UseRealTime()->Unit(benchmark::kMillisecond);

// A pan of one pixel with 20 functions, as the move tool makes it: every
// cache is evaluated again (on all cores), every curve recorded again.
// range(0) is the number of threads (0: the machine's cores).
void BM_OnePixelPan(benchmark::State& state)
{
    const TScopedWorkerThreads threads(state.range(0) > 0 ? static_cast<int>(state.range(0)) : WorkerThreadCount());
    const ScenePipeline pipeline;
    ScaleT& view = GraphScale;
    const auto pan = [&](int dx) {
        view.SetRange(view.GraphImages, MoveRange(view, QPoint(400, 400), QPoint(400 + dx, 400)));
    };
    const long double low = view.XAxis.Low;
    pan(1);
    std::string why;
    if (view.XAxis.Low == low || !CachesAgree(why)) {
        FailBenchmark(state, why.empty() ? "the view did not move" : why);
        return;
    }
    // The pan drew what a redraw without kept pixels draws.
    const QImage panned = view.GraphImages[0].Image().copy();
    SceneState.Reset();
    SetDirtyObjects();
    SetDirtyView();
    view.Redraw(view.GraphImages);
    if (view.GraphImages[0].Image() != panned) {
        FailBenchmark(state, "a pan drew other pixels than a redraw from scratch");
        return;
    }
    int dx = -1;
    for (auto _ : state) {
        pan(dx);
        dx = -dx;
    }
}
BENCHMARK(BM_OnePixelPan)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// A drag of the point A beside 20 functions and 9 relations that read
// neither A nor anything that moves with it: the relations keep their
// layers. With `replotAll` every relation is plotted at each step again,
// as the pipeline did before it kept relation layers.
constexpr int DraggedPoint = 8; // A
const char* const Inequalities[RelationCount] = {
    "y>x^2/3-1", "x^2+y^2<4",       "y<sin(x)+b", "x·y=1",    "x^2-y^2>1",
    "y>b·x and y<2", "x^2/9+y^2/4=1", "y<cos(x)",   "abs(x)+abs(y)<3",
};

void MoveDraggedPoint(int step)
{
    TPointFunction& p = DocumentTables.Points[DraggedPoint];
    p.Kind = ObjectPoint;
    p.Pos = CompiledFormula(QStringLiteral("(%1, 1)").arg(-3.0 + 0.01 * (step % 600)), DraggedPoint);
    SetDirtyObjects();
    const QChar name(Vocabulary.PointTokens[DraggedPoint]);
    MarkNamesChanged(QStringView(&name, 1));
}

void PointDrag(benchmark::State& state, bool replotAll)
{
    const ScenePipeline pipeline(1);
    for (int j = 1; j <= RelationCount; ++j)
        DocumentTables.Relations[j].Func = CompiledFormula(QString::fromUtf8(Inequalities[j - 1]), 0);
    MoveDraggedPoint(0);
    GraphScale.Redraw(GraphScale.GraphImages);
    const int plottedBefore = RedrawCounters.RelationsPlotted;
    MoveDraggedPoint(1);
    GraphScale.Redraw(GraphScale.GraphImages);
    if (RedrawCounters.RelationsPlotted != plottedBefore) {
        FailBenchmark(state, "a drag step plotted a relation again");
        return;
    }
    // The step drew what a redraw with nothing kept draws.
    const QImage stepped = GraphScale.GraphImages[0].Image().copy();
    SceneState.Reset();
    RedrawState.RelationDrawnOnce.fill(0);
    SetDirtyObjects();
    GraphScale.Redraw(GraphScale.GraphImages);
    if (GraphScale.GraphImages[0].Image() != stepped || RedrawCounters.RelationsPlotted != plottedBefore + RelationCount) {
        FailBenchmark(state, "a drag step drew other pixels than a redraw from scratch");
        return;
    }
    int step = 2;
    for (auto _ : state) {
        if (replotAll)
            RedrawState.RelationDrawnOnce.fill(0);
        MoveDraggedPoint(step++);
        GraphScale.Redraw(GraphScale.GraphImages);
    }
}

void BM_PointDragBesideRelations(benchmark::State& state)
{
    PointDrag(state, false);
}
BENCHMARK(BM_PointDragBesideRelations)->Unit(benchmark::kMillisecond);

void BM_PointDragRelationsReplotted(benchmark::State& state)
{
    PointDrag(state, true);
}
BENCHMARK(BM_PointDragRelationsReplotted)->Unit(benchmark::kMillisecond);

// The parts of a parameter step with 20 readers.
void BM_StepPartEvaluation(benchmark::State& state)
{
    const ScenePipeline pipeline;
    long double a = 1.0L;
    for (auto _ : state) {
        a += 0.01L;
        StepA(a);
        BuildRedrawClosure();
        UpdateColumnCaches(GraphScale);
        ClearRedrawState();
    }
}
BENCHMARK(BM_StepPartEvaluation)->Unit(benchmark::kMillisecond);

void BM_StepPartBackgroundLayer(benchmark::State& state)
{
    const ScenePipeline pipeline;
    for (auto _ : state)
        DrawBackgroundLayer(GraphScale, GraphScale.GraphImages);
}
BENCHMARK(BM_StepPartBackgroundLayer)->Unit(benchmark::kMillisecond);

void BM_StepPartGraphLayer(benchmark::State& state)
{
    const ScenePipeline pipeline;
    for (auto _ : state)
        DrawGraphLayer(GraphScale, GraphScale.GraphImages); // nothing dirty: drawing only
}
BENCHMARK(BM_StepPartGraphLayer)->Unit(benchmark::kMillisecond);

void BM_StepPartRecordCurves(benchmark::State& state)
{
    const ScenePipeline pipeline;
    const TViewMapping mapping = GraphScale.Mapping();
    for (auto _ : state) {
        TMetafile picture;
        picture.Width = picture.Height = Size;
        TCanvas canvas = MakeMetafileCanvas(picture);
        DrawFunctions(GraphScale, mapping, {&canvas, nullptr, false, false});
        benchmark::DoNotOptimize(picture.Entries.data());
    }
}
BENCHMARK(BM_StepPartRecordCurves)->Unit(benchmark::kMillisecond);

void BM_StepPartImageCopy(benchmark::State& state)
{
    const ScenePipeline pipeline;
    TGraphImages& images = GraphScale.GraphImages;
    for (auto _ : state) {
        images[0].Assign(images[1].Image());
        images[0].Canvas().SetPixel(0, 0, 0); // the copy is made on the first write
    }
}
BENCHMARK(BM_StepPartImageCopy)->Unit(benchmark::kMicrosecond);

void BM_DrawCurve(benchmark::State& state)
{
    const ScenePipeline pipeline;
    const TViewMapping mapping = GraphScale.Mapping();
    const TColumnArray& cache = *GraphScale.Columns.ValidCache(1);
    const TEquationFunction& record = DocumentTables.Functions[1];
    const TCurveSettings settings = DocumentCurveSettings(mapping.Context());
    {
        TMetafile picture;
        TCanvas canvas = MakeMetafileCanvas(picture);
        DrawCurve(mapping, {&canvas, nullptr, false, false}, record.Color, cache, record, settings);
        if (picture.Entries.size() != 1 || picture.Entries[0].Command.Points.size() != Size + 1) {
            FailBenchmark(state, "a·sin(x) is not one polyline through every column");
            return;
        }
    }
    for (auto _ : state) {
        TMetafile picture;
        TCanvas canvas = MakeMetafileCanvas(picture);
        DrawCurve(mapping, {&canvas, nullptr, false, false}, record.Color, cache, record, settings);
        benchmark::DoNotOptimize(picture.Entries.data());
    }
}
BENCHMARK(BM_DrawCurve)->Unit(benchmark::kMicrosecond);

// 20 functions, 9 relations, 8 user functions and 22 objects that read
// parameters, graphs, user functions and each other.
void SetFullDocument()
{
    SetFunctions(20);
    TDocumentTables& doc = DocumentTables;
    const char* const relations[9] = {"y=a·x^2", "x^2+y^2=c", "y>sin(x)+d", "y=f(x)",  "y<y1+m",
                                       "x·y=n",   "y=g(x)·p", "y≥P.x",      "y=h(x,q)"};
    for (int j = 1; j <= RelationCount; ++j)
        doc.Relations[j].Func = CompiledFormula(QString::fromUtf8(relations[j - 1]), 0);
    const char* const users[8] = {"x+a", "sin(x)·b", "x^2+y", "f(x)+c", "g(x)·d", "y3+m", "n·x", "exp(x)+p"};
    for (int u = 1; u <= UserFunctionCount; ++u)
        doc.UserFunctions[u] = CompiledFormula(QString::fromUtf8(users[u - 1]), -3);
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& p = doc.Points[k];
        const int kind = 1 + (k - 1) % 7;
        p.Kind = static_cast<std::uint8_t>(kind);
        const QString s = QString::number(k);
        p.Pos = CompiledFormula(QStringLiteral("(a+%1, y1(%1)/b)").arg(s), k);
        p.X = CompiledFormula(kind >= 5 ? QStringLiteral("t·cos(t)+c") : QStringLiteral("a+%1").arg(s), k);
        p.Y = CompiledFormula(kind >= 5 ? QStringLiteral("t·sin(t)·d") : QStringLiteral("b·%1").arg(s), k);
        p.R = CompiledFormula(QStringLiteral("abs(m)+P.x/%1").arg(s), k);
        p.Low = CompiledFormula(QStringLiteral("-q"), k);
        p.High = CompiledFormula(QStringLiteral("s·2"), k);
    }
}

void BM_RedrawClosureEveryName(benchmark::State& state)
{
    SetFullDocument();
    ForgetRedrawClosure();
    ClearChangedNames();
    MarkNameRangeChanged(0, 1000);
    const int built = ClosureMemory.ClosuresBuilt;
    BuildRedrawClosure();
    if (ClosureMemory.ClosuresBuilt != built + 1 || !RedrawState.RelationChanged[1] || !RedrawState.RelationChanged[9]) {
        FailBenchmark(state, "the closure over every name did not reach the relations");
        return;
    }
    for (auto _ : state) {
        ForgetRedrawClosure();
        ClearChangedNames();
        MarkNameRangeChanged(0, 1000);
        BuildRedrawClosure();
    }
}
BENCHMARK(BM_RedrawClosureEveryName)->Unit(benchmark::kMillisecond);

} // namespace
