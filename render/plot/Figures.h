#pragma once

// Figures between objects and axes: their pixel points, drawing, the test of
// what lies under the mouse, and the edits of the document's figure list.
#include "model/Figures.h"
#include "render/gfx/Canvas.h"
#include "render/plot/Pens.h"
#include "render/plot/PlotCanvases.h"
#include "render/view/ViewMapping.h"

#include <QPoint>
#include <optional>
#include <span>
#include <vector>

class ScaleT;

// The colours each figure was last drawn with on the trace canvas, and its
// fill; white when it left no trace. What the next trace record keeps.
extern TFigureColours SegmentColors;
extern TFigureColours SegmentColors2;
void ResetSegmentColors();

// What figures read of the document and the view besides the list.
struct TFigureSettings {
    TPenSettings Pen;           // its context gives the magnification
    std::uint8_t ShowSync = 0;  // hiding an object or an axis hides its figures
    std::uint8_t AngleArea = 1; // 2: angle marks and arcs take the angle below a half turn
    bool XAxisShown = true;
    bool YAxisShown = true;
    TOffsetArray<std::uint8_t, 1, PointCount> ObjectShown = TOffsetArray<std::uint8_t, 1, PointCount>::filledWith(1);
};
TFigureSettings DocumentFigureSettings(const ScaleT& view, const TDrawContext& context);

// A figure list seen through one mapping: what geometry, drawing and hit
// tests work on. The list must outlive it.
struct TFigureView {
    const TSegments& Figures;
    TViewMapping Mapping;
    TFigureSettings Settings;
};
// The document's figures on the view at a magnification.
TFigureView DocumentFigureView(const ScaleT& view, int magnification = 1);

// The two pixel ends of an edge of a figure of this kind between vertices a
// and b: an end on a horizontal line (or the x axis) takes the other end's
// x, one on a vertical line (or the y axis) its y, so an edge to a line ends
// at its foot; a rectangle against a line becomes a band across the view.
// Lines run from border to border, half-lines to the border. Nothing when
// there is nothing to draw.
std::optional<TPointLine> EdgePixels(const TFigureView& view, std::uint8_t kind, int a, int b);

// The pixel points of figure s: one per used vertex, and the first again at
// the end of a polygon. An angle mark's outer points lie 1000 pixels out
// along its arms; a right-angle mark's three points are its small square
// corner. Nothing when the figure cannot be drawn: an unknown kind or
// vertex number, a vertex that cannot be evaluated or is hidden, a line
// where a point is needed, two lines that do not span an edge.
std::optional<std::vector<QPoint>> BuildPolygon(const TFigureView& view, int s);

// The size of angle marks and right-angle marks: the head length of an
// arrow drawn with the figure's pen.
int FigureArrowSize(const Tsegment& figure, const TPenSettings& settings);

// The Bézier figure through the points: pieces of up to four points, each
// starting where the one before ended, 60 samples each, then the last
// point.
constexpr int BezierSamplesPerPiece = 60;
int BezierPieceCount(int pointCount);
std::vector<QPoint> BezierPoints(std::span<const QPoint> points);

// Draws figure s with mask pens: in full colours and fill, or (for a trace
// without fills) in the faded colour without fill. Tools are restored.
void DrawSegment(const TFigureView& view, TCanvas& canvas, int s, bool fullColours);
// Every shown figure onto the main canvas, and those that leave a trace (or
// all, with TraceAll) onto the trace canvas; SegmentColors and
// SegmentColors2 record what went to the trace.
void DrawAll(const TFigureView& view, const TPlotCanvases& canvases);
// Every figure that leaves a trace (a replayed record's list).
void DrawTraced(const TFigureView& view, TCanvas& canvas);
// The figures' step of the scene: the list (the document's unless told
// otherwise) with the document's settings, at the mapping's magnification.
void DrawFigures(const ScaleT& scale, const TViewMapping& mapping, const TPlotCanvases& canvases,
                 const TSegments& figures = Segments);

// Whether the mouse at (mx, my) is on figure s.
bool HitSegment(const TFigureView& view, int s, int mx, int my);
// The topmost figure under the mouse; 0 when none.
int HitTest(const TFigureView& view, int mx, int my);

