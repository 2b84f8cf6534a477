#pragma once

// Where a plotter draws: the main canvas, and the trace canvas that keeps
// what leaves an after-image. Either canvas may be null (nothing is drawn
// there).
#include "render/gfx/Canvas.h"

struct TPlotCanvases {
    TCanvas* Main = nullptr;
    TCanvas* Trace = nullptr;
    bool OnlyTrace = false; // nothing goes to the main canvas
    bool TraceAll = false;  // everything also goes to the trace canvas, not only what leaves a trace

    // Whether a thing goes to the trace canvas, given its own trace flag.
    bool Traces(bool afterImage) const { return TraceAll || afterImage; }
    TCanvas* MainCanvas() const { return OnlyTrace ? nullptr : Main; }
    TCanvas* TraceCanvas(bool afterImage) const { return Traces(afterImage) ? Trace : nullptr; }
};
