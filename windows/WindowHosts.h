#pragma once

// The windows' side of the view's redraw and of the project file: what the
// render layer and the session ask of the graph window and the data panel.
#include "render/view/ViewServices.h"
#include "session/ProjectHost.h"

#include <functional>

class TWindowRedrawHost final : public TRedrawHost {
public:
    std::optional<int> DataPanelWidth() override;
    int WorkAreaWidth() override;
    bool InRefreshAll() override;
    void RepaintGraph() override;
};

// The rows, stickers, scripts and tool buttons do not exist yet: their
// steps do nothing until those windows are built.
class TWindowProjectHost final : public TProjectHost {
public:
    void SetFileCaption(const QString& fileName) override;
    void RefreshRows() override {}
    void ArrangePanels() override {}
    void UpdateStretchButton() override {}
    void LoadBackgroundFile(const QString&) override {}
    int PageControlHeight() override;
    void ResizeGraphArea() override;
    void SetAxisOnButton(bool) override {}
    bool CompileScripts(const QStringList&) override { return true; }
    void BuildStickerTexts(const QStringList&) override {}
    void ArrangeStickers() override {}
    void UpdateUndoControls(bool, bool) override {}
    void UpdateViewHistoryControls() override {}
};

// The screen's work area (without panels and task bars) of the screen the
// program's windows are on.
QRect WorkArea();
