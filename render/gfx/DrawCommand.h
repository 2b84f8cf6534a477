#pragma once

#include "render/gfx/GfxTypes.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <vector>

enum class TDrawOp : std::uint8_t {
    Polyline,
    Polygon,
    PolyBezier,
    Ellipse,
    Rectangle,
    RoundRect,
    Pie,
    Chord,
    Arc,
    Pixel,
    FillRect,
    Text,
    Image,
};

// One drawing call with its geometry; the tools it is drawn with travel
// beside it as a TDrawState.
struct TDrawCommand {
    TDrawOp Op = TDrawOp::Polyline;
    // Polyline, Polygon and PolyBezier: the points; Pie, Chord and Arc: the
    // start and end points of the arc.
    std::vector<QPoint> Points;
    // Shapes: the bounding box; FillRect: the area; Image: the destination.
    TRect Box;
    QPoint At;     // Pixel and Text: the position (Text: top-left of the cell)
    QSize Corner;  // RoundRect: width and height of the corner ellipse
    TColor Color = ColorBlack; // Pixel
    QString Text;
    QImage Image;
    TImageMode ImageMode = TImageMode::Copy;
    bool operator==(const TDrawCommand&) const = default;
};
