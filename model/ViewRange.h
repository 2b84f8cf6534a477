#pragma once

// The world ranges and pixel sizes of the graph view, as the view last set
// them. Formulas read them ("area", the derivative step), so they live in the
// model; the view keeps them current.
struct TViewRange {
    long double XLow = -5.0L, XHigh = 5.0L, YLow = -5.0L, YHigh = 5.0L;
    int XPixels = 400, YPixels = 400;
    void Reset();
};
extern TViewRange ViewRange;
