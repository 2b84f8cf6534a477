#pragma once

// A graph window for the mouse work's tests: it records what the mouse work
// asks of it.
#include "session/MouseDrag.h"

#include <vector>

class RecordingSurface final : public TMouseSurface {
public:
    int Repaints = 0, AreaShown = 0, AreaHidden = 0, ReadOuts = 0;
    std::vector<TPixelRect> AreaPlaces;
    std::vector<QPoint> Warps;
    std::vector<int> Tools;
    std::vector<int> Figures;
    QString Position, Hint;
    THoverTarget Target;
    TGraphCursor Cursor = TGraphCursor::Cross;
    bool StickersEnabled = true;
    bool WantReadOut = false;

    void RepaintGraph() override { ++Repaints; }
    void ShowAreaImage(const QImage&) override { ++AreaShown; }
    void PlaceAreaImage(const TPixelRect& rect) override { AreaPlaces.push_back(rect); }
    void HideAreaImage() override { ++AreaHidden; }
    void SetCursorShape(TGraphCursor cursor) override { Cursor = cursor; }
    void WarpPointer(QPoint pixel) override { Warps.push_back(pixel); }
    void ShowStatus(const QString& position, const QString& hint) override { Position = position, Hint = hint; }
    void MoveAxisCursors(QPoint) override {}
    void ShowAreaTool(int mode) override { Tools.push_back(mode); }
    void SetStickersEnabled(bool enabled) override { StickersEnabled = enabled; }
    bool ReadOutWanted() override { return WantReadOut; }
    void ShowReadOut(QPoint, const QString&, const THoverTarget& target, TGraphCursor) override
    {
        ++ReadOuts;
        Target = target;
    }
    void FigureAdded(int s) override { Figures.push_back(s); }
};
