#include "render/gfx/BandPrinting.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

void ReplayMetafileInBands(const TMetafile& metafile, const TRect& target, const TBandSink& sink, int bandHeight)
{
    if (target.IsEmpty())
        return;
    bandHeight = std::max(1, bandHeight);
    for (int top = 0; top < target.Height(); top += bandHeight) {
        QImage band(target.Width(), std::min(bandHeight, target.Height() - top), QImage::Format_RGB32);
        band.fill(Qt::white);
        TCanvas canvas = MakeImageCanvas(band, QPoint(0, top));
        PlayMetafile(metafile, canvas, {0, -top, target.Width(), target.Height() - top});
        sink(target.Left, target.Top + top, band);
    }
}

void PrintMetafileInBands(const TMetafile& metafile, QPainter& painter, const TRect& target, int bandHeight)
{
    ReplayMetafileInBands(
        metafile, target, [&painter](int left, int top, const QImage& band) { painter.drawImage(left, top, band); },
        bandHeight);
}
