#pragma once
// The view the drawing benchmarks draw on: a range about the origin, with
// its layer pictures sized to it.
#include "render/view/Scale.h"

// A range centred on the origin over width × height pixels.
inline void SetBenchView(int width, int height, long double halfX, long double halfY)
{
    ScaleT& view = GraphScale;
    view.XAxis.VHigh = width;
    view.YAxis.VHigh = height;
    view.XAxis.SetBounds(-halfX, halfX);
    view.YAxis.SetBounds(-halfY, halfY);
    view.XAxis.Recalc();
    view.YAxis.Recalc();
    view.InitColumns();
    for (TBitmap& image : view.GraphImages)
        image.SetSize(width + 1, height + 1);
}

inline void SetSquareBenchView(int size, long double halfRange)
{
    SetBenchView(size, size, halfRange, halfRange);
}
