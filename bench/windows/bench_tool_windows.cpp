// The integral tool: its 20 integrals at 200 partitions, a parameter step
// with its window open and closed, and a limit dropped on the graph (the
// store, the redraw and the integrals shown), on an 800 × 600 graph.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "dialogs/FormIvalue.h"
#include "dialogs/ToolWindowHost.h"
#include "engine/Compiler.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/IntegralTool.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"
#include "windows/ParamPanel.h"

#include <QLineEdit>
#include <QToolButton>

#include <cmath>

namespace {

TWindowBench& Windows()
{
    return SharedWindowBench();
}

TGraphAreaForm& Graph()
{
    return *Windows().Forms().GraphAreaForm;
}

// 20 functions that read a, over x −10..10; a at 1 stepping by 0.01; the
// integral over [−2, 3] with the partitions given.
void BuildDocument(int slices)
{
    Options.ParamDelay = 0;
    SetGraphTo800By600();
    for (int i = 1; i <= FunctionCount; ++i) {
        TEquationFunction f = DefaultEquation;
        f.Func.Text = QStringLiteral("a*sin(x+%1)+%2/5-2").arg(i).arg(i);
        PrepareExpression(f.Func, ModeFunction);
        SetYfx(i, f);
    }
    TParameter& a = DocumentTables.Params[1];
    a.Value = 1.0L;
    a.Step = 0.01L;
    a.AddStep = 1;
    Tinterval& in = DocumentTables.IntegralInterval;
    in.Lower.Text = QStringLiteral("-2");
    in.Upper.Text = QStringLiteral("3");
    PrepareExpression(in.Lower, ModePlain);
    PrepareExpression(in.Upper, ModePlain);
    in.LowerValue = ValueReal(-2.0L);
    in.UpperValue = ValueReal(3.0L);
    in.sliceNo = slices;
    in.Dfuncno = 1;
    in.Efuncno = 0;
    ShowPrmValueTexts();
    UpdatePrmPanel();
    TWindowBench::ProcessEvents();
}

// The integral of a·sin(x+i) + i/5 − 2 over [−2, 3] with a = 1.
long double ExpectedIntegral(int i)
{
    const long double c = static_cast<long double>(i);
    return -std::cos(3.0L + c) + std::cos(-2.0L + c) + 5.0L * (c / 5.0L - 2.0L);
}

bool IntegralsAgree(const TIntegralTable& table)
{
    for (int i = 1; i <= FunctionCount; ++i) {
        long double shown = 0.0L;
        if (!ParseExtended(table.Rows[i].Text, u'.', shown) || !AgreesWithReference(shown, ExpectedIntegral(i)))
            return false;
    }
    return true;
}

void CloseToolWindows()
{
    TToolWindowHost& tools = Graph().ToolWindows();
    if (tools.FormIvalue())
        tools.sbIvalueClick();
    if (tools.FormYValue())
        tools.sbYvalueClick();
    TWindowBench::ProcessEvents();
}

void BM_CalcIntegrals20FunctionsAt200Partitions(benchmark::State& state)
{
    Windows();
    CloseToolWindows();
    BuildDocument(200);
    const TFunctionButtons shown{};
    if (!IntegralsAgree(CalcIntegrals(DocumentTables, shown))) {
        FailBenchmark(state, "an integral differs from its closed form");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcIntegrals(DocumentTables, shown));
    state.counters["evaluations"] = 20.0 * 200 * 5;
}
BENCHMARK(BM_CalcIntegrals20FunctionsAt200Partitions)->Unit(benchmark::kMillisecond);

void StepOnce()
{
    TMainConsole& console = *Windows().Forms().MainConsole;
    console.Params->PressStep(1, StepUp, {});
    console.Params->ReleaseStep();
    TWindowBench::ProcessEvents();
}

// Arg 0: the integral window closed; 1: open, its integrals computed at
// every step.
void BM_StepParameterWithTheIntegralWindow(benchmark::State& state)
{
    const bool open = state.range(0) != 0;
    Windows();
    CloseToolWindows();
    BuildDocument(10);
    if (open)
        Graph().ToolWindows().sbIvalueClick();
    TWindowBench::ProcessEvents();
    StepOnce();
    TFormIvalue* window = Graph().ToolWindows().FormIvalue();
    const QString before = window ? window->Rows[1].Edit->text() : QString();
    const int redraws = RedrawCounters.Redraws;
    StepOnce();
    if (RedrawCounters.Redraws - redraws != 1 || (open != (window != nullptr)) ||
        (window && window->Rows[1].Edit->text() == before)) {
        FailBenchmark(state, "a step did not draw once, or the open window's integrals did not follow it");
        return;
    }
    for (auto _ : state)
        StepOnce();
    CloseToolWindows();
}
BENCHMARK(BM_StepParameterWithTheIntegralWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A drag of the lower limit released at −1 or −3 in turn: the stored limit,
// the redraw with the shaded area, the 20 integrals shown.
void BM_LimitDragRelease(benchmark::State& state)
{
    Windows();
    CloseToolWindows();
    BuildDocument(10);
    Graph().ToolWindows().sbIvalueClick();
    TWindowBench::ProcessEvents();
    TFormIvalue* window = Graph().ToolWindows().FormIvalue();
    TIntegralMarkers limits;
    limits.SetLowerFromGraph(-1.0L);
    TWindowBench::ProcessEvents();
    if (!window || DocumentTables.IntegralInterval.LowerValue.X != -1.0L ||
        window->Rows[20].Edit->text() == QStringLiteral("---")) {
        FailBenchmark(state, "the dropped limit was not stored and its integrals not shown");
        return;
    }
    bool left = false;
    for (auto _ : state) {
        limits.SetLowerFromGraph(left ? -3.0L : -1.0L);
        TWindowBench::ProcessEvents();
        left = !left;
    }
    CloseToolWindows();
}
BENCHMARK(BM_LimitDragRelease)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
