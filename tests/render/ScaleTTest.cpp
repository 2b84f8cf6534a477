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
#include "render/view/fakes/CountingViewServices.h"
#include "tests/ExtendedNear.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <iomanip>
#include <numbers>
#include <random>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

} // namespace

void PrintTo(const TWorldRect& r, std::ostream* os)
{
    *os << std::setprecision(21) << "x " << r.Low.X << " .. " << r.High.X << ", y " << r.Low.Y << " .. " << r.High.Y;
}

namespace {

class ScaleTTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobals();
        InitTokenTables();
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
    }

    bool SetRange(long double xLow, long double xHigh, long double yLow, long double yHigh)
    {
        return view->SetRange(view->GraphImages, {{xLow, yLow}, {xHigh, yHigh}});
    }

    platform::MemorySettingsStore store;
    platform::ScopedSettingsStore scopedStore{store};
    CountingRedrawer redrawer;
    ScopedRedrawer scopedRedrawer{redrawer};
    std::unique_ptr<ScaleT> view;
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
    EXPECT_EQ(v.Columns.ColumnX().X(0), -5.0L);
    EXPECT_EQ(v.Columns.ColumnX().X(200), 0.0L);
    EXPECT_EXTENDED_NEAR(v.Columns.ColumnX().X(-1), -5.025L, 1E-18L);
    EXPECT_EQ(v.Columns.ColumnX().Defined(LastUsedColumn), 1);
    EXPECT_EQ(v.Columns.UndefinedColumns().Defined(17), 0);
    EXPECT_EQ(v.Columns.UndefinedColumns().Kind(17), KindReal);
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
    CountingRedrawWindow host;
    host.PanelWidth = 300;
    const ScopedRedrawWindow installed(host);
    const std::pair<int, int> cases[] = {{std::numeric_limits<int>::max(), MaxAxisPixels}, {50, MinAxisPixels}};
    ProgramState.GraphMaxHeight = std::numeric_limits<int>::max(); // no screen cuts it first
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
    EXPECT_EXTENDED_NEAR(v.XAxis.PixelsPerUnit, 38.0L, 1E-17L);
    EXPECT_EQ(v.XAxis.ZeroPixel, 200.0L);
    EXPECT_EQ(v.XAxis.ValueToPixel(1.0L), 238);
    EXPECT_EQ(v.XAxis.ValueToPixel(-3.0L), 86);
    // The y axis keeps the pixels per unit of the aspect step: equal scale.
    EXPECT_EXTENDED_NEAR(v.YAxis.PixelsPerUnit, 38.0L, 1E-17L);
    EXPECT_EQ(v.YAxis.ValueToPixel(0.0L), 200);
    EXPECT_EQ(v.Columns.ColumnX().X(238), 1.0L);
    EXPECT_EQ(redrawer.Redraws, 1);
    EXPECT_EQ(redrawer.LastImages, &v.GraphImages);
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

// The view set to its own range stays as it is, bit for bit: a saved view
// opens as it was saved. Ranges of every size and place, axes of every
// length, fitted and not.
TEST_F(ScaleTTest, SettingTheViewToItsOwnRangeChangesNothing)
{
    std::mt19937_64 random(20240611);
    const auto uniform = [&](long double a, long double b) {
        return a + (b - a) * static_cast<long double>(random() >> 11) / 0x1p53L;
    };
    for (int i = 0; i < 3000; ++i) {
        ScaleT& v = *view;
        Options.AreaRectify = i % 4 != 0 ? 1 : 0;
        v.XAxis.VHigh = static_cast<int>(uniform(150, 1600));
        v.YAxis.VHigh = static_cast<int>(uniform(150, 1600));
        v.XAxis.Number = static_cast<int>(uniform(1, 12));
        v.XAxis.Base = i % 3 == 0 ? Pi / 2 : 1.0L;
        const long double scale = std::pow(10.0L, uniform(-6, 6));
        const long double x0 = uniform(-20, 20) * scale * (i % 5 == 0 ? 1000 : 1);
        const long double y0 = uniform(-20, 20) * scale;
        const long double w = uniform(0.1L, 40) * scale;
        const long double h = i % 2 ? w * uniform(0.999L, 1.001L) : uniform(0.1L, 40) * scale;
        ASSERT_TRUE(SetRange(x0, x0 + w, y0, y0 + h));
        const TWorldRect first = v.Range();
        const TAxisMapping x = v.XAxis.Mapping();
        const TAxisMapping y = v.YAxis.Mapping();
        ASSERT_TRUE(v.SetRange(v.GraphImages, first));
        if (v.Range() != first || !(v.XAxis.Mapping() == x) || !(v.YAxis.Mapping() == y)) {
            ADD_FAILURE() << i << ": " << ::testing::PrintToString(first) << " became "
                          << ::testing::PrintToString(v.Range());
            break;
        }
    }
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
        EXPECT_FALSE(view->SetRangeRecorded(view->GraphImages, {{r[0], r[2]}, {r[1], r[3]}}));
    }
    EXPECT_EQ(view->XAxis.Low, -5.0L);
    EXPECT_EQ(view->XAxis.PixelsPerUnit, 40.0L);
    EXPECT_EQ(redrawer.Redraws, 0);
    EXPECT_TRUE(redrawer.PushedViews.empty());
}

TEST_F(ScaleTTest, ZoomingRecordsTheViewAndNeverCollapsesIt)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(view->ZoomAt({1.0L, 1.0L}, 2.0L, 2.0L));
    EXPECT_EQ(redrawer.PushedViews, (std::vector<TWorldRect>{{{-5.0L, -5.0L}, {5.0L, 5.0L}}}));
    EXPECT_EQ(redrawer.Redraws, 1);
    EXPECT_EQ(view->XAxis.Low, -2.0L);
    EXPECT_EQ(view->XAxis.High, 3.0L);
    EXPECT_EQ(view->YAxis.High, 3.0L);

    int refusedAt = 0;
    for (int i = 1; i <= 60 && !refusedAt; ++i)
        if (!view->ZoomAt({1.0L / 3.0L, 1.0L / 3.0L}, 10.0L, 10.0L))
            refusedAt = i;
    EXPECT_GT(refusedAt, 5);
    EXPECT_TRUE(std::isfinite(view->XAxis.PixelsPerUnit));
    EXPECT_TRUE(ScaleSubT::IsUsableRange(view->XAxis.Low, view->XAxis.High));
    EXPECT_EQ(static_cast<int>(redrawer.PushedViews.size()), redrawer.Redraws);
    EXPECT_FALSE(view->ZoomAt({0.0L, 0.0L}, 0.0L, 0.0L));
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
    EXPECT_TRUE(redrawer.PushedViews.empty());
    EXPECT_EQ(redrawer.Redraws, 1);
}

TEST_F(ScaleTTest, ColumnsHoldTheWorldXOfEveryPixelColumn)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(SetRange(0.0L, 400.0L, 0.0L, 400.0L));
    for (int c : {-1, 0, 1, 399, 400, LastUsedColumn}) {
        EXPECT_EQ(view->Columns.ColumnX().X(c), static_cast<long double>(c));
        EXPECT_EQ(view->Columns.ColumnX().Kind(c), KindReal);
        EXPECT_EQ(view->Columns.ColumnX().Defined(c), 1);
    }
}

TEST_F(ScaleTTest, AngleStepsMoveThroughTheirTable)
{
    struct Case {
        int From, Up, Down;
    };
    // A count between the table's entries steps to its neighbours; one
    // outside 1..72 counts as 12.
    const Case cases[] = {{12, 18, 9}, {72, 72, 36}, {1, 2, 1},   {5, 6, 4},     {7, 8, 6},
                          {10, 12, 9}, {71, 72, 36}, {0, 18, 9}, {73, 18, 9}, {1000, 18, 9}};
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
    // (1, 1.05) lies at 46.4°: with 12 steps of 30° that is 60°; r 1.45 → 1.
    TWorldPoint p = v.SnapPolar(v.XAxis.ValueToPixel(1.0L), v.YAxis.ValueToPixel(1.05L));
    EXPECT_EXTENDED_NEAR(p.X, 0.5L, 1E-18L);
    EXPECT_EXTENDED_NEAR(p.Y, std::sqrt(3.0L) / 2.0L, 1E-18L);
    v.PolorNum = 8; // 45° steps
    p = v.SnapPolar(v.XAxis.ValueToPixel(1.0L), v.YAxis.ValueToPixel(1.05L));
    EXPECT_EXTENDED_NEAR(p.X, std::sqrt(0.5L), 1E-18L);
    v.PolorNum = 12;
    p = v.SnapPolar(200, 100); // straight up
    EXPECT_EQ(p.X, 0.0L);
    EXPECT_EQ(p.Y, 3.0L); // 2.5 rounds away from zero
    p = v.SnapPolar(100, 200); // straight left
    EXPECT_EQ(p.Y, 0.0L);
    EXPECT_EXTENDED_NEAR(p.X, -3.0L, 1E-18L);
    v.PolorNum = 7; // not in the buttons' table, but used as it stands
    p = v.SnapPolar(v.XAxis.ValueToPixel(1.0L), v.YAxis.ValueToPixel(1.05L)); // 46.4° → 360° / 7
    EXPECT_EXTENDED_NEAR(p.Y / p.X, std::tan(2.0L * Pi / 7.0L), 1E-15L);
    v.PolorNum = 0; // not a step count: 12, and the view keeps what it holds
    p = v.SnapPolar(200, 300);
    EXPECT_EQ(v.PolorNum, 0);
    EXPECT_EQ(p, (TWorldPoint{0.0L, -3.0L}));
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
        TWorldPoint A, B;
        bool Result;
        TPointL P1, P2;
    };
    // Default view: -5..5 on 400 pixels; world (x, y) is pixel (200 + 40x, 200 - 40y).
    const Case cases[] = {
        {ClipWholeLine, {-1.0L, 0.0L}, {1.0L, 0.5L}, true, {0.0L, 240.0L}, {400.0L, 140.0L}},
        {ClipWholeLine, {0.0L, -1.0L}, {0.5L, 1.0L}, true, {260.0L, 0.0L}, {160.0L, 400.0L}},
        {ClipWholeLine, {-1.0L, 2.0L}, {1.0L, 2.0L}, true, {0.0L, 120.0L}, {400.0L, 120.0L}},
        {ClipWholeLine, {1.0L, 1.0L}, {1.0L, 1.0L}, false, {}, {}},
        {ClipHalfLine, {0.0L, 0.0L}, {1.0L, 0.5L}, true, {200.0L, 200.0L}, {400.0L, 100.0L}},
        {ClipHalfLine, {0.0L, 0.0L}, {-0.5L, -1.0L}, true, {200.0L, 200.0L}, {100.0L, 400.0L}},
        {ClipHalfLine, {6.0L, 0.0L}, {7.0L, 0.0L}, true, {440.0L, 200.0L}, {480.0L, 200.0L}},
        {ClipRectangle, {-6.0L, -6.0L}, {2.0L, 7.0L}, true, {-1.0L, 401.0L}, {280.0L, -1.0L}},
        {1, {0.0L, 0.0L}, {1.0L, 1.0L}, true, {200.0L, 200.0L}, {240.0L, 160.0L}},
        {1, {0.0L, 0.0L}, {1E6L, 0.0L}, true, {200.0L, 200.0L}, {1000.0L, 200.0L}},
        {1, {-1E6L, 0.0L}, {0.0L, 0.0L}, true, {-600.0L, 200.0L}, {200.0L, 200.0L}},
        {1, {-1E6L, 3.0L}, {-2E6L, 3.0L}, true, {-10000.0L, 80.0L}, {-10000.0L, 80.0L}}, // wholly left
        {1, {-505.0L, -20.0L}, {20.0L, 505.0L}, true, {800.0L, 1000.0L}, {800.0L, -10000.0L}}, // passes by
        {1, {0.0L, 0.0L}, {std::numeric_limits<long double>::quiet_NaN(), 1.0L}, false, {}, {}}, // no pixel
    };
    for (const Case& c : cases) {
        const std::optional<TPixelLine> line = view->ClipLine(c.Kind, c.A, c.B);
        const std::string where = std::to_string(c.Kind) + " (" + std::to_string(static_cast<double>(c.A.X)) + "," +
                                  std::to_string(static_cast<double>(c.A.Y)) + ")";
        ASSERT_EQ(line.has_value(), c.Result) << where;
        if (!line)
            continue;
        EXPECT_EXTENDED_NEAR(line->P1.X, c.P1.X, 1E-12L) << where;
        EXPECT_EXTENDED_NEAR(line->P1.Y, c.P1.Y, 1E-12L) << where;
        EXPECT_EXTENDED_NEAR(line->P2.X, c.P2.X, 1E-12L) << where;
        EXPECT_EXTENDED_NEAR(line->P2.Y, c.P2.Y, 1E-12L) << where;
    }
}

TEST_F(ScaleTTest, ClipLineWorksInMagnifiedPixels)
{
    const TViewMapping printed = view->Mapping(16);
    EXPECT_EQ(printed.ClipLineToPoints(ClipWholeLine, {-1.0L, 0.0L}, {1.0L, 0.5L}),
              (TPointLine{QPoint(0, 3840), QPoint(6400, 2240)}));
    EXPECT_EQ(printed.WorldToPoint({1.0L, 1.0L}), QPoint(3840, 2560));
    EXPECT_EQ(view->WorldToPoint({1.0L, 1.0L}), QPoint(240, 160));
    EXPECT_FALSE(printed.ClipLineToPoints(ClipWholeLine, {1.0L, 1.0L}, {1.0L, 1.0L}));
}

TEST_F(ScaleTTest, TheMagnifiedMappingIsSixteenTimesTheScreensAndClampsFarther)
{
    Options.AreaRectify = 0;
    ASSERT_TRUE(SetRange(-5.3L, 5.3L, -2.0L, 8.6L));
    const TViewMapping screen = view->Mapping();
    const TViewMapping printed = view->Mapping(16);
    EXPECT_EQ(printed.Context().Magnification, 16);
    for (long double v : {-400.0L, -5.3L, -1.0L / 3.0L, 0.0L, 0.1L, 2.0L, 8.6L, 300.0L}) {
        for (const auto& [s, p] : {std::pair(screen.X, printed.X), std::pair(screen.Y, printed.Y)}) {
            EXPECT_EQ(p.ValueToPixelF(v), 16.0L * s.ValueToPixelF(v)) << static_cast<double>(v);
            const TMappedPixel a = s.ValueToPixel(v);
            const TMappedPixel b = p.ValueToPixel(v);
            EXPECT_EQ(a.Clamped, std::fabs(s.ValueToPixelF(v)) > 10000.0L);
            EXPECT_EQ(b.Clamped, std::fabs(p.ValueToPixelF(v)) > 30000.0L);
            if (!b.Clamped) {
                EXPECT_LE(std::abs(b.Pixel - 16 * a.Pixel), 8) << static_cast<double>(v);
            }
            // A magnified pixel maps back to the same world value.
            EXPECT_EXTENDED_NEAR(p.PixelToValueRaw(16.0L * s.ValueToPixelF(v)), v, 1E-17L * (1.0L + std::fabs(v)));
        }
    }
    // 400 units right of the origin are 16000 screen pixels: both clamp, at their own limits.
    EXPECT_EQ(screen.X.ValueToPixel(400.0L), (TMappedPixel{10000, true}));
    EXPECT_EQ(printed.X.ValueToPixel(400.0L), (TMappedPixel{30000, true}));
    EXPECT_EQ(printed.X.ValueToPixel(40.0L).Clamped, false); // 1600 screen pixels, 25600 printed
    EXPECT_EQ(screen.AtMagnification(16).X.ValueToPixelF(1.0L), printed.X.ValueToPixelF(1.0L));
}

} // namespace
