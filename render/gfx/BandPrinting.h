#pragma once

#include "render/gfx/GfxTypes.h"
#include "render/gfx/Metafile.h"

class QPainter;

// Draws the picture stretched into target on a painter whose engine ignores
// raster operations (printers, PDF): the picture is replayed band by band
// into white RGB32 images, which are then drawn.
void PrintMetafileInBands(const TMetafile& metafile, QPainter& painter, const TRect& target, int bandHeight = 512);
