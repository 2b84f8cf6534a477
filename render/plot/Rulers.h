#pragma once

// The rulers beside the graph (the x ruler under it, the y ruler left of
// it) and the graph window's side of them.
#include "platform/ServiceSlot.h"
#include "render/gfx/Metafile.h"
#include "render/plot/Axes.h"

#include <QSize>
#include <QString>
#include <optional>

// The sizes of the two ruler images of the graph window.
struct TRulerImageSizes {
    QSize X; // under the graph: the graph's width by the strip's height
    QSize Y; // left of the graph: the strip's width by the graph's height
    bool operator==(const TRulerImageSizes&) const = default;
};

// The ruler strips' sizes for the widest y label (or name) and the height
// of a label digit, in screen pixels.
struct TRulerPanelSizes {
    int YPanelWidth = 20;
    int XPanelHeight = 20;
    bool operator==(const TRulerPanelSizes&) const = default;
};
TRulerPanelSizes RulerPanelSizes(int yLabelsWidth, int digitHeight);
// The ruler images of strips of those sizes whose client area is the whole
// strip: the strip less 5 pixels across, the graph's length along.
TRulerImageSizes RulerImagesOfPanels(const TRulerPanelSizes& panels, int xPixels, int yPixels);

// The graph window's side of the axes layer. Until the window exists a
// default that does nothing stands in; without images the rulers are as
// large as the strips would make them.
class TAxisPanelsHost {
public:
    virtual ~TAxisPanelsHost() = default;
    // On screen: the ruler strips take these sizes and their images follow.
    virtual void SizeRulerPanels(const TRulerPanelSizes& panels) = 0;
    // The ruler images' sizes now; nothing while there are none.
    virtual std::optional<TRulerImageSizes> RulerImageSizes() = 0;
    // "low < name < high" of each axis.
    virtual void SetRangeTexts(const QString& x, const QString& y) = 0;
    // On screen: the rulers shown in their images on a light grey ground,
    // the ruler's mouse mark taken away.
    virtual void ShowRulers(const TMetafile& xRuler, const TMetafile& yRuler) = 0;
    // On screen: the strips, graph and palette laid out again.
    virtual void ArrangePanels() = 0;
};

TAxisPanelsHost& CurrentAxisPanelsHost();
using ScopedAxisPanelsHost = platform::ScopedService<TAxisPanelsHost>;

// The x ruler: a picture of the image's size less one, magnified, with the
// x axis's ticks, labels, line and name 5 pixels from its top.
TMetafile XRulerMetafile(const TAxesFrame& frame, QSize image);
// The y ruler: the y axis 6 pixels from the image's right edge.
TMetafile YRulerMetafile(const TAxesFrame& frame, QSize image);
