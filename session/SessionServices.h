#pragma once

// The session's answers to what the render layer asks upwards: the figure
// list's undo points and the parameters that dragging along a curve sets.
// Called once at program start.
void InstallSessionServices();
