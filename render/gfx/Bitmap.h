#pragma once

#include "render/gfx/Canvas.h"

#include <QImage>

// An RGB32 image with a canvas of its own whose tools persist, like the
// pictures the graph window draws into.
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // A new size starts white; the canvas keeps its tools.
    void SetSize(int width, int height);
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    // Replaces the pixels (converted to RGB32); the canvas keeps its tools.
    void Assign(const QImage& image);

    TCanvas& Canvas() { return canvas_; }

private:
    QImage image_;
    TCanvas canvas_;
};
