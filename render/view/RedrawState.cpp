#include "render/view/RedrawState.h"

#include "model/DocumentState.h"

#include <algorithm>

// One mark of each kind for every relation of the document.
static_assert(RelationSlots == RelationCount);

TRedrawState RedrawState;

namespace {

void SetFlag(TDirtyFlag flag)
{
    RedrawState.DirtyFlags[flag] = 1;
}

bool IsSet(TDirtyFlag flag)
{
    return RedrawState.DirtyFlags[flag] != 0;
}

} // namespace

void SetDirtyView() { SetFlag(DirtyView); }
void SetDirtyObjects() { SetFlag(DirtyObjects); }
void SetDirtyScale() { SetFlag(DirtyScale); }
void SetDirtyFlag3() { SetFlag(DirtyFlag3); }
void SetDirtyFlag4() { SetFlag(DirtyFlag4); }
void SetDirtyTraces() { SetFlag(DirtyTraces); }
bool IsDirtyView() { return IsSet(DirtyView); }
bool IsDirtyObjects() { return IsSet(DirtyObjects); }
bool IsDirtyScale() { return IsSet(DirtyScale); }
bool IsDirtyFlag3() { return IsSet(DirtyFlag3); }
bool IsDirtyFlag4() { return IsSet(DirtyFlag4); }
bool IsDirtyTraces() { return IsSet(DirtyTraces); }

void MarkNamesChanged(QStringView names)
{
    RedrawState.ChangedNames = CharSetUnion(RedrawState.ChangedNames, CharSetFromString(names));
}

void MarkNameRangeChanged(char16_t first, char16_t last)
{
    CharSetIncludeCharRange(RedrawState.ChangedNames, first, last);
}

void ClearChangedNames()
{
    CharSetClear(RedrawState.ChangedNames);
    RedrawState.RelationChanged.fill(0);
}

bool IsAnythingToRedraw()
{
    const TRedrawState& state = RedrawState;
    return std::any_of(state.DirtyFlags.begin(), state.DirtyFlags.end(), [](std::uint8_t f) { return f != 0; }) ||
           !CharSetIsEmpty(state.ChangedNames);
}

void ClearRedrawState()
{
    RedrawState.DirtyFlags.fill(0);
    ClearChangedNames();
}

void InitRedrawState()
{
    CharSetClear(RedrawState.LastChangedNames);
    CharSetClear(RedrawState.RedrawNames);
    ClearRedrawState();
}
