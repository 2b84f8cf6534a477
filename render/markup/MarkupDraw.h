#pragma once

#include "engine/Compiler.h"
#include "model/Colors.h"
#include "render/gfx/Canvas.h"
#include "render/view/DrawContext.h"

#include <QString>
#include <QStringView>

// How a label text is drawn. The canvas font at the call is the base font:
// its name, size and style are what "Normal" returns to.
struct TMarkupOptions {
    bool Draw = true; // false: measure only
    TColor BaseColor = ColorBlack;
    int CompileMode = ModePlain; // the fields' formulas are compiled as the label's owner compiles
    TDrawContext Context;
};

// What a line covers: from x to Right, and from Top to Bottom (at least the
// base font's cell).
struct TMarkupExtent {
    int Right = 0;
    int Top = 0;
    int Bottom = 0;
    int Height() const { return Bottom - Top; }
    bool operator==(const TMarkupExtent&) const = default;
};

// Translates a label text (TranslateMarkup) and draws it run by run from x
// with its base line at baseLine. A text beginning with "//" is a comment
// and draws nothing. The canvas font is restored afterwards.
TMarkupExtent DrawMarkupText(TCanvas& canvas, const QString& text, int x, int baseLine,
                             const TMarkupOptions& options);

// The same with y the top of the line: the base line lies the base font's
// ascent below it.
TMarkupExtent DrawMarkupLine(TCanvas& canvas, const QString& text, int x, int top, const TMarkupOptions& options);

// Draws text that is already translated.
TMarkupExtent DrawTranslatedMarkup(TCanvas& canvas, QStringView translated, int x, int baseLine,
                                   const TMarkupOptions& options);
