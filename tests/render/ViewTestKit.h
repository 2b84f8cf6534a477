#pragma once

// The view the drawing tests draw on: GraphScale over a range of the world
// on a number of pixels.
#include "render/view/Scale.h"

// Both axes of GraphScale: xLow..xHigh × yLow..yHigh on width × height pixels.
inline void SetTestViewAxes(long double xLow, long double xHigh, long double yLow, long double yHigh, int width,
                            int height)
{
    ScaleT& view = GraphScale;
    view.XAxis.VHigh = width;
    view.YAxis.VHigh = height;
    view.XAxis.SetBounds(xLow, xHigh);
    view.YAxis.SetBounds(yLow, yHigh);
    view.XAxis.Recalc();
    view.YAxis.Recalc();
}

// The axes, with the column tables made for them and the layer pictures
// sized as the graph window sizes them.
inline void SetTestView(long double xLow, long double xHigh, long double yLow, long double yHigh, int width,
                        int height)
{
    SetTestViewAxes(xLow, xHigh, yLow, yHigh, width, height);
    GraphScale.InitColumns();
    for (TBitmap& image : GraphScale.GraphImages)
        image.SetSize(width + 1, height + 1);
}
