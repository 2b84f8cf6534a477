#include "dialogs/PaletteGlyphs.h"

#include "dialogs/FmSetColor.h"
#include "render/gfx/Bitmap.h"
#include "render/plot/BrushPattern.h"
#include "render/plot/Hatch.h"
#include "render/plot/Pens.h"
#include "render/scene/FreePen.h"

#include <vector>

namespace {

constexpr TColor FrameGrey = 0x808080;
constexpr TColor MarkGrey = 0xA0A0A0;
constexpr TColor FillGrey = 0xC0C0C0;
constexpr int Inner = GlyphSize - 1; // the frame's far edge

void SetPen(TCanvas& canvas, TColor color, int width = 1, TPenStyle style = TPenStyle::Solid)
{
    canvas.Pen = TPen{};
    canvas.Pen.Color = color;
    canvas.Pen.Width = width;
    canvas.Pen.Style = style;
}

void SetSolidBrush(TCanvas& canvas, TColor color)
{
    canvas.Brush = TBrush{};
    canvas.Brush.Color = color;
}

// A white tile with a one-pixel grey frame.
QImage PaintTile(int width, auto&& paintInside)
{
    TBitmap bitmap(width, GlyphSize);
    TCanvas& canvas = bitmap.Canvas();
    SetSolidBrush(canvas, ColorWhite);
    SetPen(canvas, FrameGrey);
    canvas.Rectangle(0, 0, width, GlyphSize);
    SetSolidBrush(canvas, ColorWhite);
    SetPen(canvas, ColorBlack);
    paintInside(canvas);
    return bitmap.Image();
}

// The mark of "nothing": a grey diagonal.
void PaintNothingMark(TCanvas& canvas)
{
    SetPen(canvas, MarkGrey, 2);
    canvas.MoveTo(4, Inner - 4);
    canvas.LineTo(Inner - 4, 4);
}

// Two short lines standing for a sticker's text.
void PaintTextLines(TCanvas& canvas)
{
    SetPen(canvas, ColorBlack);
    for (int y : {8, 11}) {
        canvas.MoveTo(6, y);
        canvas.LineTo(14, y);
    }
}

QImage ClearColorGlyph()
{
    return PaintTile(GlyphSize, PaintNothingMark);
}

QImage FreePenColorGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        SetPen(canvas, ColorWhite, 1, TPenStyle::Clear);
        SetSolidBrush(canvas, FreePenColor(n));
        canvas.Ellipse(3, 3, Inner - 2, Inner - 2);
    });
}

QImage BackColorGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        SetPen(canvas, ColorScheme.MemoTextColors[static_cast<std::size_t>(n)]);
        SetSolidBrush(canvas, ColorScheme.MemoBGColors[static_cast<std::size_t>(n)]);
        canvas.RoundRect(2, 3, Inner - 1, Inner - 2, 7, 7);
    });
}

QImage WidthGlyph(int n)
{
    if (n == 0)
        return ClearColorGlyph();
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        SetPen(canvas, ColorBlack, n);
        canvas.Pen.Geometric = true;
        canvas.Pen.Cap = TPenCap::Flat;
        canvas.MoveTo(3, GlyphSize / 2);
        canvas.LineTo(Inner - 2, GlyphSize / 2);
    });
}

// The relation hatch, pixel for pixel as a region on the graph shows it.
QImage HatchGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        for (int x = 1; x < Inner; ++x)
            for (int y = 1; y < Inner; ++y)
                if (HatchPhase(n, x, y) == 0)
                    canvas.SetPixel(x, y, ColorBlack);
    });
}

QImage FillPatternGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        SetPen(canvas, ColorWhite, 1, TPenStyle::Clear);
        canvas.Brush = TFmSetColor::SetBrushPattern(n, ColorBlack);
        canvas.Rectangle(1, 1, Inner + 1, Inner + 1);
    });
}

QImage MemoStyleGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        if (n == 0) {
            PaintNothingMark(canvas);
            return;
        }
        const TColor frame = ColorScheme.MemoTextColors[1];
        const TColor fill = ColorScheme.MemoBGColors[1];
        if (n >= 2) {
            SetPen(canvas, n == 4 ? fill : frame);
            SetSolidBrush(canvas, n == 2 ? ColorWhite : fill);
            if (n == 2)
                canvas.Brush.Style = TBrushStyle::Clear;
            canvas.RoundRect(2, 3, Inner - 1, Inner - 2, 7, 7);
        }
        PaintTextLines(canvas);
    });
}

// A region below a rising boundary, hatched as relations are.
QImage BorderGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        for (int x = 1; x < Inner; ++x)
            for (int y = 1; y < Inner; ++y)
                if (y > Inner - x && HatchPhase(3, x, y) == 0)
                    canvas.SetPixel(x, y, ColorBlack);
        if (n == 0) {
            SetPen(canvas, MarkGrey);
            canvas.MoveTo(1, Inner - 1);
            canvas.LineTo(Inner, 0);
        }
    });
}

QImage PointStyleGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        SetPen(canvas, ColorBlack);
        SetSolidBrush(canvas, n == 0 ? ColorBlack : ColorWhite);
        canvas.Ellipse(5, 5, Inner - 4, Inner - 4);
    });
}

QImage LineStyleGlyph(int n)
{
    return PaintTile(LineStyleGlyphWidth, [n](TCanvas& canvas) {
        SetPen(canvas, ColorBlack, 1, PenStyleCode(n));
        canvas.MoveTo(3, GlyphSize / 2);
        canvas.LineTo(LineStyleGlyphWidth - 3, GlyphSize / 2);
    });
}

// A rising curve, its inside filled toward the origin (1), the x axis (2) or
// the y axis (3); 0 draws the curve alone.
QImage FigureTypeGlyph(int n)
{
    return PaintTile(GlyphSize, [n](TCanvas& canvas) {
        constexpr int Left = 3, Bottom = Inner - 3, Right = Inner - 2;
        std::vector<QPoint> curve;
        for (int x = Left; x <= Right; ++x)
            curve.emplace_back(x, Bottom - (x - Left) * (x - Left) / 14);
        if (n >= 1) {
            std::vector<QPoint> shape = curve;
            if (n == 1)
                shape.emplace_back(Left, Bottom);
            else if (n == 2)
                shape.emplace_back(Right, Bottom);
            else
                shape.emplace_back(Left, curve.back().y());
            SetPen(canvas, FillGrey);
            SetSolidBrush(canvas, FillGrey);
            canvas.Polygon(shape);
        }
        SetPen(canvas, ColorBlack);
        canvas.Polyline(curve);
    });
}

} // namespace

QImage ColorGlyphBase()
{
    return PaintTile(GlyphSize, [](TCanvas& canvas) {
        SetSolidBrush(canvas, ColorBlack);
        canvas.FillRect(TRect{1, 1, Inner, Inner});
    });
}

QImage PaletteGlyph(TPaletteFamily family, int n)
{
    if (!PaletteValues(family).Contains(n))
        return {};
    switch (family) {
    case TPaletteFamily::Color:
        return n == 0 ? ClearColorGlyph()
                      : TFmSetColor::TintGlyph(ColorGlyphBase(), ColorScheme.ColorPalette[static_cast<std::size_t>(n)]);
    case TPaletteFamily::FreePenColor: return FreePenColorGlyph(n);
    case TPaletteFamily::BackColor: return BackColorGlyph(n);
    case TPaletteFamily::Width: return WidthGlyph(n);
    case TPaletteFamily::Pattern: return HatchGlyph(n);
    case TPaletteFamily::MemoStyle: return MemoStyleGlyph(n);
    case TPaletteFamily::Border: return BorderGlyph(n);
    case TPaletteFamily::PointStyle: return PointStyleGlyph(n);
    case TPaletteFamily::PointPattern: return FillPatternGlyph(n);
    case TPaletteFamily::LineStyle: return LineStyleGlyph(n);
    case TPaletteFamily::FigureType: return FigureTypeGlyph(n);
    case TPaletteFamily::ParamChar: return {};
    }
    return {};
}
