// Array evaluation over every pixel column, beside muparser's bulk mode
// (double precision, one thread) and a hand-written 80-bit loop, which is
// the floor for extended-precision results.
#include "engine/ArrayEvaluator.h"
#include "engine/Compiler.h"
#include "engine/EngineStartup.h"
#include "engine/Evaluator.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int Columns = TColumnArray::Count; // 1612
constexpr long double B = 2.5L;
const int ParamA = 1; // a is the first parameter

struct ArrayBench {
    TArrayView view;
    TColumnArray columnX;
    TColumnArray as; // the varying parameter
    std::unique_ptr<TOffsetArray<TColumnCache, 1, FunctionCount>> caches =
        std::make_unique<TOffsetArray<TColumnCache, 1, FunctionCount>>();
    TOffsetArray<TPointState, 1, PointCount> states;
    std::vector<double> aDouble = std::vector<double>(Columns);

    ArrayBench()
    {
        setenv("OMP_NUM_THREADS", "1", 1);
        InitializeEngine();
        ResetDocument();
        DocumentTables.Params[2].Value = B;
        view.XAxis = TColumnAxis{TColumnArray::First, TColumnArray::Last, -5.0L, 5.0L};
        view.ColumnX = &columnX;
        view.ColumnCaches = caches.get();
        view.PointStates = &states;
        for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c) {
            columnX[c] = ValueReal(-5.0L + (c + 1) * (10.0L / Columns));
            as[c] = ValueReal(0.1L + (c + 1) * 0.01L);
            aDouble[c + 1] = static_cast<double>(as[c].X);
        }
    }
};

ArrayBench& Bench()
{
    static ArrayBench bench;
    return bench;
}

TKavirofunction Compiled(const QString& text, int mode = ModePlain)
{
    TKavirofunction f = BlankFunction;
    f.Text = text;
    PrepareExpression(f, mode);
    return f;
}

void KaviroArrays(benchmark::State& state, const QString& text)
{
    ArrayBench& b = Bench();
    const TKavirofunction f = Compiled(text);
    TColumnArray out;
    for (auto _ : state) {
        EvaluateArrays(f, b.columnX, b.view, ParamA, &b.as, false, out);
        benchmark::DoNotOptimize(out);
    }
    state.counters["ns/column"] =
        benchmark::Counter(static_cast<double>(Columns), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void MuParserBulk(benchmark::State& state, const std::string& text)
{
    ArrayBench& b = Bench();
    mu::Parser parser;
    double bValue = static_cast<double>(B);
    parser.DefineVar("a", b.aDouble.data());
    parser.DefineVar("b", &bValue);
    parser.SetExpr(text);
    std::vector<double> out(Columns);
    for (auto _ : state) {
        parser.Eval(out.data(), Columns);
        benchmark::DoNotOptimize(out.data());
    }
}

// The same formulas written out by hand in 80-bit arithmetic.
template <class F>
void HandLoop(benchmark::State& state, F formula)
{
    ArrayBench& b = Bench();
    std::vector<long double> out(Columns);
    for (auto _ : state) {
        for (int c = 0; c < Columns; ++c)
            out[c] = formula(b.as[c - 1].X, B);
        benchmark::DoNotOptimize(out.data());
    }
}

constexpr long double Pi = std::numbers::pi_v<long double>;

struct Formula {
    QString kaviro;
    std::string muparser;
};

std::vector<Formula> FormulasFromFile()
{
    std::vector<Formula> formulas;
    QFile file(QStringLiteral(KAVIRO_BENCH_DATA "/array_formulas.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return formulas;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'\t');
        if (parts.size() == 2)
            formulas.push_back({parts[0].trimmed(), parts[1].trimmed().toStdString()});
    }
    return formulas;
}

const bool Registered = [] {
    const std::vector<Formula> formulas = FormulasFromFile();
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        const std::string name = std::to_string(i + 1) + ":" + formulas[i].muparser;
        benchmark::RegisterBenchmark(("Array/Kaviro/" + name).c_str(), KaviroArrays, formulas[i].kaviro);
        benchmark::RegisterBenchmark(("Array/MuParserBulk/" + name).c_str(), MuParserBulk, formulas[i].muparser);
    }
    // The hand-written floor for the first six lines of the file.
    using L = long double;
    benchmark::RegisterBenchmark("Array/Hand80bit/1", HandLoop<L (*)(L, L)>, [](L a, L) { return a + 1.1L; });
    benchmark::RegisterBenchmark("Array/Hand80bit/2", HandLoop<L (*)(L, L)>, [](L a, L b) { return a * a + b * b - 25; });
    benchmark::RegisterBenchmark("Array/Hand80bit/3", HandLoop<L (*)(L, L)>,
                                 [](L a, L b) { return std::sin(2.2L * a) + std::cos(Pi / b); });
    benchmark::RegisterBenchmark("Array/Hand80bit/4", HandLoop<L (*)(L, L)>,
                                 [](L a, L b) { return (a * a / std::sin(2 * Pi / b)) - a / 2.2L; });
    benchmark::RegisterBenchmark("Array/Hand80bit/5", HandLoop<L (*)(L, L)>,
                                 [](L a, L b) { return std::sin(a * b) - std::cos(a) + b * b * b / 10; });
    benchmark::RegisterBenchmark("Array/Hand80bit/6", HandLoop<L (*)(L, L)>, [](L a, L b) {
        return std::sqrt(1 - std::sin(2.2L * a) + std::cos(Pi / b) / 3.3L);
    });
    return true;
}();

// An integral per column, as a function y = f(x) draws it.
void KaviroIntegralColumns(benchmark::State& state)
{
    ArrayBench& b = Bench();
    DocumentTables.IntegralInterval.sliceNo = 10;
    const TKavirofunction f = Compiled(QStringLiteral("Intgr(t,0,2,sin(t·x))"), ModeFunction);
    TColumnArray out;
    for (auto _ : state) {
        EvaluateArrays(f, b.columnX, b.view, 0, nullptr, false, out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(KaviroIntegralColumns)->Unit(benchmark::kMillisecond);

} // namespace
