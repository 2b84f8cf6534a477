#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "model/ViewRange.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

class ScaleTTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        InitTokenTables();
        ScaleHooks.Redraw = [this](ScaleT&, TGraphImages&) { ++redraws; };
        ScaleHooks.PushViewHistory = [this](const ScaleT& v) { pushedLows.push_back(v.XAxis.Low); };
        view = std::make_unique<ScaleT>();
        view->Startup();
    }
    void TearDown() override { ResetGlobals(); }

    static void ResetGlobals()
    {
        ProgramState.Reset();
        ProgramSettings.Reset();
        Options.Reset();
        RedrawState.Reset();
        CompileSettings.Reset();
        ScaleHooks = TScaleHooks{};
    }

    bool SetRange(long double xLow, long double xHigh, long double yLow, long double yHigh)
    {
        return view->SetRange(view->GraphImages, yHigh, xHigh, yLow, xLow);
    }

    platform::MemorySettingsStore store;
    platform::ScopedSettingsStore scopedStore{store};
    std::unique_ptr<ScaleT> view;
    int redraws = 0;
    std::vector<long double> pushedLows;
};

TEST_F(ScaleTTest, StartsWithTheDefaultSquareView)
{
    ScaleT& v = *view;
    EXPECT_EQ(v.XAxis.VHigh, 400);
    EXPECT_EQ(v.YAxis.VHigh, 400);
    EXPECT_EQ(v.XAxis.Low, -5.0L);
    EXPECT_EQ(v.YAxis.High, 5.0L);
    EXPECT_TRUE(v.IsEqualScale());
    EXPECT_EQ(v.XAxis.AxisChar, u'x');
    EXPECT_EQ(v.YAxis.AxisChar, u'y');
    EXPECT_EQ(v.ColumnX[0].X, -5.0L);
    EXPECT_EQ(v.ColumnX[200].X, 0.0L);
    EXPECT_NEAR(static_cast<double>(v.ColumnX[-1].X), -5.025, 1E-15);
    EXPECT_EQ(v.ColumnX[LastUsedColumn].Defined, 1);
    EXPECT_EQ(v.UndefinedColumns[17].Defined, 0);
    EXPECT_EQ(v.UndefinedColumns[17].Kind, KindReal);
    EXPECT_EQ(v.PolorNum, 12);
    EXPECT_EQ(v.AxisWidth, 1);
    EXPECT_FALSE(IsDirtyObjects());
    EXPECT_EQ(ViewRange.XPixels, 400);
    EXPECT_EQ(CompileSettings.HorizontalAxisLetter, u'x');
}

TEST_F(ScaleTTest, LayoutReadsTheStoredStartViewAndReservesRoom)
{
    store.writeFloat(RegKeyScaleX, QStringLiteral("High"), 10.0L);
    store.writeFloat(RegKeyScaleX, QStringLiteral("Low"), -10.0L);
    store.writeInteger(RegKeyScaleX, QStringLiteral("VHigh"), 400);
    store.writeFloat(RegKeyScaleY, QStringLiteral("High"), 5.0L);
    store.writeFloat(RegKeyScaleY, QStringLiteral("Low"), -5.0L);
    store.writeInteger(RegKeyScaleY, QStringLiteral("VHigh"), 400);
    ProgramState.PresentationMode = 1;
    ProgramState.DisplayFontSize = 24;
    view->PsMesh = 3;
    view->Layout(40, true);
    EXPECT_EQ(view->XAxis.Low, -10.0L);
    EXPECT_EQ(view->XAxis.High, 10.0L);
    EXPECT_EQ(ProgramState.AspectFactor, 0.5L);
    EXPECT_EQ(view->XAxis.VHigh, 360);
    EXPECT_EQ(view->YAxis.VHigh, 360);
    EXPECT_EQ(ProgramSettings.GraphPixelWidth, 360);
    EXPECT_EQ(view->PsMesh, 0);
    EXPECT_EQ(view->AxisWidth, 2);
    EXPECT_EQ(ProgramState.FontSize, 24);

    ProgramSettings.ControlPalette = 1;
    view->PsMesh = 3;
    view->Layout(40, false);
    EXPECT_EQ(view->XAxis.VHigh, 400);
    EXPECT_EQ(view->PsMesh, 3);
}

TEST_F(ScaleTTest, AStoredGraphSizeBeyondTheColumnTablesIsClamped)
{
    ScaleHooks.DataPanelWidth = [] { return std::optional<int>(300); };
    const std::pair<int, int> cases[] = {{std::numeric_limits<int>::max(), MaxAxisPixels}, {50, MinAxisPixels}};
    for (const auto& [stored, expected] : cases) {
        store.writeInteger(RegKeyScaleX, QStringLiteral("VHigh"), stored);
        view->Layout(40, true);
        EXPECT_EQ(ProgramState.GraphPixelHeight, expected) << stored;
        EXPECT_EQ(ProgramSettings.GraphPixelWidth, expected - 40) << stored;
        EXPECT_LE(view->XAxis.VHigh, MaxAxisPixels);
        EXPECT_GE(view->YAxis.VHigh, MinAxisPixels);
    }
}

TEST_F(ScaleTTest, FittingPutsWholePixelsOnEveryTickStep)
{
    ASSERT_TRUE(SetRange(-5.3L, 5.3L, -5.3L, 5.3L));
    ScaleT& v = *view;
    EXPECT_NEAR(static_cast<double>(v.XAxis.PixelsPerUnit), 38.0, 1E-12);
    EXPECT_EQ(v.XAxis.ZeroPixel, 200.0L);
    EXPECT_EQ(v.XAxis.ValueToPixel(1.0L), 238);
    EXPECT_EQ(v.XAxis.ValueToPixel(-3.0L), 86);
    // The y axis keeps the pixels per unit of the aspect step: equal scale.
    EXPECT_NEAR(static_cast<double>(v.YAxis.PixelsPerUnit), 38.0, 1E-12);
    EXPECT_EQ(v.YAxis.ValueToPixel(0.0L), 200);
    EXPECT_EQ(v.ColumnX[238].X, 1.0L);
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(IsDirtyView() && IsDirtyObjects() && IsDirtyScale());
    for (int i = 1; i <= FunctionCount; ++i)
        EXPECT_TRUE(RedrawState.ChangedNames.has(Vocabulary.FunctionTokens[i]));
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.Area));
    EXPECT_EQ(ViewRange.XLow, v.XAxis.Low);
    EXPECT_EQ(ViewRange.YHigh, v.YAxis.High);
}

TEST_F(ScaleTTest, WithoutFittingTheRangeIsTakenAsGiven)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(SetRange(-5.3L, 5.3L, -2.0L, 8.6L));
    EXPECT_EQ(view->XAxis.Low, -5.3L);
    EXPECT_EQ(view->XAxis.PixelsPerUnit, 400.0L / 10.6L);
    EXPECT_EQ(view->YAxis.Low, -2.0L);
    EXPECT_EQ(view->YAxis.High, 8.6L);
    EXPECT_TRUE(view->IsEqualScale());
}

TEST_F(ScaleTTest, NearlyEqualScaleBecomesExactlyEqual)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(SetRange(-5.0L, 5.0L, -5.0025L, 5.0025L)); // ratio 1.0005
    EXPECT_TRUE(view->IsEqualScale());
    EXPECT_EQ(view->YAxis.High, 5.0L);
    ASSERT_TRUE(SetRange(-5.0L, 5.0L, -10.0L, 10.0L));
    EXPECT_EQ(view->YAxis.PixelsPerUnit, 20.0L);
}

TEST_F(ScaleTTest, RangesWithoutPixelsPerUnitAreRefused)
{
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double refused[][4] = {
        {1.0L, 1.0L, -5.0L, 5.0L}, {-5.0L, 5.0L, 2.0L, 2.0L}, {5.0L, -5.0L, -5.0L, 5.0L},
        {nan, 5.0L, -5.0L, 5.0L},  {-inf, 5.0L, -5.0L, 5.0L}, {1.0L, 1.0L + 1E-17L, -5.0L, 5.0L},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(SetRange(r[0], r[1], r[2], r[3]));
        EXPECT_FALSE(view->SetRangeRecorded(view->GraphImages, r[3], r[1], r[2], r[0]));
    }
    EXPECT_EQ(view->XAxis.Low, -5.0L);
    EXPECT_EQ(view->XAxis.PixelsPerUnit, 40.0L);
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(pushedLows.empty());
}

TEST_F(ScaleTTest, ZoomingRecordsTheViewAndNeverCollapsesIt)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(view->ZoomAt(1.0L, 1.0L, 2.0L, 2.0L));
    EXPECT_EQ(pushedLows, std::vector<long double>{-5.0L});
    EXPECT_EQ(view->XAxis.Low, -2.0L);
    EXPECT_EQ(view->XAxis.High, 3.0L);
    EXPECT_EQ(view->YAxis.High, 3.0L);

    int refusedAt = 0;
    for (int i = 1; i <= 60 && !refusedAt; ++i)
        if (!view->ZoomAt(1.0L / 3.0L, 1.0L / 3.0L, 10.0L, 10.0L))
            refusedAt = i;
    EXPECT_GT(refusedAt, 5);
    EXPECT_TRUE(std::isfinite(view->XAxis.PixelsPerUnit));
    EXPECT_TRUE(ScaleSubT::IsUsableRange(view->XAxis.Low, view->XAxis.High));
    EXPECT_FALSE(view->ZoomAt(0.0L, 0.0L, 0.0L, 0.0L));
}

TEST_F(ScaleTTest, NormalViewRestoresTheStartAspectAndAngleSteps)
{
    Options.AreaRectify = 0;
    ProgramState.AspectFactor = 0.5L;
    view->PolorNum = 36;
    view->PointStates[3].Kind = 1;
    view->SetNormalView(view->GraphImages);
    EXPECT_EQ(view->PolorNum, 12);
    EXPECT_EQ(view->PointStates[3].Kind, 0);
    EXPECT_EQ(view->YAxis.Low, -2.5L);
    EXPECT_EQ(view->YAxis.High, 2.5L);
    EXPECT_EQ(view->YAxis.PixelsPerUnit, 80.0L);
    EXPECT_TRUE(pushedLows.empty());
}

TEST_F(ScaleTTest, ColumnsHoldTheWorldXOfEveryPixelColumn)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(SetRange(0.0L, 400.0L, 0.0L, 400.0L));
    for (int c : {-1, 0, 1, 399, 400, LastUsedColumn}) {
        EXPECT_EQ(view->ColumnX[c].X, static_cast<long double>(c));
        EXPECT_EQ(view->ColumnX[c].Kind, KindReal);
        EXPECT_EQ(view->ColumnX[c].Defined, 1);
    }
}

TEST_F(ScaleTTest, AngleStepsMoveThroughTheirTable)
{
    struct Case {
        int From, Up, Down;
    };
    const Case cases[] = {{12, 18, 9}, {72, 72, 36}, {1, 2, 1}, {5, 6, 4}, {7, 18, 9}, {0, 18, 9}, {1000, 18, 9}};
    for (const Case& c : cases) {
        view->PolorNum = c.From;
        view->StepUp();
        EXPECT_EQ(view->PolorNum, c.Up) << c.From;
        view->PolorNum = c.From;
        view->StepDown();
        EXPECT_EQ(view->PolorNum, c.Down) << c.From;
    }
    EXPECT_TRUE(IsDirtyScale());
}

TEST_F(ScaleTTest, PolarSnappingRoundsTheAngleAndTheRadius)
{
    ScaleT& v = *view;
    long double x = 0;
    long double y = 0;
    // (1, 1.05) lies at 46.4°: with 12 steps of 30° that is 60°; r 1.45 → 1.
    v.SnapPolar(v.XAxis.ValueToPixel(1.0L), v.YAxis.ValueToPixel(1.05L), y, x);
    EXPECT_NEAR(static_cast<double>(x), 0.5, 1E-15);
    EXPECT_NEAR(static_cast<double>(y), std::sqrt(3.0) / 2.0, 1E-15);
    v.PolorNum = 8; // 45° steps
    v.SnapPolar(v.XAxis.ValueToPixel(1.0L), v.YAxis.ValueToPixel(1.05L), y, x);
    EXPECT_NEAR(static_cast<double>(x), std::sqrt(0.5), 1E-15);
    v.PolorNum = 12;
    v.SnapPolar(200, 100, y, x); // straight up
    EXPECT_EQ(x, 0.0L);
    EXPECT_EQ(y, 3.0L); // 2.5 rounds away from zero
    v.SnapPolar(100, 200, y, x); // straight left
    EXPECT_EQ(y, 0.0L);
    EXPECT_NEAR(static_cast<double>(x), -3.0, 1E-15);
    v.PolorNum = 0; // not a step count: 12
    v.SnapPolar(200, 300, y, x);
    EXPECT_EQ(v.PolorNum, 12);
    EXPECT_EQ(x, 0.0L);
    EXPECT_EQ(y, -3.0L);
}

TEST_F(ScaleTTest, AxesGoToTheBorderWhenTheirLineIsOutOfView)
{
    ScaleT& v = *view;
    Options.AreaRectify = 0;
    EXPECT_FALSE(v.IsXAxisAtBorder());
    EXPECT_FALSE(v.IsYAxisAtBorder());
    v.AxisOn = 1;
    EXPECT_TRUE(v.IsXAxisAtBorder());
    EXPECT_TRUE(v.IsYAxisAtBorder());
    v.AxisOn = 0;
    ASSERT_TRUE(SetRange(0.05L, 10.05L, -0.01L, 9.99L));
    EXPECT_TRUE(v.IsYAxisAtBorder()); // x = 0 at pixel -1, left of 4
    EXPECT_TRUE(v.IsXAxisAtBorder()); // y = 0 at pixel 400, below VHigh - 2
    v.YAxis.AxesVisible = 0;
    EXPECT_FALSE(v.IsYAxisAtBorder());
}

TEST_F(ScaleTTest, ClipLineMakesSafePixelEnds)
{
    struct Case {
        std::uint8_t Kind;
        long double X1, Y1, X2, Y2;
        bool Result;
        TPointL P1, P2;
    };
    // Default view: -5..5 on 400 pixels; world (x, y) is pixel (200 + 40x, 200 - 40y).
    const Case cases[] = {
        {ClipWholeLine, -1.0L, 0.0L, 1.0L, 0.5L, true, {0.0L, 240.0L}, {400.0L, 140.0L}},
        {ClipWholeLine, 0.0L, -1.0L, 0.5L, 1.0L, true, {260.0L, 0.0L}, {160.0L, 400.0L}},
        {ClipWholeLine, -1.0L, 2.0L, 1.0L, 2.0L, true, {0.0L, 120.0L}, {400.0L, 120.0L}},
        {ClipWholeLine, 1.0L, 1.0L, 1.0L, 1.0L, false, {240.0L, 160.0L}, {240.0L, 160.0L}},
        {ClipHalfLine, 0.0L, 0.0L, 1.0L, 0.5L, true, {200.0L, 200.0L}, {400.0L, 100.0L}},
        {ClipHalfLine, 0.0L, 0.0L, -0.5L, -1.0L, true, {200.0L, 200.0L}, {100.0L, 400.0L}},
        {ClipHalfLine, 6.0L, 0.0L, 7.0L, 0.0L, true, {440.0L, 200.0L}, {480.0L, 200.0L}},
        {ClipRectangle, -6.0L, -6.0L, 2.0L, 7.0L, true, {-1.0L, 401.0L}, {280.0L, -1.0L}},
        {1, 0.0L, 0.0L, 1.0L, 1.0L, true, {200.0L, 200.0L}, {240.0L, 160.0L}},
        {1, 0.0L, 0.0L, 1E6L, 0.0L, true, {200.0L, 200.0L}, {1000.0L, 200.0L}},
        {1, -1E6L, 0.0L, 0.0L, 0.0L, true, {-600.0L, 200.0L}, {200.0L, 200.0L}},
        {1, -1E6L, 3.0L, -2E6L, 3.0L, true, {-10000.0L, 80.0L}, {-10000.0L, 80.0L}}, // wholly left
        {1, -505.0L, -20.0L, 20.0L, 505.0L, true, {800.0L, 1000.0L}, {800.0L, -10000.0L}}, // passes by
    };
    for (const Case& c : cases) {
        TPointL p1;
        TPointL p2;
        EXPECT_EQ(view->ClipLine(c.Kind, p1, c.X1, c.Y1, c.X2, c.Y2, p2), c.Result);
        const std::string where = std::to_string(c.Kind) + " (" + std::to_string(static_cast<double>(c.X1)) + "," +
                                  std::to_string(static_cast<double>(c.Y1)) + ")";
        EXPECT_NEAR(static_cast<double>(p1.X), static_cast<double>(c.P1.X), 1E-9) << where;
        EXPECT_NEAR(static_cast<double>(p1.Y), static_cast<double>(c.P1.Y), 1E-9) << where;
        EXPECT_NEAR(static_cast<double>(p2.X), static_cast<double>(c.P2.X), 1E-9) << where;
        EXPECT_NEAR(static_cast<double>(p2.Y), static_cast<double>(c.P2.Y), 1E-9) << where;
    }
}

TEST_F(ScaleTTest, ClipLineWorksInMagnifiedPixels)
{
    ProgramState.Magnification = 16;
    QPoint p1;
    QPoint p2;
    ASSERT_TRUE(view->ClipLineToPoints(ClipWholeLine, p1, -1.0L, 0.0L, 1.0L, 0.5L, p2));
    EXPECT_EQ(p1, QPoint(0, 3840));
    EXPECT_EQ(p2, QPoint(6400, 2240));
    QPoint q;
    view->WorldToPoint(q, 1.0L, 1.0L);
    EXPECT_EQ(q, QPoint(3840, 2560));
}

} // namespace
