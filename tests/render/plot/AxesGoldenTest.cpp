// The axes layer and its rulers against golden display lists (exact fake
// metrics) and golden pictures (the platform's fonts, within the text
// tolerance).
#include "AxesTestKit.h"
#include "model/GlobalResets.h"
#include "model/Options.h"
#include "tests/render/GoldenFiles.h"

#include <QImage>
#include <numbers>

namespace {

QString DumpLayer(const QString& title, const TRecorder& graph, const TAxesLayer& layer)
{
    return QStringLiteral("== ") + title + QStringLiteral("\n") + DumpMetafile(graph.Picture) +
           QStringLiteral("-- x ruler\n") + DumpMetafile(layer.XRulerMetafile) + QStringLiteral("-- y ruler\n") +
           DumpMetafile(layer.YRulerMetafile);
}

// The graph with the y ruler on its left and the x ruler under it, on the
// window's grey, as the graph window shows them.
QImage WindowPicture(const TRecorder& graph, const TAxesLayer& layer)
{
    const TMetafile& g = graph.Picture;
    const int left = layer.YRulerMetafile.Width + 1;
    QImage image(left + g.Width + 1, g.Height + 1 + layer.XRulerMetafile.Height + 1, QImage::Format_RGB32);
    image.fill(QColor(0xE0, 0xE0, 0xE0));
    TCanvas canvas = MakeImageCanvas(image);
    canvas.Brush = TBrush{.Style = TBrushStyle::Solid, .Color = ColorWhite, .Pattern = {}};
    canvas.FillRect({left, 0, left + g.Width + 1, g.Height + 1});
    PlayMetafile(g, canvas, {left, 0, left + g.Width + 1, g.Height + 1});
    PlayMetafile(layer.YRulerMetafile, canvas, {0, 0, left, g.Height + 1});
    PlayMetafile(layer.XRulerMetafile, canvas,
                 {left, g.Height + 1, left + g.Width + 1, g.Height + 1 + layer.XRulerMetafile.Height + 1});
    return image;
}

// The default view; a π axis with fractions on y and a coloured y name;
// polar with a dotted grid, plain axis ends and eight angle steps.
class AxesGoldenTest : public AxesTest {
protected:
    void PiAndFractions()
    {
        SetView(-7.0L, 7.0L, -1.2L, 1.2L, 400, 400);
        view.XAxis.Base = std::numbers::pi_v<long double>;
        view.YAxis.Number = 4; // step 1/2
        view.LetterFrac = 1;
        view.YAxis.Caption = QStringLiteral("<RED>f(x)");
    }
    void Polar()
    {
        SetView(-3.0L, 5.0L, -3.0L, 3.0L, 400, 300);
        Options.AxisType = 1;
        view.PsMesh = 2;
        view.AxisStyle = 1;
        view.PolorNum = 8;
    }
    // Each picture starts from the start-up state.
    void Prepare(int which)
    {
        ResetAllGlobals();
        SetView(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400);
        if (which == 1)
            PiAndFractions();
        else if (which == 2)
            Polar();
    }
};

const char* const Titles[] = {"cartesian −5..5", "π axis, fractions on y", "polar, dotted, 8 steps"};

TEST_F(AxesGoldenTest, DisplayListsMatchTheGolden)
{
    QString all;
    for (int which = 0; which < 3; ++which) {
        Prepare(which);
        const auto drawing = DrawLayer();
        all += DumpLayer(QString::fromUtf8(Titles[which]), drawing->Graph, drawing->Layer);
    }
    EXPECT_TRUE(MatchesTextGolden(all, QStringLiteral("axes/layers.txt")));
}

TEST_F(AxesGoldenTest, PicturesMatchTheGoldens)
{
    QtTextMetrics platformMetrics;
    ScopedTextMetrics usePlatform{platformMetrics};
    const char* const names[] = {"axes/cartesian.png", "axes/pi-fractions.png", "axes/polar.png"};
    for (int which = 0; which < 3; ++which) {
        Prepare(which);
        const auto drawing = DrawLayer();
        EXPECT_TRUE(MatchesImageGolden(WindowPicture(drawing->Graph, drawing->Layer), QString::fromLatin1(names[which]),
                                       {48, 0.02}))
            << names[which];
    }
}

} // namespace
