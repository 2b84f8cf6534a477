#include "model/Colors.h"
#include "model/Options.h"
#include "render/view/TickLabelAids.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"

#include <gtest/gtest.h>

namespace {

TEST(TickLabelAidsTest, GridPenFollowsTheGridMode)
{
    SetNormalColorScheme();
    const TColor mesh = ColorScheme.MeshColor;
    const struct {
        int Mode;
        TColor Color;
        TPenStyle Style;
    } cases[] = {
        {0, mesh, TPenStyle::Solid},
        {1, DarkenColor(mesh), TPenStyle::Solid},
        {2, mesh, TPenStyle::Dot},
        {3, DarkenColor(mesh), TPenStyle::Solid},
    };
    for (const auto& c : cases) {
        TPen pen;
        pen.Style = TPenStyle::DashDot;
        SetGridPen(c.Mode, pen);
        EXPECT_EQ(pen.Color, c.Color) << c.Mode;
        EXPECT_EQ(pen.Style, c.Style) << c.Mode;
    }
}

// With the fake metrics a 12-point font is 16 pixels high with 8-pixel
// characters and a 20-pixel cell.
struct FractionFixture : ::testing::Test {
    FakeTextMetrics metrics;
    ScopedTextMetrics scoped{metrics};
    TMetafile picture;
    TCanvas canvas = MakeMetafileCanvas(picture);

    FractionFixture() { canvas.Font.SetSize(12); }
};

TEST_F(FractionFixture, LongerPartFirstOtherCentredBarBetween)
{
    canvas.Pen.Mode = TPenMode::Mask;
    int x = 100;
    DrawStackedFraction(canvas, x, 50, QStringLiteral("3"), QStringLiteral("-22"));
    // gap round(1.2) = 1; d = round(8) = 8; numerator 24 wide from 101;
    // the denominator centred at (125 + 101 - 8) div 2; bar width round(0.8).
    const QString expected = QStringLiteral(
        "size 0 x 0\n"
        "text 101,42 font(\"Arial\" -16 000000) \"-22\"\n"
        "text 109,58 font(\"Arial\" -16 000000) \"3\"\n"
        "polyline pen(000000 1 solid mask) 100,60 126,60\n");
    EXPECT_EQ(DumpMetafile(picture).toStdString(), expected.toStdString());
    EXPECT_EQ(x, 126);
    EXPECT_EQ(canvas.Pen.Mode, TPenMode::Mask);
}

TEST_F(FractionFixture, OnATieTheDenominatorGoesFirst)
{
    int x = 0;
    DrawStackedFraction(canvas, x, 20, QStringLiteral("b"), QStringLiteral("a"));
    ASSERT_EQ(picture.Entries.size(), 3u);
    EXPECT_EQ(picture.Entries[0].Command.Text, QStringLiteral("b"));
    EXPECT_EQ(picture.Entries[0].Command.At, QPoint(1, 28));
    EXPECT_EQ(picture.Entries[1].Command.At, QPoint(1, 12));
}

TEST_F(FractionFixture, WithoutDenominatorOnlyTheNumerator)
{
    int x = 10;
    DrawStackedFraction(canvas, x, 5, QString(), QStringLiteral("12"));
    ASSERT_EQ(picture.Entries.size(), 1u);
    EXPECT_EQ(picture.Entries[0].Command.At, QPoint(10, 5));
    EXPECT_EQ(x, 26);
}

TEST(TickLabelAidsTest, TrailingZerosGoOnlyAfterTheSeparator)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u" 2.500 ", u"2.5"}, {u"3.000", u"3"}, {u"100", u"100"}, {u"0.0", u"0"}, {u"-1.20E5", u"-1.20E5"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(TrimTrailingZeros(QString::fromUtf16(in)), QString::fromUtf16(out));
    Separators.DecimalChar = u',';
    EXPECT_EQ(TrimTrailingZeros(QStringLiteral("2,50")), QStringLiteral("2,5"));
    EXPECT_EQ(TrimTrailingZeros(QStringLiteral("250")), QStringLiteral("250"));
    Separators.Reset();
}

} // namespace
