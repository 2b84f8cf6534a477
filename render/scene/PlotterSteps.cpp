#include "render/scene/PlotterSteps.h"

#include "model/DocumentState.h"
#include "render/plot/Figures.h"
#include "render/plot/Loci.h"
#include "render/plot/Objects.h"

void DrawFigures(ScaleT& view, const TSceneDrawing& drawing)
{
    DrawFigures(view, drawing.Mapping, drawing.Canvases);
}

// The paths that moving points leave, from the states of the last trace
// record to the current ones.
void DrawLoci(ScaleT& view, const TSceneDrawing& drawing)
{
    DrawPointPaths(drawing.Mapping, drawing.Canvases, view.RecordedStates, view.PointStates);
}

void UpdateLoci(ScaleT& view)
{
    ComputeLoci(view, false);
}

// Every curve object (polar, parametric, point sequence) from its list.
void DrawPointSequences(ScaleT&, const TSceneDrawing& drawing)
{
    DrawCurves(drawing.Mapping, drawing.Canvases);
}

void DrawObjects(ScaleT& view, const TSceneDrawing& drawing)
{
    DrawObjects(drawing.Mapping, drawing.Canvases, view.PointStates);
}

void DrawObjectOverlayMarks(ScaleT& view, TCanvas& canvas)
{
    DrawPointRings(view.Mapping(), canvas, view.PointStates);
}

bool AnyRelationShown()
{
    for (int j = 1; j <= RelationCount; ++j)
        if (IsRelationInUse(j) && DocumentTables.Relations[j].Visible)
            return true;
    return false;
}

void DrawRelations(ScaleT& view, TGraphImages& images, const TSceneDrawing& drawing)
{
    const TPlotCanvases& canvases = drawing.Canvases;
    DrawRelations(view, images, canvases.Trace, canvases.TraceAll, canvases.OnlyTrace);
}

void DrawRelationsDirect(ScaleT& view, const TSceneDrawing& drawing)
{
    DrawRelationsDirect(view, drawing.Mapping, drawing.Canvases);
}
