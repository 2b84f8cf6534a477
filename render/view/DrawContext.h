#pragma once

#include "model/Numeric.h"

#include <algorithm>

// A magnification below 1 would divide pixels by zero or flip them.
constexpr int UsableMagnification(int magnification)
{
    return std::max(1, magnification);
}

// The largest pixel coordinate handed to the drawing layer at an output
// magnification: 10000 on screen, 30000 when magnified.
constexpr int PixelLimitAt(int magnification)
{
    return magnification == 1 ? 10000 : 30000;
}

// What a drawing needs besides the view's mapping: its output magnification
// (1 on screen, 16 when printing, other values when exporting), which every
// pixel size of the drawing passes through. Drawing code takes it as an
// argument and never reads the program's current magnification per point.
struct TDrawContext {
    int Magnification = 1;

    // Pen widths, gaps, font sizes and offsets: size × magnification,
    // halves to even.
    int Magnify(long double size) const { return NearestInt(size * Magnification); }
    int PixelLimit() const { return PixelLimitAt(Magnification); }
    long double ClampToPixelLimit(long double v) const
    {
        const long double limit = PixelLimit();
        return std::clamp(v, -limit, limit);
    }
};

// The context of the drawing under way: the program's current output
// magnification (1 unless a TScopedMagnification is alive).
TDrawContext CurrentDrawContext();

// Sets the output magnification for one drawing (a print or a picture
// export) and restores the previous one on every way out, returns and
// exceptions alike. Hand Context() to the drawing code.
class TScopedMagnification {
public:
    explicit TScopedMagnification(int magnification);
    ~TScopedMagnification();
    TScopedMagnification(const TScopedMagnification&) = delete;
    TScopedMagnification& operator=(const TScopedMagnification&) = delete;

    TDrawContext Context() const { return {magnification_}; }

private:
    int magnification_;
    int previous_;
};

// The same operations on the current drawing's context, for code that has
// no context at hand.
int Magnify(long double size);
int PixelLimit();
long double ClampToPixelLimit(long double v);
