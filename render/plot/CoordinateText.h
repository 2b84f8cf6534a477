#pragma once

#include "render/view/Scale.h"

#include <QString>

// The display text of a coordinate of an axis, as the range texts and the
// mouse read-outs show it: fixed-point with as many decimals as the axis's
// resolution is worth (at most 9) and at most 10 significant digits, or the
// general format with 6 digits for very small or large values. A text that
// does not begin with "-" gets one leading blank, so that signed and
// unsigned values line up. A width above 0 pads with blanks or cuts to it.
QString FormatCoordValue(const ScaleSubT& axis, int width, long double value);

// The same for the world value of a pixel of the axis.
QString FormatPixelCoord(int pixel, const ScaleSubT& axis, int width);

// "-5.00 < x <  5.00": the visible range of the axis with its plain name.
QString AxisRangeText(const ScaleSubT& axis);
