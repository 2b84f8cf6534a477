#pragma once

#include "model/Colors.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

// A rectangle of device pixels as the drawing calls take it: the right and
// bottom edges are exclusive, so (0, 0, 10, 10) covers 10 × 10 pixels.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const TRect&) const = default;
};

// The common part of two rectangles; empty (all zero) when they do not meet.
TRect IntersectRects(const TRect& a, const TRect& b);

enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, Clear };

// How a pen's or a shape's pixels combine with what is there: copy, AND
// (mask: white is invisible and colours darken each other), XOR, OR (merge).
enum class TPenMode : std::uint8_t { Copy, Mask, Xor, Merge };

enum class TPenCap : std::uint8_t { Round, Flat };

// A pen of width 0 or 1 that is not geometric is one pixel wide whatever the
// scale, and lines drawn with it leave out their last pixel. Wider pens that
// are not geometric draw solid with round ends; geometric pens keep their
// dash style at any width and take the chosen end cap. Joins are round.
struct TPen {
    TColor Color = ColorBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    TPenMode Mode = TPenMode::Copy;
    bool Geometric = false;
    TPenCap Cap = TPenCap::Round;

    bool IsCosmetic() const { return !Geometric && Width <= 1; }
    bool operator==(const TPen&) const = default;
};

// Hatches are 8 × 8 patterns aligned to the device origin and leave the
// pixels between their lines alone; a bitmap brush tiles its pattern image
// from the device origin.
enum class TBrushStyle : std::uint8_t {
    Solid,
    Clear,
    Horizontal,
    Vertical,
    FDiagonal, // falling to the right
    BDiagonal, // rising to the right
    Cross,
    DiagCross,
    Bitmap,
};

struct TBrush {
    TBrushStyle Style = TBrushStyle::Solid;
    TColor Color = ColorWhite;
    QImage Pattern; // the Bitmap style's tile

    bool IsHatch() const { return Style >= TBrushStyle::Horizontal && Style <= TBrushStyle::DiagCross; }
    bool operator==(const TBrush& o) const
    {
        return Style == o.Style && Color == o.Color && Pattern.cacheKey() == o.Pattern.cacheKey();
    }
};

// A font at 96 pixels per inch. Height in pixels: negative for the height of
// the characters (the em), positive for the height of the character cell.
struct TFont {
    QString Name = QStringLiteral("Arial");
    int Height = -13; // 10 points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TColor Color = ColorBlack;
    // Average character width in pixels, the face stretched to reach it;
    // 0 keeps the face's own proportions.
    int Width = 0;

    // Size in points; setting it sets Height.
    int Size() const;
    void SetSize(int points);
    bool operator==(const TFont&) const = default;
};

// How Draw and StretchDraw put an image down.
enum class TCopyMode : std::uint8_t { SrcCopy, SrcAnd };
enum class TImageMode : std::uint8_t { Copy, And, WhiteTransparent };

// The tools a drawing call is made with.
struct TDrawState {
    TPen Pen;
    TBrush Brush;
    TFont Font;
    std::optional<TRect> Clip;
    bool operator==(const TDrawState&) const = default;
};
