#pragma once

#include "engine/Compiler.h"
#include "render/gfx/Canvas.h"
#include "render/view/DrawContext.h"

#include <QPoint>
#include <QSize>
#include <QString>

// Object kinds whose label is pinned to the view's edge on one axis.
constexpr int HorizontalLineObject = 3;
constexpr int VerticalLineObject = 4;

// Where an object's label of the given size goes for a label position
// (1 to 9; anything else puts its top-left on the anchor). fontPixels is
// the magnified label font size that the gaps are taken from. A horizontal
// line's label keeps to the view's left edge, right edge or centre; a
// vertical line's to its top, bottom or middle.
QPoint ObjectLabelTopLeft(int position, QPoint anchor, QSize label, int fontSize, int objectKind, const TRect& view);

// Draws an object's label (label markup) beside its anchor in black, in the
// canvas font's face made plain at the label size (the program's FontSize
// + 1, magnified). Field formulas compile in compileMode, the object's own.
void DrawObjectLabel(TCanvas& canvas, int position, const QString& text, int objectKind, QPoint anchor,
                     const TRect& view, int compileMode, const TDrawContext& context = {});
