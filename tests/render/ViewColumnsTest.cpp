#include "engine/ArrayEvaluator.h"
#include "engine/Compiler.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"
#include "render/view/ViewColumns.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The view's column tables over an x axis of 400 pixels, and the array
// evaluator reading its graph caches through them.
class ViewColumnsTest : public EngineDocumentTest {
protected:
    void SetUp() override
    {
        EngineDocumentTest::SetUp();
        ProgramState.Magnification = 1;
        view.Graphs = columns.get();
        SetXRange(-5.0L, 5.0L);
    }

    void SetXRange(long double low, long double high)
    {
        axis.VHigh = 400;
        axis.SetBounds(low, high);
        axis.Recalc();
        columns->InitColumns(axis);
        view.XAxis = TColumnAxis{0, 400, low, high};
    }
    static TKavirofunction Compiled(const char* text)
    {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, ModeFunction);
        return f;
    }
    TColumnArray Evaluate(const char* text, bool refresh = false, const TColumnArray* x = nullptr)
    {
        TColumnArray out;
        EvaluateArrays(Compiled(text), x ? *x : columns->ColumnX(), view, 0, nullptr, refresh, out);
        return out;
    }
    static void Fill(TColumnArray& out, long double v) { out.Fill(0, 400, ValueReal(v)); }

    ScaleSubT axis;
    std::unique_ptr<ViewColumns> columns = std::make_unique<ViewColumns>();
    TArrayView view;
};

TEST_F(ViewColumnsTest, ANewRangeLeavesNoCacheCurrent)
{
    EXPECT_EQ(columns->ColumnX().X(240), 1.0L);
    for (int k = 1; k <= FunctionCount; ++k)
        columns->RefreshCache(k, [k](TColumnArray& out) { Fill(out, k); });
    columns->SetUndefinedCache(FunctionCount);
    for (int k = 1; k <= FunctionCount; ++k)
        ASSERT_NE(columns->ValidCache(k), nullptr) << k;
    EXPECT_EQ(columns->ValidCache(7)->X(100), 7.0L);
    EXPECT_FALSE(columns->ValidCache(FunctionCount)->Defined(100));

    const auto generation = columns->Generation();
    SetXRange(0.0L, 10.0L);
    EXPECT_GT(columns->Generation(), generation);
    EXPECT_EQ(columns->ColumnX().X(240), 6.0L);
    EXPECT_EQ(columns->ColumnX().Kind(-1), KindReal);
    for (int k = 1; k <= FunctionCount; ++k)
        EXPECT_EQ(columns->ValidCache(k), nullptr) << k;

    // Only the operations that compute a cache make it current again.
    columns->RefreshCache(3, [](TColumnArray& out) { Fill(out, 3.0L); });
    EXPECT_NE(columns->ValidCache(3), nullptr);
    columns->InvalidateCache(3);
    EXPECT_EQ(columns->ValidCache(3), nullptr);
    columns->OverwriteCache(3, [](TColumnArray& out) { Fill(out, 4.0L); });
    EXPECT_EQ(columns->ValidCache(3), nullptr);
}

TEST_F(ViewColumnsTest, AGraphNameIsRecomputedNeverReadStale)
{
    DocumentTables.Functions[1].Func = Compiled("x^2");
    EXPECT_EQ(Evaluate("y1+1").X(240), 2.0L); // x = 1
    ASSERT_NE(columns->ValidCache(1), nullptr);

    // A new range: column 240 is x = 6 now.
    SetXRange(0.0L, 10.0L);
    EXPECT_EQ(Evaluate("y1+1").X(240), 37.0L);
    // A new formula for y1, as the redraw marks it.
    DocumentTables.Functions[1].Func = Compiled("x^3");
    columns->InvalidateCache(1);
    EXPECT_EQ(Evaluate("y1+1").X(240), 217.0L);

    // A refresh over other inputs stores its values in the cache, but the
    // next evaluation over the view computes the view's own again.
    TColumnArray shifted;
    for (int c = 0; c <= 400; ++c)
        shifted.Set(c, ValueReal(columns->ColumnX().X(c) + 1.0L));
    EXPECT_EQ(Evaluate("y1", true, &shifted).X(240), 343.0L);
    EXPECT_EQ(columns->ValidCache(1), nullptr);
    EXPECT_EQ(Evaluate("y1").X(240), 216.0L);
    EXPECT_EQ(columns->ValidCache(1)->X(240), 216.0L);
}

} // namespace
