#pragma once

// The look every window of the program shares: its font, the silver face
// of the main windows and of the dialogs built on them, and text that stays
// readable on that face when it is greyed.
#include "model/Colors.h"

#include <QFont>

class QWidget;

inline constexpr TColor FormColor = 0xC0C0C0;
// Greyed text: darker than the silver face, lighter than the text of what
// can be used.
inline constexpr TColor DisabledTextColor = 0x666666;

// The font of every window; Qt's default size unless one is given.
QFont FormFont(int pointSize = -1);

// The widget paints its own background in the colour.
void FillBackground(QWidget& widget, TColor color);

// The application's palette greys text in DisabledTextColor; set before the
// windows are made.
void InstallFormPalette();

// The widget's text looks the same while its window is disabled: a title,
// which takes no input, stays as it is while a dialog holds the window.
void KeepTextWhenDisabled(QWidget& widget);
