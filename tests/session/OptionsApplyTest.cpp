// The options dialog's logic: presets, checks and the applying of OK.
#include "StoreTestKit.h"

#include "session/OptionsApply.h"
#include "session/UndoPoints.h"

#include "engine/Evaluator.h"
#include "model/History.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "platform/fakes/RecordingSystemErrorBox.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "render/view/ViewServices.h"

namespace {

const QString SizeMessage = QStringLiteral("Tamanho da janela é 150 * 1600");
const QString RangeMessage = QStringLiteral("Tamanho da janela inválido");
const QString SliceMessage = QStringLiteral("Número de partições será par, de 2 a 200.");

// Keeps what each redraw was asked to redraw, and draws nothing.
class RecordingRedrawer final : public TRedrawer {
public:
    std::vector<TWideCharSet> Names;
    void Redraw(ScaleT&, TGraphImages&) override { Names.push_back(RedrawState.ChangedNames); }
    void PushViewHistory(const ScaleT&) override {}
};

class OptionsApplyTest : public StoreTest {
protected:
    RecordingRedrawer redraws_;
    ScopedRedrawer useRedraws_{redraws_};
    platform::RecordingSystemErrorBox boxes_;
    platform::ScopedSystemErrorBox useBoxes_{boxes_};
    platform::RecordingMessageSink messages_;
    platform::ScopedMessageSink useMessages_{messages_};

    void SetUp() override
    {
        StoreTest::SetUp();
        GraphScale.Startup();
    }
};

TEST_F(OptionsApplyTest, WindowSizeAndRangeChecksUseTheSystemBox)
{
    struct Case {
        const char16_t *width, *height, *xLow, *xHigh;
        QString error; // empty: accepted
    };
    const Case cases[] = {
        {u"149", u"400", u"-5", u"5", SizeMessage},
        {u"1601", u"400", u"-5", u"5", SizeMessage},
        {u"400", u"149", u"-5", u"5", SizeMessage},
        {u"4a0", u"400", u"-5", u"5", SizeMessage},
        {u"150", u"1600", u"-5", u"5", {}},
        {u"1600", u"150", u"-5", u"5", {}},
        {u"400", u"400", u"3", u"3", RangeMessage},
        {u"400", u"400", u"5", u"-5", RangeMessage},
        {u"400", u"400", u"-5", u"five", RangeMessage},
        // Narrower than the view can map: refused before anything changes.
        {u"400", u"400", u"1", u"1.0000000000000000001", RangeMessage},
    };
    for (const Case& c : cases) {
        boxes_.clear();
        TOptionInputs in = CurrentOptionInputs();
        in.WidthText = QString::fromUtf16(c.width);
        in.HeightText = QString::fromUtf16(c.height);
        in.XLowText = QString::fromUtf16(c.xLow);
        in.XHighText = QString::fromUtf16(c.xHigh);
        EXPECT_EQ(CheckInput(in), c.error.isEmpty()) << in.WidthText.toStdString() << " " << in.XHighText.toStdString();
        if (c.error.isEmpty()) {
            EXPECT_TRUE(boxes_.empty());
        } else {
            ASSERT_EQ(boxes_.errors().size(), 1u);
            EXPECT_EQ(boxes_.errors().front(), c.error);
        }
    }
    EXPECT_TRUE(messages_.empty()) << "the program's box is not used for sizes and ranges";
}

TEST_F(OptionsApplyTest, PartitionsAreCheckedOnceForEveryCaller)
{
    struct Case {
        const char16_t* text;
        bool accepted;
        int sliceNo;
    };
    const Case cases[] = {{u"0", false, 10}, {u"201", false, 10}, {u"abc", false, 10}, {u"1", true, 1},
                          {u"199", true, 199}, {u"200", true, 200}};
    for (const Case& c : cases) {
        messages_.clear();
        int sliceNo = 10;
        QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(CheckSliceNo(text, sliceNo), c.accepted) << text.toStdString();
        EXPECT_EQ(sliceNo, c.sliceNo);
        if (c.accepted) {
            EXPECT_TRUE(messages_.empty());
            continue;
        }
        ASSERT_EQ(messages_.messages().size(), 1u);
        EXPECT_EQ(messages_.last().text, SliceMessage);
        EXPECT_EQ(messages_.last().kind, 1);
        EXPECT_EQ(text, QStringLiteral("10")) << "the edit shows the kept value";
    }
    // CheckInput ends with the same check.
    TOptionInputs in = CurrentOptionInputs();
    in.SliceNoText = QStringLiteral("0");
    EXPECT_FALSE(CheckInput(in));
    EXPECT_EQ(in.SliceNoText, QStringLiteral("10"));
}

TEST_F(OptionsApplyTest, PresetsFillTheAreaAndScaleControls)
{
    struct Case {
        TOptionsPreset preset;
        std::uint8_t angle;
        const char16_t *xLow, *xHigh, *yLow, *yHigh, *xBase, *yBase;
        bool polar, degreeFont;
    };
    const Case cases[] = {
        {TOptionsPreset::Radian, 1, u"-5", u"5", u"-5", u"5", u"1", u"1", false, false},
        {TOptionsPreset::Degree, 2, u"-5", u"5", u"-5", u"5", u"1", u"1", false, false},
        {TOptionsPreset::RadianPi, 1, u"-4", u"4", u"-4", u"4", u"1.5707963267949", u"1", false, false},
        {TOptionsPreset::DegreeTurn, 2, u"-100", u"380", u"-4", u"4", u"90", u"1", false, true},
        {TOptionsPreset::Polar, 1, u"-5", u"5", u"-5", u"5", u"1", u"3", true, false},
    };
    for (const Case& c : cases) {
        TOptionInputs in = CurrentOptionInputs();
        in.Y.BaseText = QStringLiteral("3"); // the polar preset keeps it
        in.X.Number = in.Y.Number = 12;
        in.X.ValueVisible = in.Y.GuideVisible = false;
        ApplyPreset(in, c.preset);
        EXPECT_EQ(in.AngleMode, c.angle);
        EXPECT_EQ(in.XLowText, QString::fromUtf16(c.xLow));
        EXPECT_EQ(in.XHighText, QString::fromUtf16(c.xHigh));
        EXPECT_EQ(in.YLowText, QString::fromUtf16(c.yLow));
        EXPECT_EQ(in.YHighText, QString::fromUtf16(c.yHigh));
        EXPECT_EQ(in.X.BaseText, QString::fromUtf16(c.xBase));
        EXPECT_EQ(in.Y.BaseText, QString::fromUtf16(c.yBase));
        EXPECT_EQ(in.Polar, c.polar);
        EXPECT_EQ(in.DegreeFont, c.degreeFont);
        EXPECT_EQ(in.X.Number, 7);
        EXPECT_EQ(in.Y.LInterval, 1);
        EXPECT_TRUE(in.X.ValueVisible && in.Y.GuideVisible);
    }
}

TEST_F(OptionsApplyTest, TickBasesAreMadePositiveAndZeroKeepsTheOldOne)
{
    struct Case {
        const char16_t* text;
        long double base;
    };
    const Case cases[] = {{u"-2", 2.0L}, {u"0", 1.0L}, {u"abc", 1.0L}, {u"90", 90.0L}, {u"0.5", 0.5L}};
    for (const Case& c : cases) {
        GraphScale.XAxis.Base = 1.0L;
        TOptionInputs in = CurrentOptionInputs();
        in.X.BaseText = QString::fromUtf16(c.text);
        TRecompilePlan plan;
        ApplyScale(in, plan);
        EXPECT_EQ(GraphScale.XAxis.Base, c.base) << in.X.BaseText.toStdString();
    }
}

TEST_F(OptionsApplyTest, OkTakesOneUndoPointThatRestoresTheProjectOptions)
{
    const TWorldRect before = GraphScale.Range();
    Options.AreaRectify = 0;
    TOptionInputs in = CurrentOptionInputs();
    in.AreaRectify = false;
    in.XLowText = QStringLiteral("-2");
    in.XHighText = QStringLiteral("6");
    in.YLowText = QStringLiteral("-3");
    in.YHighText = QStringLiteral("5");
    in.AngleMode = 2;
    in.DrawMode = 3;
    in.ShowProperty = false;
    in.AreaSizeByFile = true;
    in.SctickerSmall = QStringLiteral("Courier");
    const int points = BackUp.Count();
    ASSERT_TRUE(CheckInput(in));
    ApplyOptions(in);
    EXPECT_EQ(BackUp.Count(), points + 1);
    EXPECT_EQ(GraphScale.XAxis.Low, -2.0L);
    EXPECT_EQ(GraphScale.XAxis.High, 6.0L);
    EXPECT_EQ(Options.AngleMode, 2);
    EXPECT_EQ(Options.DrawMode, 3);

    Undo();
    EXPECT_EQ(GraphScale.XAxis.Low, before.Low.X);
    EXPECT_EQ(GraphScale.XAxis.High, before.High.X);
    EXPECT_EQ(Options.AngleMode, 1);
    EXPECT_EQ(Options.DrawMode, 1);
    // Not in the project text: they stay as OK set them.
    EXPECT_EQ(Options.ShowProperty, 0);
    EXPECT_EQ(ProgramSettings.AreaSizeByFile, 1);
    EXPECT_EQ(ProgramState.SctickerSmall, QStringLiteral("Courier"));
}

TEST_F(OptionsApplyTest, AnUntouchedOkKeepsTheExactViewAndResizesOnlyForANewSize)
{
    GraphScale.XAxis.SetBounds(-1.0L / 3.0L, 7.0L / 3.0L);
    GraphScale.XAxis.Recalc();
    const TWorldRect before = GraphScale.Range();
    TOptionInputs in = CurrentOptionInputs();
    ApplyOptions(in);
    EXPECT_EQ(GraphScale.Range(), before);
    EXPECT_EQ(host_.GraphAreaResizes, 0);

    in.WidthText = QStringLiteral("500");
    ApplyOptions(in);
    EXPECT_EQ(GraphScale.XAxis.VHigh, 500);
    EXPECT_EQ(host_.GraphAreaResizes, 1);
}

// The values of f1 «x<1» at 0.5 and 2.
std::pair<TValue, TValue> UserFunctionValues()
{
    const TKavirofunction& f = DocumentTables.UserFunctions[1];
    const TValue zero = ValueReal(0.0L);
    return {EvaluatePostfix(f, ValueReal(0.5L), zero, zero, zero), EvaluatePostfix(f, ValueReal(2.0L), zero, zero, zero)};
}

TEST_F(OptionsApplyTest, TheXLetterThereAndBackRecompilesEveryFormulaInItsMode)
{
    TDocumentTables& t = DocumentTables;
    t.UserFunctions[1].Text = QStringLiteral("x<1");
    ASSERT_TRUE(PrepareExpression(t.UserFunctions[1], ModeUserFunction));
    t.Functions[1] = Equation(QStringLiteral("@^2"));
    t.Relations[1] = Equation(QStringLiteral("x^2+y^2=1"), ModeRelation);
    t.YvalueFunctions[1].Text = QStringLiteral("x+1");
    ASSERT_TRUE(PrepareExpression(t.YvalueFunctions[1], ModeFunction));
    const auto [inside, outside] = UserFunctionValues();
    const TTokenString functionCode = t.Functions[1].Func.Code;

    TOptionInputs in = CurrentOptionInputs();
    in.XLetterIsX = false;
    ApplyOptions(in);
    EXPECT_EQ(GraphScale.XAxis.Letter(), u'@');
    EXPECT_NE(t.Functions[1].Func.Code, functionCode) << "θ is read as the variable";
    ASSERT_FALSE(redraws_.Names.empty()) << "OK redraws";
    EXPECT_TRUE(redraws_.Names.back().has(TokenCodes.Theta));

    in.XLetterIsX = true;
    ApplyOptions(in);
    EXPECT_EQ(t.Functions[1].Func.Code, functionCode);
    const auto [insideAfter, outsideAfter] = UserFunctionValues();
    EXPECT_EQ(insideAfter.Defined, inside.Defined);
    EXPECT_EQ(insideAfter.X, inside.X);
    EXPECT_EQ(outsideAfter.Defined, outside.Defined);
    EXPECT_EQ(outsideAfter.X, outside.X);
    // In relation form the comparison would compute something else.
    TKavirofunction asRelation = t.UserFunctions[1];
    PrepareExpression(asRelation, ModeRelation);
    EXPECT_NE(asRelation.Code, t.UserFunctions[1].Code);
    // The value table's rows compile with the letter too.
    TKavirofunction row = t.YvalueFunctions[1];
    PrepareExpression(row, ModeFunction);
    EXPECT_EQ(t.YvalueFunctions[1].Code, row.Code);
}

TEST_F(OptionsApplyTest, AThetaModeChangeRecompilesRelationsAndUserFunctions)
{
    TDocumentTables& t = DocumentTables;
    t.Relations[1] = Equation(QStringLiteral("r=@"), ModeRelation);
    t.UserFunctions[1].Text = QStringLiteral("@+x");
    ASSERT_TRUE(PrepareExpression(t.UserFunctions[1], ModeUserFunction));
    const TTokenString relation = t.Relations[1].Func.Code;
    const TTokenString user = t.UserFunctions[1].Code;

    TOptionInputs in = CurrentOptionInputs();
    in.ThetaMode = 2;
    ApplyOptions(in);
    EXPECT_EQ(Options.ThetaMode, 2);
    EXPECT_NE(t.Relations[1].Func.Code, relation);
    EXPECT_NE(t.UserFunctions[1].Code, user);
    TKavirofunction fresh = t.UserFunctions[1];
    PrepareExpression(fresh, ModeUserFunction);
    EXPECT_EQ(t.UserFunctions[1].Code, fresh.Code);
}

TEST_F(OptionsApplyTest, GeneralOptionsMarkWhatTheyChange)
{
    struct Case {
        const char* what;
        void (*change)(TOptionInputs&);
        bool everything; // every name marked
    };
    const Case cases[] = {
        {"complex", [](TOptionInputs& in) { in.Complex = true; }, true},
        {"sqrt", [](TOptionInputs& in) { in.AllowSqrtN = true; }, true},
        {"slices", [](TOptionInputs& in) { in.SliceNo = 20; }, false},
        {"draw mode", [](TOptionInputs& in) { in.DrawMode = 2; }, false},
    };
    for (const Case& c : cases) {
        ResetDocumentState();
        ClearRedrawState();
        TOptionInputs in = CurrentOptionInputs();
        c.change(in);
        TRecompilePlan plan;
        ApplyGeneral(in, plan);
        EXPECT_TRUE(IsDirtyObjects()) << c.what;
        EXPECT_EQ(RedrawState.ChangedNames.has(Vocabulary.PointTokens[1]), c.everything) << c.what;
    }
    EXPECT_EQ(DocumentTables.IntegralInterval.sliceNo, 10) << "reset by the last case";
}

TEST_F(OptionsApplyTest, DefaultsButtonsResetTheirPages)
{
    TOptionInputs in = CurrentOptionInputs();
    in.DrawMode = 3;
    in.ScanWidth = 1;
    in.AfterImageColorNo = 0;
    in.CapStyle = 1;
    in.DrawOnDrag = true;
    in.DrawOnCalc = false;
    in.ShowProperty = false;
    in.AimgOfArea = true;
    in.ShowSync = true;
    ResetGraphPage(in);
    EXPECT_EQ(in.DrawMode, 1);
    EXPECT_EQ(in.ScanWidth, 4);
    EXPECT_EQ(in.AfterImageColorNo, 2);
    EXPECT_EQ(in.CapStyle, 0);
    EXPECT_FALSE(in.DrawOnDrag);
    EXPECT_TRUE(in.DrawOnCalc);
    EXPECT_TRUE(in.ShowProperty);
    EXPECT_FALSE(in.AimgOfArea);
    EXPECT_TRUE(in.ShowSync) << "the document's own choice stays";

    in.LogMode = 1;
    in.AngleMode = 2;
    in.AngleArea = 2;
    in.CircleMode = 2;
    in.Complex = in.AllowSqrtN = true;
    in.ThetaMode = 2;
    ResetFunctionPage(in);
    EXPECT_EQ(in.LogMode, 2);
    EXPECT_EQ(in.AngleMode, 1);
    EXPECT_EQ(in.AngleArea, 1);
    EXPECT_EQ(in.CircleMode, 1);
    EXPECT_FALSE(in.Complex || in.AllowSqrtN);
    EXPECT_EQ(in.ThetaMode, 2) << "theta as argument stays";

    ProgramState.DefaultFontName = QStringLiteral("DejaVu Sans");
    ResetFontPage(in);
    EXPECT_EQ(in.SctickerEdit, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(in.ScriptEdit, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(in.SctickerLarge, QStringLiteral("Arial Unicode MS"));
    EXPECT_EQ(in.SctickerSmall, QStringLiteral("Times New Roman"));
}

TEST_F(OptionsApplyTest, ScaleButtonsMapToTheViewSettings)
{
    struct Case {
        int axisLine;
        std::uint8_t mesh;
        bool polar;
        std::uint8_t style, width, psMesh;
    };
    const Case cases[] = {{1, 0, false, 0, 1, 0}, {3, 2, false, 0, 3, 2}, {4, 1, false, 1, 1, 1},
                          {6, 3, false, 1, 3, 3}, {2, 1, true, 0, 2, 2}};
    for (const Case& c : cases) {
        TOptionInputs in = CurrentOptionInputs();
        in.AxisLineButton = c.axisLine;
        in.MeshStyle = c.mesh;
        in.Polar = c.polar;
        TRecompilePlan plan;
        ApplyScale(in, plan);
        EXPECT_EQ(GraphScale.AxisStyle, c.style) << c.axisLine;
        EXPECT_EQ(GraphScale.AxisWidth, c.width) << c.axisLine;
        EXPECT_EQ(GraphScale.PsMesh, c.psMesh) << c.axisLine;
        EXPECT_EQ(AxisLineButtonOf(GraphScale.AxisStyle, GraphScale.AxisWidth), c.axisLine);
    }
}

} // namespace
