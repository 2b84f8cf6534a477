#pragma once

#include "render/view/ViewServices.h"

#include <QString>
#include <climits>
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
