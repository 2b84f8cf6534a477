#include "render/plot/Pens.h"

#include "model/Options.h"
#include "model/ProgramState.h"

#include <vector>

TPenSettings DocumentPenSettings(const TDrawContext& context)
{
    TPenSettings settings;
    settings.Context = context;
    settings.FontSize = ProgramState.FontSize;
    settings.CapStyle = Options.CapStyle;
    settings.AimgOfArea = Options.AimgOfArea;
    return settings;
}

TPenStyle PenStyleCode(int lineStyle)
{
    switch (lineStyle) {
    case 0:
        return TPenStyle::Clear;
    case 2:
        return TPenStyle::Dash;
    case 3:
        return TPenStyle::Dot;
    case 4:
        return TPenStyle::DashDot;
    default:
        return TPenStyle::Solid;
    }
}

bool CreateStyledPen(TCanvas& canvas, TPenCap caps, const TPenSettings& settings)
{
    canvas.Brush.Style = TBrushStyle::Clear;
    TPen& pen = canvas.Pen;
    // Thin pens dash by themselves, and a white pen is never seen.
    const bool needsGeometric = pen.Style != TPenStyle::Solid || settings.CapStyle != 0;
    if (!needsGeometric || pen.Width <= 1 || IsWhiteColor(pen.Color))
        return false;
    pen.Geometric = true;
    pen.Cap = settings.CapStyle >= 1 ? TPenCap::Flat : caps;
    return true;
}

void DrawStyledPolyline(TCanvas& canvas, std::span<const QPoint> points, TPenCap caps, const TPenSettings& settings)
{
    if (canvas.Pen.Style == TPenStyle::Clear || IsWhiteColor(canvas.Pen.Color))
        return;
    const TPen pen = canvas.Pen;
    const TBrush brush = canvas.Brush;
    CreateStyledPen(canvas, caps, settings);
    canvas.Polyline(points);
    canvas.Pen = pen;
    canvas.Brush = brush;
}

void DrawPolyline(TCanvas& canvas, std::span<const QPoint> points, const TPenSettings& settings)
{
    DrawStyledPolyline(canvas, points, TPenCap::Round, settings);
}

void DrawPolygonAndOutline(TCanvas& canvas, std::span<const QPoint> points, const TPenSettings& settings)
{
    if (points.empty())
        return;
    if (!IsWhiteColor(canvas.Brush.Color) || canvas.Brush.Style == TBrushStyle::Bitmap) {
        const TPenStyle style = canvas.Pen.Style;
        canvas.Pen.Style = TPenStyle::Clear;
        canvas.Polygon(points);
        canvas.Pen.Style = style;
    }
    std::vector<QPoint> closed(points.begin(), points.end());
    closed.push_back(points.front());
    DrawPolyline(canvas, closed, settings);
}

void DrawLineSeg(TCanvas& canvas, int x1, int y1, int x2, int y2, const TPenSettings& settings)
{
    const QPoint line[2] = {QPoint(x1, y1), QPoint(x2, y2)};
    DrawPolyline(canvas, line, settings);
}

void DrawRectOutline(TCanvas& canvas, int left, int top, int right, int bottom)
{
    canvas.MoveTo(left, top);
    canvas.LineTo(left, bottom);
    canvas.LineTo(right, bottom);
    canvas.LineTo(right, top);
    canvas.LineTo(left, top);
}
