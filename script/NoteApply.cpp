#include "script/NoteApply.h"

#include "session/EditScope.h"
#include "session/Stickers.h"
#include "session/UndoPoints.h"

#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"

namespace {

// The first change of the action takes the undo point and makes the
// document modified.
class ChangeRecorder {
public:
    void Changed()
    {
        undoPoint_.Save();
        TEditScope::DocumentChanged();
    }

private:
    TPendingUndoPoint undoPoint_;
};

void SetStickerStyle(const TStickerStyle& style)
{
    TDocumentOptions& o = Options;
    o.PetaMemoStyle = style.Style;
    o.PetaMemoColor = style.Color;
    o.PetaMemoBGcolor = style.BGcolor;
    o.PetaMemoSize = style.Size;
}

void ApplyNotes(const QStringList& lines, const TStickerStyle& working, ChangeRecorder& changes)
{
    TDocumentTables& t = DocumentTables;
    if (lines != t.PetaMemoLines || working != CurrentStickerStyle())
        changes.Changed();
    SetStickerStyle(working);
    if (lines.isEmpty())
        NewDocumentLists();
    else
        t.PetaMemoLines = lines;
    BuildStickerTexts(t.PetaMemoLines);
    ArrangeStickers();
    RefreshStickers(true);
}

} // namespace

TNoteApplyOutcome ApplyChanges(const TNoteSheetTexts& sheets, const TStickerStyle& working,
                               const std::function<bool()>& applyTable)
{
    const TEditScope apply;
    ChangeRecorder changes;
    TDocumentTables& t = DocumentTables;
    const QStringList notaBefore = t.SimpleMemoLines;
    const bool notaChanged = SheetText(notaBefore) != sheets.Nota;

    TNoteApplyOutcome outcome;
    const QStringList lines = NoteLinesFromSheets(sheets);
    TScriptsOutcome compiled = CompileScripts(lines, THeaderErrors::Stop);
    outcome.Applied = compiled.Compiled;
    if (outcome.Applied) {
        ApplyNotes(lines, working, changes);
    } else {
        outcome.Errors = std::move(compiled.Errors);
        // The scripts in force before; what they report was reported then.
        CompileScripts(t.PetaMemoLines, THeaderErrors::Keep);
    }

    if (notaChanged)
        changes.Changed();
    t.SimpleMemoLines = notaChanged ? SheetLines(sheets.Nota) : notaBefore;

    if (outcome.Applied && applyTable && applyTable()) {
        changes.Changed();
        MarkNameChanged(TokenCodes.Cells);
        MarkNameChanged(TokenCodes.CellsP);
        SetDirtyObjects();
    }
    return outcome;
}
