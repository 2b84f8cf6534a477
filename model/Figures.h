#pragma once

#include "model/Colors.h"
#include "model/DocumentState.h"
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
};
extern TSegments Segments;
