#pragma once

class TGraphAreaForm;

// The mouse work on the graph picture: installed once on the graph window
// when it is created.
void InstallGraphMouse(TGraphAreaForm& form);
// True while a mouse drag on the graph is under way: the view history does
// not record the views it passes through.
bool IsGraphMouseDragging();
