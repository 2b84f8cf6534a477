#pragma once

// The fill patterns of objects, relations' regions and figures.
#include "render/gfx/GfxTypes.h"

#include <QImage>

// Fill pattern numbers as the document stores them.
enum : int {
    PatternSolid = 1,
    PatternDense = 2,      // a 50 % dot screen
    PatternSparse = 3,     // a 25 % dot screen
    PatternDiagCross = 4,
    PatternBDiagonal = 5,  // rising to the right
    PatternFDiagonal = 6,  // falling to the right
    PatternVertical = 7,
    PatternHorizontal = 8,
};

// Gives the brush, whose Color is already the fill colour, the style of a
// fill pattern: 1 solid; 2 and 3 an 8 × 8 dot screen tile in the brush
// colour on white (white vanishes under the mask pen mode); 4 to 8 the
// canvas's hatches; any other number clear. A white brush is always solid,
// so that a white fill still covers.
void SetBrushPattern(TBrush& brush, int pattern);

// The tile of pattern 2 or 3 in a colour: its dots in the colour, the rest
// white. A null image for any other pattern.
QImage PatternTile(int pattern, TColor color);
