// The table sheet without its widget: entries typed into cells, copying
// and pasting in the user's separators, the sheet's undo, a formula
// computed into a selection, and the table written into the document.
#include "SessionTest.h"

#include "session/TableSheet.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/History.h"
#include "render/view/RedrawState.h"

namespace {

using TableSheetTest = SessionTest;

// A grid filled from the document, cells set as typed.
TTableGrid GridWith(std::initializer_list<std::tuple<int, int, const char*>> cells)
{
    TTableGrid grid;
    grid.FillFromDocument();
    for (const auto& [row, column, text] : cells)
        grid.Commit(row, column, QString::fromUtf8(text));
    return grid;
}

void SetTableFormula(const QString& text)
{
    TKavirofunction formula = BlankFunction;
    formula.Text = text;
    ASSERT_TRUE(PrepareExpression(formula, ModeUserFunction)) << text.toStdString();
    StoreTableFormula(formula);
}

TEST_F(TableSheetTest, EntriesBecomeNumbersTextsOrComputedValues)
{
    struct Case {
        const char* What;
        bool Comma;
        const char* Typed;
        const char* Text;
        bool Defined;
        long double Value;
    };
    const Case cases[] = {
        {"a number", false, "12", "12", true, 12.0L},
        {"blanks around a number go", false, "  12 ", "12", true, 12.0L},
        {"one leading = is dropped", true, "=3,5", "3,5", true, 3.5L},
        {"a number in the other decimal character is no number", false, "3,5", "3,5", false, 0.0L},
        {"a comment is text", false, "//nota", "//nota", false, 0.0L},
        {"a quote makes text of a number", false, "\"12", "\"12", false, 0.0L},
        {"a word that does not compile keeps its text", false, "olá", "olá", false, 0.0L},
        {"an undefined formula keeps its text", false, "=1/0", "=1/0", false, 0.0L},
        {"a formula shows 12 digits", false, "=1/3", "0.333333333333", true, 1.0L / 3.0L},
        {"a formula in the comma locale", true, "2,5*2", "5", true, 5.0L},
        {"blank entries empty the cell", false, "   ", "", false, 0.0L},
    };
    for (const Case& c : cases) {
        if (c.Comma)
            UseCommaLocale();
        else
            UsePointLocale();
        const TTableTexts grid;
        const TCellEntry e = ParseCellText(QString::fromUtf8(c.Typed), 1, 1, grid);
        EXPECT_EQ(e.Text, QString::fromUtf8(c.Text)) << c.What;
        EXPECT_EQ(e.Value.Defined != 0, c.Defined) << c.What;
        if (c.Defined) {
            EXPECT_NEAR(double(e.Value.X), double(c.Value), 1e-12) << c.What;
        }
        EXPECT_FALSE(e.YText) << c.What;
    }
}

TEST_F(TableSheetTest, FormulasReadTheirInputsFromTheSheet)
{
    // Column 1 of row 3 holds 5 on the sheet only: the table still holds nothing.
    TTableGrid grid = GridWith({{3, 1, "5"}});
    struct Case {
        int Row, Column;
        const char* Typed;
        const char* Shown;
    };
    const Case cases[] = {
        {3, 4, "=x*2", " 10"},
        {7, 4, "z", " 7"},
        {2, 6, "w", " 6"},
        {3, 5, "x+y", "x+y"}, // y (column 2) is empty: undefined
        {3, 6, "Cells(3,1)+1", " 6"},
        {3, 7, "CellsP(3,1)", "CellsP(3,1)"}, // column 2 empty: no pair
    };
    for (const Case& c : cases) {
        grid.Commit(c.Row, c.Column, QString::fromUtf8(c.Typed));
        EXPECT_EQ(CellDisplayText(grid.Texts().At(c.Row, c.Column)), QString::fromUtf8(c.Shown)) << c.Typed;
    }
    EXPECT_EQ(DocumentTables.Cells[3][1].Defined, 0) << "the table keeps what it held until Apply";
    EXPECT_EQ(DocumentTables.Cells[3][1].Text, QString());
}

TEST_F(TableSheetTest, APairFillsTheNextColumnButNeverPastTheLast)
{
    TTableGrid grid = GridWith({{1, 3, "=(1, 2)"}, {1, 10, "(7, 8)"}});
    EXPECT_EQ(grid.Texts().At(1, 3), QStringLiteral("1"));
    EXPECT_EQ(grid.Texts().At(1, 4), QStringLiteral("2"));
    EXPECT_EQ(grid.Texts().At(1, 10), QStringLiteral("7"));
    EXPECT_EQ(grid.Texts().At(2, 1), QString()) << "nothing wraps into the next row";
    grid.Paste(2, 9, QStringLiteral("(3, 4)\t(5, 6)"));
    EXPECT_EQ(grid.Texts().At(2, 9), QStringLiteral("3"));
    EXPECT_EQ(grid.Texts().At(2, 10), QStringLiteral("5")) << "the next field overwrites the pair's y";
}

TEST_F(TableSheetTest, TheDisplayedTextSetsNumbersApart)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12", " 12"}, {"-3", " -3"}, {"olá", "olá"}, {"", ""}, {".5", ".5"}, {"//7", "//7"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(CellDisplayText(QString::fromUtf8(text)), QString::fromUtf8(shown)) << text;
    EXPECT_EQ(CellAddress(3, 4), QStringLiteral("Cells(3,4)"));
    UseCommaLocale();
    EXPECT_EQ(CellAddress(3, 4), QStringLiteral("Cells(3;4)"));
}

TEST_F(TableSheetTest, CopyAndCutWriteTabsAndLineBreaksBetweenFieldsOnly)
{
    UseCommaLocale();
    TTableGrid grid = GridWith({{1, 1, "1,5"}, {1, 2, "2"}, {2, 1, "3"}, {2, 2, "4"}});
    const TCellRange block{1, 1, 2, 2};
    EXPECT_EQ(grid.CopyText(block), QStringLiteral("1,5\t2\r\n3\t4"));
    EXPECT_EQ(grid.CopyText({2, 2, 2, 3}), QStringLiteral("4\t"));
    const int before = grid.SnapshotCount();
    EXPECT_EQ(grid.Cut(block), QStringLiteral("1,5\t2\r\n3\t4"));
    EXPECT_FALSE(grid.Texts().HasData());
    EXPECT_EQ(grid.SnapshotCount(), before + 1);
}

TEST_F(TableSheetTest, PasteStopsAtTheTableEdgeWhateverTheLineBreaks)
{
    const QString texts[] = {
        QStringLiteral("1\t2\r\n3\t4\r\n5\t6\r\n"),
        QStringLiteral("1\t2\n3\t4\n5\t6\n"),
        QStringLiteral("1\t2\r3\t4\r5\t6"),
    };
    for (const QString& text : texts) {
        TTableGrid grid = GridWith({});
        grid.Paste(199, 9, text);
        TTableTexts expected;
        expected.Set(199, 9, QStringLiteral("1"));
        expected.Set(199, 10, QStringLiteral("2"));
        expected.Set(200, 9, QStringLiteral("3"));
        expected.Set(200, 10, QStringLiteral("4"));
        EXPECT_EQ(grid.Texts(), expected) << text.toStdString();
    }
}

TEST_F(TableSheetTest, CopiedCellsPasteBackInTheSameLocale)
{
    for (const bool comma : {false, true}) {
        if (comma)
            UseCommaLocale();
        TTableGrid grid = GridWith({{1, 1, comma ? "1,25" : "1.25"}, {1, 2, "olá"}, {2, 1, "=2/4"}, {2, 2, "-7"}});
        const QString copied = grid.CopyText({1, 1, 2, 2});
        grid.Paste(5, 3, copied + QStringLiteral("\r\n"));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                EXPECT_EQ(grid.Texts().At(5 + r, 3 + c), grid.Texts().At(1 + r, 1 + c)) << comma << r << c;
        EXPECT_EQ(grid.Texts().At(7, 3), QString()) << "the final line break adds no line";
        EXPECT_EQ(GetGridCellValue(grid.Texts(), 3, 6).X, 0.5L);
    }
}

TEST_F(TableSheetTest, UndoGoesBackOneChangeAndNeedsTwoSnapshots)
{
    TTableGrid grid = GridWith({});
    EXPECT_FALSE(grid.Undo()) << "right after opening there is nothing to undo";
    EXPECT_EQ(grid.Texts(), TTableTexts());

    grid.Commit(1, 1, QStringLiteral("1"));
    grid.Commit(1, 2, QStringLiteral("2"));
    grid.Commit(1, 2, QStringLiteral("2")); // the same table again: no snapshot
    EXPECT_EQ(grid.SnapshotCount(), 3);
    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(grid.Texts().At(1, 1), QStringLiteral("1"));
    EXPECT_EQ(grid.Texts().At(1, 2), QString());
    EXPECT_TRUE(grid.Undo());
    EXPECT_FALSE(grid.Texts().HasData());
    EXPECT_FALSE(grid.Undo());

    // Every kind of change takes a snapshot that undo goes back from.
    const std::pair<const char*, std::function<void(TTableGrid&)>> changes[] = {
        {"empty", [](TTableGrid& g) { g.Empty({1, 1, 1, 1}); }},
        {"paste", [](TTableGrid& g) { g.Paste(1, 1, QStringLiteral("8\t9")); }},
        {"row move", [](TTableGrid& g) { g.MoveRow(1, 4); }},
        {"column move", [](TTableGrid& g) { g.MoveColumn(2, 1); }},
    };
    for (const auto& [what, change] : changes) {
        TTableGrid g = GridWith({{1, 1, "5"}, {1, 2, "olá"}});
        const TTableTexts before = g.Texts();
        change(g);
        EXPECT_NE(g.Texts(), before) << what;
        EXPECT_TRUE(g.Undo()) << what;
        EXPECT_EQ(g.Texts(), before) << what;
    }
}

TEST_F(TableSheetTest, MovedRowsAndColumnsTakeTheirTextsAlongAndKeepTheHeaders)
{
    TTableGrid grid = GridWith({{1, 1, "a1"}, {2, 1, "a2"}, {3, 1, "a3"}, {1, 2, "b1"}});
    grid.MoveRow(1, 3);
    EXPECT_EQ(grid.Texts().At(1, 1), QStringLiteral("a2"));
    EXPECT_EQ(grid.Texts().At(2, 1), QStringLiteral("a3"));
    EXPECT_EQ(grid.Texts().At(3, 1), QStringLiteral("a1"));
    EXPECT_EQ(grid.Texts().At(3, 2), QStringLiteral("b1"));
    grid.MoveColumn(2, 1);
    EXPECT_EQ(grid.Texts().At(3, 1), QStringLiteral("b1"));
    EXPECT_EQ(grid.Texts().At(3, 2), QStringLiteral("a1"));
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(grid.Texts().At(r, 0), QString::number(r));
    EXPECT_EQ(grid.Texts().At(0, 1), QStringLiteral("1"));

    // Applied, the headers are still the row and column numbers.
    EXPECT_TRUE(grid.Apply());
    for (int r : {1, 3, 200})
        EXPECT_EQ(DocumentTables.Cells[r][0].Value, r);
    EXPECT_EQ(DocumentTables.Cells[0][7].Value, 7);
}

TEST_F(TableSheetTest, AFormulaIsComputedIntoTheSelectionAndTheSelectionMovesDown)
{
    struct Case {
        const char* Formula;
        TCellRange Selection;
        std::vector<std::tuple<int, int, const char*>> Expected;
        TCellRange Next;
    };
    const Case cases[] = {
        {"(x, x+1)",
         {1, 1, 2, 4},
         {{1, 1, "1"}, {1, 2, "2"}, {1, 3, "1"}, {1, 4, "2"}, {2, 1, ""}, {2, 2, ""}, {2, 3, ""}, {2, 4, ""}},
         {3, 1, 3, 4}},
        {"(x, 0)", {1, 10, 1, 10}, {{1, 10, "1"}, {2, 1, ""}}, {2, 10, 2, 10}},
        {"z*w", {199, 2, 200, 3}, {{199, 2, "398"}, {200, 3, "600"}}, {199, 2, 200, 3}},
        {"1/3", {5, 5, 5, 5}, {{5, 5, "0.333333333333333"}}, {6, 5, 6, 5}},
        {"Cells(1,1)*10", {4, 4, 4, 4}, {{4, 4, "10"}}, {5, 4, 5, 4}},
    };
    for (const Case& c : cases) {
        TTableGrid grid = GridWith({{1, 1, "1"}, {2, 2, "9"}});
        SetTableFormula(QString::fromUtf8(c.Formula));
        const int snapshots = grid.SnapshotCount();
        const std::optional<TCellRange> next = grid.ComputeInto(c.Selection);
        ASSERT_TRUE(next) << c.Formula;
        EXPECT_EQ(*next, c.Next) << c.Formula;
        for (const auto& [row, column, text] : c.Expected)
            EXPECT_EQ(grid.Texts().At(row, column), QString::fromUtf8(text)) << c.Formula << " " << row << "," << column;
        EXPECT_EQ(grid.SnapshotCount(), snapshots + 1) << c.Formula;
        EXPECT_EQ(DocumentTables.Cells[1][1].Defined, 0) << "the table is put back: " << c.Formula;
    }
    StoreTableFormula(BlankFunction);
    TTableGrid grid = GridWith({});
    EXPECT_FALSE(grid.ComputeInto({1, 1, 1, 1})) << "no formula, nothing computed";
}

TEST_F(TableSheetTest, ApplyWritesEveryCellAndTellsWhetherTheTableChanged)
{
    UseCommaLocale();
    TTableGrid grid = GridWith({{1, 1, "1,5"}, {1, 2, "//nota"}, {2, 1, "=x*2"}, {3, 1, "(1;2)"}});
    EXPECT_TRUE(grid.Apply());
    EXPECT_EQ(DocumentTables.Cells[1][1].Value, 1.5L);
    EXPECT_EQ(DocumentTables.Cells[1][1].Text, QStringLiteral("1,5"));
    EXPECT_EQ(DocumentTables.Cells[1][2].Defined, 0);
    EXPECT_EQ(DocumentTables.Cells[1][2].Text, QStringLiteral("//nota"));
    EXPECT_EQ(DocumentTables.Cells[3][2].Value, 2.0L) << "the pair's y";
    EXPECT_EQ(DocumentTables.Cells[2][1].Defined, 0) << "x of row 2 was empty when typed";
    EXPECT_FALSE(grid.Apply()) << "the same texts again";

    // A formula left undefined is computed again on Apply.
    grid.Commit(2, 1, QStringLiteral("=Cells(1;1)*2"));
    EXPECT_EQ(grid.Texts().At(2, 1), QStringLiteral("3"));
    EXPECT_TRUE(grid.Apply());
    EXPECT_EQ(DocumentTables.Cells[2][1].Value, 3.0L);

    // Reopened, the sheet shows what the table holds.
    TTableGrid reopened = GridWith({});
    EXPECT_EQ(reopened.Texts().At(1, 1), QStringLiteral("1,5"));
    EXPECT_EQ(reopened.Texts().At(1, 2), QStringLiteral("//nota"));
}

TEST_F(TableSheetTest, TheWizardsTableStepIsOneUndoableAction)
{
    TTableGrid grid = GridWith({{1, 1, "4"}, {1, 2, "//x"}});
    ClearChangedNames();
    const int undoSteps = BackUp.Count();
    StoreScatterTable(grid.Texts());
    EXPECT_EQ(BackUp.Count(), undoSteps + 1);
    EXPECT_EQ(DocumentTables.Cells[1][1].Value, 4.0L);
    EXPECT_EQ(DocumentTables.Cells[1][2].Text, QStringLiteral("//x"));
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.Cells));
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.CellsP));
    Undo();
    EXPECT_EQ(DocumentTables.Cells[1][1].Defined, 0);
}

TEST_F(TableSheetTest, TheFormulaIsStoredUndoablyAndTheWidthsSilently)
{
    const int undoSteps = BackUp.Count();
    SetTableFormula(QStringLiteral("x*2"));
    EXPECT_EQ(BackUp.Count(), undoSteps + 1);
    EXPECT_TRUE(Modified());
    SetTableFormula(QStringLiteral("x*2"));
    EXPECT_EQ(BackUp.Count(), undoSteps + 1) << "the same formula again changes nothing";
    Undo();
    EXPECT_TRUE(DocumentTables.TableFormula.Code.isEmpty());

    const int stepsBeforeWidths = BackUp.Count();
    std::array<int, TableColumns> widths{};
    widths.fill(45);
    widths[9] = 90;
    StoreTableColWidths(widths);
    EXPECT_EQ(DocumentTables.TableColWidths[1], 45);
    EXPECT_EQ(DocumentTables.TableColWidths[10], 90);
    EXPECT_EQ(BackUp.Count(), stepsBeforeWidths);
}

TEST_F(TableSheetTest, ScriptsReachTheOpenSheetOnly)
{
    SetGridCellText(1, 1, QStringLiteral("5"));
    EXPECT_FALSE(ReadGridCellValue(1, 1)) << "no sheet open";
    TTableGrid grid = GridWith({{2, 2, "7"}});
    int announced = 0;
    grid.TextsChanged = [&announced] { ++announced; };
    {
        const TOpenTableGrid open(grid);
        SetGridCellText(1, 1, QStringLiteral("5"));
        EXPECT_EQ(grid.Texts().At(1, 1), QStringLiteral("5"));
        EXPECT_EQ(ReadGridCellValue(1, 1)->X, 5.0L);
        EXPECT_EQ(ReadGridCellValue(2, 2)->X, 7.0L);
        EXPECT_FALSE(ReadGridCellValue(3, 3)->Defined);
        ClearGridCells();
        EXPECT_FALSE(grid.Texts().HasData());
    }
    EXPECT_EQ(announced, 2);
    EXPECT_FALSE(ReadGridCellValue(1, 1));
}

// The sheet's undo takes back the user's own change, not the cells a
// script wrote before it; undoing once more takes the script's cells back.
TEST_F(TableSheetTest, UndoAfterAScriptWroteTheSheetKeepsTheScriptsCells)
{
    const std::pair<const char*, std::function<void(TTableGrid&)>> scripts[] = {
        {"cells written", [](TTableGrid& g) { g.SetText(1, 1, QStringLiteral("5")), g.SetText(2, 1, QStringLiteral("6")); }},
        {"cells emptied", [](TTableGrid& g) { g.EmptyAll(); }},
    };
    for (const auto& [what, script] : scripts) {
        TTableGrid grid = GridWith({{1, 2, "7"}});
        const TTableTexts before = grid.Texts();
        script(grid);
        const TTableTexts written = grid.Texts();
        grid.Commit(3, 3, QStringLiteral("9"));
        EXPECT_TRUE(grid.Undo()) << what;
        EXPECT_EQ(grid.Texts(), written) << what;
        EXPECT_TRUE(grid.Undo()) << what;
        EXPECT_EQ(grid.Texts(), before) << what;
    }
}

} // namespace
