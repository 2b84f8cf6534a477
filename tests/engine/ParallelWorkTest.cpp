// Batches of evaluations on several threads: every task runs once, each
// thread keeps its own budget, and a break key that one thread's evaluation
// asks about stops them all.
#include "engine/ArrayEvaluator.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/ParallelWork.h"
#include "engine/References.h"
#include "platform/fakes/FakeInputState.h"
#include "tests/engine/CorpusSupport.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <vector>

namespace {

class ParallelWorkTest : public EngineDocumentTest {
protected:
    static TKavirofunction Compiled(const char* text)
    {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, ModePlain);
        return f;
    }
    // The corpus without what draws chance or reads keys, which is never
    // evaluated on several threads.
    static std::vector<TKavirofunction> ParallelCorpus()
    {
        DefineCorpusUserFunctions();
        std::vector<TKavirofunction> formulas;
        for (const QString& text : Corpus()) {
            TKavirofunction f = Compiled(text.toUtf8().constData());
            if (!ReadsChanceOrKeys(f.Code))
                formulas.push_back(f);
        }
        return formulas;
    }

    platform::FakeInputState keys;
    platform::ScopedInputState keysInstalled{keys};
};

TEST_F(ParallelWorkTest, EveryTaskRunsOnceOnASlotOfItsThread)
{
    struct Case {
        int Threads;
        int Tasks;
    };
    for (const Case c : {Case{1, 5}, Case{3, 1}, Case{4, 100}, Case{7, 9}, Case{16, 64}}) {
        const TScopedWorkerThreads threads(c.Threads);
        EXPECT_EQ(WorkerThreadCount(), c.Threads);
        std::vector<std::atomic<int>> runs(static_cast<size_t>(c.Tasks));
        std::atomic<bool> slotInRange = true;
        EXPECT_TRUE(RunInParallel(c.Tasks, [&](int i, int slot) {
            ++runs[static_cast<size_t>(i)];
            slotInRange = slotInRange && slot >= 0 && slot < c.Threads;
        }));
        for (int i = 0; i < c.Tasks; ++i)
            EXPECT_EQ(runs[static_cast<size_t>(i)], 1) << c.Threads << " threads, task " << i;
        EXPECT_TRUE(slotInRange);
    }
}

TEST_F(ParallelWorkTest, NestedBatchesRunInOrderOnTheirThread)
{
    const TScopedWorkerThreads threads(4);
    std::vector<std::vector<int>> inner(8);
    EXPECT_TRUE(RunInParallel(8, [&](int i, int) {
        RunInParallel(5, [&](int k, int slot) {
            EXPECT_EQ(slot, 0);
            inner[static_cast<size_t>(i)].push_back(k);
        });
    }));
    for (const std::vector<int>& order : inner)
        EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

// The same values from one thread and from several: value, kind,
// definedness and the sign of zero, over the corpus at a few points.
TEST_F(ParallelWorkTest, ScalarValuesAreTheSameOnEveryThread)
{
    const std::vector<TKavirofunction> formulas = ParallelCorpus();
    const long double points[] = {-2.5L, -0.0L, 0.75L, 3.0L};
    const int n = static_cast<int>(formulas.size());
    std::vector<TValue> alone(static_cast<size_t>(n) * 4), together(alone.size());
    const auto evaluate = [&](std::vector<TValue>& into) {
        return RunInParallel(n, [&](int i, int) {
            for (int k = 0; k < 4; ++k)
                into[static_cast<size_t>(i * 4 + k)] = EvaluateExpression(formulas[static_cast<size_t>(i)],
                                                                          ValueReal(points[k]));
        });
    };
    {
        const TScopedWorkerThreads one(1);
        ASSERT_TRUE(evaluate(alone));
    }
    {
        const TScopedWorkerThreads six(6);
        ASSERT_TRUE(evaluate(together));
    }
    for (size_t i = 0; i < alone.size(); ++i)
        EXPECT_TRUE(SameValue(alone[i], together[i]))
            << formulas[i / 4].Text.toStdString() << " at " << static_cast<double>(points[i % 4]) << ": "
            << Describe(alone[i]) << " / " << Describe(together[i]);
}

// Each value has its own budget on whichever thread computes it: what goes
// over it on one thread goes over it on several.
TEST_F(ParallelWorkTest, EachEvaluationKeepsItsOwnBudgetOnEveryThread)
{
    EvaluationLimits.WorkBudget = 20000;
    const TKavirofunction loop = Compiled("Sum(k,1,x,k)");
    const int n = 40;
    const auto evaluate = [&](int threads) {
        const TScopedWorkerThreads use(threads);
        std::vector<TValue> values(n);
        EXPECT_TRUE(RunInParallel(n, [&](int i, int) {
            values[static_cast<size_t>(i)] = EvaluateExpression(loop, ValueReal(i * 500.0L));
        }));
        return values;
    };
    const std::vector<TValue> alone = evaluate(1);
    const std::vector<TValue> together = evaluate(5);
    int defined = 0;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(SameValue(alone[static_cast<size_t>(i)], together[static_cast<size_t>(i)])) << i;
        defined += alone[static_cast<size_t>(i)].Defined;
    }
    // The budget ended some and not others.
    EXPECT_GT(defined, 1);
    EXPECT_LT(defined, n);
}

TEST_F(ParallelWorkTest, ABreakKeySeenByOneThreadStopsThemAll)
{
    EvaluationLimits.BreakPollInterval = 5000;
    const TKavirofunction loop = Compiled("Sum(k,1,10^6,k)+x");
    const TScopedWorkerThreads threads(4);
    const int n = 64;
    std::vector<TValue> values(n, ValueReal(-1.0L));
    keys.setKeyDown(platform::VkEscape);
    std::atomic<int> started = 0;
    EXPECT_FALSE(RunInParallel(n, [&](int i, int) {
        ++started;
        values[static_cast<size_t>(i)] = EvaluateExpression(loop, ValueReal(i));
    }));
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Interrupted);
    // Only the calling thread handled events: the key was looked at.
    EXPECT_FALSE(keys.eventRounds().empty());
    // What ran ended undefined; what had not started did not run.
    EXPECT_LT(started, n);
    for (int i = 0; i < n; ++i) {
        const TValue& v = values[static_cast<size_t>(i)];
        EXPECT_TRUE(!v.Defined || v.X == -1.0L) << i;
    }
    // Released, the next batch runs whole.
    keys.releaseAll();
    const TKavirofunction shortLoop = Compiled("Sum(k,1,100,k)+x");
    EXPECT_TRUE(RunInParallel(n, [&](int i, int) {
        values[static_cast<size_t>(i)] = EvaluateExpression(shortLoop, ValueReal(i));
    }));
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(values[static_cast<size_t>(i)].X, 5050.0L + i);
}

// Array evaluations on several threads use workspaces and programs of their
// own: the same columns as on one.
TEST_F(ParallelWorkTest, ColumnsAreTheSameOnEveryThread)
{
    TArrayView view;
    view.XAxis = TColumnAxis{0, 200, -4.0L, 4.0L};
    TColumnArray x;
    for (int c = 0; c <= 200; ++c)
        x.Set(c, ValueReal(-4.0L + c / 25.0L));
    const std::vector<TKavirofunction> formulas = ParallelCorpus();
    const int n = static_cast<int>(formulas.size());
    std::vector<TColumnArray> alone(static_cast<size_t>(n)), together(static_cast<size_t>(n));
    const auto evaluate = [&](std::vector<TColumnArray>& into) {
        return RunInParallel(n, [&](int i, int) {
            EvaluateArrays(formulas[static_cast<size_t>(i)], x, view, 0, nullptr, false, into[static_cast<size_t>(i)]);
        });
    };
    {
        const TScopedWorkerThreads one(1);
        ASSERT_TRUE(evaluate(alone));
    }
    {
        const TScopedWorkerThreads seven(7);
        ASSERT_TRUE(evaluate(together));
    }
    for (int i = 0; i < n; ++i)
        for (int c = 0; c <= 200; ++c)
            ASSERT_TRUE(SameValue(alone[static_cast<size_t>(i)].At(c), together[static_cast<size_t>(i)].At(c)))
                << formulas[static_cast<size_t>(i)].Text.toStdString() << " column " << c;
}

// What keeps a formula on one thread: chance and keys anywhere it reaches,
// and for columns a graph name anywhere it reaches.
TEST_F(ParallelWorkTest, FormulasThatDrawChanceOrReadGraphsAreFound)
{
    TKavirofunction& g = DocumentTables.UserFunctions[2];
    g = Compiled("x+rnd(3)");
    TKavirofunction& h = DocumentTables.UserFunctions[3];
    h = Compiled("y2(x)·2");
    struct Case {
        const char* Text;
        bool Chance;
        bool Graphs;
    };
    for (const Case c : {Case{"sin(x)+roll(x).x", false, false}, Case{"rnd(1)·x", true, false},
                         Case{"Pressed(27)+x", true, false}, Case{"g(x)-1", true, false}, Case{"y3(x)", false, true},
                         Case{"h(x)+1", false, true}, Case{"x^2+a", false, false}}) {
        const TKavirofunction f = Compiled(c.Text);
        ASSERT_FALSE(f.Code.isEmpty()) << c.Text;
        EXPECT_EQ(ReadsChanceOrKeys(f.Code), c.Chance) << c.Text;
        EXPECT_EQ(ReadsGraphColumns(f.Code), c.Graphs) << c.Text;
    }
}

} // namespace
