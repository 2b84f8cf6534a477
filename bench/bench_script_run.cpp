// Scripts running: a 10 s tone at 22050 samples a second computed over
// batches of values and value by value, a loop of simple assignments with
// the break keys polled after every command (parameters written as they
// are, a window that does nothing), and a loop that moves one point and
// draws each frame on an 800 × 600 graph. Each checks what it made first.
#include "BenchSupport.h"
#include "BenchView.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "model/ScriptStore.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "script/ScriptCompiler.h"
#include "script/ScriptResets.h"
#include "script/ScriptRun.h"
#include "script/Sound.h"
#include "session/EditScope.h"

#include <benchmark/benchmark.h>

#include <QStringList>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
constexpr int ToneFrames = 10 * 22050 + 1;
constexpr int LoopRounds = 10000;
constexpr int AssignmentsPerRound = 10;
constexpr int Frames = 60;

// A new document on an 800 × 600 graph, drawn as the program draws: one
// redraw per action, the drawing commands' frames inside it.
class ScriptBench {
public:
    ScriptBench()
    {
        StartEngineOnce();
        RegisterScriptResets();
        ResetAllGlobals();
        SetBenchView(Width, Height, 5.0L, 3.75L);
        InstallScopedRedrawer();
        ResetEditScopes();
        SetDirtyView();
        SetDirtyObjects();
        CurrentRedrawer().Redraw(GraphScale, GraphScale.GraphImages);
    }
    ~ScriptBench() { UninstallScopedRedrawer(); }
    ScriptBench(const ScriptBench&) = delete;
    ScriptBench& operator=(const ScriptBench&) = delete;

    // The lines as one script ("#" put in front); whether it compiled.
    static bool Compile(const QStringList& lines)
    {
        QStringList note{QStringLiteral("#//Bench")};
        for (const QString& line : lines)
            note.append(u'#' + line);
        const TScriptsOutcome outcome = CompileScripts(note, THeaderErrors::Keep);
        return outcome.Errors.empty() && MacroCommands.Count() == 1 && MacroCommands.Items[0].Valid;
    }
    static const Tlineset& Command(int i) { return MacroCommands.Items[0].Sets[static_cast<std::size_t>(i)]; }
};

QByteArray Samples()
{
    return Sound.Image.mid(44);
}

// The tone of the command made by PlayTone, then again by the other path:
// the same bytes, ToneFrames of them.
bool ToneAgrees(const Tlineset& play, const TScriptVariables& variables, TTonePath other, std::string& why)
{
    PlayTone(play, variables, false, true);
    const QByteArray made = Samples();
    if (Sound.FrameCount() != ToneFrames) {
        why = "the tone has " + std::to_string(Sound.FrameCount()) + " frames";
        return false;
    }
    Sound.Reset();
    SampleTone(play.Args[2], play.Target, 0.0L, 10.0L, variables, other);
    if (Samples() != made) {
        why = "the two paths sampled different bytes";
        return false;
    }
    return true;
}

void TimeTone(benchmark::State& state, const QString& line, const TScriptVariables& variables, TTonePath path)
{
    ScriptBench bench;
    if (!ScriptBench::Compile({line})) {
        FailBenchmark(state, "the tone did not compile");
        return;
    }
    const Tlineset& play = ScriptBench::Command(1);
    std::string why;
    const TTonePath other = path == TTonePath::Arrays ? TTonePath::Scalar : TTonePath::Arrays;
    if (TonePathOf(play.Args[2], play.Target) != path || !ToneAgrees(play, variables, other, why)) {
        FailBenchmark(state, why.empty() ? "the tone takes the other path" : why);
        return;
    }
    for (auto _ : state)
        PlayTone(play, variables, false, true);
    state.counters["frames"] = Sound.FrameCount();
}

void BM_ScriptPlayTone10sArrays(benchmark::State& state)
{
    TimeTone(state, QStringLiteral("Play(x, 0, 10, sin(2·Pi·440·x))"), {}, TTonePath::Arrays);
}
BENCHMARK(BM_ScriptPlayTone10sArrays)->Unit(benchmark::kMillisecond);

// A parameter swept while x is read goes value by value.
void BM_ScriptPlayTone10sScalar(benchmark::State& state)
{
    TScriptVariables half;
    half.X = ValueReal(0.5L);
    TimeTone(state, QStringLiteral("Play(a, 0, 10, x·sin(2·Pi·440·a))"), half, TTonePath::Scalar);
}
BENCHMARK(BM_ScriptPlayTone10sScalar)->Unit(benchmark::kMillisecond);

void BM_ScriptSimpleAssignments(benchmark::State& state)
{
    ScriptBench bench;
    QStringList lines{QStringLiteral("For k := 1 to %1").arg(LoopRounds)};
    for (int i = 0; i < AssignmentsPerRound / 2; ++i)
        lines << QStringLiteral("a := k") << QStringLiteral("b := 2");
    lines << QStringLiteral("Next");
    if (!ScriptBench::Compile(lines)) {
        FailBenchmark(state, "the loop did not compile");
        return;
    }
    RunScript(0);
    const TParameter* params = &DocumentTables.Params[0];
    if (params[1].Value != LoopRounds || params[2].Value != 2.0L || params[14].Value != LoopRounds) {
        FailBenchmark(state, "the loop did not end with a = k = " + std::to_string(LoopRounds));
        return;
    }
    for (auto _ : state)
        RunScript(0);
    state.counters["assignments/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * LoopRounds * AssignmentsPerRound, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptSimpleAssignments)->Unit(benchmark::kMillisecond);

void BM_ScriptDrawLoopMovingAPoint(benchmark::State& state)
{
    ScriptBench bench;
    TPointFunction& p = DocumentTables.Points[1];
    p = DefaultPoint;
    p.Kind = ObjectPoint;
    p.Pos.Text = QStringLiteral("(0, 0)");
    JoinPointTexts(p, PointTextDirection::Split);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
        PrepareExpression(*f, 1);
    if (!ScriptBench::Compile({QStringLiteral("For k := 1 to %1").arg(Frames), QStringLiteral("P := (k/20 - 1.5, sin(k/10))"),
                               QStringLiteral("Draw"), QStringLiteral("Next")})) {
        FailBenchmark(state, "the loop did not compile");
        return;
    }
    const int before = RedrawCounters.Redraws;
    RunScript(0);
    // A redraw each frame, and one at the end for the last step of k.
    if (RedrawCounters.Redraws - before != Frames + 1 || p.X.Text != QStringLiteral("1.5")) {
        FailBenchmark(state, std::to_string(RedrawCounters.Redraws - before) + " redraws, P.x " + p.X.Text.toStdString());
        return;
    }
    for (auto _ : state)
        RunScript(0);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Frames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptDrawLoopMovingAPoint)->Unit(benchmark::kMillisecond);

} // namespace
