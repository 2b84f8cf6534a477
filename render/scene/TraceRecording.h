#pragma once

// What a redraw records into the trace store: the states of the scene just
// drawn, with the colours each thing was last drawn with on the trace
// canvas, or with everything traced for a trace step on demand.
#include "render/scene/TraceStore.h"
#include "render/view/Scale.h"

// The colours the plotters last drew onto the trace canvas.
TTraceColors LastDrawnTraceColors();
// Puts them back (after drawing that must leave no mark on the next record).
void RestoreLastDrawnColors(const TTraceColors& colors);

// Records the states of the last scene before the next one is drawn: the
// view's object states become its recorded states and are pushed with the
// parameter table the scene was drawn with.
void RecordTrace(ScaleT& view);
// Pushes the states with the last drawn colours, or with none while the
// scale changed since the last redraw (the earlier traces do not fit the new
// scale).
void PushTraceRecord(TBpnt& store, const TPointStates& states, const TParamTable& params);
// Records the present state with everything traced (the trace step of a drag).
void PushAllTraced(ScaleT& view);
