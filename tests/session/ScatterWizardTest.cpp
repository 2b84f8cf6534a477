// The scatter wizard without its window: what it proposes for a selection
// and the point sequence it stores.
#include "StoreTestKit.h"

#include "session/ScatterWizard.h"
#include "session/StoreOperations.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/ProgramState.h"

namespace {

using ScatterWizardTest = StoreTest;

TEST_F(ScatterWizardTest, ProposalsFollowTheSelection)
{
    struct Case {
        const char* What;
        TCellRange Selection;
        int FirstRow, LastRow, XColumn, YColumn;
    };
    const Case cases[] = {
        {"one cell: to the last row, y the next column", {5, 3, 5, 3}, 5, 200, 3, 4},
        {"the last column stays itself", {5, 10, 5, 10}, 5, 200, 10, 10},
        {"a block: its corners", {2, 4, 9, 7}, 2, 9, 4, 7},
        {"one column of several rows", {1, 1, 10, 1}, 1, 10, 1, 2},
    };
    for (const Case& c : cases) {
        const TScatterProposal p = ProposeScatter(c.Selection);
        EXPECT_EQ(p.FirstRow, c.FirstRow) << c.What;
        EXPECT_EQ(p.LastRow, c.LastRow) << c.What;
        EXPECT_EQ(p.XColumn, c.XColumn) << c.What;
        EXPECT_EQ(p.YColumn, c.YColumn) << c.What;
    }
}

TEST_F(ScatterWizardTest, OnlyTheFreeObjectsAmongTheFirst21AreOffered)
{
    // The origin object O, the 22nd, is set in a new document.
    EXPECT_EQ(ProposeScatter({}).Letters.size(), 21u);
    EXPECT_EQ(ProposeScatter({}).Letters.front(), u'P');
    SetPnt(1, PointAt(1, QStringLiteral("(1, 2)")));
    SetPnt(3, PointAt(3, QStringLiteral("(1, 2)")));
    const std::vector<QChar> letters = ProposeScatter({}).Letters;
    ASSERT_EQ(letters.size(), 19u);
    EXPECT_EQ(letters[0], u'Q');
    EXPECT_EQ(letters[1], u'S');
    EXPECT_EQ(letters.back(), u'N');
    EXPECT_FALSE(ScatterObjectsAllUsed());
    for (int n = 1; n <= 21; ++n)
        SetPnt(n, PointAt(n, QStringLiteral("(1, 2)")));
    EXPECT_TRUE(ScatterObjectsAllUsed());
    SetPnt(22, DefaultPoint);
    EXPECT_TRUE(ScatterObjectsAllUsed()) << "the 22nd object does not count";
}

TEST_F(ScatterWizardTest, OkMakesAPointSequenceOverTheRows)
{
    ProgramState.DefaultFigureStyle = TDefaultFigure{0x00AA00, 0x0000BB, 5, 2, 3, 1};
    TScatterChoice choice{u'P', 1, 2, QStringLiteral("1"), QStringLiteral("=2*5"), true, true};
    const int undoSteps = BackUp.Count();
    const TScatterOutcome outcome = ApplyScatterChoice(choice);
    EXPECT_FALSE(outcome.StayOpen);
    ASSERT_EQ(outcome.Object, 1);
    EXPECT_EQ(BackUp.Count(), undoSteps + 1);
    const TPointFunction& p = DocumentTables.Points[1];
    EXPECT_EQ(p.Kind, ObjectSequence);
    EXPECT_EQ(p.X.Text, QStringLiteral("Cells(k,1)"));
    EXPECT_EQ(p.Y.Text, QStringLiteral("Cells(k,2) "));
    EXPECT_FALSE(p.X.Code.isEmpty());
    EXPECT_FALSE(p.Y.Code.isEmpty());
    EXPECT_EQ(p.Low.Text, QStringLiteral("1"));
    EXPECT_EQ(p.High.Text, QStringLiteral("10"));
    EXPECT_FALSE(p.High.Code.isEmpty());
    EXPECT_EQ(p.ParamChar, u'k');
    EXPECT_EQ(p.ParamStep, 1.0L);
    EXPECT_EQ(p.ColorNo1, 0x00AA00u);
    EXPECT_EQ(p.RColorNo1, 0x0000BBu);
    EXPECT_EQ(p.Width, 5);
    EXPECT_EQ(p.RWidth, 2);
    EXPECT_EQ(p.LineStyle, 3);
}

TEST_F(ScatterWizardTest, TheCheckBoxesChooseWhatIsDrawn)
{
    struct Case {
        bool Points, Lines;
        TColor Default;
        TColor Color, LineColor;
    };
    const Case cases[] = {
        {true, false, 0x123456, 0x123456, 0xFFFFFF},
        {false, true, 0x123456, 0xFFFFFF, 0x123456},
        {true, true, 0xFFFFFF, 0xFF0000, 0xFF0000}, // a white default would draw nothing
    };
    for (const Case& c : cases) {
        ProgramState.DefaultFigureStyle.ColorNo1 = c.Default;
        ProgramState.DefaultFigureStyle.RColorNo1 = c.Default;
        const TPointFunction p = ScatterObject(2, {u'Q', 3, 4, QStringLiteral("1"), QStringLiteral("5"), c.Points, c.Lines});
        EXPECT_EQ(p.ColorNo1, c.Color) << c.Points << c.Lines;
        EXPECT_EQ(p.RColorNo1, c.LineColor) << c.Points << c.Lines;
    }
}

TEST_F(ScatterWizardTest, RowsThatAreNoNumberOrNothingToDrawMakeNoObject)
{
    struct Case {
        const char* What;
        const char* First;
        bool Points, Lines;
        bool StayOpen;
    };
    const Case cases[] = {
        {"a first row that is no number", "olá", true, true, true},
        {"an undefined first row", "1/0", true, true, true},
        {"neither points nor lines", "1", false, false, false},
    };
    for (const Case& c : cases) {
        TScatterChoice choice{u'P', 1, 2, QString::fromUtf8(c.First), QStringLiteral("10"), c.Points, c.Lines};
        const TScatterOutcome outcome = ApplyScatterChoice(choice);
        EXPECT_EQ(outcome.StayOpen, c.StayOpen) << c.What;
        EXPECT_EQ(outcome.Object, -1) << c.What;
        EXPECT_EQ(choice.FirstRow, QString::fromUtf8(c.First)) << "the text stays as typed: " << c.What;
        EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectEmpty) << c.What;
    }
}

TEST_F(ScatterWizardTest, TheCommaLocaleSeparatesTheArgumentsWithItsListSeparator)
{
    UseCommaLocale();
    TScatterChoice choice{u'R', 3, 4, QStringLiteral("2"), QStringLiteral("7,0"), true, false};
    ASSERT_EQ(ApplyScatterChoice(choice).Object, 3);
    EXPECT_EQ(DocumentTables.Points[3].X.Text, QStringLiteral("Cells(k;3)"));
    EXPECT_FALSE(DocumentTables.Points[3].Y.Code.isEmpty());
    EXPECT_EQ(DocumentTables.Points[3].High.Text, QStringLiteral("7,0")) << "a number stays as typed";
    EXPECT_FALSE(DocumentTables.Points[3].High.Code.isEmpty());
}

} // namespace
