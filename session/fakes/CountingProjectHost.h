#pragma once

#include "session/ProjectHost.h"

#include <QString>
#include <utility>
#include <vector>

// Test fake of the windows' side of the project file: counts every step,
// keeps what it was given and answers what the test set.
class CountingProjectHost final : public TProjectHost {
public:
    // Answers.
    int PageControl = 0;

    // What was asked.
    std::vector<QString> Captions;
    int RowRefreshes = 0;
    int PanelArrangements = 0;
    int StretchButtonUpdates = 0;
    std::vector<QString> BackgroundFiles;
    int GraphAreaResizes = 0;
    std::vector<bool> AxisOnButtons;
    std::vector<std::pair<bool, bool>> UndoControls; // (undo, redo) enabled
    int ViewHistoryUpdates = 0;

    void SetFileCaption(const QString& fileName) override { Captions.push_back(fileName); }
    void RefreshRows() override { ++RowRefreshes; }
    void ArrangePanels() override { ++PanelArrangements; }
    void UpdateStretchButton() override { ++StretchButtonUpdates; }
    void LoadBackgroundFile(const QString& path) override { BackgroundFiles.push_back(path); }
    int PageControlHeight() override { return PageControl; }
    void ResizeGraphArea() override { ++GraphAreaResizes; }
    void SetAxisOnButton(bool down) override { AxisOnButtons.push_back(down); }
    void UpdateUndoControls(bool canUndo, bool canRedo) override { UndoControls.emplace_back(canUndo, canRedo); }
    void UpdateViewHistoryControls() override { ++ViewHistoryUpdates; }
};
