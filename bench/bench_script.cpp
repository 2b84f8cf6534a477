// The script compiler: a document's twenty scripts of fifty lines each cut
// from the note text and compiled (with the parameter rows brought up to
// date, as a project read does), and the keyword classification alone over
// ten thousand lines.
#include "BenchSupport.h"
#include "model/DocumentState.h"
#include "script/ScriptCompiler.h"
#include "session/SessionResets.h"

#include <benchmark/benchmark.h>

#include <QStringList>

namespace {

constexpr int ScriptCount = 20;
constexpr int LinesPerScript = 50;

// One script as a teacher writes them: a header, a trigger, a loop that
// moves a point and draws, a branch, colours, pauses and a tone.
QStringList ScriptOf(int n)
{
    QStringList lines{QStringLiteral("#//Animação %1").arg(n), QStringLiteral("#On a, b Change"),
                      QStringLiteral("#ClrAImg")};
    while (lines.size() < LinesPerScript - 11) {
        const int i = static_cast<int>(lines.size());
        lines << QStringLiteral("#For k := 1 to %1 Step 0.5").arg(i) << QStringLiteral("#P := (k·cos(a·k), k·sin(b·k))")
              << QStringLiteral("#Cells(k, 2) := P.x^2 + %1").arg(i) << QStringLiteral("#If a > k Then c := 1 Else c := 2")
              << QStringLiteral("#Draw // um quadro") << QStringLiteral("#Next");
    }
    lines << QStringLiteral("#While d < 3") << QStringLiteral("#Inc(d, 0.25)") << QStringLiteral("#SetColor(y1, rgb(255, 0, 0))")
          << QStringLiteral("#SetTime(40)") << QStringLiteral("#Wend") << QStringLiteral("#ShowObj(P, y1, L2)")
          << QStringLiteral("#SetArea(-5, -5, 5, 5)") << QStringLiteral("#Play(x, sin(440·x), 0, 1)")
          << QStringLiteral("#Pause(Continua?)") << QStringLiteral("#Call(Animação 1, a, b)")
          << QStringLiteral("#End");
    return lines;
}

QStringList NoteText()
{
    QStringList lines{QStringLiteral("Notas da aula {a}"), QString()};
    for (int n = 1; n <= ScriptCount; ++n)
        lines << ScriptOf(n) << QString();
    return lines;
}

void BM_CompileScripts20Of50Lines(benchmark::State& state)
{
    StartEngineOnce();
    RegisterSessionResets();
    ResetAllGlobals();
    const QStringList lines = NoteText();
    const TScriptsOutcome outcome = CompileScripts(lines, THeaderErrors::Keep);
    if (!outcome.Compiled || MacroCommands.Count() != ScriptCount
        || MacroCommands.Items[0].Lines.size() != LinesPerScript) {
        FailBenchmark(state, outcome.Errors.empty() ? "the scripts were not cut as written"
                                                    : outcome.Errors.front().Message.toStdString());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(CompileScripts(lines, THeaderErrors::Keep));
    state.counters["lines"] = static_cast<double>(lines.size());
    ResetAllGlobals();
}
BENCHMARK(BM_CompileScripts20Of50Lines)->Unit(benchmark::kMillisecond);

void BM_ClassifyScriptLines10000(benchmark::State& state)
{
    QStringList lines;
    while (lines.size() < 10000)
        lines << ScriptOf(static_cast<int>(lines.size()));
    lines = lines.mid(0, 10000);
    if (ClassifyScriptLine(lines[2]) != ScriptClearAllTraces || ClassifyScriptLine(lines[4]) != ScriptAssign) {
        FailBenchmark(state, "lines classified wrongly");
        return;
    }
    for (auto _ : state) {
        int sum = 0;
        for (const QString& line : lines)
            sum += ClassifyScriptLine(line);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ClassifyScriptLines10000)->Unit(benchmark::kMillisecond);

} // namespace
