#include "model/DocumentState.h"
#include "model/ScriptStore.h"

#include <gtest/gtest.h>

namespace {

QStringList ScriptLines(int i)
{
    return {QStringLiteral("#//S%1").arg(i), QStringLiteral("#a := %1").arg(i)};
}

void AddScripts(int count)
{
    for (int i = 1; i <= count; ++i)
        MacroCommands.Add(QStringLiteral("S%1").arg(i), ScriptLines(i));
}

TEST(ScriptStoreTest, AddKeepsTwentyAndResetEmptiesEveryEntry)
{
    AddScripts(MaxScripts);
    ASSERT_EQ(MacroCommands.Count(), MaxScripts);
    const TMacroCommandsub& last = MacroCommands.Items[MaxScripts - 1];
    EXPECT_EQ(last.Name, QStringLiteral("S20"));
    EXPECT_EQ(last.Lines, ScriptLines(20));
    EXPECT_TRUE(last.Visible);
    EXPECT_FALSE(last.Valid);
    EXPECT_TRUE(last.Trigger.isEmpty());

    // The 21st and 22nd are dropped without a trace.
    MacroCommands.Add(QStringLiteral("S21"), ScriptLines(21));
    MacroCommands.Add(QStringLiteral("S22"), ScriptLines(22));
    EXPECT_EQ(MacroCommands.Count(), MaxScripts);
    EXPECT_EQ(MacroCommands.Items[MaxScripts - 1].Name, QStringLiteral("S20"));

    MacroCommands.Items[3].SetLineset(0, 0, {}, QStringLiteral("Draw"), 0, ScriptDraw);
    MacroCommands.Items[3].Trigger = QStringLiteral("x");
    MacroCommands.Reset();
    EXPECT_EQ(MacroCommands.Count(), 0);
    for (const TMacroCommandsub& script : MacroCommands.Items) {
        EXPECT_TRUE(script.Lines.isEmpty());
        EXPECT_TRUE(script.Name.isEmpty());
        EXPECT_EQ(script.LinesetCount(), 0);
        EXPECT_TRUE(script.Trigger.isEmpty());
        EXPECT_FALSE(script.Visible);
    }
}

TEST(ScriptStoreTest, AnEntryReusedByAddStartsEmpty)
{
    AddScripts(1);
    TMacroCommandsub& first = MacroCommands.Items[0];
    first.SetLineset(2, 1, {}, QStringLiteral("Draw"), 0, ScriptDraw);
    first.Trigger = QStringLiteral("a");
    first.Valid = true;
    MacroCommands.Last = -1; // as a new cut leaves it
    MacroCommands.Add(QStringLiteral("Novo"), ScriptLines(7));
    EXPECT_EQ(first.Name, QStringLiteral("Novo"));
    EXPECT_EQ(first.LinesetCount(), 0);
    EXPECT_TRUE(first.Trigger.isEmpty());
    EXPECT_FALSE(first.Valid);
}

TEST(ScriptStoreTest, SetLinesetGrowsWithEmptyCommandsAndCopiesItsArguments)
{
    TMacroCommandsub script;
    std::vector<TKavirofunction> args(2, BlankFunction);
    args[0].Text = QStringLiteral("a+1");
    Tlineset& set = script.SetLineset(5, 3, args, QStringLiteral("a := a+1"), 1, ScriptAssign);
    ASSERT_EQ(script.LinesetCount(), 6);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(script.Sets[i].Code, ScriptIgnored) << i;
        EXPECT_TRUE(script.Sets[i].Text.isEmpty()) << i;
        EXPECT_TRUE(script.Sets[i].Args.empty()) << i;
    }
    EXPECT_EQ(set.SourceLine, 3);
    EXPECT_EQ(set.Target, 1);
    EXPECT_EQ(set.Code, ScriptAssign);
    args[0].Text = QStringLiteral("changed");
    EXPECT_EQ(script.Sets[5].Args[0].Text, QStringLiteral("a+1"));

    // Within the list the command is replaced and the list keeps its length.
    script.SetLineset(1, 0, {}, QStringLiteral("Draw"), 0, ScriptDraw);
    EXPECT_EQ(script.LinesetCount(), 6);
    EXPECT_EQ(script.Sets[1].Code, ScriptDraw);
}

TEST(ScriptStoreTest, ListResetsKeepTheScriptsInTheNoteTextAndNewDocumentsDropThem)
{
    TDocumentTables& t = DocumentTables;
    AddScripts(3);
    t.PetaMemoLines = {QStringLiteral("nota"), QStringLiteral("")};
    t.Stickers.Names[1] = QStringLiteral("nota");

    ResetLists();
    QStringList expected = ScriptLines(1);
    expected << QString() << ScriptLines(2) << QString() << ScriptLines(3);
    EXPECT_EQ(t.PetaMemoLines, expected);
    EXPECT_TRUE(t.Stickers.Names[1].isEmpty());
    EXPECT_EQ(MacroCommands.Count(), 3);

    NewDocumentLists();
    EXPECT_TRUE(t.PetaMemoLines.isEmpty());
    EXPECT_EQ(MacroCommands.Count(), 0);
}

} // namespace
