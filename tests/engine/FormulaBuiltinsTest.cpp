// Built-ins reached through whole formulas: text in, value out, in the
// angle, logarithm and complex modes a user can choose.
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/QtPrinters.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

struct Case {
    const char* text;
    bool defined;
    long double x = 0.0L;
    long double y = 0.0L; // checked for pairs
    long double tolerance = 0.0L;
};

class FormulaBuiltinsTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ResetDocument();
        TPointFunction& p = DocumentTables.Points[1];
        p.Kind = ObjectPoint;
        p.Pos.Text = QStringLiteral("(1,2)");
        JoinPointTexts(p, PointTextDirection::Split);
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
            PrepareExpression(*f, 1);
    }
    void TearDown() override
    {
        ResetDocument();
        EngineTest::TearDown();
    }

    static void Check(const Case& c)
    {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(c.text);
        ASSERT_TRUE(PrepareExpression(f, ModePlain)) << c.text;
        const TValue v = EvaluateExpression(f, ValueReal(0.0L));
        ASSERT_EQ(v.Defined != 0, c.defined) << c.text;
        if (!c.defined) {
            return;
        }
        EXPECT_LE(std::fabs(v.X - c.x), c.tolerance) << c.text << ": " << static_cast<double>(v.X);
        if (v.Kind == KindPair) {
            EXPECT_LE(std::fabs(v.Y - c.y), c.tolerance) << c.text << ": " << static_cast<double>(v.Y);
        }
    }
    static void CheckAll(std::initializer_list<Case> cases)
    {
        for (const Case& c : cases)
            Check(c);
    }
};

TEST_F(FormulaBuiltinsTest, RealModeRadians)
{
    CheckAll({
        {"sin(Pi/6)", true, 0.5L, 0, 1E-18L},
        {"Atan(1)", true, Pi / 4, 0, 1E-18L},
        {"Sqrt(-4)", false},
        {"ln(-1)", false},
        {"exp(5000)", true, std::exp(5000.0L), 0, std::exp(5000.0L) * 1E-18L},
        {"exp(20000)", false},
        {"exp(-5562)", false},
        {"int(-2.5)", true, -3},
        {"round(2.5)", true, 3},
        {"frc(-0.25)", true, 0.75L},
        {"-7 mod 3", true, 2},
        {"gcd(12,-18)", true, 6},
        {"lcm(6,9)", true, 18},
        {"nCr(5,2)", true, 10},
        {"nCr(10000,5000)", false},
        {"948!", true, std::tgamma(949.0L), 0, std::tgamma(949.0L) * 1E-15L},
        {"949!", false},
        {"Gamma(0.5)", true, 1.77245385090551602729816748334L, 0, 2E-15L},
        {"Beta(2,3)", true, 1.0L / 12.0L, 0, 1E-16L},
        {"2^30", true, 1073741824.0L},
        {"(-2)^3", true, -8},
        {"(-8)^(1/3)", false},
        {"0^0", true, 1},
        {"1 = 1.0000000001", true, 1},
        {"not(Sqrt(-1))", true, 1},
        {"2 or Sqrt(-1)", true, 2},
        {"2 and Sqrt(-1)", false},
        {"3 > 2", true, 1},
        {"2 > 3", false},
    });
}

TEST_F(FormulaBuiltinsTest, PointsInRealMode)
{
    CheckAll({
        {"2·P", true, 2, 4},
        {"P·2", false},
        {"P/2", true, 0.5L, 1},
        {"P·P", true, 5},
        {"len((1,1),(4,5))", true, 5},
        {"intr((0,0),5,(8,0),5)", true, 4, 3, 1E-15L},
        {"bezier(0.5,(0,0),(1,2),(2,0))", true, 1, 1, 1E-18L},
        {"rgb(0,0,2)", true, 16711680},
        {"hsl(.5,1,.5)", true, 16776960},
        {"solut4(1,0,-5,0,4,1)", true, -2, 0, 1E-15L},
        {"solut4(1,0,-5,0,4,2)", true, -1, 0, 1E-15L},
        {"solut4(1,0,-5,0,4,3)", true, 1, 0, 1E-15L},
        {"solut4(1,0,-5,0,4,4)", true, 2, 0, 1E-15L},
        {"polygon(0.5,(0,0),(1,0),(1,1),(0,1))", true, 0.5L, 0, 1E-18L},
        {"polygon(-0.5,(0,0),(1,0),(1,1),(0,1))", true, 0, 0.5L, 1E-18L},
        {"max(3,-1,7,2)", true, 7},
        {"min(3,-1,7,2)", true, -1},
        {"P.x+P.y", true, 3},
    });
}

TEST_F(FormulaBuiltinsTest, DegreeModeAndLogModes)
{
    Options.AngleMode = 2;
    CheckAll({
        {"sin(30)", true, 0.5L, 0, 1E-18L},
        {"Atan(1)", true, 45, 0, 1E-15L},
        {"cos(60°)", true, 0.5L, 0, 1E-18L}, // the degree sign changes nothing in degrees
        {"intr((0,0),5,(8,0),5)", true, 4, 3, 1E-15L},
    });
    Options.AngleMode = 1;
    CheckAll({{"cos(60°)", true, 0.5L, 0, 1E-18L}});
    Options.LogMode = 1;
    CheckAll({{"log(100)", true, 2, 0, 1E-18L}});
    Options.LogMode = 2;
    CheckAll({{"log(100)", true, std::log(100.0L), 0, 1E-18L}});
}

TEST_F(FormulaBuiltinsTest, ComplexMode)
{
    Options.ComplexMode = 1;
    CheckAll({
        {"Sqrt(-4)", false}, // only with negative roots allowed
        {"ln(-1)", true, 0, Pi, 1E-18L},
        {"i·i", true, -1, 0, 1E-18L},
        {"(1,2)·(3,4)", true, -5, 10},
        {"(1,1)^2", true, 0, 2, 1E-18L},
        {"conj((1,2))", true, 1, -2},
        {"P.y", true, 2},
    });
    Options.AllowSqrtN = 1;
    CheckAll({{"Sqrt(-4)", true, 0, 2}});
}

TEST_F(FormulaBuiltinsTest, NumberFieldsAcceptFormulas)
{
    platform::RecordingMessageSink sink;
    platform::ScopedMessageSink scope(sink);
    QString text = QStringLiteral("2Pi");
    long double x = 1.0L;
    EXPECT_TRUE(ParseNumberText(text, x, true));
    EXPECT_EQ(x, 2 * Pi);
    EXPECT_EQ(text, QStringLiteral("6.28318530718"));

    text = QStringLiteral("x+");
    EXPECT_FALSE(ParseNumberText(text, x, true));
    EXPECT_EQ(x, 2 * Pi);
    EXPECT_EQ(text, QStringLiteral("6.28318530718"));
    ASSERT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(sink.last().text, QStringLiteral("Tipo numérico inválido"));
    text = QStringLiteral("x+");
    EXPECT_FALSE(ParseNumberText(text, x, false));
    EXPECT_EQ(sink.messages().size(), 1u);

    text = QStringLiteral("=2.5");
    EXPECT_TRUE(ParseNumberText(text, x, true));
    EXPECT_EQ(x, 2.5L);
    EXPECT_EQ(text, QStringLiteral("=2.5"));

    UseCommaLocale();
    text = QStringLiteral("=2,5");
    EXPECT_TRUE(ParseNumberText(text, x, true));
    EXPECT_EQ(x, 2.5L);
    EXPECT_EQ(text, QStringLiteral("=2,5"));
    text = QStringLiteral("max(1,5;2)");
    EXPECT_TRUE(ParseNumberText(text, x, true));
    EXPECT_EQ(text, QStringLiteral("2"));
}

} // namespace
