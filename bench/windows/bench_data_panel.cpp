// The data panel, from the click to the repainted graph: stepping a
// parameter that 20 functions use, the object rows rebuilt, and one
// function stored end to end.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/Options.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QLineEdit>

namespace {

TWindowBench& Windows()
{
    return SharedWindowBench();
}

TMainConsole& Console()
{
    return *Windows().Forms().MainConsole;
}

TEquationFunction Function(const QString& text)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = text;
    PrepareExpression(f.Func, ModeFunction);
    return f;
}

// 20 functions that use a; a at 0 stepping by 0.01.
void BuildFunctions()
{
    SetGraphTo800By600();
    for (int k = 1; k <= PointCount; ++k)
        if (DocumentTables.Points[k].Kind != ObjectEmpty)
            SetPnt(k, DefaultPoint);
    for (int i = 1; i <= FunctionCount; ++i)
        SetYfx(i, Function(QStringLiteral("a*sin(x+%1)+%2/5-2").arg(i).arg(i)));
    TParameter& a = DocumentTables.Params[1];
    a.Value = 0.0L;
    a.Step = 0.01L;
    a.AddStep = 1;
    Options.ParamDelay = 0; // one step per press
    ShowPrmValueTexts();
    UpdatePrmPanel();
    TWindowBench::ProcessEvents();
}

void StepOnce()
{
    Console().Params->PressStep(1, StepUp, {});
    Console().Params->ReleaseStep();
    TWindowBench::ProcessEvents();
}

void BM_StepParameterWith20Functions(benchmark::State& state)
{
    Windows();
    BuildFunctions();
    StepOnce();
    const int redrawsBefore = RedrawCounters.Redraws;
    StepOnce();
    if (DocumentTables.Functions[20].Func.Code.isEmpty() || DocumentTables.Params[1].Value != 0.02L
        || Console().Params->Rows[1].Edit->text() != QStringLiteral("0.02")
        || GraphScale.GraphImages[0].Width() != 801) {
        FailBenchmark(state, "two steps of 0.01 did not show 0.02 on an 801-pixel graph");
        return;
    }
    if (RedrawCounters.Redraws - redrawsBefore != 1) {
        FailBenchmark(state, "a step drew the graph other than once");
        return;
    }
    const int redraws = RedrawCounters.Redraws;
    for (auto _ : state)
        StepOnce();
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["redraws_per_step"] =
        static_cast<double>(RedrawCounters.Redraws - redraws) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StepParameterWith20Functions)->Unit(benchmark::kMillisecond)->UseRealTime();

// 21 objects: points, circles and curves that use a.
void BuildObjects()
{
    SetGraphTo800By600();
    for (int i = 1; i <= FunctionCount; ++i)
        SetYfx(i, DefaultEquation);
    for (int k = 1; k <= 21; ++k) {
        TPointFunction p = DefaultPoint;
        p.Kind = k % 7 == 0 ? ObjectParametric : k % 3 == 0 ? ObjectCircle : ObjectPoint;
        if (p.Kind == ObjectParametric) {
            p.X.Text = QStringLiteral("cos(t)+%1").arg(k);
            p.Y.Text = QStringLiteral("a*sin(t)");
        } else {
            p.X.Text = QStringLiteral("%1/3").arg(k);
            p.Y.Text = QStringLiteral("a+%1").arg(k);
            p.R.Text = p.Kind == ObjectCircle ? QStringLiteral("1") : QString();
        }
        JoinPointTexts(p, PointTextDirection::Join);
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R})
            if (!f->Text.isEmpty())
                PrepareExpression(*f, k);
        SetPnt(k, p);
    }
    TWindowBench::ProcessEvents();
}

// Arg 0: the pictures as they are (typeset once, kept); arg 1: every
// picture typeset again.
void BM_RefreshPntRows21Objects(benchmark::State& state)
{
    Windows();
    BuildObjects();
    const auto& objects = RowModels.Objects;
    if (objects.ShownCount + objects.CurveShownCount != 21 || !Console().PntRows[21].Image->isVisible()) {
        FailBenchmark(state, "not 21 object rows shown");
        return;
    }
    const bool cold = state.range(0) != 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            for (int k = 1; k <= PointCount; ++k)
                Console().PntRows[k].Image->setProperty("typeset", QVariant());
            state.ResumeTiming();
        }
        RefreshPntRows();
    }
}
BENCHMARK(BM_RefreshPntRows21Objects)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SetYfxEndToEnd(benchmark::State& state)
{
    Windows();
    BuildFunctions();
    const TEquationFunction texts[2] = {Function(QStringLiteral("sin(3x)/2+a")),
                                        Function(QStringLiteral("x^2/8-3+a"))};
    SetYfx(1, texts[0]);
    TWindowBench::ProcessEvents();
    if (DocumentTables.Functions[1].Func.Text != texts[0].Func.Text || !Console().YfxRows[1].Image->isVisible()) {
        FailBenchmark(state, "the function was not stored and shown");
        return;
    }
    int k = 1;
    for (auto _ : state) {
        SetYfx(1, texts[k++ % 2]);
        TWindowBench::ProcessEvents();
    }
}
BENCHMARK(BM_SetYfxEndToEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
