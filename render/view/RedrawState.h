#pragma once

#include "model/CharSet.h"
#include "model/OffsetArray.h"

#include <QStringView>
#include <array>
#include <cstdint>

// What must be redrawn since the last redraw: six dirty flags and the set of
// name tokens that changed. They accumulate between redraws; the redraw
// clears them at its end.
enum TDirtyFlag : int {
    DirtyView = 0,    // the visible range changed
    DirtyObjects = 1, // objects changed
    DirtyScale = 2,   // scale or ticks changed
    DirtyFlag3 = 3,   // the background and the relation layer must be rebuilt
    DirtyFlag4 = 4,   // per-object locus widths are taken as they are
    DirtyTraces = 5,  // traces were erased
};

constexpr int RelationSlots = 9;

struct TRedrawState {
    std::array<std::uint8_t, 6> DirtyFlags{};
    TWideCharSet ChangedNames;
    TOffsetArray<std::uint8_t, 1, RelationSlots> RelationChanged{};
    // Input and output of the last closure over references, reused when the
    // same input comes again.
    TWideCharSet LastChangedNames;
    TWideCharSet RedrawNames;
    TOffsetArray<std::uint8_t, 1, RelationSlots> SavedRelationChanged{};
    // Set while a relation that depends on something outside the change set
    // has not been redrawn since.
    TOffsetArray<std::uint8_t, 1, RelationSlots> RelationDrawnOnce{};

    void Reset() { *this = TRedrawState{}; }
};
extern TRedrawState RedrawState;

void SetDirtyView();
void SetDirtyObjects();
void SetDirtyScale();
void SetDirtyFlag3();
void SetDirtyFlag4();
void SetDirtyTraces();
bool IsDirtyView();
bool IsDirtyObjects();
bool IsDirtyScale();
bool IsDirtyFlag3();
bool IsDirtyFlag4();
bool IsDirtyTraces();

// Each character of names is a token code added to ChangedNames.
void MarkNamesChanged(QStringView names);
// One name marked changed, so that everything that reads it is drawn again.
inline void MarkNameChanged(char16_t name)
{
    MarkNamesChanged(QStringView(&name, 1));
}
void MarkNameRangeChanged(char16_t first, char16_t last);
// ChangedNames and RelationChanged cleared.
void ClearChangedNames();
// A flag is raised or a name marked: a redraw has something to do.
bool IsAnythingToRedraw();
// The six flags and ClearChangedNames.
void ClearRedrawState();
// The closure's memory cleared, then ClearRedrawState.
void InitRedrawState();
