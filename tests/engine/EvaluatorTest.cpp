#include "engine/Calculus.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "tests/QtPrinters.h"
#include "tests/ExtendedNear.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

class EvaluatorTest : public EngineDocumentTest {
protected:

    static TKavirofunction Compiled(const QString& text, int mode = ModePlain)
    {
        TKavirofunction f = BlankFunction;
        f.Text = text;
        EXPECT_TRUE(PrepareExpression(f, mode)) << text.toStdString();
        return f;
    }
    static TValue Eval(const char* text, long double x = 0.0L, int mode = ModePlain)
    {
        return EvaluateExpression(Compiled(QString::fromUtf8(text), mode), ValueReal(x));
    }
    static long double Real(const char* text, long double x = 0.0L)
    {
        const TValue v = Eval(text, x);
        EXPECT_TRUE(v.Defined) << text;
        EXPECT_EQ(v.Kind, KindReal) << text;
        return v.X;
    }
    static void Store(TKavirofunction& slot, const char* text, int mode)
    {
        slot = Compiled(QString::fromUtf8(text), mode);
    }
    // An object stored as the data panel stores it: position and coordinates.
    static void SetPoint(int i, const char* pos)
    {
        TPointFunction& p = DocumentTables.Points[i];
        p.Kind = ObjectPoint;
        p.Pos.Text = QString::fromUtf8(pos);
        JoinPointTexts(p, PointTextDirection::Split);
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
            Store(*f, f->Text.toUtf8().constData(), i);
    }
};

TEST_F(EvaluatorTest, ArithmeticAndPrecedence)
{
    struct Case {
        const char* text;
        long double x;
        long double value;
    };
    const Case cases[] = {
        {"2 % 3", 0, 9},        {"2x/3", 3, 2},          {"x^3-2x+1", 2, 5},    {"-x", 4, -4},
        {"-3+1", 0, -2},        {"2^3^2", 0, 512},       {"a-b-c", 0, -1},      {"(1+2)(3+4)", 0, 21},
        {"x!", 4, 24},          {"2Pi", 0, 2 * std::numbers::pi_v<long double>},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Real(c.text, c.x), c.value) << c.text;
    EXPECT_EQ(Real("sin^2 x + cos^2 x", 0.7L), 1.0L);
}

TEST_F(EvaluatorTest, SumsAndProducts)
{
    DocumentTables.Params[ParamIndexOfToken(TokenCodes.ParamK)].Value = 7.0L;
    EXPECT_EQ(Real("Sum(k,1,10,k^2)"), 385.0L);
    EXPECT_EQ(Real("Sum(k,1,3.5,k)"), 6.0L);
    EXPECT_EQ(Real("Sum(k,5,3,k)"), 0.0L);
    EXPECT_EQ(Real("Product(k,5,3,k)"), 1.0L);
    EXPECT_EQ(Real("Product(k,1,5,k)"), 120.0L);
    EXPECT_EQ(Real("Sum(k,1,3,Sum(a,1,k,a·k))"), 1.0L + 2.0L * 3.0L + 3.0L * 6.0L);
    EXPECT_EQ(DocumentTables.Params[14].Value, 7.0L); // k keeps its value
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);  // and so does a

    // Over x the body reads the bound input, and x comes back afterwards.
    EXPECT_EQ(Real("Sum(x,1,3,x)", 5.0L), 6.0L);
    EXPECT_EQ(Real("Sum(x,1,3,x)+x", 5.0L), 11.0L);

    const TValue undefinedBound = Eval("Sum(k,1,sqrt(-1),k)");
    EXPECT_FALSE(undefinedBound.Defined);
    EXPECT_EQ(DocumentTables.Params[14].Value, 7.0L);

    // So large that adding 1 changes nothing: undefined instead of a hang.
    EXPECT_FALSE(Eval("Sum(k,2^70,2^70+5,1)").Defined);
}

TEST_F(EvaluatorTest, IntegralsRestoreTheirVariable)
{
    EXPECT_EXTENDED_NEAR(Real("Intgr(x,0,1,x^2)", 0.25L), 1.0L / 3.0L, 1e-19L);
    EXPECT_EQ(Real("Intgr(x,0,1,x^2)+x", 0.25L) - Real("Intgr(x,0,1,x^2)", 0.25L), 0.25L);
    DocumentTables.Params[0].Value = 0.5L;
    EXPECT_EXTENDED_NEAR(Real("Intgr(y,0,2,y)"), 2.0L, 1e-18L);
    EXPECT_EQ(DocumentTables.Params[0].Value, 0.5L);
    EXPECT_EXTENDED_NEAR(Real("Intgr(a,0,Pi,sin(a))"), 2.0L, 1e-18L);

    // Partition counts from a file outside 1..200 are clamped.
    for (int slices : {0, -3, 100000}) {
        DocumentTables.IntegralInterval.sliceNo = slices;
        EXPECT_EXTENDED_NEAR(Real("Intgr(x,0,1,x^2)"), 1.0L / 3.0L, 2e-18L) << slices;
    }
}

TEST_F(EvaluatorTest, ObjectsGraphsAndUserFunctions)
{
    SetPoint(1, "(1,1)");
    SetPoint(2, "(4,5)");
    const TValue pq = Eval("PQ");
    EXPECT_EQ(pq.Kind, KindPair);
    EXPECT_EQ(pq.X, 3.0L);
    EXPECT_EQ(pq.Y, 4.0L);
    EXPECT_EQ(Real("[PQ]"), 5.0L);
    EXPECT_EQ(Real("Q.y-P.x"), 4.0L);

    Store(DocumentTables.Functions[3].Func, "x^2", ModeFunction);
    EXPECT_EQ(Real("y3+1", 3.0L), 10.0L);

    Store(DocumentTables.UserFunctions[1], "x·y", ModeUserFunction);
    EXPECT_EQ(Real("f((2,3))"), 6.0L);
    EXPECT_EQ(Real("f(2,3)"), 6.0L);

    Store(DocumentTables.UserFunctions[2], "x^3", ModeUserFunction);
    EXPECT_EXTENDED_NEAR(Real("g'(2)"), 12.0L, 1e-15L);
    EXPECT_EXTENDED_NEAR(Real("g''(2)"), 12.0L, 1e-11L);

    Store(DocumentTables.UserFunctions[1], "x^2", ModeUserFunction);
    EXPECT_EXTENDED_NEAR(Real("F(3)"), 9.0L, 1e-18L);
    EXPECT_EQ(Real("F(0)"), 0.0L);
}

TEST_F(EvaluatorTest, CoefficientsRootsAndPaths)
{
    EXPECT_EQ(Real("cof(0,x^2+3)"), 3.0L);
    EXPECT_EQ(Real("cof(1,x^2+3)"), 0.0L);
    EXPECT_EQ(Real("cof(2,x^2+3)"), 1.0L);
    EXPECT_EXTENDED_NEAR(Real("cof(1,(x+3)^2)"), 6.0L, 1e-17L);
    EXPECT_FALSE(Eval("cof(0,sin(x))").Defined);
    EXPECT_FALSE(Eval("cof(7,x)").Defined);
    EXPECT_EQ(Real("sol(x^2=4)"), -2.0L);
    EXPECT_EQ(Real("sol(x^2=4,2)"), 2.0L);
    EXPECT_FALSE(Eval("sol(sin(x)=0)").Defined);
    EXPECT_EQ(Real("path(0.5,(0,0),(1,2))"), 1.0L);
    EXPECT_FALSE(Eval("path(0.5,(1,0),(1,2))").Defined);
}

TEST_F(EvaluatorTest, NamesWithoutAValuePushUndefined)
{
    // r outside relations and objects, relation names, MouseIs, ".r" of a pair.
    for (const char* text : {"r+1", "C1+1", "MouseIs", "(1,2).r"}) {
        const TValue v = Eval(text);
        EXPECT_FALSE(v.Defined) << text;
    }
    // The stack stays balanced: the sum after an undefined name is still computed.
    EXPECT_FALSE(Eval("C1+1").Defined);
}

TEST_F(EvaluatorTest, LimitsGiveUndefinedInsteadOfOverflowing)
{
    // More than 100 values on the stack at once.
    QString deep = QStringLiteral("1");
    for (int i = 0; i < 120; ++i)
        deep = QStringLiteral("1+(") + deep + QStringLiteral(")");
    EXPECT_FALSE(EvaluateExpression(Compiled(deep), ValueReal(0)).Defined);

    // More than 30 open binders.
    QString nested = QStringLiteral("1");
    for (int i = 0; i < 31; ++i)
        nested = QStringLiteral("Sum(k,1,1,") + nested + QStringLiteral(")");
    EXPECT_FALSE(EvaluateExpression(Compiled(nested), ValueReal(0)).Defined);
    EXPECT_EQ(DocumentTables.Params[14].Value, 1.0L);

    // A cycle stored directly in the tables, as a file could hold it.
    Store(DocumentTables.Functions[1].Func, "y2+1", ModeFunction);
    Store(DocumentTables.Functions[2].Func, "y1+1", ModeFunction);
    EXPECT_FALSE(Eval("y1").Defined);
    Store(DocumentTables.UserFunctions[1], "f(x)+1", ModeUserFunction);
    EXPECT_FALSE(Eval("f(1)").Defined);

    // path through more points than the interpolation holds.
    QString many = QStringLiteral("path(0.5");
    for (int i = 0; i < 16; ++i)
        many += QStringLiteral(",(%1,%2)").arg(i).arg(i * i);
    many += u')';
    EXPECT_FALSE(EvaluateExpression(Compiled(many), ValueReal(0)).Defined);
}

TEST_F(EvaluatorTest, BranchingCyclesEndAtTheNestingLimit)
{
    // Each level calls the next twice, or seven times for a derivative: the
    // nesting limit alone would leave 2^100 calls to make.
    Store(DocumentTables.Functions[1].Func, "y2+y2", ModeFunction);
    Store(DocumentTables.Functions[2].Func, "y1·y1", ModeFunction);
    EXPECT_FALSE(Eval("y1", 1.0L).Defined);
    Store(DocumentTables.UserFunctions[1], "f'(x)+f(x)", ModeUserFunction);
    EXPECT_FALSE(Eval("f(1)").Defined);
    // The next evaluation starts afresh.
    EXPECT_EQ(Real("2+3"), 5.0L);
    Store(DocumentTables.UserFunctions[2], "x^2", ModeUserFunction);
    EXPECT_EQ(Real("g(3)"), 9.0L);
}

TEST_F(EvaluatorTest, EmptyCodeAndStepsize)
{
    EXPECT_FALSE(EvaluateExpression(BlankFunction, ValueReal(1)).Defined);
    DocumentTables.Params[3].Step = 0.25L;
    EXPECT_EQ(Real("Stepsize(c)"), 0.25L);
    EXPECT_EQ(Real("Stepsize(x)"), DocumentTables.Params[-1].Step);
}

TEST_F(EvaluatorTest, FindMatchingSendSkipsNestedBinders)
{
    const TKavirofunction f = Compiled(QStringLiteral("cof(0,cof(1,x)+x)"));
    // Code: 0 cof 1 cof x Send x + Send
    const int cof = static_cast<int>(f.Code.indexOf(QChar(TokenCodes.Cof)));
    const int rel = FindMatchingSend(f.Code, cof);
    EXPECT_EQ(f.Code[cof + rel], QChar(TokenCodes.Send));
    EXPECT_EQ(cof + rel, f.Code.size() - 1);
    EXPECT_EQ(FindMatchingSend(f.Code.left(cof + 2), cof), -1);
}

TEST(CalculusTablesTest, GaussRuleAndDerivativeWeightsAreExact)
{
    InitGaussLegendre();
    const TCalculusTables& t = CalculusTables;
    long double sum = 0.0L;
    for (int k = 1; k <= 5; ++k)
        sum += t.GaussWeights[k];
    EXPECT_EXTENDED_NEAR(sum, 2.0L, 1e-18L);
    // The rule is exact for x^8 on [-1, 1].
    long double x8 = 0.0L;
    for (int k = 1; k <= 5; ++k)
        x8 += t.GaussWeights[k] * std::pow(t.GaussNodes[k], 8.0L);
    EXPECT_EXTENDED_NEAR(x8, 2.0L / 9.0L, 1e-19L);
    // f'' of a constant is 0, f' of x is 1.
    long double second = 0.0L, first = 0.0L;
    for (int k = 0; k < 7; ++k) {
        second += t.DerivWeights[2][k];
        first += t.DerivWeights[1][k] * t.DerivStepOffsets[k];
    }
    EXPECT_EXTENDED_NEAR(second, 0.0L, 1e-16L);
    EXPECT_EXTENDED_NEAR(first, 1.0L, 1e-18L);
}

} // namespace
