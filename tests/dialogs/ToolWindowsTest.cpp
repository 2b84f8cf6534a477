// The value table and integral windows used as a user does: opened from
// the graph window's buttons, one closing the other, their pictures clicked
// and the calculator answered, markers toggled, partitions typed, closed and
// reopened where they were, undo with a window open, their lines dragged on
// the graph, and their looks.
#include "PropertyDialogTestKit.h"

#include "dialogs/FormIvalue.h"
#include "dialogs/FormYValue.h"
#include "dialogs/ToolWindowHost.h"
#include "engine/Compiler.h"
#include "model/History.h"
#include "render/gfx/ColorConvert.h"
#include "session/Commands.h"
#include "model/MessageBox.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"
#include "session/MouseWork.h"
#include "session/Presentation.h"
#include "session/StoreOperations.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"
#include "tests/render/GoldenFiles.h"

#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

namespace {

class ToolWindowsTest : public PropertyDialogTest {
protected:
    void SetUp() override
    {
        PropertyDialogTest::SetUp();
        Options.AreaRectify = 0;
        ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -4.0L}, {5.0L, 4.0L}}));
        ProcessEvents();
        ProgramState.Modified = 0;
    }
    TToolWindowHost& Tools() { return Graph().ToolWindows(); }
    TFormYValue* Table() { return Tools().FormYValue(); }
    TFormIvalue* Integral() { return Tools().FormIvalue(); }
    void ClickValueButton()
    {
        Click(Graph().sbYvalue);
        ProcessEvents();
    }
    void ClickIntegralButton()
    {
        Click(Graph().sbIvalue);
        ProcessEvents();
    }
    static void SetLimitTexts(const QString& lower, const QString& upper)
    {
        Tinterval& in = DocumentTables.IntegralInterval;
        in.Lower.Text = lower;
        in.Upper.Text = upper;
        PrepareExpression(in.Lower, ModePlain);
        PrepareExpression(in.Upper, ModePlain);
    }
    static int PixelOfX(long double x) { return GraphScale.XAxis.ValueToPixel(x); }
    static QRgb GraphPixel(int x, int y) { return GraphScale.GraphImages[0].Image().pixel(x, y); }
    // The graph's mouse from press to release, with the moves a window
    // system sends between them.
    void DragOnGraph(int fromX, int toX, int y = 100)
    {
        QWidget* g = Graph().GImage;
        const auto move = [g](QPoint p, Qt::MouseButtons buttons) {
            QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(g->mapToGlobal(p)), Qt::NoButton, buttons, {});
            QApplication::sendEvent(g, &e);
        };
        move({fromX, y}, Qt::NoButton);
        QTest::mousePress(g, Qt::LeftButton, {}, {fromX, y});
        for (int i = 1; i <= 4; ++i)
            move({fromX + (toX - fromX) * i / 4, y}, Qt::LeftButton);
        QTest::mouseRelease(g, Qt::LeftButton, {}, {toX, y});
        ProcessEvents();
    }
    void UndoFromTheMenu()
    {
        auto* undo = Console().findChild<QAction*>(QStringLiteral("menuUndo"));
        ASSERT_NE(undo, nullptr);
        undo->trigger();
        ProcessEvents();
    }
    static QString HintOf(QWidget* widget)
    {
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &help);
        return widget->toolTip();
    }
};

TEST_F(ToolWindowsTest, TheButtonsOpenOneWindowAtATime)
{
    ClickValueButton();
    ASSERT_NE(Table(), nullptr);
    EXPECT_TRUE(Table()->isVisible());
    EXPECT_EQ(Table()->windowTitle(), QStringLiteral("Valores da Função"));
    EXPECT_TRUE(Graph().sbYvalue->isChecked());

    // The integral's button closes the value table first.
    ClickIntegralButton();
    EXPECT_EQ(Table(), nullptr);
    EXPECT_FALSE(Graph().sbYvalue->isChecked());
    ASSERT_NE(Integral(), nullptr);
    EXPECT_EQ(Integral()->windowTitle(), QStringLiteral("Integral Definida"));
    EXPECT_TRUE(Graph().sbIvalue->isChecked());

    // And the other way round.
    ClickValueButton();
    EXPECT_EQ(Integral(), nullptr);
    EXPECT_FALSE(Graph().sbIvalue->isChecked());
    ASSERT_NE(Table(), nullptr);

    // A second click closes its window; so does its title bar.
    ClickValueButton();
    EXPECT_EQ(Table(), nullptr);
    EXPECT_FALSE(Graph().sbYvalue->isChecked());
    ClickIntegralButton();
    ASSERT_NE(Integral(), nullptr);
    Integral()->close();
    ProcessEvents();
    EXPECT_EQ(Integral(), nullptr);
    EXPECT_FALSE(Graph().sbIvalue->isChecked());
    EXPECT_FALSE(CurrentMarkerLines().IsLowerMarkerDraggable());
    EXPECT_EQ(ProgramState.Modified, 0) << "opening and closing changes nothing";
}

TEST_F(ToolWindowsTest, AWindowReopensWhereItWasClosed)
{
    for (const bool integral : {false, true}) {
        integral ? ClickIntegralButton() : ClickValueButton();
        QWidget* window = integral ? static_cast<QWidget*>(Integral()) : Table();
        ASSERT_NE(window, nullptr);
        window->move(123 + integral, 145);
        const QPoint place = window->pos();
        window->close();
        ProcessEvents();
        integral ? ClickIntegralButton() : ClickValueButton();
        window = integral ? static_cast<QWidget*>(Integral()) : Table();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->pos(), place) << integral;
        window->close();
        ProcessEvents();
    }
}

TEST_F(ToolWindowsTest, TheValueTableEditsThroughTheCalculator)
{
    SetFunctionFormula(1, QStringLiteral("x^2"));
    ClickValueButton();
    TFormYValue* table = Table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Rows[0].Edit->text(), QStringLiteral("1.000000000000")) << "x = 1 at the start";

    QueueCalculatorSend(modal, QStringLiteral("2"));
    Click(table->xImage);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.YvalueX.Text, QStringLiteral("2"));
    EXPECT_EQ(table->Rows[0].Edit->text(), QStringLiteral("4.000000000000"));
    EXPECT_EQ(HintOf(table->xImage), QStringLiteral("2"));

    QueueCalculatorSend(modal, QStringLiteral("x+10"));
    Click(table->Rows[2].Image);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.YvalueFunctions[3].Text, QStringLiteral("x+10"));
    EXPECT_EQ(table->Rows[2].Edit->text(), QStringLiteral("12.000000000000"));
    EXPECT_EQ(ProgramState.Modified, 1);

    // Closed without sending: nothing changes.
    QueueCalculatorLeft();
    Click(table->Rows[2].Image);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.YvalueFunctions[3].Text, QStringLiteral("x+10"));

    // Each edit undoes in one step, and the window shows the document undone.
    UndoFromTheMenu();
    ProcessEvents();
    EXPECT_EQ(DocumentTables.YvalueFunctions[3].Text, QStringLiteral("y3"));
    EXPECT_EQ(table->Rows[2].Edit->text(), QStringLiteral("---"));
    UndoFromTheMenu();
    ProcessEvents();
    EXPECT_EQ(table->Rows[0].Edit->text(), QStringLiteral("1.000000000000"));

    // An undefined x: every row without a value, the hint "error".
    Options.ComplexMode = 0;
    QueueCalculatorSend(modal, QStringLiteral("ln(-1)"));
    Click(table->xImage);
    ProcessEvents();
    for (const TValueRowList& row : table->Rows)
        EXPECT_EQ(row.Edit->text(), QStringLiteral("---"));
    EXPECT_EQ(HintOf(table->xImage), QStringLiteral("error"));
}

TEST_F(ToolWindowsTest, TheValueTableIsAtLeast220WideAndItsValuesFollowTheWidth)
{
    ClickValueButton();
    TFormYValue* table = Table();
    ASSERT_NE(table, nullptr);
    for (const int wanted : {100, 300, 520}) {
        table->resize(wanted, table->height());
        ProcessEvents();
        EXPECT_EQ(table->width(), std::max(wanted, 220)) << wanted;
        for (const TValueRowList& row : table->Rows)
            EXPECT_EQ(row.Edit->geometry().right() + 1, table->Panel2->width() - 4) << wanted;
    }
}

TEST_F(ToolWindowsTest, TheXMarkerButtonShowsAndHidesTheLine)
{
    const int line = PixelOfX(1.0L);
    const QRgb without = GraphPixel(line, 30);
    ClickValueButton();
    TFormYValue* table = Table();
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->SbX->isChecked());
    EXPECT_NE(GraphPixel(line, 30), without) << "the line at x = 1";
    const int undoSteps = BackUp.Count();
    Click(table->SbX);
    ProcessEvents();
    EXPECT_TRUE(table->SbX->isChecked());
    EXPECT_EQ(DocumentTables.YvalueX.Marker, 0);
    EXPECT_EQ(GraphPixel(line, 30), without) << "the line is gone";
    EXPECT_EQ(ProgramState.Modified, 1);
    EXPECT_EQ(BackUp.Count(), undoSteps) << "no undo step for the marker";
    Click(table->SbX);
    ProcessEvents();
    EXPECT_FALSE(table->SbX->isChecked());
    EXPECT_NE(GraphPixel(line, 30), without);
    // Closing takes the line away.
    ClickValueButton();
    EXPECT_EQ(GraphPixel(line, 30), without);
}

TEST_F(ToolWindowsTest, TheXLineIsDraggedOnTheGraph)
{
    // Closed: nothing to grab at the line's place.
    DragOnGraph(PixelOfX(1.0L), PixelOfX(3.0L));
    EXPECT_EQ(DocumentTables.YvalueX.Text, QStringLiteral("1"));

    ClickValueButton();
    ASSERT_NE(Table(), nullptr);
    const int undoSteps = BackUp.Count();
    DragOnGraph(PixelOfX(1.0L), PixelOfX(3.0L));
    EXPECT_EQ(DocumentTables.YvalueX.Text, FormulaNumberText(GraphScale.XAxis.PixelToValue(PixelOfX(3.0L))));
    EXPECT_EQ(BackUp.Count(), undoSteps + 1) << "the release takes one undo step";
    // Dropped at 0 it can be grabbed again.
    DragOnGraph(PixelOfX(3.0L), PixelOfX(0.0L));
    const long double dropped = DocumentTables.YvalueXValue.X;
    DragOnGraph(PixelOfX(0.0L), PixelOfX(-2.0L));
    EXPECT_NE(DocumentTables.YvalueXValue.X, dropped);
    EXPECT_LT(DocumentTables.YvalueXValue.X, -1.0L);
}

TEST_F(ToolWindowsTest, TheIntegralWindowsChoices)
{
    SetFunctionFormula(1, QStringLiteral("x^2"));
    SetFunctionFormula(2, QStringLiteral("x"));
    SetLimitTexts(QStringLiteral("0"), QStringLiteral("1"));
    ClickIntegralButton();
    TFormIvalue* w = Integral();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("0.33333333333333"));
    EXPECT_EQ(w->Rows[2].Edit->text(), QStringLiteral("0.50000000000000"));
    EXPECT_TRUE(w->Rows[1].Show->isChecked()) << "function 1 is shaded at the start";
    EXPECT_TRUE(w->Rows[0].Diff->isChecked());
    EXPECT_FALSE(w->Rows[0].Show->isEnabled());
    EXPECT_TRUE(w->Rows[0].Edit->isHidden());
    EXPECT_TRUE(w->Rows[5].Edit->y() < 0) << "no function 5: out of sight";
    EXPECT_EQ(w->Rows[2].Label->text(), QStringLiteral(" y2"));

    // The shaded area: darker than the background under y = x² at x = 0.5.
    const int column = PixelOfX(0.5L);
    const int inside = GraphScale.YAxis.ValueToPixel(0.1L);
    EXPECT_NE(GraphPixel(column, inside), ToQColor(Options.GraphBGColor).rgb());

    const int undoSteps = BackUp.Count();
    Click(w->Rows[2].Diff);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.IntegralInterval.Efuncno, 2);
    EXPECT_EQ(w->Rows[2].Edit->text(), QStringLiteral("0.00000000000000"));
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("-0.16666666666667"));
    Click(w->Btnarea2);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.IntegralInterval.AreaQ, 1);
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("0.16666666666667"));
    Click(w->Rows[2].Show);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.IntegralInterval.Dfuncno, 2);
    EXPECT_EQ(ProgramState.Modified, 1);
    EXPECT_EQ(BackUp.Count(), undoSteps) << "choices take no undo step";

    // A hidden function's row shows 0 and cannot be chosen.
    Click(Console().YfxRows[1].Button);
    ProcessEvents();
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("0"));
    EXPECT_FALSE(w->Rows[1].Show->isEnabled());
    EXPECT_FALSE(w->Rows[1].Edit->isEnabled());
    EXPECT_TRUE(w->Rows[2].Show->isEnabled());
}

TEST_F(ToolWindowsTest, PartitionsTypedIntoTheIntegralWindow)
{
    ClickIntegralButton();
    TFormIvalue* w = Integral();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Edit10->text(), QStringLiteral("10"));
    struct Case {
        const char* typed;
        const char* shown;
        int sliceNo;
        bool message;
    };
    const Case cases[] = {
        {"0", "10", 10, true},   {"201", "10", 10, true}, {"-3", "10", 10, true},
        {"abc", "abc", 10, false}, {"1", "1", 1, false},  {"200", "200", 200, false},
        {"2", "2", 2, false},
    };
    for (const Case& c : cases) {
        messages.clear();
        w->Edit10->setText(QString::fromUtf8(c.typed));
        QTest::keyClick(w->Edit10, Qt::Key_Return);
        ProcessEvents();
        EXPECT_EQ(w->Edit10->text(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(DocumentTables.IntegralInterval.sliceNo, c.sliceNo) << c.typed;
        ASSERT_EQ(messages.messages().size(), c.message ? 1u : 0u) << c.typed;
        if (c.message) {
            EXPECT_EQ(messages.last().kind, MsgWarning);
        }
        DocumentTables.IntegralInterval.sliceNo = 10;
        w->ShowChoices();
    }
}

TEST_F(ToolWindowsTest, TheLimitsAreEditedToggledAndDragged)
{
    SetFunctionFormula(1, QStringLiteral("1"));
    ClickIntegralButton();
    TFormIvalue* w = Integral();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("2.00000000000000"));
    QueueCalculatorSend(modal, QStringLiteral("3"));
    Click(w->SImage);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.IntegralInterval.Upper.Text, QStringLiteral("3"));
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("4.00000000000000"));
    EXPECT_EQ(HintOf(w->SImage), QStringLiteral("3"));
    EXPECT_EQ(HintOf(w->EImage), QStringLiteral("-1"));

    // The lower limit dragged to -2 on the graph.
    const int undoSteps = BackUp.Count();
    DragOnGraph(PixelOfX(-1.0L), PixelOfX(-2.0L));
    EXPECT_EQ(DocumentTables.IntegralInterval.LowerValue.X, GraphScale.XAxis.PixelToValue(PixelOfX(-2.0L)));
    EXPECT_EQ(BackUp.Count(), undoSteps + 1);

    // Its marker off: the line cannot be grabbed.
    Click(w->SBExLower);
    ProcessEvents();
    EXPECT_TRUE(w->SBExLower->isChecked());
    EXPECT_EQ(DocumentTables.IntegralInterval.Lower.Marker, 0);
    const long double lower = DocumentTables.IntegralInterval.LowerValue.X;
    DragOnGraph(PixelOfX(lower), PixelOfX(0.0L));
    EXPECT_EQ(DocumentTables.IntegralInterval.LowerValue.X, lower);

    // Undo with the window open: it shows the document as it was.
    UndoFromTheMenu();
    ProcessEvents();
    EXPECT_EQ(DocumentTables.IntegralInterval.Lower.Text, QStringLiteral("-1"));
    EXPECT_FALSE(w->SBExLower->isChecked());
    EXPECT_EQ(w->Rows[1].Edit->text(), QStringLiteral("4.00000000000000"));
    // New: the defaults.
    ASSERT_TRUE(Init1Click());
    ProcessEvents();
    EXPECT_EQ(w->Edit10->text(), QStringLiteral("10"));
    EXPECT_TRUE(w->Rows[1].Edit->y() < 0);
}

TEST_F(ToolWindowsTest, Goldens)
{
    ProgramState.PresentationMode = 0;
    ApplyPresentationSizes(96);
    SetFunctionFormula(1, QStringLiteral("x^2"));
    SetFunctionFormula(2, QStringLiteral("sin(x)"));
    SetFunctionFormula(4, QStringLiteral("2"));
    ClickValueButton();
    ASSERT_NE(Table(), nullptr);
    QueueCalculatorSend(modal, QStringLiteral("0.5"));
    Click(Table()->xImage);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(Table()->grab().toImage(), QStringLiteral("windows/tool-value-table.png"),
                                   {48, 0.02}));
    ClickIntegralButton();
    ASSERT_NE(Integral(), nullptr);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(Integral()->grab().toImage(), QStringLiteral("windows/tool-integral.png"),
                                   {48, 0.02}));
}

} // namespace
