#pragma once

#include "render/view/ViewServices.h"

#include <QString>
#include <climits>
#include <optional>
#include <utility>
#include <vector>

// Test fakes of the view's upward interfaces: each answers what the test
// set and counts what it was asked.

class CountingRedrawWindow final : public TRedrawWindow {
public:
    std::optional<int> PanelWidth; // what DataPanelWidth answers
    int WorkArea = INT_MAX / 2;
    QImage Background;             // the background picture; none while null
    int PanelWidthQueries = 0;
    int WorkAreaQueries = 0;
    int BusyDepth = 0; // busy cursors begun and not ended
    int BusyCursors = 0;
    int Repaints = 0;
    int ViewsRecorded = 0;
    std::vector<QString> CaptionSuffixes; // every suffix shown, the empty one included

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
    void BeginBusyCursor() override
    {
        ++BusyDepth;
        ++BusyCursors;
    }
    void EndBusyCursor() override { --BusyDepth; }
    const QImage* BackgroundPicture() override { return Background.isNull() ? nullptr : &Background; }
    void RepaintGraph() override { ++Repaints; }
    void RecordView() override { ++ViewsRecorded; }
    void SetCaptionSuffix(const QString& suffix) override { CaptionSuffixes.push_back(suffix); }
    QString CaptionSuffix() override { return CaptionSuffixes.empty() ? QString() : CaptionSuffixes.back(); }
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
