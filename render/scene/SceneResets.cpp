#include "render/scene/SceneResets.h"

#include "render/scene/Redraw.h"
#include "render/scene/RedrawClosure.h"
#include "render/scene/TraceStore.h"

void RegisterSceneResets()
{
    RegisterPlotResets();
    RegisterReset(QStringLiteral("scene"), [] {
        SceneState.Reset();
        ClosureMemory.Reset();
        RedrawCounters.Reset();
    });
    RegisterReset(QStringLiteral("trace store"), [] { TraceStore.Clear(); });
    // The program installs the scene's redrawer once at its start; a test
    // that installed it must not leave it to the next one.
    RegisterReset(QStringLiteral("scene redrawer"), [] { UninstallSceneRedrawer(); });
}
