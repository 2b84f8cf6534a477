#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/ScalarProgram.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "tests/engine/CorpusSupport.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

namespace {

class ScalarFastPathTest : public EngineDocumentTest {
protected:
    void SetUp() override
    {
        EngineDocumentTest::SetUp();
        DefineCorpusUserFunctions();
    }

    static TKavirofunction Compiled(const QString& text)
    {
        TKavirofunction f = BlankFunction;
        f.Text = text;
        PrepareExpression(f, ModePlain);
        return f;
    }
};

// Every formula of the corpus in real, complex and degree mode, at inputs
// across signs and sizes (domain edges, whole numbers, multiples of π/2 and
// of 90, the range limits) and two values of the parameter a: the scalar
// evaluator gives the same value, kind, definedness and sign of zero with
// its programs as without them.
TEST_F(ScalarFastPathTest, EveryCorpusFormulaEqualsTheStackMachine)
{
    const QStringList formulas = Corpus();
    ASSERT_GE(formulas.size(), 300);
    const long double pi = 3.141592653589793238462643383279502884L;
    const long double xs[] = {0.0L,        -0.0L,     1.0L,       -1.0L,  0.5L,       -1.75L,      3.0L,
                              2.0L,        -2.0L,     1.0E-9L,    -7.25L, pi / 2.0L,  pi,          90.0L,
                              180.0L,      1.0E300L,  -1.0E300L,  1.0E-2400L, 1.0E2400L, 33.3L,   1.0E7L,
                              0.1L,        -0.1L,     2.5L,       1.0E-17L};
    const int a = ParamIndexOfToken(Vocabulary.ParamTokens[1]);
    struct Mode {
        const char* name;
        std::uint8_t complex;
        std::uint8_t angle;
    };
    long long fastRuns = 0;
    for (const Mode mode : {Mode{"real", 0, 1}, Mode{"complex", 1, 1}, Mode{"degree", 0, 2}}) {
        Options.ComplexMode = mode.complex;
        Options.AngleMode = mode.angle;
        for (const QString& text : formulas) {
            const TKavirofunction f = Compiled(text);
            int mismatches = 0;
            for (const long double aValue : {1.0L, -2.5L}) {
                const TEvalEnv env = DocumentEvalEnv.With(a, aValue);
                for (const long double x : xs) {
                    const long long runs = ScalarPrograms.ThisThread().Runs;
                    const TValue fast = EvaluateExpression(f, ValueReal(x), env);
                    fastRuns += ScalarPrograms.ThisThread().Runs > runs;
                    ScalarPrograms.Enabled = false;
                    const TValue machine = EvaluateExpression(f, ValueReal(x), env);
                    ScalarPrograms.Enabled = true;
                    if (!SameValue(fast, machine) && ++mismatches <= 3)
                        ADD_FAILURE() << mode.name << " " << text.toStdString() << " at x = "
                                      << static_cast<double>(x) << ", a = " << static_cast<double>(aValue)
                                      << ": program " << Describe(fast) << ", machine " << Describe(machine);
                }
            }
        }
    }
    // Most of the corpus runs on programs (the rest needs pairs, binders,
    // objects, user functions or lists).
    EXPECT_GT(fastRuns, formulas.size() * 3 * 2 * std::size(xs) / 2);
}

// Inputs that are no plain reals, constants that are no reals and formulas
// outside the programs' reach go to the machine and give its values.
TEST_F(ScalarFastPathTest, WhatAProgramDoesNotHandleGoesToTheMachine)
{
    const TKavirofunction square = Compiled(QStringLiteral("x^2+1"));
    const struct {
        TValue x;
        bool byProgram;
    } inputs[] = {
        {ValueReal(2.0L), true},
        {ValueUndefined(KindReal), false},
        {ValuePoint(1.0L, 2.0L), false},
        {TValue{KindReal, 1, 2.0L, -0.0L}, false},
    };
    for (const auto& [x, byProgram] : inputs) {
        const long long runs = ScalarPrograms.ThisThread().Runs;
        const TValue fast = EvaluateExpression(square, x);
        EXPECT_EQ(ScalarPrograms.ThisThread().Runs > runs, byProgram) << Describe(x);
        ScalarPrograms.Enabled = false;
        EXPECT_TRUE(SameValue(fast, EvaluateExpression(square, x))) << Describe(x);
        ScalarPrograms.Enabled = true;
    }
    for (const char* text : {"Sum(k,1,3,k·x)", "(x,1).y", "max(x,1)", "i·x", "sqrt(-x)"}) {
        const TKavirofunction f = Compiled(QString::fromUtf8(text));
        Options.ComplexMode = 1;
        const long long runs = ScalarPrograms.ThisThread().Runs;
        const TValue fast = EvaluateExpression(f, ValueReal(2.0L));
        EXPECT_EQ(ScalarPrograms.ThisThread().Runs, runs) << text;
        ScalarPrograms.Enabled = false;
        EXPECT_TRUE(SameValue(fast, EvaluateExpression(f, ValueReal(2.0L)))) << text;
        ScalarPrograms.Enabled = true;
        Options.ComplexMode = 0;
    }
}

// A program charges the work the machine charges (the code's length) and
// ends undefined once the budget is spent; it is compiled once per code.
TEST_F(ScalarFastPathTest, ProgramsChargeTheMachinesWorkAndAreCachedByCode)
{
    const TKavirofunction f = Compiled(QStringLiteral("x^3-2x+1"));
    EvaluateExpression(f, ValueReal(1.0L));
    const long long compiles = ScalarPrograms.ThisThread().Compiles;
    EXPECT_EQ(EvaluateExpression(f, ValueReal(2.0L)).X, 5.0L);
    EXPECT_EQ(ScalarPrograms.ThisThread().Compiles, compiles);
    std::int64_t used[2];
    for (const bool enabled : {true, false}) {
        ScalarPrograms.Enabled = enabled;
        const TEvaluationScope scope; // keeps the run open to read its work
        EvaluateExpression(f, ValueReal(2.0L));
        used[enabled] = EvaluationRun.Used;
    }
    ScalarPrograms.Enabled = true;
    EXPECT_EQ(used[true], used[false]);
    EXPECT_EQ(used[true], f.Code.size());

    EvaluationLimits.WorkBudget = f.Code.size() - 1;
    const TValue over = EvaluateExpression(f, ValueReal(2.0L));
    EXPECT_FALSE(over.Defined);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::OverBudget);
}

// Plain calls of user functions run inside the caller's program: the
// machine's value, the work of both codes, and a call of a function edited
// since gives the new function's value.
TEST_F(ScalarFastPathTest, UserFunctionCallsRunInsideTheProgram)
{
    struct Case {
        const char* text;
        long double x;
        bool byProgram;
    };
    const Case cases[] = {
        {"f(x)·a-3x", 1.5L, true},      // f = x²+y, y given as 0
        {"f(x,2)+g(x,1,x)", -0.75L, true},
        {"h(x)+f(h(x),x)", 2.0L, true}, // a call as another's argument
        {"f(x)/f(0)", 1.0L, false},     // f(0) = 0: the quotient is undefined
        {"f'(x)+1", 1.0L, false},       // a derivative is the machine's
        {"sqrt(f(x)-5)+f(x)", 1.0L, false},
    };
    for (const Case& c : cases) {
        const TKavirofunction f = Compiled(QString::fromUtf8(c.text));
        std::int64_t used[2];
        TValue values[2];
        long long runs = 0;
        for (const bool enabled : {true, false}) {
            ScalarPrograms.Enabled = enabled;
            const long long before = ScalarPrograms.ThisThread().Runs;
            const TEvaluationScope scope;
            values[enabled] = EvaluateExpression(f, ValueReal(c.x));
            used[enabled] = EvaluationRun.Used;
            runs = enabled ? ScalarPrograms.ThisThread().Runs - before : runs;
        }
        ScalarPrograms.Enabled = true;
        EXPECT_TRUE(SameValue(values[true], values[false]))
            << c.text << ": " << Describe(values[true]) << " against " << Describe(values[false]);
        EXPECT_EQ(used[true], used[false]) << c.text;
        // A program runs once for the whole formula; the machine runs the
        // function's program at each of its (here two or more) calls.
        EXPECT_EQ(runs == 1, c.byProgram) << c.text;
    }

    const TKavirofunction call = Compiled(QStringLiteral("f(x)+1"));
    EXPECT_EQ(EvaluateExpression(call, ValueReal(3.0L)).X, 10.0L);
    TKavirofunction& userF = DocumentTables.UserFunctions[1];
    userF.Text = QStringLiteral("x^3");
    PrepareExpression(userF, ModeUserFunction);
    EXPECT_EQ(EvaluateExpression(call, ValueReal(3.0L)).X, 28.0L);
}

// A call compiled in is one nesting deeper, as the machine's call is: a
// cycle that reaches the nesting limit on a call ends undefined as the
// machine's does, and over the budget a call ends over budget.
TEST_F(ScalarFastPathTest, UserFunctionCallsKeepTheNestingLimitAndTheBudget)
{
    DocumentTables.Functions[1].Func = Compiled(QStringLiteral("y2+y1"));
    DocumentTables.Functions[2].Func = Compiled(QStringLiteral("f(x)"));
    const TKavirofunction cycle = Compiled(QStringLiteral("y1"));
    TValue values[2];
    for (const bool enabled : {true, false}) {
        ScalarPrograms.Enabled = enabled;
        values[enabled] = EvaluateExpression(cycle, ValueReal(2.0L));
    }
    ScalarPrograms.Enabled = true;
    EXPECT_FALSE(values[true].Defined);
    EXPECT_TRUE(SameValue(values[true], values[false])) << Describe(values[true]) << " against " << Describe(values[false]);

    const TKavirofunction f = Compiled(QStringLiteral("f(x)·2"));
    EvaluationLimits.WorkBudget = f.Code.size() + DocumentTables.UserFunctions[1].Code.size() - 1;
    EXPECT_FALSE(EvaluateExpression(f, ValueReal(2.0L)).Defined);
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::OverBudget);
    EvaluationLimits.WorkBudget += 1;
    EXPECT_TRUE(EvaluateExpression(f, ValueReal(2.0L)).Defined);
}

} // namespace
