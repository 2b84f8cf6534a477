#pragma once

#include "render/gfx/GfxTypes.h"
#include "render/gfx/Metafile.h"

#include <functional>

class QImage;
class QPainter;

// Takes one finished band of a picture replayed in bands, with the band's
// top-left corner in the target's coordinates.
using TBandSink = std::function<void(int left, int top, const QImage& band)>;

// Replays the picture stretched into target band by band into white RGB32
// images and hands each to the sink, top band first.
void ReplayMetafileInBands(const TMetafile& metafile, const TRect& target, const TBandSink& sink,
                           int bandHeight = 512);

// Draws the picture stretched into target on a painter whose engine ignores
// raster operations (printers, PDF): the picture is replayed band by band
// into white RGB32 images, which are then drawn.
void PrintMetafileInBands(const TMetafile& metafile, QPainter& painter, const TRect& target, int bandHeight = 512);
