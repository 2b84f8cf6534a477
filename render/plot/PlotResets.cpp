#include "render/plot/PlotResets.h"

#include "render/plot/PolyLineBuffer.h"

void RegisterPlotResets()
{
    RegisterViewResets();
    RegisterReset(QStringLiteral("polyline buffer"), ResetPolyLineBuffer);
}
