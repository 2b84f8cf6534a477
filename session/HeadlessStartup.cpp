#include "session/HeadlessStartup.h"

#include "engine/EngineStartup.h"
#include "model/ProgramState.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/OptionsStore.h"
#include "session/ProjectFile.h"
#include "session/SessionResets.h"
#include "session/SessionServices.h"
#include "session/UndoPoints.h"

namespace {

void FitGraphPicturesToAxes()
{
    const int w = GraphScale.XAxis.VHigh + 1;
    const int h = GraphScale.YAxis.VHigh + 1;
    for (TBitmap& image : GraphScale.GraphImages)
        if (image.Width() != w || image.Height() != h)
            image.SetSize(w, h);
}

} // namespace

void StartUnitsBelowWindows()
{
    InitializeDocument();
    GraphScale.Startup();
    InitializeEngine();
    RegisterSessionResets();
    InstallSceneRedrawer();
    InstallSessionServices();
}

void StartWithoutWindows()
{
    StartUnitsBelowWindows();
    FitGraphPicturesToAxes();
    LoadOptions();
    GraphScale.SetNormalView(GraphScale.GraphImages);
    ClearUndo();
    ClearViewHistory();
}

void THeadlessProjectHost::ResizeGraphArea()
{
    FitGraphPicturesToAxes();
}
