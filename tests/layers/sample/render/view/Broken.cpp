#include "render/gfx/Canvas.h"
#include "render/markup/Label.h"
#include "render/plot/Functions.h"
