#pragma once

// Where a picture goes on the printed page.
#include "render/gfx/GfxTypes.h"

#include <QSize>

// The printed size in printer pixels of a source picture on a page:
// printSize percent of the page width, the source's proportions, no taller
// than the page. With keepAspect the size is a whole multiple of the
// source's; when not even one whole multiple fits, the size without it. Each
// side is at least 1.
QSize CalcPrintSize(QSize source, QSize page, int printSize, bool keepAspect);

// The box of a printed picture on the page: centred across; 1/30 of the
// page height from the top unless the picture takes more than 29/30 of it,
// then at the top.
TRect PrintPlacement(QSize printed, QSize page);
