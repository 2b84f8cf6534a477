// Every evaluation ends: loop bounds, formulas whose counts do not balance,
// circular records read from a file, the work budget and the break key.
#include "engine/ArrayEvaluator.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "model/DocumentState.h"
#include "platform/fakes/FakeInputState.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

namespace {

class EvaluationBoundsTest : public EngineDocumentTest {
protected:
    void SetUp() override
    {
        EngineDocumentTest::SetUp();
        view.XAxis = TColumnAxis{0, 400, -5.0L, 5.0L};
        for (int c = 0; c <= 400; ++c)
            columnX.Set(c, ValueReal(-5.0L + c / 40.0L));
    }

    static TKavirofunction Compiled(const char* text, int mode = ModePlain)
    {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, mode);
        return f;
    }
    static TValue Scalar(const char* text, long double x = 0.0L)
    {
        return EvaluateExpression(Compiled(text), ValueReal(x));
    }
    TColumnArray Columns(const char* text)
    {
        TColumnArray out;
        EvaluateArrays(Compiled(text), columnX, view, 0, nullptr, false, out);
        return out;
    }
    // A user function as a project file leaves it: compiled, never checked.
    static void LoadUserFunction(int slot, const char* text)
    {
        TKavirofunction& f = DocumentTables.UserFunctions[slot];
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, ModeUserFunction);
        ASSERT_FALSE(f.Code.isEmpty()) << text;
    }

    TArrayView view;
    TColumnArray columnX;
    platform::FakeInputState keys;
    platform::ScopedInputState keysInstalled{keys};
    platform::RecordingMessageSink messages;
    platform::ScopedMessageSink messagesInstalled{messages};
};

constexpr int UserG = 2; // "g" in the user-function table

TEST_F(EvaluationBoundsTest, LoopsOfMoreThan2To31StepsAreUndefinedAtOnceInBothMachines)
{
    // 2^31 + 6 steps would overflow a 32-bit counter: refused before the
    // first step, so no budget is spent.
    for (const char* text : {"Sum(k,0,2^31+5,1)", "Product(k,1,2^31,1)", "Sum(k,-2^40,0,k)+x"}) {
        const TValue v = Scalar(text);
        EXPECT_FALSE(v.Defined) << text;
        EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Finished) << text;
        const TColumnArray a = Columns(text);
        for (int c = 0; c <= 400; c += 100)
            EXPECT_FALSE(a.Defined(c)) << text << " column " << c;
        EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Finished) << text;
    }
    // Just inside the bound the loop runs (and here the budget ends it).
    EvaluationLimits.WorkBudget = 1000000;
    EXPECT_FALSE(Scalar("Sum(k,1,2^31-1,1)").Defined);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::OverBudget);
    // Ordinary loops are unchanged.
    EXPECT_EQ(Scalar("Sum(k,1,100,k)").X, 5050.0L);
    EXPECT_EQ(Scalar("Product(k,1,10,k)").X, 3628800.0L);
    EXPECT_EQ(Columns("Sum(k,1,100,k)+x").X(200), 5050.0L);
}

TEST_F(EvaluationBoundsTest, AFormulaWhoseCountsDoNotBalanceGetsNoCode)
{
    // Sum would read its bounds from the wrong operands and run millions of steps.
    TKavirofunction f = BlankFunction;
    f.Text = QStringLiteral("Sum(k,1,10,!,2)");
    EXPECT_FALSE(PrepareExpression(f, ModeFunction));
    EXPECT_TRUE(f.Code.isEmpty());
    EXPECT_TRUE(messages.empty());
    const TValue v = EvaluateExpression(f, ValueReal(1.0L));
    EXPECT_FALSE(v.Defined);
    EXPECT_EQ(v.Kind, KindReal);

    // The outcome tells why; the calculator's compile keeps the code.
    f.Code.clear();
    EXPECT_EQ(CompileFormula(f, ModeFunction).Kind, TCompileErrorKind::ArgumentCount);
    EXPECT_TRUE(f.Code.isEmpty());
    EXPECT_EQ(CompileFormula(f, ModeFunction, true).Kind, TCompileErrorKind::ArgumentCount);
    EXPECT_FALSE(f.Code.isEmpty());
}

TEST_F(EvaluationBoundsTest, ACircularUserFunctionFromAFileEndsUndefined)
{
    // g' samples g 7 to 14 times per level, and "or 1" hides the undefined
    // end, so the depth limit alone would take 7^100 samples.
    LoadUserFunction(UserG, "g'(x^2) or 1");
    EvaluationLimits.WorkBudget /= 10; // the default takes a second or two in a Release build
    const TValue v = Scalar("g(x)", 1.5L);
    EXPECT_FALSE(v.Defined);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::OverBudget);
    // Over columns the samples nest deeper first and the depth limit ends it.
    EXPECT_FALSE(Columns("g(x)").Defined(200));

    // The next evaluation starts with a fresh budget.
    EXPECT_EQ(Scalar("2+3").X, 5.0L);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Finished);
}

TEST_F(EvaluationBoundsTest, TheLoaderCheckClearsTheCodeOfCircularRecordsOnly)
{
    LoadUserFunction(UserG, "g'(x^2) or 1");
    LoadUserFunction(1, "h(x)+1");  // f -> h -> f
    LoadUserFunction(3, "f(x)·2");
    LoadUserFunction(4, "x^2");     // f1: no references
    TEquationFunction& y1 = DocumentTables.Functions[1];
    y1.Func = Compiled("f1(x)+g(x)", ModeFunction); // reaches g's circle, but is not on one

    EXPECT_EQ(GiveCircularRecordsNoCode(), 2);
    EXPECT_TRUE(messages.empty());
    const auto& uf = DocumentTables.UserFunctions;
    EXPECT_TRUE(uf[UserG].Code.isEmpty());
    // The first record met on the circle f -> h -> f breaks it; h is then free.
    EXPECT_TRUE(uf[1].Code.isEmpty());
    EXPECT_FALSE(uf[3].Code.isEmpty());
    EXPECT_FALSE(uf[4].Code.isEmpty());
    EXPECT_FALSE(y1.Func.Code.isEmpty());
    // Everything that read the circle now evaluates, to undefined.
    EXPECT_FALSE(EvaluateExpression(y1.Func, ValueReal(1.5L)).Defined);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Finished);
    EXPECT_EQ(GiveCircularRecordsNoCode(), 0);
}

TEST_F(EvaluationBoundsTest, TheWorkBudgetIsSharedByEverythingATopLevelEvaluationStarts)
{
    EvaluationLimits.WorkBudget = 200000;
    // A long sum alone, and a sum of nested evaluations.
    LoadUserFunction(4, "x^2+x");
    for (const char* text : {"Sum(k,0,10^9,1)", "Sum(k,1,10^5,f1(k))"}) {
        EXPECT_FALSE(Scalar(text).Defined) << text;
        EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::OverBudget) << text;
    }
    // Within the budget: 100 steps over 401 columns, and a scalar sum.
    EXPECT_EQ(Columns("Sum(k,1,100,k)+x").X(200), 5050.0L);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Finished);
    EXPECT_EQ(Scalar("Sum(k,1,10^4,1)").X, 10000.0L);
}

// The budget bounds one value in both machines: over 41 columns the array
// machine may do 41 times what one scalar evaluation may, so what the scalar
// machine computes at each column is computed over the columns, and what it
// gives up on is given up on there too.
TEST_F(EvaluationBoundsTest, TheBudgetBoundsOneValueInBothMachines)
{
    view.XAxis = TColumnAxis{0, 40, -5.0L, 5.0L};
    EvaluationLimits.WorkBudget = 30000;
    struct Case {
        const char* Text;
        bool Defined;
    };
    const Case cases[] = {
        {"Sum(k,1,10^4,1)+x", true},       // about 20000 tokens a value, 800000 in all
        {"Sum(k,1,5000,k)·x", true},
        {"Sum(k,1,10^4,f1(k))+x", false},  // nested evaluations count for their value
        {"Sum(k,1,2*10^4,1)+x", false},    // about 40000 tokens a value
        {"Product(k,1,10^5,1)+x", false},
    };
    LoadUserFunction(4, "x^2+x");
    for (const Case& c : cases) {
        const TEvaluationEnd end = c.Defined ? TEvaluationEnd::Finished : TEvaluationEnd::OverBudget;
        EXPECT_EQ(Scalar(c.Text, 1.0L).Defined, c.Defined) << c.Text;
        EXPECT_EQ(LastEvaluationEnd(), end) << c.Text;
        const TColumnArray a = Columns(c.Text);
        for (int column : {0, 20, 40})
            EXPECT_EQ(a.Defined(column), c.Defined) << c.Text << " column " << column;
        EXPECT_EQ(LastEvaluationEnd(), end) << c.Text;
    }
}

TEST_F(EvaluationBoundsTest, AHeldBreakKeyEndsALongEvaluation)
{
    EvaluationLimits.BreakPollInterval = 10000;
    EXPECT_EQ(Scalar("Sum(k,1,10^5,1)").X, 100000.0L);
    EXPECT_GE(keys.eventRounds().size(), 10u); // polled while it ran
    // Short evaluations never poll.
    const std::size_t polls = keys.eventRounds().size();
    EXPECT_EQ(Scalar("Sum(k,1,100,1)").X, 100.0L);
    EXPECT_EQ(keys.eventRounds().size(), polls);

    for (int key : {platform::VkEscape, platform::VkF1}) {
        keys.releaseAll();
        keys.setKeyDown(key);
        EXPECT_FALSE(Scalar("Sum(k,1,10^5,1)").Defined);
        EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Interrupted);
        EXPECT_FALSE(Columns("Sum(k,1,10^5,1)+x").Defined(200));
        EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Interrupted);
    }
}

TEST_F(EvaluationBoundsTest, BindersLeaveTheirVariablesAsTheyFoundThem)
{
    // x bound by Intgr, a by Sum: both come back after the loop, even when
    // the budget ends it in the middle.
    DocumentTables.Params[1].Value = 7.0L;
    EXPECT_NEAR(static_cast<double>(Scalar("Intgr(x,0,1,x)+x", 2.0L).X), 2.5, 1e-15);
    EvaluationLimits.WorkBudget = 10000;
    EXPECT_FALSE(Scalar("Sum(a,1,10^6,a)+a").Defined);
    EXPECT_EQ(DocumentTables.Params[1].Value, 7.0L);
}

} // namespace
