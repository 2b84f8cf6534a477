#include "engine/BuiltinTable.h"

#include "engine/TokenTable.h"
#include "model/BuiltinsElementary.h"
#include "model/BuiltinsGeometry.h"
#include "model/BuiltinsNumeric.h"
#include "model/BuiltinsOperators.h"

#include <utility>

TBuiltinTable BuiltinTable;

namespace {

void FillUnary(TBuiltinTable& table, const TNamedTokens& t)
{
    const std::pair<TTokenCode, TUnaryRoutine> entries[] = {
        {t.Sin, ValueSin},         {t.Cos, ValueCos},       {t.Tan, ValueTan},
        {t.Asin, ValueArcSin},     {t.Acos, ValueArcCos},   {t.Atan, ValueArcTan},
        {t.Cosh, ValueCosh},       {t.Sinh, ValueSinh},     {t.Tanh, ValueTanh},
        {t.Exp, ValueExp},         {t.Ln, ValueLn},         {t.Log, ValueLog10},
        {t.Sign, ValueSign},       {t.Unit, ValueSign},     {t.Abs, ValueAbs},
        {t.Int, ValueInt},         {t.Round, ValueRound},   {t.Frc, ValueFrc},
        {t.Rnd, ValueRnd},         {t.Sqrt, ValueSqrt},     {t.Cbrt, ValueCbrt},
        {t.Factorial, ValueFactorial}, {t.Gamma, ValueGamma}, {t.Degree, ValueDegToRad},
        {t.Underscore, ValueNegate}, {t.Not, ValueNot},     {t.Area, ValueArea},
        {t.Roll, ValueRoll},       {t.Conj, ValueConj},     {t.DotX, ValueX},
        {t.DotY, ValueY},          {t.Pressed, ValuePressed},
    };
    for (const auto& [code, routine] : entries)
        table.Unary[code] = routine;
}

void FillBinary(TBuiltinTable& table, const TNamedTokens& t)
{
    const std::pair<TTokenCode, TBinaryRoutine> entries[] = {
        {t.Plus, ValueAddCore},
        {t.Minus, ValueSubtract},
        {t.Cross, ValueScalarProduct},
        {t.Dot, ValueMultiply},
        {t.Divide, ValueDivide},
        {t.Power, ValuePower},
        // "%" is the power read from the right: a % b = b ^ a.
        {t.Percent, [](const TValue& l, const TValue& r) { return ValuePower(r, l); }},
        {t.Less, ValueLess},
        {t.LessEqual, ValueLessEq},
        {t.Greater, ValueGreater},
        {t.GreaterEqual, ValueGreaterEq},
        {t.Equal, ValueEqual},
        {t.NotEqual, ValueNotEqual},
        {t.And, ValueAnd},
        {t.Or, ValueOr},
        {t.Mod, ValueMod},
        {t.NCr, ValueNCr},
        {t.Beta, ValueBeta},
        {t.LogBase, ValueLogBase},
        {t.Gcd, ValueGcd},
        {t.Lcm, ValueLcm},
        {t.CPS, ValueMakePoint},
        // "VEC"(P, Q), written PQ, is the vector from P to Q.
        {t.VEC, [](const TValue& l, const TValue& r) { return ValueSubtract(r, l); }},
        {t.Cells, FuncCells},
        {t.CellsP, FuncCellsP},
    };
    for (const auto& [code, routine] : entries)
        table.Binary[code] = routine;
}

void FillMulti(TBuiltinTable& table, const TNamedTokens& t)
{
    const std::pair<TTokenCode, TMultiRoutine> entries[] = {
        {t.Max, FuncMax},       {t.Min, FuncMin},       {t.Len, FuncLen},
        {t.Arg, FuncArg},       {t.Det, FuncDet},       {t.Mid, FuncMid},
        {t.Rot, FuncRot},       {t.Intr, FuncIntr},     {t.Perp, FuncPerp},
        {t.PerpL, FuncPerpL},   {t.Ccentr, FuncCcentr}, {t.Icentr, FuncIcentr},
        {t.Hcentr, FuncHcentr}, {t.Gcentr, FuncGcentr}, {t.Ecentr, FuncEcentr},
        {t.Crad, FuncCrad},     {t.Irad, FuncIrad},     {t.Ptan, FuncPtan},
        {t.Rgb, FuncRgb},       {t.Hsl, FuncHsl},       {t.Solut4, FuncSolut4},
        {t.Proj, FuncProj},     {t.Projz, FuncProjz},   {t.Bezier, FuncBezier},
        // The parameter comes first; the points follow, reversed like the list.
        {t.Polygon,
         [](std::span<const TValue> args) {
             if (args.empty())
                 return ValueUndefined(KindReal);
             return FuncPolygon(args.back(), args.first(args.size() - 1));
         }},
    };
    for (const auto& [code, routine] : entries)
        table.Multi[code] = routine;
}

} // namespace

void InitBuiltinTable()
{
    BuiltinTable = TBuiltinTable{};
    FillUnary(BuiltinTable, TokenCodes);
    FillBinary(BuiltinTable, TokenCodes);
    FillMulti(BuiltinTable, TokenCodes);
}
