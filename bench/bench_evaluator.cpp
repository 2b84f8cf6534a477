// Scalar evaluation of compiled formulas, beside muparser evaluating the same
// formulas in its own syntax (double precision, no kinds). Formulas muparser
// cannot write (derivatives, sums, integrals) run alone and are checked
// against their values in closed form; they have no ratio.
#include "BenchSupport.h"

#include "engine/Evaluator.h"
#include "engine/ScalarProgram.h"
#include "model/DocumentState.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <sstream>
#include <string>

namespace {

using L = long double;

// The benchmarks start at x = 0.5 and creep upwards; the checks also look
// at other signs and sizes.
constexpr L CheckXs[] = {0.5L, -1.75L, 3.0L};
constexpr double ParamAValue = 1.0;

// What the formulas read of the document: a, and f = x²+1.
void PrepareDocument()
{
    StartEngineOnce();
    DocumentTables.Params[1].Value = ParamAValue;
    TKavirofunction& f = DocumentTables.UserFunctions[1];
    f.Text = QStringLiteral("x^2+1");
    PrepareExpression(f, ModeUserFunction);
}

struct MuParserAtX {
    mu::Parser parser;
    double x = 0.5;
    double a = ParamAValue;

    explicit MuParserAtX(const char* text)
    {
        parser.DefineVar("x", &x);
        parser.DefineVar("a", &a);
        parser.SetExpr(text);
    }
    L operator()(L at)
    {
        x = static_cast<double>(at);
        return parser.Eval();
    }
};

// False (and the benchmark skipped) unless our formula agrees with the
// reference at every check point.
template <class Reference>
bool OursAgrees(benchmark::State& state, const TKavirofunction& f, Reference&& reference)
{
    for (const L x : CheckXs) {
        const TValue ours = EvaluateExpression(f, ValueReal(x));
        const L expected = reference(x);
        if (!ours.Defined || !AgreesWithReference(ours.X, expected)) {
            std::ostringstream s;
            s.precision(21);
            s << f.Text.toStdString() << " at x = " << x << ": " << (ours.Defined ? ours.X : NAN) << " against "
              << expected;
            FailBenchmark(state, s.str());
            return false;
        }
    }
    return true;
}

void TimeOurs(benchmark::State& state, const TKavirofunction& f)
{
    L x = CheckXs[0];
    for (auto _ : state) {
        const TValue v = EvaluateExpression(f, ValueReal(x));
        benchmark::DoNotOptimize(v);
        x += 1E-6L;
    }
}

void KaviroEval(benchmark::State& state, const char* text, const char* muparserText)
{
    PrepareDocument();
    const TKavirofunction f = CompiledFormula(QString::fromUtf8(text));
    if (OursAgrees(state, f, MuParserAtX(muparserText)))
        TimeOurs(state, f);
}

void MuParserEval(benchmark::State& state, const char* text, const char* muparserText)
{
    PrepareDocument();
    MuParserAtX reference(muparserText);
    if (!OursAgrees(state, CompiledFormula(QString::fromUtf8(text)), reference))
        return;
    reference.x = static_cast<double>(CheckXs[0]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(reference.parser.Eval());
        reference.x += 1E-6;
    }
}

template <class ClosedForm>
void KaviroAlone(benchmark::State& state, const char* text, ClosedForm closedForm)
{
    PrepareDocument();
    const TKavirofunction f = CompiledFormula(QString::fromUtf8(text));
    if (OursAgrees(state, f, closedForm))
        TimeOurs(state, f);
}

L UserFunctionAndDerivative(L x)
{
    return (x * x + 1) + 2 * x;
}
L SumOfSquaresTo100(L)
{
    return 338350;
}
L IntegralOfSquareOn01(L)
{
    return 1.0L / 3;
}

BENCHMARK_CAPTURE(KaviroEval, Polynomial, "x^3-2x+1", "x^3-2*x+1");
BENCHMARK_CAPTURE(MuParserEval, Polynomial, "x^3-2x+1", "x^3-2*x+1");
BENCHMARK_CAPTURE(KaviroEval, SinExp, "sin(x)·exp(-x^2/4)+a", "sin(x)*exp(-x^2/4)+a");
BENCHMARK_CAPTURE(MuParserEval, SinExp, "sin(x)·exp(-x^2/4)+a", "sin(x)*exp(-x^2/4)+a");
// A user function (f = x²+1) called by the formula; muparser reads it
// written out, as it has no user functions of its own.
BENCHMARK_CAPTURE(KaviroEval, UserFunction, "f(x)·a-3x", "(x^2+1)*a-3*x");
BENCHMARK_CAPTURE(MuParserEval, UserFunction, "f(x)·a-3x", "(x^2+1)*a-3*x");
// The same on the stack machine alone, without the scalar programs: the
// time they save, measured in the same run.
void KaviroMachineEval(benchmark::State& state, const char* text, const char* muparserText)
{
    ScalarPrograms.Enabled = false;
    KaviroEval(state, text, muparserText);
    ScalarPrograms.Enabled = true;
}
BENCHMARK_CAPTURE(KaviroMachineEval, Polynomial, "x^3-2x+1", "x^3-2*x+1");
BENCHMARK_CAPTURE(KaviroMachineEval, SinExp, "sin(x)·exp(-x^2/4)+a", "sin(x)*exp(-x^2/4)+a");
BENCHMARK_CAPTURE(KaviroMachineEval, UserFunction, "f(x)·a-3x", "(x^2+1)*a-3*x");
// f = x²+1; the derivative is computed from samples of f.
BENCHMARK_CAPTURE(KaviroAlone, UserFunctionAndDerivative, "f(x)+f'(x)", UserFunctionAndDerivative);
BENCHMARK_CAPTURE(KaviroAlone, Sum, "Sum(k,1,100,k^2)", SumOfSquaresTo100);
// Gauss–Legendre is exact on x² whatever the number of slices.
BENCHMARK_CAPTURE(KaviroAlone, Integral, "Intgr(x,0,1,x^2)", IntegralOfSquareOn01);

// Parts of the polynomial, to see where the scalar machine spends its time.
BENCHMARK_CAPTURE(KaviroEval, PartX, "x", "x");
BENCHMARK_CAPTURE(KaviroEval, PartCube, "x^3", "x^3");
BENCHMARK_CAPTURE(KaviroEval, PartProduct, "2x", "2*x");
BENCHMARK_CAPTURE(KaviroEval, PartSum, "x+1", "x+1");

// Formulas that would run for minutes end undefined within the work budget
// of one evaluation; each run is one evaluation at the default budget.
void KaviroEndsUndefined(benchmark::State& state, const char* userFunctionG, const char* text, long double x)
{
    PrepareDocument();
    TKavirofunction& g = DocumentTables.UserFunctions[2];
    g.Text = QString::fromUtf8(userFunctionG);
    PrepareExpression(g, ModeUserFunction);
    const TKavirofunction f = CompiledFormula(QString::fromUtf8(text));
    for (auto _ : state) {
        const TValue v = EvaluateExpression(f, ValueReal(x));
        if (v.Defined || LastEvaluationEnd() != TEvaluationEnd::OverBudget) {
            FailBenchmark(state, std::string(text) + " did not end over budget");
            break;
        }
    }
    g = BlankFunction;
}
BENCHMARK_CAPTURE(KaviroEndsUndefined, HugeSum, "", "Sum(k,0,10^9,1)", 0.0L)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KaviroEndsUndefined, CircularDerivative, "g'(x^2) or 1", "g(x)", 1.5L)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
