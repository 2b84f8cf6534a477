#include "AxesTestKit.h"
#include "model/DocumentState.h"
#include "model/Options.h"

#include <numbers>

namespace {



// On −5..5 over 400 pixels: −5 would start left of the view and 5 end
// past 380 (the name's room), 0 is never labelled in the graph; every
// LInterval-th tick counted from zero, with 0 or less as 1.
TEST_F(AxesTest, XLabelsFollowTheIntervalAndKeepClearOfTheName)
{
    const Texts_t all = {"−4", "−3", "−2", "−1", "1", "2", "3", "4", "x"};
    const std::pair<int, Texts_t> cases[] = {
        {1, all},
        {2, {"−4", "−2", "2", "4", "x"}},
        {0, all},
        {-2, all},
    };
    for (const auto& [interval, texts] : cases) {
        view.XAxis.LInterval = interval;
        EXPECT_EQ(Texts(AxisLines(TAxisRole::X)), texts) << interval;
    }
    // Ticks 8 pixels apart leave no room for any label: every 5th tick
    // counted from 0 keeps its label (every 2nd, 16 pixels, is too close for
    // "−4.6"), the same labels as a step of 1.
    view.XAxis.Number = 40; // step 0.2
    EXPECT_EQ(Texts(AxisLines(TAxisRole::X)), all);
    // The ruler labels 0 too.
    view.XAxis.Number = 7;
    EXPECT_EQ(Texts(AxisLines(TAxisRole::X, true)), Texts_t({"−4", "−3", "−2", "−1", "0", "1", "2", "3", "4", "x"}));
}

TEST_F(AxesTest, PiAxisLabelsAreStackedFractionsOfPi)
{
    SetView(-7.0L, 7.0L, -1.5L, 1.5L, 400, 200);
    view.XAxis.Base = std::numbers::pi_v<long double>; // step π/2
    // A stacked fraction draws the longer part first, the denominator on a tie.
    // −2π, at pixel 20, would start left of the view.
    EXPECT_EQ(Texts(AxisLines(TAxisRole::X)), Texts_t({"−", "2", "3", "π", "−π", "−", "2", "π", "2", "π", "π", "2", "3",
                                                       "π", "2π", "x"}));
}

TEST_F(AxesTest, DegreeLabelsEndInADegreeSign)
{
    SetView(-100.0L, 400.0L, -5.0L, 5.0L, 500, 400);
    view.XAxis.Base = 90.0L; // step 45
    Options.AngleMode = 2;
    Options.DegreeFont = 1;
    Texts_t expected;
    // −90, at pixel 10, would start left of the view.
    for (const char* v : {"−45", "45", "90", "135", "180", "225", "270", "315", "360"}) {
        expected.push_back(v);
        expected.push_back("°");
    }
    expected.push_back("x");
    EXPECT_EQ(Texts(AxisLines(TAxisRole::X)), expected);
    Options.DegreeFont = 0;
    EXPECT_EQ(Texts(AxisLines(TAxisRole::X)).front(), "−45");
    EXPECT_EQ(Texts(AxisLines(TAxisRole::X)).size(), 10u);
}

TEST_F(AxesTest, LabelPlacementFollowsTheOptions)
{
    struct Case {
        std::uint8_t Letterposition;
        std::uint8_t PsMesh;
        std::uint8_t ScaleVisible;
        std::string FirstLabel; // of tick 1 on the x axis (pixel 240, row 200)
    };
    const Case cases[] = {
        {0, 0, 1, "text 228,201"}, // below left of the tick
        {1, 0, 1, "text 235,202"}, // centred under it
        {0, 1, 1, "text 235,202"}, // crosses: centred
        {0, 0, 0, "text 235,202"}, // no grid: centred
        {2, 0, 0, "text 228,201"},
    };
    for (const Case& c : cases) {
        view.Letterposition = c.Letterposition;
        view.PsMesh = c.PsMesh;
        view.XAxis.ScaleVisible = c.ScaleVisible;
        view.XAxis.Low = 0.5L; // the first label is 1
        std::vector<std::string> lines = AxisLines(TAxisRole::X);
        const auto label = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("text", 0) == 0; });
        ASSERT_NE(label, lines.end());
        EXPECT_EQ(label->substr(0, c.FirstLabel.size()), c.FirstLabel) << int(c.Letterposition) << int(c.PsMesh);
        view.XAxis.Low = -5.0L;
    }
}

TEST_F(AxesTest, RangeTextsAndRulersGoToTheHost)
{
    const auto drawing = DrawLayer();
    EXPECT_EQ(host.XRangeText, QStringLiteral("-5.00 < x <  5.00"));
    EXPECT_EQ(host.YRangeText, QStringLiteral("-5.00 < y <  5.00"));
    EXPECT_EQ(drawing->Layer.XRangeText, host.XRangeText);
    // Strips for the widest y label ("−5": 18 pixels) and a stacked label
    // (1.6 × 21 pixels); without images the rulers fill the strips.
    ASSERT_EQ(host.PanelSizes.size(), 1u);
    EXPECT_EQ(host.PanelSizes[0], (TRulerPanelSizes{32, 41}));
    EXPECT_EQ(drawing->Layer.XRulerMetafile.Width, 399);
    EXPECT_EQ(drawing->Layer.XRulerMetafile.Height, 35);
    EXPECT_EQ(drawing->Layer.YRulerMetafile.Width, 26);
    EXPECT_EQ(host.RulersShown, 1);
    EXPECT_EQ(host.Arrangements, 1);
    EXPECT_EQ(Lines(host.LastXRuler), Lines(drawing->Layer.XRulerMetafile));
    EXPECT_EQ(Options.MeshStyle, 1);

    // Magnified (printing): the window is left alone, the rulers keep the
    // images' sizes, every size is 16 times larger.
    host.Images = TRulerImageSizes{QSize(401, 30), QSize(40, 401)};
    view.AxisWidth = 2;
    const auto printed = DrawLayer(16);
    EXPECT_EQ(host.PanelSizes.size(), 1u);
    EXPECT_EQ(host.RulersShown, 1);
    EXPECT_EQ(host.RangeTextUpdates, 2);
    EXPECT_EQ(printed->Layer.XRulerMetafile.Width, 400 * 16);
    EXPECT_EQ(printed->Layer.XRulerMetafile.Height, 29 * 16);
    EXPECT_EQ(printed->Layer.YRulerMetafile.Width, 39 * 16);
    EXPECT_EQ(Options.MeshStyle, 16);
    const std::vector<std::string> lines = Lines(printed->Graph.Picture);
    EXPECT_EQ(lines.front(), "polyline pen(E0A0A0 16 solid mask) 0,0 0,6400");
}

TEST_F(AxesTest, OriginLetterUnlessObjectOLabelsItself)
{
    const auto count = [this] { return CountStarting(Lines(DrawLayer()->Graph.Picture), "text 190,200 font(\"Times New Roman\" -16 000000) \"O\""); };
    EXPECT_EQ(count(), 1);
    DocumentTables.Points[PointCount].LabelPos = 4;
    EXPECT_EQ(count(), 0);
    DocumentTables.Points[PointCount].LabelPos = 0;
    view.XAxis.AxesVisible = 0;
    view.YAxis.ValueVisible = 0;
    EXPECT_EQ(count(), 0);
    view.YAxis.ValueVisible = 1;
    EXPECT_EQ(count(), 1);
}

// With the axes on the rulers the graph holds only grid lines; ticks,
// labels and names are on the rulers.
TEST_F(AxesTest, AxisOnMovesEverythingButTheGridToTheRulers)
{
    view.AxisOn = 1;
    const auto drawing = DrawLayer();
    const std::vector<std::string> graph = Lines(drawing->Graph.Picture);
    EXPECT_EQ(CountStarting(graph, "polyline pen(E0A0A0 1 solid mask)"), static_cast<int>(graph.size()));
    EXPECT_EQ(graph.size(), 22u);
    // −5 would stick out of either ruler; 5 meets the name or the top.
    EXPECT_EQ(Texts(Lines(drawing->Layer.XRulerMetafile)),
              Texts_t({"−4", "−3", "−2", "−1", "0", "1", "2", "3", "4", "x"}));
    EXPECT_EQ(Texts(Lines(drawing->Layer.YRulerMetafile)),
              Texts_t({"−4", "−3", "−2", "−1", "0", "1", "2", "3", "4", "y"}));
    // Without grid lines the graph is empty.
    view.XAxis.ScaleVisible = view.YAxis.ScaleVisible = 0;
    EXPECT_TRUE(DrawLayer()->Graph.Picture.IsEmpty());
}

} // namespace
