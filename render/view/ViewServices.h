#pragma once

#include "platform/ServiceSlot.h"
#include "render/view/Scale.h"

#include <QImage>
#include <QString>
#include <optional>

// The view calls upwards, into the graph window, the redraw pipeline and
// the markup, only through these interfaces. Each owner installs its
// implementation (platform::ScopedService or ServiceSlot::install); until
// then a default that does nothing stands in.

// What only the graph window does for the view and its redraw: its sizes,
// the busy cursor, showing the new picture, the view history, its caption
// and the background picture. The features that take part in a redraw
// register as participants (render/scene/RedrawParticipants.h). Until the
// window installs itself, each does nothing (the busy cursor excepted).
class TRedrawWindow {
public:
    virtual ~TRedrawWindow() = default;
    // The width of the data panel, or nothing while the panel does not exist.
    virtual std::optional<int> DataPanelWidth() = 0;
    // The width of the screen's work area.
    virtual int WorkAreaWidth() = 0;

    // The busy cursor for the length of a redraw; calls nest. By default the
    // application's override cursor, when there is a GUI application.
    virtual void BeginBusyCursor();
    virtual void EndBusyCursor();
    // The picture shown behind the graph; null while none is loaded.
    virtual const QImage* BackgroundPicture() { return nullptr; }
    // The graph window shows the visible graph picture anew.
    virtual void RepaintGraph() {}
    // The current view goes into the back-and-forward history (a recorded
    // range change); nothing while there is no history.
    virtual void RecordView() {}
    // Text shown after the graph window's caption (a long replay says how
    // to stop it); empty: the caption alone.
    virtual void SetCaptionSuffix(const QString& suffix) { (void)suffix; }
    // The text shown after the caption now, for a long step that shows its
    // progress there and puts it back afterwards.
    virtual QString CaptionSuffix() { return {}; }
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

TRedrawWindow& CurrentRedrawWindow();
TRedrawer& CurrentRedrawer();
TAxisNameTranslator& CurrentAxisNameTranslator();
using ScopedRedrawWindow = platform::ScopedService<TRedrawWindow>;
using ScopedRedrawer = platform::ScopedService<TRedrawer>;
using ScopedAxisNameTranslator = platform::ScopedService<TAxisNameTranslator>;
