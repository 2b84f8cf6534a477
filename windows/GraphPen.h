#pragma once

// The free-hand pen on the graph picture: with tbFreePen down, the left
// button paints round marks in the pen's colour and size and the right
// button wipes them out under a square, while the graph's usual mouse work
// rests. The marks are painted again over every redraw and into printed
// and exported pictures; a change of the view's range clears them.
class TGraphAreaForm;

// Installed once on the graph window when it is created, after the mouse
// work, so that the pen takes the graph's mouse first while it is on.
void InstallGraphPen(TGraphAreaForm& form);
// Takes it off again; the graph window's destructor calls this first.
void RemoveGraphPen(TGraphAreaForm& form);

// Half the side of the square the right button wipes.
inline constexpr int PenEraserReach = 16;
