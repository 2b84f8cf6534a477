#pragma once

// The steps of the redraw that the figures, the objects and loci and the
// relations fill. Each is called in its place of the pipeline; until its
// plotter exists it does nothing.
#include "render/gfx/Canvas.h"
#include "render/plot/PlotCanvases.h"
#include "render/plot/Relations.h"
#include "render/view/Scale.h"
#include "render/view/ViewMapping.h"

// One drawing of the scene's objects: the graph canvas is the main canvas,
// the scene canvas (what leaves a trace) the trace canvas.
struct TSceneDrawing {
    TViewMapping Mapping;
    TPlotCanvases Canvases;
};

// The objects of the scene, in the order the scene draws them.
void DrawFigures(ScaleT& view, const TSceneDrawing& drawing);
void DrawLoci(ScaleT& view, const TSceneDrawing& drawing);
// The loci of the curves whose names changed, computed again.
void UpdateLoci(ScaleT& view);
void DrawPointSequences(ScaleT& view, const TSceneDrawing& drawing);
void DrawObjects(ScaleT& view, const TSceneDrawing& drawing);
// The marks the objects draw over everything else (hollow point rings).
void DrawObjectOverlayMarks(ScaleT& view, TCanvas& canvas);

// Some relation in use is visible: the relation layer goes onto the graph.
bool AnyRelationShown();
// Plots the relations whose RelationChanged is set into their layers and
// combines the layers into the relation layer; what leaves a trace also
// goes onto the drawing's trace canvas (the scene's).
void DrawRelations(ScaleT& view, TGraphImages& images, const TSceneDrawing& drawing);
// Plots every shown relation straight onto the drawing's canvases, with no
// layers (the trace replay, pictures for export).
void DrawRelationsDirect(ScaleT& view, const TSceneDrawing& drawing);
