#pragma once

// The figure list calls upwards only through these interfaces: the undo
// history lives in the session, the trace records in the redraw pipeline.
// Until their owners install them, defaults that do nothing stand in.
#include "platform/ServiceSlot.h"

class TUndoPoints {
public:
    virtual ~TUndoPoints() = default;
    // Keeps the document as it is now as the newest undo snapshot.
    virtual void SaveUndoPoint() = 0;
};

class TFigureTraces {
public:
    virtual ~TFigureTraces() = default;
    // Figure s left the list: in every trace record the trace colours and
    // the fill colours of the later figures move down one place
    // (ShiftFigureColoursDown on both), so that no figure replays with
    // another's fill.
    virtual void FigureDeleted(int s) = 0;
};

TUndoPoints& CurrentUndoPoints();
TFigureTraces& CurrentFigureTraces();
using ScopedUndoPoints = platform::ScopedService<TUndoPoints>;
using ScopedFigureTraces = platform::ScopedService<TFigureTraces>;
