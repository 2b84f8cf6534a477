#include "render/gfx/Canvas.h"
#include "render/gfx/Fonts.h"
#include "render/gfx/TextMetrics.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TFont FontOf(const char16_t* name, int height)
{
    TFont f;
    f.Name = QString::fromUtf16(name);
    f.Height = height;
    return f;
}

TEST(FontTest, PointSizesAreAt96PixelsPerInch)
{
    const std::pair<int, int> cases[] = {{8, -11}, {10, -13}, {12, -16}, {24, -32}, {192, -256}};
    for (const auto& [points, height] : cases) {
        TFont f;
        f.SetSize(points);
        EXPECT_EQ(f.Height, height) << points;
        EXPECT_EQ(f.Size(), points);
    }
}

TEST(FontTest, TheProgramsFamiliesResolveToInstalledOnes)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"Times New Roman", u"Liberation Serif"},
        {u"Arial Unicode MS", u"DejaVu Sans"},
        {u"Arial", u"Liberation Sans"},
    };
    for (const auto& [name, family] : cases) {
        const TFont f = FontOf(name, -16);
        EXPECT_EQ(QFontInfo(ToQFont(f)).family(), QString::fromUtf16(family));
        EXPECT_EQ(f.Name, QString::fromUtf16(name)); // the stored name stays
    }
}

TEST(FontTest, CellHeightsBecomeEmSizesOfThatCell)
{
    for (int cell : {12, 20, 33}) {
        const TFont f = FontOf(u"Times New Roman", cell);
        const int em = EmPixelSize(f);
        EXPECT_LT(em, cell);
        EXPECT_NEAR(QFontMetrics(ToQFont(f)).height(), cell, 1) << cell;
    }
}

TEST(TextMetricsTest, FakeGivesItsDocumentedNumbers)
{
    FakeTextMetrics fake;
    TFont f = FontOf(u"Times New Roman", -16);
    EXPECT_EQ(fake.TextWidth(f, QStringLiteral("abc")), 24);
    EXPECT_EQ(fake.TextHeight(f, QStringLiteral("abc")), 20);
    EXPECT_EQ(fake.Ascent(f), 16);
    f.Bold = true;
    EXPECT_EQ(fake.TextWidth(f, QStringLiteral("abc")), 27);
    f.Height = 20; // a cell of 20 holds an em of 16
    EXPECT_EQ(fake.Ascent(f), 16);
    EXPECT_EQ(fake.TextHeight(f, QString()), 20);
}

TEST(TextMetricsTest, CanvasMeasuresThroughTheInstalledMetrics)
{
    QImage image(10, 10, QImage::Format_RGB32);
    TCanvas canvas = MakeImageCanvas(image);
    canvas.Font = FontOf(u"Times New Roman", -16);
    const QString text = QStringLiteral("Informação");
    const QFontMetrics real(ToQFont(canvas.Font));
    EXPECT_EQ(canvas.TextWidth(text), real.horizontalAdvance(text));
    EXPECT_EQ(canvas.TextHeight(text), real.height());
    {
        FakeTextMetrics fake;
        ScopedTextMetrics scoped(fake);
        EXPECT_EQ(canvas.TextWidth(text), 80);
        EXPECT_EQ(canvas.TextHeight(text), 20);
    }
    EXPECT_EQ(canvas.TextWidth(text), real.horizontalAdvance(text));
}

TEST(TextMetricsTest, WiderTextAndBolderFontsMeasureWider)
{
    QtTextMetrics metrics;
    TFont f = FontOf(u"Arial Unicode MS", -16);
    const int narrow = metrics.TextWidth(f, QStringLiteral("iii"));
    const int wide = metrics.TextWidth(f, QStringLiteral("WWW"));
    EXPECT_GT(wide, narrow);
    f.Bold = true;
    EXPECT_GE(metrics.TextWidth(f, QStringLiteral("WWW")), wide);
    f.Height = -32;
    EXPECT_GT(metrics.TextHeight(f, QString()), 32);
    EXPECT_GT(metrics.Ascent(f), 20);
}

} // namespace
