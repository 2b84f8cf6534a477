// The pictures of the program's tool buttons, drawn in code so that they
// stay crisp at tool-bar sizes and share one look.
#pragma once

#include <QIcon>

// The first entries are the picture numbers the background buttons switch
// between (file or clipboard source, clear up and down, the stretch modes
// at BGMode + 9); the tool pictures follow.
enum class ToolIcon : int {
    BackgroundFromFile = 0,
    BackgroundFromClipboard = 1,
    ClearBackground = 2,
    ClearBackgroundDown = 3,
    StretchWidth = 10,
    StretchHeight = 11,
    StretchWindow = 12,
    ZoomIn = 20,
    ZoomOut,
    Move,
    EqualScale,
    Undo,
    Redo,
    Options,
    Axes,
    Ticks,
    LabelSize,
    XNarrower,
    XWider,
    YNarrower,
    YWider,
    Position,
    Equation,
    FunctionValue,
    Integral,
    Calculator,
    Pen,
    PenColor,
    PenWidth,
    Eraser,
    Printer,
    Recording, // a picture series being saved
    LastToolIcon = Recording,
};

// The icon, with pixmaps for 16, 20 and 32 pixels; Qt derives the disabled
// and pressed looks.
QIcon ToolIconFor(ToolIcon icon);

// A picture by its number; a null icon for a number that has no picture.
QIcon ToolIconAt(int picture);
