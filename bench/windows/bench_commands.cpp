// The data panel's commands, from the command to the repainted windows:
// "Iniciar" on a full document, a 20-function project dropped on the graph
// window, and a switch of presentation mode.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/LineCodec.h"
#include "model/ProgramState.h"
#include "render/scene/Redraw.h"
#include "session/Commands.h"
#include "session/ProjectFile.h"
#include "session/RowModels.h"
#include "session/UndoPoints.h"
#include "windows/ConsoleCommands.h"
#include "windows/GraphAreaForm.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>

namespace {

const char* const Formulas[FunctionCount] = {
    "sin(x)",        "cos(2x)+1",      "x^2/4-3",       "x^3/10-x",      "sqrt(abs(x))",
    "1/(x-0.5)",     "exp(-x^2)·3",    "ln(abs(x)+1)",  "abs(x)-2",      "tan(x/2)",
    "int(x)/2",      "sin(x)·cos(3x)", "x/(1+x^2)",     "2^(x/3)-2",     "sqrt(9-x^2)",
    "a·sin(b·x)",    "(x-1)(x+2)/4",   "atan(x)·2",     "cosh(x/3)-3",   "max(sin(x),cos(x))",
};

void FillFunctions()
{
    for (int i = 1; i <= FunctionCount; ++i) {
        TEquationFunction& f = DocumentTables.Functions[i];
        f = DefaultEquation;
        f.Func.Text = QString::fromUtf8(Formulas[i - 1]);
        PrepareExpression(f.Func, ModeFunction);
    }
}

// Every table in use: the twenty functions, relations, user functions,
// points joined by figures.
void FillDocument()
{
    ResetDocument();
    FillFunctions();
    const char* const relations[] = {"x^2+y^2-4", "y-x^2+1", "x·y-1", "y<sin(x)"};
    for (int i = 1; i <= 4; ++i) {
        TEquationFunction& r = DocumentTables.Relations[i];
        r.Func.Text = QString::fromUtf8(relations[i - 1]);
        PrepareExpression(r.Func, ModeRelation);
    }
    for (int k = 1; k <= 20; ++k) {
        TPointFunction& p = DocumentTables.Points[k];
        p.Kind = ObjectPoint;
        p.X.Text = QString::number(k % 7 - 3);
        p.Y.Text = QString::number(k % 5 - 2);
        PrepareExpression(p.X, k);
        PrepareExpression(p.Y, k);
    }
    Segments.Clear();
    for (int k = 1; k < 20; ++k)
        Segments.Append(k, k + 1, 0xFF0000, 2, 1);
    SetOriginObject();
    RefreshAll();
}

int FunctionsInUse()
{
    int n = 0;
    for (const TEquationFunction& f : DocumentTables.Functions)
        n += f.Func.Text.isEmpty() ? 0 : 1;
    return n;
}

struct TCommandsBench {
    TWindowBench& Windows = SharedWindowBench();
    QTemporaryDir Dir;
    QString TwentyPath;

    TCommandsBench()
    {
        ResetDocument();
        FillFunctions();
        SetOriginObject();
        ProjectFile.FileName = Dir.path() + QStringLiteral("/twenty");
        if (SaveKvf())
            TwentyPath = ProjectFile.FileName + ProjectFile.Extension;
        InitAllData();
        TWindowBench::ProcessEvents();
    }
    QWidget& Graph() { return *Windows.Forms().GraphAreaForm; }
};

TCommandsBench& Bench()
{
    static TCommandsBench bench;
    return bench;
}

void BM_NewOnFullDocument(benchmark::State& state)
{
    Bench();
    FillDocument();
    const int redraws = RedrawCounters.Redraws;
    InitAllData();
    TWindowBench::ProcessEvents();
    if (FunctionsInUse() != 0 || Segments.Count() != 0 || RedrawCounters.Redraws == redraws) {
        FailBenchmark(state, "Iniciar left the document or did not redraw");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        FillDocument();
        TWindowBench::ProcessEvents();
        ProgramState.Modified = 0;
        state.ResumeTiming();
        Init1Click();
        TWindowBench::ProcessEvents();
    }
}
BENCHMARK(BM_NewOnFullDocument)->Unit(benchmark::kMillisecond);

// Drops the project on the graph window as a file manager does.
bool DropOnGraph(QWidget& graph, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = graph.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&graph, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&graph, &drop);
    TWindowBench::ProcessEvents();
    return drop.isAccepted();
}

void BM_DropTwentyFunctionProject(benchmark::State& state)
{
    TCommandsBench& bench = Bench();
    InitAllData();
    const int redraws = RedrawCounters.Redraws;
    if (bench.TwentyPath.isEmpty() || !DropOnGraph(bench.Graph(), bench.TwentyPath) || FunctionsInUse() != 20 ||
        RedrawCounters.Redraws == redraws) {
        FailBenchmark(state, "the dropped project did not open and draw");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        InitAllData();
        TWindowBench::ProcessEvents();
        state.ResumeTiming();
        DropOnGraph(bench.Graph(), bench.TwentyPath);
    }
}
BENCHMARK(BM_DropTwentyFunctionProject)->Unit(benchmark::kMillisecond);

void BM_SwitchPresentationMode(benchmark::State& state)
{
    TCommandsBench& bench = Bench();
    DropOnGraph(bench.Graph(), bench.TwentyPath);
    const int before = RowMetrics.RowPitch;
    NpresentationClick();
    TWindowBench::ProcessEvents();
    const int after = RowMetrics.RowPitch;
    NpresentationClick();
    TWindowBench::ProcessEvents();
    if (after <= before || RowMetrics.RowPitch != before || FunctionsInUse() != 20) {
        FailBenchmark(state, "presentation mode did not switch the row sizes");
        return;
    }
    for (auto _ : state) {
        NpresentationClick();
        TWindowBench::ProcessEvents();
    }
    if (ProgramState.PresentationMode) {
        NpresentationClick();
        TWindowBench::ProcessEvents();
    }
}
BENCHMARK(BM_SwitchPresentationMode)->Unit(benchmark::kMillisecond);

} // namespace
