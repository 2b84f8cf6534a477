#pragma once

#include "engine/EngineResets.h"

// The view's tables: the graph view and the redraw state. Registers the
// engine's and the model's tables first.
void RegisterViewResets();
