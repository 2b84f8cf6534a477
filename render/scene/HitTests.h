#pragma once

// What lies under the mouse on the graph: which object, circle edge, curve
// sample or axis; how an object may be dragged; where a curve's parameter
// goes while its point is dragged along it; and the grey guides drawn while
// a figure is being joined to an object. Everything answers for what the
// last redraw drew: the objects' evaluated states and the curves' loci.
#include "model/ObjectNames.h"
#include "render/gfx/Canvas.h"
#include "render/view/Scale.h"

#include <QPoint>
#include <optional>

// A mouse pixel is on a thing when both distances are below this.
constexpr int HitTolerance = 5;

// What a hit test found: an object 1..22, AxisXObject or AxisYObject, or 0
// for nothing; for an object, its state's point or a curve's sample.
struct TObjectHit {
    int Object = 0;
    TWorldPoint Point;
    friend bool operator==(const TObjectHit&, const TObjectHit&) = default;
};

// The first shown point or circle (objects 1 .. 22) whose point is within
// the tolerance square; 0 when none.
int HitDraggablePoint(const ScaleT& view, QPoint mouse);
// The first shown circle whose edge passes between the four probes 4 pixels
// around the mouse; 0 when none.
int HitCircleEdge(const ScaleT& view, QPoint mouse);
// The topmost shown object (22 down to 1) under the mouse: a point, circle
// centre or curve handle within the square, a horizontal or vertical line
// within the tolerance across it. Unless any is set, only an object that may
// be dragged somehow counts. With any set and no object hit, an axis line
// within the tolerance that is shown: the x axis first.
TObjectHit HitObjectAt(const ScaleT& view, QPoint mouse, bool any);
// The topmost shown curve or point sequence one of whose defined samples
// lies within the square: the first such sample in the curve's order.
TObjectHit HitCurveAt(const ScaleT& view, QPoint mouse);

// The ways an object may be dragged, as CanDragPoint is asked.
enum : int {
    DragAnyWay = -1,
    DragNoWay = 0,
    DragInX = 1,
    DragInY = 2,
    DragInXAndY = 3,
    DragAlongCurve = 4,
    DragRadius = 5,
};
// Whether object k (1..22) may be dragged that way: it is draggable and the
// formula the drag rewrites is a constant (x, y, radius), or it is a polar or
// parametric curve (along the curve). Any other k or way: false.
bool CanDragPoint(int how, int k);

// Where a curve drag puts the curve's parameter.
struct TCurveDrag {
    int Param = 0;            // the curve's parameter slot 1..14, 0 when it has none
    long double Value = 0.0L; // the parameter's new value
    TWorldPoint Point;        // the curve's point for it
    QPoint Pointer;           // its pixel, where the mouse pointer may follow the curve
};
// Where the parameter of the polar or parametric curve k goes for the curve
// point nearest the mouse: between the nearest sample and its nearer
// neighbour (interpolated by squared distances; with nearestSample, the
// nearer sample). The caller stores it. Nothing for another kind of object
// or a curve without a defined sample. Never NaN: where the squared
// distances give 0 / 0 the nearest sample is taken.
std::optional<TCurveDrag> DragCurveParameter(const ScaleT& view, int k, QPoint mouse, bool nearestSample);

// The grey guides (colour 0xC0C0C0, width 5, in the canvas's pen mode) that
// show which object a figure being drawn would join: the axis line for
// AxisXObject and AxisYObject, a ring of radius 4 round a point or circle
// centre, the line of a horizontal or vertical line object. The pen's colour
// and width are restored.
void DrawDragGuides(const ScaleT& view, TCanvas& canvas, int k);

