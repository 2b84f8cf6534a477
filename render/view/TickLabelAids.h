#pragma once

#include "render/gfx/Canvas.h"

#include <QString>

// Drawing aids of the axes' tick labels.

// The grid pen for a grid mode: the grid colour, darkened for crosses (1)
// and dark lines (3); dotted for mode 2, else solid.
void SetGridPen(int mode, TPen& pen);

// A fraction with the longer part drawn first from x and the other centred
// over or under it, and a bar between; with no denominator just the
// numerator. x moves past what was drawn.
void DrawStackedFraction(TCanvas& canvas, int& x, int y, const QString& denominator, const QString& numerator);

// Blanks trimmed; in a number with a decimal separator, trailing zeros and
// then a trailing separator removed.
QString TrimTrailingZeros(const QString& text);
