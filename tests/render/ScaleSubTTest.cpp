#include "engine/Compiler.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "model/ViewRange.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "render/view/fakes/CountingViewServices.h"
#include "tests/ExtendedNear.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

class ScaleSubTTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    static void ResetGlobals()
    {
        ProgramState.Magnification = 1;
        ProgramState.GraphPixelHeight = 400;
        ProgramState.GraphMaxHeight = 400;
        ProgramSettings.Reset();
        RedrawState.Reset();
        CompileSettings.Reset();
    }

    static ScaleSubT Axis(char16_t letter, long double low, long double high, int pixels = 400)
    {
        ScaleSubT a;
        a.AxisChar = letter;
        a.VHigh = pixels;
        a.SetBounds(low, high);
        a.Recalc();
        return a;
    }
};

TEST_F(ScaleSubTTest, MapsWorldValuesToPixelsOnBothAxes)
{
    struct Case {
        char16_t Letter;
        long double Low, High;
        long double PixelsPerUnit, ZeroPixel;
        long double Value;
        int Pixel;
    };
    const Case cases[] = {
        {u'x', -5.0L, 5.0L, 40.0L, 200.0L, 1.0L, 240},
        {u'y', -5.0L, 5.0L, 40.0L, 200.0L, 1.0L, 160},
        {u'x', 1.0L, 11.0L, 40.0L, -39.0L, 1.0L, 1},
        {u'x', -5.0L, 5.0L, 40.0L, 200.0L, 1E9L, 10000},
        {u'y', -5.0L, 5.0L, 40.0L, 200.0L, 1E9L, -10000},
        {u'x', 0.0L, 6.25L, 64.0L, 0.0L, 0.5L / 64.0L, 0}, // half a pixel rounds to even
        {u'x', 0.0L, 6.25L, 64.0L, 0.0L, 1.5L / 64.0L, 2},
    };
    for (const Case& c : cases) {
        ScaleSubT a = Axis(c.Letter, c.Low, c.High);
        EXPECT_EQ(a.PixelsPerUnit, c.PixelsPerUnit);
        EXPECT_EQ(a.UnitsPerPixel, 1.0L / c.PixelsPerUnit);
        EXPECT_EQ(a.ZeroPixel, c.ZeroPixel);
        EXPECT_EQ(a.ValueToPixel(c.Value), c.Pixel) << static_cast<double>(c.Value);
    }
}

TEST_F(ScaleSubTTest, PixelsAreClampedToTheDeviceLimitAndFlagged)
{
    ScaleSubT a = Axis(u'x', -5.0L, 5.0L);
    const TAxisMapping screen = a.Mapping();
    EXPECT_EQ(screen.ValueToPixel(1E9L), (TMappedPixel{10000, true}));
    EXPECT_EQ(screen.ValueToPixel(1.0L), (TMappedPixel{240, false}));
    EXPECT_EQ(screen.ValueToPixel(std::numeric_limits<long double>::quiet_NaN()), (TMappedPixel{10000, true}));
    EXPECT_EQ(screen.LengthToPixels(-1E9L), (TMappedPixel{-10000, true}));
    EXPECT_EQ(a.ValueToPixel(1E9L), 10000);
    EXPECT_EQ(a.LengthToPixels(-1E9L), -10000);

    const TAxisMapping printed = a.Mapping(16);
    EXPECT_EQ(printed.PixelLimit(), 30000);
    EXPECT_EQ(printed.ValueToPixel(1E9L), (TMappedPixel{30000, true}));
    EXPECT_EQ(printed.ValueToPixel(1.0L), (TMappedPixel{3840, false}));
    EXPECT_EQ(printed.ValueToPixelF(0.5L), 3520.0L);
    EXPECT_EQ(printed.PixelToValue(3840), 1.0L);
    EXPECT_EQ(printed.MagnifiedPixels(), 6400);

    // The axis's own conversions are the screen's whatever drawing is under way.
    ProgramState.Magnification = 16;
    EXPECT_EQ(PixelLimit(), 30000);
    EXPECT_EQ(a.ValueToPixel(1.0L), 240);
    EXPECT_EQ(a.PixelToValue(240), 1.0L);
}

TEST_F(ScaleSubTTest, LengthsKeepTheirSignOnTheYAxis)
{
    ScaleSubT y = Axis(u'y', -5.0L, 5.0L);
    EXPECT_EQ(y.LengthToPixels(2.0L), 80);
    EXPECT_EQ(y.PixelsToLength(80.0L), 2.0L);
    EXPECT_EQ(y.PixelToValueRaw(120.0L), 2.0L);
    EXPECT_EQ(y.PixelToValue(280), -2.0L);
}

TEST_F(ScaleSubTTest, MagnifyRoundsHalvesToEven)
{
    EXPECT_EQ(Magnify(2.5L), 2);
    EXPECT_EQ(Magnify(3.5L), 4);
    ProgramState.Magnification = 16;
    EXPECT_EQ(Magnify(2.5L), 40);
    EXPECT_EQ(ClampToPixelLimit(-40000.0L), -30000.0L);
    const TDrawContext printing{16};
    EXPECT_EQ(printing.Magnify(2.5L), 40);
    EXPECT_EQ(printing.Magnify(0.03L), 0); // 0.48
    EXPECT_EQ(TDrawContext{}.ClampToPixelLimit(40000.0L), 10000.0L);
}

TEST_F(ScaleSubTTest, AScopedMagnificationIsRestoredOnEveryWayOut)
{
    enum class Exit { Early, Thrown, End };
    const auto print = [](Exit exit) {
        TScopedMagnification printing(16);
        EXPECT_EQ(printing.Context().Magnify(1.0L), 16);
        EXPECT_EQ(CurrentDrawContext().PixelLimit(), 30000);
        if (exit == Exit::Early)
            return;
        if (exit == Exit::Thrown)
            throw std::runtime_error("the printer went away");
    };
    ProgramState.Magnification = 4; // an export already under way
    for (Exit exit : {Exit::Early, Exit::Thrown, Exit::End}) {
        try {
            print(exit);
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(ProgramState.Magnification, 4);
    }
    // No magnification below 1: it would divide pixels by zero.
    TScopedMagnification none(0);
    EXPECT_EQ(none.Context().Magnification, 1);
    EXPECT_EQ(ScaleSubT{}.Mapping(-3).Magnification, 1);
}

TEST_F(ScaleSubTTest, PixelToValueSnapsOnlyTowardZero)
{
    ScaleSubT a = Axis(u'x', -5.0L, 5.0L);
    // A hair left of the pixel's exact value: 2.00000000001 becomes 2.
    a.ZeroPixel = 200.0L - 4E-10L;
    EXPECT_EQ(a.PixelToValue(280), 2.0L);
    // 1.99999999999 is not rounded up.
    a.ZeroPixel = 200.0L + 4E-10L;
    EXPECT_NE(a.PixelToValue(280), 2.0L);
    EXPECT_EXTENDED_NEAR(a.PixelToValue(280), 1.99999999999L, 1E-18L);
}

TEST_F(ScaleSubTTest, GridValuesRoundHalvesAwayFromZero)
{
    ScaleSubT a = Axis(u'x', -5.0L, 5.0L);
    EXPECT_EQ(a.PixelToGridValue(220), 1.0L);  // 0.5
    EXPECT_EQ(a.PixelToGridValue(180), -1.0L); // -0.5
    EXPECT_EQ(a.PixelToGridValue(259), 1.0L);  // 1.475
}

TEST_F(ScaleSubTTest, TickStepsClimbThenDescendTheirCycle)
{
    struct Case {
        long double Base, Low, High;
        int Number;
        long double Step;
    };
    const Case cases[] = {
        {1.0L, 0.0L, 10.0L, 7, 1.0L},
        {1.0L, 0.0L, 10.0L, 11, 0.5L},
        {1.0L, 0.0L, 20.0L, 7, 2.0L},
        {1.0L, 0.0L, 10.0L, 10, 1.0L}, // equality stops
        {Pi, 0.0L, 2.0L * Pi, 7, Pi / 4.0L},
        {180.0L, 0.0L, 350.0L, 7, 45.0L},
        {90.0L, 0.0L, 10000.0L, 7, 720.0L},
        {1.0L, 0.0L, 10.0L, 0, 1E7L}, // no tick inside the range
    };
    for (const Case& c : cases) {
        ScaleSubT a = Axis(u'x', c.Low, c.High);
        a.Base = c.Base;
        a.Number = c.Number;
        EXPECT_EXTENDED_NEAR(a.CalcTickStep(), c.Step, 1E-18L * c.Step)
            << static_cast<double>(c.Base) << " over " << static_cast<double>(c.High - c.Low) << " / " << c.Number;
    }
}

TEST_F(ScaleSubTTest, TickStepsEndForEveryBadInput)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    struct Case {
        long double Base, Low, High;
        int Number;
        long double Step;
    };
    const Case cases[] = {
        {0.0L, 0.0L, 10.0L, 7, 1.0L},   // a bad base counts as 1
        {-2.0L, 0.0L, 10.0L, 7, 1.0L},
        {inf, 0.0L, 10.0L, 7, 1.0L},
        {nan, 0.0L, 10.0L, 7, 1.0L},
        {1.0L, 0.0L, 10.0L, -3, 10.0L}, // divisions clamped to 1..40
        {1.0L, 0.0L, 10.0L, 100, 0.2L},
        {1.0L, 3.0L, 3.0L, 7, 1.0L},    // no range: the base
        {2.5L, 0.0L, nan, 7, 2.5L},
        {1E-4000L, 0.0L, 1.0L, 7, 0.1L},
    };
    for (const Case& c : cases) {
        ScaleSubT a;
        a.SetBounds(c.Low, c.High);
        a.Base = c.Base;
        a.Number = c.Number;
        const long double s = a.CalcTickStep();
        EXPECT_TRUE(std::isfinite(s) && s > 0.0L);
        if (c.Base != 1E-4000L)
            EXPECT_EXTENDED_NEAR(s, c.Step, 1E-18L * c.Step);
        else
            EXPECT_LE(s, 1.0L / 7.0L);
    }
}

TEST_F(ScaleSubTTest, PiBasesAreMultiplesOfPiByTerminatingFractions)
{
    const std::pair<long double, bool> cases[] = {
        {Pi, true}, {Pi / 2.0L, true}, {2.0L * Pi / 3.0L, true}, {1.0L, false}, {90.0L, false}, {0.5L, false},
    };
    for (const auto& [base, pi] : cases) {
        ScaleSubT a;
        a.Base = base;
        EXPECT_EQ(a.IsPiBase(), pi) << static_cast<double>(base);
    }
}

TEST_F(ScaleSubTTest, DivisionsMoveToTheNextDifferentStep)
{
    ScaleSubT a = Axis(u'x', 0.0L, 10.0L);
    a.IncreaseDivisions();
    EXPECT_EQ(a.Number, 11);
    EXPECT_TRUE(IsDirtyScale());
    a.Number = 7;
    a.DecreaseDivisions();
    EXPECT_EQ(a.Number, 5);
    a.Number = 1;
    a.DecreaseDivisions();
    EXPECT_EQ(a.Number, 1);
    // No step change is left before 40: the count stops there.
    a.Number = 39;
    a.IncreaseDivisions();
    EXPECT_EQ(a.Number, 40);
    a.IncreaseDivisions();
    EXPECT_EQ(a.Number, 40);

    const std::pair<int, int> clamps[] = {{-5, 1}, {0, 1}, {1, 1}, {40, 40}, {41, 40}};
    for (auto [n, clamped] : clamps) {
        ScaleSubT::ClampDivisions(n);
        EXPECT_EQ(n, clamped);
    }
}

TEST_F(ScaleSubTTest, RecalcDerivesDecimalsAndFlagsMovedXFactors)
{
    ScaleSubT a = Axis(u'x', -5.0L, 5.0L);
    EXPECT_EQ(a.Decimals, 2); // 0.025 units per pixel
    RedrawState.Reset();
    a.Recalc();
    EXPECT_FALSE(IsDirtyObjects());
    a.SetBounds(-4.0L, 6.0L);
    a.Recalc();
    EXPECT_TRUE(IsDirtyObjects());
    a = Axis(u'x', -500.0L, 500.0L);
    EXPECT_EQ(a.Decimals, 0);

    RedrawState.Reset();
    ScaleSubT y = Axis(u'y', -5.0L, 6.0L);
    EXPECT_FALSE(IsDirtyObjects());
}

TEST_F(ScaleSubTTest, PixelLengthsStayWithinTheColumnTables)
{
    EXPECT_EQ(Axis(u'x', -5.0L, 5.0L, 5000).VHigh, MaxAxisPixels);
    EXPECT_EQ(Axis(u'x', -5.0L, 5.0L, 10).VHigh, MinAxisPixels);
    ScaleSubT a = Axis(u'x', -5.0L, 5.0L);
    a.Vlow = 7;
    a.Recalc();
    EXPECT_EQ(a.Vlow, 0);
}

TEST_F(ScaleSubTTest, AnUnusableRangeKeepsTheOldFactors)
{
    ScaleSubT a = Axis(u'x', -5.0L, 5.0L);
    a.SetBounds(2.0L, 2.0L);
    a.Recalc();
    EXPECT_EQ(a.PixelsPerUnit, 40.0L);
    EXPECT_EQ(a.ZeroPixel, 200.0L);
    const std::pair<long double, long double> refused[] = {
        {1.0L, 1.0L}, {2.0L, 1.0L}, {1.0L, 1.0L + 1E-17L}, {0.0L, std::numeric_limits<long double>::infinity()},
    };
    for (const auto& [lo, hi] : refused)
        EXPECT_FALSE(ScaleSubT::IsUsableRange(lo, hi));
    EXPECT_TRUE(ScaleSubT::IsUsableRange(1.0L, 1.0L + 1E-12L));
    EXPECT_TRUE(ScaleSubT::IsUsableRange(1E-300L, 2E-300L));
}

TEST_F(ScaleSubTTest, NameTextDropsMarkupControlsAndBraces)
{
    ScaleSubT a;
    a.Caption = QStringLiteral("<b>t</b> {s}");
    a.SetNameText();
    EXPECT_EQ(a.PlainCaption, QStringLiteral("<b>t</b> s")); // nothing translates tags yet
    FakeAxisNameTranslator markup;
    markup.Replacements = {{QStringLiteral("<b>"), QString(QChar(0x0A))}, {QStringLiteral("</b>"), QString(QChar(0x0B))}};
    const ScopedAxisNameTranslator installed(markup);
    a.SetNameText();
    EXPECT_EQ(a.PlainCaption, QStringLiteral("t s"));
    EXPECT_EQ(markup.Translations, 1);
    EXPECT_EQ(a.Caption, QStringLiteral("<b>t</b> {s}"));
}

TEST_F(ScaleSubTTest, TheXAxisLetterIsTheCompilersHorizontalLetter)
{
    ScaleSubT x;
    x.AxisChar = u'x';
    x.SetLetter(u'@');
    EXPECT_EQ(CompileSettings.HorizontalAxisLetter, u'@');
    ScaleSubT y;
    y.AxisChar = u'y';
    y.SetLetter(u'y');
    EXPECT_EQ(CompileSettings.HorizontalAxisLetter, u'@');
    x.Init(u'x', 0);
    EXPECT_EQ(x.Letter(), u'x');
    EXPECT_EQ(CompileSettings.HorizontalAxisLetter, u'x');
}

TEST_F(ScaleSubTTest, BoundsAndLengthsArePublishedToTheViewRange)
{
    Axis(u'x', -2.0L, 3.0L, 500);
    Axis(u'y', -1.0L, 4.0L, 300);
    EXPECT_EQ(ViewRange.XLow, -2.0L);
    EXPECT_EQ(ViewRange.XHigh, 3.0L);
    EXPECT_EQ(ViewRange.XPixels, 500);
    EXPECT_EQ(ViewRange.YLow, -1.0L);
    EXPECT_EQ(ViewRange.YHigh, 4.0L);
    EXPECT_EQ(ViewRange.YPixels, 300);
}

TEST_F(ScaleSubTTest, InitTakesTheLayoutAndTheStartView)
{
    ProgramSettings.ScaleXLow = -3.0L;
    ProgramSettings.ScaleXHigh = 7.0L;
    ProgramSettings.ScaleYLow = -1.0L;
    ProgramSettings.ScaleYHigh = 2.0L;
    ProgramSettings.GraphPixelWidth = 600;
    struct Case {
        char16_t Letter;
        int Reserve;
        bool ControlPalette;
        std::optional<int> Panel;
        int WorkArea;
        int VHigh;
    };
    const Case cases[] = {
        {u'y', 30, false, {}, 0, 370},
        {u'y', 30, true, {}, 0, 400},
        {u'x', 30, false, {}, 0, 370},
        {u'x', 30, false, 200, 2000, 600},
        {u'x', 30, false, 200, 700, 480},
        {u'x', 30, false, 200, 500, 370},
        {u'x', 30, true, 200, 500, 400},
    };
    CountingRedrawWindow host;
    std::optional<ScopedRedrawWindow> installed(host);
    for (const Case& c : cases) {
        ProgramSettings.ControlPalette = c.ControlPalette;
        host.PanelWidth = c.Panel;
        host.WorkArea = c.WorkArea;
        ScaleSubT a;
        a.Number = 3;
        a.Base = 2.0L;
        a.Init(c.Letter, c.Reserve);
        EXPECT_EQ(a.VHigh, c.VHigh) << static_cast<char>(c.Letter) << " " << c.Reserve << " " << c.WorkArea;
        EXPECT_EQ(a.Number, 7);
        EXPECT_EQ(a.Base, 1.0L);
        EXPECT_EQ(a.Caption, QString(QChar(c.Letter)));
        EXPECT_EQ(a.Low, c.Letter == u'x' ? -3.0L : -1.0L);
        EXPECT_EQ(a.High, c.Letter == u'x' ? 7.0L : 2.0L);
    }
    EXPECT_EQ(host.PanelWidthQueries, 5); // the x axis asks, the y axis does not
    installed.reset();
    ProgramState.GraphPixelHeight = 3000;
    ProgramState.GraphMaxHeight = 3000;
    ScaleSubT big;
    big.Init(u'y', 0);
    EXPECT_EQ(big.VHigh, MaxAxisPixels);
}

} // namespace
