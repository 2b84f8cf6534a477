#pragma once
// The view the drawing benchmarks draw on: a square range about the origin
// over size × size pixels, with its layer pictures sized to it.
#include "render/view/Scale.h"

inline void SetSquareBenchView(int size, long double halfRange)
{
    ScaleT& view = GraphScale;
    view.XAxis.VHigh = view.YAxis.VHigh = size;
    view.XAxis.SetBounds(-halfRange, halfRange);
    view.YAxis.SetBounds(-halfRange, halfRange);
    view.XAxis.Recalc();
    view.YAxis.Recalc();
    view.InitColumns();
    for (TBitmap& image : view.GraphImages)
        image.SetSize(size + 1, size + 1);
}
