// The note editor's OK and Apply without its widget: the sheets into the
// document in one step, one undo point when anything changes and none
// otherwise, the scripts in force kept when the new ones fail.
#include "ScriptTest.h"

#include "script/NoteApply.h"
#include "script/ScriptServices.h"

#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/History.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/view/RedrawState.h"
#include "render/view/fakes/CountingViewServices.h"
#include "session/Stickers.h"
#include "session/UndoPoints.h"
#include "session/fakes/CountingStickerWindow.h"

namespace {

using namespace Qt::Literals::StringLiterals;

class NoteApplyTest : public ScriptTest {
protected:
    CountingRedrawer redrawer;
    ScopedRedrawer useRedrawer{redrawer};
    CountingStickerWindow stickers;
    ScopedStickerWindow useStickers{stickers};

    void SetUp() override { InstallScriptServices(); }

    // The document's notes as a project read leaves them.
    static void UseNotes(const QStringList& lines, const QStringList& nota = {})
    {
        DocumentTables.PetaMemoLines = lines;
        DocumentTables.SimpleMemoLines = nota;
        CompileScripts(lines, THeaderErrors::Keep);
        BuildStickerTexts(lines);
    }
    static TNoteApplyOutcome Apply(const TNoteSheetTexts& sheets, const TStickerStyle& style = CurrentStickerStyle(),
                                   const std::function<bool()>& table = {})
    {
        return ApplyChanges(sheets, style, table);
    }
    // The table sheet writing one cell.
    static bool WriteCell()
    {
        SetCellValue(1, 1, ValueReal(5.0L), u"5"_s);
        return true;
    }
};

const QStringList Notes = Lines({u"Nota", u"a = !{a}", u"", u"", u"Outra", u"#//S", u"#a := 2"});

TEST_F(NoteApplyTest, NewSheetsTakeEffectInOneUndoableStep)
{
    UseNotes(Notes);
    const int before = BackUp.Count();
    TNoteSheetTexts sheets = FillNoteSheets();
    sheets.Stickers = u"Um\n\n\nDois\n\n\nTrês"_s;
    sheets.Scripts += u"\n\n//T\nb := 3"_s;
    sheets.Nota = u"lembrete"_s;
    const TStickerStyle style{2, 0x00FF00, 1, 16};
    const TNoteApplyOutcome outcome = Apply(sheets, style, WriteCell);
    EXPECT_TRUE(outcome.Applied);
    EXPECT_TRUE(outcome.Errors.empty());
    EXPECT_EQ(DocumentTables.PetaMemoLines,
              Lines({u"Um", u"", u"", u"Dois", u"", u"", u"Três", u"#//S", u"#a := 2", u"", u"#//T", u"#b := 3"}));
    EXPECT_EQ(DocumentTables.Stickers.Count, 3);
    EXPECT_EQ(MacroCommands.Count(), 2);
    EXPECT_EQ(CurrentStickerStyle(), style);
    EXPECT_EQ(DocumentTables.SimpleMemoLines, QStringList{u"lembrete"_s});
    EXPECT_EQ(BackUp.Count(), before + 1) << "one undo point for all of it";
    EXPECT_EQ(ProgramState.Modified, 1);
    EXPECT_EQ(stickers.RenderCount(), 3) << "every sticker rendered";
    EXPECT_EQ(redrawer.Redraws, 1) << "the changed table is drawn once";

    // One undo brings everything back.
    Undo();
    EXPECT_EQ(DocumentTables.PetaMemoLines, Notes);
    EXPECT_TRUE(DocumentTables.SimpleMemoLines.isEmpty());
    EXPECT_EQ(CurrentStickerStyle(), (TStickerStyle{3, 0xFF0000, 0, 12}));
    EXPECT_TRUE(DocumentTables.Cells[1][1].Text.isEmpty());
}

// Looking at the notes and pressing OK changes nothing and takes no undo
// point, whatever the note text holds.
TEST_F(NoteApplyTest, UnchangedSheetsChangeNothing)
{
    QStringList twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << QStringLiteral("bloco %1").arg(i) << QString() << QString();
    struct Case {
        const char* What;
        QStringList Lines;
        QStringList Nota;
        bool Applies;
    };
    const Case cases[] = {
        {"notes and scripts", Notes, {}, true},
        {"comments", Lines({u"// comentário", u"A", u"//", u"B", u"", u"#//S", u"", u"", u"#Draw"}), {}, true},
        {"twelve blocks", twelve, {}, true},
        {"a plain note of one empty line", Notes, {QString()}, true},
        {"a script that failed when the file was read", Lines({u"A", u"#//S", u"#foo bar", u"", u"#//T", u"#Draw"}),
         {}, false},
    };
    for (const Case& c : cases) {
        UseNotes(c.Lines, c.Nota);
        ProgramState.Modified = 0;
        const int before = BackUp.Count();
        const int scripts = MacroCommands.Count();
        const TNoteApplyOutcome outcome = Apply(FillNoteSheets(), CurrentStickerStyle(), [] { return false; });
        EXPECT_EQ(outcome.Applied, c.Applies) << c.What;
        EXPECT_EQ(DocumentTables.PetaMemoLines, c.Lines) << c.What;
        EXPECT_EQ(DocumentTables.SimpleMemoLines, c.Nota) << c.What;
        EXPECT_EQ(BackUp.Count(), before) << c.What;
        EXPECT_EQ(ProgramState.Modified, 0) << c.What;
        EXPECT_EQ(MacroCommands.Count(), scripts) << c.What << ": the scripts in force stay";
        EXPECT_EQ(redrawer.Redraws, 0) << c.What;
    }
}

// A script that does not compile: the scripts compiled before stay in
// force, the notes stay, the message comes back once; the plain note is
// still taken and the table is not.
TEST_F(NoteApplyTest, AScriptErrorKeepsWhatWasInForce)
{
    UseNotes(Notes);
    TNoteSheetTexts sheets = FillNoteSheets();
    sheets.Stickers = u"Nova"_s;
    sheets.Scripts = u"//S\nDraw x"_s;
    sheets.Nota = u"lembrete"_s;
    bool tableAsked = false;
    const TNoteApplyOutcome outcome = Apply(sheets, TStickerStyle{1, 0, 0, 20}, [&] {
        tableAsked = true;
        return true;
    });
    EXPECT_FALSE(outcome.Applied);
    ASSERT_EQ(outcome.Errors.size(), 1u);
    EXPECT_EQ(outcome.Errors[0].Message, u"Comando Inválido : Draw x"_s);
    EXPECT_EQ(DocumentTables.PetaMemoLines, Notes);
    ASSERT_EQ(MacroCommands.Count(), 1);
    EXPECT_TRUE(Script(0).Valid) << "the script in force compiled again";
    EXPECT_EQ(Script(0).Lines, Lines({u"#//S", u"#a := 2"}));
    EXPECT_EQ(CurrentStickerStyle().Size, 12);
    EXPECT_FALSE(tableAsked);
    EXPECT_EQ(DocumentTables.SimpleMemoLines, QStringList{u"lembrete"_s});
    EXPECT_TRUE(sink_.empty()) << "the caller shows the message";

    // A header that is no command stops the editor's compile.
    sheets.Scripts = u"foo bar"_s;
    const TNoteApplyOutcome header = Apply(sheets);
    EXPECT_FALSE(header.Applied);
    ASSERT_EQ(header.Errors.size(), 1u);
    EXPECT_EQ(header.Errors[0].Message, u"Erro de sintaxe: foo bar"_s);
    EXPECT_EQ(MacroCommands.Count(), 1);
}

TEST_F(NoteApplyTest, EachKindOfChangeTakesOneUndoPoint)
{
    struct Case {
        const char* What;
        std::function<void(TNoteSheetTexts&, TStickerStyle&)> Edit;
        std::function<bool()> Table;
    };
    const Case cases[] = {
        {"a note line", [](TNoteSheetTexts& s, TStickerStyle&) { s.Stickers += u"\nmais"_s; }, {}},
        {"the style", [](TNoteSheetTexts&, TStickerStyle& st) { st.Style = 4; }, {}},
        {"the colour", [](TNoteSheetTexts&, TStickerStyle& st) { st.Color = 0x0000FF; }, {}},
        {"the frame's colours", [](TNoteSheetTexts&, TStickerStyle& st) { st.BGcolor = 2; }, {}},
        {"the size", [](TNoteSheetTexts&, TStickerStyle& st) { st.Size = 24; }, {}},
        {"the plain note", [](TNoteSheetTexts& s, TStickerStyle&) { s.Nota = u"x"_s; }, {}},
        {"the table", [](TNoteSheetTexts&, TStickerStyle&) {}, WriteCell},
    };
    for (const Case& c : cases) {
        UseNotes(Notes);
        ClearUndo();
        ProgramState.Modified = 0;
        TNoteSheetTexts sheets = FillNoteSheets();
        TStickerStyle style = CurrentStickerStyle();
        c.Edit(sheets, style);
        EXPECT_TRUE(Apply(sheets, style, c.Table).Applied) << c.What;
        EXPECT_EQ(BackUp.Count(), 1) << c.What;
        EXPECT_EQ(ProgramState.Modified, 1) << c.What;
        Undo();
        EXPECT_EQ(DocumentTables.PetaMemoLines, Notes) << c.What;
        EXPECT_EQ(CurrentStickerStyle(), (TStickerStyle{3, 0xFF0000, 0, 12})) << c.What;
        EXPECT_TRUE(DocumentTables.SimpleMemoLines.isEmpty()) << c.What;
        EXPECT_TRUE(DocumentTables.Cells[1][1].Text.isEmpty()) << c.What;
    }
}

// Emptied sheets reset the note lists; the plain note, written after,
// stays.
TEST_F(NoteApplyTest, EmptySheetsResetTheLists)
{
    UseNotes(Notes, {u"lembrete"_s});
    const TNoteApplyOutcome outcome = Apply({QString(), QString(), u"lembrete"_s});
    EXPECT_TRUE(outcome.Applied);
    EXPECT_TRUE(DocumentTables.PetaMemoLines.isEmpty());
    EXPECT_EQ(MacroCommands.Count(), 0);
    EXPECT_EQ(DocumentTables.Stickers.Count, 0);
    EXPECT_EQ(DocumentTables.SimpleMemoLines, QStringList{u"lembrete"_s});
    for (int k = 1; k <= MaxStickers; ++k)
        EXPECT_FALSE(stickers.Shown[k]) << k;
}

// A changed table marks what reads it, so that the graph draws it anew.
TEST_F(NoteApplyTest, AChangedTableMarksWhatReadsIt)
{
    UseNotes(Notes);
    ClearRedrawState();
    ASSERT_TRUE(Apply(FillNoteSheets(), CurrentStickerStyle(), WriteCell).Applied);
    EXPECT_EQ(redrawer.Redraws, 1);
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.Cells));
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.CellsP));
    EXPECT_TRUE(IsDirtyObjects());
}

} // namespace
