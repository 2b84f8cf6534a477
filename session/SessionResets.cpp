#include "session/SessionResets.h"

#include "session/EditScope.h"
#include "session/NoteSheets.h"
#include "session/PictureExport.h"
#include "session/ProjectFile.h"
#include "session/RowModels.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"

void RegisterSessionResets()
{
    RegisterSceneResets();
    RegisterReset(QStringLiteral("project file"), ResetProjectGlobals);
    RegisterReset(QStringLiteral("drag state"), [] { DragState.Reset(); });
    RegisterReset(QStringLiteral("row models"), [] { RowModels.Reset(); RowMetrics.Reset(); });
    RegisterReset(QStringLiteral("edit scopes"), ResetEditScopes);
    RegisterReset(QStringLiteral("tool windows"), [] { ToolWindowState.Reset(); });
    RegisterReset(QStringLiteral("picture export"), [] { PictureExport.Reset(); });
    RegisterReset(QStringLiteral("note editor"), [] { NoteEditorState.Reset(); });
}
