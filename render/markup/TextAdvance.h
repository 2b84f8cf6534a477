#pragma once

#include "render/gfx/GfxTypes.h"
#include "render/view/DrawContext.h"

#include <QString>

// The advance of a text run in a font, as typeset text and the data panel
// measure it: the text is measured in the font at its size divided by the
// magnification (integer division) and the width is multiplied back, so a
// magnified picture keeps the proportions of the screen.
int GetTextWidth(const QString& text, const TFont& font, const TDrawContext& context = {});

// The cell height and the ascent of a font, as the installed metrics give
// them. Typesetting asks for the same few fonts over and over, so these and
// the widths are kept per font (and text) until other metrics are installed.
int CellHeight(const TFont& font);
int CellAscent(const TFont& font);
