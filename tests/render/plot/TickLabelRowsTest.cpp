// Which ticks carry labels, read from drawn pictures: a label sits below and
// left of its tick, so ink just left of a tick and just below the axis line
// (x axis) or just below the tick (y axis) shows that the tick is labelled.
#include "AxesTestKit.h"
#include "render/plot/AxesTicks.h"
#include "model/DocumentState.h"
#include "tests/render/PixelProbe.h"

#include <QImage>
#include <algorithm>
#include <QRect>
#include <vector>

namespace {

using Values_t = std::vector<long double>;

class TickLabelRowsTest : public AxesTest {
protected:
    QtTextMetrics platformMetrics;
    ScopedTextMetrics usePlatform{platformMetrics};

    // Without the axis names, the arrow heads and the origin's "O", whose
    // ink is near the end and the middle ticks.
    QImage Picture()
    {
        view.AxisStyle = 1;
        view.XAxis.Caption.clear();
        view.YAxis.Caption.clear();
        DocumentTables.Points[PointCount].LabelPos = 1;
        QImage image = BlankImage(view.XAxis.VHigh + 1, view.YAxis.VHigh + 1);
        TCanvas canvas = MakeImageCanvas(image);
        DrawAxes(canvas, view, view.Mapping());
        return image;
    }

    static bool IsInk(const QImage& image, int x, int y)
    {
        if (!image.rect().contains(x, y))
            return false;
        // Labels are black; the grid's light colour is not ink.
        const TColor c = PixelAt(image, x, y);
        return ColorRed(c) < 96 && ColorGreen(c) < 96 && ColorBlue(c) < 96;
    }

    // Runs of positions along one direction that hold ink somewhere across
    // the band, split where `gap` positions in a row hold none.
    template <class InkAt>
    static std::vector<std::pair<int, int>> InkRuns(int length, int gap, InkAt inkAt)
    {
        std::vector<std::pair<int, int>> runs;
        int blank = gap;
        for (int p = 0; p < length; ++p) {
            if (!inkAt(p)) {
                ++blank;
                continue;
            }
            if (blank >= gap)
                runs.push_back({p, p});
            runs.back().second = p;
            blank = 0;
        }
        return runs;
    }

    // The ticks whose labels the picture shows, in increasing order. A label
    // ends three pixels left of its tick (its last glyph's ink a few pixels
    // sooner) and starts a pixel below its tick's row; labels of one row are
    // at least 10 (x) or 5 (y) pixels apart. The axis lines are not ink; the
    // x labels that cross the y labels' column at the origin map to tick 0,
    // which never has a label in the graph.
    Values_t LabelledTicks(const QImage& image, TAxisRole role)
    {
        const TViewMapping mapping = view.Mapping();
        const bool isX = role == TAxisRole::X;
        const ScaleSubT& axis = isX ? view.XAxis : view.YAxis;
        const TAxisMapping& along = isX ? mapping.X : mapping.Y;
        const int row = mapping.Y.ValueToPixel(0.0L).Pixel;
        const int column = mapping.X.ValueToPixel(0.0L).Pixel;
        const TAxisTicks ticks = TicksFrom(axis.Low, axis.High, axis.CalcTickStep());
        const auto runs = isX ? InkRuns(image.width(), 5,
                                        [&](int x) {
                                            for (int y = row + 2; y <= row + 14; ++y)
                                                if (std::abs(x - column) > 1 && IsInk(image, x, y))
                                                    return true;
                                            return false;
                                        })
                              : InkRuns(image.height(), 3, [&](int y) {
                                    for (int x = column - 80; x <= column - 3; ++x)
                                        if (std::abs(y - row) > 1 && IsInk(image, x, y))
                                            return true;
                                    return false;
                                });
        Values_t labelled;
        for (const auto& [first, last] : runs) {
            bool found = false;
            for (std::int64_t i = 0; i < ticks.Count && !found; ++i) {
                const int p = along.ValueToPixel(ticks.At(i)).Pixel;
                found = isX ? (last + 3 <= p && p <= last + 10) : (first - 8 <= p && p <= first - 1);
                if (found && ticks.At(i) != 0.0L)
                    labelled.push_back(ticks.At(i));
            }
            if (!found)
                ADD_FAILURE() << "ink at " << first << ".." << last << " belongs to no tick";
        }
        std::sort(labelled.begin(), labelled.end());
        return labelled;
    }
};

void ExpectValues(const Values_t& actual, const Values_t& expected, const std::string& what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what << ": " << ::testing::PrintToString(actual);
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(static_cast<double>(actual[i]), static_cast<double>(expected[i]),
                    1e-9 * std::max(1.0, std::fabs(static_cast<double>(expected[i]))))
            << what << " label " << i;
}

// Both axes over one range on a square of pixels. Where the labels of every
// tick would run into each other, every 2nd, 5th or 10th tick counted from 0
// keeps its label, alike on both sides of 0; a label that would stick out of
// the view's left or bottom edge is left out, as is one that would touch the
// axis name at the far end.
TEST_F(TickLabelRowsTest, RowsAreThinnedAlikeOnBothSidesOfZero)
{
    struct Case {
        long double Low, High; // of both axes
        int Pixels;
        Values_t X, Y;
    };
    const Case cases[] = {
        // Every tick has room: −5 and the y axis's ends stick out, 5 meets "x".
        {-5.0L, 5.0L, 400, {-4, -3, -2, -1, 1, 2, 3, 4}, {-4, -3, -2, -1, 1, 2, 3, 4}},
        // "−0.4" is wider than a tenth leaves: every second x tick.
        {-0.5L, 0.5L, 400, {-0.4L, -0.2L, 0.2L, 0.4L}, {-0.4L, -0.3L, -0.2L, -0.1L, 0.1L, 0.2L, 0.3L, 0.4L}},
        // "−40000" would start left of the view.
        {-50000.0L, 50000.0L, 400, {-20000, 20000, 40000},
         {-40000, -30000, -20000, -10000, 10000, 20000, 30000, 40000}},
        {-1e6L, 1e6L, 400, {-400000, 400000, 800000},
         {-800000, -600000, -400000, -200000, 200000, 400000, 600000, 800000}},
        // 20 pixels a tick: every second on both axes; −4 would start left of the view.
        {-5.0L, 5.0L, 200, {-2, 2, 4}, {-4, -2, 2, 4}},
    };
    for (const Case& c : cases) {
        SetView(c.Low, c.High, c.Low, c.High, c.Pixels, c.Pixels);
        const QImage image = Picture();
        const std::string what = ::testing::PrintToString(static_cast<double>(c.Low)) + ".." +
                                 ::testing::PrintToString(static_cast<double>(c.High)) + " on " +
                                 std::to_string(c.Pixels);
        ExpectValues(LabelledTicks(image, TAxisRole::X), c.X, what + " x");
        ExpectValues(LabelledTicks(image, TAxisRole::Y), c.Y, what + " y");
    }
}

// Away from 0 the ticks are still counted from 0: every second one is an
// even multiple of the step.
TEST_F(TickLabelRowsTest, ThinnedRowsCountFromZeroAwayFromIt)
{
    SetView(-2.0L, 98.0L, -5.0L, 5.0L, 400, 400); // step 10: "−0" never, "90" 40 pixels apart
    ExpectValues(LabelledTicks(Picture(), TAxisRole::X), {10, 20, 30, 40, 50, 60, 70, 80, 90}, "step 10");
    SetView(-20000.0L, 980000.0L, -5.0L, 5.0L, 400, 400); // "100000" is too wide for 40 pixels
    ExpectValues(LabelledTicks(Picture(), TAxisRole::X), {200000, 400000, 600000, 800000}, "step 100000");
}

} // namespace
