// Projects whose graphs have other sizes, opened one after another in one
// session: the pictures take each project's size and the redraw stays
// inside them (the wide pens' rows once outgrew their storage here).
#include "SessionTest.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Settings.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/HeadlessStartup.h"
#include "tests/render/PixelProbe.h"

namespace {

class ProjectSizesTest : public SessionTest {
protected:
    THeadlessProjectHost headless_;
    ScopedProjectHost useHeadless_{headless_};

    void SetUp() override
    {
        SessionTest::SetUp();
        InstallSceneRedrawer();
        ProgramSettings.AreaSizeByFile = 1;
    }

    // A project of that graph size with a wide curve from corner to corner
    // and a wide axis pen, saved as <width>x<height>.kvf.
    QString SaveProjectOfSize(int width, int height)
    {
        GraphScale.XAxis.VHigh = width;
        GraphScale.YAxis.VHigh = height;
        TEquationFunction& f = DocumentTables.Functions[1];
        f.Func.Text = QStringLiteral("x");
        f.Width = 9;
        EXPECT_TRUE(PrepareExpression(f.Func, -1));
        GraphScale.AxisWidth = 3;
        const QString name = QStringLiteral("%1x%2").arg(width).arg(height);
        EXPECT_TRUE(SaveAs(name));
        return name;
    }
};

TEST_F(ProjectSizesTest, EachProjectDrawsIntoPicturesOfItsOwnSize)
{
    struct Size {
        int Width, Height;
    };
    const Size sizes[] = {{600, 300}, {400, 400}, {200, 700}, {700, 150}, {600, 300}};
    QStringList names;
    for (const Size& s : sizes)
        names << SaveProjectOfSize(s.Width, s.Height);
    for (qsizetype i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(Open(names[i])) << names[i].toStdString();
        const QImage& graph = GraphScale.GraphImages[0].Image();
        EXPECT_EQ(graph.width(), sizes[i].Width + 1) << names[i].toStdString();
        EXPECT_EQ(graph.height(), sizes[i].Height + 1) << names[i].toStdString();
        // The curve y = x is drawn, between the grid lines.
        const QPoint onCurve = GraphScale.WorldToPoint({0.5L, 0.5L});
        EXPECT_EQ(PixelAt(graph, onCurve.x(), onCurve.y()), DocumentTables.Functions[1].Color) << names[i].toStdString();
    }
}

} // namespace
