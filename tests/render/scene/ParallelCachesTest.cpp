// The functions' column caches computed on several threads: the same
// columns, to the bit, as on one thread, whatever the functions read of
// each other, of chance or of the parameters.
#include "SceneTestKit.h"
#include "engine/ParallelWork.h"
#include "model/BuiltinsNumeric.h"
#include "render/scene/ColumnCaches.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Graph names forwards and backwards, through a user function, chance,
// domains with holes and constants.
const char* const Functions[FunctionCount] = {
    "a·sin(x)",      "y1(x)+1",        "exp(-x^2)·a",   "sqrt(4-x^2)",  "ln(abs(x)+a)",
    "y9(x)·2",       "a/(1+x^2)",      "f(x)-y3(x)",    "a·x^3/10-x",   "sin(a·x)·x/3",
    "rnd(1)+x",      "x/a+sin(3x)",    "a·tanh(x)",     "2^(x/a)",      "Sum(k,1,4,x^k)/a",
    "(x-a)^2/4",     "3",              "sqrt(abs(a·x))", "1/x",         "f'(x)",
};

class ParallelCachesTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        SetUserFunction(1, "x^2-y1(x)");
        for (int i = 1; i <= FunctionCount; ++i)
            SetFunction(i, Functions[i - 1]);
    }

    // Every cache after a step of a, computed on that many threads.
    std::vector<TColumnArray> Caches(int threads, int& evaluated)
    {
        const TScopedWorkerThreads use(threads);
        SeedRandom(7);
        view.InitColumns();
        StepParameter("a", 1.25L);
        evaluated = UpdateColumnCaches(view);
        std::vector<TColumnArray> caches;
        for (int i = 1; i <= FunctionCount; ++i) {
            const TColumnArray* cache = view.Columns.ValidCache(i);
            EXPECT_NE(cache, nullptr) << Functions[i - 1];
            caches.push_back(cache ? *cache : TColumnArray{});
        }
        ClearRedrawState();
        return caches;
    }
};

TEST_F(ParallelCachesTest, CachesAreTheSameOnOneThreadAndOnSeveral)
{
    int evaluatedAlone = 0;
    const std::vector<TColumnArray> alone = Caches(1, evaluatedAlone);
    EXPECT_EQ(evaluatedAlone, FunctionCount);
    for (int threads : {3, 8}) {
        int evaluated = 0;
        const std::vector<TColumnArray> together = Caches(threads, evaluated);
        EXPECT_EQ(evaluated, evaluatedAlone);
        for (int i = 0; i < FunctionCount; ++i)
            for (int c = TColumnArray::First; c <= view.XAxis.VHigh + 1; ++c) {
                const TValue u = alone[static_cast<size_t>(i)].At(c);
                const TValue v = together[static_cast<size_t>(i)].At(c);
                ASSERT_TRUE(u.Kind == v.Kind && u.Defined == v.Defined && u.X == v.X && u.Y == v.Y &&
                            std::signbit(u.X) == std::signbit(v.X))
                    << Functions[i] << " column " << c << " on " << threads << " threads";
            }
    }
}

// A step that changes one function's name evaluates that one only, on any
// number of threads.
TEST_F(ParallelCachesTest, AStepEvaluatesOnlyWhatItReaches)
{
    int evaluated = 0;
    Caches(4, evaluated);
    const TScopedWorkerThreads use(4);
    SetFunction(7, "x+b");
    SetDirtyObjects();
    MarkChanged(FunctionToken(7));
    EXPECT_EQ(UpdateColumnCaches(view), 1);
    EXPECT_EQ(view.Columns.ValidCache(7)->X(200), view.Columns.ColumnX().X(200) + DocumentTables.Params[2].Value);
}

} // namespace
