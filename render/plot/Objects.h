#pragma once

// The 22 elementary objects on the graph: points, circles, horizontal and
// vertical lines (with bands and fills) from their evaluated states, the
// curve objects from their point lists, the paths that moving points leave,
// and the objects' labels.
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "model/PointState.h"
#include "render/gfx/Canvas.h"
#include "render/plot/Loci.h"
#include "render/plot/Pens.h"
#include "render/plot/PlotCanvases.h"
#include "render/view/ViewMapping.h"

using TPointStates = TOffsetArray<TPointState, 1, PointCount>;

// The colours each curve object was last drawn with, white when it left no
// trace: its line (PointColors) and a point sequence's symbols
// (PointColors2). The next trace record keeps them.
extern TOffsetArray<TColor, 1, PointCount> PointColors;
extern TOffsetArray<TColor, 1, PointCount> PointColors2;
void ResetPointColors();

// A pen for the objects' shapes: the colour as the colour scheme shows it,
// the width magnified, mask mode and the line style's pen style; the brush
// colour as the scheme shows it.
void SetObjectPen(TCanvas& canvas, TColor color, TColor brushColor, int width, std::uint8_t lineStyle,
                  const TDrawContext& context);

// The symbol of a point: a disc of radius Width + 2 (magnified) in the
// colour, white inside when hollow. The canvas's pen mode is kept.
void DrawPointSymbol(TCanvas& canvas, QPoint at, TColor color, std::uint8_t width, bool hollow,
                     const TDrawContext& context);
// The symbol in mask mode on the main canvas (unless only the trace is
// drawn) and, faded, on the trace canvas when traced; nothing for white.
void DrawPointSymbols(const TPlotCanvases& canvases, bool traced, QPoint at, TColor color, std::uint8_t width,
                      bool hollow, const TDrawContext& context);

// Objects 1 .. 22 in order, each one shown whose state is drawable: point
// symbols, circles and lines with their bands and fills, then its label
// (unless only the trace is drawn). states are the objects' evaluated
// states; the records give what the states leave out (fill pattern, label,
// whether shown).
void DrawObjects(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& states,
                 const TPointRecords& records, const TPenSettings& settings);
// The same with the document's objects and settings.
void DrawObjects(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& states);

// One curve object's point list: a line of RColorNo1 and RWidth through the
// defined points (broken at undefined ones), filled by the figure type when
// the inside colour shows, and for a point sequence a symbol of ColorNo1
// and Width at each point.
void DrawCurve(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointFunction& object,
               const Tlocus& locus, const TPenSettings& settings);
// Every shown curve object from its list, with PointColors and PointColors2
// (all 22 white first).
void DrawCurves(const TViewMapping& mapping, const TPlotCanvases& canvases, const TLocuses& loci,
                const TPointRecords& records, const TPenSettings& settings);
// The same with the document's objects, Locuses and settings.
void DrawCurves(const TViewMapping& mapping, const TPlotCanvases& canvases);

// The hollow symbols of the shown points once more in copy mode, so that
// they stay white inside over what was drawn after them.
void DrawPointRings(const TViewMapping& mapping, TCanvas& canvas, const TPointStates& states,
                    const TPointRecords& records);
void DrawPointRings(const TViewMapping& mapping, TCanvas& canvas, const TPointStates& states);

// For each shown point or circle that moved between two redraws and keeps
// a path (a locus width other than 0 and 255): a line from where it was to
// where it is, in its faded colour, on the trace canvas and, unless only the
// trace is drawn, on the main canvas.
void DrawPointPaths(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& previous,
                    const TPointStates& current, const TPointRecords& records, const TPenSettings& settings);
void DrawPointPaths(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& previous,
                    const TPointStates& current);
