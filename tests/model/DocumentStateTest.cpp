#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"

#include <gtest/gtest.h>

namespace {

class DocumentStateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetDocument(); }
    void TearDown() override
    {
        Separators.Reset();
        ResetDocument();
    }
    TDocumentTables& t = DocumentTables;
};

TEST_F(DocumentStateTest, ResetPrmsGivesParametersTheirStartValues)
{
    t.Params[0].Value = 3.0L;
    t.Params[-1].Step = 7.0L;
    t.Params[1] = TParameter{5.0L, 1, 2.0L, 0, 0};
    ResetPrms();
    EXPECT_EQ(t.Params[1].Value, 1.0L);
    EXPECT_EQ(t.Params[1].Step, 0.1L);
    EXPECT_EQ(t.Params[1].AddStep, 1);
    EXPECT_EQ(t.Params[1].Fixed, 0);
    EXPECT_EQ(t.Params[1].Extra, 1);
    EXPECT_EQ(t.Params[13].Value, 0.0L); // '@'
    EXPECT_EQ(t.Params[14].Value, 1.0L); // k
    EXPECT_EQ(t.Params[0].Value, 0.0L);  // y
    EXPECT_EQ(t.Params[-1].Step, 7.0L);  // x keeps its fields

    t.Params[4] = TParameter{5.0L, 1, 2.0L, 0, 0};
    ResetParameter(4);
    EXPECT_EQ(t.Params[4].Value, 5.0L); // only the step settings are reset
    EXPECT_EQ(t.Params[4].Step, 0.1L);
    EXPECT_EQ(t.Params[4].AddStep, 1);
}

TEST_F(DocumentStateTest, ResetObjectRecordsFreesEverySlot)
{
    t.Points[3].Kind = ObjectCircle;
    t.Points[3].Width = 9;
    t.Functions[20].Func.Text = QStringLiteral("x");
    t.Relations[9].Color = 0x123456;
    t.UserFunctions[8].Text = QStringLiteral("x^2");
    t.YvalueFunctions[2].Marker = 0;
    ResetObjectRecords();

    EXPECT_EQ(t.Points[1].Label, QStringLiteral("P"));
    EXPECT_EQ(t.Points[8].Label, QStringLiteral("A"));
    EXPECT_EQ(t.Points[22].Label, QStringLiteral("O"));
    for (const TPointFunction& p : t.Points) {
        EXPECT_EQ(p.Kind, ObjectEmpty);
        EXPECT_EQ(p.Width, 3);
        EXPECT_EQ(p.ParamChar, u't');
        EXPECT_EQ(p.ParamStep, 0.1L);
        EXPECT_EQ(p.InsideColor, 0xFFFFFFu);
    }
    for (const TEquationFunction& f : t.Functions) {
        EXPECT_TRUE(f.Func.Text.isEmpty());
        EXPECT_EQ(f.Color, 0xFF0000u);
        EXPECT_EQ(f.Width, 2);
        EXPECT_EQ(f.Pattern, 4);
        EXPECT_EQ(f.LineStyle, 1);
        EXPECT_EQ(f.Visible, 1);
    }
    EXPECT_EQ(t.Relations[9].Color, 0xFF0000u);
    EXPECT_TRUE(t.UserFunctions[8].Text.isEmpty());
    EXPECT_EQ(t.UserFunctions[8].Marker, 1);
    EXPECT_EQ(t.YvalueFunctions[1].Text, QStringLiteral("y1"));
    EXPECT_EQ(t.YvalueFunctions[9].Text, QStringLiteral("y9"));
    EXPECT_EQ(t.YvalueFunctions[2].Marker, 0); // only the texts are reset
}

TEST_F(DocumentStateTest, ResetDocumentStateResetsOptionsAndToolsButNotFormulas)
{
    Options.ComplexMode = 1;
    Options.PenMarker.Size = 9;
    Options.ParamDelay = 5;
    SetMonochromeColorScheme();
    ProgramState.Modified = 1;
    ProgramState.ScriptDrawState = 2;
    t.Functions[1].Func.Text = QStringLiteral("x");
    t.IntegralInterval.sliceNo = 50;
    t.IntegralInterval.LowerValue = ValueReal(-3.0L);
    t.PointTraceColors[5] = 0x00FF00;
    t.TableColWidths[10] = 99;

    ResetDocumentState();
    EXPECT_EQ(Options, TDocumentOptions{});
    EXPECT_EQ(Options.ParamDelay, Options.ParamDelayUnit);
    EXPECT_FALSE(ColorScheme.Monochrome);
    EXPECT_EQ(ProgramState.Modified, 0);
    EXPECT_EQ(ProgramState.ScriptDrawState, 0);
    EXPECT_EQ(t.Functions[1].Func.Text, QStringLiteral("x"));

    EXPECT_EQ(t.YvalueX.Text, QStringLiteral("1"));
    EXPECT_EQ(t.YvalueXValue.Kind, KindReal);
    EXPECT_EQ(t.YvalueXValue.Defined, 0);
    const Tinterval& in = t.IntegralInterval;
    EXPECT_EQ(in.Lower.Text, QStringLiteral("-1"));
    EXPECT_EQ(in.Upper.Text, QStringLiteral("1"));
    EXPECT_EQ(in.Lower.Marker, 1);
    EXPECT_EQ(in.sliceNo, 10);
    EXPECT_EQ(in.Dfuncno, 1);
    EXPECT_EQ(in.Efuncno, 0);
    EXPECT_EQ(in.AreaQ, 0);
    EXPECT_EQ(in.LowerValue.X, -3.0L); // recomputed by the integral tool, not reset
    EXPECT_EQ(t.PointTraceColors[5], NoTraceColor);
    EXPECT_EQ(t.SegmentTraceColors[30], NoTraceColor);
    EXPECT_EQ(t.TableColWidths[10], 60);
}

TEST_F(DocumentStateTest, ClearTableNumbersTheHeaders)
{
    t.Cells[4][2].Text = QStringLiteral("old");
    t.Cells[4][2].Defined = 1;
    t.TableSelection = TTableSelection{3, 3, 3, 3};
    t.TableFormula.Text = QStringLiteral("x+y");
    ClearTable();

    EXPECT_EQ(t.Cells[4][2].Defined, 0);
    EXPECT_TRUE(t.Cells[4][2].Text.isEmpty());
    EXPECT_EQ(t.Cells[200][0].Text, QStringLiteral("200"));
    EXPECT_EQ(t.Cells[0][10].Value, 10.0L);
    EXPECT_EQ((t.TableSelection), (TTableSelection{1, 2, 0, 0}));
    EXPECT_TRUE(t.TableFormula.Text.isEmpty());
    TValue v;
    GetCellValue(0, 3, v);
    EXPECT_EQ(v.Defined, 1);
    EXPECT_EQ(v.X, 3.0L);
}

TEST_F(DocumentStateTest, SetCellValueStoresPrintedNumbersOrTheGivenText)
{
    Separators.DecimalChar = u',';
    SetCellValue(1, 1, ValueReal(2.5L), QStringLiteral("ignored"));
    EXPECT_EQ(t.Cells[1][1].Text, QStringLiteral("2,5"));
    EXPECT_EQ(t.Cells[1][1].Value, 2.5L);
    EXPECT_EQ(t.Cells[1][1].Defined, 1);

    SetCellValue(1, 2, ValueUndefined(KindReal), QStringLiteral("abc"));
    EXPECT_EQ(t.Cells[1][2].Text, QStringLiteral("abc"));
    EXPECT_EQ(t.Cells[1][2].Value, 0.0L);
    EXPECT_EQ(t.Cells[1][2].Defined, 0);

    SetCellValue(2, 3, ValueReal(1.0L / 3), QString());
    EXPECT_EQ(t.Cells[2][3].Text, QStringLiteral("0,333333333333333"));

    // Outside the table nothing happens and nothing breaks.
    SetCellValue(201, 1, ValueReal(1.0L), QString());
    SetCellValue(-1, 0, ValueReal(1.0L), QString());
    SetCellValue(1, 11, ValueReal(1.0L), QString());
}

TEST_F(DocumentStateTest, GetCellValueKeepsTheCallersKindInsideTheTable)
{
    SetCellValue(2, 4, ValueReal(7.0L), QString());
    TValue v = ValuePoint(0.0L, 8.0L);
    GetCellValue(2, 4, v);
    EXPECT_EQ(v.Kind, KindPair);
    EXPECT_EQ(v.X, 7.0L);
    EXPECT_EQ(v.Y, 8.0L);
    EXPECT_EQ(v.Defined, 1);

    const std::pair<int, int> outside[] = {{201, 1}, {1, 11}, {-1, 0}, {0, -1}};
    for (const auto& [row, col] : outside) {
        TValue w = ValuePoint(1.0L, 2.0L);
        GetCellValue(row, col, w);
        EXPECT_EQ(w.Kind, KindReal) << row << "," << col;
        EXPECT_EQ(w.Defined, 0);
    }
}

TEST_F(DocumentStateTest, ListResetsClearNotesAndOnlyTheNewDocumentClearsTheMemo)
{
    t.PetaMemoLines = QStringList{QStringLiteral("note"), QStringLiteral("#On a Change")};
    t.SimpleMemoLines = QStringList{QStringLiteral("memo")};
    t.Stickers.Lines[11] = QStringList{QStringLiteral("x")};
    t.Stickers.Names[1] = QStringLiteral("n");
    t.Stickers.Changed[3] = 1;
    t.Stickers.Count = 4;

    ResetLists();
    EXPECT_TRUE(t.PetaMemoLines.isEmpty());
    EXPECT_EQ(t.SimpleMemoLines.size(), 1);
    EXPECT_TRUE(t.Stickers.Lines[11].isEmpty());
    EXPECT_TRUE(t.Stickers.Names[1].isEmpty());
    EXPECT_EQ(t.Stickers.Changed[3], 0);
    EXPECT_EQ(t.Stickers.Count, 0);

    NewDocumentLists();
    EXPECT_TRUE(t.SimpleMemoLines.isEmpty());
}

TEST(ProgramStateTest, InitializeDocumentStartsFromTheDefaults)
{
    Options.VectorOn = 1;
    SetMonochromeColorScheme();
    DocumentTables.Params[1].Value = 9.0L;
    InitializeDocument();

    EXPECT_EQ(Options, TDocumentOptions{});
    EXPECT_FALSE(ColorScheme.Monochrome);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);
    EXPECT_EQ(DocumentTables.Points[2].Label, QStringLiteral("Q"));
    EXPECT_EQ(DocumentTables.Cells[7][0].Text, QStringLiteral("7"));
    EXPECT_FALSE(ProgramState.DefaultFontName.isEmpty());
    EXPECT_EQ(ProgramState.SctickerEdit, ProgramState.DefaultFontName);
    EXPECT_EQ(ProgramState.ScriptEdit, ProgramState.DefaultFontName);
    EXPECT_EQ(ProgramState.SctickerLarge, QStringLiteral("Arial Unicode MS"));
    EXPECT_EQ(ProgramState.SctickerSmall, QStringLiteral("Times New Roman"));
    EXPECT_EQ(ProgramState.DefaultFigureStyle.Width, 3);
    EXPECT_EQ(ProgramState.DefaultGraphStyle.Width, 2);
    EXPECT_EQ(ProgramState.GraphPixelHeight, 400);
}

} // namespace
