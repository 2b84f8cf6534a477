#pragma once

#include "model/Figures.h"
#include "render/plot/FigureServices.h"

#include <vector>

// Test fakes of the figure list's upward interfaces.

class CountingUndoPoints final : public TUndoPoints {
public:
    int Saved = 0;
    void SaveUndoPoint() override { ++Saved; }
};

// Keeps one record's figure colours and shifts them as the trace store does.
class RecordingFigureTraces final : public TFigureTraces {
public:
    std::vector<int> Deleted;
    TFigureColours Colours = TFigureColours::filledWith(NoTraceColor);
    TFigureColours Fills = TFigureColours::filledWith(NoTraceColor);

    void FigureDeleted(int s) override
    {
        Deleted.push_back(s);
        ShiftFigureColoursDown(Colours, s);
        ShiftFigureColoursDown(Fills, s);
    }
};
