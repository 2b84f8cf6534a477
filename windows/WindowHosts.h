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
    void ApplyPendingPrmEdits() override;
    void RepaintGraph() override;
};

// The rows, stickers, scripts and tool buttons do not exist yet: their
// steps do nothing until those windows are built.
class TWindowProjectHost final : public TNoProjectHost {
public:
    void SetFileCaption(const QString& fileName) override;
    int PageControlHeight() override;
    void ResizeGraphArea() override;
};

// The screen's work area (without panels and task bars) of the screen the
// program's windows are on.
QRect WorkArea();
