#pragma once

// Line styles, wide styled pens and the small line routines every plotter
// draws with. Coordinates are device pixels, already magnified.
#include "render/gfx/Canvas.h"
#include "render/gfx/GfxTypes.h"
#include "render/view/DrawContext.h"

#include <QPoint>
#include <cstdint>
#include <span>

// What the line routines need besides the canvas's own tools.
struct TPenSettings {
    TDrawContext Context;        // the output magnification
    int FontSize = 12;           // points of the axis and object labels
    std::uint8_t CapStyle = 1;   // 0: wide pens keep the caller's ends; >= 1: flat ends
    std::uint8_t AimgOfArea = 0; // traces receive fills as well as outlines
};

// Where the pieces of a curve go: the main canvas unless only the trace is
// drawn, and the trace canvas when the curve leaves a trace. Either canvas
// may be null (nothing is drawn there).
struct TPieceCanvases {
    TCanvas* First = nullptr;
    TCanvas* Second = nullptr;
    bool OnSecond = false;
    bool SkipMain = false;

    TCanvas* Main() const { return SkipMain ? nullptr : First; }
    TCanvas* Trace() const { return OnSecond ? Second : nullptr; }
};

// The open document's settings (cap option, trace fills, label font size) for
// a drawing in the given context.
TPenSettings DocumentPenSettings(const TDrawContext& context);

// A line style byte of the document (0 invisible, 1 solid, 2 dash, 3 dot,
// 4 dash-dot) as a pen style; unknown bytes are solid.
TPenStyle PenStyleCode(int lineStyle);

// Turns a wide pen that needs it (styled, or any wide pen when flat ends are
// wanted) into a geometric one, so that it keeps its dashes and takes the
// chosen ends at any width. The brush always becomes clear. True when the
// pen was made geometric.
bool CreateStyledPen(TCanvas& canvas, TPenCap caps, const TPenSettings& settings);

// The polyline with the canvas's pen made styled for it; pen and brush are
// left as they were. A clear or white pen draws nothing.
void DrawStyledPolyline(TCanvas& canvas, std::span<const QPoint> points, TPenCap caps, const TPenSettings& settings);
// Round ends and joins unless the document asks for flat ends.
void DrawPolyline(TCanvas& canvas, std::span<const QPoint> points, const TPenSettings& settings);
// Fills the polygon without an outline when the brush shows anything, then
// outlines it as a closed styled polyline.
void DrawPolygonAndOutline(TCanvas& canvas, std::span<const QPoint> points, const TPenSettings& settings);
void DrawLineSeg(TCanvas& canvas, int x1, int y1, int x2, int y2, const TPenSettings& settings);
// The four sides with the current pen as it is, left side first.
void DrawRectOutline(TCanvas& canvas, int left, int top, int right, int bottom);
