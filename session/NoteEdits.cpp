#include "session/NoteEdits.h"

#include "session/UndoPoints.h"

#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"

namespace {

constexpr std::uint8_t StickersHidden = 0;
constexpr std::uint8_t StickersShown = 3;

} // namespace

void ClearAllNotes()
{
    SaveUndoPoint();
    ResetLists();
}

void SetStickersShown(bool shown)
{
    Options.PetaMemoStyle = shown ? StickersShown : StickersHidden;
}
