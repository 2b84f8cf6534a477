#pragma once

// A graph window for the mouse work's tests: it records what the mouse work
// asks of it.
#include "session/MouseDrag.h"

#include "render/view/Scale.h"

#include <gtest/gtest.h>

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

// The graph of the mouse tests: x over 400 pixels, y over 300.
inline void SetMouseTestView(long double x1, long double x2, long double y1, long double y2)
{
    GraphScale.XAxis.VHigh = 400;
    GraphScale.YAxis.VHigh = 300;
    for (TBitmap& image : GraphScale.GraphImages)
        image.SetSize(401, 301);
    ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{x1, y1}, {x2, y2}}));
}
