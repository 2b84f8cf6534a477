#pragma once

#include "render/gfx/GfxTypes.h"

#include <QFont>

// Font families the program names that Linux does not have under that name
// map to metric-compatible ones ("Times New Roman" → Liberation Serif,
// "Arial Unicode MS" → DejaVu Sans). The stored names never change; only Qt's
// choice of family does. Runs once; ToQFont calls it.
void InstallFontSubstitutions();

// The height of the characters (the em) in pixels, at least 1. A cell
// height is turned into an em with the family's own ascent and descent.
int EmPixelSize(const TFont& font);

// The Qt font drawn for a font of ours, sized in pixels and, when the font
// asks for an average character width, stretched to it.
QFont ToQFont(const TFont& font);
