#include "render/markup/Label.h"
#include "render/scene/Redraw.h"
#include <QPainter>
