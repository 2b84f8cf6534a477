// Stepping parameters and setting their steps; no step of 0.
#include "StoreTestKit.h"

#include "session/ParameterSteps.h"
#include "session/StoreOperations.h"

#include "render/view/RedrawState.h"

namespace {

using ParameterStepsTest = StoreTest;

TParameter Param(long double value, long double step, bool added)
{
    TParameter p;
    p.Value = value;
    p.Step = step;
    p.AddStep = added ? 1 : 0;
    return p;
}

TEST_F(ParameterStepsTest, OneStep)
{
    struct Case {
        const char* what;
        TParameter p;
        int direction;
        bool shift;
        bool ctrl;
        const char* shown;
    };
    const Case cases[] = {
        {"0.9 up lands on 1", Param(0.9L, 0.1L, true), StepUp, false, false, "1"},
        {"Shift takes a tenth", Param(0.9L, 0.1L, true), StepUp, true, false, "0.91"},
        {"Ctrl takes twice", Param(0.9L, 0.1L, true), StepDown, false, true, "0.7"},
        {"down through 0", Param(0.1L, 0.1L, true), StepDown, false, false, "0"},
        {"x2 up", Param(2.0L, 2.0L, false), StepUp, false, false, "4"},
        {"x2 down", Param(2.0L, 2.0L, false), StepDown, false, false, "1"},
        {"x4 Ctrl squares", Param(1.0L, 4.0L, false), StepUp, false, true, "16"},
        {"an added step of 0 steps nothing", Param(3.0L, 0.0L, true), StepUp, false, false, "3"},
        {"a factor 0 steps nothing", Param(3.0L, 0.0L, false), StepDown, false, false, "3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParamValueText(SteppedValue(c.p, c.direction, c.shift, c.ctrl)), QString::fromUtf8(c.shown))
            << c.what;
    EXPECT_EQ(SteppedValue(Param(0.9L, 0.1L, true), StepUp, false, false), 1.0L) << "exactly 1";
}

TEST_F(ParameterStepsTest, FixedParametersStepTogether)
{
    auto& params = DocumentTables.Params;
    params[1].Value = 0.9L;
    params[1].Fixed = params[2].Fixed = 1;
    StepParameter(1, StepUp);
    EXPECT_EQ(params[1].Value, 1.0L);
    EXPECT_EQ(RowModels.Params[1].EditText, QStringLiteral("1"));
    EXPECT_EQ(ParamValueText(params[2].Value), QStringLiteral("1.1"));
    EXPECT_EQ(params[3].Value, 1.0L) << "not fixed";
    params[2].Fixed = 0;
    StepParameter(1, StepDown);
    EXPECT_EQ(ParamValueText(params[2].Value), QStringLiteral("1.1"));
}

TEST_F(ParameterStepsTest, PendingTextIsAppliedBeforeTheStep)
{
    TypePrmEdit(1, QStringLiteral("5"));
    StepParameter(1, StepUp);
    EXPECT_EQ(ParamValueText(DocumentTables.Params[1].Value), QStringLiteral("5.1"));
}

TEST_F(ParameterStepsTest, NoStepOfZero)
{
    QString text = QStringLiteral("0");
    EXPECT_FALSE(ApplyStepEdit(1, text));
    EXPECT_EQ(text, QStringLiteral("0.1"));
    EXPECT_EQ(DocumentTables.Params[1].Step, 0.1L);
    text = QStringLiteral("0.25");
    EXPECT_TRUE(ApplyStepEdit(1, text));
    EXPECT_EQ(DocumentTables.Params[1].Step, 0.25L);

    struct Case {
        const char* what;
        long double step;
        bool added;
        bool toggles;
        long double after;
        bool addedAfter;
    };
    const Case cases[] = {
        {"x1 would become +0", 1.0L, false, false, 1.0L, false},
        {"+-1 would become x0", -1.0L, true, false, -1.0L, true},
        {"+0.1 becomes x1.1", 0.1L, true, true, 1.1L, false},
        {"x3 becomes +2", 3.0L, false, true, 2.0L, true},
        {"+5 becomes x5", 5.0L, true, true, 5.0L, false},
        {"+-0.5 becomes x0.5", -0.5L, true, true, 0.5L, false},
    };
    for (const Case& c : cases) {
        TParameter& p = DocumentTables.Params[2];
        p.Step = c.step;
        p.AddStep = c.added ? 1 : 0;
        EXPECT_EQ(ToggleStepMode(2), c.toggles) << c.what;
        EXPECT_EQ(ParamValueText(p.Step), ParamValueText(c.after)) << c.what;
        EXPECT_EQ(p.AddStep != 0, c.addedAfter) << c.what;
    }
}

TEST_F(ParameterStepsTest, SynchronisedCurvesTakeTheStep)
{
    TPointFunction& curve = DocumentTables.Points[3];
    curve.Kind = ObjectParametric;
    curve.Sync = 1;
    curve.ParamChar = u'a';
    EXPECT_TRUE(SetParameterStep(1, 0.5L));
    EXPECT_EQ(curve.ParamStep, 0.5L);
    EXPECT_TRUE(RedrawState.ChangedNames.has(Vocabulary.PointTokens[3]));
    DocumentTables.Params[1].AddStep = 0;
    EXPECT_TRUE(SetParameterStep(1, -3.0L));
    EXPECT_EQ(DocumentTables.Params[1].Step, 3.0L);
}

} // namespace

namespace {

TEST(StepFactorsTest, TheNextFactorUpAndDown)
{
    struct Case {
        long double step;
        int direction;
        long double next;
    };
    const Case cases[] = {
        {0.1L, StepUp, 0.2L},   {0.1L, StepDown, 0.05L}, {0.3L, StepUp, 0.5L},      {0.3L, StepDown, 0.2L},
        {1000.0L, StepUp, 1000.0L}, {0.001L, StepDown, 0.001L}, {5000.0L, StepDown, 1000.0L},
        {0.0001L, StepUp, 0.001L},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextStepFactor(c.step, c.direction), c.next) << static_cast<double>(c.step) << " " << c.direction;
}

TEST(StepFactorsTest, SpeedBarAndDelay)
{
    struct Case {
        int position, delay;
    };
    for (const Case& c : {Case{0, 0}, Case{20, 1}, Case{10, 80}, Case{1, 152}, Case{19, 8}}) {
        EXPECT_EQ(ParamDelayForSpeed(c.position, 80), c.delay) << c.position;
        EXPECT_EQ(SpeedForParamDelay(c.delay, 80), c.position) << c.delay;
    }
    EXPECT_EQ(SpeedForParamDelay(5000, 80), 0) << "slower than the bar reaches";
}

} // namespace
