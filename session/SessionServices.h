#pragma once

// The session's part of every redraw (parameter edits typed and not yet
// applied, the values of the tools, the figures' object states, the picture
// series, the stickers) and the redrawer that gives each action one redraw (EditScope.h).
// Called at program start, after the scene's redrawer is installed.
void InstallSessionServices();
