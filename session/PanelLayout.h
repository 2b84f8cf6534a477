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

// A sticker image: its place (its top-left in the graph picture's pixels),
// and whether it lies on the data panel's notes panel instead of the graph.
struct TStickerPlace {
    int Left = 0;
    int Top = 0;
    std::uint8_t OnConsole = 0;
    bool operator==(const TStickerPlace&) const = default;
};
// Where a sticker waits on the graph in a new document, and where a new
// sticker goes.
constexpr int StickerHomeLeft = 4;
constexpr int StickerHomeTop = 24;

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
    // The panels one under the other in their stored order, the figures'
    // hidden.
    static TOffsetArray<TPanelPlace, 1, PanelCount> DefaultPanels();
};
extern TPanelLayout PanelLayout;

// Row positions of one list (rows are 1-based). When the row has no place:
// the place after the rows that have one.
void AssignRowPosition(std::span<TRowState> rows, int row);
// The row gives up its place; the rows after it move up one.
void ReleaseRowPosition(std::span<TRowState> rows, int row);
// The row takes the place of row target; the rows from there on move down
// one. Nothing when they are the same row.
void MoveRowPosition(std::span<TRowState> rows, int row, int target);

// Where a dragged row lands, decided from what it was dropped on.
enum class TDropKind {
    RowPicture, // the picture of a row of some panel
    Panel,      // a panel itself (outside its rows)
    ScrollBox,  // the empty scroll box below the panels
    Toolbar,    // the data panel's tool bar
};
struct TDropSpot {
    TDropKind Kind = TDropKind::Panel;
    int Panel = 0; // the panel of the row or the panel dropped on (TPanelIndex)
    int Row = 0;   // the row's slot, for RowPicture
};
// What a drop does: nothing, a row taking another row's place in the same
// list, or the dragged row's whole panel moving to a new stored top.
struct TDropAction {
    enum Kind { Nothing, MoveRow, MovePanel } What = Nothing;
    int Panel = 0;
    int Row = 0;    // MoveRow: the dragged row ...
    int Target = 0; // ... takes this row's place
    int NewTop = 0; // MovePanel: the panel's new top
    bool operator==(const TDropAction&) const = default;
};
// The panel tops the drop rules compare (the panels as they stand).
struct TPanelBox {
    int Top = 0;
    int Height = 0;
};
// The drop rules: a row picture onto a picture of the same list moves the
// row; anything else moves the dragged row's panel: onto the tool bar
// nothing, onto the empty scroll box to the end (10000), onto a panel below
// it just under that panel, onto a panel above it (or itself) to the top.
// The curve and point panels share one list of object rows.
TDropAction DropRule(const TDropSpot& source, const TDropSpot& target,
                     const TOffsetArray<TPanelBox, 1, PanelCount>& panels);
// The top given to a panel dropped on the empty scroll box.
constexpr int PanelTopAtEnd = 10000;

// The panels from top to bottom: ascending stored top, and on equal tops
// the lower panel number first.
std::array<int, PanelCount> PanelStackOrder();
