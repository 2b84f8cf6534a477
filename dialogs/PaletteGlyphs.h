#pragma once

// The pictures of the style palette's buttons, painted with the drawing
// layer so that a pattern or a line looks on its button as it does on the
// graph.
#include "model/Colors.h"

#include <QImage>

// The families of choices the palette offers; each has one panel.
enum class TPaletteFamily : int {
    Color,        // "sbc" 0..15: colours of the colour scheme
    FreePenColor, // "SBFP" 0..5: the free-hand pen's colour numbers
    BackColor,    // "SBBC" 0..3: sticker frame and fill colour pairs
    Width,        // "SBAL" 0..6: line widths, 0 not drawn
    Pattern,      // "SBH" 1..10: hatches of relation regions
    MemoStyle,    // "SBmemo" 0..4: how stickers are shown
    Border,       // "SBBD" 0..1: boundary of strict inequalities shown or not
    PointStyle,   // "SBPstyle" 0..1: filled or hollow points
    PointPattern, // "SBPt" 1..8: fill patterns of objects and figures
    LineStyle,    // "SBLS" 1..4: solid, dash, dot, dash-dot
    FigureType,   // "sbFtype" 0..3: how a curve's inside is filled
    ParamChar,    // "SBPrm" 1..14: curve parameter letters (captions, no glyph)
};
inline constexpr int PaletteFamilyCount = 12;

// The values a family offers, First..Last.
struct TPaletteValues {
    int First, Last;
    constexpr bool Contains(int n) const { return n >= First && n <= Last; }
};
constexpr TPaletteValues PaletteValues(TPaletteFamily family)
{
    constexpr TPaletteValues values[PaletteFamilyCount] = {{0, 15}, {0, 5}, {0, 3}, {0, 6}, {1, 10}, {0, 4},
                                                           {0, 1},  {0, 1}, {1, 8}, {1, 4}, {0, 3},  {1, 14}};
    return values[static_cast<int>(family)];
}

// Glyphs are square tiles of this size (line styles are wider), white with
// a grey frame; the colour glyph is black inside the frame so that tinting
// its rows and columns 1..18 colours all of it.
inline constexpr int GlyphSize = 20;
inline constexpr int LineStyleGlyphWidth = 36;

// The glyph of value n of a family; a null image where the family has no
// such value (and always for parameter letters). Colour n is the colour
// glyph tinted with the scheme's palette colour n; colour 0 is the "no
// colour" glyph.
QImage PaletteGlyph(TPaletteFamily family, int n);
// The colour glyph before tinting.
QImage ColorGlyphBase();
