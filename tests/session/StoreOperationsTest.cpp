// The store operations: undo point, trace drops, row places, marks.
#include "StoreTestKit.h"

#include "render/scene/Redraw.h"

#include "session/PanelLayout.h"
#include "session/SessionServices.h"
#include "session/StoreOperations.h"

#include "model/Figures.h"
#include "model/History.h"
#include "model/ProgramState.h"
#include "render/plot/Figures.h"
#include "render/plot/Objects.h"
#include "session/UndoPoints.h"
#include "render/scene/HitTests.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"

namespace {

using StoreOperationsTest = StoreTest;

bool Marked(TTokenCode name)
{
    return RedrawState.ChangedNames.has(name);
}

// One trace record in which every function is traced in its colour.
void RecordFunctionTraces()
{
    TTraceColors colors;
    for (int i = 1; i <= FunctionCount; ++i)
        colors.Functions[i] = 0x0000FF;
    TraceStore.Push(TPointStates{}, colors, DocumentTables.Params);
}

TColor TracedColor(int function)
{
    TTraceRecord record;
    TraceStore.ReadRecord(TraceStore.Head(), record);
    return record.Colors.Functions[function];
}

TEST_F(StoreOperationsTest, EmptyingARowClosesUpTheOthers)
{
    // y1, y3, y2, y4 in that order.
    for (int i : {1, 3, 2, 4})
        SetYfx(i, Equation(QStringLiteral("x+%1").arg(i)));
    EXPECT_EQ(PanelLayout.FunctionRows[3].Position, 2);
    SetYfx(3, Equation(QString()));

    struct Row {
        int slot, position, top;
    };
    for (const Row& r : {Row{1, 1, 22}, Row{2, 2, 60}, Row{4, 3, 98}}) {
        EXPECT_EQ(PanelLayout.FunctionRows[r.slot].Position, r.position) << r.slot;
        EXPECT_EQ(RowTop(RowModels.Functions.Rows[r.slot].DisplayIndex), r.top) << r.slot;
    }
    EXPECT_EQ(PanelLayout.FunctionRows[3].Position, 0);
    EXPECT_FALSE(RowModels.Functions.Rows[3].Shown);
    EXPECT_EQ(RowModels.Functions.AddSlot, 3);
    EXPECT_EQ(RowModels.Functions.Rows[4].Label, QStringLiteral(" y4="));
    EXPECT_EQ(rows_.ListShows[TRowKind::Functions], 5);
    EXPECT_TRUE(Modified());
    EXPECT_FALSE(BackUp.IsAtStart());
}

TEST_F(StoreOperationsTest, ATextChangeDropsTheTracesOfTheFunctionAndItsUsers)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    SetYfx(2, Equation(QStringLiteral("y1+1")));
    SetYfx(3, Equation(QStringLiteral("x^2")));

    RecordFunctionTraces();
    TEquationFunction recoloured = DocumentTables.Functions[1];
    recoloured.Color = 0x00FF00;
    SetYfx(1, recoloured);
    EXPECT_EQ(TracedColor(1), 0x0000FFu) << "a colour change keeps the traces";
    EXPECT_EQ(RowModels.Functions.Rows[1].LabelColor, 0x00FF00u);

    TEquationFunction retyped = DocumentTables.Functions[1];
    retyped = Equation(QStringLiteral("2x"));
    SetYfx(1, retyped);
    EXPECT_EQ(TracedColor(1), NoTraceColor);
    EXPECT_EQ(TracedColor(2), NoTraceColor) << "y2 uses y1";
    EXPECT_EQ(TracedColor(3), 0x0000FFu);
    EXPECT_TRUE(Marked(Vocabulary.FunctionTokens[1]));
}

TEST_F(StoreOperationsTest, RelationsAndUserFunctionsKeepTheirRows)
{
    SetCfn(2, Equation(QStringLiteral("x^2+y^2=4"), ModeRelation));
    SetUsr(1, Equation(QStringLiteral("a·x"), ModeUserFunction).Func);
    SetYfx(1, Equation(QStringLiteral("f(x)")));
    EXPECT_EQ(RowModels.Relations.Rows[2].Label, QStringLiteral(" C2: "));
    EXPECT_EQ(RowModels.Relations.Rows[2].DisplayIndex, 1);
    EXPECT_EQ(RowModels.UserFunctions.Rows[1].Label, QStringLiteral("f ="));
    EXPECT_FALSE(RowModels.UserFunctions.Rows[1].Picture.isEmpty());
    EXPECT_TRUE(Marked(Vocabulary.UserFunctionTokens[1]));
    EXPECT_TRUE(Marked(Vocabulary.RelationTokens[2]));
}

TEST_F(StoreOperationsTest, ParametersInUseHaveRows)
{
    SetYfx(1, Equation(QStringLiteral("b·x+a")));
    SetCfn(1, Equation(QStringLiteral("r=@"), ModeRelation));
    EXPECT_TRUE(RowModels.Params[1].Shown);
    EXPECT_TRUE(RowModels.Params[2].Shown);
    EXPECT_FALSE(RowModels.Params[3].Shown);
    // '@' is the polar angle of relations here.
    EXPECT_FALSE(RowModels.Params[ThetaParamIndex].Shown);
    EXPECT_EQ(RowModels.ParamShownCount, 2);
    EXPECT_EQ(RowModels.Params[ThetaParamIndex].Label, QStringLiteral("\u03B8 ="));
    EXPECT_EQ(RowModels.Params[1].DisplayIndex + RowModels.Params[2].DisplayIndex, 3);
}

TEST_F(StoreOperationsTest, DeletingAnObjectTakesItsFiguresAndGivesBackItsLetter)
{
    SetPnt(8, PointAt(8, QStringLiteral("(1,2)")));   // A
    SetPnt(9, PointAt(9, QStringLiteral("(3,1)")));   // B
    SetPnt(10, PointAt(10, QStringLiteral("(0,4)"))); // C
    Segments.Append(8, 9, 0, 2, 1);
    Segments.Append(9, 10, 0, 2, 1);
    Segments.Append(10, 8, 0, 2, 1);
    EXPECT_EQ(RowModels.Objects.Rows[8].Label, QStringLiteral("A"));
    EXPECT_EQ(RowModels.Objects.Rows[9].DisplayIndex, 2);

    TPointFunction deleted = DocumentTables.Points[8];
    deleted.Kind = ObjectEmpty;
    deleted.Label = QStringLiteral("mine");
    SetPnt(8, deleted);
    EXPECT_EQ(Segments.Count(), 1);
    EXPECT_EQ(Segments.Data.Items[1].Vertices[1], 9);
    EXPECT_EQ(RowModels.Figures[1].VertexLetters, QStringLiteral("BC"));
    EXPECT_FALSE(RowModels.Figures[2].Shown);
    EXPECT_EQ(DocumentTables.Points[8].Label, QStringLiteral("A"));
    EXPECT_EQ(PanelLayout.PointRows[9].Position, 1);
    EXPECT_EQ(RowModels.Objects.Rows[9].DisplayIndex, 1);
    EXPECT_GE(rows_.FigureShows, 1);
}

TEST_F(StoreOperationsTest, ObjectRowsStandInThePanelOfTheirKind)
{
    SetPnt(1, PointAt(1, QStringLiteral("(1,2)")));
    TPointFunction curve = DefaultPoint;
    curve.Kind = ObjectParametric;
    curve.X.Text = QStringLiteral("cos(t)");
    curve.Y.Text = QStringLiteral("sin(t)");
    curve.Low.Text = QStringLiteral("0");
    curve.High.Text = QStringLiteral("6");
    for (TKavirofunction* f : {&curve.X, &curve.Y, &curve.Low, &curve.High})
        PrepareExpression(*f, 2);
    SetPnt(2, curve);
    RefreshPntRows();
    const auto& rows = RowModels.Objects.Rows;
    EXPECT_EQ(rows[1].Panel, PanelPoints);
    EXPECT_EQ(rows[2].Panel, PanelCurves);
    EXPECT_EQ(rows[1].DisplayIndex, 1);
    EXPECT_EQ(rows[2].DisplayIndex, 1);
    EXPECT_EQ(RowModels.Objects.CurveShownCount, 1);
    EXPECT_FALSE(rows[PointCount].InUse) << "the plain origin has no row";
    EXPECT_EQ(RowModels.Objects.AddSlot, 3);
}

TEST_F(StoreOperationsTest, ObjectRowTexts)
{
    struct Case {
        std::uint8_t kind;
        const char* x;
        const char* y;
        const char* r;
        const char* shown;
        const char* definition;
    };
    const Case cases[] = {
        {ObjectHorizontalLine, "", "2", "0", "y=2", "x= , y= 2, r= 0"},
        {ObjectVerticalLine, "3", "", "b", "x=3,r=b", "x= 3, y= , r= b"},
        {ObjectPolar, "", "", "a", "r=a", "x= , y= , r= a"},
        {ObjectParametric, "t", "a", "", "x=t,y=a", "x= t, y= a, r= "},
    };
    for (const Case& c : cases) {
        TPointFunction p = DefaultPoint;
        p.Kind = c.kind;
        p.X.Text = QString::fromUtf8(c.x);
        p.Y.Text = QString::fromUtf8(c.y);
        p.R.Text = QString::fromUtf8(c.r);
        for (TKavirofunction* f : {&p.X, &p.Y, &p.R})
            PrepareExpression(*f, 1);
        EXPECT_EQ(TokensToText(MakePntText(p)), QString::fromUtf8(c.shown));
        EXPECT_EQ(MakePntDefText(p), QString::fromUtf8(c.definition));
    }
    EXPECT_TRUE(MakePntText(DefaultPoint).isEmpty());
}

TEST_F(StoreOperationsTest, ParameterValues)
{
    // A synchronised curve on t holds t within its interval.
    TPointFunction curve = DefaultPoint;
    curve.Kind = ObjectParametric;
    curve.Sync = 1;
    curve.Low.Text = QStringLiteral("-1");
    curve.High.Text = QStringLiteral("2");
    PrepareExpression(curve.Low, 1);
    PrepareExpression(curve.High, 1);
    DocumentTables.Points[1] = curve;
    const int t = 10;
    ASSERT_EQ(ParamLetters[t], u't');

    struct Case {
        int j;
        long double value;
        long double stored;
        const char* text;
    };
    const Case cases[] = {
        {t, 5.0L, 2.0L, "2"},
        {t, -3.0L, -1.0L, "-1"},
        {1, 1.0L / 3.0L, 1.0L / 3.0L, "0.33333333"},
        {2, 1234567.891L, 1234567.891L, "1234567.9"},
    };
    for (const Case& c : cases) {
        SetPrmValue(c.j, c.value);
        EXPECT_EQ(DocumentTables.Params[c.j].Value, c.stored) << c.text;
        EXPECT_EQ(RowModels.Params[c.j].EditText, QString::fromUtf8(c.text));
    }

    ClearRedrawState();
    EXPECT_FALSE(SetPrmIfChanged(1, DocumentTables.Params[1].Value));
    SetPrmValue(2, DocumentTables.Params[2].Value);
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.ChangedNames));
    EXPECT_FALSE(IsDirtyObjects());
    EXPECT_TRUE(SetPrmIfChanged(1, 7.0L));
    EXPECT_TRUE(Marked(Vocabulary.ParamTokens[1]));
    EXPECT_TRUE(IsDirtyObjects());
}

TEST_F(StoreOperationsTest, TypedValuesTurnBlueUntilApplied)
{
    TypePrmEdit(1, QStringLiteral("=2*3"));
    TypePrmEdit(2, QStringLiteral("nonsense("));
    TypePrmEdit(4, QStringLiteral("=3-2"));
    EXPECT_EQ(RowModels.Params[1].EditColor, TypedEditColor);
    EXPECT_TRUE(RowModels.Params[1].Pending);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);

    ApplyPendingPrmEdits();
    EXPECT_EQ(DocumentTables.Params[1].Value, 6.0L);
    EXPECT_EQ(RowModels.Params[1].EditColor, AppliedEditColor);
    EXPECT_FALSE(RowModels.Params[1].Pending);
    // Text that is no number: a message, and the value shown again.
    EXPECT_EQ(DocumentTables.Params[2].Value, 1.0L);
    EXPECT_EQ(RowModels.Params[2].EditText, QStringLiteral("1"));
    EXPECT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(RowModels.Params[4].EditText, QStringLiteral("1")) << "unchanged, shown as its value";
    EXPECT_FALSE(RowModels.PendingPrmEdits);

    DocumentTables.Params[3].Value = 0.5L;
    ShowPrmValueTexts();
    EXPECT_EQ(RowModels.Params[3].EditText, QStringLiteral("0.5"));
    EXPECT_EQ(rows_.ParamValueShows[3], 1);
}

TEST_F(StoreOperationsTest, ItemColoursAndTraces)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    SetPnt(1, PointAt(1, QStringLiteral("(1,1)")));
    Segments.Append(1, PointCount, 0, 2, 1);
    const int before = BackUp.Count();

    SetItemColor(TItemKind::Function, 1, 0x00FF00, ItemMainColor);
    SetItemColor(TItemKind::Object, 1, 0x000080, ItemSecondColor);
    SetItemColor(TItemKind::Object, 1, 0x008000, ItemFillColor);
    SetItemColor(TItemKind::Figure, 1, 0x800000, ItemFillColor);
    SetItemColor(TItemKind::Object, 1, 0x123456, 3);
    EXPECT_EQ(DocumentTables.Functions[1].Color, 0x00FF00u);
    EXPECT_EQ(RowModels.Functions.Rows[1].LabelColor, 0x00FF00u);
    EXPECT_EQ(DocumentTables.Points[1].RColorNo1, 0x000080u);
    EXPECT_EQ(DocumentTables.Points[1].InsideColor, 0x008000u);
    EXPECT_EQ(DocumentTables.Points[1].ColorNo1, DefaultPoint.ColorNo1);
    EXPECT_EQ(Segments.Data.Items[1].InsideColor, 0x800000u);
    EXPECT_EQ(BackUp.Count(), before) << "colours take no undo point";

    RecordFunctionTraces();
    EraseItemGraph(TItemKind::Function, 1);
    EXPECT_EQ(TracedColor(1), NoTraceColor);
    EXPECT_EQ(TracedColor(2), 0x0000FFu);
}

TEST_F(StoreOperationsTest, TheSessionTakesPartInEveryRedraw)
{
    InstallSessionServices();
    InstallSceneRedrawer();
    GraphScale.XAxis.VHigh = GraphScale.YAxis.VHigh = 200;
    for (TBitmap& image : GraphScale.GraphImages)
        image.SetSize(201, 201);
    TDocumentTables& doc = DocumentTables;
    doc.YvalueX.Text = QStringLiteral("a+1");
    PrepareExpression(doc.YvalueX, ModePlain);
    doc.IntegralInterval.Lower.Text = QStringLiteral("-a");
    PrepareExpression(doc.IntegralInterval.Lower, ModePlain);
    doc.IntegralInterval.Upper.Text = QStringLiteral("1");
    PrepareExpression(doc.IntegralInterval.Upper, ModePlain);
    SetPnt(1, PointAt(1, QStringLiteral("(a,2)")));
    // A value typed into parameter a's row and not yet applied counts.
    TypePrmEdit(1, QStringLiteral("3"));
    GraphScale.Redraw(GraphScale.GraphImages);
    EXPECT_EQ(doc.Params[1].Value, 3.0L);
    EXPECT_EQ(doc.YvalueXValue.X, 4.0L);
    EXPECT_EQ(doc.IntegralInterval.LowerValue.X, -3.0L);
    EXPECT_EQ(doc.IntegralInterval.UpperValue.X, 1.0L);
    // The figures take the states the scene is drawn from.
    EXPECT_EQ(Segments.States[1].X, 3.0L);
    EXPECT_EQ(Segments.States[1].Kind, ObjectPoint);
    UninstallSceneRedrawer();
}


TEST_F(StoreOperationsTest, AMovedDraggablePointKeepsItsTraces)
{
    struct Case {
        const char* what;
        std::uint8_t draggable;
        const char* position;
        std::uint8_t kind;
        bool kept;
    };
    const Case cases[] = {
        {"a draggable point moved", 1, "(2,2)", ObjectPoint, true},
        {"a fixed point moved", 0, "(2,2)", ObjectPoint, false},
        {"a fixed point restyled", 0, "(1,1)", ObjectPoint, true},
        {"another kind", 1, "(1,1)", ObjectCircle, false},
    };
    for (const Case& c : cases) {
        TPointFunction p = PointAt(1, QStringLiteral("(1,1)"));
        p.Draggable = c.draggable;
        DocumentTables.Points[1] = p;
        PointColors[1] = 0x0000FF;
        TPointFunction next = PointAt(1, QString::fromUtf8(c.position), c.kind);
        next.Draggable = c.draggable;
        next.Width = 5;
        SetPnt(1, next);
        EXPECT_EQ(PointColors[1], c.kept ? 0x0000FFu : NoTraceColor) << c.what;
    }
}

TEST_F(StoreOperationsTest, RowsAreRebuiltAfterUndoAndLoad)
{
    SetYfx(2, Equation(QStringLiteral("a·x")));
    SetYfx(5, Equation(QStringLiteral("x^2")));
    SetPnt(3, PointAt(3, QStringLiteral("(1,2)")));
    MoveRowPosition(PanelLayout.FunctionRows, 5, 2);
    const QStringList saved = WrittenLines();

    Undo(); // the point goes
    EXPECT_FALSE(RowModels.Objects.Rows[3].InUse);
    EXPECT_TRUE(RowModels.Functions.Rows[5].Shown);

    ResetAllGlobals();
    InitializeEngine();
    RefreshAllRows();
    EXPECT_FALSE(RowModels.Functions.Rows[2].Shown);
    ASSERT_TRUE(ReadLines(saved));
    RefreshAll();
    EXPECT_EQ(RowModels.Functions.Rows[5].DisplayIndex, 1);
    EXPECT_EQ(RowModels.Functions.Rows[2].DisplayIndex, 2);
    EXPECT_TRUE(RowModels.Objects.Rows[3].Shown);
    EXPECT_TRUE(RowModels.Params[1].Shown);
    EXPECT_FALSE(Modified());
}

TEST(RowMetricsTest, SizesFollowTheScreenAndPresentationMode)
{
    struct Case {
        int ppi;
        bool presentation;
        int rowSize, rowPitch, valueRow, scriptButton;
    };
    const Case cases[] = {
        {96, false, 12, 38, 38, 29},
        {96, true, 24, 73, 38, 58},
        {120, false, 10, 40, 40, 29},
    };
    for (const Case& c : cases) {
        TRowMetrics m;
        m.Apply(c.ppi, c.presentation);
        EXPECT_EQ(m.RowSize, c.rowSize) << c.ppi << c.presentation;
        EXPECT_EQ(m.RowPitch, c.rowPitch) << c.ppi << c.presentation;
        EXPECT_EQ(m.ValueRowHeight, c.valueRow) << c.ppi << c.presentation;
        EXPECT_EQ(m.ScriptButtonHeight, c.scriptButton) << c.ppi << c.presentation;
    }
}

} // namespace
