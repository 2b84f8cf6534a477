// Costs of turning formula text into compiled code, and of the reference walks.
#include "engine/Compiler.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/ProgramState.h"

#include <benchmark/benchmark.h>

namespace {

void StartEngine()
{
    static const bool started = [] {
        InitTokenTables();
        ResetDocument();
        return true;
    }();
    (void)started;
}

// About sixty tokens once scanned.
const QString LongFormula = QStringLiteral("Sum(k,1,10,k^2)+sin(x)^2+3x/(a+b)-max(1,2,3,4)+f'(x)·[PQ]+log(2,8)·c-Sqrt(2.5)");

void BM_PrepareExpression60Tokens(benchmark::State& state)
{
    StartEngine();
    TKavirofunction f;
    for (auto _ : state) {
        f = BlankFunction;
        f.Text = LongFormula;
        benchmark::DoNotOptimize(PrepareExpression(f, ModePlain));
    }
    state.counters["tokens"] = static_cast<double>(f.NormText.size());
}
BENCHMARK(BM_PrepareExpression60Tokens)->Unit(benchmark::kMicrosecond);

void Prepare(TKavirofunction& f, const QString& text, int mode)
{
    f = BlankFunction;
    f.Text = text;
    PrepareExpression(f, mode);
}

// A full document: every function, relation, object formula and user function in use.
void FillDocument()
{
    TDocumentTables& d = DocumentTables;
    for (int k = 1; k <= FunctionCount; ++k)
        Prepare(d.Functions[k].Func, QStringLiteral("a·sin(%1x)+b·x^2-c/(1+x^2)").arg(k), ModeFunction);
    for (int k = 1; k <= RelationCount; ++k)
        Prepare(d.Relations[k].Func, QStringLiteral("x^2+y^2<%1 and y>a·x").arg(k), ModeRelation);
    for (int n = 1; n <= PointCount; ++n) {
        TPointFunction& p = d.Points[n];
        p.Kind = ObjectCircle;
        Prepare(p.X, QStringLiteral("%1+cos(t)·a").arg(n), n);
        Prepare(p.Y, QStringLiteral("sin(t)·b-%1").arg(n), n);
        Prepare(p.R, QStringLiteral("abs(c)+0.5"), n);
        Prepare(p.Low, QStringLiteral("-Pi"), n);
        Prepare(p.High, QStringLiteral("Pi"), n);
    }
    for (int k = 1; k <= UserFunctionCount; ++k)
        Prepare(d.UserFunctions[k], QStringLiteral("x^%1+y·r-@").arg(k), ModeUserFunction);
}

void BM_RecompileDocument(benchmark::State& state)
{
    StartEngine();
    for (auto _ : state)
        FillDocument();
    ResetDocument();
}
BENCHMARK(BM_RecompileDocument)->Unit(benchmark::kMillisecond);

// Each function refers to the next one twice, so the number of paths
// doubles with every level; y20 refers to x.
void BM_RefersToTokenFanOut(benchmark::State& state)
{
    StartEngine();
    TDocumentTables& d = DocumentTables;
    for (int k = 1; k < FunctionCount; ++k)
        Prepare(d.Functions[k].Func, QStringLiteral("y%1+y%1").arg(k + 1), ModeFunction);
    Prepare(d.Functions[FunctionCount].Func, QStringLiteral("x"), ModeFunction);
    const TKavirofunction& y1 = d.Functions[1].Func;
    for (auto _ : state)
        benchmark::DoNotOptimize(RefersToToken(TokenCodes.ParamA, y1));
    ResetDocument();
}
BENCHMARK(BM_RefersToTokenFanOut)->Unit(benchmark::kMicrosecond);

} // namespace
