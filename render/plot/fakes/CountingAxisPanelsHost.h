#pragma once

#include "render/plot/Rulers.h"

#include <QString>
#include <optional>
#include <vector>

// Answers the ruler image sizes the test set and records what it was told.
class CountingAxisPanelsHost final : public TAxisPanelsHost {
public:
    std::optional<TRulerImageSizes> Images; // what RulerImageSizes answers
    std::vector<TRulerPanelSizes> PanelSizes;
    QString XRangeText;
    QString YRangeText;
    int RangeTextUpdates = 0;
    int RulersShown = 0;
    TMetafile LastXRuler;
    TMetafile LastYRuler;
    int Arrangements = 0;

    void SizeRulerPanels(const TRulerPanelSizes& panels) override { PanelSizes.push_back(panels); }
    std::optional<TRulerImageSizes> RulerImageSizes() override { return Images; }
    void SetRangeTexts(const QString& x, const QString& y) override
    {
        ++RangeTextUpdates;
        XRangeText = x;
        YRangeText = y;
    }
    void ShowRulers(const TMetafile& xRuler, const TMetafile& yRuler) override
    {
        ++RulersShown;
        LastXRuler = xRuler;
        LastYRuler = yRuler;
    }
    void ArrangePanels() override { ++Arrangements; }
};
