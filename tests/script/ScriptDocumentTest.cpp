// Scripts as part of the document: compiled when a project is read or an
// undo step restores one, kept in the note text, gone with a new document.
#include "ScriptTest.h"

#include "script/ScriptServices.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/LineCodec.h"
#include "session/Commands.h"
#include "session/NoteEdits.h"
#include "session/ProjectFile.h"
#include "session/RowModels.h"
#include "session/UndoPoints.h"

namespace {

class ScriptDocumentTest : public ScriptTest {
protected:
    void SetUp() override { InstallScriptServices(); }

    // The current document written as project text and read back, as an
    // open or an undo step reads it.
    static bool WriteAndRead()
    {
        TstringData text;
        WriteProject(text);
        return ReadProject(text);
    }
};

const QStringList ThreeScripts = Lines({
    u"Nota", u"", u"#//Um", u"#a := 1", u"", u"#//Dois", u"#b := f(2)", u"#Draw x", u"", u"#//Três", u"#On c Change",
});

TEST_F(ScriptDocumentTest, AFailingScriptOfAFileKeepsItsLinesAndItsButton)
{
    DocumentTables.PetaMemoLines = ThreeScripts;
    ASSERT_TRUE(WriteAndRead());
    ASSERT_EQ(MacroCommands.Count(), 3);
    EXPECT_TRUE(Script(0).Valid);
    EXPECT_FALSE(Script(1).Valid);
    EXPECT_TRUE(Script(1).Visible);
    EXPECT_TRUE(Script(2).Valid);
    EXPECT_EQ(rows_.ScriptButtonShows, 1);
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Comando Inválido : Draw x"));
    EXPECT_EQ(sink_.last().kind, MsgWarning);

    // The note text rebuilt from the store still holds all three.
    ResetLists();
    EXPECT_EQ(DocumentTables.PetaMemoLines, ThreeScripts.mid(2));
}

TEST_F(ScriptDocumentTest, AReadShowsEveryFaultInOneMessageAndKeepsAHeaderThatIsNoCommand)
{
    DocumentTables.PetaMemoLines = Lines({u"#foo bar", u"", u"#//Dois", u"#Draw x", u"", u"#//Três", u"#Draw"});
    ASSERT_TRUE(WriteAndRead());
    ASSERT_EQ(MacroCommands.Count(), 3);
    EXPECT_EQ(Script(0).Name, QStringLiteral("foo bar"));
    EXPECT_FALSE(Script(0).Valid);
    EXPECT_TRUE(Script(2).Valid);
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Erro de sintaxe:  : foo bar\nComando Inválido : Draw x"));
}

TEST_F(ScriptDocumentTest, UndoAndRedoRestoreTheScriptsOfTheirStep)
{
    DocumentTables.PetaMemoLines = ThreeScripts;
    SaveUndoPoint();
    DocumentTables.PetaMemoLines = Lines({u"#//Só", u"#Draw"});
    CompileScripts(DocumentTables.PetaMemoLines, THeaderErrors::Stop);
    ASSERT_EQ(MacroCommands.Count(), 1);

    Undo();
    ASSERT_EQ(MacroCommands.Count(), 3);
    EXPECT_FALSE(Script(1).Valid) << "a failing script stays in the store";
    EXPECT_EQ(Script(2).Name, QStringLiteral("Três"));
    Redo();
    ASSERT_EQ(MacroCommands.Count(), 1);
    EXPECT_EQ(Script(0).Name, QStringLiteral("Só"));
}

TEST_F(ScriptDocumentTest, ARefusedReadKeepsTheScripts)
{
    DocumentTables.PetaMemoLines = ThreeScripts;
    ASSERT_TRUE(WriteAndRead());
    TstringData text;
    WriteProject(text);
    QStringList lines = text.Lines();
    lines = lines.mid(0, lines.indexOf(QStringLiteral("ScaleS"))); // ends before the view
    text.Assign(lines);
    EXPECT_FALSE(ReadProject(text));
    EXPECT_EQ(MacroCommands.Count(), 3);
    EXPECT_EQ(DocumentTables.PetaMemoLines, ThreeScripts);
}

TEST_F(ScriptDocumentTest, ClearingTheNotesKeepsTheScripts)
{
    DocumentTables.PetaMemoLines = ThreeScripts;
    CompileScripts(ThreeScripts, THeaderErrors::Keep);
    ClearAllNotes();
    EXPECT_EQ(DocumentTables.PetaMemoLines, ThreeScripts.mid(2));
    EXPECT_EQ(MacroCommands.Count(), 3);
    Undo();
    EXPECT_EQ(DocumentTables.PetaMemoLines, ThreeScripts);
}

TEST_F(ScriptDocumentTest, ANewDocumentHasNoScriptsAndNoButtons)
{
    DocumentTables.PetaMemoLines = ThreeScripts;
    CompileScripts(ThreeScripts, THeaderErrors::Keep);
    const int shows = rows_.ScriptButtonShows;
    InitAllData();
    EXPECT_EQ(MacroCommands.Count(), 0);
    EXPECT_TRUE(DocumentTables.PetaMemoLines.isEmpty());
    EXPECT_EQ(rows_.ScriptButtonShows, shows + 1);
}

TEST_F(ScriptDocumentTest, ScriptsShowTheParametersTheyUse)
{
    struct Case {
        QStringList lines;
        QString shown; // the parameter letters with rows
    };
    const Case cases[] = {
        {Lines({u"#Draw"}), u""_s}, // a letter in a keyword is no use
        {Lines({u"#a := 1"}), u"a"_s},
        {Lines({u"#x := b + 1"}), u"b"_s},
        {Lines({u"#On c Change"}), u"c"_s},
        {Lines({u"#Play(d, 0, 1)"}), u"d"_s},
        {Lines({u"#Inc(m)"}), u"m"_s},
        {Lines({u"#Cells(n, 1) := p"}), u"np"_s},
        {Lines({u"#Call(S, q)"}), u"q"_s},
        // An invalid script has no trigger.
        {Lines({u"#On c Change", u"#Draw x"}), u""_s},
    };
    for (const Case& c : cases) {
        CompileScripts(QStringList{u"#//S"_s} + c.lines, THeaderErrors::Keep);
        QString shown;
        for (int j = 1; j <= ParamCount; ++j)
            if (RowModels.Params[j].Shown)
                shown += ParamLetters[j];
        EXPECT_EQ(shown, c.shown) << c.lines.join(u'|').toStdString();
    }
    EXPECT_EQ(rows_.ParamShows, static_cast<int>(std::size(cases)));
}

} // namespace
