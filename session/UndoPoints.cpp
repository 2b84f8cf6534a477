#include "session/UndoPoints.h"

#include "session/EditScope.h"
#include "session/ProjectFile.h"
#include "session/ProjectHost.h"

#include "model/History.h"
#include "model/LineCodec.h"
#include "model/ProgramState.h"

#include <QFileInfo>

TDragState DragState;

namespace {

void UpdateUndoControls()
{
    CurrentProjectHost().UpdateUndoControls(!BackUp.IsAtStart(), BackUp.CanRedo());
}

void PushSnapshot()
{
    WriteProject(ProjectData);
    BackUp.Push(ProjectData);
    UpdateUndoControls();
}

} // namespace

bool DragChangeTaken()
{
    return DragState.Dragging && !DragState.FirstChange;
}

void SaveUndoPoint()
{
    if (DragChangeTaken())
        return;
    PushSnapshot();
}

TPendingUndoPoint::TPendingUndoPoint()
{
    WriteProject(before_);
}

void TPendingUndoPoint::Save()
{
    if (saved_ || DragChangeTaken())
        return;
    saved_ = true;
    BackUp.Push(before_);
    UpdateUndoControls();
}

void Undo()
{
    // Keys reach here with the controls disabled.
    if (BackUp.IsAtStart())
        return;
    const TEditScope undo;
    if (!BackUp.CanRedo()) {
        // The state after the last edit becomes the newest snapshot, so
        // that redo can come back to it.
        SaveUndoPoint();
        BackUp.Undo(ProjectData);
    }
    if (BackUp.Undo(ProjectData))
        RestoreUndoSnapshot();
}

void Redo()
{
    const TEditScope redo;
    if (BackUp.Redo(ProjectData))
        RestoreUndoSnapshot();
}

void ClearUndo()
{
    BackUp.Clear();
    UpdateUndoControls();
}

void RestoreUndoSnapshot()
{
    // The text holds the background picture's name only; a read puts it in
    // the project's folder. The picture shown is still the same one.
    const QString background = ProjectFile.BGfile;
    ReadProject(ProjectData);
    if (!background.isEmpty() && QFileInfo(background).fileName() == QFileInfo(ProjectFile.BGfile).fileName())
        ProjectFile.BGfile = background;
    RefreshAll();
    // RefreshAll marks a loaded document unchanged; a restored step differs
    // from the file, and closing must still ask before losing it.
    TEditScope::DocumentChanged();
    UpdateUndoControls();
}
