#pragma once

#include "render/view/ViewServices.h"

#include <QString>
#include <climits>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Test fakes of the view's upward interfaces: each answers what the test
// set and counts what it was asked.

class CountingRedrawHost final : public TRedrawHost {
public:
    std::optional<int> PanelWidth; // what DataPanelWidth answers
    int WorkArea = INT_MAX / 2;
    int PanelWidthQueries = 0;
    int WorkAreaQueries = 0;

    // The redraw's steps: what they answer, and how often they ran.
    bool RefreshingAll = false;          // what InRefreshAll answers
    TOverlayTools Tools;                 // what OverlayTools answers
    QImage Background;                   // the background picture; none while null
    std::function<void(const TWideCharSet&)> OnScripts; // the triggered scripts
    std::vector<TWideCharSet> ScriptRuns; // the change set of every call
    int BusyDepth = 0;                   // busy cursors begun and not ended
    int BusyCursors = 0;
    int PendingEditsApplied = 0;
    int StickerRefreshes = 0;
    int ForcedStickerRefreshes = 0;
    int ImagesSaved = 0;
    int OverlayQueries = 0;
    int RefreshedOverlays = 0;
    int FreehandClears = 0;
    int FreehandDraws = 0;
    int StickerDraws = 0;
    int ParamRowsUnmarked = 0;
    int Repaints = 0;
    std::vector<QString> CaptionSuffixes; // every suffix shown, the empty one included

    void BeginBusyCursor() override
    {
        ++BusyDepth;
        ++BusyCursors;
    }
    void EndBusyCursor() override { --BusyDepth; }
    void ApplyPendingPrmEdits() override { ++PendingEditsApplied; }
    bool InRefreshAll() override { return RefreshingAll; }
    void RunTriggeredScripts(const TWideCharSet& changedNames) override
    {
        ScriptRuns.push_back(changedNames);
        if (OnScripts)
            OnScripts(changedNames);
    }
    void RefreshStickers(TGraphImages&, bool force) override
    {
        ++StickerRefreshes;
        ForcedStickerRefreshes += force ? 1 : 0;
    }
    void SaveNextImage() override { ++ImagesSaved; }
    TOverlayTools OverlayTools(bool refresh) override
    {
        ++OverlayQueries;
        RefreshedOverlays += refresh ? 1 : 0;
        return Tools;
    }
    void ClearFreehandMarks() override { ++FreehandClears; }
    void DrawFreehandMarks(TCanvas&) override { ++FreehandDraws; }
    void DrawStickersTo(TCanvas&) override { ++StickerDraws; }
    const QImage* BackgroundPicture() override { return Background.isNull() ? nullptr : &Background; }
    void UnmarkScriptChangedParams() override { ++ParamRowsUnmarked; }
    void RepaintGraph() override { ++Repaints; }
    void SetCaptionSuffix(const QString& suffix) override { CaptionSuffixes.push_back(suffix); }
    QString CaptionSuffix() override { return CaptionSuffixes.empty() ? QString() : CaptionSuffixes.back(); }

    std::optional<int> DataPanelWidth() override
    {
        ++PanelWidthQueries;
        return PanelWidth;
    }
    int WorkAreaWidth() override
    {
        ++WorkAreaQueries;
        return WorkArea;
    }
};

class CountingRedrawer final : public TRedrawer {
public:
    int Redraws = 0;
    TGraphImages* LastImages = nullptr;
    std::vector<TWorldRect> PushedViews; // the range of every view saved

    void Redraw(ScaleT&, TGraphImages& images) override
    {
        ++Redraws;
        LastImages = &images;
    }
    void PushViewHistory(const ScaleT& view) override { PushedViews.push_back(view.Range()); }
};

// Replaces each text of Replacements in turn.
class FakeAxisNameTranslator final : public TAxisNameTranslator {
public:
    std::vector<std::pair<QString, QString>> Replacements;
    int Translations = 0;

    QString TranslateAxisName(const QString& caption) override
    {
        ++Translations;
        QString text = caption;
        for (const auto& [from, to] : Replacements)
            text.replace(from, to);
        return text;
    }
};
