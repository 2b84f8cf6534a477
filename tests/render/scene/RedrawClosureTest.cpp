// Closing the change set over references, the closure's memory, and which
// column caches a redraw evaluates again.
#include "SceneTestKit.h"
#include "model/Options.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/RedrawClosure.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

class RedrawClosureTest : public SceneTest {
protected:
    // Marks each name, closes the set and returns the names that were added.
    static std::vector<TTokenCode> ClosureOf(std::initializer_list<TTokenCode> names)
    {
        ClearChangedNames();
        for (TTokenCode n : names)
            MarkChanged(n);
        const TWideCharSet before = RedrawState.ChangedNames;
        BuildRedrawClosure();
        std::vector<TTokenCode> added;
        for (int c = 1; c < TWideCharSet::Size; ++c)
            if (RedrawState.ChangedNames.has(static_cast<char16_t>(c)) && !before.has(static_cast<char16_t>(c)))
                added.push_back(static_cast<TTokenCode>(c));
        return added;
    }
    // A value no evaluation gives, put into a current cache.
    void Sentinel(int i)
    {
        view.Columns.AdjustCache(i, [](TColumnArray& cache) {
            cache.Set(7, ValueReal(-123.0L));
            return true;
        });
    }
    bool HoldsSentinel(int i) const
    {
        const TColumnArray* cache = view.Columns.ValidCache(i);
        return cache && cache->X(7) == -123.0L;
    }
};

TEST_F(RedrawClosureTest, ChangingAParameterRecomputesOnlyWhatReadsIt)
{
    SetFunction(1, "a·x");
    SetFunction(2, "y1+1");
    SetFunction(3, "x^2");
    SetDirtyObjects();
    view.Redraw(images);
    for (int i = 1; i <= 3; ++i)
        Sentinel(i);
    const int built = ClosureMemory.ClosuresBuilt;

    StepParameter("a", 2.0L);
    view.Redraw(images);
    EXPECT_FALSE(HoldsSentinel(1));
    EXPECT_FALSE(HoldsSentinel(2));
    EXPECT_TRUE(HoldsSentinel(3));
    EXPECT_EQ(view.Columns.ValidCache(2)->X(240), 3.0L); // y1(1) + 1 with a = 2
    EXPECT_EQ(ClosureMemory.ClosuresBuilt, built + 1);

    // The same change again: the closure is taken from memory.
    StepParameter("a", 3.0L);
    view.Redraw(images);
    EXPECT_EQ(ClosureMemory.ClosuresBuilt, built + 1);
    EXPECT_EQ(view.Columns.ValidCache(2)->X(240), 4.0L);
    EXPECT_TRUE(HoldsSentinel(3));
}

TEST_F(RedrawClosureTest, AFormulaChangedBetweenEqualChangeSetsIsNotMissed)
{
    SetFunction(1, "a·x");
    SetFunction(3, "x^2");
    EXPECT_EQ(ClosureOf({Token("a")}), (std::vector<TTokenCode>{FunctionToken(1)}));
    // y3 now reads a too; the remembered closure must not hide it.
    SetFunction(3, "a+x");
    EXPECT_EQ(ClosureOf({Token("a")}), (std::vector<TTokenCode>{FunctionToken(1), FunctionToken(3)}));
    // And back: the memory follows the formulas, not just the change set.
    SetFunction(3, "x^2");
    EXPECT_EQ(ClosureOf({Token("a")}), (std::vector<TTokenCode>{FunctionToken(1)}));
}

TEST_F(RedrawClosureTest, ReachesEveryKindOfDependant)
{
    TDocumentTables& doc = DocumentTables;
    SetUserFunction(1, "x+b");        // f
    SetFunction(4, "f(x)");           // through the user function
    SetRelation(2, "y=c·x");          // relation 2
    TPointFunction& p = doc.Points[1]; // P: a point reading d
    p.Kind = ObjectPoint;
    SetFormula(1, p.Pos, "(d, 1)");
    TPointFunction& q = doc.Points[2]; // Q: a parametric curve in t over 0 .. m
    q.Kind = ObjectParametric;
    SetFormula(2, q.X, "t");
    SetFormula(2, q.Y, "t·n");
    SetFormula(2, q.Low, "0");
    SetFormula(2, q.High, "m");
    const TTokenVocabulary& v = Vocabulary;

    struct Case {
        const char* Name;
        std::vector<TTokenCode> Added;
    };
    const Case cases[] = {
        {"b", {FunctionToken(4), v.UserFunctionTokens[1]}},
        {"c", {v.RelationTokens[2]}},
        {"d", {v.PointTokens[1]}},
        {"m", {v.PointTokens[2]}}, // through the interval
        {"n", {v.PointTokens[2]}}, // through the curve's formula
        {"t", {}},                 // the curve's own parameter
        {"p", {}},
    };
    for (const Case& c : cases) {
        std::vector<TTokenCode> expected = c.Added;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(ClosureOf({Token(c.Name)}), expected) << c.Name;
    }
    ClosureOf({Token("c")});
    EXPECT_EQ(RedrawState.RelationChanged[2], 1);
    EXPECT_EQ(RedrawState.RelationChanged[1], 0);
}

TEST_F(RedrawClosureTest, ARelationReadingThetaIgnoresThetaChangesInPolarMode)
{
    SetRelation(1, "y=@·x");
    const std::vector<TTokenCode> relation{Vocabulary.RelationTokens[1]};
    Options.ThetaMode = 1;
    EXPECT_TRUE(ClosureOf({Token("@")}).empty());
    Options.ThetaMode = 0;
    SetRelation(1, "y=@·x");
    EXPECT_EQ(ClosureOf({Token("@")}), relation);
}

TEST_F(RedrawClosureTest, CachesFollowTheViewAndTheFormulas)
{
    SetFunction(1, "sqrt(x-0.01)");
    SetFunction(2, "x");
    SetDirtyObjects();
    view.Redraw(images);
    // The domain edge lies between columns 200 (x = 0) and 201: column 200
    // takes the value at the edge.
    const TColumnArray& root = *view.Columns.ValidCache(1);
    ASSERT_TRUE(root.Defined(200));
    EXPECT_LT(std::fabs(root.X(200)), 1E-6L);
    EXPECT_FALSE(root.Defined(199));

    // A new range leaves no cache current; the redraw computes them all.
    view.InitColumns();
    SetDirtyObjects();
    view.Redraw(images);
    EXPECT_NE(view.Columns.ValidCache(2), nullptr);

    // An emptied formula gets the undefined columns and draws nothing.
    SetFunction(2, "");
    SetDirtyObjects();
    view.Redraw(images);
    const TColumnArray* emptied = view.Columns.ValidCache(2);
    ASSERT_NE(emptied, nullptr);
    for (int c = 0; c <= 400; c += 50)
        EXPECT_FALSE(emptied->Defined(c)) << c;
}

TEST_F(RedrawClosureTest, RefinementFindsBothEndsOfADomain)
{
    // sqrt(1 − x²) is defined on [−1, 1]: columns 160 and 240 lie exactly on
    // the ends and keep their values; the columns beyond stay undefined.
    SetFunction(1, "sqrt(1-x^2)");
    SetFunction(2, "sqrt(0.9-x^2)");
    SetDirtyObjects();
    view.Redraw(images);
    const TColumnArray& exact = *view.Columns.ValidCache(1);
    EXPECT_TRUE(exact.Defined(160));
    EXPECT_FALSE(exact.Defined(159));
    EXPECT_FALSE(exact.Defined(241));
    // ±√0.9 = ±0.94868 falls between columns 162 and 163 (nearer 162) and
    // between 237 and 238 (nearer 238): those take the edge's value, ≈ 0.
    const TColumnArray& inner = *view.Columns.ValidCache(2);
    ASSERT_TRUE(inner.Defined(162));
    ASSERT_TRUE(inner.Defined(238));
    EXPECT_LT(inner.X(162), 1E-6L);
    EXPECT_LT(inner.X(238), 1E-6L);
    EXPECT_FALSE(inner.Defined(161));
    EXPECT_FALSE(inner.Defined(239));
}

TEST_F(RedrawClosureTest, AreaReadsTheView)
{
    struct Case {
        const char* Formula;
        bool Defined;
        long double Value;
    };
    const Case cases[] = {
        {"area(0)", true, -5.0L}, {"area(2)", true, 5.0L},  {"area(-0.4)", true, -5.0L},
        {"area(-1)", false, 0.0L}, {"area(4)", false, 0.0L},
    };
    for (const Case& c : cases) {
        SetFunction(1, c.Formula);
        SetDirtyObjects();
        MarkChanged(FunctionToken(1));
        view.Redraw(images);
        const TColumnArray& cache = *view.Columns.ValidCache(1);
        EXPECT_EQ(cache.Defined(100) != 0, c.Defined) << c.Formula;
        if (c.Defined) {
            EXPECT_EQ(cache.X(100), c.Value) << c.Formula;
        }
    }
}

} // namespace
