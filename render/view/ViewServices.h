#pragma once

#include "platform/ServiceSlot.h"
#include "render/view/Scale.h"

#include <QString>
#include <optional>

// The view calls upwards, into the windows, the redraw pipeline and the
// markup, only through these interfaces. Each owner installs its
// implementation (platform::ScopedService or ServiceSlot::install); until
// then a default that does nothing stands in.

// The window side of the view and of its redraw. Later steps of the redraw
// belong here too: repainting the graph window, running the scripts a
// change triggers, refreshing stickers, the picture series, tool overlays
// and the hourglass.
class TRedrawHost {
public:
    virtual ~TRedrawHost() = default;
    // The width of the data panel, or nothing while the panel does not exist.
    virtual std::optional<int> DataPanelWidth() = 0;
    // The width of the screen's work area.
    virtual int WorkAreaWidth() = 0;
};

// The layered redraw of the view into the graph pictures, and the view
// history it keeps.
class TRedrawer {
public:
    virtual ~TRedrawer() = default;
    virtual void Redraw(ScaleT& view, TGraphImages& images) = 0;
    // Saves the current view before a recorded range change.
    virtual void PushViewHistory(const ScaleT& view) = 0;
};

// The axis name with its label markup translated to control characters.
class TAxisNameTranslator {
public:
    virtual ~TAxisNameTranslator() = default;
    virtual QString TranslateAxisName(const QString& caption) = 0;
};

TRedrawHost& CurrentRedrawHost();
TRedrawer& CurrentRedrawer();
TAxisNameTranslator& CurrentAxisNameTranslator();
using ScopedRedrawHost = platform::ScopedService<TRedrawHost>;
using ScopedRedrawer = platform::ScopedService<TRedrawer>;
using ScopedAxisNameTranslator = platform::ScopedService<TAxisNameTranslator>;
