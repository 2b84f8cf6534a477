// The value table and the integral tool without their windows: the texts
// they show, the integrals, the partition check, what each store does to
// the document and the undo history, the overlay's part in a redraw, and
// their marker lines dragged through the mouse work.
#include "RecordingMouseSurface.h"
#include "StoreTestKit.h"

#include "session/EditScope.h"
#include "session/IntegralTool.h"
#include "session/MouseDrag.h"
#include "session/MouseWork.h"
#include "session/OptionsApply.h"
#include "session/SessionServices.h"
#include "session/StoreOperations.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"
#include "session/ValueTableTool.h"

#include "engine/Evaluator.h"
#include "model/History.h"
#include "model/NumberText.h"
#include "model/ProgramState.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/ViewServices.h"

#include <functional>
#include <vector>

namespace {

// The windows as the session sees them: what they were asked to show.
class RecordingValueTable final : public TValueTableView {
public:
    bool Shown = true;
    int XShown = 0, Documents = 0;
    std::vector<TValueTableRows> Values;
    bool IsShown() override { return Shown; }
    void ShowX() override { ++XShown; }
    void ShowValues(const TValueTableRows& rows) override { Values.push_back(rows); }
    void ShowDocument() override { ++Documents; }
};

class RecordingIntegral final : public TIntegralView {
public:
    bool Shown = true;
    int LimitsShown = 0, Documents = 0;
    std::vector<TIntegralTable> Tables;
    bool IsShown() override { return Shown; }
    void ShowLimits() override { ++LimitsShown; }
    void ShowIntegrals(const TIntegralTable& table) override { Tables.push_back(table); }
    void ShowDocument() override { ++Documents; }
};

void SetFormula(TKavirofunction& f, const QString& text, int mode = ModePlain)
{
    f.Text = text;
    PrepareExpression(f, mode);
}

// The calculator's part, answered: the text typed and sent, or closed.
TCalculatorEdit Sends(const QString& text, int mode = ModePlain)
{
    return [text, mode](TKavirofunction& record) {
        SetFormula(record, text, mode);
        return true;
    };
}
bool Closes(TKavirofunction&)
{
    return false;
}

// x −5..5 over 400 pixels, y −3.75..3.75 over 300: 40 pixels a unit; the
// session's services and the scene's redraw as the program has them.
class ToolWindowsTest : public StoreTest {
protected:
    RecordingSurface surface;
    TGraphMouseWork mouse{surface};

    void SetUp() override
    {
        StoreTest::SetUp();
        InstallSceneRedrawer();
        InstallSessionServices();
        Options.AreaRectify = 0;
        SetMouseTestView(-5.0L, 5.0L, -3.75L, 3.75L);
        CompileToolFormulas();
        ProgramState.Modified = 0;
    }
    void TearDown() override
    {
        DetachValueTable();
        DetachIntegral();
        UninstallScopedRedrawer();
        UninstallSceneRedrawer();
        StoreTest::TearDown();
    }
    static void SetFunction(int n, const QString& text) { SetYfx(n, Equation(text)); }
    static void SetLimits(const QString& lower, const QString& upper)
    {
        Tinterval& in = DocumentTables.IntegralInterval;
        SetFormula(in.Lower, lower);
        SetFormula(in.Upper, upper);
        in.LowerValue = EvaluateExpression(in.Lower, ValueReal(0.0L));
        in.UpperValue = EvaluateExpression(in.Upper, ValueReal(0.0L));
    }
    static QString RowText(int i, const TFunctionButtons& down = {})
    {
        return CalcIntegrals(DocumentTables, down).Rows[i].Text;
    }
    // A press, moves in steps and the release, as the graph window forwards them.
    void Drag(QPoint from, QPoint to, int steps = 4)
    {
        mouse.GImageMouseMove({}, from);
        mouse.GImageMouseDown(Qt::LeftButton, {}, from);
        for (int i = 1; i <= steps; ++i)
            mouse.GImageMouseMove({}, from + (to - from) * i / steps);
        mouse.GImageMouseUp(Qt::LeftButton, {}, to);
    }
    static int PixelOfX(long double x) { return GraphScale.XAxis.ValueToPixel(x); }
    static QRgb GraphPixel(int x, int y) { return GraphScale.GraphImages[0].Image().pixel(x, y); }
};

TEST_F(ToolWindowsTest, ValueTextsAreFixedWithTwelveDecimals)
{
    struct Case {
        TValue value;
        const char* text;
    };
    const Case cases[] = {
        {ValueReal(4.0L), "4.000000000000"},
        {ValueReal(1.0L / 3.0L), "0.333333333333"},
        {ValueReal(-2.5L), "-2.500000000000"},
        // 14 significant digits, then zeros to the twelfth decimal.
        {ValueReal(123.456789012345678L), "123.456789012350"},
        {ValueReal(-1e-15L), "0.000000000000"},
        {ValuePoint(1.5L, 7.0L), "1.500000000000"},
        {ValueUndefined(KindReal), "---"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueTableText(c.value), QString::fromUtf8(c.text)) << c.text;
    UseCommaLocale();
    EXPECT_EQ(ValueTableText(ValueReal(4.0L)), QStringLiteral("4,000000000000"));
}

TEST_F(ToolWindowsTest, RowsShowTheirExpressionsAtX)
{
    SetFunction(1, QStringLiteral("x^2"));
    TDocumentTables& doc = DocumentTables;
    SetFormula(doc.YvalueFunctions[2], QStringLiteral("(x, 3)"), ModeFunction);
    SetFormula(doc.YvalueFunctions[3], QStringLiteral("ln(x-3)"), ModeFunction);
    SetFormula(doc.YvalueFunctions[4], QString(), ModeFunction);
    SetFormula(doc.YvalueFunctions[5], QStringLiteral("x+"), ModeFunction);
    SetFormula(doc.YvalueFunctions[6], QStringLiteral("7"), ModeFunction);
    const TValueTableRows atTwo = ValueTableRows(ValueReal(2.0L));
    const char* expected[YvalueRowCount] = {"4.000000000000", "2.000000000000", "---", "---", "---",
                                            "7.000000000000", "---", "---", "---"};
    for (int i = 0; i < YvalueRowCount; ++i)
        EXPECT_EQ(atTwo[i], QString::fromUtf8(expected[i])) << "row " << i + 1;
    // An undefined x (ln(-1) without complex mode) leaves every row without a value.
    Options.ComplexMode = 0;
    SetFormula(doc.YvalueX, QStringLiteral("ln(-1)"));
    const TValue x = EvaluateExpression(doc.YvalueX, ValueReal(0.0L));
    ASSERT_FALSE(x.Defined);
    for (const QString& text : ValueTableRows(x))
        EXPECT_EQ(text, QStringLiteral("---"));
}

TEST_F(ToolWindowsTest, IntegralsOfTheFunctions)
{
    struct Case {
        const char* function;
        const char* lower;
        const char* upper;
        int slices;
        bool area;
        const char* text;
    };
    const Case cases[] = {
        {"x^2", "0", "1", 10, false, "0.33333333333333"},
        {"x^2", "1", "0", 10, false, "-0.33333333333333"},
        // Area mode takes |f| and keeps the sign of upper - lower.
        {"x-1/2", "0", "1", 10, false, "0.00000000000000"},
        {"x-1/2", "0", "1", 10, true, "0.25000000000000"},
        {"x-1/2", "1", "0", 10, true, "-0.25000000000000"},
        // Undefined nodes add nothing.
        {"ln(x)", "-1", "1", 10, false, "-0.99580019780825"},
        {"x^3", "-2", "2", 1, false, "0.00000000000000"},
        {"exp(x)", "0", "1", 200, false, "1.71828182845905"},
        {"x", "a", "2", 10, false, "1.50000000000000"},
    };
    for (const Case& c : cases) {
        SetFunction(3, QString::fromUtf8(c.function));
        SetLimits(QString::fromUtf8(c.lower), QString::fromUtf8(c.upper));
        DocumentTables.IntegralInterval.sliceNo = c.slices;
        DocumentTables.IntegralInterval.AreaQ = c.area ? 1 : 0;
        EXPECT_EQ(RowText(3), QString::fromUtf8(c.text)) << c.function << " " << c.lower << ".." << c.upper;
    }
}

TEST_F(ToolWindowsTest, TheIntegralEqualsTheFormulaBuiltIn)
{
    SetFunction(1, QStringLiteral("ln(x)"));
    SetLimits(QStringLiteral("-1"), QStringLiteral("1"));
    TKavirofunction intgr;
    SetFormula(intgr, QStringLiteral("Intgr(x,-1,1,ln(x))"));
    const TValue v = EvaluateExpression(intgr, ValueReal(0.0L));
    ASSERT_TRUE(v.Defined);
    EXPECT_EQ(RowText(1), FormatFixed(v.X, 15, 14, u'.'));
}

TEST_F(ToolWindowsTest, RowsOfTheIntegralTable)
{
    SetFunction(1, QStringLiteral("x"));
    SetFunction(2, QStringLiteral("x"));
    SetFunction(4, QStringLiteral("2"));
    SetFunction(7, QStringLiteral("x^2"));
    SetLimits(QStringLiteral("0"), QStringLiteral("3"));
    TFunctionButtons down{};
    down[4] = true;

    // The difference to y2: y2 itself gives 0.
    DocumentTables.IntegralInterval.Efuncno = 2;
    const TIntegralTable table = CalcIntegrals(DocumentTables, down);
    struct Row {
        int i;
        const char* text;
        bool enabled;
        int top;
    };
    const Row rows[] = {
        {1, "0.00000000000000", true, 28}, {2, "0.00000000000000", true, 52}, {3, "", true, HiddenIntegralRowTop},
        {4, "0", false, 76},               {7, "4.50000000000000", true, 100},
        {20, "", true, HiddenIntegralRowTop},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(table.Rows[r.i], (TIntegralRow{QString::fromUtf8(r.text), r.enabled, r.top})) << "row " << r.i;
    }
    EXPECT_EQ(table.Rows[0].Top, 4);
    EXPECT_EQ(table.RowAreaHeight, 4 + 4 * 24 + 24 + 30);

    // Limits without a value: every row "---", laid out all the same.
    SetLimits(QStringLiteral("ln(-1)"), QStringLiteral("3"));
    const TIntegralTable undefined = CalcIntegrals(DocumentTables, down);
    for (int i : {1, 2, 4, 7})
        EXPECT_EQ(undefined.Rows[i].Text, QStringLiteral("---")) << i;
    EXPECT_EQ(undefined.Rows[7].Top, 100);
}

TEST_F(ToolWindowsTest, RowHeightsAndLabels)
{
    for (int i : {2, 5, 6, 20})
        SetFunction(i, QStringLiteral("x"));
    struct Case {
        int n, height;
    };
    const Case cases[] = {{1, 4}, {2, 28}, {5, 52}, {19, 76}, {20, 100}, {0, 124}};
    for (const Case& c : cases)
        EXPECT_EQ(IntegralRowsHeight(DocumentTables, c.n), c.height) << c.n;
    EXPECT_EQ(IntegralRowLabel(1), QStringLiteral(" y1"));
    EXPECT_EQ(IntegralRowLabel(10), QStringLiteral(" y10"));
    EXPECT_EQ(IntegralRowLabel(19), QStringLiteral(" y19"));
}

TEST_F(ToolWindowsTest, PartitionCounts)
{
    struct Case {
        const char* text;
        TSliceNoText read;
        int sliceNo;
    };
    const Case cases[] = {
        {"0", TSliceNoText::OutOfRange, 10},  {"201", TSliceNoText::OutOfRange, 10},
        {"-3", TSliceNoText::OutOfRange, 10}, {"1", TSliceNoText::Accepted, 1},
        {"2", TSliceNoText::Accepted, 2},     {"200", TSliceNoText::Accepted, 200},
        {"abc", TSliceNoText::NotAnInteger, 10}, {"2.5", TSliceNoText::NotAnInteger, 10},
        {"", TSliceNoText::NotAnInteger, 10},
    };
    for (const Case& c : cases) {
        int n = 10;
        EXPECT_EQ(ReadSliceNo(QString::fromUtf8(c.text), n), c.read) << c.text;
        EXPECT_EQ(n, c.sliceNo) << c.text;
    }
}

TEST_F(ToolWindowsTest, ATypedPartitionCountIsStoredOrRefused)
{
    struct Case {
        const char* typed;
        const char* shown; // the edit afterwards
        int sliceNo;
        bool message;
    };
    const Case cases[] = {
        {"0", "10", 10, true}, {"201", "10", 10, true}, {"-3", "10", 10, true}, {"abc", "abc", 10, false},
        {"2", "2", 2, false},  {"200", "200", 200, false}, {"1", "1", 1, false},
    };
    for (const Case& c : cases) {
        DocumentTables.IntegralInterval.sliceNo = 10;
        ProgramState.Modified = 0;
        sink_.clear();
        const int undoSteps = BackUp.Count();
        QString text = QString::fromUtf8(c.typed);
        ApplySliceNoText(text);
        EXPECT_EQ(text, QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(DocumentTables.IntegralInterval.sliceNo, c.sliceNo) << c.typed;
        EXPECT_EQ(ProgramState.Modified, c.sliceNo != 10 ? 1 : 0) << c.typed;
        EXPECT_EQ(BackUp.Count(), undoSteps) << "no undo point for " << c.typed;
        ASSERT_EQ(sink_.messages().size(), c.message ? 1u : 0u) << c.typed;
        if (c.message) {
            EXPECT_EQ(sink_.last().text, QStringLiteral("Número de partições será par, de 2 a 200."));
            EXPECT_EQ(sink_.last().kind, MsgWarning);
        }
    }
}

TEST_F(ToolWindowsTest, EveryChangeMarksTheDocumentAndEditsTakeAnUndoPoint)
{
    RecordingValueTable table;
    struct Case {
        const char* what;
        std::function<void()> action;
        bool undoPoint;
        std::function<bool()> changed;
    };
    const TDocumentTables& doc = DocumentTables;
    const Case cases[] = {
        {"x in the calculator", [] { EditYvalueX(Sends(QStringLiteral("3"))); }, true,
         [&doc] { return doc.YvalueX.Text == QStringLiteral("3") && doc.YvalueXValue.X == 3.0L; }},
        {"a row in the calculator", [] { EditYvalueFunction(2, Sends(QStringLiteral("x+1"), ModeFunction)); }, true,
         [&doc] { return doc.YvalueFunctions[2].Text == QStringLiteral("x+1"); }},
        {"a limit in the calculator", [] { EditIntegralLimit(true, Sends(QStringLiteral("2.5"))); }, true,
         [&doc] { return doc.IntegralInterval.Upper.Text == QStringLiteral("2.5"); }},
        {"the x line dropped", [] { SetYvalueXFromGraph(1.25L); }, true,
         [&doc] { return doc.YvalueX.Text == QStringLiteral("1.25"); }},
        {"a limit line dropped", [] { SetIntegralLimitFromGraph(false, -0.5L); }, true,
         [&doc] { return doc.IntegralInterval.Lower.Text == QStringLiteral("-0.5"); }},
        {"the shaded function", [] { SetIntegralShownFunction(3); }, false,
         [&doc] { return doc.IntegralInterval.Dfuncno == 3; }},
        {"the subtracted function", [] { SetIntegralSubtractedFunction(2); }, false,
         [&doc] { return doc.IntegralInterval.Efuncno == 2; }},
        {"the area mode", [] { SetIntegralAreaMode(true); }, false,
         [&doc] { return doc.IntegralInterval.AreaQ == 1; }},
        {"the partitions", [] { QString t = QStringLiteral("12"); ApplySliceNoText(t); }, false,
         [&doc] { return doc.IntegralInterval.sliceNo == 12; }},
        {"the x marker", [] { ToggleYvalueMarker(); }, false, [&doc] { return doc.YvalueX.Marker == 0; }},
        {"a limit's marker", [] { ToggleIntegralMarker(true); }, false,
         [&doc] { return doc.IntegralInterval.Upper.Marker == 0; }},
    };
    for (const Case& c : cases) {
        ResetAllGlobals();
        InitializeEngine();
        CompileToolFormulas();
        ProgramState.Modified = 0;
        const int undoSteps = BackUp.Count();
        c.action();
        EXPECT_TRUE(c.changed()) << c.what;
        EXPECT_EQ(ProgramState.Modified, 1) << c.what;
        EXPECT_EQ(BackUp.Count(), undoSteps + (c.undoPoint ? 1 : 0)) << c.what;
        if (c.undoPoint) {
            Undo();
            EXPECT_FALSE(c.changed()) << c.what << " undone";
        }
    }
    // Closing the calculator without sending changes nothing.
    ResetAllGlobals();
    InitializeEngine();
    EditYvalueX(Closes);
    EditYvalueFunction(1, Closes);
    EditIntegralLimit(false, Closes);
    EXPECT_EQ(ProgramState.Modified, 0);
    EXPECT_EQ(BackUp.Count(), 0);
}

TEST_F(ToolWindowsTest, TheOverlayShowsTheOpenWindowsValues)
{
    SetFunction(1, QStringLiteral("a*x"));
    SetFormula(DocumentTables.YvalueX, QStringLiteral("2"));
    SetLimits(QStringLiteral("0"), QStringLiteral("1"));
    RecordingValueTable table;
    AttachValueTable(table);
    ASSERT_FALSE(table.Values.empty());
    EXPECT_EQ(table.Values.back()[0], QStringLiteral("2.000000000000"));
    // A parameter step: the rows follow with the line off too.
    ToggleYvalueMarker();
    {
        const TEditScope step;
        SetPrmValue(1, 3.0L);
    }
    EXPECT_EQ(table.Values.back()[0], QStringLiteral("6.000000000000"));
    DetachValueTable();

    RecordingIntegral integral;
    AttachIntegral(integral);
    ASSERT_FALSE(integral.Tables.empty());
    EXPECT_EQ(integral.Tables.back().Rows[1].Text, QStringLiteral("1.50000000000000"));
    // Choosing the shaded function computes nothing; the subtracted one does.
    const std::size_t computed = integral.Tables.size();
    SetIntegralShownFunction(1);
    EXPECT_EQ(integral.Tables.size(), computed);
    SetIntegralSubtractedFunction(1);
    EXPECT_EQ(integral.Tables.size(), computed + 1);
    EXPECT_EQ(integral.Tables.back().Rows[1].Text, QStringLiteral("0.00000000000000"));
    EXPECT_TRUE(ToolWindowState.ValuesActive);
    DetachIntegral();
    EXPECT_FALSE(ToolWindowState.ValuesActive);
}

TEST_F(ToolWindowsTest, AnOpenWindowFollowsTheDocument)
{
    RecordingIntegral integral;
    AttachIntegral(integral);
    EditIntegralLimit(false, Sends(QStringLiteral("-2")));
    Undo();
    EXPECT_EQ(integral.Documents, 1) << "undo";
    Redo();
    EXPECT_EQ(integral.Documents, 2) << "redo";
    EXPECT_EQ(DocumentTables.IntegralInterval.Lower.Text, QStringLiteral("-2"));
    ClearDocumentInParticipants();
    EXPECT_EQ(integral.Documents, 3) << "new";
    DetachIntegral();
    ClearDocumentInParticipants();
    EXPECT_EQ(integral.Documents, 3) << "closed";
}

TEST_F(ToolWindowsTest, TheXLineIsDraggedWhileTheTableIsOpen)
{
    SetFormula(DocumentTables.YvalueX, QStringLiteral("0.5"));
    // Closed: nothing to grab.
    mouse.GImageMouseMove({}, {PixelOfX(0.5L), 150});
    EXPECT_EQ(mouse.DragKind, 0);

    const int line = PixelOfX(0.5L);
    const QRgb without = GraphPixel(line, 40);
    RecordingValueTable table;
    AttachValueTable(table);
    EXPECT_NE(GraphPixel(line, 40), without) << "the line is drawn";
    mouse.GImageMouseMove({}, {line + 2, 150});
    EXPECT_EQ(mouse.DragKind, 2);
    // Grabbed, the line leaves the graph while the mouse draws its own.
    mouse.GImageMouseDown(Qt::LeftButton, {}, {line + 2, 150});
    EXPECT_EQ(GraphPixel(line, 40), without);
    mouse.GImageMouseUp(Qt::LeftButton, {}, {line + 2, 150});
    const int undoSteps = BackUp.Count();
    Drag({PixelOfX(DocumentTables.YvalueXValue.X), 150}, {PixelOfX(2.5L), 100});
    EXPECT_EQ(DocumentTables.YvalueX.Text, FormulaNumberText(2.5L));
    EXPECT_EQ(DocumentTables.YvalueXValue.X, 2.5L);
    EXPECT_EQ(BackUp.Count(), undoSteps + 1);
    EXPECT_GE(table.XShown, 1);
    const int moved = PixelOfX(2.5L);
    EXPECT_NE(GraphPixel(moved, 40), GraphPixel(moved + 5, 40)) << "the line is drawn where it was dropped";
    EXPECT_EQ(GraphPixel(line, 40), GraphPixel(line + 5, 40)) << "and gone from where it was";

    // Dropped near 0 the text has a power of ten, and the line can be grabbed again.
    Drag({moved, 150}, {PixelOfX(0.0L), 100});
    const QString nearZero = DocumentTables.YvalueX.Text;
    EXPECT_TRUE(nearZero == QStringLiteral("0") || nearZero.contains(QStringLiteral("*10^("))) << nearZero.toStdString();
    EXPECT_TRUE(TValueTableMarkers().IsXMarkerDraggable());
    TValueTableMarkers().SetXFromGraph(1e-7L);
    // The product is written in its canonical sign.
    const QString tiny = DocumentTables.YvalueX.Text;
    EXPECT_EQ(tiny, QStringLiteral("1·10^(-7)"));
    EXPECT_EQ(DocumentTables.YvalueXValue.X, 1e-7L);
    EXPECT_TRUE(TValueTableMarkers().IsXMarkerDraggable());
    mouse.GImageMouseMove({}, {PixelOfX(0.0L), 150});
    EXPECT_EQ(mouse.DragKind, 2);

    // Hidden, with the marker off or while the calculator edits x: no line to grab or drop.
    table.Shown = false;
    EXPECT_FALSE(TValueTableMarkers().IsXMarkerDraggable());
    table.Shown = true;
    ToggleYvalueMarker();
    EXPECT_FALSE(TValueTableMarkers().IsXMarkerDraggable());
    ToggleYvalueMarker();
    EditYvalueX([](TKavirofunction&) {
        TValueTableMarkers().SetXFromGraph(3.0L);
        return false;
    });
    EXPECT_EQ(DocumentTables.YvalueX.Text, tiny);
    DetachValueTable();
    EXPECT_FALSE(CurrentMarkerLines().IsXMarkerDraggable());
}

TEST_F(ToolWindowsTest, ADroppedValueIsANumberOfTheLocaleWithoutExponent)
{
    UseCommaLocale();
    RecordingValueTable table;
    AttachValueTable(table);
    struct Case {
        long double x;
        const char16_t* text;
    };
    const Case cases[] = {
        {2.5L, u"2,5"},
        {-1.25L, u"-1,25"},
        {1.0L / 3.0L, u"0,333333333333333"},
        {1.5e-7L, u"1,5·10^(-7)"},
        {-2e-9L, u"-2·10^(-9)"},
    };
    for (const Case& c : cases) {
        SetYvalueXFromGraph(c.x);
        const TDocumentTables& doc = DocumentTables;
        EXPECT_EQ(doc.YvalueX.Text, QString::fromUtf16(c.text));
        EXPECT_TRUE(doc.YvalueXValue.Defined) << doc.YvalueX.Text.toStdString();
        EXPECT_NEAR(static_cast<double>(doc.YvalueXValue.X / c.x), 1.0, 1e-14) << doc.YvalueX.Text.toStdString();
        EXPECT_TRUE(TValueTableMarkers().IsXMarkerDraggable()) << doc.YvalueX.Text.toStdString();
    }
    SetIntegralLimitFromGraph(true, -0.75L);
    EXPECT_EQ(DocumentTables.IntegralInterval.Upper.Text, QStringLiteral("-0,75"));
}

TEST_F(ToolWindowsTest, BothPartitionPathsMarkTheIntegralsDependants)
{
    DocumentTables.IntegralInterval.Dfuncno = 3;
    DocumentTables.IntegralInterval.Efuncno = 5;
    ClearRedrawState();
    EXPECT_TRUE(StoreSliceNo(20));
    const TWideCharSet& changed = RedrawState.ChangedNames;
    for (TTokenCode name : {TokenCodes.Area, Vocabulary.FunctionTokens[3], Vocabulary.FunctionTokens[5]})
        EXPECT_TRUE(changed.has(name)) << int(name);
    EXPECT_TRUE(IsDirtyObjects());
    ClearRedrawState();
    EXPECT_FALSE(StoreSliceNo(20));
    EXPECT_FALSE(IsAnythingToRedraw());
    // The options dialog's OK stores its partitions the same way.
    TOptionInputs in = CurrentOptionInputs();
    in.SliceNo = 30;
    TRecompilePlan plan;
    ApplyGeneral(in, plan);
    EXPECT_EQ(DocumentTables.IntegralInterval.sliceNo, 30);
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.Area));
}

TEST_F(ToolWindowsTest, TheLimitsAreDraggedWhileTheIntegralIsOpen)
{
    SetFunction(1, QStringLiteral("1"));
    SetLimits(QStringLiteral("-1"), QStringLiteral("1"));
    mouse.GImageMouseMove({}, {PixelOfX(-1.0L), 150});
    EXPECT_EQ(mouse.DragKind, 0) << "closed: nothing to grab";

    RecordingIntegral integral;
    AttachIntegral(integral);
    mouse.GImageMouseMove({}, {PixelOfX(-1.0L), 150});
    EXPECT_EQ(mouse.DragKind, 3);
    mouse.GImageMouseMove({}, {PixelOfX(1.0L) - 2, 150});
    EXPECT_EQ(mouse.DragKind, 4);
    Drag({PixelOfX(-1.0L), 150}, {PixelOfX(-2.0L), 100});
    Drag({PixelOfX(1.0L), 150}, {PixelOfX(3.0L), 100});
    const Tinterval& in = DocumentTables.IntegralInterval;
    EXPECT_EQ(in.Lower.Text, QStringLiteral("-2"));
    EXPECT_EQ(in.Upper.Text, QStringLiteral("3"));
    EXPECT_EQ(integral.Tables.back().Rows[1].Text, QStringLiteral("5.00000000000000"));
    EXPECT_GE(integral.LimitsShown, 2);

    // A limit that is no number stays where it is.
    EditIntegralLimit(false, Sends(QStringLiteral("a-3")));
    EXPECT_FALSE(TIntegralMarkers().IsLowerMarkerDraggable());
    mouse.GImageMouseMove({}, {PixelOfX(-2.0L), 150});
    EXPECT_EQ(mouse.DragKind, 0);
    // While a limit is edited a drop changes nothing.
    EditIntegralLimit(true, [](TKavirofunction&) {
        TIntegralMarkers().SetUpperFromGraph(0.0L);
        return false;
    });
    EXPECT_EQ(in.Upper.Text, QStringLiteral("3"));
    ToggleIntegralMarker(true);
    EXPECT_FALSE(TIntegralMarkers().IsUpperMarkerDraggable());
}

TEST_F(ToolWindowsTest, TheFieldsOfBothWindowsAreSavedAndReadBack)
{
    EditYvalueX(Sends(QStringLiteral("2.5")));
    ToggleYvalueMarker();
    for (int i = 1; i <= YvalueRowCount; ++i)
        EditYvalueFunction(i, Sends(QStringLiteral("x+%1").arg(i), ModeFunction));
    EditIntegralLimit(false, Sends(QStringLiteral("-Pi")));
    EditIntegralLimit(true, Sends(QStringLiteral("3")));
    ToggleIntegralMarker(false);
    SetIntegralShownFunction(4);
    SetIntegralSubtractedFunction(6);
    SetIntegralAreaMode(true);
    QString slices = QStringLiteral("37");
    ApplySliceNoText(slices);
    const TDocumentTables saved = DocumentTables;
    const QStringList lines = WrittenLines();
    ResetAllGlobals();
    InitializeEngine();
    ASSERT_TRUE(ReadLines(lines));
    const TDocumentTables& doc = DocumentTables;
    EXPECT_EQ(doc.YvalueX.Text, saved.YvalueX.Text);
    EXPECT_EQ(doc.YvalueX.Marker, 0);
    for (int i = 1; i <= YvalueRowCount; ++i)
        EXPECT_EQ(doc.YvalueFunctions[i].Text, saved.YvalueFunctions[i].Text) << i;
    const Tinterval& in = doc.IntegralInterval;
    EXPECT_EQ(in.Lower.Text, QStringLiteral("-Pi"));
    EXPECT_EQ(in.Lower.Marker, 0);
    EXPECT_EQ(in.Upper.Text, QStringLiteral("3"));
    EXPECT_EQ(in.Upper.Marker, 1);
    EXPECT_EQ(in.sliceNo, 37);
    EXPECT_EQ(in.Dfuncno, 4);
    EXPECT_EQ(in.Efuncno, 6);
    EXPECT_EQ(in.AreaQ, 1);
}

} // namespace
