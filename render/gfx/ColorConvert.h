#pragma once

#include "model/Colors.h"

#include <QColor>

// The one conversion of the program's colour numbers (0x00BBGGRR, with or
// without the palette flag) into Qt colours.
QColor ToQColor(TColor c);
