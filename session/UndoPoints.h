#pragma once

// Undo and redo over whole-document snapshots: the project text of the
// document before each edit, kept in BackUp.
#include "model/LineCodec.h"

// A drag of an object with the mouse: only its first change takes a
// snapshot, so that the whole drag undoes in one step. The graph window
// sets both flags when a drag starts, clears FirstChange once the first
// move has changed the object, and clears Dragging when the drag ends.
struct TDragState {
    bool Dragging = false;
    bool FirstChange = false;
    void Reset() { *this = TDragState{}; }
};
extern TDragState DragState;
// A drag is under way and its first change has been stored: further changes
// take no undo point, and the view history records nothing.
bool DragChangeTaken();

// Called first by every operation that changes the document.
void SaveUndoPoint();

// For an action that learns only as it goes whether it changes anything:
// the document as it stands when this is made becomes the undo point when
// Save is called, and no undo point is taken without it.
class TPendingUndoPoint {
public:
    TPendingUndoPoint();
    void Save();

private:
    TstringData before_;
    bool saved_ = false;
};
// One step back; nothing at the start of the history.
void Undo();
// One step ahead; nothing at its end.
void Redo();
// Forgets every snapshot (a new document, an opened file, the start).
void ClearUndo();
// Reads the snapshot in ProjectData back into the document and the windows.
void RestoreUndoSnapshot();
