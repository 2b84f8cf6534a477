#include "session/NoteEdits.h"

#include "session/EditScope.h"
#include "session/Stickers.h"
#include "session/UndoPoints.h"

#include "model/DocumentState.h"
#include "model/Options.h"

namespace {

constexpr std::uint8_t StickersHidden = 0;
constexpr std::uint8_t StickersShown = 3;

} // namespace

void ClearAllNotes()
{
    const TEditScope clear;
    SaveUndoPoint();
    ResetLists();
    ArrangeStickers();
    TEditScope::DocumentChanged();
}

void SetStickersShown(bool shown)
{
    Options.PetaMemoStyle = shown ? StickersShown : StickersHidden;
    ArrangeStickers();
    RefreshStickers(true);
}
