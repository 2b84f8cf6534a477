#pragma once

#include "render/view/ViewResets.h"

// The plotters' shared tables: the polyline buffer. Registers the view's,
// the engine's and the model's tables first.
void RegisterPlotResets();
