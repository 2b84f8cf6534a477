#pragma once

// The look every window of the program shares: its font and the silver face
// of the main windows and of the dialogs built on them.
#include "model/Colors.h"

#include <QFont>

class QWidget;

inline constexpr TColor FormColor = 0xC0C0C0;

// The font of every window; Qt's default size unless one is given.
QFont FormFont(int pointSize = -1);

// The widget paints its own background in the colour.
void FillBackground(QWidget& widget, TColor color);
