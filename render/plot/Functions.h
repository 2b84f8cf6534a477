#pragma once

// The graphs y = f(x), drawn from their column caches: column by column the
// drawing mode decides which neighbours are joined, where a curve breaks at
// a jump, and how isolated values show.
#include "engine/Columns.h"
#include "model/DocumentState.h"
#include "render/gfx/Canvas.h"
#include "render/plot/Pens.h"
#include "render/plot/PlotCanvases.h"
#include "render/view/ViewMapping.h"

#include <cstdint>

class ScaleT;

// The colour each function was last drawn with, white when it left no
// trace: what the next trace record keeps of it.
extern TOffsetArray<TColor, 1, FunctionCount> FunctionColors;
void ResetFunctionColors();

enum : std::uint8_t {
    DrawModeAuto = 1,    // joined, broken at jumps, lone values as dots
    DrawModeConnect = 2, // every defined column joined, gaps bridged
    DrawModePlot = 3,    // a dot per defined column
};

// What curve drawing reads of the document besides the function's record.
struct TCurveSettings {
    TPenSettings Pen; // its context gives the magnification
    std::uint8_t DrawMode = DrawModeAuto;
};
TCurveSettings DocumentCurveSettings(const TDrawContext& context);

// A pen for curves: the colour as the colour scheme shows it, mask mode (so
// crossing curves darken each other), and a solid brush of the same colour
// for the dots.
void SetCurvePen(TCanvas& canvas, TColor color, int width, TPenStyle style);
// Black one-pixel copy pen and a solid black brush.
void ResetPenAndBrush(TCanvas& canvas);

// One curve over the visible columns 0 .. the x axis's pixel length of the
// mapping; the columns beside them must be undefined. mainColor is used on
// the main canvas, the record's colour faded on the trace canvas.
void DrawCurve(const TViewMapping& mapping, const TPlotCanvases& canvases, TColor mainColor,
               const TColumnArray& cache, const TEquationFunction& record, const TCurveSettings& settings);

// Whether DrawFunctions draws the function: it has a text and Visible 1.
bool IsFunctionDrawn(const TEquationFunction& f);
// The columns function i is drawn from: its cache when current for the
// view, else the undefined columns.
const TColumnArray& FunctionColumns(const ScaleT& view, int i);
// Function i (record f) from FunctionColumns, and its FunctionColors entry.
void DrawFunction(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                  const TCurveSettings& settings, int i, const TEquationFunction& f);
// The FunctionColors entry of function i drawn on the canvases.
void NoteFunctionDrawn(int i, const TEquationFunction& f, const TPlotCanvases& canvases);

// Every function of the table with a text and Visible 1, in order, from
// its current cache (a function whose cache is not current draws nothing),
// and FunctionColors of each drawn one.
void DrawFunctions(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                   const TCurveSettings& settings, const TFunctionRecords& functions = DocumentTables.Functions);
// The same with the document's settings at the mapping's magnification.
void DrawFunctions(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases);
