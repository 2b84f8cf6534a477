// Dragging the handle of a polar or parametric curve along the curve: the
// press grabs the handle, each move puts the curve's parameter at the curve
// point nearest the mouse, and the pointer follows the curve.
#include "RecordingMouseSurface.h"
#include "StoreTestKit.h"

#include "session/MouseDrag.h"
#include "session/StoreOperations.h"

#include "engine/Evaluator.h"
#include "model/ObjectNames.h"
#include "platform/fakes/FakeInputState.h"
#include "render/plot/Loci.h"
#include "render/scene/HitTests.h"
#include "render/scene/Redraw.h"

#include <cmath>
#include <vector>

namespace {

struct TCurveCase {
    const char* Title;
    std::uint8_t Kind;
    const char* Position; // «(x, y)»; for a polar curve in the radius r
    const char* Radius;
    char16_t Param;
    long double From, To; // the parameter's value before the drag and where the mouse goes
};

// x −5..5 over 400 pixels, y −3.75..3.75 over 300: 40 pixels a unit.
class MouseWorkCurveTest : public StoreTest {
protected:
    RecordingSurface surface;
    TGraphMouseWork mouse{surface};
    platform::FakeInputState keys;
    platform::ScopedInputState useKeys{keys};

    void SetUp() override
    {
        StoreTest::SetUp();
        InstallSceneRedrawer();
        GraphScale.XAxis.VHigh = 400;
        GraphScale.YAxis.VHigh = 300;
        for (TBitmap& image : GraphScale.GraphImages)
            image.SetSize(401, 301);
        ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -3.75L}, {5.0L, 3.75L}}));
    }

    // Curve 1 over 0..2π in steps of 0.05, its parameter at from.
    static void PlaceCurve(const TCurveCase& c)
    {
        TPointFunction p = PointAt(1, QString::fromUtf8(c.Position), c.Kind);
        p.R.Text = QString::fromUtf8(c.Radius);
        if (!p.R.Text.isEmpty())
            PrepareExpression(p.R, 1);
        p.ParamChar = c.Param;
        p.Low.Text = QStringLiteral("0");
        p.High.Text = QStringLiteral("2Pi");
        PrepareExpression(p.Low, ModePlain);
        PrepareExpression(p.High, ModePlain);
        p.ParamStep = 0.05L;
        p.Draggable = 1;
        SetPrmValue(Slot(c), c.From);
        SetPnt(1, p);
    }
    static int Slot(const TCurveCase& c) { return PrmIndex(QStringView(&c.Param, 1)); }
    // The pixel of the curve's point at the parameter's value.
    static QPoint CurvePixel(const TCurveCase& c, long double value)
    {
        long double& v = DocumentTables.Params[Slot(c)].Value;
        const long double saved = v;
        v = value;
        const TValue at = EvaluatePoint(1, 0);
        v = saved;
        return GraphScale.WorldToPoint({at.X, at.Y});
    }
    // What DragCurveParameter makes of the mouse pixel with the keys held now.
    static long double ParameterFor(QPoint mouse)
    {
        const std::optional<TCurveDrag> drag = DragCurveParameter(GraphScale, 1, mouse, platform::IsCtrlDown());
        return drag ? drag->Value : std::nan("");
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
    {
        keys.setKeyDown(platform::VkControl, mods.testFlag(Qt::ControlModifier));
        keys.setKeyDown(platform::VkShift, mods.testFlag(Qt::ShiftModifier));
        mouse.GImageMouseMove(mods, from);
        mouse.GImageMouseDown(Qt::LeftButton, mods, from);
        for (int i = 1; i <= 4; ++i)
            mouse.GImageMouseMove(mods, from + (to - from) * i / 4);
        mouse.GImageMouseUp(Qt::LeftButton, mods, to);
    }
};

const TCurveCase Curves[] = {
    {"parametric circle", ObjectParametric, "(2cos(t), 2sin(t))", "", u't', 1.0L, 2.0L},
    {"polar limaçon", ObjectPolar, "(r cos@, r sin@)", "2+cos(@)", u'@', 0.5L, 4.0L},
};

TEST_F(MouseWorkCurveTest, TheHandleIsGrabbedAndDraggedAlongTheCurve)
{
    for (const TCurveCase& c : Curves) {
        SCOPED_TRACE(c.Title);
        PlaceCurve(c);
        ASSERT_GT(Locuses.Items[1].Count, 100);
        const QPoint from = CurvePixel(c, c.From), to = CurvePixel(c, c.To);
        mouse.GImageMouseMove({}, from + QPoint(2, -2));
        EXPECT_EQ(mouse.DragObject, 1);
        EXPECT_EQ(mouse.DragKind, 1);
        EXPECT_EQ(surface.Cursor, TGraphCursor::PickUp);

        surface.Warps.clear();
        Drag(from, to);
        const long double t = DocumentTables.Params[Slot(c)].Value;
        EXPECT_EQ(t, ParameterFor(to));
        EXPECT_NEAR(static_cast<double>(t), static_cast<double>(c.To), 0.03);
        // The pointer follows the curve, the handle stands where the
        // parameter puts it, and the curve's formulas are left alone.
        ASSERT_FALSE(surface.Warps.empty());
        EXPECT_EQ(surface.Warps.back(), CurvePixel(c, t));
        EXPECT_EQ(GraphScale.WorldToPoint({GraphScale.PointStates[1].X, GraphScale.PointStates[1].Y}),
                  CurvePixel(c, t));
        EXPECT_EQ(DocumentTables.Points[1].Pos.Text, QString::fromUtf8(c.Position));
        EXPECT_FALSE(IsMouseDragging());
    }
}

TEST_F(MouseWorkCurveTest, ShiftKeepsThePointerAndCtrlJumpsFromSampleToSample)
{
    const TCurveCase& c = Curves[0];
    PlaceCurve(c);
    const QPoint to = CurvePixel(c, 2.0L) + QPoint(3, 1);
    surface.Warps.clear();
    Drag(CurvePixel(c, c.From), to, Qt::ShiftModifier);
    EXPECT_TRUE(surface.Warps.empty());
    EXPECT_NEAR(static_cast<double>(DocumentTables.Params[Slot(c)].Value), 2.0, 0.1);

    const QPoint back = CurvePixel(c, 1.23L);
    Drag(CurvePixel(c, DocumentTables.Params[Slot(c)].Value), back, Qt::ControlModifier);
    const long double t = DocumentTables.Params[Slot(c)].Value;
    EXPECT_EQ(t, ParameterFor(back));
    const Tlocus& locus = Locuses.Items[1];
    bool onSample = false;
    for (int i = 0; i < locus.Count; ++i)
        onSample = onSample || locus.Items[i].T == t;
    EXPECT_TRUE(onSample) << static_cast<double>(t);
    EXPECT_NEAR(static_cast<double>(t), 1.23, 0.05);
}

TEST_F(MouseWorkCurveTest, ACurveThatMayNotBeDraggedIsNotGrabbed)
{
    const TCurveCase& c = Curves[0];
    PlaceCurve(c);
    TPointFunction p = DocumentTables.Points[1];
    p.Draggable = 0;
    SetPnt(1, p);
    const QPoint from = CurvePixel(c, c.From);
    mouse.GImageMouseMove({}, from);
    EXPECT_EQ(mouse.DragObject, 0);
    EXPECT_EQ(surface.Cursor, TGraphCursor::Cross);
    Drag(from, CurvePixel(c, 2.0L));
    EXPECT_EQ(DocumentTables.Params[Slot(c)].Value, c.From);
}

} // namespace
