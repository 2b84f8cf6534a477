#include "render/gfx/ColorConvert.h"

QColor ToQColor(TColor c)
{
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}
