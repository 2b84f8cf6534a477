#include "render/view/Scale.h"
#include "render/plot/Functions.h"
