#pragma once

#include "model/DocumentState.h"
#include "model/OffsetArray.h"

#include <array>
#include <cstdint>
#include <span>

// What the project keeps of the windows' layout: the order and show flags of
// the data panel's rows, the places of its eight panels, the places of the
// sticker images and two tool buttons of the graph window. The windows
// arrange themselves from here (TProjectHost) and write changes back.

// One row of a data panel list: its place in the panel (1-based display
// order, 0 = none yet) and its show button.
struct TRowState {
    int Position = 0;
    std::uint8_t Shown = 1;
    bool operator==(const TRowState&) const = default;
};

// The data panel's panels in the order the project stores them.
enum TPanelIndex : int {
    PanelFunctions = 1,
    PanelRelations = 2,
    PanelCurves = 3,
    PanelPoints = 4,
    PanelParameters = 5,
    PanelUserFunctions = 6,
    PanelNotes = 7,
    PanelFigures = 8,
};
constexpr int PanelCount = 8;

// A panel's stored top (panels are stacked in ascending order of it) and
// whether it is shown.
struct TPanelPlace {
    int Top = 0;
    std::uint8_t Visible = 1;
    bool operator==(const TPanelPlace&) const = default;
};

// A sticker image: its place, and whether it lies on the data panel's notes
// panel instead of the graph.
struct TStickerPlace {
    int Left = 0;
    int Top = 0;
    std::uint8_t OnConsole = 0;
    bool operator==(const TStickerPlace&) const = default;
};

struct TPanelLayout {
    TOffsetArray<TRowState, 1, UserFunctionCount> UserFunctionRows;
    TOffsetArray<TRowState, 1, FunctionCount> FunctionRows;
    TOffsetArray<TRowState, 1, RelationCount> RelationRows;
    TOffsetArray<TRowState, 1, PointCount> PointRows;
    TOffsetArray<TRowState, 1, ParamCount> ParamRows;
    TOffsetArray<TPanelPlace, 1, PanelCount> Panels = DefaultPanels();
    TOffsetArray<TStickerPlace, 1, MaxStickers> StickerPlaces;
    std::uint8_t ShowPosition = 0; // the graph window shows the mouse position
    std::uint8_t ShowEquation = 0; // the graph window shows the equations

    void Reset() { *this = TPanelLayout{}; }
    // Every row without a place, shown.
    void ClearRows();
    bool operator==(const TPanelLayout&) const = default;

private:
    // The panels one under the other in their stored order.
    static TOffsetArray<TPanelPlace, 1, PanelCount> DefaultPanels();
};
extern TPanelLayout PanelLayout;

// When the row has no place: the place after the rows that have one.
void AssignRowPosition(std::span<TRowState> rows, int row);

// The panels from top to bottom: ascending stored top, and on equal tops
// the lower panel number first.
std::array<int, PanelCount> PanelStackOrder();
