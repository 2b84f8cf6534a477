#pragma once

#include "engine/TokenCode.h"
#include "model/CharSet.h"
#include "model/OffsetArray.h"

#include <QHash>
#include <QString>
#include <array>
#include <vector>

// One entry of the vocabulary: the name as typed and a two-character kind,
// a class letter and a letter that tells members of a class apart.
struct TTokenEntry {
    QString Name;
    QString Kind;
    QChar classLetter() const { return Kind.isEmpty() ? QChar() : Kind.at(0); }
};

// Named codes of the single tokens the engine refers to. Filled by looking
// each name up in the vocabulary, so no code is written as a number.
#define KAVIRO_NAMED_TOKENS(X)                                                                     \
    X(Blank, " ", 'z') X(Comma, ",", 'z') X(Sum, "Sum", 'z') X(Intgr, "Intgr", 'z')                \
    X(Cof, "cof", 'z') X(Product, "Product", 'z') X(Send, "Send", 'Z') X(Factorial, "!", 'm')      \
    X(Degree, "°", 'm') X(DotX, ".x", 'm') X(DotY, ".y", 'm') X(DotR, ".r", 'm')                   \
    X(And, "and", 'a') X(Or, "or", 'a') X(GreaterEqual, ">=", 'a') X(LessEqual, "<=", 'a')         \
    X(NotEqual, "<>", 'a') X(Greater, ">", 'a') X(Less, "<", 'a') X(Equal, "=", 'a')               \
    X(Plus, "+", 'a') X(Minus, "-", 'a') X(Cross, "×", 'a') X(Dot, "·", 'a') X(Divide, "/", 'a')   \
    X(Power, "^", 'a') X(Mod, "mod", 'a') X(Percent, "%", 'a') X(Arg, "arg", 'r')                  \
    X(Det, "det", 'r') X(Rot, "rot", 'r') X(Mid, "mid", 'r') X(Max, "max", 'r') X(Min, "min", 'r') \
    X(Polygon, "polygon", 'r') X(Len, "len", 'r') X(Path, "path", 'r') X(Solut4, "solut4", 'r')    \
    X(Projz, "projz", 'r') X(Proj, "proj", 'r') X(Bezier, "bezier", 'r') X(Rgb, "rgb", 'r')        \
    X(Hsl, "hsl", 'r') X(Intr, "intr", 'r') X(PerpL, "perpL", 'r') X(Perp, "perp", 'r')            \
    X(Ccentr, "Ccentr", 'r') X(Icentr, "Icentr", 'r') X(Hcentr, "Hcentr", 'r')                     \
    X(Gcentr, "Gcentr", 'r') X(Ecentr, "Ecentr", 'r') X(Crad, "Crad", 'r') X(Irad, "Irad", 'r')    \
    X(Ptan, "Ptan", 'r') X(NCr, "nCr", 'q') X(PointFunc, "P", 'q') X(CPS, "CPS", 'q')              \
    X(VEC, "VEC", 'q') X(NORM, "NORM", 'q') X(Beta, "Beta", 'q') X(Gcd, "gcd", 'q')                \
    X(Lcm, "lcm", 'q') X(CellsP, "CellsP", 'q') X(Cells, "Cells", 'q') X(Asin, "Asin", 'o')        \
    X(Acos, "Acos", 'o') X(Atan, "Atan", 'o') X(Not, "not", 'o') X(Cosh, "cosh", 'n')              \
    X(Sinh, "sinh", 'n') X(Tanh, "tanh", 'n') X(Conj, "conj", 'n') X(Sin, "sin", 'n')              \
    X(Cos, "cos", 'n') X(Tan, "tan", 'n') X(Sqrt, "Sqrt", 'n') X(Cbrt, "Cbrt", 'n')                \
    X(Log, "log", 'n') X(Ln, "ln", 'n') X(Underscore, "_", 'n') X(Exp, "exp", 'n')                 \
    X(Abs, "abs", 'n') X(Int, "int", 'n') X(Round, "round", 'n') X(Frc, "frc", 'n')                \
    X(Sign, "sign", 'n') X(Unit, "unit", 'n') X(Rnd, "rnd", 'n') X(Gamma, "Gamma", 'n')            \
    X(Stepsize, "Stepsize", 'n') X(Area, "area", 'n') X(Roll, "roll", 'n')                         \
    X(Pressed, "Pressed", 'n') X(LogBase, "log", 'q') X(Sol, "sol", 'z') X(VarW, "w", 'k')         \
    X(VarZ, "z", 'k') X(VarX, "x", 'k') X(VarY, "y", 'k') X(ParamA, "a", 'k') X(Theta, "@", 'k')  \
    X(ParamK, "k", 'k') X(Pi, "Pi", 'k') X(E, "e", 'k') X(Radius, "r", 'k') X(SZero, "SZERO", 'k') \
    X(Imaginary, "i", 'k') X(MouseIs, "MouseIs", 'k') X(DoublePrime, "''", 'g')                    \
    X(Prime, "'", 'g') X(AxisX, "X", 'p') X(AxisY, "Y", 'p') X(PointO, "O", 'p')                   \
    X(OpenParen, "(", 'c') X(CloseParen, ")", 'c') X(OpenBracket, "[", 'c')                        \
    X(CloseBracket, "]", 'c') X(DecimalPoint, ".", 'b') X(Error, "error", '!') X(Digit0, "0", 'b')

struct TNamedTokens {
#define KAVIRO_DECLARE_TOKEN(field, name, cls) TTokenCode field = 0;
    KAVIRO_NAMED_TOKENS(KAVIRO_DECLARE_TOKEN)
#undef KAVIRO_DECLARE_TOKEN
};

// The vocabulary, its token classes and the tables that map document slots
// to token codes and back. Built by InitTokenTables, read-only afterwards.
struct TTokenVocabulary {
    std::array<TTokenEntry, 1001> TokenTable;

    TWideCharSet ConstantTokens;
    TWideCharSet GraphTokens;
    TWideCharSet BinaryOperatorTokens;
    TWideCharSet VariableTokens;
    TWideCharSet ParameterTokens;
    TWideCharSet PointAndAxisTokens;
    TWideCharSet PointTokenClass;
    TWideCharSet FunctionNameTokens;
    TWideCharSet OneArgumentTokens;
    TWideCharSet PlainFunctionTokens;
    TWideCharSet TwoArgumentTokens;
    TWideCharSet MultiArgumentTokens;
    TWideCharSet BinderTokens;
    TWideCharSet PostfixTokens;
    TWideCharSet UserFunctionTokenClass;
    TWideCharSet PrimeTokens;
    TWideCharSet UpperUserFunctionTokens;
    TWideCharSet InverseTrigTokens;
    TWideCharSet DigitTokens;
    TWideCharSet TrigTokens;
    TWideCharSet LogicCompareTokens;
    TWideCharSet AndOrTokens;
    TWideCharSet RelationNameTokens;

    TOffsetArray<TTokenCode, 1, 14> ParamTokens;
    TOffsetArray<TTokenCode, 1, 20> FunctionTokens;
    TOffsetArray<TTokenCode, 1, 9> RelationTokens;
    TOffsetArray<TTokenCode, 1, 24> PointTokens;
    TOffsetArray<TTokenCode, 1, 8> UserFunctionTokens;
    TOffsetArray<TTokenCode, -1, 22> ConstTokens;
    // Codes of the entries whose name starts with a given character, in
    // table order, so the scanner only tries names that can match.
    QHash<char16_t, std::vector<TTokenCode>> EntriesByFirstChar;
    // Slot of a graph or relation code; 0 for any other code.
    std::array<int, 1001> FunctionIndexOfToken{};
    std::array<int, 1001> RelationIndexOfToken{};
};

extern TTokenVocabulary Vocabulary;
extern TNamedTokens TokenCodes;

// Builds the vocabulary, renaming the decimal point and the argument comma to
// the document's separators. Safe to call again after the separators change.
void InitTokenTables();

// Code 1..206 of the first entry named exactly `name`, or 0.
TTokenCode FindTokenByName(QStringView name);
// Parameter slot 1..14 of a parameter token.
int ParamIndexOfToken(TTokenCode code);
// The names of the codes joined; a code with no name shows as U+FFFD.
QString TokensToText(QStringView tokens);
// The same text with every constant code shown as "0"; shown by the
// installed TTokenDumpViewer (the calculator, when it exists) and returned.
QString DumpTokens(QStringView tokens);
