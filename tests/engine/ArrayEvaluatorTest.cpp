#include "engine/ArrayEvaluator.h"
#include "engine/BlockProgram.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "engine/TokenCode.h"
#include "model/DocumentState.h"
#include "tests/ExtendedNear.h"
#include "tests/QtPrinters.h"
#include "tests/engine/CorpusSupport.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The view's graph caches as the evaluator sees them, kept by the test.
class TestGraphColumns final : public GraphColumns {
public:
    const TColumnArray& ColumnX() const override { return X; }
    const TColumnArray* ValidCache(int k) const override { return Current[k] ? &Values[k] : nullptr; }
    const TColumnArray& RefreshCache(int k, const Fill& fill) override
    {
        fill(Values[k]);
        Current[k] = true;
        ++Refreshes;
        return Values[k];
    }
    const TColumnArray& OverwriteCache(int k, const Fill& fill) override
    {
        fill(Values[k]);
        Current[k] = false;
        return Values[k];
    }

    TColumnArray X;
    TOffsetArray<TColumnArray, 1, FunctionCount> Values;
    TOffsetArray<bool, 1, FunctionCount> Current = TOffsetArray<bool, 1, FunctionCount>::filledWith(false);
    int Refreshes = 0;
};

// The default view: -5..5 over 400 columns, y likewise.
class ArrayEvaluatorTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ResetDocument();
        view.XAxis = TColumnAxis{0, 400, -5.0L, 5.0L};
        view.YUnitsPerPixel = 10.0L / 400.0L;
        view.Graphs = graphs.get();
        view.PointStates = &states;
        for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c)
            graphs->X.Set(c, ValueReal(-5.0L + c * (10.0L / 400.0L)));
        SetPoint(1, 1.0L, 2.0L);
        SetPoint(2, 4.0L, 5.0L);
        DefineCorpusUserFunctions();
    }
    void TearDown() override
    {
        ResetDocument();
        EngineTest::TearDown();
    }

    static TKavirofunction Compiled(const QString& text, int mode = ModePlain)
    {
        TKavirofunction f = BlankFunction;
        f.Text = text;
        PrepareExpression(f, mode);
        return f;
    }
    // An object as the redraw would leave it: formulas and evaluated state.
    void SetPoint(int i, long double x, long double y)
    {
        TPointFunction& p = DocumentTables.Points[i];
        p.Kind = ObjectPoint;
        p.Pos.Text = QStringLiteral("(%1,%2)").arg(static_cast<double>(x)).arg(static_cast<double>(y));
        JoinPointTexts(p, PointTextDirection::Split);
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
            PrepareExpression(*f, i);
        states[i].Kind = 1;
        states[i].X = x;
        states[i].Y = y;
    }
    static void SetUserFunction(int k, const char* text)
    {
        DocumentTables.UserFunctions[k] = Compiled(QString::fromUtf8(text), ModeUserFunction);
    }
    TColumnArray Columns(const TKavirofunction& f, bool refresh = false)
    {
        TColumnArray out;
        EvaluateArrays(f, columnX, view, 0, nullptr, refresh, out);
        return out;
    }

    TArrayView view;
    std::unique_ptr<TestGraphColumns> graphs = std::make_unique<TestGraphColumns>();
    const TColumnArray& columnX = graphs->X;
    TOffsetArray<TPointState, 1, PointCount> states;
};

// Every formula of the corpus in real, complex and degree mode, with x over
// the columns and once more with the parameter a varying too: the block
// program, the array machine alone and the scalar evaluator agree at every
// column, to the bit and the sign of zero.
TEST_F(ArrayEvaluatorTest, EveryColumnEqualsTheScalarEvaluator)
{
    const QStringList formulas = Corpus();
    ASSERT_GE(formulas.size(), 300);
    struct Mode {
        const char* name;
        std::uint8_t complex;
        std::uint8_t angle;
        bool varyingA;
    };
    TColumnArray as;
    for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c)
        as.Set(c, ValueReal(-3.0L + c / 50.0L));
    const int a = ParamIndexOfToken(Vocabulary.ParamTokens[1]);
    int blockRuns = 0;
    for (const Mode mode : {Mode{"real", 0, 1, false}, Mode{"complex", 1, 1, false}, Mode{"degree", 0, 2, false},
                            Mode{"varying a", 0, 1, true}, Mode{"varying a, degree", 0, 2, true}}) {
        Options.ComplexMode = mode.complex;
        Options.AngleMode = mode.angle;
        for (const QString& text : formulas) {
            const TKavirofunction f = Compiled(text);
            ASSERT_FALSE(f.Code.isEmpty()) << text.toStdString();
            const int varying = mode.varyingA ? a : 0;
            const TColumnArray* values = mode.varyingA ? &as : nullptr;
            TColumnArray block, machine;
            const long long runs = BlockPrograms.ThisThread().Runs;
            EvaluateArrays(f, columnX, view, varying, values, false, block);
            blockRuns += BlockPrograms.ThisThread().Runs > runs;
            BlockPrograms.Enabled = false;
            EvaluateArrays(f, columnX, view, varying, values, false, machine);
            BlockPrograms.Enabled = true;
            int mismatches = 0;
            for (int c = view.XAxis.Vlow; c <= view.XAxis.VHigh && mismatches < 3; ++c) {
                const TEvalEnv env = mode.varyingA ? DocumentEvalEnv.With(a, as.X(c)) : DocumentEvalEnv;
                const TValue scalar = EvaluateExpression(f, columnX.At(c), env);
                if (!SameValue(block.At(c), scalar) || !SameValue(machine.At(c), scalar)) {
                    ++mismatches;
                    ADD_FAILURE() << mode.name << " " << text.toStdString() << " at column " << c << ": block "
                                  << Describe(block.At(c)) << ", array machine " << Describe(machine.At(c))
                                  << ", scalar " << Describe(scalar);
                }
            }
        }
    }
    // Most of the corpus runs on block programs (the rest needs pairs,
    // binders, objects or user functions).
    EXPECT_GT(blockRuns, 3 * formulas.size());
}

// Rows at one y after another, as relation scans evaluate: the same values
// as the scalar evaluator at (x, y), with a program or without one. The
// row's y is bound for what the formula evaluates inside too (the fit of
// cof reads it), and nothing is written to the parameters.
TEST_F(ArrayEvaluatorTest, RowsAtFixedYEqualTheScalarEvaluator)
{
    const std::pair<const char*, bool> cases[] = {
        {"x·y^2-sin(x+y)-1", true}, {"y<x^2 and x>-1", true},       {"sqrt(y-x)+ln(y)", true},
        {"(x,y).x+y", false},       {"Sum(k,1,3,k·x)-y", false},    {"cof(1,x·y)-x", false},
        {"Sum(k,1,2,h(x))-y", false},
    };
    const TParamTable before = DocumentTables.Params;
    for (const auto& [text, hasProgram] : cases) {
        const TKavirofunction f = Compiled(QString::fromUtf8(text));
        TRowEvaluator rows(f);
        EXPECT_EQ(rows.HasProgram(), hasProgram) << text;
        TColumnArray out;
        for (long double y : {-2.5L, 0.0L, 1.0L / 3.0L, 4.0L}) {
            const TEvalEnv row = DocumentEvalEnv.With(0, y);
            rows.EvaluateRow(columnX, row, view, out);
            for (int c = view.XAxis.Vlow; c <= view.XAxis.VHigh; c += 7) {
                const TValue scalar =
                    EvaluatePostfix(f, columnX.At(c), ValueReal(y), ValueReal(0.0L), ValueReal(0.0L), row);
                ASSERT_TRUE(SameValue(out.At(c), scalar)) << text << " y " << static_cast<double>(y) << " column "
                                                          << c << ": " << Describe(out.At(c)) << " against "
                                                          << Describe(scalar);
            }
            EXPECT_FALSE(out.Defined(view.XAxis.VHigh + 1));
        }
    }
    // The coefficient of x in x·y is the row's y.
    const TKavirofunction cof = Compiled(QStringLiteral("cof(1,x·y)"));
    TRowEvaluator rows(cof);
    TColumnArray out;
    rows.EvaluateRow(columnX, DocumentEvalEnv.With(0, 4.0L), view, out);
    EXPECT_EQ(out.X(123), 4.0L);
    EXPECT_EQ(DocumentTables.Params, before);
}

// A program is compiled once per formula and lanes, rebuilt when the code
// changes; what it cannot compute goes to the array machine.
TEST_F(ArrayEvaluatorTest, ProgramsFollowTheirFormula)
{
    TKavirofunction f = Compiled(QStringLiteral("x^2+1"));
    Columns(f);
    const long long compiles = BlockPrograms.ThisThread().Compiles;
    const long long runs = BlockPrograms.ThisThread().Runs;
    EXPECT_EQ(Columns(f).X(280), 5.0L); // x = 2
    EXPECT_EQ(BlockPrograms.ThisThread().Compiles, compiles);
    EXPECT_EQ(BlockPrograms.ThisThread().Runs, runs + 1);

    f.Text = QStringLiteral("x^3+1");
    PrepareExpression(f, ModePlain);
    EXPECT_EQ(Columns(f).X(280), 9.0L);
    EXPECT_EQ(BlockPrograms.ThisThread().Compiles, compiles + 1);

    // A copy of the record shares what was compiled for it.
    const TKavirofunction copy = f;
    EXPECT_EQ(Columns(copy).X(280), 9.0L);
    EXPECT_EQ(BlockPrograms.ThisThread().Compiles, compiles + 1);

    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("x^2"), ModeFunction);
    // Pairs, binders, objects, user functions (whose bodies have programs of
    // their own), "=" and random numbers per column run on the array
    // machine; a graph name's formula may have a program.
    const std::pair<const char*, int> cases[] = {
        {"(x,1).x+1", 0}, {"Sum(k,1,2,k)+x", 0}, {"P.x+x", 0}, {"x=2", 0}, {"rnd(x+6)+x", 0},
        {"f(x)", 1},      {"y1+1", 1},
    };
    for (const auto& [text, programs] : cases) {
        const long long before = BlockPrograms.ThisThread().Runs;
        Columns(Compiled(QString::fromUtf8(text)));
        EXPECT_EQ(BlockPrograms.ThisThread().Runs - before, programs) << text;
    }
    // In complex mode a program that could meet complex values gives way.
    Options.ComplexMode = 1;
    const long long before = BlockPrograms.ThisThread().Runs;
    EXPECT_TRUE(SameValue(Columns(Compiled(QStringLiteral("sqrt(x)"))).At(40), ValueUndefined(KindReal)));
    EXPECT_TRUE(SameValue(Columns(Compiled(QStringLiteral("sin(x)+x"))).At(200), ValueReal(0.0L)));
    EXPECT_EQ(BlockPrograms.ThisThread().Runs, before + 1);
}

TEST_F(ArrayEvaluatorTest, ColumnsOutsideTheRangeAreUndefined)
{
    view.XAxis.VHigh = 200;
    TColumnArray out;
    out.Fill(TColumnArray::First, TColumnArray::Last, ValuePoint(99.0L, 1.0L));
    EvaluateArrays(Compiled(QStringLiteral("x+1")), columnX, view, 0, nullptr, false, out);
    for (int c : {-1, 201, TColumnArray::Last})
        EXPECT_TRUE(SameValue(out.At(c), ValueUndefined(KindReal))) << c;
    EXPECT_TRUE(SameValue(out.At(200), ValueReal(columnX.X(200) + 1.0L)));
}

TEST_F(ArrayEvaluatorTest, ConstantsFillEveryColumn)
{
    const TColumnArray out = Columns(Compiled(QStringLiteral("3"), ModeFunction));
    for (int c = 0; c <= 400; ++c)
        ASSERT_EQ(out.X(c), 3.0L) << c;
}

TEST_F(ArrayEvaluatorTest, EquationHoldsAtOneColumn)
{
    // x = 2 as a relation: the column nearest to x = 2 only.
    const TColumnArray out = Columns(Compiled(QStringLiteral("x=2")));
    int holding = 0;
    int where = -1;
    for (int c = 0; c <= 400; ++c) {
        if (out.Defined(c)) {
            ++holding;
            where = c;
        }
    }
    EXPECT_EQ(holding, 1);
    EXPECT_EQ(where, 280); // -5 + 280 / 40 = 2
    // A curve that touches zero between columns is found by its minimum.
    const TColumnArray touch = Columns(Compiled(QStringLiteral("(x-0.0101)^2=0")));
    EXPECT_TRUE(touch.Defined(200));
    EXPECT_FALSE(touch.Defined(190));
}

TEST_F(ArrayEvaluatorTest, GraphNamesUseTheirColumnCache)
{
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("x^2"), ModeFunction);
    const TKavirofunction uses = Compiled(QStringLiteral("y1+1"), ModeFunction);
    TColumnArray out = Columns(uses);
    EXPECT_EQ(out.X(240), 2.0L); // x = 1
    EXPECT_TRUE(graphs->Current[1]);
    EXPECT_EQ(graphs->Refreshes, 1);

    // A current cache is reused as it stands...
    graphs->Values[1].Set(240, ValueReal(41.0L));
    out = Columns(uses);
    EXPECT_EQ(out.X(240), 42.0L);
    EXPECT_EQ(graphs->Refreshes, 1);
    // ...unless the refresh flag asks for the function again: over other
    // inputs, so the cache is no longer current for the view.
    out = Columns(uses, true);
    EXPECT_EQ(out.X(240), 2.0L);
    EXPECT_EQ(graphs->Values[1].X(240), 1.0L);
    EXPECT_FALSE(graphs->Current[1]);
    // One that is not current is computed over the view's columns first,
    // also while a parameter varies.
    TColumnArray ts;
    ts.Fill(TColumnArray::First, TColumnArray::Last, ValueReal(7.0L));
    const int t = ParamIndexOfToken(Vocabulary.ParamTokens[10]);
    EvaluateArrays(Compiled(QStringLiteral("y1+t")), graphs->X, view, t, &ts, false, out);
    EXPECT_EQ(out.X(240), 8.0L);
    EXPECT_TRUE(graphs->Current[1]);
    EXPECT_EQ(graphs->Refreshes, 2);
    // Without the view's caches a graph name is undefined.
    view.Graphs = nullptr;
    EXPECT_FALSE(Columns(uses).Defined(240));
}

TEST_F(ArrayEvaluatorTest, BinderBoundsComeFromTheFirstColumn)
{
    // Bounds that depend on x take the value at column 0 (x = -5): an empty sum.
    const TColumnArray out = Columns(Compiled(QStringLiteral("Sum(k,1,x,k)")));
    EXPECT_TRUE(SameValue(out.At(300), ValueReal(0.0L)));
    EXPECT_EQ(DocumentTables.Params[14].Value, 1.0L);
}

TEST_F(ArrayEvaluatorTest, VaryingParameterAndObjects)
{
    // A point whose position uses t, drawn as its locus over t.
    TPointFunction& p = DocumentTables.Points[3];
    p.Kind = ObjectPoint;
    p.Pos = Compiled(QStringLiteral("(t, 2t)"), 3);
    TColumnArray ts;
    for (int c = -1; c <= 1610; ++c)
        ts.Set(c, ValueReal(c / 100.0L));
    const int t = ParamIndexOfToken(Vocabulary.ParamTokens[10]);
    TColumnArray out;
    EvaluateArrays(Compiled(QStringLiteral("R")), columnX, view, t, &ts, false, out);
    EXPECT_TRUE(SameValue(out.At(150), ValuePoint(1.5L, 3.0L)));
    EvaluateArrays(Compiled(QStringLiteral("t^2")), columnX, view, t, &ts, false, out);
    EXPECT_EQ(out.X(30), 0.09L);
    EXPECT_EQ(out.Y(150), 0.0L);

    // A binder over the varying parameter binds it inside its body.
    EvaluateArrays(Compiled(QStringLiteral("Sum(t,1,3,t)+t")), columnX, view, t, &ts, false, out);
    EXPECT_EQ(out.X(150), 7.5L);
    EvaluateArrays(Compiled(QStringLiteral("Intgr(t,0,1,t)·t")), columnX, view, t, &ts, false, out);
    EXPECT_EXTENDED_NEAR(out.X(200), 1.0L, 1e-18L);
}

TEST_F(ArrayEvaluatorTest, PathWithoutArgumentsIsUndefined)
{
    // A count of 0 before "path", as a damaged formula could hold it.
    TKavirofunction f = Compiled(QStringLiteral("path()+x"));
    CompileFormula(f, ModePlain, true); // keeps the code that does not balance
    ASSERT_FALSE(f.Code.isEmpty());
    f.Code[0] = QChar(ConstantCode(0));
    ASSERT_EQ(f.ConstValues[0].X, 0.0L);
    const TColumnArray out = Columns(f);
    for (int c = 0; c <= 400; c += 100)
        EXPECT_FALSE(out.Defined(c)) << c;
}

TEST_F(ArrayEvaluatorTest, DerivativesAndAntiderivativesOverColumns)
{
    SetUserFunction(3, "x^3");
    const TColumnArray d1 = Columns(Compiled(QStringLiteral("h'(x)")));
    EXPECT_EXTENDED_NEAR(d1.X(280), 12.0L, 1e-13L); // x = 2
    const TColumnArray d2 = Columns(Compiled(QStringLiteral("h''(x)")));
    EXPECT_EXTENDED_NEAR(d2.X(280), 12.0L, 1e-11L);
    const TColumnArray big = Columns(Compiled(QStringLiteral("H(x)")));
    EXPECT_EXTENDED_NEAR(big.X(280), 4.0L, 1e-18L); // 2^4 / 4

    // A range of columns that ends at x = 0 still spreads the fit's nodes.
    view.XAxis = TColumnAxis{0, 200, -5.0L, 0.0L};
    const TColumnArray toZero = Columns(Compiled(QStringLiteral("H(x)")));
    EXPECT_EQ(columnX.X(200), 0.0L);
    EXPECT_EXTENDED_NEAR(toZero.X(40), 64.0L, 1e-12L); // x = -4
}

TEST_F(ArrayEvaluatorTest, CyclesAndDeepNestingStayBounded)
{
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("y2"), ModeFunction);
    DocumentTables.Functions[2].Func = Compiled(QStringLiteral("y1+x"), ModeFunction);
    const TColumnArray out = Columns(Compiled(QStringLiteral("y1")), true);
    EXPECT_FALSE(out.Defined(100));
    SetUserFunction(4, "f1(x)+1");
    EXPECT_FALSE(Columns(Compiled(QStringLiteral("f1(x)"))).Defined(100));

    // Cycles that branch end as soon as one branch reaches the limit.
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("y2+y2"), ModeFunction);
    DocumentTables.Functions[2].Func = Compiled(QStringLiteral("y1·y1+x"), ModeFunction);
    EXPECT_FALSE(Columns(Compiled(QStringLiteral("y1")), true).Defined(100));
    SetUserFunction(5, "f2'(x)+f2(x)");
    EXPECT_FALSE(Columns(Compiled(QStringLiteral("f2(x)"))).Defined(100));
    EXPECT_EQ(Columns(Compiled(QStringLiteral("x+1"))).X(200), 1.0L);
}

// A column reads back exactly what was stored; the Y lane appears with the
// first non-zero Y and not before.
TEST(ColumnArrayTest, ColumnsReadBackWhatWasStored)
{
    TColumnArray a;
    const TValue values[] = {ValueReal(2.5L), ValueUndefined(KindPair), ValueUndefined(KindNone), SZeroValue,
                             ValueReal(-0.0L)};
    for (int i = 0; i < 5; ++i)
        a.Set(i, values[i]);
    EXPECT_FALSE(a.HasYLane());
    a.Fill(10, 12, ValuePoint(1.0L, -0.0L));
    EXPECT_TRUE(a.HasYLane());
    a.Set(20, ValuePoint(3.0L, 4.0L));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(SameValue(a.At(i), values[i])) << i;
    EXPECT_TRUE(SameValue(a.At(11), ValuePoint(1.0L, -0.0L)));
    EXPECT_TRUE(SameValue(a.At(20), ValuePoint(3.0L, 4.0L)));

    // Copies carry the lanes of their range, and a swap exchanges them.
    TColumnArray b;
    b.CopyFrom(a, 19, 21);
    EXPECT_TRUE(SameValue(b.At(20), ValuePoint(3.0L, 4.0L)));
    TColumnArray c;
    c.swap(b);
    EXPECT_FALSE(b.HasYLane());
    EXPECT_TRUE(SameValue(c.At(2), ValueUndefined(KindNone)));
    EXPECT_TRUE(SameValue(c.At(TColumnArray::Last), TValue{}));
}

TEST_F(ArrayEvaluatorTest, ResultsAreSnappedAsTheScalarEvaluatorSnaps)
{
    // 0 / (0 - 1) is -0, which the snap makes +0; near-integers become whole.
    const TColumnArray out = Columns(Compiled(QStringLiteral("x/(x-1)")));
    EXPECT_TRUE(SameValue(out.At(200), ValueReal(0.0L)));
    const TColumnArray pairs = Columns(Compiled(QStringLiteral("(x·0/(x-9), 1+x/10^19)")));
    EXPECT_TRUE(SameValue(pairs.At(280), ValuePoint(0.0L, 1.0L)));
}

// Values at the edges of what the snap changes, within 1E-17 of a whole
// number or of 0 and just beyond, of every size the snap treats apart (below
// 1, each binade from 1 to 128, above), of both signs and mixed from column
// to column: the block program snaps them as the scalar evaluator does.
TEST_F(ArrayEvaluatorTest, BlockResultsAreSnappedAtEveryEdgeAsTheScalarEvaluatorSnaps)
{
    const long double wholes[] = {0.0L, 1.0L, 2.0L, 3.0L, 7.0L, 12.0L, 31.0L, 33.0L, 64.0L, 100.0L, 127.0L, 128.0L, 1000.0L};
    const long double offsets[] = {0.0L, 1E-18L, 9E-18L, 1E-17L, 1.0000001E-17L, 2E-17L, 1E-16L, 0.25L};
    int c = view.XAxis.Vlow;
    for (const long double whole : wholes)
        for (const long double offset : offsets)
            for (const long double sign : {1.0L, -1.0L})
                for (const long double toward : {1.0L, -1.0L})
                    if (c <= view.XAxis.VHigh)
                        graphs->X.Set(c++, ValueReal(sign * (whole + toward * offset)));
    ASSERT_GT(c, view.XAxis.Vlow + 300);
    const TKavirofunction f = Compiled(QStringLiteral("x·1"));
    const long long runs = BlockPrograms.ThisThread().Runs;
    const TColumnArray out = Columns(f);
    EXPECT_EQ(BlockPrograms.ThisThread().Runs, runs + 1);
    for (int k = view.XAxis.Vlow; k < c; ++k) {
        const TValue scalar = EvaluateExpression(f, columnX.At(k));
        EXPECT_TRUE(SameValue(out.At(k), scalar)) << static_cast<double>(columnX.X(k)) << ": " << Describe(out.At(k))
                                                  << " against " << Describe(scalar);
    }
}

// Sums, differences, products, quotients by single values and squares in a
// row run as one loop where every operand is moderate, and step by step with
// their range checks where one is not: over columns of every size (zeros,
// the edges of the moderate sizes, values near the ends of the range,
// values below it, undefined columns) and single values of every size, the
// block program gives the array machine's columns to the bit.
TEST_F(ArrayEvaluatorTest, ChainsOfArithmeticEqualTheArrayMachine)
{
    const long double xs[] = {0.0L,          -0.0L,         1.5L,          -3.25L,        0x1p-64L,   -0x1p-64L,
                              0x1p-65L,      0x1.8p65L,     0x1p66L,       -0x1p67L,      1E-2000L,   1E2000L,
                              1E-2414L,      1E-4940L,      7.0L,          1E-17L,        1E300L,     -2.0L};
    int c = view.XAxis.Vlow;
    for (int round = 0; c <= view.XAxis.VHigh; ++round)
        for (const long double x : xs)
            if (c <= view.XAxis.VHigh)
                graphs->X.Set(c++, round % 7 == 3 && x == 7.0L ? ValueUndefined(KindReal) : ValueReal(x * (round + 1)));
    const char* formulas[] = {"x·x+a-b", "x^2/a-3", "2-x·a·b", "x/a+1", "(x-a)·(x+a)", "x^2", "a-x", "x^3+a", "x·a/b"};
    const long double values[] = {1.5L, 0.0L, -1E-30L, 1E30L, 0x1p-70L, 1E2400L};
    const int slotA = ParamIndexOfToken(Vocabulary.ParamTokens[1]);
    const int slotB = ParamIndexOfToken(Vocabulary.ParamTokens[2]);
    for (const char* text : formulas) {
        const TKavirofunction f = Compiled(QString::fromUtf8(text));
        for (const long double a : values) {
            for (const long double b : {2.5L, 1E-3000L}) {
                DocumentTables.Params[slotA].Value = a;
                DocumentTables.Params[slotB].Value = b;
                const long long runs = BlockPrograms.ThisThread().Runs;
                const TColumnArray block = Columns(f);
                EXPECT_EQ(BlockPrograms.ThisThread().Runs, runs + 1) << text;
                BlockPrograms.Enabled = false;
                const TColumnArray machine = Columns(f);
                BlockPrograms.Enabled = true;
                int mismatches = 0;
                for (int k = view.XAxis.Vlow; k <= view.XAxis.VHigh; ++k)
                    if (!SameValue(block.At(k), machine.At(k)) && ++mismatches <= 3)
                        ADD_FAILURE() << text << " at x = " << static_cast<double>(columnX.X(k))
                                      << ", a = " << static_cast<double>(a) << ", b = " << static_cast<double>(b)
                                      << ": block " << Describe(block.At(k)) << ", machine " << Describe(machine.At(k));
            }
        }
    }
}

} // namespace
