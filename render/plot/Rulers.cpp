#include "render/plot/Rulers.h"

#include "model/Numeric.h"

#include <algorithm>

namespace {

class NoAxisPanels final : public TAxisPanelsHost {
public:
    void SizeRulerPanels(const TRulerPanelSizes&) override {}
    std::optional<TRulerImageSizes> RulerImageSizes() override { return std::nullopt; }
    void SetRangeTexts(const QString&, const QString&) override {}
    void ShowRulers(const TMetafile&, const TMetafile&) override {}
    void ArrangePanels() override {}
};

// A picture of the image's size less one, at the frame's magnification.
TMetafile RulerPicture(const TAxesFrame& frame, QSize image)
{
    TMetafile picture;
    picture.Width = std::max(0, image.width() - 1) * frame.Magnification();
    picture.Height = std::max(0, image.height() - 1) * frame.Magnification();
    return picture;
}

} // namespace

TAxisPanelsHost& CurrentAxisPanelsHost()
{
    return platform::InstalledOr<TAxisPanelsHost, NoAxisPanels>();
}

TRulerPanelSizes RulerPanelSizes(int yLabelsWidth, int digitHeight)
{
    return {std::max(20, yLabelsWidth + 14), std::max(20, NearestInt(digitHeight * 1.6L) + 7)};
}

TRulerImageSizes RulerImagesOfPanels(const TRulerPanelSizes& panels, int xPixels, int yPixels)
{
    return {QSize(xPixels, panels.XPanelHeight - 5), QSize(panels.YPanelWidth - 5, yPixels)};
}

TMetafile XRulerMetafile(const TAxesFrame& frame, QSize image)
{
    TMetafile ruler = RulerPicture(frame, image);
    {
        TCanvas canvas = MakeMetafileCanvas(ruler);
        DrawXAxis(canvas, frame, 5 * frame.Magnification(), true, 100);
    }
    return ruler;
}

TMetafile YRulerMetafile(const TAxesFrame& frame, QSize image)
{
    TMetafile ruler = RulerPicture(frame, image);
    {
        TCanvas canvas = MakeMetafileCanvas(ruler);
        DrawYAxis(canvas, frame, (image.width() - 6) * frame.Magnification(), true, 100);
    }
    return ruler;
}
