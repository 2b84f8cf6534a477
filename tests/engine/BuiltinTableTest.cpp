#include "engine/BuiltinTable.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsElementary.h"
#include "model/BuiltinsGeometry.h"
#include "model/BuiltinsNumeric.h"
#include "model/BuiltinsOperators.h"
#include "tests/engine/EngineTest.h"
#include "tests/model/BuiltinsTest.h"

#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using namespace testvalues;

using BuiltinTableTest = EngineTest;

TEST_F(BuiltinTableTest, OneArgumentTokensReachTheirRoutines)
{
    const TNamedTokens& t = TokenCodes;
    const std::pair<TTokenCode, TUnaryRoutine> expected[] = {
        {t.Sin, ValueSin},     {t.Cos, ValueCos},       {t.Tan, ValueTan},       {t.Asin, ValueArcSin},
        {t.Acos, ValueArcCos}, {t.Atan, ValueArcTan},   {t.Cosh, ValueCosh},     {t.Sinh, ValueSinh},
        {t.Tanh, ValueTanh},   {t.Exp, ValueExp},       {t.Ln, ValueLn},         {t.Log, ValueLog10},
        {t.Sign, ValueSign},   {t.Unit, ValueSign},     {t.Abs, ValueAbs},       {t.Int, ValueInt},
        {t.Round, ValueRound}, {t.Frc, ValueFrc},       {t.Rnd, ValueRnd},       {t.Sqrt, ValueSqrt},
        {t.Cbrt, ValueCbrt},   {t.Factorial, ValueFactorial}, {t.Gamma, ValueGamma},
        {t.Degree, ValueDegToRad}, {t.Underscore, ValueNegate}, {t.Not, ValueNot}, {t.Area, ValueArea},
        {t.Roll, ValueRoll},   {t.Conj, ValueConj},     {t.DotX, ValueX},        {t.DotY, ValueY},
        {t.Pressed, ValuePressed},
    };
    for (const auto& [code, routine] : expected)
        EXPECT_EQ(BuiltinTable.Unary[code], routine) << Vocabulary.TokenTable[code].Name.toStdString();
}

TEST_F(BuiltinTableTest, TwoArgumentTokensReachTheirRoutines)
{
    const TNamedTokens& t = TokenCodes;
    const std::pair<TTokenCode, TBinaryRoutine> expected[] = {
        {t.Plus, ValueAddCore},     {t.Minus, ValueSubtract},     {t.Cross, ValueScalarProduct},
        {t.Dot, ValueMultiply},     {t.Divide, ValueDivide},      {t.Power, ValuePower},
        {t.Less, ValueLess},        {t.LessEqual, ValueLessEq},   {t.Greater, ValueGreater},
        {t.GreaterEqual, ValueGreaterEq}, {t.Equal, ValueEqual},  {t.NotEqual, ValueNotEqual},
        {t.And, ValueAnd},          {t.Or, ValueOr},              {t.Mod, ValueMod},
        {t.NCr, ValueNCr},          {t.Beta, ValueBeta},          {t.LogBase, ValueLogBase},
        {t.Gcd, ValueGcd},          {t.Lcm, ValueLcm},            {t.CPS, ValueMakePoint},
        {t.Cells, FuncCells},       {t.CellsP, FuncCellsP},
    };
    for (const auto& [code, routine] : expected)
        EXPECT_EQ(BuiltinTable.Binary[code], routine) << Vocabulary.TokenTable[code].Name.toStdString();
}

TEST_F(BuiltinTableTest, ListTokensReachTheirRoutines)
{
    const TNamedTokens& t = TokenCodes;
    const std::pair<TTokenCode, TMultiRoutine> expected[] = {
        {t.Max, FuncMax},       {t.Min, FuncMin},       {t.Len, FuncLen},       {t.Arg, FuncArg},
        {t.Det, FuncDet},       {t.Mid, FuncMid},       {t.Rot, FuncRot},       {t.Intr, FuncIntr},
        {t.Perp, FuncPerp},     {t.PerpL, FuncPerpL},   {t.Ccentr, FuncCcentr}, {t.Icentr, FuncIcentr},
        {t.Hcentr, FuncHcentr}, {t.Gcentr, FuncGcentr}, {t.Ecentr, FuncEcentr}, {t.Crad, FuncCrad},
        {t.Irad, FuncIrad},     {t.Ptan, FuncPtan},     {t.Rgb, FuncRgb},       {t.Hsl, FuncHsl},
        {t.Solut4, FuncSolut4}, {t.Proj, FuncProj},     {t.Projz, FuncProjz},   {t.Bezier, FuncBezier},
    };
    for (const auto& [code, routine] : expected)
        EXPECT_EQ(BuiltinTable.Multi[code], routine) << Vocabulary.TokenTable[code].Name.toStdString();
}

TEST_F(BuiltinTableTest, PercentIsThePowerWithTheOperandsExchanged)
{
    const TBinaryRoutine percent = BuiltinTable.Binary[TokenCodes.Percent];
    ASSERT_NE(percent, nullptr);
    EXPECT_TRUE(IsReal(percent(Real(2.0L), Real(3.0L)), 9.0L));
    EXPECT_TRUE(IsReal(percent(Real(3.0L), Real(2.0L)), 8.0L));
}

TEST_F(BuiltinTableTest, VecIsTheSecondPointMinusTheFirst)
{
    const TBinaryRoutine vec = BuiltinTable.Binary[TokenCodes.VEC];
    ASSERT_NE(vec, nullptr);
    EXPECT_TRUE(IsPair(vec(Pair(1.0L, 2.0L), Pair(4.0L, 7.0L)), 3.0L, 5.0L));
}

TEST_F(BuiltinTableTest, PolygonTakesTheParameterFromTheEndOfTheList)
{
    const TMultiRoutine polygon = BuiltinTable.Multi[TokenCodes.Polygon];
    ASSERT_NE(polygon, nullptr);
    const auto square = Args({Real(-0.5L), Pair(0.0L, 0.0L), Pair(1.0L, 0.0L), Pair(1.0L, 1.0L), Pair(0.0L, 1.0L)});
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
