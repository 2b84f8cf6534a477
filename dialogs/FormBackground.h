#pragma once

#include "model/Colors.h"

class QWidget;

// The silver face of the main windows and of the dialogs built on it.
inline constexpr TColor FormColor = 0xC0C0C0;

// The widget paints its own background in the colour.
void FillBackground(QWidget& widget, TColor color);
