#include "GoldenFiles.h"
#include "PixelProbe.h"
#include "render/gfx/BandPrinting.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00FF00;

// A scene that uses every kind of call, drawn the same way into any canvas.
void DrawScene(TCanvas& c)
{
    c.SetClipRect({0, 0, 60, 40});
    c.Brush.Color = 0xE0E0E0;
    c.FillRect({0, 0, 60, 40});
    c.Pen.Mode = TPenMode::Mask;
    c.Pen.Color = Red;
    c.Pen.Width = 2;
    const QPoint zig[] = {{0, 39}, {15, 5}, {30, 35}, {45, 2}, {70, 20}};
    c.Polyline(zig);
    c.Pen.Width = 1;
    c.Pen.Color = Blue;
    c.Brush.Style = TBrushStyle::BDiagonal;
    c.Brush.Color = Green;
    c.Ellipse(10, 10, 50, 30);
    c.Pen.Mode = TPenMode::Copy;
    c.Brush.Style = TBrushStyle::Solid;
    c.Brush.Color = 0xFFC0C0;
    c.Chord(40, 0, 60, 20, 60, 10, 40, 10);
    c.SetPixel(3, 3, Green);
    c.Font.Name = QStringLiteral("DejaVu Sans");
    c.Font.Height = -11;
    c.TextOut(2, 26, QStringLiteral("ab"));
    QImage stamp = BlankImage(6, 6, 0x00FFFF);
    c.CopyMode = TCopyMode::SrcAnd;
    c.Draw(50, 30, stamp);
}

TEST(MetafileTest, ReplayIntoWidthPlusOneIsOneToOne)
{
    QImage direct = BlankImage(60, 40);
    TCanvas directCanvas = MakeImageCanvas(direct);
    DrawScene(directCanvas);

    TMetafile picture;
    picture.Width = 59;
    picture.Height = 39;
    TCanvas recorder = MakeMetafileCanvas(picture);
    DrawScene(recorder);
    QImage replayed = BlankImage(60, 40);
    TCanvas target = MakeImageCanvas(replayed);
    target.StretchDraw({0, 0, 60, 40}, picture);
    EXPECT_EQ(replayed, direct);

    QImage drawn = BlankImage(60, 40);
    TCanvas drawTarget = MakeImageCanvas(drawn);
    drawTarget.Draw(0, 0, picture);
    EXPECT_EQ(drawn, direct);
}

TEST(MetafileTest, ReplayScalesTranslatesAndClipsToTheDestination)
{
    TMetafile picture;
    picture.Width = 9;
    picture.Height = 9;
    TCanvas rec = MakeMetafileCanvas(picture);
    rec.Brush.Color = Green;
    rec.FillRect({0, 0, 5, 5});
    rec.FillRect({8, 8, 30, 30}); // reaches outside the picture
    rec.Pen.Width = 3;
    rec.Pen.Color = Red;
    rec.MoveTo(0, 8);
    rec.LineTo(9, 8);

    QImage image = BlankImage(40, 40);
    TCanvas target = MakeImageCanvas(image);
    target.StretchDraw({10, 10, 30, 30}, picture); // twice the size
    EXPECT_EQ(PixelAt(image, 10, 10), Green);
    EXPECT_EQ(PixelAt(image, 19, 19), Green);
    EXPECT_EQ(PixelAt(image, 20, 12), ColorWhite);
    EXPECT_EQ(PixelAt(image, 9, 10), ColorWhite);
    // The far rectangle stops at the destination's edge.
    EXPECT_EQ(PixelAt(image, 29, 29), Green);
    EXPECT_EQ(PixelAt(image, 30, 30), ColorWhite);
    // The 3-pixel pen became about 6 pixels wide at row 26.
    int redRows = 0;
    for (int y = 20; y < 30; ++y)
        redRows += PixelAt(image, 15, y) == Red;
    EXPECT_GE(redRows, 5);
    EXPECT_LE(redRows, 7);
}

TEST(MetafileTest, ReplayLeavesTheTargetsToolsAndClipAlone)
{
    TMetafile picture;
    picture.Width = 9;
    picture.Height = 9;
    TCanvas rec = MakeMetafileCanvas(picture);
    rec.Pen.Color = Red;
    rec.Pen.Mode = TPenMode::Xor;
    rec.Brush.Color = Green;
    rec.FillRect({0, 0, 10, 10});

    QImage image = BlankImage(20, 20);
    TCanvas target = MakeImageCanvas(image);
    target.SetClipRect({0, 0, 5, 20});
    target.Draw(0, 0, picture);
    EXPECT_EQ(target.Pen, TPen{});
    EXPECT_EQ(target.Brush, TBrush{});
    EXPECT_EQ(PixelAt(image, 4, 4), Green);
    EXPECT_EQ(PixelAt(image, 5, 4), ColorWhite); // the target's clip still holds
}

TEST(MetafileTest, PicturesNestIntoRecordings)
{
    TMetafile inner;
    inner.Width = 9;
    inner.Height = 9;
    TCanvas innerCanvas = MakeMetafileCanvas(inner);
    innerCanvas.Pen.Color = Red;
    innerCanvas.Rectangle(0, 0, 10, 10);

    TMetafile outer;
    outer.Width = 99;
    outer.Height = 99;
    TCanvas outerCanvas = MakeMetafileCanvas(outer);
    outerCanvas.StretchDraw({20, 30, 40, 50}, inner);
    const QString dump = DumpMetafile(outer);
    EXPECT_TRUE(dump.contains(QStringLiteral("clip 20 30 40 50\nrectangle pen(0000FF 1 solid copy) "
                                             "brush(solid FFFFFF) 20 30 40 50\n")))
        << dump.toStdString();
}

TEST(MetafileTest, ToolsAreRecordedOnlyWhenTheyChange)
{
    TMetafile picture;
    TCanvas rec = MakeMetafileCanvas(picture);
    for (int i = 0; i < 3; ++i)
        rec.LineTo(i, i);
    rec.Pen.Color = Red;
    rec.LineTo(5, 5);
    EXPECT_EQ(picture.Entries.size(), 4u);
    EXPECT_EQ(picture.States.size(), 2u);
    EXPECT_EQ(picture.Entries[2].State, 0);
    EXPECT_EQ(picture.Entries[3].State, 1);
}

TEST(MetafileTest, DumpOfASceneMatchesItsGolden)
{
    FakeTextMetrics metrics;
    ScopedTextMetrics scoped(metrics);
    TMetafile picture;
    picture.Width = 59;
    picture.Height = 39;
    TCanvas rec = MakeMetafileCanvas(picture);
    DrawScene(rec);
    rec.ClearClipRect();
    rec.Font.Name = QStringLiteral("Times New Roman");
    rec.Font.SetSize(12);
    rec.Font.Bold = true;
    const QString label = QStringLiteral("y");
    rec.TextOut(60 - rec.TextWidth(label), 40 - rec.TextHeight(label), label);
    rec.Pen = TPen{};
    rec.Pen.Geometric = true;
    rec.Pen.Cap = TPenCap::Flat;
    rec.Pen.Style = TPenStyle::DashDot;
    rec.Pen.Width = 4;
    rec.Arc(0, 0, 20, 20, 20, 10, 10, 0);
    rec.RoundRect(1, 2, 3, 4, 5, 6);
    rec.Brush.Style = TBrushStyle::Clear;
    rec.Pie(0, 0, 8, 8, 8, 4, 4, 0);
    const QPoint triangle[] = {{0, 0}, {5, 0}, {0, 5}};
    rec.Polygon(triangle);
    const QPoint curve[] = {{0, 0}, {1, 5}, {4, 5}, {5, 0}};
    rec.PolyBezier(curve);
    EXPECT_TRUE(MatchesTextGolden(DumpMetafile(picture), QStringLiteral("scene.txt")));
}

TEST(MetafileTest, BandedPrintingGivesTheSamePictureAsDirectDrawing)
{
    TMetafile picture;
    picture.Width = 59;
    picture.Height = 39;
    TCanvas rec = MakeMetafileCanvas(picture);
    DrawScene(rec);

    QImage direct = BlankImage(120, 80);
    TCanvas directCanvas = MakeImageCanvas(direct);
    directCanvas.StretchDraw({0, 0, 120, 80}, picture);

    // The page stands in for a printer; bands of 7 rows do not divide 80.
    QImage page = BlankImage(140, 100, Blue);
    {
        QPainter painter(&page);
        PrintMetafileInBands(picture, painter, {10, 10, 130, 90}, 7);
    }
    EXPECT_EQ(page.copy(10, 10, 120, 80), direct);
    EXPECT_EQ(PixelAt(page, 5, 5), Blue);
    EXPECT_EQ(PixelAt(page, 130, 90), Blue);
}

} // namespace
