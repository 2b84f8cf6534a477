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

} // namespace
