// A script's animation in the program's windows: a loop that moves one
// point and draws each frame on an 800 × 600 graph, every frame painted on
// the graph window and the data panel at once.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ScriptStore.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "script/ScriptCompiler.h"
#include "script/ScriptRun.h"
#include "session/Commands.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"

#include <QEvent>
#include <QStatusBar>

namespace {

constexpr int Frames = 60;

TGraphAreaForm& Graph()
{
    return *SharedWindowBench().Forms().GraphAreaForm;
}

// Counts the graph picture's paints.
class PaintCounter final : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return QObject::eventFilter(watched, event);
    }
};

// A new document on an 800 × 600 graph holding the point P and the script.
bool BuildDocument()
{
    SharedWindowBench();
    InitAllData();
    Options.AreaRectify = 0;
    Options.AreaFixed = 0;
    Graph().resize(800 + 8, 600 + 8 + Graph().PageControlHeight() + Graph().SBar->sizeHint().height());
    TWindowBench::ProcessEvents();
    GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -3.75L}, {5.0L, 3.75L}});
    TPointFunction p = DefaultPoint;
    p.Kind = ObjectPoint;
    p.Pos.Text = QStringLiteral("(0, 0)");
    JoinPointTexts(p, PointTextDirection::Split);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
        PrepareExpression(*f, 1);
    SetPnt(1, p);
    const QStringList note{QStringLiteral("#//Anima"), QStringLiteral("#For k := 1 to %1").arg(Frames),
                           QStringLiteral("#P := (k/20 - 1.5, sin(k/10))"), QStringLiteral("#Draw"),
                           QStringLiteral("#Next")};
    const bool compiled = CompileScripts(note, THeaderErrors::Keep).Errors.empty();
    TWindowBench::ProcessEvents();
    return compiled && GraphScale.XAxis.VHigh == 800 && GraphScale.YAxis.VHigh == 600;
}

void BM_ScriptDrawLoopInTheWindows(benchmark::State& state)
{
    if (!BuildDocument()) {
        FailBenchmark(state, "no 800 × 600 graph with the script");
        return;
    }
    PaintCounter counter;
    Graph().GImage->installEventFilter(&counter);
    const int redraws = RedrawCounters.Redraws;
    RunScript(0);
    Graph().GImage->removeEventFilter(&counter);
    if (counter.Paints < Frames || RedrawCounters.Redraws - redraws != Frames + 1
        || DocumentTables.Points[1].X.Text != QStringLiteral("1.5")) {
        FailBenchmark(state, std::to_string(counter.Paints) + " paints, " +
                                 std::to_string(RedrawCounters.Redraws - redraws) + " redraws");
        return;
    }
    for (auto _ : state)
        RunScript(0);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Frames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptDrawLoopInTheWindows)->Unit(benchmark::kMillisecond);

} // namespace
