#include "model/Figures.h"

TSegments Segments;
