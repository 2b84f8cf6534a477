// The mouse on the graph window: area tools, dragging, the read-out and the
// graph's popup menu, driven with QTest on the graph picture.
#include "WindowTestKit.h"

#include "tests/render/GoldenFiles.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "model/History.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "render/view/Scale.h"
#include "session/MouseDrag.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"
#include "windows/GraphMouse.h"

#include <QApplication>
#include <QGridLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QWidgetAction>

namespace {

constexpr TImageTolerance TextTolerance{48, 0.02};

class GraphMouseTest : public WindowTest {
protected:
    void SetUp() override
    {
        StartProgram();
        Options.AreaRectify = 0;
        Options.ShowProperty = 0;
        ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -4.0L}, {5.0L, 4.0L}}));
        ProcessEvents();
    }
    QWidget* G() { return Graph().GImage; }
    static QPoint PixelOf(long double x, long double y) { return GraphScale.WorldToPoint({x, y}); }

    // A move with the buttons held and the modifiers, as the window system
    // sends it (QTest's own moves carry no modifiers).
    void Move(QPoint pos, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(G()->mapToGlobal(pos)), Qt::NoButton, buttons,
                      modifiers);
        QApplication::sendEvent(G(), &e);
    }
    void DragWith(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {},
                  Qt::MouseButton button = Qt::LeftButton, int steps = 4)
    {
        Move(from, modifiers, Qt::NoButton);
        QTest::mousePress(G(), button, modifiers, from);
        for (int i = 1; i <= steps; ++i)
            Move(from + (to - from) * i / steps, modifiers, button);
        QTest::mouseRelease(G(), button, modifiers, to);
    }
    static void Place(int k, const QString& position, std::uint8_t kind = ObjectPoint)
    {
        StoreDraggablePoint(k, position, kind);
    }
    static void AddFunction(int n, const QString& text)
    {
        TEquationFunction f = DefaultEquation;
        f.Func.Text = text;
        PrepareExpression(f.Func, ModeFunction);
        SetYfx(n, f);
    }
    static TWorldRect Range() { return GraphScale.Range(); }
};

TEST_F(GraphMouseTest, AreaButtonsSelectTheToolAndTheMiddleButtonMovesTheView)
{
    Click(Graph().sbtnzoom);
    EXPECT_EQ(AreaMode(), AreaZoomIn);
    EXPECT_TRUE(Graph().sbtnzoom->isChecked());
    Click(Graph().sbtnmove);
    EXPECT_EQ(AreaMode(), AreaMove);
    EXPECT_FALSE(Graph().sbtnzoom->isChecked());
    Click(Graph().sbtnmove);
    EXPECT_EQ(AreaMode(), AreaPointer);
    SetAreaMode(AreaZoomOut);
    EXPECT_TRUE(Graph().sbtnwide->isChecked());
    SetAreaMode(AreaSegment);
    EXPECT_FALSE(Graph().sbtnwide->isChecked());

    SetAreaMode(AreaZoomIn);
    const TWorldRect before = Range();
    const QPoint from = PixelOf(0, 0);
    DragWith(from, PixelOf(1, 0), {}, Qt::MiddleButton);
    EXPECT_NEAR(static_cast<double>(Range().Low.X), static_cast<double>(before.Low.X) - 1.0, 1e-9);
    EXPECT_EQ(AreaMode(), AreaZoomIn);
    EXPECT_TRUE(Graph().sbtnzoom->isChecked());
    EXPECT_FALSE(IsGraphMouseDragging());
}

TEST_F(GraphMouseTest, TheZoomRectangleKeepsTheProportionsUnlessShift)
{
    SetAreaMode(AreaZoomIn);
    const int w = GraphScale.XAxis.VHigh, h = GraphScale.YAxis.VHigh;
    const QPoint down(100, 100);
    const long double left = GraphScale.XAxis.PixelToValue(100);
    const int views = BackUpArea.Count();
    Move(down, {}, Qt::NoButton);
    QTest::mousePress(G(), Qt::LeftButton, {}, down);
    EXPECT_TRUE(IsMouseDragging());
    // Only a live object drag keeps the view history from recording.
    EXPECT_FALSE(IsGraphMouseDragging());
    Move({200, 130});
    ASSERT_FALSE(pointer.warps().empty());
    const QPoint expected(200, 100 + 100 * h / w);
    EXPECT_EQ(pointer.warps().back(), G()->mapToGlobal(expected));
    QTest::mouseRelease(G(), Qt::LeftButton, {}, expected);
    EXPECT_NEAR(static_cast<double>(Range().Low.X), static_cast<double>(left), 1e-9);
    // The view before the zoom is kept for going back.
    EXPECT_EQ(BackUpArea.Count(), views + 1);

    const std::size_t warps = pointer.warps().size();
    DragWith({100, 100}, {200, 130}, Qt::ShiftModifier);
    EXPECT_EQ(pointer.warps().size(), warps);

    // Three pixels are no rectangle: the view stays, and so does the tool.
    const TWorldRect kept = Range();
    DragWith({100, 100}, {103, 140});
    EXPECT_EQ(Range(), kept);
    EXPECT_EQ(AreaMode(), AreaZoomIn);
}

TEST_F(GraphMouseTest, ALiveDragOfAPointUndoesInOneStep)
{
    Options.DrawOnDrag = 1;
    Place(1, QStringLiteral("(1, 1)"));
    const int steps = BackUp.Count();
    const QPoint from = PixelOf(1, 1);
    Move(from, {}, Qt::NoButton);
    EXPECT_NE(G()->cursor().shape(), Qt::CrossCursor);
    DragWith(from, PixelOf(3, -2), {}, Qt::LeftButton, 20);
    EXPECT_EQ(BackUp.Count(), steps + 1);
    const TValue moved = EvaluatePoint(1, 0);
    EXPECT_NEAR(static_cast<double>(moved.X), 3.0, 0.05);
    EXPECT_NEAR(static_cast<double>(moved.Y), -2.0, 0.05);
    EXPECT_TRUE(Graph().SBarPanel0->text().startsWith(QStringLiteral(" (")));
    Undo();
    EXPECT_NEAR(static_cast<double>(EvaluatePoint(1, 1).X), 1.0, 1e-9);
}

TEST_F(GraphMouseTest, CtrlSnapsADraggedPointToTheGrid)
{
    Place(1, QStringLiteral("(0.3, 0.7)"));
    const QPoint from = PixelOf(0.3L, 0.7L);
    const QPoint to = from + QPoint(43, 37);
    DragWith(from, to, Qt::ControlModifier);
    EXPECT_EQ(EvaluatePoint(1, 1).X, GraphScale.XAxis.PixelToGridValue(to.x()));
    EXPECT_EQ(EvaluatePoint(1, 2).X, GraphScale.YAxis.PixelToGridValue(to.y()));
    EXPECT_EQ(Graph().SBarPanel1->text(), QStringLiteral("Fixar na grade com tecla Ctrl"));
}

// The graph's popup menu opened at a pixel.
void OpenGraphMenu(TGraphAreaForm& graph, QPoint pixel)
{
    graph.LastMousePixel = pixel;
    Q_EMIT graph.PopupMenuGraph->aboutToShow();
}

TEST_F(GraphMouseTest, ThePointMenuListsEmptySlotsInTwoColumns)
{
    // 14 of the 21 slots with an item taken: 7 letters listed.
    for (int k = 1; k <= 14; ++k)
        Place(k, QStringLiteral("(%1, 0)").arg(k % 5));
    OpenGraphMenu(Graph(), {120, 80});
    QWidget* grid = Graph().MnGetPoint->findChild<QWidget*>(QStringLiteral("PointGrid"));
    ASSERT_NE(grid, nullptr);
    auto* layout = static_cast<QGridLayout*>(grid->layout());
    EXPECT_EQ(layout->count(), 7);
    EXPECT_EQ(layout->columnCount(), 2);
    // The fifth letter starts the second column.
    const QString fifth = QString(PointLetter(19)) + u'1';
    QToolButton* item = grid->findChild<QToolButton*>(fifth);
    ASSERT_NE(item, nullptr);
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    layout->getItemPosition(layout->indexOf(item), &row, &column, &rowSpan, &columnSpan);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(column, 1);

    item->click();
    const TPointFunction& p = DocumentTables.Points[19];
    EXPECT_EQ(p.Kind, ObjectPoint);
    EXPECT_EQ(p.LabelPos, 3);
    EXPECT_EQ(p.Draggable, 1);
    EXPECT_EQ(GraphScale.WorldToPoint({EvaluatePoint(19, 1).X, EvaluatePoint(19, 2).X}), QPoint(120, 80));

    for (int k = 15; k < PointCount; ++k)
        if (DocumentTables.Points[k].Kind == ObjectEmpty)
            Place(k, QStringLiteral("(0, 1)"));
    OpenGraphMenu(Graph(), {120, 80});
    EXPECT_FALSE(Graph().MnGetPoint->menuAction()->isEnabled());
}

TEST_F(GraphMouseTest, PropertyItemsShowForWhatIsUnderTheMouse)
{
    AddFunction(2, QStringLiteral("x"));
    Place(1, QStringLiteral("(-3, 2)"));
    OpenGraphMenu(Graph(), PixelOf(1, 1));
    EXPECT_TRUE(Graph().MnYfxProperty->isVisible());
    EXPECT_FALSE(Graph().MnPntProperty->isVisible());
    EXPECT_FALSE(Graph().MnCfnProperty->isVisible());
    OpenGraphMenu(Graph(), PixelOf(-3, 2));
    EXPECT_TRUE(Graph().MnPntProperty->isVisible());
    EXPECT_FALSE(Graph().MnYfxProperty->isVisible());
}

TEST_F(GraphMouseTest, TheZoomMenuZoomsAboutTheLastPixel)
{
    OpenGraphMenu(Graph(), PixelOf(1, 1));
    QAction* x21 = Graph().MnZoom->findChild<QAction*>(QStringLiteral("x21"));
    ASSERT_NE(x21, nullptr);
    const TWorldPoint centre{GraphScale.XAxis.PixelToValue(PixelOf(1, 1).x()),
                             GraphScale.YAxis.PixelToValue(PixelOf(1, 1).y())};
    x21->trigger();
    EXPECT_NEAR(static_cast<double>(Range().Low.X), static_cast<double>((-5.0L - centre.X) / 2 + centre.X), 1e-9);
    EXPECT_NEAR(static_cast<double>(Range().High.Y), static_cast<double>((4.0L - centre.Y) / 2 + centre.Y), 1e-9);
}

TEST_F(GraphMouseTest, GoldenZoomFeedback)
{
    SetAreaMode(AreaZoomIn);
    Move({100, 80}, {}, Qt::NoButton);
    QTest::mousePress(G(), Qt::LeftButton, {}, {100, 80});
    Move({220, 200}, Qt::ShiftModifier);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(G()->grab().toImage(), QStringLiteral("windows/mouse-zoom-in.png"), TextTolerance));
    QTest::mouseRelease(G(), Qt::LeftButton, Qt::ShiftModifier, {220, 200});

    ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -4.0L}, {5.0L, 4.0L}}));
    SetAreaMode(AreaZoomOut);
    Move({100, 80}, {}, Qt::NoButton);
    QTest::mousePress(G(), Qt::LeftButton, {}, {100, 80});
    Move({220, 200}, Qt::ShiftModifier);
    ProcessEvents();
    EXPECT_TRUE(Graph().MImage->isVisible());
    EXPECT_TRUE(MatchesImageGolden(Graph().PanelGraph->grab().toImage(), QStringLiteral("windows/mouse-zoom-out.png"),
                                   TextTolerance));
    QTest::mouseRelease(G(), Qt::LeftButton, Qt::ShiftModifier, {220, 200});
    EXPECT_FALSE(Graph().MImage->isVisible());
}

TEST_F(GraphMouseTest, GoldenReadOutOverAFunction)
{
    AddFunction(4, QStringLiteral("x^2/2-1"));
    Graph().sbShowPosition->setChecked(true);
    Graph().sbShowEquation->setChecked(true);
    Move(PixelOf(1, -0.5L), {}, Qt::NoButton);
    ProcessEvents();
    EXPECT_TRUE(Graph().CoImage->isVisible());
    EXPECT_FALSE(Graph().labelCoodinates->isVisible()); // the cross: no position label
    EXPECT_TRUE(MatchesImageGolden(Graph().PanelGraph->grab().toImage(), QStringLiteral("windows/mouse-readout.png"),
                                   TextTolerance));
}

// As a new user would: on the sample project, place a point from the
// popup menu, drag it, read its coordinates, zoom in and out again.
class GraphMouseSampleTest : public GraphMouseTest {
protected:
    void SetUp() override { StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")}); }
};

TEST_F(GraphMouseSampleTest, PlaceDragReadAndZoom)
{
    ASSERT_TRUE(messages.empty());
    const TWorldRect start = Range();
    OpenGraphMenu(Graph(), {60, 60});
    QToolButton* p1 = Graph().MnGetPoint->findChild<QToolButton*>(QStringLiteral("P1"));
    ASSERT_NE(p1, nullptr);
    Options.ShowProperty = 0;
    p1->click();
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);

    DragWith({60, 60}, {140, 90});
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), QPoint(140, 90));

    Graph().sbShowPosition->setChecked(true);
    Graph().sbShowEquation->setChecked(true);
    Move({140, 90}, {}, Qt::NoButton);
    EXPECT_TRUE(Graph().labelCoodinates->isVisible());
    EXPECT_EQ(Graph().labelCoodinates->text(), Graph().SBarPanel0->text().mid(1));
    EXPECT_TRUE(Graph().CoImage->isVisible());

    Click(Graph().sbtnzoom);
    DragWith({100, 100}, {300, 250}, Qt::ShiftModifier);
    EXPECT_LT(Range().Width(), start.Width());
    Click(Graph().sbtnwide);
    const QPoint centre(GraphScale.XAxis.VHigh / 2, GraphScale.YAxis.VHigh / 2);
    Move(centre, {}, Qt::NoButton);
    const long double zoomed = Range().Width();
    QTest::mouseDClick(G(), Qt::LeftButton, {}, centre);
    // The sample fits its ranges to whole tick steps.
    EXPECT_NEAR(static_cast<double>(Range().Width() / zoomed), 2.0, 0.05);
    EXPECT_EQ(AreaMode(), AreaZoomOut);
    EXPECT_TRUE(messages.empty());
}

} // namespace
