#pragma once

// The evaluated state of every elementary object, as drawing, hit tests and
// traces read it.
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "model/PointState.h"

using TPointStates = TOffsetArray<TPointState, 1, PointCount>;

// The state of object k from its record: styles copied, coordinates
// evaluated, and the kind dropped to 0 when a coordinate it needs is
// undefined. Curves are drawn from their loci; a polar or parametric curve
// keeps here its handle, a point (kind 1) at its position formula for the
// current value of its parameter, which hit tests find and a drag moves
// along the curve. Point sequences keep nothing and end as kind 0.
TPointState BuildPointState(int k);
void BuildPointStates(TPointStates& states);
