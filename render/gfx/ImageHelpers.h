#pragma once

#include "model/Colors.h"
#include "render/gfx/Bitmap.h"

// Fills the whole picture with c (pen and solid brush in c, pen mode copy);
// the pen colour is black afterwards.
void FillImage(TBitmap& image, TColor c);
// The tools FillImage leaves on the canvas, without the fill: a black copy
// pen and a solid brush in c.
void SetFillTools(TCanvas& canvas, TColor c);
// White, with the bevel.
void ClearImageFramed(TBitmap& image);
// A sunken frame on the outermost pixels: grey left and top edges, the
// light 3-D colour on the right and bottom edges.
void DrawImageBevel(TBitmap& image);
// The light 3-D colour of the platform's palette.
TColor ThreeDLightColor();
