#pragma once

#include "model/Colors.h"

#include <QColor>

// The one conversion of the program's colour numbers (0x00BBGGRR, with or
// without the palette flag) into Qt colours.
QColor ToQColor(TColor c);
// The same as an opaque pixel value, ToQColor(c).rgb(), without making a
// QColor: pixels are set one by one.
inline QRgb ToQRgb(TColor c)
{
    return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
}
