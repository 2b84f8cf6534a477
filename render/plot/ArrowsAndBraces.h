#pragma once

// Arrows on axes and figures, and the curly brace figure with the anchor of
// its label.
#include "render/gfx/Canvas.h"
#include "render/plot/Pens.h"

#include <QPoint>
#include <optional>

// The length of an arrow head drawn with a pen of this width (device
// pixels): twice the width plus the magnified label font size. The angle
// and right-angle marks of figures take their size from it too.
int ArrowSize(int penWidth, const TPenSettings& settings);

// A line from (x1, y1) with a filled head at (x2, y2). The head grows with
// the pen width and the label font; on a short arrow it takes three quarters
// of the length. Afterwards the pen is one pixel wide and the brush clear.
void DrawArrow(TCanvas& canvas, int x1, int y1, int x2, int y2, const TPenSettings& settings);

// The inner control points of the brace's Bézier curve from (x1, y1) to
// (x2, y2), and where its label goes: the curve's middle moved one font size
// further out. The brace bulges to the left of the direction of travel.
struct TBracePoints {
    QPoint P1;
    QPoint P2;
    QPoint Anchor;
    bool operator==(const TBracePoints&) const = default;
};
// Nothing when the two points coincide.
std::optional<TBracePoints> BracePoints(int x1, int y1, int x2, int y2, const TPenSettings& settings);
// Draws the brace with the pen made styled for it (the brush becomes clear)
// and returns the label anchor; nothing when the points coincide.
std::optional<QPoint> DrawBrace(TCanvas& canvas, int x1, int y1, int x2, int y2, const TPenSettings& settings);
