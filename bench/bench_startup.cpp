// The program's start, from the launch of the process to the first full
// redraw of a 20-function project on the screen, under a virtual X server
// (run it inside xvfb-run; scripts/bench.sh does). Each iteration starts the
// built program with KAVIRO_STARTUP_TIMES=1: the program reports its phases
// (launch to main, Qt start, units, windows, options and view, project load,
// redraws, first paint) and ends. The iteration's time is the program's own total, from the
// launch time this benchmark hands it. A run that did not end by itself, open
// the project and draw it fails the benchmark, and the program exits with 1.
#include "BenchSupport.h"
#include "engine/Compiler.h"
#include "engine/EngineStartup.h"
#include "model/DocumentState.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"
#include "session/ProjectFile.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Twenty curves of every common kind.
const char* const Formulas[20] = {
    "sin(x)",        "cos(2x)+1",      "x^2/4-3",       "x^3/10-x",      "sqrt(abs(x))",
    "1/(x-0.5)",     "exp(-x^2)·3",    "ln(abs(x)+1)",  "abs(x)-2",      "tan(x/2)",
    "int(x)/2",      "sin(x)·cos(3x)", "x/(1+x^2)",     "2^(x/3)-2",     "sqrt(9-x^2)",
    "a·sin(b·x)",    "(x-1)(x+2)/4",   "atan(x)·2",     "cosh(x/3)-3",   "max(sin(x),cos(x))",
};

// Writes the project once per run of the benchmark program.
QString WriteProject(const QTemporaryDir& dir)
{
    static bool started = false;
    if (!started) {
        InitializeDocument();
        GraphScale.Startup();
        InitializeEngine();
        started = true;
    }
    ResetDocument();
    for (int i = 1; i <= FunctionCount; ++i) {
        TEquationFunction& f = DocumentTables.Functions[i];
        f.Func = BlankFunction;
        f.Func.Text = QString::fromUtf8(Formulas[i - 1]);
        PrepareExpression(f.Func, ModeFunction);
        f.Color = static_cast<TColor>(0x3F1F7F * i) & 0xBFBFBF;
    }
    ProjectFile.FileName = dir.path() + QStringLiteral("/twenty");
    return SaveKvf() ? ProjectFile.FileName + QStringLiteral(".kvf") : QString();
}

// The program's report: "name=12.3" pairs, and how many redraws there were
// ("redraws=12.3 (2 of them)"), -1 when it does not say.
struct TReport {
    std::map<std::string, double> Phases;
    int Redraws = -1;
};

TReport ParseReport(const QString& text)
{
    TReport report;
    static const QRegularExpression pair(QStringLiteral("([A-Za-z ]+)=([0-9.]+)"));
    static const QRegularExpression redraws(QStringLiteral("redraws=[0-9.]+ \\(([0-9]+) of them\\)"));
    const int start = text.indexOf(QStringLiteral("kaviro start-up (ms):"));
    if (start < 0)
        return report;
    const QString line = text.mid(start + 21);
    auto it = pair.globalMatch(line);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        report.Phases[m.captured(1).trimmed().toStdString()] = m.captured(2).toDouble();
    }
    const QRegularExpressionMatch count = redraws.match(line);
    if (count.hasMatch())
        report.Redraws = count.captured(1).toInt();
    return report;
}

// Why a run does not count, or empty: it must end by itself, open the
// project and draw it (the standard view, then the project).
std::string RunFault(bool ended, int exitCode, const TReport& report)
{
    if (!ended)
        return "the program did not end within 20 s";
    if (exitCode != 0)
        return "the program ended with status " + std::to_string(exitCode);
    for (const char* phase : {"total", "project", "first paint"})
        if (!report.Phases.count(phase))
            return std::string("the program's report has no ") + phase;
    if (report.Redraws < 2)
        return "the program drew " + std::to_string(report.Redraws) + " times, not the standard view and the project";
    return {};
}

void BM_StartToFirstRedraw(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        FailBenchmark(state, "no X display: run inside xvfb-run");
        return;
    }
    QTemporaryDir dir;
    const QString project = WriteProject(dir);
    if (project.isEmpty()) {
        FailBenchmark(state, "the project could not be written");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("KAVIRO_SCREENSHOT"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path()); // no stored settings
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("KAVIRO_STARTUP_TIMES"), QStringLiteral("1"));

    std::map<std::string, double> sums;
    for (auto _ : state) {
        const auto launch = std::chrono::steady_clock::now().time_since_epoch();
        env.insert(QStringLiteral("KAVIRO_LAUNCH_NS"),
                   QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(launch).count()));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KAVIRO_PROGRAM), {project});
        const bool ended = program.waitForFinished(20000);
        const TReport report = ParseReport(QString::fromUtf8(program.readAllStandardError()));
        const std::map<std::string, double>& phases = report.Phases;
        if (const std::string fault = RunFault(ended, program.exitCode(), report); !fault.empty()) {
            FailBenchmark(state, fault);
            return;
        }
        state.SetIterationTime(phases.at("total") / 1000.0);
        for (const auto& [phase, ms] : phases)
            sums[phase] += ms;
    }
    for (const auto& [phase, ms] : sums)
        state.counters[phase + " ms"] = benchmark::Counter(ms, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartToFirstRedraw)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return AnyBenchmarkFailed() ? 1 : 0;
}
