#pragma once

#include "session/RowHost.h"

#include <map>
#include <utility>

// Test fake of the row widgets: counts what it was asked to show.
class CountingRowHost final : public TRowHost {
public:
    std::map<TRowKind, int> ListShows;
    std::map<std::pair<TRowKind, int>, int> RowShows;
    int FigureShows = 0;
    int ParamShows = 0;
    std::map<int, int> ParamValueShows;
    int ScriptButtonShows = 0;

    void ShowRows(TRowKind kind) override { ++ListShows[kind]; }
    void ShowRow(TRowKind kind, int slot) override { ++RowShows[{kind, slot}]; }
    void ShowFigureRows() override { ++FigureShows; }
    void ShowParamRows() override { ++ParamShows; }
    void ShowParamValue(int j) override { ++ParamValueShows[j]; }
    void ShowScriptButtons() override { ++ScriptButtonShows; }
};
