// Array evaluation over every pixel column, beside two double-precision
// references and a hand-written 80-bit loop:
// - muparser's bulk mode with every variable an array (one entry per
//   column), what a caller without uniform values would pass;
// - muparser's bulk mode with b a constant, so that it folds what depends on
//   b alone at compile time, as our evaluator keeps such values single;
// - a loop written out in 80-bit arithmetic with the C library's functions,
//   inlined, with what depends on b alone computed once per pass: the same
//   arithmetic without an interpreter.
// muparser runs on one thread (its OpenMP threads are set to one here).
// Every benchmark checks its numbers against ours before it times anything.
// Times are per pass over all columns; there is no per-column counter, since
// the CSV output that scripts/bench.sh --table reads wants the same counters
// in every benchmark it holds.
#include "BenchSupport.h"

#include "engine/ArrayEvaluator.h"
#include "engine/BlockProgram.h"
#include "engine/Evaluator.h"
#include "model/DocumentState.h"

#include <benchmark/benchmark.h>
#include <muParser.h>
#include <omp.h>

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr long double BValue = 2.5L;
const int ParamA = 1; // a is the first parameter, b the second

// ----- Our array evaluator: the only code that knows its types -------------

constexpr int Columns = TColumnArray::Count; // 1612
using OurResult = TColumnArray;

// The world x of column i (counted from 0) and the value of a there.
long double ColumnXValue(int i)
{
    return -5.0L + i * (10.0L / Columns);
}
long double AValue(int i)
{
    return 0.1L + i * 0.01L;
}

struct OurInputs {
    TArrayView view;
    TColumnArray columnX;
    TColumnArray a;
    TOffsetArray<TPointState, 1, PointCount> states;

    OurInputs()
    {
        view.XAxis = TColumnAxis{TColumnArray::First, TColumnArray::Last, -5.0L, 5.0L};
        view.PointStates = &states;
        for (int i = 0; i < Columns; ++i) {
            columnX.Set(TColumnArray::First + i, ValueReal(ColumnXValue(i)));
            a.Set(TColumnArray::First + i, ValueReal(AValue(i)));
        }
    }
};

OurInputs& Ours()
{
    static OurInputs inputs;
    return inputs;
}

// What our formulas read of the document: b, and the slices of an integral.
void PrepareDocument()
{
    StartEngineOnce();
    DocumentTables.Params[ParamA + 1].Value = BValue;
    DocumentTables.IntegralInterval.sliceNo = 10;
}

// The formula at every column; with varyingA, the parameter a takes
// AValue(i) at column i.
void EvaluateOurs(const TKavirofunction& f, bool varyingA, OurResult& out)
{
    OurInputs& in = Ours();
    EvaluateArrays(f, in.columnX, in.view, varyingA ? ParamA : 0, varyingA ? &in.a : nullptr, false, out);
}

// Column i's real value, or nothing where it is undefined or not a real.
std::optional<long double> OurColumnValue(const OurResult& out, int i)
{
    const TValue v = out.At(TColumnArray::First + i);
    if (!v.Defined || v.Kind != KindReal)
        return std::nullopt;
    return v.X;
}

// ----- The formulas and the references' inputs --------------------------

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

const std::vector<Formula>& Formulas()
{
    static const std::vector<Formula> formulas = FormulasFromFile();
    return formulas;
}

// What muparser reads: a and b as arrays of one double per column.
struct ReferenceInputs {
    std::vector<double> a = std::vector<double>(Columns);
    std::vector<double> b = std::vector<double>(Columns, static_cast<double>(BValue));
    std::vector<long double> aLong = std::vector<long double>(Columns);

    ReferenceInputs()
    {
        omp_set_num_threads(1);
        for (int i = 0; i < Columns; ++i) {
            aLong[i] = AValue(i);
            a[i] = static_cast<double>(aLong[i]);
        }
    }
};

ReferenceInputs& References()
{
    static ReferenceInputs inputs;
    return inputs;
}

enum class BIs { Array, Constant };

// A parser whose _pi is π to double precision: Debian's muparser 2.3.3
// defines it as 3.141592653589, which moves sin(2π/2.5) by 1e-12.
std::unique_ptr<mu::Parser> ParserWithFullPi()
{
    auto parser = std::make_unique<mu::Parser>();
    parser->DefineConst("_pi", std::numbers::pi);
    return parser;
}

// A parser for the formula in bulk mode; throws mu::Parser::exception_type.
std::unique_ptr<mu::Parser> BulkParser(const std::string& text, BIs b)
{
    ReferenceInputs& in = References();
    std::unique_ptr<mu::Parser> parser = ParserWithFullPi();
    parser->DefineVar("a", in.a.data());
    if (b == BIs::Array)
        parser->DefineVar("b", in.b.data());
    else
        parser->DefineConst("b", static_cast<double>(BValue));
    parser->SetExpr(text);
    return parser;
}

std::string ColumnMismatch(const char* what, int i, long double got, long double expected)
{
    std::ostringstream s;
    s.precision(21);
    s << what << " at column " << i << ": " << got << " against " << expected;
    return s.str();
}

// Empty when our result agrees with the reference on every column where ours
// is defined, and ours is defined wherever the reference is finite; otherwise
// the first difference.
template <class Reference>
std::string CompareWithOurs(const char* what, const OurResult& ours, const Reference& reference)
{
    int defined = 0;
    for (int i = 0; i < Columns; ++i) {
        const long double expected = reference[i];
        const std::optional<long double> got = OurColumnValue(ours, i);
        if (!got) {
            if (std::isfinite(expected))
                return ColumnMismatch(what, i, NAN, expected);
            continue;
        }
        ++defined;
        if (!AgreesWithReference(*got, expected))
            return ColumnMismatch(what, i, *got, expected);
    }
    return defined > 0 ? std::string() : std::string(what) + ": no column is defined";
}

// Empty when muparser's bulk results equal its scalar Eval column by column,
// which shows that it read every variable as an array.
std::string CompareBulkWithScalar(const std::string& text, const std::vector<double>& bulk)
{
    ReferenceInputs& in = References();
    double a = 0.0, b = 0.0;
    const std::unique_ptr<mu::Parser> scalar = ParserWithFullPi();
    scalar->DefineVar("a", &a);
    scalar->DefineVar("b", &b);
    scalar->SetExpr(text);
    for (int i = 0; i < Columns; ++i) {
        a = in.a[i];
        b = in.b[i];
        const double expected = scalar->Eval();
        const bool same = bulk[i] == expected || (std::isnan(bulk[i]) && std::isnan(expected));
        if (!same)
            return ColumnMismatch("muparser bulk against its scalar Eval", i, bulk[i], expected);
    }
    return {};
}

// Our result for formula i (from 0) of the file.
OurResult OursForFormula(std::size_t index)
{
    OurResult ours;
    EvaluateOurs(CompiledFormula(Formulas().at(index).kaviro), true, ours);
    return ours;
}

// Checks formula i (from 0) once per run: ours against both muparser
// variants, and muparser's bulk mode against its scalar Eval. Empty when all
// agree.
std::string CheckFormula(std::size_t index)
{
    const Formula& formula = Formulas().at(index);
    const OurResult ours = OursForFormula(index);
    try {
        std::vector<double> arrayB(Columns), constantB(Columns);
        BulkParser(formula.muparser, BIs::Array)->Eval(arrayB.data(), Columns);
        BulkParser(formula.muparser, BIs::Constant)->Eval(constantB.data(), Columns);
        std::string error = CompareBulkWithScalar(formula.muparser, arrayB);
        if (error.empty())
            error = CompareWithOurs("ours against muparser (b an array)", ours, arrayB);
        if (error.empty())
            error = CompareWithOurs("ours against muparser (b constant)", ours, constantB);
        return error;
    } catch (const mu::Parser::exception_type& e) {
        return "muparser: " + e.GetMsg();
    }
}

// False (and the benchmark skipped with the reason) when formula i's check
// failed.
bool FormulaChecked(benchmark::State& state, std::size_t index)
{
    static std::map<std::size_t, std::string> outcomes;
    auto found = outcomes.find(index);
    if (found == outcomes.end())
        found = outcomes.emplace(index, CheckFormula(index)).first;
    if (found->second.empty())
        return true;
    FailBenchmark(state, "formula " + std::to_string(index + 1) + ": " + found->second);
    return false;
}

// ----- The benchmarks -----------------------------------------------------

void OursArrays(benchmark::State& state, std::size_t index)
{
    PrepareDocument();
    if (!FormulaChecked(state, index))
        return;
    const TKavirofunction f = CompiledFormula(Formulas()[index].kaviro);
    OurResult out;
    for (auto _ : state) {
        EvaluateOurs(f, true, out);
        benchmark::DoNotOptimize(out);
    }
}

void MuParserBulk(benchmark::State& state, std::size_t index, BIs b)
{
    PrepareDocument(); // for the check
    if (!FormulaChecked(state, index))
        return;
    const std::unique_ptr<mu::Parser> parser = BulkParser(Formulas()[index].muparser, b);
    std::vector<double> out(Columns);
    for (auto _ : state) {
        parser->Eval(out.data(), Columns);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}

// Formula i written out in 80-bit arithmetic. MakeColumn takes b and returns
// the per-column function of a, having computed what depends on b alone; both
// are inlined, as the template is instantiated per formula.
template <class MakeColumn>
void HandLoop(benchmark::State& state, std::size_t index, MakeColumn makeColumn)
{
    PrepareDocument(); // for the check
    const std::vector<long double>& a = References().aLong;
    std::vector<long double> out(Columns);
    {
        const auto column = makeColumn(BValue);
        for (int i = 0; i < Columns; ++i)
            out[i] = column(a[i]);
        const std::string error = CompareWithOurs("ours against the 80-bit loop", OursForFormula(index), out);
        if (!error.empty())
            return FailBenchmark(state, "formula " + std::to_string(index + 1) + ": " + error);
    }
    for (auto _ : state) {
        long double b = BValue;
        benchmark::DoNotOptimize(b); // b is a value read at run time, as a parameter is
        const auto column = makeColumn(b);
        for (int i = 0; i < Columns; ++i)
            out[i] = column(a[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}

constexpr long double Pi = std::numbers::pi_v<long double>;
using L = long double;

// The first six lines of array_formulas.txt, in the order our evaluator
// computes them.
void RegisterHandLoops()
{
    auto hand = [](int line, auto makeColumn) {
        benchmark::RegisterBenchmark(("Array/Hand80bit/" + std::to_string(line)).c_str(),
                                     HandLoop<decltype(makeColumn)>, static_cast<std::size_t>(line - 1),
                                     makeColumn);
    };
    hand(1, [](L) { return [](L a) { return a + 1.1L; }; });
    hand(2, [](L b) {
        const L bb = b * b;
        return [bb](L a) { return (a * a + bb) - 25; };
    });
    hand(3, [](L b) {
        const L c = std::cos(Pi / b);
        return [c](L a) { return std::sin(2.2L * a) + c; };
    });
    hand(4, [](L b) {
        const L s = std::sin(2 * Pi / b);
        return [s](L a) { return a * a / s - a / 2.2L; };
    });
    hand(5, [](L b) {
        const L c = b * b * b / 10;
        return [b, c](L a) { return (std::sin(a * b) - std::cos(a)) + c; };
    });
    hand(6, [](L b) {
        const L c = std::cos(Pi / b) / 3.3L;
        return [c](L a) { return std::sqrt((1 - std::sin(2.2L * a)) + c); };
    });
}

void FormulasMissing(benchmark::State& state)
{
    FailBenchmark(state, "no formulas read from " KAVIRO_BENCH_DATA "/array_formulas.txt");
}

const bool Registered = [] {
    const std::vector<Formula>& formulas = Formulas();
    if (formulas.empty())
        benchmark::RegisterBenchmark("Array/FormulasMissing", FormulasMissing);
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        const std::string line = std::to_string(i + 1);
        benchmark::RegisterBenchmark(("Array/Kaviro/" + line).c_str(), OursArrays, i);
        benchmark::RegisterBenchmark(("Array/MuParserArrayB/" + line).c_str(), MuParserBulk, i, BIs::Array);
        benchmark::RegisterBenchmark(("Array/MuParserConstB/" + line).c_str(), MuParserBulk, i, BIs::Constant);
    }
    RegisterHandLoops();
    return true;
}();

// An integral per column, as a function y = f(x) draws it, checked against
// the scalar evaluator column by column.
void KaviroIntegralColumns(benchmark::State& state)
{
    PrepareDocument();
    const TKavirofunction f = CompiledFormula(QStringLiteral("Intgr(t,0,2,sin(t·x))"), ModeFunction);
    OurResult out;
    EvaluateOurs(f, false, out);
    std::vector<long double> scalar(Columns);
    for (int i = 0; i < Columns; ++i) {
        const TValue v = EvaluateExpression(f, ValueReal(ColumnXValue(i)));
        scalar[i] = v.Defined ? v.X : NAN;
    }
    const std::string error = CompareWithOurs("array against scalar evaluator", out, scalar);
    if (!error.empty())
        return FailBenchmark(state, error);
    for (auto _ : state) {
        EvaluateOurs(f, false, out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(KaviroIntegralColumns)->Unit(benchmark::kMillisecond);

} // namespace

// ----- Block programs: typical functions and a relation's grid -------------
//
// What a redraw costs: twenty functions a class draws, y = f(x) over 800
// columns, and a relation scanned row by row over an 800 × 800 grid. Each
// is checked against the scalar evaluator, bit for bit, before it is timed,
// and timed once more with block programs switched off (the array machine
// alone).

namespace {

constexpr int ViewColumns = 800;

struct BlockView {
    TArrayView view;
    TColumnArray columnX;
    TOffsetArray<TPointState, 1, PointCount> states;

    BlockView()
    {
        view.XAxis = TColumnAxis{0, ViewColumns - 1, -10.0L, 10.0L};
        view.PointStates = &states;
        for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c)
            columnX.Set(c, ValueReal(-10.0L + c * (20.0L / ViewColumns)));
    }
};

BlockView& TheView()
{
    static BlockView v;
    return v;
}

const char* const TypicalFunctions[] = {
    "x^2",          "x^3-2x+1",          "sin(x)",   "cos(2x)+1", "tan(x)",
    "1/x",          "sqrt(x)",           "abs(x)",   "exp(x)",    "ln(x)",
    "2^x",          "(x^2-1)/(x^2+1)",   "sin(x)/x", "x·sin(x)",  "exp(-x^2/2)",
    "a·x^2+b·x+c", "sqrt(9-x^2)",       "log(x)",   "int(x)",    "Atan(x)",
};

bool SameBits(const TValue& a, const TValue& b)
{
    return a.Kind == b.Kind && a.Defined == b.Defined && a.X == b.X && a.Y == b.Y
           && std::signbit(a.X) == std::signbit(b.X);
}

// Empty when every column equals the scalar evaluator's value at (x, y).
std::string CompareWithScalar(const TKavirofunction& f, const TColumnArray& out, const TValue& y)
{
    const TColumnArray& x = TheView().columnX;
    for (int c = 0; c < ViewColumns; ++c) {
        const TValue scalar = EvaluatePostfix(f, x.At(c), y, ValueReal(0.0L), ValueReal(0.0L));
        if (!SameBits(out.At(c), scalar))
            return ColumnMismatch(f.Text.toUtf8().constData(), c, out.X(c), scalar.X);
    }
    return {};
}

void PrepareBlockDocument()
{
    PrepareDocument();
    DocumentTables.Params[1].Value = 0.5L;
    DocumentTables.Params[3].Value = -1.0L;
    DocumentTables.Params[0].Value = 0.0L;
}

void TypicalFunctions20(benchmark::State& state, bool blocks)
{
    PrepareBlockDocument();
    std::vector<TKavirofunction> formulas;
    for (const char* text : TypicalFunctions)
        formulas.push_back(CompiledFormula(QString::fromUtf8(text), ModeFunction));
    BlockView& v = TheView();
    TColumnArray out;
    BlockPrograms.Enabled = blocks;
    for (const TKavirofunction& f : formulas) {
        EvaluateArrays(f, v.columnX, v.view, 0, nullptr, false, out);
        const std::string error = CompareWithScalar(f, out, ValueReal(0.0L));
        if (!error.empty()) {
            BlockPrograms.Enabled = true;
            return FailBenchmark(state, "against the scalar evaluator: " + error);
        }
    }
    for (auto _ : state) {
        for (const TKavirofunction& f : formulas) {
            EvaluateArrays(f, v.columnX, v.view, 0, nullptr, false, out);
            benchmark::DoNotOptimize(out);
        }
    }
    BlockPrograms.Enabled = true;
}
BENCHMARK_CAPTURE(TypicalFunctions20, BlockPrograms, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TypicalFunctions20, ArrayMachine, false)->Unit(benchmark::kMicrosecond);

// The relation x·y² − sin(x + y) − 1 over 800 rows of 800 columns.
void RelationGrid800(benchmark::State& state, bool blocks)
{
    PrepareBlockDocument();
    const TKavirofunction f = CompiledFormula(QStringLiteral("x·y^2-sin(x+y)-1"));
    BlockView& v = TheView();
    BlockPrograms.Enabled = blocks;
    TRowEvaluator rows(f);
    TColumnArray out;
    auto rowY = [](int row) { return -10.0L + row * (20.0L / ViewColumns); };
    for (int row : {0, 333, 799}) {
        rows.EvaluateRow(v.columnX, DocumentEvalEnv.With(0, rowY(row)), v.view, out);
        const std::string error = CompareWithScalar(f, out, ValueReal(rowY(row)));
        if (!error.empty()) {
            BlockPrograms.Enabled = true;
            return FailBenchmark(state, "row " + std::to_string(row) + " against the scalar evaluator: " + error);
        }
    }
    for (auto _ : state) {
        for (int row = 0; row < ViewColumns; ++row) {
            rows.EvaluateRow(v.columnX, DocumentEvalEnv.With(0, rowY(row)), v.view, out);
            benchmark::DoNotOptimize(out);
        }
    }
    BlockPrograms.Enabled = true;
}
BENCHMARK_CAPTURE(RelationGrid800, BlockPrograms, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RelationGrid800, ArrayMachine, false)->Unit(benchmark::kMillisecond);

} // namespace
