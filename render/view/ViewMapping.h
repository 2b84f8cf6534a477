#pragma once

#include "render/view/DrawContext.h"

#include <QPoint>
#include <cstdint>
#include <optional>

// A point in the view's world units.
struct TWorldPoint {
    long double X = 0.0L;
    long double Y = 0.0L;
    friend bool operator==(const TWorldPoint&, const TWorldPoint&) = default;
};

// A range of the view: Low is the lower left corner, High the upper right.
struct TWorldRect {
    TWorldPoint Low;
    TWorldPoint High;
    long double Width() const { return High.X - Low.X; }
    long double Height() const { return High.Y - Low.Y; }
    friend bool operator==(const TWorldRect&, const TWorldRect&) = default;
};

// A pixel position before rounding.
struct TPointL {
    long double X = 0.0L;
    long double Y = 0.0L;
};

// The whole pixel of a value and whether it had to be clamped to the pixel
// limit (a value with no pixel at all, NaN, counts as clamped).
struct TMappedPixel {
    int Pixel = 0;
    bool Clamped = false;
    friend bool operator==(const TMappedPixel&, const TMappedPixel&) = default;
};

// One axis's mapping between world values and pixels at one output
// magnification. A plain value: drawing code takes it by const reference
// and converts every point without touching any global.
struct TAxisMapping {
    long double PixelsPerUnit = 40.0L;
    long double UnitsPerPixel = 0.025L;
    long double ZeroPixel = 200.0L; // unmagnified pixel of world 0
    int Pixels = 400;               // unmagnified length of the axis
    int Magnification = 1;
    bool YFlipped = false; // world values grow upwards while pixels grow downwards
    bool operator==(const TAxisMapping&) const = default;

    // The same mapping at another magnification (not multiplied: replaced).
    TAxisMapping AtMagnification(int magnification) const
    {
        TAxisMapping m = *this;
        m.Magnification = UsableMagnification(magnification);
        return m;
    }
    int PixelLimit() const { return PixelLimitAt(Magnification); }
    int MagnifiedPixels() const { return Pixels * Magnification; }

    // No rounding, no clamping.
    long double ValueToPixelF(long double v) const
    {
        if (YFlipped)
            v = -v;
        return (v * PixelsPerUnit + ZeroPixel) * Magnification;
    }
    TMappedPixel ValueToPixel(long double v) const { return ClampPixel(ValueToPixelF(v)); }
    // A length in pixels; no sign change on the y axis.
    TMappedPixel LengthToPixels(long double length) const
    {
        return ClampPixel(length * PixelsPerUnit * Magnification);
    }
    long double PixelToValueRaw(long double p) const
    {
        const long double v = ((Magnification == 1 ? p : p / Magnification) - ZeroPixel) * UnitsPerPixel;
        return YFlipped ? -v : v;
    }
    // Snaps a value within a 100000th of a pixel to the integer toward zero.
    long double PixelToValue(int p) const
    {
        const long double v = PixelToValueRaw(p);
        const long double i = TruncateTowardZero(v);
        return std::fabs(v - i) < UnitsPerPixel * 1E-5L ? i : v;
    }
    // Every plotted point comes through here: rounds without a library call
    // or a change of the x87 control word.
    TMappedPixel ClampPixel(long double p) const
    {
        const int limit = PixelLimit();
        if (p >= -limit && p <= limit) // whole and within ±30000: exact as a double
            return {static_cast<int>(static_cast<double>(RoundHalfEven(p))), false};
        // Beyond the limit, or no pixel at all (NaN): off the view.
        return {p < 0.0L ? -limit : limit, true};
    }
};

// Figure kinds ClipLine treats apart.
enum : std::uint8_t { ClipWholeLine = 2, ClipRectangle = 5, ClipHalfLine = 9 };

// The end points of a figure in pixels the drawing layer can take.
struct TPixelLine {
    TPointL P1;
    TPointL P2;
};
struct TPointLine {
    QPoint P1;
    QPoint P2;
    friend bool operator==(const TPointLine&, const TPointLine&) = default;
};

// Both axes' mappings of the view at one magnification: what plot code
// takes (by const reference) to turn world points into pixels.
struct TViewMapping {
    TAxisMapping X;
    TAxisMapping Y{.YFlipped = true};

    int Magnification() const { return X.Magnification; }
    TDrawContext Context() const { return {X.Magnification}; }
    TViewMapping AtMagnification(int magnification) const
    {
        return {X.AtMagnification(magnification), Y.AtMagnification(magnification)};
    }

    TPointL ValueToPixelF(TWorldPoint w) const { return {X.ValueToPixelF(w.X), Y.ValueToPixelF(w.Y)}; }
    QPoint WorldToPoint(TWorldPoint w) const { return {X.ValueToPixel(w.X).Pixel, Y.ValueToPixel(w.Y).Pixel}; }
    // Lines run from border to border, half-lines to the border, rectangles
    // are clamped just outside the view, other segments keep their
    // direction beyond the view. Nothing when there is nothing to draw.
    std::optional<TPixelLine> ClipLine(std::uint8_t kind, TWorldPoint a, TWorldPoint b) const;
    // The same, rounded to whole pixels.
    std::optional<TPointLine> ClipLineToPoints(std::uint8_t kind, TWorldPoint a, TWorldPoint b) const;
};
