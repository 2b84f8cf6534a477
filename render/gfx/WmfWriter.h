#pragma once

#include <QByteArray>
#include <cstdint>

struct TMetafile;

// The recorded picture as a placeable Windows metafile: the 16-bit format of
// .wmf files, read by older programs that know no enhanced metafiles. One
// logical unit is one pixel of the picture; the placeable header bounds it
// by (0, 0, Width, Height) and gives unitsPerInch logical units per inch, so
// that programs open it at that resolution. Coordinates are 16 bits wide:
// points beyond ±32767 are brought to that bound.
//
// The calls are recorded as the enhanced-metafile writer records them
// (objects, raster operations, clips as saved states), with what the older
// format lacks made of what it has: Bézier curves become polylines,
// geometric pens carry their end caps in the pen style, text is written in
// the Windows-1252 code page (the minus sign as '-', '?' for what it
// lacks), polylines longer than 32767 points are written in pieces.
QByteArray WriteWmf(const TMetafile& metafile, int unitsPerInch);

// Offsets of the fields the tests and readers look at, in bytes from the
// start of the file.
namespace wmf_file {
inline constexpr int PlaceableSize = 22;
inline constexpr int PlaceableKey = 0;     // 0x9AC6CDD7
inline constexpr int PlaceableBounds = 6;  // left, top, right, bottom (16 bits each)
inline constexpr int PlaceableInch = 14;   // logical units per inch
inline constexpr int PlaceableChecksum = 20;
inline constexpr int HeaderSizeWords = PlaceableSize + 6;   // the metafile's size in 16-bit words (32 bits)
inline constexpr int HeaderObjects = PlaceableSize + 10;    // the object table's size
inline constexpr int HeaderMaxRecord = PlaceableSize + 12;  // the largest record in 16-bit words (32 bits)
inline constexpr int FirstRecord = PlaceableSize + 18;
inline constexpr std::uint32_t PlaceableKeyValue = 0x9AC6CDD7;
} // namespace wmf_file
