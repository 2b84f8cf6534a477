#pragma once

#include "model/CharSet.h"
#include "platform/ServiceSlot.h"
#include "render/view/Scale.h"

#include <QImage>
#include <QString>
#include <optional>

// The view calls upwards, into the windows, the redraw pipeline and the
// markup, only through these interfaces. Each owner installs its
// implementation (platform::ScopedService or ServiceSlot::install); until
// then a default that does nothing stands in.

// What the graph window's value and integral tools want drawn over the graph.
struct TOverlayTools {
    std::optional<long double> YValueLineX; // the value tool's line, while it is shown
    bool IntegralToolActive = false;        // bounds and area of the integral tool
};

// The window side of the view and of its redraw: the steps of a redraw that
// belong to the windows, the data panel, the scripts and the notes. Until
// their owners install a host, each does nothing (the busy cursor excepted).
class TRedrawHost {
public:
    virtual ~TRedrawHost() = default;
    // The width of the data panel, or nothing while the panel does not exist.
    virtual std::optional<int> DataPanelWidth() = 0;
    // The width of the screen's work area.
    virtual int WorkAreaWidth() = 0;

    // The busy cursor for the length of a redraw; calls nest. By default the
    // application's override cursor, when there is a GUI application.
    virtual void BeginBusyCursor();
    virtual void EndBusyCursor();
    // Parameter values typed into the data panel and not yet taken over.
    virtual void ApplyPendingPrmEdits() {}
    // True while the windows are rebuilt after a load or an undo step.
    virtual bool InRefreshAll() { return false; }
    // Runs, in their order, the scripts whose trigger names something in
    // changedNames (a copy: the scripts' own changes go to the live set).
    virtual void RunTriggeredScripts(const TWideCharSet& changedNames) { (void)changedNames; }
    // Renders the changed stickers again, all of them when forced.
    virtual void RefreshStickers(TGraphImages& images, bool force) { (void)images, (void)force; }
    // Saves the next numbered picture while a picture series is being saved.
    virtual void SaveNextImage() {}
    // What the tools want drawn; with refresh their values are computed
    // first (the value table, the integrals).
    virtual TOverlayTools OverlayTools(bool refresh) { (void)refresh; return {}; }
    // The free-hand marks: erased when the view changes, drawn over the graph.
    virtual void ClearFreehandMarks() {}
    virtual void DrawFreehandMarks(TCanvas& canvas) { (void)canvas; }
    // The stickers that sit on the graph, into a picture of the whole scene
    // being composed at the current drawing's magnification.
    virtual void DrawStickersTo(TCanvas& canvas) { (void)canvas; }
    // The picture shown behind the graph; null while none is loaded.
    virtual const QImage* BackgroundPicture() { return nullptr; }
    // Parameter rows that a script marked as changed are shown plain again.
    virtual void UnmarkScriptChangedParams() {}
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

TRedrawHost& CurrentRedrawHost();
TRedrawer& CurrentRedrawer();
TAxisNameTranslator& CurrentAxisNameTranslator();
using ScopedRedrawHost = platform::ScopedService<TRedrawHost>;
using ScopedRedrawer = platform::ScopedService<TRedrawer>;
using ScopedAxisNameTranslator = platform::ScopedService<TAxisNameTranslator>;
