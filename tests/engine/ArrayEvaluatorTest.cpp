#include "engine/ArrayEvaluator.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "engine/TokenCode.h"
#include "model/DocumentState.h"
#include "tests/QtPrinters.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <memory>

namespace {

// The default view: -5..5 over 400 columns, y likewise.
class ArrayEvaluatorTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ResetDocument();
        view.XAxis = TColumnAxis{0, 400, -5.0L, 5.0L};
        view.YUnitsPerPixel = 10.0L / 400.0L;
        view.ColumnX = &columnX;
        view.ColumnCaches = caches.get();
        view.PointStates = &states;
        for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c)
            columnX[c] = ValueReal(-5.0L + c * (10.0L / 400.0L));
        SetPoint(1, 1.0L, 2.0L);
        SetPoint(2, 4.0L, 5.0L);
        SetUserFunction(1, "x^2+y");
        SetUserFunction(2, "sin(x)+y·z");
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
    TColumnArray columnX;
    std::unique_ptr<TOffsetArray<TColumnCache, 1, FunctionCount>> caches =
        std::make_unique<TOffsetArray<TColumnCache, 1, FunctionCount>>();
    TOffsetArray<TPointState, 1, PointCount> states;
};

QStringList Corpus()
{
    QFile file(QStringLiteral(KAVIRO_TEST_DATA "/array_corpus.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList formulas;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            formulas += line;
    }
    return formulas;
}

bool SameValue(const TValue& a, const TValue& b)
{
    return a.Kind == b.Kind && a.Defined == b.Defined && a.X == b.X && a.Y == b.Y;
}

TEST_F(ArrayEvaluatorTest, EveryColumnEqualsTheScalarEvaluator)
{
    const QStringList formulas = Corpus();
    ASSERT_GT(formulas.size(), 80);
    struct Mode {
        const char* name;
        std::uint8_t complex;
        std::uint8_t angle;
    };
    for (const Mode mode : {Mode{"real", 0, 1}, Mode{"complex", 1, 1}, Mode{"degree", 0, 2}}) {
        Options.ComplexMode = mode.complex;
        Options.AngleMode = mode.angle;
        for (const QString& text : formulas) {
            const TKavirofunction f = Compiled(text);
            ASSERT_FALSE(f.Code.isEmpty()) << text.toStdString();
            const TColumnArray columns = Columns(f);
            int mismatches = 0;
            for (int c = view.XAxis.Vlow; c <= view.XAxis.VHigh && mismatches < 3; ++c) {
                const TValue scalar = EvaluateExpression(f, columnX[c]);
                if (!SameValue(columns[c], scalar)) {
                    ++mismatches;
                    ADD_FAILURE() << mode.name << " " << text.toStdString() << " at column " << c << ": array "
                                  << static_cast<double>(columns[c].X) << "," << static_cast<double>(columns[c].Y)
                                  << " def " << int(columns[c].Defined) << " kind " << int(columns[c].Kind)
                                  << ", scalar " << static_cast<double>(scalar.X) << ","
                                  << static_cast<double>(scalar.Y) << " def " << int(scalar.Defined) << " kind "
                                  << int(scalar.Kind);
                }
            }
        }
    }
}

TEST_F(ArrayEvaluatorTest, ColumnsOutsideTheRangeAreUndefined)
{
    view.XAxis.VHigh = 200;
    TColumnArray out;
    for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c)
        out[c] = ValueReal(99.0L);
    EvaluateArrays(Compiled(QStringLiteral("x+1")), columnX, view, 0, nullptr, false, out);
    EXPECT_FALSE(out[-1].Defined);
    EXPECT_FALSE(out[201].Defined);
    EXPECT_FALSE(out[TColumnArray::Last].Defined);
    EXPECT_EQ(out[200].X, columnX[200].X + 1.0L);
}

TEST_F(ArrayEvaluatorTest, ConstantsFillEveryColumn)
{
    const TColumnArray out = Columns(Compiled(QStringLiteral("3"), ModeFunction));
    for (int c = 0; c <= 400; ++c)
        ASSERT_EQ(out[c].X, 3.0L) << c;
}

TEST_F(ArrayEvaluatorTest, EquationHoldsAtOneColumn)
{
    // x = 2 as a relation: the column nearest to x = 2 only.
    const TColumnArray out = Columns(Compiled(QStringLiteral("x=2")));
    int holding = 0;
    int where = -1;
    for (int c = 0; c <= 400; ++c) {
        if (out[c].Defined) {
            ++holding;
            where = c;
        }
    }
    EXPECT_EQ(holding, 1);
    EXPECT_EQ(where, 280); // -5 + 280 / 40 = 2
    // A curve that touches zero between columns is found by its minimum.
    const TColumnArray touch = Columns(Compiled(QStringLiteral("(x-0.0101)^2=0")));
    EXPECT_TRUE(touch[200].Defined);
    EXPECT_FALSE(touch[190].Defined);
}

TEST_F(ArrayEvaluatorTest, GraphNamesUseTheirColumnCache)
{
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("x^2"), ModeFunction);
    const TKavirofunction uses = Compiled(QStringLiteral("y1+1"), ModeFunction);
    TColumnArray out = Columns(uses);
    EXPECT_EQ(out[240].X, 2.0L); // x = 1
    EXPECT_TRUE((*caches)[1].Valid);

    // A valid cache is reused as it stands...
    (*caches)[1].Values[240] = ValueReal(41.0L);
    out = Columns(uses);
    EXPECT_EQ(out[240].X, 42.0L);
    // ...unless the refresh flag asks for the function again.
    out = Columns(uses, true);
    EXPECT_EQ(out[240].X, 2.0L);
    EXPECT_EQ((*caches)[1].Values[240].X, 1.0L);
}

TEST_F(ArrayEvaluatorTest, BinderBoundsComeFromTheFirstColumn)
{
    // Bounds that depend on x take the value at column 0 (x = -5): an empty sum.
    const TColumnArray out = Columns(Compiled(QStringLiteral("Sum(k,1,x,k)")));
    EXPECT_EQ(out[300].X, 0.0L);
    EXPECT_EQ(out[300].Kind, KindReal);
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
        ts[c] = ValueReal(c / 100.0L);
    const int t = ParamIndexOfToken(Vocabulary.ParamTokens[10]);
    TColumnArray out;
    EvaluateArrays(Compiled(QStringLiteral("R")), columnX, view, t, &ts, false, out);
    EXPECT_EQ(out[150].Kind, KindPair);
    EXPECT_EQ(out[150].X, 1.5L);
    EXPECT_EQ(out[150].Y, 3.0L);
    EvaluateArrays(Compiled(QStringLiteral("t^2")), columnX, view, t, &ts, false, out);
    EXPECT_EQ(out[30].X, 0.09L);

    // A binder over the varying parameter binds it inside its body.
    EvaluateArrays(Compiled(QStringLiteral("Sum(t,1,3,t)+t")), columnX, view, t, &ts, false, out);
    EXPECT_EQ(out[150].X, 7.5L);
    EvaluateArrays(Compiled(QStringLiteral("Intgr(t,0,1,t)·t")), columnX, view, t, &ts, false, out);
    EXPECT_NEAR(static_cast<double>(out[200].X), 1.0, 1e-15);
}

TEST_F(ArrayEvaluatorTest, PathWithoutArgumentsIsUndefined)
{
    // A count of 0 before "path", as a damaged formula could hold it.
    TKavirofunction f = Compiled(QStringLiteral("path()+x"));
    ASSERT_FALSE(f.Code.isEmpty());
    f.Code[0] = QChar(ConstantCode(0));
    ASSERT_EQ(f.ConstValues[0].X, 0.0L);
    const TColumnArray out = Columns(f);
    for (int c = 0; c <= 400; c += 100)
        EXPECT_FALSE(out[c].Defined) << c;
}

TEST_F(ArrayEvaluatorTest, DerivativesAndAntiderivativesOverColumns)
{
    SetUserFunction(3, "x^3");
    const TColumnArray d1 = Columns(Compiled(QStringLiteral("h'(x)")));
    EXPECT_NEAR(static_cast<double>(d1[280].X), 12.0, 1e-9); // x = 2
    const TColumnArray d2 = Columns(Compiled(QStringLiteral("h''(x)")));
    EXPECT_NEAR(static_cast<double>(d2[280].X), 12.0, 1e-6);
    const TColumnArray big = Columns(Compiled(QStringLiteral("H(x)")));
    EXPECT_NEAR(static_cast<double>(big[280].X), 4.0, 1e-12); // 2^4 / 4

    // A range of columns that ends at x = 0 still spreads the fit's nodes.
    view.XAxis = TColumnAxis{0, 200, -5.0L, 0.0L};
    const TColumnArray toZero = Columns(Compiled(QStringLiteral("H(x)")));
    EXPECT_EQ(columnX[200].X, 0.0L);
    EXPECT_NEAR(static_cast<double>(toZero[40].X), 64.0, 1e-9); // x = -4
}

TEST_F(ArrayEvaluatorTest, CyclesAndDeepNestingStayBounded)
{
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("y2"), ModeFunction);
    DocumentTables.Functions[2].Func = Compiled(QStringLiteral("y1+x"), ModeFunction);
    const TColumnArray out = Columns(Compiled(QStringLiteral("y1")), true);
    EXPECT_FALSE(out[100].Defined);
    SetUserFunction(4, "f1(x)+1");
    EXPECT_FALSE(Columns(Compiled(QStringLiteral("f1(x)")))[100].Defined);

    // Cycles that branch end as soon as one branch reaches the limit.
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("y2+y2"), ModeFunction);
    DocumentTables.Functions[2].Func = Compiled(QStringLiteral("y1·y1+x"), ModeFunction);
    EXPECT_FALSE(Columns(Compiled(QStringLiteral("y1")), true)[100].Defined);
    SetUserFunction(5, "f2'(x)+f2(x)");
    EXPECT_FALSE(Columns(Compiled(QStringLiteral("f2(x)")))[100].Defined);
    EXPECT_EQ(Columns(Compiled(QStringLiteral("x+1")))[200].X, 1.0L);
}

} // namespace
