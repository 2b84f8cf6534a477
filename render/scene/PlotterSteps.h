#pragma once

// The steps of the redraw that the figures, the objects and loci and the
// relations fill. Each is called in its place of the pipeline; until its
// plotter exists it does nothing.
#include "render/gfx/Canvas.h"
#include "render/plot/PlotCanvases.h"
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

// A relation has a formula text and a colour other than white.
bool IsRelationInUse(int j);
// Some relation in use is visible: the relation layer goes onto the graph.
bool AnyRelationShown();
// Plots the relations whose RelationChanged is set into the relation layer.
void DrawRelations(ScaleT& view, TGraphImages& images);
// Plots every shown relation straight onto the drawing's canvases, with no
// layers (the trace replay, pictures for export).
void DrawRelationsDirect(ScaleT& view, const TSceneDrawing& drawing);
// The colour each relation was last drawn with onto the trace canvas, white
// when it left no trace: what the next trace record keeps of it.
extern TOffsetArray<TColor, 1, RelationCount> RelationColors;
void ResetRelationColors();
