#include "render/gfx/Bitmap.h"

TBitmap::TBitmap()
    : canvas_(MakeImageCanvas(image_))
{
}

TBitmap::TBitmap(int width, int height)
    : TBitmap()
{
    SetSize(width, height);
}

void TBitmap::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        image_ = QImage();
        return;
    }
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::white);
}

void TBitmap::Assign(const QImage& image)
{
    image_ = image.convertToFormat(QImage::Format_RGB32);
}
