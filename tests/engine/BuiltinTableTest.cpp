// Every built-in reached through a formula: the evaluator finds each token's
// routine in the dispatch table and hands it its operands in the right order.
#include "engine/BuiltinTable.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/TokenTable.h"
#include "tests/engine/EngineTest.h"
#include "tests/model/BuiltinsTest.h"

#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr long double Sqrt2 = std::numbers::sqrt2_v<long double>;

using BuiltinTableTest = EngineTest;

struct Case {
    const char* text;
    bool defined;
    long double x = 0.0L;
    long double y = 0.0L;
    bool pair = false;
};

// Within a few units in the last place of extended precision.
bool Near(long double a, long double b)
{
    return std::fabs(a - b) <= 4.0L * std::numeric_limits<long double>::epsilon() * std::fmax(1.0L, std::fabs(b));
}

void Check(const Case& c)
{
    TKavirofunction f = BlankFunction;
    f.Text = QString::fromUtf8(c.text);
    ASSERT_TRUE(PrepareExpression(f, ModePlain)) << c.text;
    const TValue v = EvaluateExpression(f, ValueReal(0.0L));
    ASSERT_EQ(v.Defined != 0, c.defined) << c.text;
    if (!c.defined)
        return;
    EXPECT_EQ(v.Kind, c.pair ? KindPair : KindReal) << c.text;
    EXPECT_TRUE(Near(v.X, c.x)) << c.text << ": " << static_cast<double>(v.X);
    if (c.pair) {
        EXPECT_TRUE(Near(v.Y, c.y)) << c.text << ": " << static_cast<double>(v.Y);
    }
}

Case Pair(const char* text, long double x, long double y)
{
    return {text, true, x, y, true};
}

TEST_F(BuiltinTableTest, OneArgumentFunctions)
{
    const Case cases[] = {
        {"sin(0.5)", true, std::sin(0.5L)},
        {"cos(0.5)", true, std::cos(0.5L)},
        {"tan(0.5)", true, std::tan(0.5L)},
        {"Asin(0.5)", true, std::asin(0.5L)},
        {"Acos(0.5)", true, std::acos(0.5L)},
        {"Atan(0.5)", true, std::atan(0.5L)},
        {"sinh(0.5)", true, std::sinh(0.5L)},
        {"cosh(0.5)", true, std::cosh(0.5L)},
        {"tanh(0.5)", true, std::tanh(0.5L)},
        {"exp(0.5)", true, std::exp(0.5L)},
        {"ln(0.5)", true, std::log(0.5L)},
        {"log(100)", true, std::log(100.0L)}, // the natural logarithm in the default log mode
        {"sign(-3)", true, -1.0L},
        {"unit(-3)", true, -1.0L},
        {"abs(-3)", true, 3.0L},
        {"int(-2.5)", true, -3.0L},
        {"frc(-2.75)", true, 0.25L},
        {"Sqrt(2)", true, Sqrt2},
        {"Cbrt(-8)", true, -2.0L},
        {"5!", true, 120.0L},
        {"180°", true, Pi},
        {"-3", true, -3.0L},
        {"not(2<1)", true, 1.0L},
        {"not(1<2)", false},
        {"(3,4).x", true, 3.0L},
        {"(3,4).y", true, 4.0L},
        Pair("conj((1,2))", 1.0L, -2.0L),
    };
    for (const Case& c : cases)
        Check(c);
}

TEST_F(BuiltinTableTest, OperatorsTakeTheirOperandsAsWritten)
{
    const Case cases[] = {
        {"7+2", true, 9.0L},
        {"7-2", true, 5.0L},
        {"7·2", true, 14.0L},
        {"7/2", true, 3.5L},
        {"2^10", true, 1024.0L},
        {"3 % 2", true, 8.0L}, // the power with the operands exchanged
        {"7 mod 3", true, 1.0L},
        {"2>1", true, 1.0L},
        {"2>=2", true, 1.0L},
        {"1=1", true, 1.0L},
        {"1<=0", false},
        {"1<>1", false},
        {"2<1", false},
        {"1<2 and 2<3", true, 1.0L},
        {"1<2 and 3<2", false},
        {"3<2 or 1<2", true, 1.0L},
        {"3<2 or 4<2", false},
        {"nCr(5,2)", true, 10.0L},
        {"log(2,8)", true, 3.0L},
        {"gcd(12,18)", true, 6.0L},
        {"lcm(4,6)", true, 12.0L},
        Pair("(1,2)", 1.0L, 2.0L),
        Pair("(1,2)-(3,5)", -2.0L, -3.0L),
    };
    for (const Case& c : cases)
        Check(c);
}

// The triangle (0,0), (2,0), (0,2) and its centres and radii.
TEST_F(BuiltinTableTest, ListFunctionsTakeTheirArgumentsInOrder)
{
    const Case cases[] = {
        {"max(1,5,3)", true, 5.0L},
        {"min(4,2,3)", true, 2.0L},
        {"len((3,4))", true, 5.0L},
        {"arg((0,1))", true, Pi / 2},
        {"det((1,2),(3,4))", true, -2.0L},
        Pair("mid((0,0),(2,4))", 1.0L, 2.0L),
        Pair("rot((1,0),Pi/2)", 0.0L, 1.0L),
        Pair("intr((0,0),(1,1),(0,1),(1,0))", 0.5L, 0.5L),
        Pair("perp((0,0),(2,0),(1,1))", 1.0L, 1.0L),
        {"perpL((0,0),(2,0),(1,1))", true, Sqrt2},
        Pair("Ccentr((0,0),(2,0),(0,2))", 1.0L, 1.0L),
        {"Crad((0,0),(2,0),(0,2))", true, Sqrt2},
        Pair("Icentr((0,0),(2,0),(0,2))", 2.0L - Sqrt2, 2.0L - Sqrt2),
        {"Irad((0,0),(2,0),(0,2))", true, 2.0L - Sqrt2},
        Pair("Hcentr((0,0),(2,0),(0,2))", 0.0L, 0.0L),
        Pair("Gcentr((0,0),(2,0),(0,2))", 2.0L / 3.0L, 2.0L / 3.0L),
        Pair("Ecentr((0,0),(2,0),(0,2))", 2.0L + Sqrt2, 2.0L + Sqrt2),
        {"hsl(0,1,0.5)", true, 255.0L}, // pure red, 0x0000FF
        {"solut4(1,0,-1,0,0)", true, -1.0L},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST_F(BuiltinTableTest, VecIsTheSecondPointMinusTheFirst)
{
    using namespace testvalues;
    const TBinaryRoutine vec = BuiltinTable.Binary[TokenCodes.VEC];
    ASSERT_NE(vec, nullptr);
    EXPECT_TRUE(IsPair(vec(testvalues::Pair(1.0L, 2.0L), testvalues::Pair(4.0L, 7.0L)), 3.0L, 5.0L));
}

TEST_F(BuiltinTableTest, PolygonTakesTheParameterFromTheEndOfTheList)
{
    using namespace testvalues;
    const TMultiRoutine polygon = BuiltinTable.Multi[TokenCodes.Polygon];
    ASSERT_NE(polygon, nullptr);
    const auto square = Args({Real(-0.5L), testvalues::Pair(0.0L, 0.0L), testvalues::Pair(1.0L, 0.0L),
                              testvalues::Pair(1.0L, 1.0L), testvalues::Pair(0.0L, 1.0L)});
    EXPECT_TRUE(IsPair(polygon(square), 0.0L, 0.5L));
    EXPECT_TRUE(IsUndefined(polygon({})));
}

TEST_F(BuiltinTableTest, EveryBuiltinTokenHasARoutineExceptThoseOfTheEvaluator)
{
    const TNamedTokens& t = TokenCodes;
    // Handled by the evaluator itself, or rewritten away by the compiler.
    const std::set<int> unaryExceptions = {t.Stepsize, t.DotR};
    const std::set<int> binaryExceptions = {t.PointFunc, t.NORM};
    const std::set<int> multiExceptions = {t.Path};
    for (int code = 0; code <= 1000; ++code) {
        const QChar cls = code <= VocabularySize ? Vocabulary.TokenTable[code].classLetter() : QChar();
        const bool unary = (cls == u'n' || cls == u'o' || cls == u'm') && !unaryExceptions.contains(code);
        const bool binary = (cls == u'a' || cls == u'q') && !binaryExceptions.contains(code);
        const bool multi = cls == u'r' && !multiExceptions.contains(code);
        EXPECT_EQ(BuiltinTable.Unary[code] != nullptr, unary) << "code " << code;
        EXPECT_EQ(BuiltinTable.Binary[code] != nullptr, binary) << "code " << code;
        EXPECT_EQ(BuiltinTable.Multi[code] != nullptr, multi) << "code " << code;
    }
}

} // namespace
