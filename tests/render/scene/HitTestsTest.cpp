// What the mouse is over, how objects may be dragged, and where a curve's
// parameter goes while it is dragged; on −5..5 × −5..5 over 400 × 400.
#include "SceneTestKit.h"
#include "model/Colors.h"
#include "model/ObjectNames.h"
#include "platform/fakes/FakeInputState.h"
#include "render/plot/Loci.h"
#include "render/scene/HitTests.h"
#include "render/scene/PointStates.h"

#include <cmath>
#include <utility>

namespace {

class HitTestsTest : public SceneTest {
protected:
    platform::FakeInputState keys;
    platform::ScopedInputState useKeys{keys};

    // An object with the given kind and formulas; the states are rebuilt.
    void SetObject(int k, std::uint8_t kind, const char* x, const char* y, const char* r = "", bool draggable = true)
    {
        TPointFunction& p = DocumentTables.Points[k];
        p.Kind = kind;
        SetFormula(k, p.Pos, (std::string("(") + x + "," + y + ")").c_str());
        SetFormula(k, p.X, x);
        SetFormula(k, p.Y, y);
        SetFormula(k, p.R, r);
        p.Draggable = draggable ? 1 : 0;
        BuildPointStates(view.PointStates);
    }
    // A parametric curve over the parameter t with the given samples.
    static void SetCurve(int k, std::initializer_list<TLocusPoint> samples, std::uint8_t kind = ObjectParametric)
    {
        TPointFunction& p = DocumentTables.Points[k];
        p.Kind = kind;
        p.Draggable = 1;
        p.ParamChar = u't';
        Tlocus& locus = Locuses.Items[k];
        locus.Clear();
        for (const TLocusPoint& s : samples)
            AddLocusPoint(locus, s.Defined ? ValueReal(s.X) : ValueUndefined(KindReal), ValueReal(s.Y), s.T);
    }
    static TLocusPoint Sample(long double x, long double y, long double t) { return {x, y, t, 1}; }
    static TLocusPoint Gap(long double t) { return {0.0L, 0.0L, t, 0}; }
};

TEST_F(HitTestsTest, TwoPointsOnOnePixelAnswerByTheirOrder)
{
    SetObject(1, ObjectPoint, "1", "1");
    SetObject(2, ObjectPoint, "1", "1");
    // (1, 1) is at pixel (240, 160); the square reaches 4 pixels each way.
    EXPECT_EQ(HitDraggablePoint(view, {240, 160}), 1);
    EXPECT_EQ(HitObjectAt(view, {244, 156}, false), (TObjectHit{2, {1.0L, 1.0L}}));
    EXPECT_EQ(HitDraggablePoint(view, {245, 160}), 0);
    EXPECT_EQ(HitObjectAt(view, {240, 165}, false).Object, 0);

    // A point that may not be dragged counts only when any will do; below
    // it the draggable one is found.
    DocumentTables.Points[2].Draggable = 0;
    EXPECT_EQ(HitObjectAt(view, {240, 160}, false).Object, 1);
    EXPECT_EQ(HitObjectAt(view, {240, 160}, true).Object, 2);
    // Hidden objects are never hit.
    DocumentTables.Points[1].Shown = 0;
    EXPECT_EQ(HitDraggablePoint(view, {240, 160}), 2);
    EXPECT_EQ(HitObjectAt(view, {240, 160}, false).Object, 0);
}

TEST_F(HitTestsTest, LinesAndAxesAreHitAcrossTheirLength)
{
    SetObject(3, ObjectHorizontalLine, "", "2a"); // y = 2, but no constant: no drag
    SetObject(4, ObjectVerticalLine, "-1", "");
    struct Case {
        QPoint Mouse;
        bool Any;
        int Object;
    };
    const Case cases[] = {
        {{10, 124}, true, 3},  // y = 2 is row 120: 4 pixels off, anywhere along it
        {{10, 120}, false, 0}, // on it, but it may not be dragged
        {{164, 390}, false, 4},   // x = −1 is column 160
        {{165, 390}, false, 0},
        {{300, 203}, true, AxisXObject}, // 3 pixels from the x axis, nothing near
        {{300, 203}, false, 0},
        {{197, 300}, true, AxisYObject},
        {{300, 300}, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitObjectAt(view, c.Mouse, c.Any).Object, c.Object) << c.Mouse.x() << "," << c.Mouse.y();
    view.XAxis.AxesVisible = 0;
    EXPECT_EQ(HitObjectAt(view, {300, 203}, true).Object, 0);
    EXPECT_EQ(HitObjectAt(view, {203, 203}, true).Object, AxisYObject);
}

TEST_F(HitTestsTest, CurveHandlesAreHitWhereTheParameterPutsThem)
{
    // At t = 1 the handle of (t, t/2) is (1, 0.5): pixel (240, 180).
    SetObject(2, ObjectPoint, "1", "0.5");
    SetObject(6, ObjectParametric, "t", "t/2");
    SetObject(7, ObjectSequence, "t", "t/2");
    ASSERT_EQ(view.PointStates[6].Kind, ObjectPoint);
    EXPECT_EQ(view.PointStates[7].Kind, ObjectEmpty);
    EXPECT_EQ(HitObjectAt(view, {243, 183}, false), (TObjectHit{6, {1.0L, 0.5L}}));
    EXPECT_EQ(HitDraggablePoint(view, {243, 183}), 2);
    DocumentTables.Points[2].Shown = 0;
    EXPECT_EQ(HitDraggablePoint(view, {243, 183}), 6);
    // The handle moves with the parameter.
    DocumentTables.Params[PrmIndex(u"t")].Value = -2.0L;
    BuildPointStates(view.PointStates);
    EXPECT_EQ(HitObjectAt(view, {240, 180}, false).Object, 0);
    EXPECT_EQ(HitObjectAt(view, {120, 240}, false), (TObjectHit{6, {-2.0L, -1.0L}}));
    // A curve that may not be dragged counts only when any will do.
    DocumentTables.Points[6].Draggable = 0;
    EXPECT_EQ(HitObjectAt(view, {120, 240}, false).Object, 0);
    EXPECT_EQ(HitObjectAt(view, {120, 240}, true).Object, 6);
}

TEST_F(HitTestsTest, CircleEdgeLiesBetweenTheProbes)
{
    SetObject(5, ObjectCircle, "0", "0", "1");
    EXPECT_EQ(HitCircleEdge(view, {240, 200}), 5);
    EXPECT_EQ(HitCircleEdge(view, {200, 240}), 5);
    EXPECT_EQ(HitCircleEdge(view, {200, 200}), 0); // all probes inside
    EXPECT_EQ(HitCircleEdge(view, {300, 200}), 0); // all outside
    DocumentTables.Points[5].Shown = 0;
    EXPECT_EQ(HitCircleEdge(view, {240, 200}), 0);
}

TEST_F(HitTestsTest, DragWaysFollowTheConstantFormulas)
{
    SetObject(1, ObjectPoint, "1", "a");
    EXPECT_TRUE(CanDragPoint(DragAnyWay, 1));
    EXPECT_TRUE(CanDragPoint(DragInX, 1));
    EXPECT_FALSE(CanDragPoint(DragInY, 1));
    EXPECT_FALSE(CanDragPoint(DragInXAndY, 1));

    SetObject(2, ObjectCircle, "1", "-2", "3");
    SetCurve(3, {Sample(0, 0, 0)});
    SetObject(4, ObjectPoint, "1", "2", "", false);
    struct Case {
        int How;
        int K;
        bool Can;
    };
    const Case cases[] = {
        {DragInXAndY, 2, true}, {DragRadius, 2, true},     {DragAlongCurve, 2, false},
        {DragNoWay, 2, false},  {6, 2, false},             {DragAlongCurve, 3, true},
        {DragAnyWay, 3, true},  {DragAnyWay, 4, false},    {DragInX, 4, false},
        {DragAnyWay, 0, false}, {DragAnyWay, 23, false},   {DragAnyWay, AxisXObject, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanDragPoint(c.How, c.K), c.Can) << c.How << " " << c.K;
}

TEST_F(HitTestsTest, CurveSamplesAreHitTopmostFirst)
{
    SetCurve(2, {Sample(1, 0, 1), Gap(2), Sample(2, 0, 3)});
    SetCurve(7, {Sample(2, 0.05L, 0)}, ObjectSequence);
    EXPECT_EQ(HitCurveAt(view, {241, 203}), (TObjectHit{2, {1.0L, 0.0L}}));
    // Both have a sample near (2, 0): the higher number wins.
    EXPECT_EQ(HitCurveAt(view, {280, 200}).Object, 7);
    DocumentTables.Points[7].Shown = 0;
    EXPECT_EQ(HitCurveAt(view, {280, 200}), (TObjectHit{2, {2.0L, 0.0L}}));
    // The undefined sample (stored at 0, 0) has no place.
    EXPECT_EQ(HitCurveAt(view, {200, 200}).Object, 0);
    EXPECT_EQ(HitCurveAt(view, {260, 200}).Object, 0);
}

TEST_F(HitTestsTest, CurveParameterFollowsTheMouse)
{
    SetCurve(6, {Sample(0, 0, 0), Sample(1, 0, 1), Sample(2, 0, 2)});
    const int t = 10; // the parameter slot of t
    struct Case {
        const char* Title;
        QPoint Mouse;
        bool Ctrl;
        long double Value;
        QPoint Pointer;
    };
    const Case cases[] = {
        {"between two samples", {220, 200}, false, 0.5L, {220, 200}},
        {"off the curve, between", {220, 150}, false, 0.5L, {220, 200}},
        {"weighted by squared distances", {230, 200}, false, 0.9L, {236, 200}},
        {"with Ctrl, the nearer sample", {230, 200}, true, 1.0L, {240, 200}},
        {"beyond the first sample", {160, 200}, false, 0.0L, {200, 200}},
        {"beyond the last sample", {300, 200}, false, 2.0L, {280, 200}},
    };
    const long double before = DocumentTables.Params[t].Value;
    for (const Case& c : cases) {
        // The keys held are the caller's to read: they change nothing here.
        keys.setKeyDown(platform::VkControl, !c.Ctrl);
        keys.setKeyDown(platform::VkShift, true);
        const std::optional<TCurveDrag> drag = DragCurveParameter(view, 6, c.Mouse, c.Ctrl);
        ASSERT_TRUE(drag) << c.Title;
        EXPECT_EQ(drag->Param, t) << c.Title;
        EXPECT_NEAR(static_cast<double>(drag->Value), static_cast<double>(c.Value), 1e-15) << c.Title;
        EXPECT_EQ(drag->Pointer, c.Pointer) << c.Title;
    }
    EXPECT_EQ(DocumentTables.Params[t].Value, before) << "the caller stores the parameter";
}

TEST_F(HitTestsTest, CurveParameterIsNeverNaN)
{
    // Two samples on one point: the mouse on them weighs 0 against 0.
    SetCurve(6, {Sample(0, 0, 0), Sample(1, 1, 1), Sample(1, 1, 2), Sample(2, 2, 3)});
    for (bool ctrl : {false, true}) {
        const std::optional<TCurveDrag> drag = DragCurveParameter(view, 6, {240, 160}, ctrl);
        ASSERT_TRUE(drag);
        EXPECT_FALSE(std::isnan(drag->Value));
        EXPECT_EQ(drag->Value, ctrl ? 2.0L : 1.0L);
        EXPECT_EQ(drag->Pointer, QPoint(240, 160));
    }

    // A single defined sample: that sample; gaps are no neighbours.
    SetCurve(6, {Gap(0), Sample(1, 2, 5), Gap(7)});
    std::optional<TCurveDrag> drag = DragCurveParameter(view, 6, {100, 300}, false);
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->Value, 5.0L);
    EXPECT_EQ(drag->Pointer, QPoint(240, 120));

    // Nothing without a defined sample, nor for other kinds.
    SetCurve(6, {Gap(0), Gap(1)});
    EXPECT_FALSE(DragCurveParameter(view, 6, {200, 200}, false));
    SetObject(1, ObjectPoint, "1", "1");
    EXPECT_FALSE(DragCurveParameter(view, 1, {240, 160}, false));
    SetCurve(7, {Sample(0, 0, 0)}, ObjectSequence);
    EXPECT_FALSE(DragCurveParameter(view, 7, {200, 200}, false));
    EXPECT_FALSE(DragCurveParameter(view, 0, {200, 200}, false));
}

TEST_F(HitTestsTest, EmptyDocumentHitsNothing)
{
    for (const QPoint mouse : {QPoint(200, 200), QPoint(0, 0), QPoint(-50, 900), QPoint(-100000, 100000)}) {
        EXPECT_EQ(HitDraggablePoint(view, mouse), 0);
        EXPECT_EQ(HitCircleEdge(view, mouse), 0);
        EXPECT_EQ(HitObjectAt(view, mouse, false).Object, 0);
        EXPECT_EQ(HitCurveAt(view, mouse).Object, 0);
    }
}

TEST_F(HitTestsTest, DragGuidesMarkWhatAFigureWouldJoin)
{
    SetObject(1, ObjectPoint, "1", "1");
    SetObject(3, ObjectHorizontalLine, "", "2");
    SetObject(4, ObjectVerticalLine, "-1", "");
    TMetafile picture;
    {
        TCanvas canvas = MakeMetafileCanvas(picture);
        canvas.Pen.Color = 0x123456;
        canvas.Pen.Width = 2;
        canvas.Pen.Mode = TPenMode::Xor;
        for (int k : {AxisXObject, AxisYObject, 1, 3, 4, 2, 0})
            DrawDragGuides(view, canvas, k);
        EXPECT_EQ(canvas.Pen.Color, 0x123456u);
        EXPECT_EQ(canvas.Pen.Width, 2);
        EXPECT_EQ(canvas.Pen.Mode, TPenMode::Xor);
    }
    const std::vector<std::string> lines = Lines(picture);
    // Grey, 5 wide, in the pen mode the canvas had; the ring keeps the brush.
    const std::vector<std::string> expected = {
        "polyline pen(C0C0C0 5 solid xor) 0,200 400,200",
        "polyline pen(C0C0C0 5 solid xor) 200,0 200,400",
        "ellipse pen(C0C0C0 5 solid xor) brush(solid FFFFFF) 236 156 245 165",
        "polyline pen(C0C0C0 5 solid xor) 0,120 400,120",
        "polyline pen(C0C0C0 5 solid xor) 160,0 160,400",
    };
    EXPECT_EQ(lines, expected);
}

} // namespace
