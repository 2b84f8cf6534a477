#include "render/plot/Objects.h"

#include "model/Colors.h"
#include "render/markup/ObjectLabel.h"
#include "render/plot/BrushPattern.h"
#include "render/plot/Functions.h"

#include <algorithm>
#include <cstdlib>

TOffsetArray<TColor, 1, PointCount> PointColors = TOffsetArray<TColor, 1, PointCount>::filledWith(NoTraceColor);
TOffsetArray<TColor, 1, PointCount> PointColors2 = TOffsetArray<TColor, 1, PointCount>::filledWith(NoTraceColor);

void ResetPointColors()
{
    PointColors.fill(NoTraceColor);
    PointColors2.fill(NoTraceColor);
}

void SetObjectPen(TCanvas& canvas, TColor color, TColor brushColor, int width, std::uint8_t lineStyle,
                  const TDrawContext& context)
{
    canvas.Pen = TPen{.Color = MonochromeColor(color),
                      .Width = context.Magnify(width),
                      .Style = PenStyleCode(lineStyle),
                      .Mode = TPenMode::Mask};
    canvas.Brush = TBrush{};
    canvas.Brush.Color = MonochromeColor(brushColor);
}

void DrawPointSymbol(TCanvas& canvas, QPoint at, TColor color, std::uint8_t width, bool hollow,
                     const TDrawContext& context)
{
    const int r = context.Magnify(width + 2);
    const TColor shown = MonochromeColor(color);
    // A hollow symbol keeps the thinnest outline.
    canvas.Pen = TPen{.Color = shown, .Width = hollow ? 0 : 1, .Style = TPenStyle::Solid, .Mode = canvas.Pen.Mode};
    canvas.Brush = TBrush{};
    canvas.Brush.Color = hollow ? ColorWhite : shown;
    canvas.Ellipse(at.x() - r, at.y() - r, at.x() + r + 1, at.y() + r + 1);
}

void DrawPointSymbols(const TPlotCanvases& canvases, bool traced, QPoint at, TColor color, std::uint8_t width,
                      bool hollow, const TDrawContext& context)
{
    if (IsWhiteColor(color))
        return;
    if (TCanvas* main = canvases.MainCanvas()) {
        main->Pen.Mode = TPenMode::Mask;
        DrawPointSymbol(*main, at, color, width, hollow, context);
    }
    if (TCanvas* trace = canvases.TraceCanvas(traced)) {
        trace->Pen.Mode = TPenMode::Mask;
        DrawPointSymbol(*trace, at, FadeColorBySetting(color), width, hollow, context);
    }
}

namespace {

// A point, a circle or a line in pixels, with what its drawing needs.
struct ObjectShape {
    int Kind = 0;
    QPoint At;      // the point or centre; the line's row or column
    int Rx = 0;     // the radius along x and along y, in pixels
    int Ry = 0;
    bool Band = false; // a line with a second line at the radius
    int Width = 0;  // the magnified width and height of the view
    int Height = 0;

    ObjectShape(const TPointState& s, const TViewMapping& mapping)
        : Kind(s.Kind)
        , At(mapping.WorldToPoint({s.X, s.Y}))
        , Rx(mapping.X.LengthToPixels(s.R).Pixel)
        , Ry(mapping.Y.LengthToPixels(s.R).Pixel)
        , Band(s.R != 0.0L)
        , Width(mapping.X.MagnifiedPixels())
        , Height(mapping.Y.MagnifiedPixels())
    {
    }

    // The circle's box; a negative radius draws the same circle.
    TRect CircleBox() const
    {
        const int rx = std::abs(Rx);
        const int ry = std::abs(Ry);
        return {At.x() - rx, At.y() - ry, At.x() + rx + 1, At.y() + ry + 1};
    }

    void DrawOutline(TCanvas& canvas, const TPenSettings& settings) const
    {
        if (Kind == ObjectCircle) {
            const TPen pen = canvas.Pen;
            const TBrush brush = canvas.Brush;
            CreateStyledPen(canvas, TPenCap::Round, settings);
            const TRect box = CircleBox();
            canvas.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
            canvas.Pen = pen;
            canvas.Brush = brush;
        } else if (Kind == ObjectHorizontalLine) {
            DrawLineSeg(canvas, 0, At.y(), Width, At.y(), settings);
            if (Band)
                DrawLineSeg(canvas, 0, At.y() - Ry, Width, At.y() - Ry, settings);
        } else if (Kind == ObjectVerticalLine) {
            DrawLineSeg(canvas, At.x(), 0, At.x(), Height, settings);
            if (Band)
                DrawLineSeg(canvas, At.x() + Rx, 0, At.x() + Rx, Height, settings);
        }
    }

    // The inside of a circle or a band, with the canvas's brush; the white
    // pen leaves no outline under the mask mode.
    void DrawInside(TCanvas& canvas, const TDrawContext& context) const
    {
        const int margin = context.Magnify(10);
        if (Kind == ObjectCircle) {
            const TRect box = CircleBox();
            canvas.Ellipse(box.Left, box.Top, box.Right, box.Bottom);
        } else if (Kind == ObjectHorizontalLine && Band) {
            const int y2 = At.y() - Ry;
            canvas.Rectangle(-margin, std::min(At.y(), y2), Width + margin, std::max(At.y(), y2));
        } else if (Kind == ObjectVerticalLine && Band) {
            const int x2 = At.x() + Rx;
            canvas.Rectangle(std::min(At.x(), x2), -margin, std::max(At.x(), x2), Height + margin);
        }
    }
};

// A circle's outline takes the radius part's colour, width and trace flag;
// a line's those of the point.
struct ShapeStyle {
    TColor Color;
    std::uint8_t Width;
    bool Traced;
};
ShapeStyle StyleOf(const TPointState& s)
{
    if (s.Kind == ObjectCircle)
        return {s.RColorNo1, s.RWidth, s.RAImg != 0};
    return {s.ColorNo1, s.Width, s.PointAImg != 0};
}

// Fill, then outline, on one canvas; on the trace canvas in faded colours.
void DrawShapeOn(TCanvas& canvas, bool onTrace, bool fill, const ObjectShape& shape, const TPointState& s,
                 const TPointFunction& record, const TPenSettings& settings)
{
    const TDrawContext& context = settings.Context;
    const auto shown = [onTrace](TColor c) { return onTrace ? FadeColorBySetting(c) : c; };
    if (fill && !IsWhiteColor(s.InsideColor)) {
        SetObjectPen(canvas, ColorWhite, shown(s.InsideColor), 1, 1, context);
        SetBrushPattern(canvas.Brush, record.Pattern);
        shape.DrawInside(canvas, context);
    }
    const ShapeStyle style = StyleOf(s);
    SetObjectPen(canvas, shown(style.Color), shown(style.Color), style.Width, s.LineStyle, context);
    shape.DrawOutline(canvas, settings);
    ResetPenAndBrush(canvas);
}

void DrawShape(const TPlotCanvases& canvases, const ObjectShape& shape, const TPointState& s,
               const TPointFunction& record, const TPenSettings& settings)
{
    const bool traced = StyleOf(s).Traced;
    if (TCanvas* main = canvases.MainCanvas())
        DrawShapeOn(*main, false, true, shape, s, record, settings);
    if (TCanvas* trace = canvases.TraceCanvas(traced))
        DrawShapeOn(*trace, true, settings.AimgOfArea != 0, shape, s, record, settings);
}

void DrawLabel(TCanvas& canvas, const ObjectShape& shape, const TPointFunction& record, int k,
               const TDrawContext& context)
{
    // Position 0: no label position chosen, nothing shown.
    if (record.LabelPos == 0 || record.Label.isEmpty())
        return;
    const TRect view{0, 0, shape.Width, shape.Height};
    DrawObjectLabel(canvas, record.LabelPos, record.Label, shape.Kind, shape.At, view, k, context);
}

bool IsPointOrCircle(const TPointState& s)
{
    return s.Kind == ObjectPoint || s.Kind == ObjectCircle;
}

} // namespace

void DrawObjects(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& states,
                 const TPointRecords& records, const TPenSettings& settings)
{
    const TDrawContext& context = settings.Context;
    for (int k = 1; k <= PointCount; ++k) {
        const TPointState& s = states[k];
        const TPointFunction& record = records[k];
        if (!record.Shown || s.Kind == ObjectEmpty || s.Kind > ObjectVerticalLine)
            continue;
        const ObjectShape shape(s, mapping);
        if (s.Kind != ObjectPoint)
            DrawShape(canvases, shape, s, record, settings);
        if (IsPointOrCircle(s)) {
            // A circle's centre is always filled.
            const bool hollow = s.Kind == ObjectPoint && s.PointStyle != 0;
            DrawPointSymbols(canvases, s.PointAImg != 0, shape.At, s.ColorNo1, s.Width, hollow, context);
        }
        for (TCanvas* canvas : {canvases.MainCanvas(), canvases.TraceCanvas(s.PointAImg != 0)})
            if (canvas)
                ResetPenAndBrush(*canvas);
        if (TCanvas* main = canvases.MainCanvas())
            DrawLabel(*main, shape, record, k, context);
    }
}

void DrawObjects(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& states)
{
    DrawObjects(mapping, canvases, states, DocumentTables.Points, DocumentPenSettings(mapping.Context()));
}

void DrawPointRings(const TViewMapping& mapping, TCanvas& canvas, const TPointStates& states,
                    const TPointRecords& records)
{
    const TDrawContext context = mapping.Context();
    bool drawn = false;
    for (int k = 1; k <= PointCount; ++k) {
        const TPointState& s = states[k];
        if (!records[k].Shown || s.Kind != ObjectPoint || s.PointStyle == 0 || IsWhiteColor(s.ColorNo1))
            continue;
        canvas.Pen.Mode = TPenMode::Copy;
        DrawPointSymbol(canvas, mapping.WorldToPoint({s.X, s.Y}), s.ColorNo1, s.Width, true, context);
        drawn = true;
    }
    if (drawn)
        ResetPenAndBrush(canvas);
}

void DrawPointRings(const TViewMapping& mapping, TCanvas& canvas, const TPointStates& states)
{
    DrawPointRings(mapping, canvas, states, DocumentTables.Points);
}

void DrawPointPaths(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& previous,
                    const TPointStates& current, const TPointRecords& records, const TPenSettings& settings)
{
    for (int k = 1; k <= PointCount; ++k) {
        const TPointState& was = previous[k];
        const TPointState& is = current[k];
        if (!records[k].Shown || !IsPointOrCircle(was) || !IsPointOrCircle(is))
            continue;
        if (is.LocusWidth == 0 || is.LocusWidth == 255)
            continue;
        const QPoint from = mapping.WorldToPoint({was.X, was.Y});
        const QPoint to = mapping.WorldToPoint({is.X, is.Y});
        const TColor color = FadeColorBySetting(is.ColorNo1);
        for (TCanvas* canvas : {canvases.Trace, canvases.MainCanvas()}) {
            if (!canvas)
                continue;
            SetObjectPen(*canvas, color, color, is.LocusWidth, 1, settings.Context);
            DrawLineSeg(*canvas, from.x(), from.y(), to.x(), to.y(), settings);
            ResetPenAndBrush(*canvas);
        }
    }
}

void DrawPointPaths(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointStates& previous,
                    const TPointStates& current)
{
    DrawPointPaths(mapping, canvases, previous, current, DocumentTables.Points, DocumentPenSettings(mapping.Context()));
}
