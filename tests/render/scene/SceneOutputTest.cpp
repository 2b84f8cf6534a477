// The whole scene drawn into one picture, with and without rulers, and the
// picture printed in bands.
#include "SceneTestKit.h"
#include "model/Colors.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakePrinting.h"
#include "render/scene/CalcPrintSize.h"
#include "render/scene/PointStates.h"
#include "render/scene/Printing.h"
#include "render/scene/SceneToMetafile.h"
#include "render/view/DrawContext.h"
#include "tests/render/GoldenFiles.h"

#include <QPainter>
#include <stdexcept>

namespace {

// A participant that notes what the scene's composing saw, and can fail in
// the middle of a drawing.
class ObservingParticipant final : public TRedrawParticipant {
public:
    int Magnification = 0;
    bool Monochrome = false;
    TColor MeshColor = 0;
    int Compositions = 0;
    bool Fail = false;

    void ComposeScene(TCanvas&) override
    {
        ++Compositions;
        Magnification = CurrentDrawContext().Magnification;
        Monochrome = ColorScheme.Monochrome;
        MeshColor = ColorScheme.MeshColor;
        if (Fail)
            throw std::runtime_error("sticker");
    }
};

class SceneOutputTest : public SceneTest {
protected:
    ObservingParticipant output;
    TRedrawParticipation useOutput{output, TRedrawOrder::Notes};

    // A parabola, a hollow point and a circle.
    void SmallScene()
    {
        SetFunction(1, "x^2-3");
        TPointFunction& p = DocumentTables.Points[1];
        p.Kind = ObjectPoint;
        p.PointStyle = 1;
        SetFormula(1, p.Pos, "(1,2)");
        TPointFunction& c = DocumentTables.Points[2];
        c.Kind = ObjectCircle;
        SetFormula(2, c.Pos, "(-2,-1)");
        SetFormula(2, c.R, "1.5");
        c.RColorNo1 = 0x0000FF;
        SetDirtyObjects();
        view.Redraw(images);
        BuildPointStates(view.PointStates);
    }
    static QString Dump(const QString& title, const TMetafile& picture)
    {
        return QStringLiteral("== ") + title + u'\n' + DumpMetafile(picture);
    }
};

TEST_F(SceneOutputTest, MagnifiedPictureHasTheMagnifiedSize)
{
    SmallScene();
    Options.MeshStyle = 3;
    const TMetafile picture = DrawToMetafile(view, 4);
    EXPECT_EQ(Options.MeshStyle, 3); // the magnified grid pen was 2
    EXPECT_EQ(picture.Width, 1604);
    EXPECT_EQ(picture.Height, 1604);
    EXPECT_EQ(output.Magnification, 4);
    EXPECT_EQ(output.Compositions, 1);
    EXPECT_EQ(ProgramState.Magnification, 1);
    // The redraw state is cleared: the next redraw starts from nothing.
    EXPECT_FALSE(IsDirtyView());
    EXPECT_FALSE(IsDirtyObjects());
    // Everything lies in the magnified view.
    for (const TMetafile::TEntry& e : picture.Entries)
        EXPECT_EQ(picture.States[e.State].Clip, (std::optional<TRect>{TRect{0, 0, 1600, 1600}}));
}

TEST_F(SceneOutputTest, MagnificationComesBackWhenDrawingFails)
{
    output.Fail = true;
    EXPECT_THROW(DrawToMetafile(view, 16), std::runtime_error);
    EXPECT_EQ(output.Magnification, 16);
    EXPECT_EQ(Options.MeshStyle, 1);
    EXPECT_EQ(ProgramState.Magnification, 1);
}

TEST_F(SceneOutputTest, RulersGoBesideTheGraph)
{
    struct Case {
        const char* Title;
        bool YAtBorder, XAtBorder, Left, Below;
        TRect Graph, YRuler, XRuler;
        int Width, Height;
    };
    // A graph of 100 × 80, a y ruler of 20 × 79, an x ruler of 99 × 15, 5 apart.
    const Case cases[] = {
        {"none", false, false, true, true, {0, 0, 100, 80}, {}, {}, 100, 80},
        {"left and below", true, true, true, true, {25, 0, 125, 80}, {0, 0, 20, 80}, {25, 85, 125, 100}, 125, 100},
        {"right and above", true, true, false, false, {0, 20, 100, 100}, {105, 20, 125, 100}, {0, 0, 100, 15}, 125,
         100},
        {"y only, right", true, false, false, true, {0, 0, 100, 80}, {105, 0, 125, 80}, {}, 125, 80},
        {"x only, above", false, true, true, false, {0, 20, 100, 100}, {}, {0, 0, 100, 15}, 100, 100},
    };
    for (const Case& c : cases) {
        const TRulerLayout l =
            LayOutRulers({100, 80}, {20, 79}, {99, 15}, c.YAtBorder, c.XAtBorder, c.Left, c.Below, 5);
        EXPECT_EQ(l.Graph, c.Graph) << c.Title;
        EXPECT_EQ(l.YRuler, c.YRuler) << c.Title;
        EXPECT_EQ(l.XRuler, c.XRuler) << c.Title;
        EXPECT_EQ(l.Width, c.Width) << c.Title;
        EXPECT_EQ(l.Height, c.Height) << c.Title;
    }
}

TEST_F(SceneOutputTest, AxesOnTheBorderBringTheRulers)
{
    SetView(-5.0L, 5.0L, -5.0L, 5.0L, 160, 160);
    SmallScene();
    const TMetafile plain = DrawToMetafile(view, 2);
    EXPECT_EQ(plain.Width, 322);
    view.AxisOn = 1;
    const TMetafile ruled = DrawToMetafile(view, 2);
    // The rulers are as wide as the axes layer makes them, magnified, and
    // 2 × 5 pixels from the graph; the graph moves right of the y ruler.
    EXPECT_GT(ruled.Width, plain.Width + 10);
    EXPECT_GT(ruled.Height, plain.Height + 10);
    QString all = Dump(QStringLiteral("axes in the view, magnification 2"), plain);
    all += Dump(QStringLiteral("axes on the rulers, magnification 2"), ruled);
    EXPECT_TRUE(MatchesTextGolden(all, QStringLiteral("scene/scene-metafile.txt")));
}

TEST_F(SceneOutputTest, PrintSizeKeepsProportionsAndNeverVanishes)
{
    struct Case {
        const char* Title;
        QSize Source, Page;
        int Percent;
        bool Keep;
        QSize Printed;
    };
    const Case cases[] = {
        {"75 % of 4800", {401, 401}, {4800, 6600}, 75, false, {3600, 3600}},
        {"whole multiple", {500, 500}, {4800, 6600}, 75, true, {3500, 3500}},
        {"wide source", {800, 400}, {4800, 6600}, 100, false, {4800, 2400}},
        {"too tall for the page", {100, 1000}, {4800, 6600}, 75, false, {660, 6600}},
        {"too tall, whole multiple by the height", {100, 1000}, {4800, 6600}, 75, true, {600, 6000}},
        {"no whole multiple fits", {5000, 5000}, {4800, 6600}, 75, true, {3600, 3600}},
        {"height rounds half to even", {4, 1}, {100, 1000}, 10, false, {10, 2}},
        {"nothing of the page", {400, 400}, {4800, 6600}, 0, true, {1, 1}},
        {"source without pixels", {0, 0}, {4800, 6600}, 75, false, {3600, 3600}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalcPrintSize(c.Source, c.Page, c.Percent, c.Keep), c.Printed) << c.Title;

    EXPECT_EQ(PrintPlacement({3600, 3600}, {4800, 6600}), (TRect{600, 220, 4200, 3820}));
    // At 29/30 of the page height exactly the margin stays; above it, none.
    EXPECT_EQ(PrintPlacement({3600, 6380}, {4800, 6600}).Top, 220);
    EXPECT_EQ(PrintPlacement({3600, 6381}, {4800, 6600}).Top, 0);
    EXPECT_EQ(PrintPlacement({4801, 100}, {4800, 6600}).Left, 0);
}

TEST_F(SceneOutputTest, PrintingPlacesThePictureAndRestoresTheScheme)
{
    SmallScene();
    platform::FakePrinting printer({4800, 6600});
    const TPrintRequest request{PrintMonochromeGraph, QStringLiteral("KAVIRO - parabola.kvf"), 75, false};
    ASSERT_EQ(PrintGraphMetafile(view, request, printer), TPrintResult::Printed);
    EXPECT_EQ(printer.printedBox(), QRect(600, 220, 3600, 3600));
    EXPECT_EQ(printer.jobTitle(), QStringLiteral("KAVIRO - parabola.kvf"));
    EXPECT_EQ(printer.jobsBegun(), 1);
    EXPECT_EQ(printer.jobsEnded(), 1);
    // Drawn at 16 in black and white; the normal scheme is back.
    EXPECT_EQ(output.Magnification, 16);
    EXPECT_TRUE(output.Monochrome);
    EXPECT_FALSE(ColorScheme.Monochrome);
    EXPECT_EQ(ColorScheme.MeshColor, 0xE0A0A0u);
    EXPECT_EQ(Options.MeshStyle, 1);
    EXPECT_EQ(ProgramState.Magnification, 1);

    // In colour the grid is darker while printing.
    platform::FakePrinting small({480, 660});
    ASSERT_EQ(PrintGraphMetafile(view, {PrintColorGraph, {}, 75, false}, small), TPrintResult::Printed);
    EXPECT_FALSE(output.Monochrome);
    EXPECT_EQ(output.MeshColor, 0xA06060u);
    EXPECT_EQ(ColorScheme.MeshColor, 0xE0A0A0u);
}

TEST_F(SceneOutputTest, PrintingThatFailsLeavesTheScreenAsItWas)
{
    platform::FakePrinting none({0, 0});
    EXPECT_EQ(PrintGraphMetafile(view, {PrintMonochromeGraph, {}, 75, false}, none), TPrintResult::NoPrinter);
    EXPECT_EQ(output.Compositions, 0);

    platform::FakePrinting refusing({480, 660});
    refusing.refuseJobs(true);
    EXPECT_EQ(PrintGraphMetafile(view, {PrintMonochromeGraph, {}, 75, false}, refusing), TPrintResult::Refused);
    EXPECT_TRUE(refusing.bands().empty());
    EXPECT_FALSE(ColorScheme.Monochrome);

    output.Fail = true;
    platform::FakePrinting printer({480, 660});
    EXPECT_THROW(PrintGraphMetafile(view, {PrintMonochromeGraph, {}, 75, false}, printer), std::runtime_error);
    EXPECT_TRUE(output.Monochrome);
    EXPECT_FALSE(ColorScheme.Monochrome);
    EXPECT_EQ(ColorScheme.MeshColor, 0xE0A0A0u);
    EXPECT_EQ(Options.MeshStyle, 1);
    EXPECT_EQ(ProgramState.Magnification, 1);
    EXPECT_EQ(printer.jobsBegun(), 0);

    // Without an installed printer nothing is printed.
    output.Fail = false;
    EXPECT_EQ(PrintGraphMetafile(view, PrintColorGraph, QStringLiteral("x")), TPrintResult::NoPrinter);
}

TEST_F(SceneOutputTest, BandedPrintMatchesTheGolden)
{
    SetView(-5.0L, 5.0L, -5.0L, 5.0L, 160, 160);
    SmallScene();
    // A page of 300 × 330: the picture is 225 pixels wide, 11 from the top,
    // printed in bands of 512 rows.
    platform::FakePrinting printer({300, 330});
    QImage page(300, 330, QImage::Format_RGB32);
    page.fill(Qt::white);
    printer.onBand([&page](int left, int top, const QImage& band) {
        QPainter painter(&page);
        painter.drawImage(left, top, band);
    });
    ASSERT_EQ(PrintGraphMetafile(view, {PrintColorGraph, {}, 75, false}, printer), TPrintResult::Printed);
    EXPECT_EQ(printer.printedBox(), QRect(37, 11, 225, 225));

    // The bands join into what one replay of the picture (in the colours of
    // printing) gives, and nothing lies outside the picture's box.
    ColorScheme.MeshColor = 0xA06060;
    const TMetafile picture = DrawToMetafile(view, 16);
    SetNormalColorScheme();
    QImage whole(225, 225, QImage::Format_RGB32);
    whole.fill(Qt::white);
    {
        TCanvas canvas = MakeImageCanvas(whole);
        PlayMetafile(picture, canvas, {0, 0, 225, 225});
    }
    EXPECT_EQ(page.copy(37, 11, 225, 225), whole);
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const bool inside = x >= 37 && x < 262 && y >= 11 && y < 236;
            const bool white = page.pixel(x, y) == 0xFFFFFFFFu;
            if (!inside) {
                ASSERT_TRUE(white) << x << "," << y;
            }
            dark += inside && !white;
        }
    EXPECT_GT(dark, 1000);
    EXPECT_TRUE(MatchesImageGolden(page, QStringLiteral("scene/banded-print.png"), {32, 0.02}));
}

} // namespace
