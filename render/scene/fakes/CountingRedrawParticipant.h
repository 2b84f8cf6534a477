#pragma once

#include "render/scene/Redraw.h"
#include "render/scene/RedrawParticipants.h"

#include <functional>
#include <string>
#include <vector>

// Test fake of a redraw participant: records every step it was called for,
// in order, and runs what the test gives it at the steps that act.
class CountingRedrawParticipant : public TRedrawParticipant {
public:
    std::vector<std::string> Steps;        // the steps in the order they came
    std::vector<TWideCharSet> ChangeSets;  // what BeforeRedraw saw, each time
    std::function<void(const TWideCharSet&)> OnBeforeRedraw;
    std::function<void()> OnPendingEdits;
    TOverlayTools Tools; // what DrawOver draws through DrawOverlayTools
    int ViewChanges = 0;
    int PendingEditsApplied = 0;
    int Evaluations = 0;
    int StatesRebuilt = 0;
    int ScenesDrawn = 0;
    int Overlays = 0;
    int RefreshedOverlays = 0;
    int AfterObjectCalls = 0;
    int ForcedAfterObjects = 0;
    int BackgroundOverlays = 0;
    int ComposedScenes = 0;
    int Repaints = 0;

    void ViewChanged() override
    {
        Steps.emplace_back("ViewChanged");
        ++ViewChanges;
    }
    void ApplyPendingEdits() override
    {
        Steps.emplace_back("ApplyPendingEdits");
        ++PendingEditsApplied;
        if (OnPendingEdits)
            OnPendingEdits();
    }
    void BeforeRedraw(const TWideCharSet& changedNames) override
    {
        Steps.emplace_back("BeforeRedraw");
        ChangeSets.push_back(changedNames);
        if (OnBeforeRedraw)
            OnBeforeRedraw(changedNames);
    }
    void ObjectsEvaluated(const ScaleT&, bool statesRebuilt) override
    {
        Steps.emplace_back("ObjectsEvaluated");
        ++Evaluations;
        StatesRebuilt += statesRebuilt ? 1 : 0;
    }
    void SceneDrawn() override
    {
        Steps.emplace_back("SceneDrawn");
        ++ScenesDrawn;
    }
    void DrawOver(TCanvas& canvas, const TViewMapping&, bool refresh) override
    {
        Steps.emplace_back("DrawOver");
        ++Overlays;
        RefreshedOverlays += refresh ? 1 : 0;
        DrawOverlayTools(GraphScale, canvas, Tools);
    }
    void AfterObjects(TGraphImages&, bool force) override
    {
        Steps.emplace_back("AfterObjects");
        ++AfterObjectCalls;
        ForcedAfterObjects += force ? 1 : 0;
    }
    void OverBackground(TCanvas&) override
    {
        Steps.emplace_back("OverBackground");
        ++BackgroundOverlays;
    }
    void ComposeScene(TCanvas&) override
    {
        Steps.emplace_back("ComposeScene");
        ++ComposedScenes;
    }
    void AfterRepaint() override
    {
        Steps.emplace_back("AfterRepaint");
        ++Repaints;
    }
};
