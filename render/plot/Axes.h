#pragma once

// The axes layer of the graph: grid, tick marks, tick labels, the axis
// lines with their names, the origin's "O", and the two rulers beside the
// graph. Everything is drawn at the mapping's magnification.
#include "render/gfx/Canvas.h"
#include "render/gfx/Metafile.h"
#include "render/plot/Pens.h"
#include "render/view/Scale.h"
#include "render/view/ViewMapping.h"

#include <QPoint>
#include <QString>
#include <cstdint>

class TAxisPanelsHost;

// What the axes layer reads from the open document besides the view.
struct TAxesSettings {
    TPenSettings Pen;            // label font size and line ends; the context is the mapping's
    std::uint8_t AxisType = 0;   // 0 Cartesian, 1 polar
    bool DegreeLabels = false;   // x labels end in "°" (degree mode with the degree option)
    bool OriginLabelled = false; // object O shows its own label: no "O" at the origin
};
TAxesSettings DocumentAxesSettings(const TDrawContext& context);

enum class TAxisRole : std::uint8_t { X, Y };

// One drawing of the axes layer: the view's axes and options, its mapping
// at the output magnification and the document's settings.
class TAxesFrame {
public:
    // The view and the mapping must outlive the frame.
    TAxesFrame(const ScaleT& view, const TViewMapping& mapping, const TAxesSettings& settings);
    TAxesFrame(const ScaleT& view, TViewMapping&& mapping, const TAxesSettings& settings) = delete;

    const ScaleT& View;
    const TViewMapping& Mapping;
    TAxesSettings Settings;
    int MeshStyle = 1; // the grid pen's width: half the axis pen's, at least 1

    int Magnify(long double size) const { return Settings.Pen.Context.Magnify(size); }
    int Magnification() const { return Settings.Pen.Context.Magnification; }
    bool IsPolar() const { return Settings.AxisType == 1; }
    int FontSize() const { return Settings.Pen.FontSize; }
    const ScaleSubT& Axis(TAxisRole role) const { return role == TAxisRole::X ? View.XAxis : View.YAxis; }
    const TAxisMapping& AxisMapping(TAxisRole role) const { return role == TAxisRole::X ? Mapping.X : Mapping.Y; }
    // The tick step of an axis; the polar view's y ruler ticks by the x step.
    long double TickStep(TAxisRole role) const { return role == TAxisRole::X ? xStep_ : yStep_; }
    // Whether the axis's tick unit is a multiple of π (labels in π).
    bool IsPiAxis(TAxisRole role) const { return role == TAxisRole::X ? xPi_ : yPi_; }
    // A world length along an axis in (magnified) pixels, before rounding.
    long double TickSpacing(TAxisRole role, long double length) const;

private:
    // Asked for every tick and label; the answers take a continued fraction.
    long double xStep_ = 1.0L;
    long double yStep_ = 1.0L;
    bool xPi_ = false;
    bool yPi_ = false;
};

// What one drawing of the axes layer leaves besides the layer itself: the
// two rulers (the x ruler goes under the graph, the y ruler left of it) and
// the graph window's range texts.
struct TAxesLayer {
    TMetafile XRulerMetafile;
    TMetafile YRulerMetafile;
    QString XRangeText; // "-5.00 < x <  5.00"
    QString YRangeText;
    int MeshStyle = 1;
};

// The whole axes layer into the canvas (the background layer's picture of
// the view's size): the grid, both axes, the rulers and range texts handed
// to the host, the "O" at the origin.
TAxesLayer DrawAxes(TCanvas& canvas, const ScaleT& view, const TViewMapping& mapping,
                    const TAxesSettings& settings, TAxisPanelsHost& host);
// The same with the open document's settings and the installed host; the
// grid pen width is kept in the document's options for the hit tests.
TAxesLayer DrawAxes(TCanvas& canvas, const ScaleT& view, const TViewMapping& mapping);

// One axis with its grid, ticks, labels, line and name. linePixel is where
// the axis line runs: the row of the x axis, the column of the y axis. On a
// ruler the ticks, labels, line and name are drawn whatever AxisOn says and
// there is no grid; gridLength is in unmagnified pixels.
void DrawXAxis(TCanvas& canvas, const TAxesFrame& frame, int y, bool ruler, int gridLength);
void DrawYAxis(TCanvas& canvas, const TAxesFrame& frame, int x, bool ruler, int gridLength);
void DrawAxis(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, int linePixel, bool ruler, int gridLength);

// Half the length of a tick mark: the axis pen's width and 3 more pixels.
int TickHalfLength(const TAxesFrame& frame);
// An axis line, ending in an arrow head unless the view asks for plain lines.
void DrawAxisLine(TCanvas& canvas, const TAxesFrame& frame, int x1, int y1, int x2, int y2);
