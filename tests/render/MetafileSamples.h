#pragma once

// A picture with every kind of call the metafile writers turn into records.
#include "render/gfx/Canvas.h"
#include "render/gfx/Metafile.h"

#include <QImage>

namespace metafile_samples {

constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;
constexpr TColor Blue = 0xFF0000;

inline QImage TwoByTwo()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(0, 128, 0));
    return image;
}

// Every kind of call the writer turns into records, with each pen mode, pen
// kind and brush kind once, and tools changing inside and after a clip.
inline TMetafile SampleScene()
{
    TMetafile picture;
    picture.Width = 200;
    picture.Height = 150;
    TCanvas c = MakeMetafileCanvas(picture);
    const QPoint line[] = {{10, 10}, {50, 20}, {90, 10}};
    c.Pen = TPen{Red, 1, TPenStyle::Solid, TPenMode::Mask};
    c.Polyline(line);
    c.Pen.Mode = TPenMode::Xor;
    c.LineTo(20, 30);
    c.Pen = TPen{Green, 1, TPenStyle::Dash, TPenMode::Merge};
    c.Polyline(line);
    c.Pen = TPen{Blue, 3, TPenStyle::Dot, TPenMode::Copy, true, TPenCap::Flat};
    c.Polyline(line);
    c.Pen = TPen{Blue, 4, TPenStyle::Dash, TPenMode::Mask}; // wide, not geometric: solid
    c.Polyline(line);
    c.Pen = TPen{Red, 1};
    c.MoveTo(5, 5);
    c.LineTo(5, 5); // a dot
    c.Brush = TBrush{TBrushStyle::FDiagonal, Green, {}};
    const QPoint triangle[] = {{100, 100}, {140, 100}, {120, 130}};
    c.Polygon(triangle);
    c.Brush = TBrush{TBrushStyle::Solid, 0x808080, {}};
    c.Ellipse(0, 0, 30, 20);
    c.Brush.Style = TBrushStyle::Clear;
    c.Rectangle(1, 2, 3, 4);
    c.RoundRect(10, 10, 60, 40, 8, 6);
    c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    c.Chord(0, 0, 40, 40, 0, 20, 20, 40);
    c.Arc(0, 0, 40, 40, 20, 0, 0, 20);
    const QPoint bezier[] = {{0, 0}, {10, 20}, {20, 20}, {30, 0}, {99, 99}}; // the last point is no piece
    c.PolyBezier(bezier);
    const QPoint far[] = {{0, 0}, {40000, 5}};
    c.Polyline(far);
    c.SetPixel(7, 8, Blue);
    QImage pattern(2, 2, QImage::Format_RGB32);
    pattern.fill(qRgb(0, 0, 0));
    pattern.setPixel(0, 0, qRgb(255, 255, 255));
    c.Brush = TBrush{TBrushStyle::Bitmap, ColorWhite, pattern};
    c.FillRect({0, 100, 20, 120});
    c.Font.Name = QStringLiteral("Arial");
    c.Font.Bold = true;
    c.Font.Color = Red;
    c.TextOut(30, 60, QStringLiteral("x²"));
    c.Font.Name = QStringLiteral("Times New Roman");
    c.Font.Italic = true;
    c.Font.SetSize(12);
    c.TextOut(30, 80, QStringLiteral("ab"));
    c.Draw(150, 10, TwoByTwo());
    c.CopyMode = TCopyMode::SrcAnd;
    c.StretchDraw({150, 20, 154, 24}, TwoByTwo());
    c.DrawTransparent(150, 30, TwoByTwo());
    c.SetClipRect({10, 10, 100, 100});
    c.Pen = TPen{Green, 2};
    c.Polyline(line);
    c.Brush = TBrush{TBrushStyle::Cross, Red, {}};
    c.Rectangle(20, 20, 40, 40);
    c.ClearClipRect();
    c.Polyline(line);
    return picture;
}

} // namespace metafile_samples
