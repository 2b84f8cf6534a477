#include "render/gfx/ImageHelpers.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

void SetFillTools(TCanvas& canvas, TColor c)
{
    canvas.Pen.Color = ColorBlack;
    canvas.Pen.Mode = TPenMode::Copy;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = c;
}

void FillImage(TBitmap& image, TColor c)
{
    TCanvas& canvas = image.Canvas();
    SetFillTools(canvas, c); // a fill takes the brush only
    canvas.FillRect(canvas.Bounds());
}

void ClearImageFramed(TBitmap& image)
{
    FillImage(image, ColorWhite);
    DrawImageBevel(image);
}

TColor ThreeDLightColor()
{
    const QColor c = QGuiApplication::palette().color(QPalette::Midlight);
    return MakeColor(c.red(), c.green(), c.blue());
}

void DrawImageBevel(TBitmap& image)
{
    const int right = image.Width() - 1;
    const int bottom = image.Height() - 1;
    if (right < 0 || bottom < 0)
        return;
    TCanvas& canvas = image.Canvas();
    const TPen saved = canvas.Pen;
    canvas.Pen = TPen{};
    canvas.Pen.Color = 0x808080;
    canvas.MoveTo(0, bottom);
    canvas.LineTo(0, 0);
    canvas.LineTo(right, 0);
    canvas.Pen.Color = ThreeDLightColor();
    canvas.LineTo(right, bottom);
    canvas.LineTo(0, bottom);
    canvas.Pen = saved;
}
