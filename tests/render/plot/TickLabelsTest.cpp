#include "model/NumberText.h"
#include "model/Options.h"
#include "render/plot/AxesTicks.h"
#include "render/plot/CoordinateText.h"
#include "render/plot/TickLabels.h"
#include "render/view/Scale.h"

#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// Multiples of π, fractions and decimals, with the minus sign U+2212.
TEST(TickLabelTextTest, PiFractionsAndDecimals)
{
    struct Case {
        long double Value;
        bool PiAxis;
        bool Fractions;
        const char* Sign;
        const char* Text;
        const char* Denominator;
        bool PiAfter;
        const char* Measure;
    };
    const Case cases[] = {
        {Pi / 2.0L, true, false, "", "π", "2", false, "2π"},
        {3.0L * Pi / 2.0L, true, false, "", "3", "2", true, "3π"},
        {-Pi, true, false, "−", "π", "", false, "π"},
        {2.0L * Pi, true, false, "", "2π", "", false, "2π"},
        {-7.0L * Pi / 12.0L, true, false, "−", "7", "12", true, "12π"},
        {2.0L * Pi * (1.0L + 1E-12L), true, false, "", "2π", "", false, "2π"}, // snapped to the whole multiple
        {0.75L, false, true, "", "3", "4", false, "4"},
        {-1.0L / 3.0L, false, true, "−", "1", "3", false, "3"},
        {2.0L, false, true, "", "2", "", false, "2"},
        {2.5L, false, false, "", "2.5", "", false, "2.5"},
        {-0.1L, false, false, "−", "0.1", "", false, "0.1"},
        {1234567.125L, false, false, "", "1234567.125", "", false, "1234567.125"},
        {0.3L * 3.0L, false, false, "", "0.9", "", false, "0.9"},
    };
    for (const Case& c : cases) {
        const TTickLabelText label = TickLabelText(c.Value, c.PiAxis, c.Fractions);
        const std::string at = std::to_string(static_cast<double>(c.Value));
        EXPECT_TRUE(label.Exists) << at;
        EXPECT_FALSE(label.Zero) << at;
        EXPECT_EQ(label.Sign.toStdString(), c.Sign) << at;
        EXPECT_EQ(label.Text.toStdString(), c.Text) << at;
        EXPECT_EQ(label.Denominator.toStdString(), c.Denominator) << at;
        EXPECT_EQ(label.PiAfter, c.PiAfter) << at;
        EXPECT_EQ(label.Measure.toStdString(), c.Measure) << at;
    }
}

TEST(TickLabelTextTest, ZerosFineFractionsAndTheDecimalSeparator)
{
    // Printed as 0 (also after rounding): zero, without sign; rulers only.
    for (long double v : {0.0L, 1E-20L, -1E-20L}) {
        const TTickLabelText label = TickLabelText(v, false, false);
        EXPECT_TRUE(label.Zero && label.Sign.isEmpty() && label.Text == QStringLiteral("0")) << double(v);
    }
    EXPECT_TRUE(TickLabelText(-1E-15L * Pi, true, false).Zero);
    // A multiple of π finer than a millionth has no label at all.
    EXPECT_FALSE(TickLabelText(Pi * 1E-7L, true, false).Exists);
    EXPECT_FALSE(TickLabelText(1E-7L, false, true).Exists);
    Separators.DecimalChar = u',';
    EXPECT_EQ(TickLabelText(-2.5L, false, false).Text, QStringLiteral("2,5"));
}

// Ticks are counted from 0 on both sides; an interval below 1 is 1.
TEST(AxisTicksTest, LabelledTicksCountFromZero)
{
    struct Case {
        long double Low, High, Step;
        int Interval;
        std::vector<long double> Labelled;
    };
    const Case cases[] = {
        {-5.0L, 5.0L, 1.0L, 2, {-4, -2, 0, 2, 4}},
        {-5.0L, 5.0L, 1.0L, 0, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}},
        {-5.3L, 5.3L, 1.0L, -3, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}},
        {-1.0L, 1.0L, 0.1L, 5, {-1, -0.5, 0, 0.5, 1}},
        {0.25L, 3.0L, 0.5L, 3, {1.5, 3}},
    };
    for (const Case& c : cases) {
        const TAxisTicks ticks = TicksFrom(c.Low, c.High, c.Step);
        std::vector<long double> labelled;
        for (std::int64_t i = 0; i < ticks.Count; ++i)
            if (ticks.IsLabelled(i, c.Interval))
                labelled.push_back(ticks.At(i));
        ASSERT_EQ(labelled.size(), c.Labelled.size()) << double(c.Low) << " " << c.Interval;
        for (std::size_t k = 0; k < labelled.size(); ++k)
            EXPECT_NEAR(double(labelled[k]), double(c.Labelled[k]), 1E-15);
        EXPECT_EQ(ticks.IsLabelled(ticks.FirstLabelled(c.Interval), c.Interval), true);
    }
    // Far from zero the ticks do not drift: each is computed from the first.
    const TAxisTicks wide = TicksFrom(-1E6L, 1E6L, 0.1L);
    EXPECT_EQ(wide.Count, 20000001);
    EXPECT_EQ(wide.At(wide.Count - 1), 1E6L);
    EXPECT_EQ(TicksFrom(0.0L, 1.0L, 0.0L).Count, 0);
}

TEST(CoordinateTextTest, RangeTextsAndCoordinates)
{
    ScaleSubT x;
    x.VHigh = 400;
    x.SetBounds(-5.0L, 5.0L);
    x.Recalc(); // 0.025 units per pixel: 2 decimals
    EXPECT_EQ(AxisRangeText(x), QStringLiteral("-5.00 < x <  5.00"));
    struct Case {
        long double Value;
        int Width;
        const char* Text;
    };
    const Case cases[] = {
        {0.0L, 0, " 0.00"},
        {-0.001L, 0, " 0.00"}, // no negative zero
        {3.14159L, 0, " 3.14"},
        {-123456.789L, 0, "-123456.79"},
        {1.23456789012345L, 8, " 1.23   "},
        {-2.5L, 3, "-2."},
        {1E-8L, 0, " 1E-8"},
        {-2.5E12L, 0, "-2.5E12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatCoordValue(x, c.Width, c.Value).toStdString(), c.Text);
    EXPECT_EQ(FormatPixelCoord(240, x, 0), QStringLiteral(" 1.00"));
    // Ten significant digits at most; the decimals after them are zeros.
    x.SetBounds(0.0L, 1E-8L);
    x.Recalc();
    EXPECT_EQ(x.Decimals, 11);
    EXPECT_EQ(FormatCoordValue(x, 0, 123.456789012345L), QStringLiteral(" 123.456789000"));
    EXPECT_EQ(FormatFixed(9.99999999999L, 10, 3, u','), QStringLiteral("10,000"));
    EXPECT_EQ(FormatFixed(12345678901.0L, 10, 2, u'.'), QStringLiteral("1.23456789E10"));
}

} // namespace
