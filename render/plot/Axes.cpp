#include "render/plot/Axes.h"

#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/plot/ArrowsAndBraces.h"
#include "render/plot/AxesTicks.h"
#include "render/plot/CoordinateText.h"
#include "render/plot/Grid.h"
#include "render/plot/Rulers.h"
#include "render/plot/TickLabels.h"
#include "render/view/TickLabelAids.h"

#include <algorithm>

TAxesSettings DocumentAxesSettings(const TDrawContext& context)
{
    TAxesSettings settings;
    settings.Pen = DocumentPenSettings(context);
    settings.AxisType = Options.AxisType;
    settings.DegreeLabels = Options.AngleMode == 2 && Options.DegreeFont != 0;
    settings.OriginLabelled = DocumentTables.Points[PointCount].LabelPos != 0;
    return settings;
}

TAxesFrame::TAxesFrame(const ScaleT& view, const TViewMapping& mapping, const TAxesSettings& settings)
    : View(view)
    , Mapping(mapping)
    , Settings(settings)
{
    Settings.Pen.Context = mapping.Context();
    MeshStyle = std::max(1, NearestInt(Magnify(view.AxisWidth) / 2.0L));
    xStep_ = view.XAxis.CalcTickStep();
    yStep_ = IsPolar() ? xStep_ : view.YAxis.CalcTickStep();
    xPi_ = view.XAxis.IsPiBase();
    yPi_ = view.YAxis.IsPiBase();
}

long double TAxesFrame::TickSpacing(TAxisRole role, long double length) const
{
    const TAxisMapping& mapping = AxisMapping(role);
    return length * mapping.PixelsPerUnit * mapping.Magnification;
}

int TickHalfLength(const TAxesFrame& frame)
{
    return frame.Magnify(frame.View.AxisWidth + 3);
}

void DrawAxisLine(TCanvas& canvas, const TAxesFrame& frame, int x1, int y1, int x2, int y2)
{
    if (frame.View.AxisStyle == 0)
        DrawArrow(canvas, x1, y1, x2, y2, frame.Settings.Pen);
    else
        DrawLineSeg(canvas, x1, y1, x2, y2, frame.Settings.Pen);
}

namespace {

// The point at `along` on the axis's own direction and `across` on the
// other: (along, across) for the x axis, (across, along) for the y axis.
QPoint OnAxis(TAxisRole role, int along, int across)
{
    return role == TAxisRole::X ? QPoint(along, across) : QPoint(across, along);
}

// A grid line across the view, or a tick mark across the axis line, at the
// tick's pixel p.
struct TTickMarks {
    TAxisRole Role;
    int LinePixel;
    bool GridLines;
    bool Marks;
    int GridEnd;
    int Half;

    void Draw(TCanvas& canvas, int p) const
    {
        if (!GridLines && !Marks)
            return;
        const QPoint from = GridLines ? OnAxis(Role, p, 0) : OnAxis(Role, p, LinePixel - Half);
        const QPoint to = GridLines ? OnAxis(Role, p, GridEnd) : OnAxis(Role, p, LinePixel + Half);
        canvas.MoveTo(from.x(), from.y());
        canvas.LineTo(to.x(), to.y());
    }
};

void DrawLineAndName(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, int linePixel, bool ruler)
{
    const ScaleSubT& axis = frame.Axis(role);
    const int right = frame.Magnify(frame.Mapping.X.Pixels);
    SetAxisNameFont(canvas, frame);
    if (role == TAxisRole::X) {
        const int y = linePixel;
        if (!frame.IsPolar() || ruler) {
            DrawAxisLine(canvas, frame, 0, y, right, y);
        } else {
            // The polar axis is the ray from the pole to the right: none
            // of it shows while the pole lies right of the view.
            const int pole = frame.Mapping.X.ValueToPixel(0.0L).Pixel;
            if (pole < right)
                DrawAxisLine(canvas, frame, pole, y, right, y);
            const int r = TickHalfLength(frame);
            canvas.Pen.Color = ColorBlack;
            canvas.Brush.Style = TBrushStyle::Solid;
            canvas.Brush.Color = ColorBlack;
            canvas.Ellipse(pole - r, y - r, pole + r + 1, y + r + 1);
            canvas.Brush.Style = TBrushStyle::Clear;
        }
        const int w = MeasureAxisName(canvas, frame, axis);
        DrawAxisName(canvas, frame, axis, frame.Magnify(frame.Mapping.X.Pixels - 3) - w - frame.Magnify(3),
                     y + frame.Magnify(3));
    } else {
        const int x = linePixel;
        DrawAxisLine(canvas, frame, x, frame.Magnify(frame.Mapping.Y.Pixels), x, 0);
        const int w = MeasureAxisName(canvas, frame, axis);
        DrawAxisName(canvas, frame, axis, x - w - frame.Magnify(frame.FontSize() / 2), frame.Magnify(2));
    }
}

// The "O" beside the origin in the canvas font, unless the axes are on the
// rulers, neither axis shows, or object O labels itself.
void DrawOriginLetter(TCanvas& canvas, const TAxesFrame& frame)
{
    const ScaleSubT& x = frame.View.XAxis;
    const ScaleSubT& y = frame.View.YAxis;
    if ((!frame.IsPolar() && frame.View.AxisOn) || frame.Settings.OriginLabelled)
        return;
    const bool shown = (x.AxesVisible && y.AxesVisible) || (x.AxesVisible && x.ValueVisible) ||
                       (y.AxesVisible && y.ValueVisible);
    if (!shown)
        return;
    const QString o = QStringLiteral("O");
    const int px = frame.Mapping.X.ValueToPixel(0.0L).Pixel;
    const int py = frame.Mapping.Y.ValueToPixel(0.0L).Pixel;
    canvas.TextOut(px - canvas.TextWidth(o) - frame.Magnify(2), py, o);
}

} // namespace

void DrawAxis(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, int linePixel, bool ruler, int gridLength)
{
    const ScaleT& view = frame.View;
    const ScaleSubT& axis = frame.Axis(role);
    const bool isX = role == TAxisRole::X;
    // With the axes on the rulers, the graph keeps only the grid (the polar
    // x axis stays: it is the polar grid's own).
    const bool hidden = !ruler && view.AxisOn && !(isX && frame.IsPolar());

    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Pen.Mode = TPenMode::Mask;
    SetGridPen(view.PsMesh, canvas.Pen);
    canvas.Pen.Width = frame.MeshStyle;
    if (ruler || !axis.ScaleVisible) {
        canvas.Pen.Color = ColorBlack;
        canvas.Pen.Style = TPenStyle::Solid;
    }

    const long double step = frame.TickStep(role);
    // The polar x axis ticks from the pole outwards.
    const bool fromPole = isX && !ruler && frame.IsPolar();
    const TAxisTicks ticks = TicksFrom(fromPole ? std::max(axis.Low, 0.0L) : axis.Low, axis.High, step);
    const TAxisMapping& mapping = frame.AxisMapping(role);
    const bool grid = !ruler && axis.ScaleVisible && view.PsMesh != 1;
    TTickMarks marks;
    marks.Role = role;
    marks.LinePixel = linePixel;
    marks.GridLines = grid && !(isX && frame.IsPolar());
    marks.Marks = !grid && axis.AxesVisible && !hidden && (ruler || axis.GuideVisible);
    marks.GridEnd = frame.Magnify(gridLength);
    marks.Half = TickHalfLength(frame);
    const bool labels = !hidden && axis.AxesVisible && axis.ValueVisible;
    const std::int64_t interval = labels ? LabelledTickInterval(canvas, frame, role, ruler, ticks) : 1;
    const auto label = [&](std::int64_t i) {
        const long double t = ticks.At(i);
        DrawTickLabel(canvas, frame, role, false, ruler, OnAxis(role, mapping.ValueToPixel(t).Pixel, linePixel), t);
    };

    if (frame.TickSpacing(role, step) >= 1.0L) {
        for (std::int64_t i = 0; i < ticks.Count; ++i) {
            marks.Draw(canvas, mapping.ValueToPixel(ticks.At(i)).Pixel);
            if (labels && ticks.IsLabelled(i, interval))
                label(i);
        }
    } else if (ticks.Count > 0) {
        // Ticks closer than a pixel (the polar y ruler ticks by the x step):
        // every pixel from the first tick to the last has one, and the same
        // line drawn again with the mask pen changes nothing.
        const int p0 = mapping.ValueToPixel(ticks.At(0)).Pixel;
        const int p1 = mapping.ValueToPixel(ticks.At(ticks.Count - 1)).Pixel;
        for (int p = std::min(p0, p1); p <= std::max(p0, p1); ++p)
            marks.Draw(canvas, p);
        if (labels)
            for (std::int64_t i = ticks.FirstLabelled(interval); i < ticks.Count; i += interval)
                label(i);
    }

    if (hidden)
        return;
    canvas.Pen.Color = ColorBlack;
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Pen.Width = frame.Magnify(view.AxisWidth);
    if (axis.AxesVisible)
        DrawLineAndName(canvas, frame, role, linePixel, ruler);
}

void DrawXAxis(TCanvas& canvas, const TAxesFrame& frame, int y, bool ruler, int gridLength)
{
    DrawAxis(canvas, frame, TAxisRole::X, y, ruler, gridLength);
}

void DrawYAxis(TCanvas& canvas, const TAxesFrame& frame, int x, bool ruler, int gridLength)
{
    DrawAxis(canvas, frame, TAxisRole::Y, x, ruler, gridLength);
}

TAxesLayer DrawAxes(TCanvas& canvas, const ScaleT& view, const TViewMapping& mapping, const TAxesSettings& settings,
                    TAxisPanelsHost& host)
{
    const TAxesFrame frame(view, mapping, settings);
    const int m = frame.Magnification();
    const bool onScreen = m == 1;
    TAxesLayer layer;
    layer.MeshStyle = frame.MeshStyle;

    const int xAxisRow = mapping.Y.ValueToPixel(0.0L).Pixel;
    if (!frame.IsPolar()) {
        if (view.PsMesh == 1)
            DrawGridCrosses(canvas, frame);
        DrawXAxis(canvas, frame, xAxisRow, false, mapping.Y.Pixels);
        DrawYAxis(canvas, frame, mapping.X.ValueToPixel(0.0L).Pixel, false, mapping.X.Pixels);
    } else {
        DrawPolarGrid(canvas, frame);
        DrawXAxis(canvas, frame, xAxisRow, false, mapping.Y.Pixels);
    }

    // The ruler strips fit the widest y label and a stacked x label.
    const int labelsWidth = MeasureYLabels(canvas, frame);
    SetTickLabelFont(canvas, frame);
    const int digitHeight = canvas.TextHeight(QStringLiteral("8"));
    const TRulerPanelSizes panels = RulerPanelSizes(labelsWidth / m, digitHeight / m);
    if (onScreen)
        host.SizeRulerPanels(panels);

    layer.XRangeText = AxisRangeText(view.XAxis);
    layer.YRangeText = AxisRangeText(view.YAxis);
    host.SetRangeTexts(layer.XRangeText, layer.YRangeText);

    const TRulerImageSizes images =
        host.RulerImageSizes().value_or(RulerImagesOfPanels(panels, mapping.X.Pixels, mapping.Y.Pixels));
    layer.XRulerMetafile = XRulerMetafile(frame, images.X);
    layer.YRulerMetafile = YRulerMetafile(frame, images.Y);
    if (onScreen) {
        host.ShowRulers(layer.XRulerMetafile, layer.YRulerMetafile);
        host.ArrangePanels();
    }

    canvas.Pen.Color = ColorBlack;
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Pen.Width = frame.Magnify(view.AxisWidth);
    canvas.Pen.Mode = TPenMode::Copy;
    SetAxisNameFont(canvas, frame);
    DrawOriginLetter(canvas, frame);
    return layer;
}

TAxesLayer DrawAxes(TCanvas& canvas, const ScaleT& view, const TViewMapping& mapping)
{
    TAxesLayer layer = DrawAxes(canvas, view, mapping, DocumentAxesSettings(mapping.Context()), CurrentAxisPanelsHost());
    Options.MeshStyle = static_cast<std::uint8_t>(std::min(layer.MeshStyle, 255));
    return layer;
}
