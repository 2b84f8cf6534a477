#include "session/MouseDrag.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "platform/InputState.h"
#include "render/plot/ArrowsAndBraces.h"
#include "render/plot/CoordinateText.h"
#include "render/plot/Figures.h"
#include "session/FigureEdit.h"
#include "render/scene/HitTests.h"
#include "session/MarkerLines.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"

#include <cmath>
#include <cstdlib>
#include <utility>

TMarkerLines& CurrentMarkerLines()
{
    return platform::InstalledOr<TMarkerLines, NoMarkerLines>();
}

bool IsMouseDragging()
{
    return DragState.Dragging;
}

bool IsViewRecordingSuppressed()
{
    return DragChangeTaken();
}

namespace {

constexpr TColor FeedbackColor = 0xC0C0C0;
// A marker line is grabbed this close to it.
constexpr int MarkerTolerance = 2;

TCanvas& GraphCanvas()
{
    return GraphScale.GraphImages[0].Canvas();
}

void SelectXorPen(int width)
{
    TCanvas& c = GraphCanvas();
    c.Pen = TPen{FeedbackColor, width, TPenStyle::Solid, TPenMode::Xor};
    c.Brush = TBrush{TBrushStyle::Solid, FeedbackColor, {}};
}

void SelectCopyPen()
{
    TCanvas& c = GraphCanvas();
    c.Pen = TPen{};
    c.Brush = TBrush{};
}

void Line(TCanvas& c, int x1, int y1, int x2, int y2)
{
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

void Ring(TCanvas& c, QPoint p, int r)
{
    c.Ellipse(p.x() - r, p.y() - r, p.x() + r, p.y() + r);
}

bool IsMarkerDrag(int kind)
{
    return kind >= 2 && kind <= 4;
}

bool NearMarker(int x, std::optional<long double> value)
{
    return value && std::abs(x - GraphScale.XAxis.ValueToPixel(*value)) <= MarkerTolerance;
}

// Replaces a formula's text and compiles it for object k.
void SetFormulaText(TKavirofunction& f, const QString& text, int k)
{
    f.Text = text;
    PrepareExpression(f, k);
}

void JoinAndPrepare(TPointFunction& object, int k)
{
    JoinPointTexts(object, PointTextDirection::Join);
    PrepareExpression(object.Pos, k);
}

} // namespace

TGraphMouseWork::TGraphMouseWork(TMouseSurface& surface) : surface_(surface) {}

void TGraphMouseWork::SetAreaMode(int mode)
{
    if (mode == AreaMode)
        return;
    AreaMode = mode;
    SavedAreaMode = mode;
    if (mode >= AreaPointer && mode <= AreaSegment)
        surface_.ShowAreaTool(mode);
}

void TGraphMouseWork::sbtnzoomClick(int tool, bool down)
{
    SetAreaMode(down ? tool : AreaPointer);
}

void TGraphMouseWork::GImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    Moved = false;
    if (Dragging) {
        CancelDrag();
        return;
    }
    CtrlDown = modifiers.testFlag(Qt::ControlModifier);
    ShiftDown = modifiers.testFlag(Qt::ShiftModifier);
    DownX = CurX = pos.x();
    DownY = CurY = pos.y();
    if (button == Qt::RightButton) {
        DragKind = 0;
        return;
    }
    // What is under the press, even when no move came before it.
    PickUnderMouse(pos);
    if (button == Qt::MiddleButton) {
        AreaMode = AreaMove;
        DragKind = 0;
    }
    if (AreaMode == AreaSegment && DragObject <= 0 && HoverSegment <= 0)
        return;
    StartDrag();
}

void TGraphMouseWork::StartDrag()
{
    Dragging = true;
    DragState.Dragging = true;
    DragState.FirstChange = true;
    surface_.SetStickersEnabled(false);
    SelectXorPen(1);
    if (IsMarkerDrag(DragKind)) {
        CurrentMarkerLines().MarkerLineGrabbed(DragKind);
        DrawMarkerLine();
    } else if (DragKind == 1) {
        LastPointX = DownX;
        LastPointY = DownY;
        SelectXorPen(2);
        DrawDragFeedback();
    } else if (AreaMode == AreaZoomOut || AreaMode == AreaMove) {
        QImage copy = GraphScale.GraphImages[0].Image().copy();
        surface_.ShowAreaImage(copy);
        surface_.PlaceAreaImage({0, 0, copy.width(), copy.height()});
    }
    surface_.RepaintGraph();
}

void TGraphMouseWork::CancelDrag()
{
    DrawFeedback();
    SelectCopyPen();
    GraphScale.Redraw(GraphScale.GraphImages);
    AreaMode = SavedAreaMode;
    Dragging = false;
    DragState.Dragging = false;
    DragKind = 0;
    surface_.HideAreaImage();
    surface_.SetStickersEnabled(true);
}

void TGraphMouseWork::ClearDragState()
{
    DragObject = DragCircle = SegmentTarget = HoverSegment = 0;
    DragKind = 0;
    SelectCopyPen();
}

void TGraphMouseWork::GImageMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos)
{
    surface_.MoveAxisCursors(pos);
    // The read-out is formatted once a move; a drag may move the view first.
    QString readOut;
    if (!Dragging) {
        readOut = CoordinateReadOut(GraphScale, pos);
        HoverMove(pos, readOut);
    } else {
        DragMove(modifiers, pos);
        readOut = CoordinateReadOut(GraphScale, pos);
    }
    const bool objectDrag = Dragging && DragKind == 1;
    const int kind = objectDrag ? DocumentTables.Points[DraggedObject()].Kind : 0;
    surface_.ShowStatus(readOut, MouseHintText(objectDrag ? std::max<int>(kind, 1) : 0, AreaMode));
}

void TGraphMouseWork::HoverMove(QPoint pos, const QString& readOut)
{
    const TGraphCursor cursor = PickUnderMouse(pos);
    if (AreaMode == AreaSegment)
        return;
    THoverTarget target;
    if (surface_.ReadOutWanted() && cursor != TGraphCursor::Resize)
        target = HoverTarget(GraphScale, pos);
    surface_.ShowReadOut(pos, readOut.mid(1), target, cursor);
}

TGraphCursor TGraphMouseWork::PickUnderMouse(QPoint pos)
{
    DragKind = 0;
    const ScaleT& view = GraphScale;
    TGraphCursor cursor = TGraphCursor::Cross;
    TMarkerLines& markers = CurrentMarkerLines();
    if (AreaMode == AreaSegment) {
        DragObject = HitDraggablePoint(view, pos);
        HoverSegment = DragObject != 0 ? 0 : HitTest(DocumentFigureView(view), pos.x(), pos.y());
        if (DragObject != 0)
            cursor = TGraphCursor::OverPoint;
    } else if (markers.IsXMarkerDraggable() && NearMarker(pos.x(), markers.XMarkerValue())) {
        DragKind = 2;
    } else if (markers.IsLowerMarkerDraggable() && NearMarker(pos.x(), markers.LowerMarkerValue())) {
        DragKind = 3;
    } else if (markers.IsUpperMarkerDraggable() && NearMarker(pos.x(), markers.UpperMarkerValue())) {
        DragKind = 4;
    } else {
        DragObject = HitObjectAt(view, pos, false).Object;
        DragCircle = 0;
        if (DragObject == 0) {
            DragCircle = HitCircleEdge(view, pos);
            if (!CanDragPoint(DragRadius, DragCircle))
                DragCircle = 0;
        }
        if (DragObject != 0 || DragCircle != 0) {
            DragKind = 1;
            cursor = TGraphCursor::PickUp;
        }
    }
    if (IsMarkerDrag(DragKind))
        cursor = TGraphCursor::Resize;
    surface_.SetCursorShape(cursor);
    return cursor;
}

void TGraphMouseWork::DragMove(Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (pos == QPoint(CurX, CurY) && modifiers.testFlag(Qt::ControlModifier) == CtrlDown &&
        modifiers.testFlag(Qt::ShiftModifier) == ShiftDown)
        return;
    DrawFeedback();
    CurX = pos.x();
    CurY = pos.y();
    CtrlDown = modifiers.testFlag(Qt::ControlModifier);
    ShiftDown = modifiers.testFlag(Qt::ShiftModifier);
    if (DragKind == 1) {
        QPoint pixel = pos;
        SettleDragPixel(pixel);
        LastPointX = pixel.x();
        LastPointY = pixel.y();
        if (Options.DrawOnDrag && pixel != QPoint(DownX, DownY)) {
            DownX = pixel.x();
            DownY = pixel.y();
            MovePointToCursor();
            SelectXorPen(2);
            DragState.FirstChange = false;
        }
    } else if (DragKind == 0) {
        switch (AreaMode) {
        case AreaZoomIn:
        case AreaZoomOut:
            Moved = std::abs(CurX - DownX) > 3 && std::abs(CurY - DownY) > 3;
            UpdateZoomRect(pos);
            break;
        case AreaMove:
            Moved = pos != QPoint(DownX, DownY);
            break;
        case AreaSegment:
            Moved = DragObject > 0;
            SegmentTarget = HitObjectAt(GraphScale, pos, true).Object;
            break;
        default:
            break;
        }
    }
    DrawFeedback();
    surface_.RepaintGraph();
}

void TGraphMouseWork::UpdateZoomRect(QPoint pos)
{
    if (pos.x() == DownX || pos.y() == DownY)
        return;
    const TZoomDrag zoom = ZoomRectangle({DownX, DownY}, pos, GraphScale.XAxis.VHigh, GraphScale.YAxis.VHigh,
                                         ShiftDown, CtrlDown);
    zoomRect_ = zoom.Rect;
    if (zoom.Mouse != pos && Dragging) {
        CurY = zoom.Mouse.y();
        surface_.WarpPointer(zoom.Mouse);
    }
}

void TGraphMouseWork::DrawFeedback()
{
    if (!Dragging)
        return;
    TCanvas& c = GraphCanvas();
    if (DragKind == 1) {
        SelectXorPen(2);
        DrawDragFeedback();
    } else if (IsMarkerDrag(DragKind)) {
        DrawMarkerLine();
    } else if (Moved) {
        switch (AreaMode) {
        case AreaZoomIn:
        case AreaZoomOut:
            DrawZoomFeedback();
            break;
        case AreaMove: {
            const int dx = CurX - DownX, dy = CurY - DownY;
            const TBitmap& g = GraphScale.GraphImages[0];
            surface_.PlaceAreaImage({dx, dy, dx + g.Width(), dy + g.Height()});
            break;
        }
        case AreaSegment:
            SelectXorPen(1);
            Line(c, DownX, DownY, CurX, CurY);
            if (SegmentTarget > 0)
                DrawDragGuides(GraphScale, c, SegmentTarget);
            break;
        default:
            break;
        }
    }
}

void TGraphMouseWork::DrawZoomFeedback()
{
    TCanvas& c = GraphCanvas();
    const TPixelRect r = zoomRect_;
    const ScaleT& view = GraphScale;
    const int gl = view.XAxis.Vlow, gr = view.XAxis.VHigh, gt = view.YAxis.Vlow, gb = view.YAxis.VHigh;
    const std::pair<QPoint, QPoint> corners[4] = {{{r.Left, r.Top}, {gl, gt}},
                                                  {{r.Right, r.Top}, {gr, gt}},
                                                  {{r.Left, r.Bottom}, {gl, gb}},
                                                  {{r.Right, r.Bottom}, {gr, gb}}};
    const TPenSettings arrows{};
    const bool in = AreaMode == AreaZoomIn;
    for (const auto& [inner, outer] : corners) {
        SelectXorPen(1);
        const QPoint from = in ? inner : outer, to = in ? outer : inner;
        DrawArrow(c, from.x(), from.y(), to.x(), to.y(), arrows);
    }
    if (in) {
        SelectXorPen(1);
        c.Brush.Style = TBrushStyle::Clear;
        c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    } else {
        surface_.PlaceAreaImage(r);
    }
}

void TGraphMouseWork::DrawMarkerLine()
{
    SelectXorPen(1);
    Line(GraphCanvas(), CurX, 0, CurX, GraphScale.YAxis.VHigh);
}

void TGraphMouseWork::DrawDragFeedback()
{
    const int k = DraggedObject();
    if (k < 1 || k > PointCount)
        return;
    const ScaleT& view = GraphScale;
    const TPointState& state = view.PointStates[k];
    TCanvas& c = GraphCanvas();
    const QPoint pixel(LastPointX, LastPointY);
    switch (state.Kind) {
    case ObjectCircle: {
        const QPoint centre = DragObject != 0 ? pixel : view.WorldToPoint({state.X, state.Y});
        Ring(c, centre, 4);
        if (state.RColorNo1 == ColorWhite)
            break;
        long double radius = state.R;
        if (DragObject == 0)
            radius = std::hypot(view.XAxis.PixelToValue(pixel.x()) - state.X,
                                view.YAxis.PixelToValue(pixel.y()) - state.Y);
        const int rx = view.XAxis.LengthToPixels(radius), ry = view.YAxis.LengthToPixels(radius);
        c.Brush.Style = TBrushStyle::Clear;
        c.Ellipse(centre.x() - rx, centre.y() - ry, centre.x() + rx, centre.y() + ry);
        c.Brush.Style = TBrushStyle::Solid;
        break;
    }
    case ObjectHorizontalLine:
        Line(c, view.XAxis.Vlow, pixel.y(), view.XAxis.VHigh, pixel.y());
        break;
    case ObjectVerticalLine:
        Line(c, pixel.x(), view.YAxis.Vlow, pixel.x(), view.YAxis.VHigh);
        break;
    default:
        Ring(c, pixel, 4);
        break;
    }
}

void TGraphMouseWork::SettleDragPixel(QPoint& pixel)
{
    const int k = DraggedObject();
    const std::uint8_t kind = DocumentTables.Points[k].Kind;
    const bool canX = CanDragPoint(DragInX, k), canY = CanDragPoint(DragInY, k);
    if (DragObject == 0) {
        if (CanDragPoint(DragRadius, k))
            SnapDragPixel(pixel, canX, canY, true);
        return;
    }
    if (kind == ObjectHorizontalLine || kind == ObjectVerticalLine) {
        SnapDragPixel(pixel, canX, canY, false);
        return;
    }
    if (CanDragPoint(DragAlongCurve, k)) {
        // With Ctrl from sample to sample; with Shift only the parameter
        // moves and the pointer stays.
        if (const std::optional<TCurveDrag> drag = DragCurveParameter(GraphScale, k, pixel, platform::IsCtrlDown())) {
            if (drag->Param != 0)
                SetPrmValue(drag->Param, drag->Value);
            pixel = GraphScale.WorldToPoint(drag->Point);
            if (!platform::IsShiftDown())
                surface_.WarpPointer(drag->Pointer);
        }
        return;
    }
    SnapDragPixel(pixel, canX, canY, false);
    if (!canX && canY)
        SettleDependentCoordinate(pixel, false);
    else if (canX && !canY)
        SettleDependentCoordinate(pixel, true);
}

void TGraphMouseWork::SnapDragPixel(QPoint& pixel, bool canX, bool canY, bool radius)
{
    if (!CtrlDown)
        return;
    ScaleT& view = GraphScale;
    if (Options.AxisType != 0) {
        if ((canX && canY) || radius)
            pixel = view.WorldToPoint(view.SnapPolar(pixel.x(), pixel.y()));
        return;
    }
    pixel.setX(canX || radius ? view.XAxis.ValueToPixel(view.XAxis.PixelToGridValue(pixel.x())) : LastPointX);
    pixel.setY(canY || radius ? view.YAxis.ValueToPixel(view.YAxis.PixelToGridValue(pixel.y())) : LastPointY);
}

// The free coordinate follows the mouse; the other is evaluated from the
// object's formulas with the free one in place. The object itself is left
// alone: a copy stands in its slot while its formulas, which may refer to
// the object, are evaluated.
bool TGraphMouseWork::SettleDependentCoordinate(QPoint& pixel, bool xFree)
{
    const int k = DraggedObject();
    const ScaleT& view = GraphScale;
    TPointFunction copy = DocumentTables.Points[k];
    if (xFree)
        SetFormulaText(copy.X, FormulaNumberText(view.XAxis.PixelToValue(pixel.x())), k);
    else
        SetFormulaText(copy.Y, FormulaNumberText(view.YAxis.PixelToValue(pixel.y())), k);
    JoinAndPrepare(copy, k);
    std::swap(DocumentTables.Points[k], copy);
    const TValue v = EvaluatePoint(k, xFree ? 2 : 1);
    std::swap(DocumentTables.Points[k], copy);
    if (!v.Defined || v.Kind != KindReal || !std::isfinite(v.X)) {
        pixel = {LastPointX, LastPointY};
        return false;
    }
    if (xFree)
        pixel.setY(view.YAxis.ValueToPixel(v.X));
    else
        pixel.setX(view.XAxis.ValueToPixel(v.X));
    return true;
}

void TGraphMouseWork::MovePointToCursor()
{
    const int k = DraggedObject();
    if (k < 1 || k > PointCount)
        return;
    ScaleT& view = GraphScale;
    TPointFunction copy = DocumentTables.Points[k];
    if (copy.Kind >= ObjectPolar) {
        view.Redraw(view.GraphImages);
        return;
    }
    if (Options.AxisType == 1 && CanDragPoint(DragInXAndY, k) && CtrlDown && DragObject != 0) {
        const TWorldPoint w = view.SnapPolar(LastPointX, LastPointY);
        SetFormulaText(copy.X, FormulaNumberText(w.X), k);
        SetFormulaText(copy.Y, FormulaNumberText(w.Y), k);
    } else if (DragObject != 0) {
        if (CanDragPoint(DragInX, k))
            SetFormulaText(copy.X,
                           CtrlDown ? FormulaNumberText(view.XAxis.PixelToGridValue(LastPointX))
                                    : FormulaCoordText(FormatPixelCoord(LastPointX, view.XAxis, 0)),
                           k);
        if (CanDragPoint(DragInY, k))
            SetFormulaText(copy.Y,
                           CtrlDown ? FormulaNumberText(view.YAxis.PixelToGridValue(LastPointY))
                                    : FormulaCoordText(FormatPixelCoord(LastPointY, view.YAxis, 0)),
                           k);
    } else {
        const TPointState& state = view.PointStates[k];
        const long double mx = CtrlDown ? view.XAxis.PixelToGridValue(LastPointX) : view.XAxis.PixelToValue(LastPointX);
        const long double my = CtrlDown ? view.YAxis.PixelToGridValue(LastPointY) : view.YAxis.PixelToValue(LastPointY);
        const long double r = std::hypot(mx - state.X, my - state.Y);
        SetFormulaText(copy.R, CtrlDown ? FormulaNumberText(r) : FormulaCoordText(FormatCoordValue(view.XAxis, 0, r)),
                       k);
    }
    JoinAndPrepare(copy, k);
    SetPnt(k, copy);
    SelectCopyPen();
}

void TGraphMouseWork::GImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    surface_.HideAreaImage();
    if (!Dragging || button == Qt::RightButton) {
        if (!Dragging)
            surface_.SetCursorShape(TGraphCursor::Cross);
        return;
    }
    CtrlDown = modifiers.testFlag(Qt::ControlModifier);
    ShiftDown = modifiers.testFlag(Qt::ShiftModifier);
    DrawFeedback();
    Dragging = false;
    DragState.Dragging = false;
    surface_.SetStickersEnabled(true);
    surface_.SetCursorShape(TGraphCursor::Cross);
    if (AreaMode <= AreaMove && DragKind == 0 && !Moved) {
        AreaMode = SavedAreaMode;
        surface_.RepaintGraph();
        return;
    }
    TMarkerLines& markers = CurrentMarkerLines();
    const long double x = GraphScale.XAxis.PixelToValue(CurX);
    switch (DragKind) {
    case 1:
        if (!Options.DrawOnDrag)
            MovePointToCursor();
        break;
    case 2:
        markers.SetXFromGraph(x);
        break;
    case 3:
        markers.SetLowerFromGraph(x);
        break;
    case 4:
        markers.SetUpperFromGraph(x);
        break;
    default:
        ReleaseArea(pos);
        AreaMode = SavedAreaMode;
        break;
    }
    ClearDragState();
    surface_.RepaintGraph();
}

void TGraphMouseWork::ReleaseArea(QPoint pos)
{
    ScaleT& view = GraphScale;
    std::optional<TWorldRect> range;
    const bool both = pos.x() != DownX && pos.y() != DownY;
    switch (AreaMode) {
    case AreaZoomIn:
    case AreaZoomOut:
        if (both) {
            const TZoomDrag zoom = ZoomRectangle({DownX, DownY}, pos, view.XAxis.VHigh, view.YAxis.VHigh,
                                                 ShiftDown, CtrlDown);
            range = AreaMode == AreaZoomIn ? ZoomInRange(view, zoom.Rect) : ZoomOutRange(view, zoom.Rect);
        }
        break;
    case AreaMove:
        if (pos != QPoint(DownX, DownY))
            range = MoveRange(view, {DownX, DownY}, pos);
        break;
    case AreaSegment:
        ReleaseSegment(pos);
        break;
    default:
        break;
    }
    SelectCopyPen();
    if (range)
        view.SetRangeRecorded(view.GraphImages, *range);
}

void TGraphMouseWork::ReleaseSegment(QPoint pos)
{
    if (DragObject <= 0)
        return;
    if (SegmentTarget <= 0)
        SegmentTarget = HitObjectAt(GraphScale, pos, true).Object;
    if (SegmentTarget <= 0 || SegmentTarget == DragObject)
        return;
    const int s = AddFigure(DragObject, SegmentTarget);
    if (s == 0)
        return;
    if (Options.ShowProperty) {
        surface_.FigureAdded(s);
        return;
    }
    SetFigure(s, Segments.GetItem(s));
    ShowSegRows();
}

void TGraphMouseWork::GImageDblClick()
{
    if (AreaMode == AreaZoomIn)
        ZoomAtMouse(2.0L);
    else if (AreaMode == AreaZoomOut)
        ZoomAtMouse(0.5L);
}

void TGraphMouseWork::ZoomAtMouse(long double factor)
{
    ScaleT& view = GraphScale;
    view.ZoomAt({view.XAxis.PixelToValue(CurX), view.YAxis.PixelToValue(CurY)}, factor, factor);
}
