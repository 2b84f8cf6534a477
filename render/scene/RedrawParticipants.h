#pragma once

// The features that take part in every redraw (the session's parameter
// edits and tool values, scripts, stickers, the tool windows, pen marks,
// picture series) each register a participant at start-up, in the order of
// TRedrawOrder. The redraw calls every registered participant at each step,
// in that order; a step a participant does not override does nothing.
#include "model/CharSet.h"
#include "platform/Participants.h"
#include "render/gfx/Canvas.h"
#include "render/view/Scale.h"
#include "render/view/ViewMapping.h"

#include <utility>

class TRedrawParticipant {
public:
    virtual ~TRedrawParticipant() = default;

    // The visible range changed: marks tied to the old view go.
    virtual void ViewChanged() {}
    // First step of the scene, before it reads the parameters: values typed
    // and not yet taken over are applied now.
    virtual void ApplyPendingEdits() {}
    // Before the objects are drawn, with the change set as it stands at this
    // participant's turn (a copy: what it changes joins the live set). Not
    // called while a script runs or the windows are rebuilt after a load.
    virtual void BeforeRedraw(const TWideCharSet& changedNames) { (void)changedNames; }
    // The objects' states were evaluated; statesRebuilt when they were built
    // anew in this redraw (the objects were dirty).
    virtual void ObjectsEvaluated(const ScaleT& view, bool statesRebuilt) { (void)view, (void)statesRebuilt; }
    // The scene's objects, functions and relations are drawn.
    virtual void SceneDrawn() {}
    // Over the finished graph: with refresh the values shown are computed
    // first; without it what was computed last is drawn again.
    virtual void DrawOver(TCanvas& canvas, const TViewMapping& mapping, bool refresh)
    {
        (void)canvas, (void)mapping, (void)refresh;
    }
    // The objects changed in this redraw; force: render everything again,
    // not only what changed.
    virtual void AfterObjects(TGraphImages& images, bool force) { (void)images, (void)force; }
    // Over the graph after the background picture, on every redraw, before
    // the window shows it.
    virtual void OverBackground(TCanvas& canvas) { (void)canvas; }
    // Into a picture of the whole scene for printing or export, at the
    // magnification of the drawing under way.
    virtual void ComposeScene(TCanvas& canvas) { (void)canvas; }
    // The window shows the new graph.
    virtual void AfterRepaint() {}
};

// Where each feature takes its turn; participants of one place keep the
// order in which they registered.
enum class TRedrawOrder {
    Session,      // parameter edits, the tools' values, the figures' states
    Scripts,      // scripts triggered by the change set
    ToolWindows,  // the value table and integral windows
    Notes,        // stickers with live values
    Pen,          // free-hand marks
    Pictures,     // picture series
};

using TRedrawParticipation = platform::ScopedParticipation<TRedrawParticipant, TRedrawOrder>;

// Runs step on every registered participant, in order.
template <class Step>
void ForEachRedrawParticipant(Step&& step)
{
    platform::Participants<TRedrawParticipant, TRedrawOrder>::forEach(std::forward<Step>(step));
}

// Steps that the windows start outside a redraw.
// The view changed without a redraw of its own (a resize, a reset).
void NotifyViewChanged();
// Every participant renders what follows the objects again, all of it.
void RefreshAfterObjects(TGraphImages& images);
