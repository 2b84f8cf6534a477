// Scalar evaluation of compiled formulas, beside muparser evaluating the same
// formulas in its own syntax (double precision, no kinds).
#include "engine/Compiler.h"
#include "engine/EngineStartup.h"
#include "engine/Evaluator.h"
#include "model/DocumentState.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

namespace {

void StartEngine()
{
    static const bool started = [] {
        InitializeEngine();
        ResetDocument();
        TKavirofunction& f = DocumentTables.UserFunctions[1];
        f.Text = QStringLiteral("x^2+1");
        PrepareExpression(f, ModeUserFunction);
        return true;
    }();
    (void)started;
}

TKavirofunction Compiled(const char* text)
{
    TKavirofunction f = BlankFunction;
    f.Text = QString::fromUtf8(text);
    PrepareExpression(f, ModePlain);
    return f;
}

void KaviroEval(benchmark::State& state, const char* text)
{
    StartEngine();
    const TKavirofunction f = Compiled(text);
    long double x = 0.5L;
    for (auto _ : state) {
        const TValue v = EvaluateExpression(f, ValueReal(x));
        benchmark::DoNotOptimize(v);
        x += 1E-6L;
    }
}

void MuParserEval(benchmark::State& state, const char* text)
{
    mu::Parser parser;
    double x = 0.5;
    double a = 1.0;
    parser.DefineVar("x", &x);
    parser.DefineVar("a", &a);
    parser.SetExpr(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.Eval());
        x += 1E-6;
    }
}

BENCHMARK_CAPTURE(KaviroEval, Polynomial, "x^3-2x+1");
BENCHMARK_CAPTURE(MuParserEval, Polynomial, "x^3-2*x+1");
BENCHMARK_CAPTURE(KaviroEval, SinExp, "sin(x)·exp(-x^2/4)+a");
BENCHMARK_CAPTURE(MuParserEval, SinExp, "sin(x)*exp(-x^2/4)+a");
// f = x^2+1; muparser has no derivatives, so it gets the derivative written out.
BENCHMARK_CAPTURE(KaviroEval, UserFunctionAndDerivative, "f(x)+f'(x)");
BENCHMARK_CAPTURE(MuParserEval, UserFunctionAndDerivative, "(x^2+1)+2*x");
BENCHMARK_CAPTURE(KaviroEval, Sum, "Sum(k,1,100,k^2)");
BENCHMARK_CAPTURE(KaviroEval, Integral, "Intgr(x,0,1,x^2)");

} // namespace
