#pragma once

class TGraphAreaForm;

// The mouse work on the graph picture: installed once on the graph window
// when it is created.
void InstallGraphMouse(TGraphAreaForm& form);
// Takes the mouse work off the graph window; its destructor calls this
// first, while the window's parts are still whole (closing a widget sends
// hide events through the work's event filter).
void RemoveGraphMouse(TGraphAreaForm& form);
// True while a live drag of an object has stored its first change: the view
// history does not record the views it passes through. (A zoom or move of
// the view sets its range after the drag has ended, and is recorded.)
bool IsGraphMouseDragging();
// The graph's area tool: 0 pointer, 1 zoom in, 2 zoom out, 3 move the view,
// 4 a segment between two points (the data panel's segment button). The
// area buttons show tools 1..3; 0 and 4 release them. Nothing before the
// graph window exists.
void SetAreaMode(int tool);
// The area tool now; 0 before the graph window exists.
int AreaMode();
