#pragma once

// The evaluated state of every elementary object, as drawing, hit tests and
// traces read it.
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "model/PointState.h"

using TPointStates = TOffsetArray<TPointState, 1, PointCount>;

// The state of object k from its record: styles copied, coordinates
// evaluated, and the kind dropped to 0 when a coordinate it needs is
// undefined. Curves and sequences are drawn from their loci and keep no
// coordinates here, so they end as kind 0.
TPointState BuildPointState(int k);
void BuildPointStates(TPointStates& states);
