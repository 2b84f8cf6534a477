#pragma once

// The layered redraw of the view into the graph pictures: the background
// layer (traces and axes), the graph layer (the scene's objects, the
// functions and the relation layer), the tools' overlay and the background
// picture. The dirty flags say which layers are rebuilt, the change set
// which functions are evaluated again.
#include "render/gfx/Metafile.h"
#include "render/gfx/PictureReplayCache.h"
#include "render/scene/KeptCurves.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/view/Scale.h"
#include "render/view/ViewServices.h"

#include <array>
#include <optional>

// What the scene keeps from one redraw to the next.
struct TSceneState {
    // The traced part of the last scene: it goes onto the trace layer
    // before the next scene is drawn, as that scene's after-image.
    TMetafile SceneMetafile;
    // The last scene's graph picture as it went onto the visible graph.
    TMetafile GraphMetafile;
    // Goes onto the visible graph; keeps the curves that did not move.
    TPictureReplayCache GraphReplay;
    // The functions' curves as recorded into the last scene.
    TKeptCurves Curves;
    // The axes over the background colour as last drawn without traces,
    // used again while the axes' picture and the colour stay the same.
    struct TAxesLayer {
        TMetafile Axes;
        TColor Color = ColorWhite;
        QImage Pixels;
    } AxesLayer;
    // What the relation layers were last plotted with: a relation whose
    // record, or the view, options or picture size around it, differs is
    // plotted again even when no name it reads was marked changed.
    struct TRelationLayers {
        TOffsetArray<TEquationFunction, 1, RelationCount> Records;
        TDocumentOptions Options;
        int FontSize = 0;
        TAxisMapping X;
        TAxisMapping Y;
        long double XLow = 0.0L, XHigh = 0.0L, YLow = 0.0L, YHigh = 0.0L;
        // The relation pictures as last drawn: a picture drawn on or
        // replaced since then has another key.
        std::array<qint64, 1 + RelationCount> ImageKeys{};
    } RelationLayers;
    void Reset() { *this = TSceneState{}; }
};
extern TSceneState SceneState;

// How often the expensive steps ran, for tests and measurements.
struct TRedrawCounters {
    int Redraws = 0;
    int CachesEvaluated = 0;
    int RelationsPlotted = 0; // relations plotted into their layers
    void Reset() { *this = TRedrawCounters{}; }
};
extern TRedrawCounters RedrawCounters;

// The whole pipeline; the flags and the change set are cleared at its end.
// A redraw started from inside (a script's store operation) runs whole.
void Redraw(ScaleT& view, TGraphImages& images);
void DrawBackgroundLayer(ScaleT& view, TGraphImages& images);
void DrawGraphLayer(ScaleT& view, TGraphImages& images);
// The objects and functions onto the graph picture; with mode 1 everything
// drawn also goes into the scene metafile, else only what leaves a trace.
void DrawScene(ScaleT& view, TGraphImages& images, int mode);
// What the participants draw over the finished graph; with refresh they
// compute their values first.
void DrawOverlay(ScaleT& view, TCanvas& canvas, bool refresh);
// What the value and integral tools want drawn over the graph.
struct TOverlayTools {
    std::optional<long double> YValueLineX; // the value tool's line, while it is shown
    bool IntegralToolActive = false;        // bounds and area of the integral tool
};
// The value tool's XOR line, the integral tool's bound lines and its area.
void DrawOverlayTools(const ScaleT& view, TCanvas& canvas, const TOverlayTools& tools);
void DrawBackgroundPicture(ScaleT& view, TGraphImages& images);
// A trace step on demand: the present functions and objects drawn onto the
// graph and stamped onto the trace layer.
void DrawChangedObjects(ScaleT& view, TGraphImages& images);
// The picture ANDed onto the trace layer, its dark pixels then turned into
// the after-image colour.
void StampAfterImages(ScaleT& view, TGraphImages& images, const TMetafile& picture);
void ClearTracesAndRedraw(ScaleT& view, TGraphImages& images);
// The traced part of the last scene goes onto the trace layer, as the
// background layer puts it there before a scene that changed objects.
void StampLastSceneOnTraces(ScaleT& view, TGraphImages& images);

// The redraw as the view calls it (ScaleT::Redraw).
class TSceneRedrawer final : public TRedrawer {
public:
    void Redraw(ScaleT& view, TGraphImages& images) override;
    // The view history has its own owner, reached through the redraw host.
    void PushViewHistory(const ScaleT& view) override;
};
// Makes the pipeline the program's redrawer (at start-up).
void InstallSceneRedrawer();
// Puts the do-nothing redrawer back when the pipeline is installed (between
// tests).
void UninstallSceneRedrawer();
