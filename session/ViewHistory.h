#pragma once

// The view's range as the windows set it, and back and forward through the
// views the graph has shown (BackUpArea). After each step the window's back
// and forward buttons follow the history. Emptying the history is
// ClearViewHistory (session/ProjectFile.h).
#include "model/History.h"
#include "render/view/ViewMapping.h"

// The graph shows range (drawn when the action ends); false, and nothing
// changed, for a range no view can show.
bool SetViewRange(const TWorldRect& range);

// The view of GraphScale as a history entry.
TAreaView CurrentView();
// Records the current view, unless the graph window says it is passing
// through views that are not to be kept (a drag under way).
void PushViewHistory();
// One view back; the view left is kept ahead so that RedoView returns to it.
void UndoView();
// One view ahead.
void RedoView();
// Shows the view written into the axes: with resize the graph area is first
// brought to the axes' pixel lengths.
void ApplyView(bool resize);
