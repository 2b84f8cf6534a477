#include "render/plot/ArrowsAndBraces.h"
#include "render/plot/BrushPattern.h"
#include "render/plot/FigureGeometry.h"

#include "engine/Compiler.h"
#include "model/Colors.h"
#include "model/Numeric.h"
#include "render/markup/ObjectLabel.h"

#include <cmath>

TFigureColours SegmentColors = TFigureColours::filledWith(NoTraceColor);
TFigureColours SegmentColors2 = TFigureColours::filledWith(NoTraceColor);

void ResetSegmentColors()
{
    SegmentColors.fill(NoTraceColor);
    SegmentColors2.fill(NoTraceColor);
}

namespace {

QPoint Middle(QPoint a, QPoint b)
{
    return {NearestInt((a.x() + b.x()) / 2.0L), NearestInt((a.y() + b.y()) / 2.0L)};
}

// Mask pen in the figure's colour, width and style; brush in its fill and
// pattern. A trace without fills takes the faded colour and no fill.
void SetFigureTools(TCanvas& canvas, const Tsegment& f, bool fullColours, const TPenSettings& settings)
{
    const bool full = fullColours || settings.AimgOfArea != 0;
    const TColor pen = full ? f.Color : FadeColorBySetting(f.Color);
    const TColor fill = full ? f.InsideColor : ColorWhite;
    canvas.Pen = TPen{.Color = MonochromeColor(pen),
                      .Width = settings.Context.Magnify(f.Width),
                      .Style = PenStyleCode(f.LineStyle),
                      .Mode = TPenMode::Mask};
    canvas.Brush.Color = MonochromeColor(fill);
    SetBrushPattern(canvas.Brush, f.Pattern);
}

// The sector filled when there is a fill (a pie for angle marks, a chord
// for arcs), then the arc with the pen made styled for it. Returns the
// label's anchor: the middle of the arc.
std::optional<QPoint> DrawArcMark(TCanvas& canvas, const TFigureView& view, const Tsegment& f,
                                  std::span<const QPoint> points)
{
    const std::optional<TArcMark> mark = ArcMarkOf(view, f, points);
    if (!mark)
        return std::nullopt;
    const QPoint c = mark->Centre;
    const int r = mark->Radius;
    const int left = c.x() - r, top = c.y() - r, right = c.x() + r + 1, bottom = c.y() + r + 1;
    const QPoint s = mark->Start, e = mark->End;
    if (!IsWhiteColor(canvas.Brush.Color)) {
        const TPenStyle style = canvas.Pen.Style;
        canvas.Pen.Style = TPenStyle::Clear;
        if (f.Kind == FigureAngle)
            canvas.Pie(left, top, right, bottom, s.x(), s.y(), e.x(), e.y());
        else
            canvas.Chord(left, top, right, bottom, s.x(), s.y(), e.x(), e.y());
        canvas.Pen.Style = style;
    }
    const TPen pen = canvas.Pen;
    CreateStyledPen(canvas, TPenCap::Round, view.Settings.Pen);
    canvas.Arc(left, top, right, bottom, s.x(), s.y(), e.x(), e.y());
    canvas.Pen = pen;
    const long double middle = mark->StartAngle + mark->Sweep / 2.0L;
    return QPoint(NearestInt(c.x() + r * std::cos(middle)), NearestInt(c.y() - r * std::sin(middle)));
}

// Draws the figure's shape with the tools set; returns the label's anchor.
std::optional<QPoint> DrawShape(TCanvas& canvas, const TFigureView& view, const Tsegment& f,
                                std::vector<QPoint>& points)
{
    const TPenSettings& settings = view.Settings.Pen;
    const QPoint p1 = points.front();
    const QPoint p2 = points.size() > 1 ? points[1] : p1;
    switch (f.Kind) {
    case FigureSegment:
    case FigureLine:
    case FigureHalfLine:
        DrawLineSeg(canvas, p1.x(), p1.y(), p2.x(), p2.y(), settings);
        return Middle(p1, p2);
    case FigureArrow:
        DrawArrow(canvas, p1.x(), p1.y(), p2.x(), p2.y(), settings);
        return Middle(p1, p2);
    case FigureRectangle: {
        const QPoint corners[4] = {p1, {p2.x(), p1.y()}, p2, {p1.x(), p2.y()}};
        DrawPolygonAndOutline(canvas, corners, settings);
        return Middle(p1, p2);
    }
    case FigurePolyline:
        DrawPolyline(canvas, points, settings);
        return VertexMeanPixel(view, f);
    case FigurePolygon:
        points.pop_back(); // closed again by the outline
        DrawPolygonAndOutline(canvas, points, settings);
        return VertexMeanPixel(view, f);
    case FigureAngle:
    case FigureArc:
        return DrawArcMark(canvas, view, f, points);
    case FigureBrace:
        return DrawBrace(canvas, p1.x(), p1.y(), p2.x(), p2.y(), settings);
    case FigureBezier:
        DrawPolyline(canvas, BezierPoints(points), settings);
        return VertexMeanPixel(view, f);
    case FigureRightAngle:
        DrawPolyline(canvas, points, settings);
        return VertexMeanPixel(view, f);
    default:
        return std::nullopt;
    }
}

TRect ViewRect(const TViewMapping& mapping)
{
    return {0, 0, mapping.X.MagnifiedPixels(), mapping.Y.MagnifiedPixels()};
}

} // namespace

void DrawSegment(const TFigureView& view, TCanvas& canvas, int s, bool fullColours)
{
    std::optional<std::vector<QPoint>> points = BuildPolygon(view, s);
    if (!points)
        return;
    const Tsegment& f = view.Figures.Data.Items[s];
    const TCanvas::TTools saved = canvas.SaveTools();
    SetFigureTools(canvas, f, fullColours, view.Settings.Pen);
    const std::optional<QPoint> anchor = DrawShape(canvas, view, f, *points);
    if (anchor && !f.Label.isEmpty())
        DrawObjectLabel(canvas, f.LabelPos, f.Label, 0, *anchor, ViewRect(view.Mapping), ModePlain,
                        view.Settings.Pen.Context);
    canvas.RestoreTools(saved);
}

void DrawAll(const TFigureView& view, const TPlotCanvases& canvases)
{
    ResetSegmentColors();
    const bool fullTraces = view.Settings.Pen.AimgOfArea != 0;
    for (int s = 1; s <= view.Figures.Count(); ++s) {
        const Tsegment& f = view.Figures.Data.Items[s];
        if (!f.Shown)
            continue;
        if (TCanvas* main = canvases.MainCanvas())
            DrawSegment(view, *main, s, true);
        if (!canvases.Traces(f.AfterImage != 0))
            continue;
        if (canvases.Trace)
            DrawSegment(view, *canvases.Trace, s, fullTraces);
        SegmentColors[s] = f.Color;
        SegmentColors2[s] = f.InsideColor;
    }
}

void DrawTraced(const TFigureView& view, TCanvas& canvas)
{
    const bool fullTraces = view.Settings.Pen.AimgOfArea != 0;
    for (int s = 1; s <= view.Figures.Count(); ++s) {
        const Tsegment& f = view.Figures.Data.Items[s];
        if (f.Shown && f.AfterImage)
            DrawSegment(view, canvas, s, fullTraces);
    }
}

void DrawFigures(const ScaleT& scale, const TViewMapping& mapping, const TPlotCanvases& canvases,
                 const TSegments& figures)
{
    DrawAll({figures, mapping, DocumentFigureSettings(scale, mapping.Context())}, canvases);
}
