#pragma once

#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/ObjectNames.h"
#include "model/OffsetArray.h"
#include "model/PointState.h"

#include <QString>
#include <cstdint>

// Kinds of a figure between objects. Kind 4 does not occur: older projects'
// kind 4 is read as an arrow with its ends exchanged.
enum : std::uint8_t {
    FigureNone = 0,
    FigureSegment = 1,
    FigureLine = 2,
    FigureArrow = 3,
    FigureRectangle = 5,
    FigurePolyline = 6,
    FigurePolygon = 7,
    FigureAngle = 8,
    FigureHalfLine = 9,
    FigureArc = 10,
    FigureBrace = 11,
    FigureBezier = 12,
    FigureRightAngle = 13,
};

constexpr int FigureVertexCount = 11;

// One figure: the objects it joins (1..22, 250 the x axis, 251 the y axis,
// 0 no vertex; the used vertices come first) and how it is drawn.
struct Tsegment {
    std::uint8_t Kind = FigureNone;
    TOffsetArray<std::uint8_t, 1, FigureVertexCount> Vertices{};
    std::uint8_t Width = 2;
    std::uint8_t LineStyle = 1;
    std::uint8_t AfterImage = 0; // leaves a trace
    TColor Color = 0xFF0000;
    TColor InsideColor = ColorWhite; // white: no fill
    std::uint8_t Pattern = 1;        // fill pattern 1..8
    std::uint8_t LabelPos = 0;
    std::uint8_t Shown = 1; // the figure's row shows it
    QString Label;          // markup text
    bool operator==(const Tsegment&) const = default;
};

// How many of a figure's vertices it joins: 2 for segments, lines, arrows,
// rectangles, half-lines and braces; 3 for angle marks, arcs and right-angle
// marks; for polylines, polygons and Bézier curves the leading vertices up
// to the first empty one, at least 3. 0 for a kind that draws nothing.
int UsedVertexCount(const Tsegment& figure);
// Whether a vertex number names an object (1..22) or an axis (250, 251).
constexpr bool IsVertexNumber(int v)
{
    return (v >= 1 && v <= PointCount) || v == AxisXObject || v == AxisYObject;
}

// One colour per figure: the colours figures were last drawn with, and
// those the trace records keep.
using TFigureColours = TOffsetArray<TColor, 1, SegmentCount>;
// Figure s left the list: the colours of the later figures move down one
// place and the last entry becomes white. Nothing for s outside 1..30.
void ShiftFigureColoursDown(TFigureColours& colours, int s);

// The figures of the document, 1..Count; item 0 is never used.
struct TSegmentData {
    TOffsetArray<Tsegment, 0, SegmentCount> Items;
    int Count = 0;
    bool operator==(const TSegmentData&) const = default;
};

// The figure list with the object states its figures take their vertex
// positions from.
struct TSegments {
    TOffsetArray<TPointState, 1, PointCount> States{};
    TSegmentData Data;

    int Count() const { return Data.Count; }
    // No figures.
    void Clear() { Data.Count = 0; }
    // No figures and every record and state at its default.
    void Reset() { *this = TSegments{}; }

    // Figure s; an empty record (kind 0) when s is not 1..Count.
    Tsegment GetItem(int s) const;
    // The highest figure that has object k among its vertices; 0 when none.
    int FindLastUsing(int k) const;
    // The object states the figures take their vertex positions from.
    void CopyStates(const TOffsetArray<TPointState, 1, PointCount>& states) { States = states; }

    // Appends a segment from k1 to k2 in the style of new figures. False,
    // and nothing changed, when the list is full.
    bool Append(int k1, int k2, TColor color, int width, int lineStyle);
    // Removes figure s; the later figures move down one place. False, and
    // nothing changed, when s is not 1..Count.
    bool Remove(int s);
    // The colours of a trace record: a figure leaves a trace drawn in its
    // recorded colour and fill when its colour is not white, else none.
    void TakeTraceColours(const TFigureColours& colours, const TFigureColours& fills);
};
extern TSegments Segments;
