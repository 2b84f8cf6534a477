// Whole scenes against goldens: the display lists of the graph and scene
// pictures (exact, fake text metrics), and the composed graph and trace
// layers as pictures.
#include "SceneTestKit.h"
#include "model/GlobalResets.h"
#include "model/Options.h"
#include "tests/render/GoldenFiles.h"

namespace {

class SceneGoldenTest : public SceneTest {
protected:
    // Five kinds of curve: a parabola, a dashed wave, steps, a pole (traced)
    // and a half circle whose ends are refined.
    void Functions()
    {
        SetFunction(1, "x^2-3");
        SetFunction(2, "2sin(2x)");
        TEquationFunction& wave = DocumentTables.Functions[2];
        wave.Color = 0x0000FF;
        wave.LineStyle = 2;
        SetFunction(3, "int(x)");
        DocumentTables.Functions[3].Color = 0x00BF00;
        DocumentTables.Functions[3].Width = 1;
        SetFunction(4, "1/(x-0.0125)");
        DocumentTables.Functions[4].Color = 0xD000D0;
        DocumentTables.Functions[4].AfterImage = 1;
        SetFunction(5, "sqrt(4-x^2)");
        DocumentTables.Functions[5].Width = 3;
    }
    static QString Dump(const QString& title)
    {
        return QStringLiteral("== ") + title + QStringLiteral("\n-- graph\n") + DumpMetafile(SceneState.GraphMetafile) +
               QStringLiteral("-- scene\n") + DumpMetafile(SceneState.SceneMetafile);
    }
};

TEST_F(SceneGoldenTest, DisplayListsMatchTheGolden)
{
    QString all;
    Functions();
    SetDirtyObjects();
    view.Redraw(images);
    all += Dump(QStringLiteral("five curves, auto mode"));

    Options.DrawMode = 2;
    SetDirtyFlag3();
    view.Redraw(images);
    all += Dump(QStringLiteral("the same, connect mode"));

    ResetAllGlobals();
    SetView(-2.0L, 2.0L, -1.0L, 3.0L, 150, 150); // the smallest view
    SetFunction(1, "x^2");
    Options.DrawMode = 3;
    SetDirtyObjects();
    view.Redraw(images);
    all += Dump(QStringLiteral("plot mode over 150 × 150"));
    EXPECT_TRUE(MatchesTextGolden(all, QStringLiteral("scene/scenes.txt")));
}

TEST_F(SceneGoldenTest, PicturesMatchTheGolden)
{
    Functions();
    SetDirtyObjects();
    view.Redraw(images);
    EXPECT_TRUE(MatchesImageGolden(images[0].Image(), QStringLiteral("scene/five-curves.png"), {32, 0.02}));

    // A traced wave stepped three times leaves its earlier states, faded,
    // on the trace layer under the present one.
    ResetAllGlobals();
    SetView(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400);
    SetFunction(1, "a·sin(x)");
    DocumentTables.Functions[1].AfterImage = 1;
    DocumentTables.Functions[1].Color = 0x0000FF;
    SetFunction(2, "x/a");
    SetDirtyObjects();
    view.Redraw(images);
    for (int a = 2; a <= 4; ++a) {
        StepParameter("a", a);
        view.Redraw(images);
    }
    EXPECT_TRUE(MatchesImageGolden(images[1].Image(), QStringLiteral("scene/trace-layer.png")));
    EXPECT_TRUE(MatchesImageGolden(images[0].Image(), QStringLiteral("scene/traced-graph.png"), {32, 0.02}));
}

} // namespace
