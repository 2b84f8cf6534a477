#pragma once

#include "render/plot/PlotResets.h"

// The scene's tables: the scene metafile, the closure's memory and the
// redraw counters. Registers the plotters', view's, engine's and model's
// tables first.
void RegisterSceneResets();
