#include "RecordingMouseSurface.h"
#include "StoreTestKit.h"

#include "session/MouseDrag.h"
#include "session/MouseWork.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"
#include "session/fakes/CountingMarkerLines.h"

#include "engine/Evaluator.h"
#include "model/History.h"
#include "model/ObjectNames.h"
#include "render/plot/CoordinateText.h"
#include "render/scene/Redraw.h"

#include <vector>

namespace {

// x −5..5 over 400 pixels, y −3.75..3.75 over 300: 40 pixels a unit.
class MouseWorkTest : public StoreTest {
protected:
    RecordingSurface surface;
    TGraphMouseWork mouse{surface};

    void SetUp() override
    {
        StoreTest::SetUp();
        InstallSceneRedrawer();
        Options.AreaRectify = 0;
        SetView(-5.0L, 5.0L, -3.75L, 3.75L);
    }
    static void SetView(long double x1, long double x2, long double y1, long double y2)
    {
        SetMouseTestView(x1, x2, y1, y2);
    }
    static void ExpectRange(long double x1, long double x2, long double y1, long double y2)
    {
        const TWorldRect r = GraphScale.Range();
        EXPECT_NEAR(static_cast<double>(r.Low.X), static_cast<double>(x1), 1e-9);
        EXPECT_NEAR(static_cast<double>(r.High.X), static_cast<double>(x2), 1e-9);
        EXPECT_NEAR(static_cast<double>(r.Low.Y), static_cast<double>(y1), 1e-9);
        EXPECT_NEAR(static_cast<double>(r.High.Y), static_cast<double>(y2), 1e-9);
    }
    // A press, moves in steps and the release, as the window forwards them.
    void Drag(QPoint from, QPoint to, int steps = 4, Qt::KeyboardModifiers mods = {},
              Qt::MouseButton button = Qt::LeftButton)
    {
        mouse.GImageMouseMove(mods, from);
        mouse.GImageMouseDown(button, mods, from);
        for (int i = 1; i <= steps; ++i)
            mouse.GImageMouseMove(mods, from + (to - from) * i / steps);
        mouse.GImageMouseUp(button, mods, to);
    }
    static void Place(int k, const QString& position, std::uint8_t kind = ObjectPoint)
    {
        TPointFunction p = PointAt(k, position, kind);
        p.Draggable = 1;
        SetPnt(k, p);
    }
    static QPoint PixelOf(long double x, long double y) { return GraphScale.WorldToPoint({x, y}); }
};

TEST(MouseWorkRules, ZoomRectangleKeepsTheGraphsProportionsUnlessShift)
{
    struct Case {
        QPoint down, mouse;
        bool shift, ctrl;
        TZoomDrag expected;
    };
    const Case cases[] = {
        {{100, 100}, {200, 130}, false, false, {{100, 100, 200, 175}, {200, 175}}},
        {{100, 100}, {200, 130}, true, false, {{100, 100, 200, 130}, {200, 130}}},
        // Upwards and to the left; 30 × 300 / 400 is 22 in integer division.
        {{100, 100}, {70, 10}, false, false, {{70, 78, 100, 100}, {70, 78}}},
        // Centred on the press.
        {{100, 100}, {150, 120}, true, true, {{50, 80, 150, 120}, {150, 120}}},
        {{100, 100}, {140, 90}, false, true, {{60, 70, 140, 130}, {140, 70}}},
        // No vertical direction: the rectangle has no height.
        {{100, 100}, {150, 100}, false, false, {{100, 100, 150, 100}, {150, 100}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZoomRectangle(c.down, c.mouse, 400, 300, c.shift, c.ctrl), c.expected)
            << c.mouse.x() << "," << c.mouse.y();
}

TEST_F(MouseWorkTest, ReleaseFormulasGiveTheNewRanges)
{
    struct Case {
        const char* what;
        TWorldRect range;
        TWorldRect expected;
    };
    const Case cases[] = {
        {"zoom in", ZoomInRange(GraphScale, {100, 75, 300, 225}), {{-2.5L, -1.875L}, {2.5L, 1.875L}}},
        {"zoom out", ZoomOutRange(GraphScale, {100, 75, 300, 225}), {{-10.0L, -7.5L}, {10.0L, 7.5L}}},
        {"zoom out off centre", ZoomOutRange(GraphScale, {0, 0, 200, 150}), {{-5.0L, -11.25L}, {15.0L, 3.75L}}},
        {"move right", MoveRange(GraphScale, {200, 150}, {300, 150}), {{-7.5L, -3.75L}, {2.5L, 3.75L}}},
        {"move down", MoveRange(GraphScale, {200, 150}, {200, 190}), {{-5.0L, -2.75L}, {5.0L, 4.75L}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.range, c.expected) << c.what;
}

TEST_F(MouseWorkTest, CoordinateTextsAndFormulaNumbers)
{
    ASSERT_EQ(GraphScale.XAxis.Decimals, 2);
    struct Case {
        long double value;
        const char* coord;
        const char* formula;
    };
    const Case cases[] = {
        {1.5L, " 1.50", "1.5"},
        {-1.5L, "-1.50", "-1.5"},
        {0.0L, " 0.00", "0"},
        {1234567890123.0L, " 1.23457E12", "1234567890123"},
        {0.00000001L, " 1E-8", "1*10^(-8)"},
        {-1.5E-10L, "-1.5E-10", "-1.5*10^(-10)"},
        {2.5E20L, " 2.5E20", "2.5*10^(20)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatCoordValue(GraphScale.XAxis, 0, c.value), QString::fromUtf8(c.coord));
        EXPECT_EQ(FormulaNumberText(c.value), QString::fromUtf8(c.formula));
        EXPECT_FALSE(FormulaCoordText(QString::fromUtf8(c.coord)).contains(u'E')) << c.coord;
    }
    EXPECT_EQ(FormatCoordValue(GraphScale.XAxis, 8, -1.5L), QStringLiteral("-1.50   "));
    EXPECT_EQ(CoordinateReadOut(GraphScale, {300, 90}), QStringLiteral(" ( 2.50, 1.50)"));
}

TEST(MouseWorkRules, PointMenuBreaksIntoTwoColumnsAboveSix)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {6, 0}, {7, 5}, {8, 5}, {9, 6}, {21, 12}};
    for (const auto& [count, start] : cases)
        EXPECT_EQ(PointMenuColumnBreak(count), start) << count;
}

TEST(MouseWorkRules, HintsByWhatIsDragged)
{
    EXPECT_EQ(MouseHintText(ObjectPolar, AreaPointer), QStringLiteral("Fixar no vértice com tecla Ctrl"));
    EXPECT_EQ(MouseHintText(ObjectPoint, AreaZoomIn), QStringLiteral("Fixar na grade com tecla Ctrl"));
    EXPECT_TRUE(MouseHintText(0, AreaZoomOut).startsWith(QStringLiteral("Liberar razão x-y com tecla Shift")));
    EXPECT_EQ(MouseHintText(0, AreaMove), QStringLiteral(" , "));
}

TEST_F(MouseWorkTest, AreaToolsZoomAndMoveTheView)
{
    mouse.SetAreaMode(AreaZoomIn);
    EXPECT_EQ(surface.Tools, std::vector<int>{AreaZoomIn});

    // 3 pixels across is no drag: the view and the tool stay.
    Drag({100, 100}, {103, 140});
    ExpectRange(-5, 5, -3.75L, 3.75L);
    EXPECT_EQ(mouse.AreaMode, AreaZoomIn);

    // Without Shift the pointer is sent where the proportions put it.
    mouse.GImageMouseMove({}, {100, 75});
    mouse.GImageMouseDown(Qt::LeftButton, {}, {100, 75});
    mouse.GImageMouseMove({}, {300, 130});
    ASSERT_FALSE(surface.Warps.empty());
    EXPECT_EQ(surface.Warps.back(), QPoint(300, 225));
    EXPECT_TRUE(IsMouseDragging());
    EXPECT_FALSE(surface.StickersEnabled);
    mouse.GImageMouseUp(Qt::LeftButton, {}, {300, 225});
    EXPECT_FALSE(IsMouseDragging());
    ExpectRange(-2.5L, 2.5L, -1.875L, 1.875L);

    // The middle button moves the view and gives the tool back.
    SetView(-5, 5, -3.75L, 3.75L);
    Drag({200, 150}, {300, 150}, 4, {}, Qt::MiddleButton);
    ExpectRange(-7.5L, 2.5L, -3.75L, 3.75L);
    EXPECT_EQ(mouse.AreaMode, AreaZoomIn);
    EXPECT_EQ(surface.Tools.size(), 1u);

    // A double click zooms in by 2 about the last pixel.
    SetView(-5, 5, -3.75L, 3.75L);
    mouse.CurX = 200, mouse.CurY = 150;
    mouse.GImageDblClick();
    ExpectRange(-2.5L, 2.5L, -1.875L, 1.875L);

    mouse.SetAreaMode(AreaZoomOut);
    SetView(-5, 5, -3.75L, 3.75L);
    Drag({100, 75}, {300, 225});
    ExpectRange(-10, 10, -7.5L, 7.5L);
    EXPECT_GE(surface.AreaShown, 1);
    EXPECT_EQ(surface.AreaPlaces.back(), (TPixelRect{100, 75, 300, 225}));
}

TEST_F(MouseWorkTest, LiveDragUndoesInOneStep)
{
    Options.DrawOnDrag = 1;
    Place(1, QStringLiteral("(1, 1)"));
    const int before = BackUp.Count();
    mouse.GImageMouseMove({}, PixelOf(1, 1));
    mouse.GImageMouseDown(Qt::LeftButton, {}, PixelOf(1, 1));
    EXPECT_FALSE(IsViewRecordingSuppressed());
    mouse.GImageMouseMove({}, PixelOf(1, 1) + QPoint(3, 3));
    EXPECT_TRUE(IsViewRecordingSuppressed());
    mouse.GImageMouseUp(Qt::LeftButton, {}, PixelOf(1, 1) + QPoint(3, 3));
    EXPECT_FALSE(IsViewRecordingSuppressed());
    Drag(PixelOf(1, 1) + QPoint(3, 3), PixelOf(3, -2), 20);
    EXPECT_EQ(BackUp.Count(), before + 2);
    const TValue p = EvaluatePoint(1, 0);
    EXPECT_NEAR(static_cast<double>(p.X), 3.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.Y), -2.0, 1e-9);
    Undo();
    const TValue back = EvaluatePoint(1, 0);
    EXPECT_EQ(PixelOf(back.X, back.Y), PixelOf(1, 1) + QPoint(3, 3));
    Undo();
    const TValue first = EvaluatePoint(1, 0);
    EXPECT_NEAR(static_cast<double>(first.X), 1.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(first.Y), 1.0, 1e-9);
}

TEST_F(MouseWorkTest, ATinyViewWritesNoExponentAndThePointLandsUnderTheMouse)
{
    SetView(-1E-9L, 1E-9L, -0.75E-9L, 0.75E-9L);
    Place(1, QStringLiteral("(0, 0)"));
    const QPoint to(310, 77);
    Drag(PixelOf(0, 0), to);
    const TPointFunction& p = DocumentTables.Points[1];
    EXPECT_FALSE(p.X.Text.contains(u'E')) << p.X.Text.toStdString();
    EXPECT_FALSE(p.Y.Text.contains(u'E')) << p.Y.Text.toStdString();
    const TValue v = EvaluatePoint(1, 0);
    EXPECT_EQ(PixelOf(v.X, v.Y), to);
}

TEST_F(MouseWorkTest, LinesMoveAcrossOnlyAndSnapWithCtrl)
{
    TPointFunction line = DefaultPoint;
    line.Kind = ObjectHorizontalLine;
    line.Draggable = 1;
    line.Y.Text = QStringLiteral("1");
    PrepareExpression(line.Y, 1);
    SetPnt(1, line);
    const QPoint from = PixelOf(0, 1);
    Drag(from, from + QPoint(57, 33));
    EXPECT_EQ(DocumentTables.Points[1].X.Text, QString());
    EXPECT_EQ(DocumentTables.Points[1].Y.Text, FormulaCoordText(FormatPixelCoord(from.y() + 33, GraphScale.YAxis, 0)));

    const QPoint again = PixelOf(0, EvaluatePoint(1, 2).X);
    Drag(again, again + QPoint(5, 18), 4, Qt::ControlModifier);
    EXPECT_EQ(DocumentTables.Points[1].Y.Text,
              FormulaNumberText(GraphScale.YAxis.PixelToGridValue(again.y() + 18)));
}

TEST_F(MouseWorkTest, TheDependentCoordinateIsEvaluatedOnACopy)
{
    // x follows y through the point's own formula.
    TPointFunction p = PointAt(1, QStringLiteral("(2*P.y, 1)"));
    p.Draggable = 1;
    SetPnt(1, p);
    const TPointFunction stored = DocumentTables.Points[1];
    const QPoint from = PixelOf(2, 1);
    // A second button cancels: nothing reaches the document.
    mouse.GImageMouseMove({}, from);
    mouse.GImageMouseDown(Qt::LeftButton, {}, from);
    mouse.GImageMouseMove({}, PixelOf(0, 0.5L));
    EXPECT_EQ(mouse.LastPointX, PixelOf(1, 0.5L).x());
    EXPECT_EQ(DocumentTables.Points[1].Y.Text, stored.Y.Text);
    mouse.GImageMouseDown(Qt::RightButton, {}, PixelOf(0, 0.5L));
    mouse.GImageMouseUp(Qt::LeftButton, {}, PixelOf(0, 0.5L));
    EXPECT_FALSE(IsMouseDragging());
    EXPECT_EQ(DocumentTables.Points[1].Y.Text, stored.Y.Text);
    EXPECT_EQ(DocumentTables.Points[1].X.Text, stored.X.Text);

    Drag(from, PixelOf(0, -1));
    EXPECT_EQ(DocumentTables.Points[1].X.Text, stored.X.Text);
    EXPECT_NEAR(static_cast<double>(EvaluatePoint(1, 1).X), -2.0, 1e-9);
}

TEST_F(MouseWorkTest, TheSegmentToolJoinsTwoPoints)
{
    Options.ShowProperty = 0;
    Place(1, QStringLiteral("(1, 1)"));
    Place(2, QStringLiteral("(-2, 1)"));
    mouse.SetAreaMode(AreaSegment);
    Drag(PixelOf(1, 1), PixelOf(1, 1) + QPoint(1, 1));
    EXPECT_EQ(Segments.Count(), 0);
    Drag(PixelOf(1, 1), PixelOf(-2, 1));
    ASSERT_EQ(Segments.Count(), 1);
    EXPECT_EQ(Segments.GetItem(1).Kind, 1);
    // A press on empty graph starts nothing.
    Drag({20, 280}, PixelOf(-2, 1));
    EXPECT_EQ(Segments.Count(), 1);

    Options.ShowProperty = 1;
    Drag(PixelOf(-2, 1), PixelOf(1, 1));
    EXPECT_EQ(surface.Figures, std::vector<int>{2});
    EXPECT_EQ(mouse.AreaMode, AreaSegment);
}

TEST_F(MouseWorkTest, MarkerLinesAreDraggedThroughTheirWindows)
{
    CountingMarkerLines markers;
    ScopedMarkerLines useMarkers(markers);
    markers.X = 0.0L;
    markers.Upper = 2.0L;
    mouse.GImageMouseMove({}, {201, 150});
    EXPECT_EQ(mouse.DragKind, 2);
    EXPECT_EQ(surface.Cursor, TGraphCursor::Resize);
    Drag({201, 150}, {300, 100});
    ASSERT_EQ(markers.XSet.size(), 1u);
    EXPECT_EQ(markers.XSet[0], 2.5L);
    Drag({282, 150}, {320, 10});
    EXPECT_EQ(markers.UpperSet, std::vector<long double>{3.0L});
    EXPECT_TRUE(markers.LowerSet.empty());
}

TEST_F(MouseWorkTest, HoverNamesWhatIsUnderTheMouse)
{
    SetYfx(3, Equation(QStringLiteral("x")));
    SetYfx(7, Equation(QStringLiteral("x/2")));
    SetCfn(2, Equation(QStringLiteral("x^2+y^2-4"), ModeRelation));
    Place(1, QStringLiteral("(-3, 2)"));
    EXPECT_EQ(HitFunctionAt(GraphScale, PixelOf(1, 1)), 3);
    EXPECT_EQ(HitFunctionAt(GraphScale, PixelOf(0, 0)), 7);
    EXPECT_EQ(HitFunctionAt(GraphScale, PixelOf(1, -2)), 0);
    EXPECT_EQ(HitRelationAt(GraphScale, PixelOf(0, 2)), 2);
    EXPECT_EQ(HitRelationAt(GraphScale, PixelOf(0, 1)), 0);
    // The line y = 3, through a fit that reads the y under the mouse.
    SetCfn(4, Equation(QStringLiteral("cof(1,x·y)-3"), ModeRelation));
    EXPECT_EQ(HitRelationAt(GraphScale, PixelOf(-4, 3)), 4);
    EXPECT_EQ(HitRelationAt(GraphScale, PixelOf(-4, -3)), 0);

    surface.WantReadOut = true;
    mouse.GImageMouseMove({}, PixelOf(1, 1));
    EXPECT_EQ(surface.Target.Name, QStringLiteral("y3="));
    mouse.GImageMouseMove({}, PixelOf(0, -2));
    EXPECT_EQ(surface.Target.Name, QStringLiteral("C2:"));
    mouse.GImageMouseMove({}, PixelOf(-3, 2));
    EXPECT_EQ(surface.Target.Name, QStringLiteral("P:"));
    EXPECT_EQ(surface.Cursor, TGraphCursor::PickUp);
    EXPECT_EQ(surface.Position, QStringLiteral(" (-3.00, 2.00)"));
}

TEST_F(MouseWorkTest, PlacingAPointFillsAnEmptySlot)
{
    Place(1, QStringLiteral("(0, 0)"));
    const std::vector<int> empty = EmptyPointSlots();
    EXPECT_EQ(empty.size(), 20u); // O has no item and P is taken
    EXPECT_EQ(empty.front(), 2);
    ASSERT_TRUE(PlacePointAt(GraphScale, 3, {300, 90}));
    const TPointFunction& r = DocumentTables.Points[3];
    EXPECT_EQ(r.Kind, ObjectPoint);
    EXPECT_EQ(r.LabelPos, 3);
    EXPECT_EQ(r.Draggable, 1);
    EXPECT_EQ(r.X.Text, QStringLiteral("2.50"));
    EXPECT_EQ(r.Y.Text, QStringLiteral("1.50"));
    EXPECT_FALSE(PlacePointAt(GraphScale, 1, {300, 90}));
}

TEST_F(MouseWorkTest, ACircleEdgeDragsTheRadius)
{
    TPointFunction c = PointAt(2, QStringLiteral("(0, 0)"), ObjectCircle);
    c.Draggable = 1;
    c.R.Text = QStringLiteral("1");
    PrepareExpression(c.R, 2);
    SetPnt(2, c);
    mouse.GImageMouseMove({}, PixelOf(1, 0));
    EXPECT_EQ(mouse.DragCircle, 2);
    EXPECT_EQ(mouse.DragObject, 0);
    Drag(PixelOf(1, 0), PixelOf(0, 2));
    EXPECT_EQ(DocumentTables.Points[2].R.Text, QStringLiteral("2.00"));
    EXPECT_EQ(DocumentTables.Points[2].X.Text, QStringLiteral("0"));
    // On a tiny view the radius is written without an exponent.
    SetView(-1E-9L, 1E-9L, -0.75E-9L, 0.75E-9L);
    TPointFunction tiny = PointAt(2, QStringLiteral("(0, 0)"), ObjectCircle);
    tiny.Draggable = 1;
    tiny.R.Text = QStringLiteral("0.0000000005");
    PrepareExpression(tiny.R, 2);
    SetPnt(2, tiny);
    mouse.GImageMouseMove({}, PixelOf(0.5E-9L, 0));
    ASSERT_EQ(mouse.DragCircle, 2);
    Drag(PixelOf(0.5E-9L, 0), PixelOf(0.8E-9L, 0));
    EXPECT_FALSE(DocumentTables.Points[2].R.Text.contains(u'E'));
    EXPECT_NEAR(static_cast<double>(EvaluatePoint(2, 3).X), 0.8E-9, 0.01E-9);
}

} // namespace
