#pragma once

#include "render/scene/SceneResets.h"

// The session's tables: the project file's globals, the panel layout and
// the drag state. Registers the libraries' below first.
void RegisterSessionResets();
