#include "render/gfx/Canvas.h"
#include "render/view/Scale.h"
#include "render/scene/Redraw.h"
