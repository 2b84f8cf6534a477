#pragma once

// Hatching the region of an inequality or of relations joined by "and" and
// "or": the pixels that the region mask selects are painted with one of ten
// patterns, as single pixels on a relation's layer, or as pen strokes when
// the scene is drawn straight into a picture at a magnification, where
// pixels would come out as isolated specks.
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "render/plot/Pens.h"
#include "render/plot/PlotCanvases.h"
#include "render/plot/RelationMask.h"

// Patterns 1..10 hatch; any other pattern (0 among them) leaves the region
// empty.
constexpr int FirstHatchPattern = 1;
constexpr int LastHatchPattern = 10;
constexpr bool IsHatchPattern(int pattern)
{
    return pattern >= FirstHatchPattern && pattern <= LastHatchPattern;
}

// The phase of pixel (x, y) in a pattern, 0..15: the pattern's lines run
// through the pixels of phase 0. Patterns outside 1..10 have phase -1.
int HatchPhase(int pattern, int x, int y);

// Paints the region of region.Masks in record.Pattern, in record.Color on the
// main canvas and in its faded colour on the trace canvas. Nothing is painted
// without masks, with only the trace drawn, or with a pattern outside 1..10.
// The region goes to the trace canvas only when traces take fills
// (settings.AimgOfArea) and the relation leaves a trace there
// (canvases.Traces(record.AfterImage)).
// - direct off (a relation's layer on screen): pixels, columns outer; every
//   region pixel of phase 0 is set.
// - direct on (drawn straight into a picture): strokes at settings.Context's
//   magnification, merged along the hatch lines; the dots of patterns 9 and 10 go to the main canvas only and
//   are filled with dotColor, the main pen colour of the relation's last
//   piece (an invisible white under the mask mode when that piece's boundary
//   is hidden).
// The canvases' tools are left as they were.
void FillRegion(const TRegionMask& region, const TEquationFunction& record, const TPlotCanvases& canvases,
                const TPenSettings& settings, bool direct, TColor dotColor);
