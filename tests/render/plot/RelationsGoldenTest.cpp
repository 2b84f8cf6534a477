// Relations drawn the two ways the scene draws them: into their layers,
// combined onto the relation layer (checked pixel by pixel, then against a
// golden picture), and straight into a magnified picture (checked point by
// point, then against a golden display list).
#include "PlotTestKit.h"
#include "RelationsTestKit.h"
#include "engine/Compiler.h"
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "render/gfx/ImageHelpers.h"
#include "render/plot/Relations.h"
#include "render/view/RedrawState.h"
#include "tests/render/GoldenFiles.h"
#include "tests/render/PixelProbe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class RelationsGoldenTest : public RelationsViewTest {
protected:
    TEquationFunction& SetColoredRelation(int i, const char* text, TColor color, int pattern = 0)
    {
        TEquationFunction& r = SetRelation(i, text);
        r.Color = color;
        r.Pattern = static_cast<std::uint8_t>(pattern);
        return r;
    }
};

bool IsWhite(const QImage& image, int x, int y)
{
    return PixelAt(image, x, y) == ColorWhite;
}

TEST_F(RelationsGoldenTest, LayersAreCombinedOntoTheRelationLayer)
{
    TGraphImages& images = view.GraphImages;
    TEquationFunction& half = SetColoredRelation(1, "x^2+y^2<4 and y>0", 0x00A000, 1);
    half.AfterImage = 1;
    SetColoredRelation(2, "x^3+y^3=3x*y", 0x800080);
    SetColoredRelation(3, "y=x^2-4", 0x0000C0);
    SetColoredRelation(4, "x>0", 0x00A0FF).Visible = 0;
    for (int j = 1; j <= 4; ++j)
        RedrawState.RelationChanged[j] = 1;
    FillImage(images[2], ColorWhite);
    DrawRelations(view, images, nullptr, false, false);

    // The half disc is hatched in vertical lines on pixel columns 0 mod 16,
    // inside the upper half only.
    const QImage& disc = images[3].Image();
    EXPECT_FALSE(IsWhite(disc, 192, 150));
    EXPECT_TRUE(IsWhite(disc, 193, 150));
    EXPECT_TRUE(IsWhite(disc, 192, 250)) << "below the x axis";
    EXPECT_TRUE(IsWhite(disc, 48, 150)) << "outside the disc";
    // Its lower boundary y > 0 is strict: faded; the circle is strict too.
    EXPECT_EQ(PixelAt(disc, 200, 120), FadeColor(0x00A000, 0.75L) & 0xFFFFFF);
    // The folium passes the origin, the parabola its vertex (0, -4).
    EXPECT_FALSE(IsWhite(images[4].Image(), 200, 200));
    EXPECT_FALSE(IsWhite(images[5].Image(), 200, 360));
    EXPECT_TRUE(IsWhite(images[6].Image(), 300, 100)) << "an invisible relation is not drawn";
    // Every layer's ink is on the combined layer.
    for (const auto& [x, y] : {std::pair{192, 150}, {200, 200}, {200, 360}})
        EXPECT_FALSE(IsWhite(images[2].Image(), x, y)) << x << "," << y;

    EXPECT_EQ(RelationColors[1], TColor{0x00A000});
    EXPECT_EQ(RelationColors[2], NoTraceColor);
    EXPECT_EQ(RelationColors[5], NoTraceColor);
    EXPECT_TRUE(MatchesImageGolden(images[2].Image(), QStringLiteral("relations/layers.png")));

    // An unchanged relation's layer is only copied, whatever its formula says now.
    const QImage before = images[4].Image().copy();
    SetColoredRelation(2, "x=1", 0x800080);
    RedrawState.RelationChanged.fill(0);
    FillImage(images[2], ColorWhite);
    DrawRelations(view, images, nullptr, false, false);
    EXPECT_EQ(images[4].Image(), before);
    EXPECT_FALSE(IsWhite(images[2].Image(), 200, 200));
}

TEST_F(RelationsGoldenTest, DirectDrawingIsMagnified)
{
    SetColoredRelation(1, "x^2+y^2=4", 0x0000C0);
    SetColoredRelation(2, "x^2=1", 0x008000);
    TRecorder rec;
    rec.Picture.Width = rec.Picture.Height = 6400;
    DrawRelationsDirect(view, view.Mapping(16), {&rec.Canvas, nullptr});
    const std::vector<std::string> lines = rec.Lines();
    ASSERT_EQ(lines.size(), 4u);
    // The circle's two branches: radius 80 pixels, 1280 magnified, about (3200, 3200).
    for (int k = 0; k < 2; ++k) {
        const QStringList parts = QString::fromStdString(lines[static_cast<size_t>(k)]).split(u' ');
        int points = 0;
        for (const QString& p : parts) {
            const QStringList xy = p.split(u',');
            if (xy.size() != 2)
                continue;
            const double dx = xy[0].toDouble() - 3200;
            const double dy = xy[1].toDouble() - 3200;
            EXPECT_NEAR(std::hypot(dx, dy), 1280.0, 16.0) << p.toStdString();
            ++points;
        }
        EXPECT_EQ(points, 163) << "columns 120 .. 280 and the turning points beside them";
    }
    EXPECT_EQ(lines[2], "polyline pen(008000 32 solid mask geometric flat) 3840,0 3840,6400");
    EXPECT_EQ(lines[3], "polyline pen(008000 32 solid mask geometric flat) 2560,0 2560,6400");
    EXPECT_TRUE(MatchesTextGolden(DumpMetafile(rec.Picture), QStringLiteral("relations/direct.txt")));
}

} // namespace
