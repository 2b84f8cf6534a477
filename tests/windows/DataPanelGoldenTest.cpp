// The data panel with every kind of row, at normal size and in
// presentation mode, against pictures reviewed by eye.
#include "WindowTestKit.h"

#include "tests/render/GoldenFiles.h"

#include "DataPanelRecords.h"
#include "dialogs/CfxProperty.h"
#include "dialogs/PropertyDialog.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "session/PanelLayout.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include <QImage>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr TImageTolerance TextTolerance{48, 0.02};

class DataPanelGoldenTest : public WindowTest {
protected:
    // Two functions (one hidden), a relation, three points, a circle, a
    // parametric curve, a user function, parameters a and b, and two figures.
    void FillDocument()
    {
        SetYfx(1, Equation(QStringLiteral("a*sin(x)"), ModeFunction, 0x0000FF));
        TEquationFunction hidden = Equation(QStringLiteral("x^2/4-b"), ModeFunction, 0x008000);
        hidden.Visible = 0;
        SetYfx(2, hidden);
        SetCfn(1, Equation(QStringLiteral("x^2+y^2<4"), ModeRelation, 0xC08000));
        SetPnt(8, ObjectOf(8, ObjectPoint, QStringLiteral("1"), QStringLiteral("2")));
        SetPnt(9, ObjectOf(9, ObjectPoint, QStringLiteral("-2"), QStringLiteral("a")));
        SetPnt(10, ObjectOf(10, ObjectPoint, QStringLiteral("3"), QStringLiteral("-1")));
        SetPnt(11, ObjectOf(11, ObjectCircle, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("b")));
        SetPnt(1, ObjectOf(1, ObjectParametric, QStringLiteral("cos(t)"), QStringLiteral("sin(2t)")));
        TKavirofunction usr;
        usr.Text = QStringLiteral("x^2+1");
        PrepareExpression(usr, ModeUserFunction);
        SetUsr(1, usr);
        Segments.Append(8, 9, 0xFF0000, 2, 1);
        Tsegment polygon;
        polygon.Kind = FigurePolygon;
        polygon.Color = 0x008000;
        polygon.InsideColor = 0x80FF80;
        polygon.Pattern = 5; // rising hatch
        polygon.Width = 1;
        for (int v : {1, 2, 3})
            polygon.Vertices[v] = static_cast<std::uint8_t>(7 + v);
        Segments.Data.Items[++Segments.Data.Count] = polygon;
        ShowSegRows();
        PanelLayout.Panels[PanelFigures].Visible = 1;
        Console().ArrangePanels();
        Console().resize(Console().width(), 1100);
        ProcessEvents();
    }
};

TEST_F(DataPanelGoldenTest, EveryKindOfRow)
{
    StartProgram();
    FillDocument();
    EXPECT_TRUE(MatchesImageGolden(Console().grab().toImage(), QStringLiteral("windows/console-full.png"),
                                   TextTolerance));
}

TEST_F(DataPanelGoldenTest, PresentationMode)
{
    StartProgram();
    FillDocument();
    ProgramState.PresentationMode = 1;
    Console().ApplySizes();
    Console().resize(Console().width(), 1400);
    ProcessEvents();
    EXPECT_EQ(RowMetrics.RowPitch, 73);
    EXPECT_TRUE(MatchesImageGolden(Console().grab().toImage(), QStringLiteral("windows/console-presentation.png"),
                                   TextTolerance));
}

// While a dialog holds the data panel, the panels' titles stay as they are
// and the buttons are greyed in a grey that still reads on the silver.
TEST_F(DataPanelGoldenTest, WhileADialogIsOpenOnlyTheButtonsAreGreyed)
{
    StartProgram();
    FillDocument();
    ShowYfxProperty(1);
    ProcessEvents();
    ASSERT_FALSE(Console().isEnabled());
    const QImage shown = Console().grab().toImage();
    const auto area = [&](QWidget* w) { return QRect(w->mapTo(&Console(), QPoint(0, 0)), w->size()); };
    for (const char* title : {"panelyfxTitle", "panelcfnTitle", "panelPntTitle", "PanelPrmTitle"})
        EXPECT_LT(DarkestGrey(shown, area(Find<QLabel>(Console(), title))), 0x30) << title;
    const int button = DarkestGrey(shown, area(Find<QToolButton>(Console(), "sbAddYfx")));
    EXPECT_GT(button, 0x40) << "greyed";
    EXPECT_LT(button, 0x90) << "and readable on the silver";
    EXPECT_TRUE(MatchesImageGolden(shown, QStringLiteral("windows/console-dialog-open.png"), TextTolerance));
    FindOpenDialog(QStringLiteral("CfxProperty"))->close();
    ProcessEvents();
}

} // namespace
