#pragma once

// Puts the data panel beside the graph window again, after the user moved
// or resized either of them.
void DockConsole();
