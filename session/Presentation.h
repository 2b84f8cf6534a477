#pragma once

// Presentation mode: rows, texts, lines and the graph's labels enlarged for
// showing the program to an audience. The sizes here need no widget; the
// data panel re-applies its own from them.
#include "model/DocumentState.h"

#include <QRect>

class ScaleT;

// The graph's tick-label font and axis width of the display mode.
void SetLargeDisplay(ScaleT& view);

// The sizes of the current display mode: the row metrics, the line widths
// of new functions, relations and objects (the free slots too), and the
// graph's large display.
void ApplyPresentationSizes(int pixelsPerInch);
// Flips the mode and applies its sizes.
void TogglePresentationMode(int pixelsPerInch);

// The line widths of new records and of the free slots for the mode.
void ApplyDefaultWidths();
// Line widths of new records in the current display mode.
int DefaultEquationWidth();
int DefaultObjectWidth();
// A free slot's record in the current display mode.
TEquationFunction EmptyEquation();
TPointFunction EmptyObject(int k);

// How far both windows move left so that the data panel ends on the
// screen: d when the panel passes the screen's right edge by d > 0 and the
// graph window is at least d from the screen's left; else 0.
int PresentationShift(const QRect& panel, const QRect& graph, const QRect& screen);
