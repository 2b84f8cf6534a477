#pragma once

// The session's part of every redraw: parameter edits typed and not yet
// applied, the values of the tools, the figures' object states. Called at
// program start; later calls change nothing.
void InstallSessionServices();
