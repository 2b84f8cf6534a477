#pragma once

#include "model/Colors.h"
#include "model/TokenString.h"
#include "render/gfx/Canvas.h"
#include "render/view/DrawContext.h"

#include <QStringView>

// How a formula is typeset.
struct TTypesetOptions {
    TColor Color = ColorBlack;    // the text colour
    bool CalculatorStyle = false; // mask pen, red unscanned rest, framed groups while FunctionArea is on
    bool Draw = true;             // false: measure only, the canvas is not drawn on
    bool NestedFractions = false; // false: a fraction inside a fraction is drawn on one line
    TDrawContext Context;         // the output magnification of the text advances
};

// What a layout covers, relative to its starting point: its width, the
// highest ink (top), the lowest ink with letters without descenders counted
// short (bottom), and the lowest cell edge (full bottom). A string that
// reaches no ink reports top 100 and bottoms -100. Left is how far the
// drawing reaches left of the starting point (0 or less): a radical sign
// hangs its hook into the space before its formula.
struct TTypesetExtent {
    int Width = 0;
    int Top = 0;
    int Bottom = 0;
    int FullBottom = 0;
    int Left = 0;
    bool operator==(const TTypesetExtent&) const = default;
};

// Lays out a display token string (see ExpressionToMarkup) from (x, y), the
// top of its first line, at size pixels of character height; draws it when
// options.Draw. An empty string measures size div 2 by size and draws
// nothing. Text, fraction bars, radicals and arrows are drawn in
// options.Color. The canvas font is restored afterwards; the brush is left
// clear and the pen as the last line drawn set it.
TTypesetExtent DrawMarkup(TCanvas& canvas, int x, int y, int size, QStringView tokens,
                          const TTypesetOptions& options);

// Typesets a scanned token string (a formula's NormText) at a font size in
// points: ExpressionToMarkup, then DrawMarkup at round(fontSize × 4/3)
// pixels. The full bottom is not reported (it is 0).
TTypesetExtent DrawExpression(TCanvas& canvas, int x, int y, int fontSize, const TTokenString& tokens,
                              const TTypesetOptions& options);

// The names of the fonts typesetting draws with.
inline const QString TypesetFontName = QStringLiteral("Times New Roman");
