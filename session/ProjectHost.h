#pragma once

#include "platform/ServiceSlot.h"

#include <QString>

// What the project file and the undo points ask of the windows, and only
// what the windows themselves do: their caption, rows, panels, buttons and
// graph area. The model side (positions of rows, panels and stickers, the
// flags of the tool buttons) lives in the session; these steps only bring
// the windows up to date with it. Features with a store of their own take
// part through DocumentParticipants.h. Until the windows install their
// implementation a host that does nothing stands in.
class TProjectHost {
public:
    virtual ~TProjectHost() = default;

    // The graph window's caption from the current file name (empty: no file).
    virtual void SetFileCaption(const QString& fileName) = 0;
    // After every row model was rebuilt and shown (RefreshAllRows): what
    // the data panel redoes as a whole, its panels' heights and stacking.
    virtual void RefreshRows() = 0;
    // The eight panels stacked from their stored places (PanelStackOrder).
    virtual void ArrangePanels() = 0;
    // The background button shows the stored stretch mode.
    virtual void UpdateStretchButton() = 0;
    // Shows the background picture of an existing file.
    virtual void LoadBackgroundFile(const QString& path) = 0;
    // Height of the graph window's control tabs, which the graph area leaves
    // free unless they hide themselves.
    virtual int PageControlHeight() = 0;
    // The graph area and its layer images brought to the axes' pixel lengths.
    virtual void ResizeGraphArea() = 0;
    // The tool button of the border axes shows the view's state.
    virtual void SetAxisOnButton(bool down) = 0;

    // The enabled state of the undo and redo menu items and buttons.
    virtual void UpdateUndoControls(bool canUndo, bool canRedo) = 0;
    // The back and forward buttons after the view history was emptied.
    virtual void UpdateViewHistoryControls() = 0;
    // True while the graph window's mouse work passes through views that
    // the view history must not record (a drag under way).
    virtual bool SuppressesViewHistory() { return false; }
};

// No windows: nothing to bring up to date, no control tabs. Windows that
// exist only in part derive from it.
class TNoProjectHost : public TProjectHost {
public:
    void SetFileCaption(const QString&) override {}
    void RefreshRows() override {}
    void ArrangePanels() override {}
    void UpdateStretchButton() override {}
    void LoadBackgroundFile(const QString&) override {}
    int PageControlHeight() override { return 0; }
    void ResizeGraphArea() override {}
    void SetAxisOnButton(bool) override {}
    void UpdateUndoControls(bool, bool) override {}
    void UpdateViewHistoryControls() override {}
};

TProjectHost& CurrentProjectHost();
using ScopedProjectHost = platform::ScopedService<TProjectHost>;
