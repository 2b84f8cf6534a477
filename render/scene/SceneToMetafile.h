#pragma once

// The scene the graph window shows, drawn whole into one picture at any
// magnification for export and printing, with the rulers beside the graph
// when the axes are on the border.
#include "render/gfx/Metafile.h"
#include "render/view/Scale.h"

// Draws traces, axes, figures, loci, point sequences, functions, objects,
// overlay marks, stickers and free-hand marks at the magnification into a
// picture of (VHigh + 1) × magnification on each axis, adds the y ruler
// left or right and the x ruler below or above when those axes are at the
// border, and leaves the redraw flags and change set cleared. The program's
// magnification is back as it was on every way out.
TMetafile DrawToMetafile(ScaleT& view, int magnification);

// Where the graph and the rulers go in a picture with rulers.
struct TRulerLayout {
    TRect Graph;  // the scene's box: its offset and its size
    TRect YRuler; // empty when the y axis is not at the border
    TRect XRuler; // empty when the x axis is not at the border
    int Width = 0;
    int Height = 0;
};
// graph is the scene's size; the rulers' sizes are their pictures'. The
// rulers go left of the graph and below it when the origin's column is
// within or left of the view and its row is below the view's top (both
// unmagnified), else right of it and above it; gap pixels apart.
TRulerLayout LayOutRulers(QSize graph, QSize yRuler, QSize xRuler, bool yAtBorder, bool xAtBorder,
                          bool yRulerLeft, bool xRulerBelow, int gap);
