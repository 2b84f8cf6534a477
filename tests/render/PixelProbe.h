#pragma once

// Small readers of test pictures in the program's colour numbers.
#include "model/Colors.h"
#include "render/gfx/ColorConvert.h"

#include <QImage>

inline QImage BlankImage(int width, int height, TColor color = ColorWhite)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ToQColor(color));
    return image;
}

inline TColor PixelAt(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return MakeColor(qRed(p), qGreen(p), qBlue(p));
}

inline int CountColor(const QImage& image, TColor color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += PixelAt(image, x, y) == color;
    return n;
}

inline int CountNot(const QImage& image, TColor color)
{
    return image.width() * image.height() - CountColor(image, color);
}
