#include "AxesTestKit.h"
#include "model/Options.h"
#include "render/plot/Grid.h"

namespace {

TEST_F(AxesTest, PolarGridHasCirclesAtTheXStepAndRaysAtTheAngleSteps)
{
    Options.AxisType = 1;
    const std::vector<std::string> lines = Lines(DrawLayer()->Graph.Picture);
    // Radius 1 is Ellipse(160, 160, 241, 241); radius 7 would pass the
    // corners (7.07 > 5·√2) and is not drawn, as nothing of it shows.
    EXPECT_EQ(lines[0], "ellipse pen(E0A0A0 1 solid mask) brush(clear) 160 160 241 241");
    EXPECT_EQ(CountStarting(lines, "ellipse pen(E0A0A0"), 7);
    EXPECT_EQ(CountStarting(lines, "polyline pen(E0A0A0 1 solid mask) 200,200 "), 13); // 12 steps, both ends of the turn
    const std::pair<int, int> rays[] = {{0, 13}, {73, 13}, {7, 8}, {1, 2}}; // counts outside 1..72 give 12 steps
    for (const auto& [count, lineCount] : rays) {
        view.PolorNum = count;
        EXPECT_EQ(CountStarting(Lines(DrawLayer()->Graph.Picture), "polyline pen(E0A0A0 1 solid mask) 200,200 "),
                  lineCount)
            << count;
    }
    // With the pole right of the view no part of the polar axis shows.
    SetView(-10.0L, -2.0L, -4.0L, 4.0L, 400, 400);
    const std::vector<std::string> left = Lines(DrawLayer()->Graph.Picture);
    EXPECT_EQ(CountStarting(left, "polyline pen(000000"), 0);
    EXPECT_EQ(CountStarting(left, "polygon pen(000000"), 0);
}

// Far from the origin only the circles that meet the view are drawn: as
// nearly vertical lines, at the pixels of their radii.
TEST_F(AxesTest, PolarGridFarFromTheOriginDrawsOnlyTheCirclesInView)
{
    Options.AxisType = 1;
    SetView(1E6L, 1E6L + 10.0L, -5.0L, 5.0L, 400, 400);
    TRecorder rec;
    const TViewMapping mapping = view.Mapping();
    DrawPolarGrid(rec.Canvas, TAxesFrame(view, mapping, DocumentAxesSettings(mapping.Context())));
    const std::vector<std::string> lines = rec.Lines();
    ASSERT_EQ(lines.size(), 11u + 13u); // radii 1e6 .. 1e6 + 10, then the rays
    for (int k = 0; k <= 10; ++k) {
        const QStringList points = QString::fromStdString(lines[k]).section(u')', -1).trimmed().split(u' ');
        ASSERT_GE(points.size(), 2) << lines[k];
        int top = 400;
        int bottom = 0;
        for (const QString& p : points) {
            EXPECT_NEAR(p.section(u',', 0, 0).toInt(), 40 * k, 1) << lines[k];
            top = std::min(top, p.section(u',', 1).toInt());
            bottom = std::max(bottom, p.section(u',', 1).toInt());
        }
        EXPECT_LE(top, 0); // across the whole view
        EXPECT_GE(bottom, 400);
    }
}

TEST_F(AxesTest, CrossesAtEveryTickIntersection)
{
    view.PsMesh = 1;
    view.XAxis.ScaleVisible = 0; // vertical strokes only
    TRecorder rec;
    const TViewMapping mapping = view.Mapping();
    DrawGridCrosses(rec.Canvas, TAxesFrame(view, mapping, DocumentAxesSettings(mapping.Context())));
    const std::vector<std::string> lines = rec.Lines();
    ASSERT_EQ(lines.size(), 121u);
    EXPECT_EQ(lines[0], "polyline pen(956B6B 1 solid mask) 0,398 0,402"); // darkened grid colour, 2 × 2 pixels
    EXPECT_EQ(rec.Canvas.Pen.Width, 1);
}

// The polar view's y ruler ticks by the x step: on a tall y range the ticks
// are closer than a pixel, and every pixel gets one mark, not every tick;
// the labels of every 2000000th tick are 40 pixels apart.
TEST_F(AxesTest, DenseRulerTicksAreDrawnOncePerPixel)
{
    Options.AxisType = 1;
    SetView(-5.0L, 5.0L, -1E7L, 1E7L, 400, 400);
    const auto drawing = DrawLayer();
    const std::vector<std::string> ruler = Lines(drawing->Layer.YRulerMetafile);
    // The ruler's line runs 6 pixels left of its image's right edge; marks start 4 pixels left of it.
    const int markStart = drawing->Layer.YRulerMetafile.Width - 5 - 4;
    EXPECT_EQ(CountStarting(ruler, "polyline pen(000000 1 solid mask) " + std::to_string(markStart) + ","), 401);
    EXPECT_EQ(Texts(ruler), Texts_t({"−8000000", "−6000000", "−4000000", "−2000000", "0", "2000000", "4000000",
                                     "6000000", "8000000", "y"}));
}

} // namespace
