#pragma once

// What the mouse does on the graph, as far as it needs no widget: the zoom
// rectangle and the ranges a zoom or a move gives, the number texts the
// mouse writes into formulas, the coordinate read-out and what lies under
// the mouse for it, and the layout of the point-placing menu.
#include "model/TokenString.h"
#include "render/view/Scale.h"

#include <QImage>
#include <QPoint>
#include <QString>

// The area tools of the graph.
enum : int {
    AreaPointer = 0,
    AreaZoomIn = 1,
    AreaZoomOut = 2,
    AreaMove = 3,
    AreaSegment = 4,
};

struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

// The rectangle of a zoom drag from the press to the mouse, and where the
// mouse is taken to be. Unless shift is held the rectangle keeps the
// graph's proportions: the mouse's y is moved (integer division), and the
// pointer should follow it. With ctrl the rectangle is centred on the press.
struct TZoomDrag {
    TPixelRect Rect;
    QPoint Mouse;
    friend bool operator==(const TZoomDrag&, const TZoomDrag&) = default;
};
TZoomDrag ZoomRectangle(QPoint down, QPoint mouse, int xPixels, int yPixels, bool shift, bool ctrl);

// The ranges at the release of a zoom-in rectangle (its corners become the
// range), of a zoom-out rectangle (the whole view shrinks into it) and of a
// move of the view from the press to the mouse.
TWorldRect ZoomInRange(const ScaleT& view, const TPixelRect& rect);
TWorldRect ZoomOutRange(const ScaleT& view, const TPixelRect& rect);
TWorldRect MoveRange(const ScaleT& view, QPoint down, QPoint mouse);

// The zoom factors of the graph's zoom menu by item name ("x21" … "x1d10");
// 0 for another name.
long double ZoomMenuFactor(const QString& itemName);

// A number as the mouse writes it into a formula: the general format with 15
// digits, and never in exponent form, which would read "E" as an object.
QString FormulaNumberText(long double value);
// A read-out text (FormatCoordValue) made fit for a formula the same way.
QString FormulaCoordText(QString coordText);

// " (x, y)": the read-out of the mouse's pixel, with the list separator, the
// parenthesised text cut to 26 characters.
QString CoordinateReadOut(const ScaleT& view, QPoint mouse);
// The hint of the status bar's second panel: dragging an object of that kind
// (0 when none is dragged) in that area tool.
QString MouseHintText(int draggedKind, int areaMode);

// The topmost shown function (20 down to 1) or relation (9 down to 1) whose
// graph crosses the square of the pixels 2 around the mouse: at least two
// of its four corners are defined and not all of them lie on one side.
// 0 when none.
int HitFunctionAt(const ScaleT& view, QPoint mouse);
int HitRelationAt(const ScaleT& view, QPoint mouse);

// What the read-out names under the mouse: "P:" with the object's formula,
// "y3=" with a function's, "C2:" with a relation's. Empty name: nothing.
struct THoverTarget {
    QString Name;
    TTokenString Formula;
};
THoverTarget HoverTarget(const ScaleT& view, QPoint mouse);
// The read-out's picture: the name in bold, then the formula typeset at
// fontSize × 1.1, on white.
QImage ReadOutPicture(const THoverTarget& target, int fontSize);

// The things the graph's popup menu offers properties of at a pixel.
struct TPopupTargets {
    int Object = 0; // shown when it is not the curve
    int Figure = 0;
    int Function = 0;
    int Relation = 0;
    int Curve = 0;
};
TPopupTargets PopupTargetsAt(const ScaleT& view, QPoint mouse);

// The point-placing menu lists the letters of the empty object slots
// (O excepted): their object numbers, in slot order.
std::vector<int> EmptyPointSlots();
// With more than 6 items the menu breaks into a second column, starting at
// this position (from 1); 0 for one column.
int PointMenuColumnBreak(int count);
// Object k becomes a draggable point at the pixel, labelled at position 3,
// in the style of new figures, and is stored. False when k is no object or
// its slot is taken.
bool PlacePointAt(const ScaleT& view, int k, QPoint pixel);
