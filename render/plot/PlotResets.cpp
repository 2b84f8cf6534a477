#include "render/plot/PlotResets.h"

#include "render/plot/Functions.h"
#include "render/plot/Loci.h"
#include "render/plot/Objects.h"
#include "render/plot/Figures.h"
#include "render/plot/PolyLineBuffer.h"
#include "render/plot/RelationPlot.h"
#include "render/plot/Relations.h"

void RegisterPlotResets()
{
    RegisterViewResets();
    RegisterReset(QStringLiteral("polyline buffer"), ResetPolyLineBuffer);
    RegisterReset(QStringLiteral("figure colours"), ResetSegmentColors);
    RegisterReset(QStringLiteral("function colours"), ResetFunctionColors);
    RegisterReset(QStringLiteral("object loci"), ResetLocuses);
    RegisterReset(QStringLiteral("object colours"), ResetPointColors);
    RegisterReset(QStringLiteral("relation colours"), ResetRelationColors);
    RegisterReset(QStringLiteral("relation fill grid"), [] { RelationFillGrid.Release(); });
    RegisterReset(QStringLiteral("relation scan rows"), [] { std::vector<TColumnArray>().swap(ScanRowArrays); });
}
