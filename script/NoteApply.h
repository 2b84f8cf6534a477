#pragma once

// The note editor's OK and Apply without its widget: the sheets' texts and
// the editor's working style taken into the document as one action, with
// one undo point before its first change and none when nothing changes.
#include "script/ScriptCompiler.h"
#include "session/NoteSheets.h"

#include <functional>
#include <vector>

struct TNoteApplyOutcome {
    // The scripts compiled and the notes took effect; otherwise the scripts
    // compiled before are compiled again and the notes stay.
    bool Applied = false;
    std::vector<TScriptError> Errors; // for the caller to show
};

// Takes the sheets into the document: the note text (the sticker and script
// sheets, compiled first), the sticker style, the stickers split, placed
// and rendered, and the plain note (also when the scripts failed); then,
// once the notes applied, the table through applyTable, which answers
// whether the table changed (a changed table is drawn again).
TNoteApplyOutcome ApplyChanges(const TNoteSheetTexts& sheets, const TStickerStyle& working,
                               const std::function<bool()>& applyTable);
