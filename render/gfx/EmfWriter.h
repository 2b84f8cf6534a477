#pragma once

#include <QByteArray>

struct TMetafile;

// The reference device written into every header: a screen of 1920 × 1440
// pixels at 96 pixels per inch, whose size in millimetres is exact.
inline constexpr int EmfReferenceWidthPixels = 1920;
inline constexpr int EmfReferenceHeightPixels = 1440;
inline constexpr int EmfReferenceWidthMillimeters = 508;
inline constexpr int EmfReferenceHeightMillimeters = 381;

// The recorded picture as an enhanced metafile (the bytes of an .emf file).
// One logical unit is one pixel. The header bounds the picture by
// (0, 0, Width, Height) in pixels and frames it in 0.01 mm at 96 pixels per
// inch (rounded up, so that the frame converts back to the whole picture);
// nBytes, nRecords and nHandles are exact.
//
// Every drawing call keeps its tools: pens, brushes and fonts are created,
// selected and deleted as they change; pen modes become SETROP2 (copy 13,
// mask 9, XOR 7, merge 15); polygons fill alternate; text is transparent,
// placed by the top-left of its cell, with the advances of the installed
// text metrics; images become device-independent bitmaps (white-transparent
// ones an AND mask followed by an OR of the image); a recorded clip
// becomes an intersected clip between SAVEDC and RESTOREDC.
QByteArray WriteEmf(const TMetafile& metafile);
