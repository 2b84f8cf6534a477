#include "engine/Compiler.h"

#include "engine/TokenCode.h"
#include "engine/TokenEdit.h"
#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Numeric.h"
#include "model/Options.h"

#include <QStringList>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

TCompileSettings CompileSettings;

namespace {

namespace Msg {
const QString NotTerminated = QStringLiteral("Inserção não está terminada.");
const QString BadBegin = QStringLiteral("Início da expressão é inválido.");
const QString BadEnd = QStringLiteral("Fim da expressão é inválido.");
const QString MissingClose = QStringLiteral("Insuficiente \")\"");
const QString ExtraClose = QStringLiteral("excessivo \")\"");
const QString Unmatched = QStringLiteral("Parentese não corresponde.");
const QString OperatorPosition = QStringLiteral("A posição da operação (+,-,*,/,^) é ilegal.");
const QString PostfixPosition = QStringLiteral("A posição da função(!,°.x,.y,.r) é ilegal.");
const QString NumeralPosition = QStringLiteral("Numeral em posição ilegal");
const QString LiteralTooLong = QStringLiteral("Decimais longos demais(deve ser abaixo de 20)");
const QString BadDecimalPoint = QStringLiteral("A posição de ponto decimal é ilegal.");
const QString BadVariable = QStringLiteral(": Parâmetro Inválido");
const QString TooManyConstants = QStringLiteral("Constantes demais");
const QString TooManyArguments = QStringLiteral("O argumento da função ou operação é excessivo.");
const QString TooFewArguments = QStringLiteral("O argumento da função ou operação é insuficiente.");
} // namespace Msg

using Kind = TCompileErrorKind;

// A fault found by a check, with what it takes to find it in the text.
struct Fault {
    Fault() = default;
    Fault(Kind k, QString text, QString number = {}, TTokenCode binder = 0)
        : kind(k)
        , message(std::move(text))
        , literal(std::move(number))
        , token(binder)
    {
    }
    Kind kind = Kind::None;
    QString message;
    QString literal;      // NumeralPosition, Literal: the number as written
    TTokenCode token = 0; // BinderVariable, BinderArguments: the binder
    explicit operator bool() const { return kind != Kind::None; }
};

TTokenCode Const(int slot)
{
    return ConstantCode(slot);
}

// The token classes the compiler combines, built once.
struct CompilerSets {
    TWideCharSet binary;      // binary operators
    TWideCharSet postfix;
    TWideCharSet functionName;
    TWideCharSet functionOrBinder;
    TWideCharSet comparisons;  // the six comparisons, without and/or
    TWideCharSet signContext;  // "(", argument comma, "[" and comparisons/logic
    TWideCharSet negContext;   // "(", argument comma and comparisons/logic
    TWideCharSet afterMinus;   // ")" and the operators a negation cannot precede
    TWideCharSet objects;      // object letters and axes
    TWideCharSet selectors;    // .x .y .r
    TWideCharSet operandEnd;   // tokens that end an operand
    TWideCharSet operandStart; // tokens that start one
    TWideCharSet numeralBefore; // what a constant may not follow
    TWideCharSet pushes;       // tokens that push one value
    TWideCharSet unary;        // pop one, push one
    TWideCharSet binaryLike;   // pop two, push one
    TWideCharSet postfixOperands; // operand tokens of ToPostfix
};

const CompilerSets& Sets()
{
    static CompilerSets k;
    if (TokenCodes.Sin != 0 && CharSetHas(k.functionName, TokenCodes.Sin))
        return k;
    const TTokenVocabulary& v = Vocabulary;
    const TNamedTokens& t = TokenCodes;
    k = CompilerSets{};
    k.binary = v.BinaryOperatorTokens;
    k.postfix = v.PostfixTokens;
    k.functionName = v.FunctionNameTokens;
    k.functionOrBinder = v.FunctionNameTokens | v.BinderTokens;
    k.comparisons = CharSetDifference(v.LogicCompareTokens, v.AndOrTokens);
    k.negContext = v.LogicCompareTokens | SetOf({t.OpenParen, t.Comma});
    k.signContext = k.negContext | SetOf({t.OpenBracket});
    k.afterMinus = v.BinaryOperatorTokens | v.PostfixTokens | SetOf({t.CloseParen});
    k.objects = v.PointAndAxisTokens;
    k.selectors = SetOf({t.DotX, t.DotY, t.DotR});
    k.operandEnd = v.VariableTokens | v.GraphTokens | v.ConstantTokens | v.PostfixTokens | SetOf({t.CloseParen});
    k.operandStart = v.VariableTokens | v.PointAndAxisTokens | v.GraphTokens | v.FunctionNameTokens | SetOf({t.OpenParen});
    k.numeralBefore = v.VariableTokens | v.PointAndAxisTokens | v.GraphTokens | v.PostfixTokens | v.ConstantTokens
                      | SetOf({t.CloseParen});
    k.pushes = v.VariableTokens | v.GraphTokens | v.PointAndAxisTokens | v.RelationNameTokens;
    k.unary = v.OneArgumentTokens | v.InverseTrigTokens | v.PostfixTokens;
    k.binaryLike = v.BinaryOperatorTokens | v.TwoArgumentTokens;
    k.postfixOperands = v.VariableTokens | v.ConstantTokens | v.PointAndAxisTokens | v.GraphTokens;
    return k;
}

int FaultToken(const Fault& fault, QStringView norm);

// The state of one compilation.
struct Compilation {
    TTokenString s;
    TConstList consts;
    TConstValues values;
    std::uint8_t lastConst = 0;
    int mode = ModePlain;
    QStringView norm; // the tokens as typed, to tell where a fault lies
    TCompileOutcome outcome;

    bool fail(const Fault& fault, bool always = false)
    {
        outcome.Kind = fault.kind;
        outcome.Message = fault.message;
        outcome.ShownAlways = always;
        const int token = FaultToken(fault, norm);
        outcome.Position = token == 0 ? 0 : static_cast<int>(TokensToText(norm.left(token - 1)).size()) + 1;
        return false;
    }
};

// Step: unary signs become binary ones with a zero left operand.
void RewriteSigns(TokenEdit& s, const CompilerSets& k)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = s.len(); i >= 2; --i) {
        if (s.at(i) == t.Blank && s.at(i - 1) == t.Blank)
            s.remove(i);
    }
    for (int i = s.len() - 1; i >= 1; --i) {
        if (s.at(i) == t.Blank && (s.at(i + 1) == t.Plus || s.at(i + 1) == t.Minus))
            s.remove(i);
    }
    auto signFollows = [&](int i) {
        return s.at(i) == t.Plus || (s.at(i) == t.Minus && !s.in(Vocabulary.DigitTokens, i + 1));
    };
    for (int i = s.len(); i >= 1; --i) {
        if (s.in(k.signContext, i) && signFollows(i + 1))
            s.insert(i + 1, t.SZero);
    }
    if (signFollows(1))
        s.insert(1, t.SZero);
}

// Step: "-" that starts an operand before a number is a negation.
void MarkNegations(TokenEdit& s, const CompilerSets& k)
{
    for (int i = 1; i <= s.len(); ++i) {
        if (s.at(i) != TokenCodes.Minus || s.in(k.afterMinus, i + 1))
            continue;
        if (i == 1 || s.in(k.negContext, i - 1))
            s.set(i, TokenCodes.Underscore);
    }
}

TTokenString Tokens(std::initializer_list<TTokenCode> codes)
{
    return MakeTokenString(codes);
}

// Step: in an object's own formulas x, y, r and X name the object.
void BindOwnObject(TokenEdit& s, int object)
{
    const TNamedTokens& t = TokenCodes;
    const TTokenCode letter = Vocabulary.PointTokens[object];
    for (int i = s.len(); i >= 1; --i) {
        const TTokenCode c = s.at(i);
        if (c == t.Radius) {
            s.remove(i);
            s.insert(i, Tokens({letter, t.DotR}));
        } else if (c == t.VarY) {
            s.remove(i);
            s.insert(i, Tokens({letter, t.DotY}));
        } else if (c == t.AxisX) {
            s.set(i, letter);
        } else if (c == t.VarX) {
            const QStringView before = s.view().left(i - 1);
            const bool bound = InsideOpenBinder(t.Cof, before) || InsideOpenBinder(t.Sol, before)
                               || InsideOpenBinder(t.Intgr, before);
            if (!bound) {
                s.remove(i);
                s.insert(i, Tokens({letter, t.DotX}));
            }
        }
    }
}

// Step: «P.x» becomes the call (P(1, 1)) of the object-component function.
void RewriteObjectComponents(TokenEdit& s, const CompilerSets& k)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = s.len() - 1; i >= 1; --i) {
        if (s.in(k.objects, i) && s.in(k.objects, i + 1)) {
            s.insert(i + 2, t.CloseParen);
            s.insert(i, t.OpenParen);
        }
    }
    for (int i = s.len() - 1; i >= 1; --i) {
        if (!s.in(Vocabulary.PointTokenClass, i) || !s.in(k.selectors, i + 1))
            continue;
        const int object = s.at(i) - Vocabulary.PointTokens[1] + 1;
        const TTokenCode sel = s.at(i + 1);
        const int component = sel == t.DotX ? 1 : sel == t.DotY ? 2 : 3;
        s.remove(i, 2);
        s.insert(i, Tokens({t.OpenParen, t.PointFunc, t.OpenParen, Const(object), t.Comma, Const(component),
                            t.CloseParen, t.CloseParen}));
    }
}

// Step: when the x axis shows θ, the horizontal variable is read as the angle.
void ReadThetaFromAxis(TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = s.len(); i >= 1; --i) {
        if (s.at(i) == t.Theta) {
            s.remove(i);
            s.insert(i, Tokens({t.OpenParen, t.VarX, t.Plus, t.Theta, t.Dot, Const(0), t.CloseParen}));
        }
    }
}

void ReplaceAll(TokenEdit& s, TTokenCode from, TTokenCode to)
{
    for (int i = 1; i <= s.len(); ++i) {
        if (s.at(i) == from)
            s.set(i, to);
    }
}

void StripTrailingBlanks(TTokenString& s)
{
    while (!s.isEmpty() && s.back() == QChar(TokenCodes.Blank))
        s.chop(1);
}

// Step: «a < b < c» means «a < b and b < c».
void SplitChainedComparisons(TokenEdit& s, const CompilerSets& k)
{
    for (int i = 1; i <= s.len(); ++i) {
        if (!s.in(k.comparisons, i))
            continue;
        int depth = 0;
        int next = 0;
        for (int m = i + 1; m <= s.len() && depth >= 0; ++m) {
            depth += BracketDelta(s.at(m));
            if (depth == 0 && s.in(Vocabulary.LogicCompareTokens, m)) {
                next = m;
                break;
            }
        }
        if (next == 0 || !s.in(k.comparisons, next))
            continue;
        const TTokenString operand = s.mid(i + 1, next - 1);
        s.insert(next, operand);
        s.insert(next, TokenCodes.And);
    }
}

// Step: «sin^(2)(x)» is computed as (2) % (sin(x)), the power with exchanged operands.
void RewriteTrigPowers(TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = 1; i <= s.len(); ++i) {
        if (!s.in(Vocabulary.TrigTokens, i) || s.at(i + 1) != t.Power || s.at(i + 2) != t.OpenParen)
            continue;
        const int expEnd = s.closeOf(i + 2);
        if (expEnd > s.len())
            continue;
        const TTokenCode fn = s.at(i);
        TTokenString replacement = s.mid(i + 2, expEnd) + QChar(t.Percent);
        int last = expEnd;
        if (s.at(expEnd + 1) == t.OpenParen && s.closeOf(expEnd + 1) <= s.len()) {
            last = s.closeOf(expEnd + 1);
            replacement += Tokens({t.OpenParen, fn}) + s.mid(expEnd + 1, last) + QChar(t.CloseParen);
        }
        s.remove(i, last - i + 1);
        s.insert(i, replacement);
    }
}

// Step: in relations and user functions r and θ are the polar coordinates of (x, y).
void PolarCoordinates(TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    const bool theta = Options.ThetaMode == 1;
    for (int i = s.len(); i >= 1; --i) {
        const TTokenCode c = s.at(i);
        if (c != t.Radius && !(theta && c == t.Theta))
            continue;
        s.remove(i);
        s.insert(i, Tokens({t.OpenParen, c == t.Radius ? t.Len : t.Arg, t.OpenParen, t.VarX, t.Comma, t.VarY,
                            t.CloseParen, t.CloseParen}));
    }
}

// ----- checks --------------------------------------------------------------

Fault CheckBeginAndEnd(const TokenEdit& s, const CompilerSets& k)
{
    if (s.in(k.binary, 1) || s.in(k.postfix, 1))
        return {Kind::BadBegin, Msg::BadBegin};
    if (s.in(k.binary, s.len()) || s.in(k.functionName, s.len()))
        return {Kind::BadEnd, Msg::BadEnd};
    return {};
}

Fault CheckBrackets(const TokenEdit& s)
{
    int depth = 0;
    bool wentNegative = false;
    for (int i = 1; i <= s.len(); ++i) {
        depth += BracketDelta(s.at(i));
        wentNegative = wentNegative || depth < 0;
    }
    if (depth > 0)
        return {Kind::Brackets, Msg::MissingClose};
    if (depth < 0)
        return {Kind::Brackets, Msg::ExtraClose};
    if (wentNegative)
        return {Kind::Brackets, Msg::Unmatched};
    return {};
}

// The token at i stands after "(", an operator or a function name: where an operand should be.
bool FollowsNoOperand(QStringView s, int i, const CompilerSets& k)
{
    const TTokenCode before = TokenAt(s, i - 1);
    return before == TokenCodes.OpenParen || CharSetHas(k.binary, before) || CharSetHas(k.functionName, before);
}

bool MisplacedOperator(QStringView s, int i, const CompilerSets& k)
{
    return CharSetHas(k.binary, TokenAt(s, i)) && FollowsNoOperand(s, i, k);
}

// ")" or a postfix operator right after a binary operator.
bool ClosesAfterOperator(QStringView s, int i, const CompilerSets& k)
{
    const TTokenCode c = TokenAt(s, i);
    return (c == TokenCodes.CloseParen || CharSetHas(k.postfix, c)) && CharSetHas(k.binary, TokenAt(s, i - 1));
}

bool MisplacedPostfix(QStringView s, int i, const CompilerSets& k)
{
    return CharSetHas(k.postfix, TokenAt(s, i)) && FollowsNoOperand(s, i, k);
}

Fault CheckPositions(const Compilation& c, const TokenEdit& s, const CompilerSets& k)
{
    for (int i = 2; i <= s.len(); ++i) {
        if (MisplacedOperator(s.view(), i, k) || ClosesAfterOperator(s.view(), i, k))
            return {Kind::OperatorPosition, Msg::OperatorPosition};
    }
    for (int i = 2; i <= s.len(); ++i) {
        if (MisplacedPostfix(s.view(), i, k))
            return {Kind::PostfixPosition, Msg::PostfixPosition};
    }
    for (int i = 2; i <= s.len(); ++i) {
        if (IsConstantCode(s.at(i)) && s.in(k.numeralBefore, i - 1))
            return {Kind::NumeralPosition, Msg::NumeralPosition, c.consts[ConstantSlot(s.at(i))]};
    }
    return {};
}

// Every literal is examined; the last fault found is the one reported.
Fault CheckLiterals(Compilation& c)
{
    Fault fault;
    for (int slot = 1; slot <= c.lastConst; ++slot) {
        QString& text = c.consts[slot];
        if (text.size() >= 21)
            fault = {Kind::Literal, Msg::LiteralTooLong, text};
        if (text.count(Separators.DecimalChar) > 1)
            fault = {Kind::Literal, Msg::BadDecimalPoint, text};
        if (text.startsWith(Separators.DecimalChar))
            text.prepend(u'0');
    }
    return fault;
}

// Slot of the parameter table a bound variable varies, or false when the
// token has none (only x, y and the 14 parameters do).
bool ParameterSlotOf(TTokenCode var, int& slot)
{
    if (var == TokenCodes.VarX)
        slot = -1;
    else if (var == TokenCodes.VarY)
        slot = 0;
    else if (CharSetHas(Vocabulary.ParameterTokens, var))
        slot = ParamIndexOfToken(var);
    else
        return false;
    return true;
}

bool TakesBoundVariable(TTokenCode c)
{
    const TNamedTokens& t = TokenCodes;
    return c == t.Stepsize || c == t.Sum || c == t.Product || c == t.Intgr;
}

// The binder at i is followed by "(", a variable that has a parameter slot,
// and ")" (Stepsize) or an argument comma (the others).
bool BoundVariableSlot(QStringView s, int i, int& slot)
{
    const TNamedTokens& t = TokenCodes;
    const TTokenCode closer = TokenAt(s, i) == t.Stepsize ? t.CloseParen : t.Comma;
    const TTokenCode var = TokenAt(s, i + 2);
    return TokenAt(s, i + 1) == t.OpenParen && CharSetHas(Vocabulary.VariableTokens, var)
           && TokenAt(s, i + 3) == closer && ParameterSlotOf(var, slot);
}

// Stepsize(v), Sum(v, ...), Product(v, ...), Intgr(v, ...): the variable
// becomes the constant of its parameter slot.
Fault CheckBinderVariables(TokenEdit& s)
{
    for (int i = 1; i <= s.len(); ++i) {
        const TTokenCode c = s.at(i);
        if (!TakesBoundVariable(c))
            continue;
        int slot = 0;
        if (!BoundVariableSlot(s.view(), i, slot))
            return {Kind::BinderVariable, u'"' + Vocabulary.TokenTable[c].Name + u'"' + Msg::BadVariable, {}, c};
        s.set(i + 2, Const(slot));
    }
    return {};
}

// Step: L op R becomes ((L - (R)) op 0) - 1, negative where the relation holds.
void MakeRelationForm(TokenEdit& s, const CompilerSets& k)
{
    const TNamedTokens& t = TokenCodes;
    int depth = 0;
    int op = 0;
    for (int i = 1; i <= s.len(); ++i) {
        depth += BracketDelta(s.at(i));
        if (depth == 0 && s.in(k.comparisons, i))
            op = i;
    }
    if (op == 0)
        return;
    const TTokenCode comparison = s.at(op);
    TTokenString out = Tokens({t.OpenParen, t.OpenParen}) + s.mid(1, op - 1) + QChar(t.Minus) + QChar(t.OpenParen)
                       + s.mid(op + 1, s.len()) + Tokens({t.CloseParen, t.CloseParen, comparison, Const(0), t.CloseParen,
                                                          t.Minus, Const(1)});
    s.str() = out;
}

// ----- structure rewrites --------------------------------------------------

// Start of the operand that ends at position end: the token itself, or its group.
int OperandStart(const TokenEdit& s, int end)
{
    if (s.at(end) == TokenCodes.CloseParen) {
        const int open = s.openOf(end);
        return open == NoOpenParen ? 1 : open;
    }
    return std::max(end, 1);
}

void EnclosePostfixOperators(TokenEdit& s, const CompilerSets& k)
{
    for (int i = 2; i <= s.len(); ++i) {
        if (!s.in(k.postfix, i))
            continue;
        const int start = OperandStart(s, i - 1);
        s.insert(i + 1, TokenCodes.CloseParen);
        s.insert(start, TokenCodes.OpenParen);
        i += 2;
    }
}

void InsertImplicitProducts(TokenEdit& s, const CompilerSets& k)
{
    for (int i = s.len() - 1; i >= 1; --i) {
        if (s.in(k.operandEnd, i) && s.in(k.operandStart, i + 1))
            s.insert(i + 1, TokenCodes.Dot);
    }
}

// f'(x) is f(1, x): the derivative order (3 for the antiderivative F) comes first.
void RewriteUserFunctionCalls(TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = 1; i <= s.len(); ++i) {
        if (!s.in(Vocabulary.UserFunctionTokenClass, i))
            continue;
        int order = 0;
        if (s.at(i + 1) == t.Prime || s.at(i + 1) == t.DoublePrime) {
            order = s.at(i + 1) == t.Prime ? 1 : 2;
            s.remove(i + 1);
        }
        if (s.in(Vocabulary.UpperUserFunctionTokens, i)) {
            s.set(i, static_cast<TTokenCode>(s.at(i) - 8));
            order = 3;
        }
        if (s.at(i + 1) == t.OpenParen)
            s.insert(i + 2, Tokens({Const(order), t.Comma}));
    }
}

// Top-level argument commas of the group opened at position open.
std::vector<int> TopLevelCommas(const TokenEdit& s, int open, int close)
{
    std::vector<int> commas;
    int depth = 0;
    for (int j = open; j <= close; ++j) {
        depth += BracketDelta(s.at(j));
        if (depth == 1 && s.at(j) == TokenCodes.Comma)
            commas.push_back(j);
    }
    return commas;
}

// sol(a) is sol(1, a) and sol(a, b) is sol(b, a): the solution number first.
void ReorderSolArguments(TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = 1; i <= s.len(); ++i) {
        if (s.at(i) != t.Sol || s.at(i + 1) != t.OpenParen)
            continue;
        const int close = s.closeOf(i + 1);
        if (close > s.len())
            continue;
        const std::vector<int> commas = TopLevelCommas(s, i + 1, close);
        if (commas.empty()) {
            s.insert(i + 2, Tokens({Const(1), t.Comma}));
        } else if (commas.size() == 1) {
            const TTokenString a = s.mid(i + 2, commas[0] - 1);
            const TTokenString b = s.mid(commas[0] + 1, close - 1);
            s.remove(i + 2, close - i - 2);
            s.insert(i + 2, b + QChar(t.Comma) + a);
        }
    }
}

// Function names and binders move from before their argument group to after it.
void MoveFunctionsBehindArguments(TokenEdit& s, const CompilerSets& k)
{
    for (int i = s.len() - 1; i >= 1; --i) {
        if (!s.in(k.functionOrBinder, i) || s.at(i + 1) != TokenCodes.OpenParen)
            continue;
        const int close = s.closeOf(i + 1);
        if (close > s.len())
            continue;
        const TTokenCode fn = s.at(i);
        s.remove(i);
        s.insert(close, fn);
    }
}

void InsertBeforeClose(TokenEdit& s, int close, TTokenCode constant)
{
    s.insert(close, Tokens({TokenCodes.Comma, constant}));
}

// P, Cells and CellsP get their default second argument; multi-argument
// functions their argument count; user functions five arguments.
void CompleteArgumentLists(TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = 2; i <= s.len(); ++i) {
        const TTokenCode c = s.at(i);
        if ((c == t.PointFunc || c == t.Cells || c == t.CellsP) && s.at(i - 1) == t.CloseParen
            && s.argsBefore(i - 1) == 1) {
            InsertBeforeClose(s, i - 1, Const(c == t.PointFunc ? 0 : 1));
            i += 2;
        }
    }
    for (int i = 2; i <= s.len(); ++i) {
        if (s.at(i - 1) != t.CloseParen)
            continue;
        if (s.in(Vocabulary.MultiArgumentTokens, i)) {
            InsertBeforeClose(s, i - 1, Const(std::min(s.argsBefore(i - 1), MaxArgumentCount)));
            i += 2;
        } else if (s.in(Vocabulary.UserFunctionTokenClass, i)) {
            for (int n = s.argsBefore(i - 1); n < 5; ++n) {
                InsertBeforeClose(s, i - 1, Const(0));
                i += 2;
            }
        }
    }
}

// «(a1, …, an) B» becomes «(a1, …, an−1) B (an) Send»: the body runs per step.
bool RestructureBinders(Compilation& c, TokenEdit& s)
{
    const TNamedTokens& t = TokenCodes;
    for (TTokenCode binder : {t.Sum, t.Product, t.Cof, t.Intgr, t.Sol}) {
        const int wanted = (binder == t.Cof || binder == t.Sol) ? 2 : 4;
        for (int i = 1; i <= s.len(); ++i) {
            // A binder already restructured is followed by its body's "(".
            if (s.at(i) != binder || s.at(i + 1) == t.OpenParen)
                continue;
            // A binder written without an argument group has no arguments.
            const int open = s.at(i - 1) == t.CloseParen ? s.openOf(i - 1) : NoOpenParen;
            const int args = open == NoOpenParen ? 0 : s.argsBefore(i - 1);
            if (args != wanted) {
                const QString& name = Vocabulary.TokenTable[binder].Name;
                const QString message = name + (args > wanted ? Msg::TooManyArguments : Msg::TooFewArguments);
                return c.fail({Kind::BinderArguments, message, {}, binder}, true);
            }
            const int lastComma = TopLevelCommas(s, open, i - 1).back();
            s.set(lastComma, t.CloseParen);
            s.set(i, t.Send);
            s.insert(lastComma + 1, Tokens({binder, t.OpenParen}));
        }
    }
    return true;
}

void RemoveBracketsAndCommas(TTokenString& s)
{
    s.remove(QChar(TokenCodes.OpenParen));
    s.remove(QChar(TokenCodes.CloseParen));
    s.remove(QChar(TokenCodes.Comma));
}

// ----- the compilation -------------------------------------------------------

bool RunChecks(Compilation& c, TokenEdit& s, const CompilerSets& k)
{
    for (const Fault& fault : {CheckBeginAndEnd(s, k), CheckBrackets(s), CheckPositions(c, s, k)}) {
        if (fault)
            return c.fail(fault);
    }
    if (const Fault fault = CheckLiterals(c))
        return c.fail(fault);
    if (const Fault fault = CheckBinderVariables(s))
        return c.fail(fault);
    return true;
}

bool Compile(Compilation& c, TKavirofunction& record)
{
    const CompilerSets& k = Sets();
    const TNamedTokens& t = TokenCodes;

    c.norm = record.NormText;
    if (record.NormText.contains(QChar(t.Error)))
        return c.fail({Kind::NotTerminated, Msg::NotTerminated});
    if (c.mode == ModeFunction && record.NormText.size() > 2 && record.NormText[0] == QChar(t.VarY)
        && record.NormText[1] == QChar(t.Equal)) {
        record.NormText.remove(0, 2);
        record.Text.remove(0, 2);
        c.norm = record.NormText;
    }
    c.s = record.NormText;
    TokenEdit s(c.s);

    RewriteSigns(s, k);
    BracketsToAbs(c.s);
    MarkNegations(s, k);
    if (c.mode > 0 && c.mode <= 22)
        BindOwnObject(s, c.mode);
    RewriteObjectComponents(s, k);
    if (CompileSettings.HorizontalAxisLetter != u'x')
        ReadThetaFromAxis(s);

    QString message;
    if (ExtractConstants(c.s, c.consts, c.values, message, c.lastConst))
        return c.fail({Kind::TooManyConstants, message}, true);

    TokenizeExpression(c.s);
    StripTrailingBlanks(c.s);
    ReplaceAll(s, t.NORM, t.Len);
    SplitChainedComparisons(s, k);
    RewriteTrigPowers(s);
    if (c.mode == ModeRelation || c.mode == ModeUserFunction)
        PolarCoordinates(s);

    if (!RunChecks(c, s, k))
        return false;
    if (c.mode == ModeRelation)
        MakeRelationForm(s, k);

    EnclosePostfixOperators(s, k);
    InsertImplicitProducts(s, k);
    RewriteUserFunctionCalls(s);
    ReorderSolArguments(s);
    MoveFunctionsBehindArguments(s, k);
    CompleteArgumentLists(s);
    if (!RestructureBinders(c, s))
        return false;

    const std::initializer_list<TTokenCode> classes[] = {
        {t.Power, t.Percent},
        {t.Cross, t.Dot, t.Divide, t.Mod},
        {t.Plus, t.Minus},
        {t.GreaterEqual, t.LessEqual, t.NotEqual, t.Greater, t.Less, t.Equal},
        {t.And},
        {t.Or},
    };
    for (const auto& ops : classes)
        ToPostfix(c.s, SetOf(ops));
    RemoveBracketsAndCommas(c.s);
    return true;
}

// ----- where a fault lies in the text ------------------------------------------
// The checks run on a rewritten copy of the tokens; each fault is found again
// in the tokens as typed. Positions are 1-based token positions, 0 unknown.

bool IsOpening(TTokenCode c)
{
    return c == TokenCodes.OpenParen || c == TokenCodes.OpenBracket;
}

bool IsClosing(TTokenCode c)
{
    return c == TokenCodes.CloseParen || c == TokenCodes.CloseBracket;
}

int FirstTokenNotBlank(QStringView norm, bool fromEnd)
{
    const int n = static_cast<int>(norm.size());
    for (int j = 0; j < n; ++j) {
        const int i = fromEnd ? n - j : j + 1;
        if (TokenAt(norm, i) != TokenCodes.Blank)
            return i;
    }
    return 0;
}

// The first ")" with nothing to close, else the last "(" left open.
int UnbalancedBracket(QStringView norm)
{
    std::vector<int> open;
    for (int i = 1; i <= norm.size(); ++i) {
        if (IsOpening(TokenAt(norm, i)))
            open.push_back(i);
        else if (IsClosing(TokenAt(norm, i)) && open.empty())
            return i;
        else if (IsClosing(TokenAt(norm, i)))
            open.pop_back();
    }
    return open.empty() ? 0 : open.back();
}

template <typename Predicate>
int FirstTokenWhere(QStringView norm, Predicate misplaced)
{
    for (int i = 2; i <= norm.size(); ++i) {
        if (misplaced(i))
            return i;
    }
    return 0;
}

// The number written as text: the first one that stands right after an
// operand when afterOperand, else the first one.
int LiteralToken(QStringView norm, const QString& text, bool afterOperand)
{
    const CompilerSets& k = Sets();
    int first = 0;
    for (int i = 1; i <= norm.size(); ++i) {
        if (!CharSetHas(Vocabulary.DigitTokens, TokenAt(norm, i)) || CharSetHas(Vocabulary.DigitTokens, TokenAt(norm, i - 1)))
            continue;
        int end = i;
        while (CharSetHas(Vocabulary.DigitTokens, TokenAt(norm, end + 1)))
            ++end;
        if (TokensToText(norm.mid(i - 1, end - i + 1)) != text)
            continue;
        int before = i - 1;
        while (TokenAt(norm, before) == TokenCodes.Blank)
            --before;
        const TTokenCode b = TokenAt(norm, before);
        if (!afterOperand || CharSetHas(k.numeralBefore, b) || CharSetHas(Vocabulary.DigitTokens, b) || IsClosing(b))
            return i;
        first = first == 0 ? i : first;
    }
    return first;
}

// The first use of the binder whose form the check refused.
int BinderToken(QStringView norm, const Fault& fault)
{
    for (int i = 1; i <= norm.size(); ++i) {
        if (TokenAt(norm, i) != fault.token)
            continue;
        if (fault.kind == Kind::BinderVariable) {
            int slot = 0;
            if (!BoundVariableSlot(norm, i, slot))
                return i;
            continue;
        }
        const bool twoArguments = fault.token == TokenCodes.Cof || fault.token == TokenCodes.Sol;
        const int args = TokenAt(norm, i + 1) == TokenCodes.OpenParen ? CountArgs(norm, i + 1, false) : 0;
        if (args != (twoArguments ? 2 : 4))
            return i;
    }
    return 0;
}

int FaultToken(const Fault& fault, QStringView norm)
{
    const CompilerSets& k = Sets();
    const TNamedTokens& t = TokenCodes;
    switch (fault.kind) {
    case Kind::NotTerminated:
        return static_cast<int>(norm.indexOf(QChar(t.Error))) + 1;
    case Kind::BadBegin:
        return FirstTokenNotBlank(norm, false);
    case Kind::BadEnd:
        return FirstTokenNotBlank(norm, true);
    case Kind::Brackets:
        return UnbalancedBracket(norm);
    case Kind::OperatorPosition:
        // A "+" or "-" after "(" or an operator is a sign, not a fault.
        return FirstTokenWhere(norm, [&](int i) {
            const bool sign = TokenAt(norm, i) == t.Plus || TokenAt(norm, i) == t.Minus;
            return (MisplacedOperator(norm, i, k) && !sign) || ClosesAfterOperator(norm, i, k);
        });
    case Kind::PostfixPosition:
        return FirstTokenWhere(norm, [&](int i) { return MisplacedPostfix(norm, i, k); });
    case Kind::NumeralPosition:
    case Kind::Literal:
        return LiteralToken(norm, fault.literal, fault.kind == Kind::NumeralPosition);
    case Kind::BinderVariable:
    case Kind::BinderArguments:
        return BinderToken(norm, fault);
    default:
        return 0;
    }
}

} // namespace

bool ExtractConstants(TTokenString& tokens, TConstList& consts, TConstValues& values, QString& message,
                      std::uint8_t& lastConst)
{
    for (int slot = -1; slot <= 22; ++slot)
        consts[slot] = QString::number(slot);
    int last = 22;
    TTokenString out;
    const int n = static_cast<int>(tokens.size());
    int i = 0;
    while (i < n && last < HighestConstantSlot) {
        if (!CharSetHas(Vocabulary.DigitTokens, tokens[i].unicode())) {
            out += tokens[i++];
            continue;
        }
        QString text;
        while (i < n && CharSetHas(Vocabulary.DigitTokens, tokens[i].unicode()))
            text += Vocabulary.TokenTable[tokens[i++].unicode()].Name;
        int slot = -1;
        while (slot <= last && consts[slot] != text)
            ++slot;
        if (slot > last) {
            slot = ++last;
            consts[slot] = text;
        }
        out += QChar(ConstantCode(slot));
    }
    if (i < n) {
        message = Msg::TooManyConstants;
        return true;
    }
    for (int slot = -1; slot <= HighestConstantSlot; ++slot) {
        int error = 0;
        const long double v = slot <= last ? StrToExtendedChecked(consts[slot], error) : 0.0L;
        values[slot] = (slot <= last && error == 0) ? ValueReal(v) : ValueUndefined(KindReal);
    }
    lastConst = static_cast<std::uint8_t>(last);
    tokens = out;
    return false;
}

void ToPostfix(TTokenString& tokens, const TWideCharSet& operators)
{
    const CompilerSets& k = Sets();
    TokenEdit s(tokens);
    for (int i = 2; i < s.len(); ++i) {
        if (!s.in(operators, i))
            continue;
        const TTokenCode op = s.at(i);
        int rightEnd = i + 1;
        if (!s.in(k.postfixOperands, i + 1) && s.at(i + 1) == TokenCodes.OpenParen) {
            const int close = s.closeOf(i + 1);
            if (close <= s.len()) {
                TTokenString inner = s.mid(i + 2, close - 1);
                ToPostfix(inner, operators);
                s.remove(i + 2, close - i - 2);
                s.insert(i + 2, inner);
                rightEnd = i + 2 + static_cast<int>(inner.size());
            }
        }
        const int leftStart = OperandStart(s, i - 1);
        s.remove(i);
        s.insert(rightEnd, op);
        s.insert(rightEnd + 1, TokenCodes.CloseParen);
        s.insert(leftStart, TokenCodes.OpenParen);
        i = rightEnd + 2;
    }
}

namespace {

// How many values a multi-argument function takes besides its count n.
int MultiArgumentPops(TTokenCode fn, int n)
{
    const TNamedTokens& t = TokenCodes;
    if (fn == t.Det || fn == t.Mid)
        return n > 3 ? 4 : 2;
    if (fn == t.Len)
        return n >= 4 ? 4 : n >= 2 ? 2 : 1;
    if (fn == t.Rot)
        return n >= 3 ? 3 : n;
    if (fn == t.Ptan || fn == t.Perp || fn == t.PerpL)
        return n >= 3 ? 3 : 2;
    if (fn == t.Intr)
        return 4;
    if (fn == t.Ccentr || fn == t.Icentr || fn == t.Hcentr || fn == t.Irad || fn == t.Crad || fn == t.Rgb || fn == t.Hsl)
        return 3;
    if (fn == t.Solut4)
        return n >= 6 ? 6 : 5;
    if (fn == t.Proj || fn == t.Projz)
        return std::clamp(n, 4, 6);
    if (fn == t.Bezier)
        return std::clamp(n, 3, 5);
    return n;
}

} // namespace

namespace {

struct ArgumentBalance {
    bool underflow = false; // a value was taken that was never left
    bool excess = false;    // more than one value is left at the end
};

ArgumentBalance BalanceArguments(const TKavirofunction& record)
{
    const CompilerSets& k = Sets();
    const TNamedTokens& t = TokenCodes;
    constexpr long double unknown = std::numeric_limits<long double>::quiet_NaN();
    std::vector<long double> stack;
    bool underflow = false;
    auto pop = [&]() {
        if (stack.empty()) {
            underflow = true;
            return unknown;
        }
        const long double v = stack.back();
        stack.pop_back();
        return v;
    };
    auto popMany = [&](int n) {
        for (int j = 0; j < n; ++j)
            pop();
    };
    for (QChar ch : record.Code) {
        const TTokenCode c = ch.unicode();
        if (IsConstantCode(c)) {
            const TValue& v = record.ConstValues[ConstantSlot(c)];
            stack.push_back(v.Defined ? v.X : unknown);
        } else if (CharSetHas(k.pushes, c)) {
            stack.push_back(unknown);
        } else if (CharSetHas(k.unary, c)) {
            pop();
            stack.push_back(unknown);
        } else if (CharSetHas(k.binaryLike, c)) {
            popMany(2);
            stack.push_back(unknown);
        } else if (CharSetHas(Vocabulary.UserFunctionTokenClass, c)) {
            popMany(5);
            stack.push_back(unknown);
        } else if (CharSetHas(Vocabulary.MultiArgumentTokens, c)) {
            const int n = std::clamp(NearestInt(pop()), 0, MaxArgumentCount);
            popMany(MultiArgumentPops(c, n));
            stack.push_back(unknown);
        } else if (c == t.Sum || c == t.Product || c == t.Intgr) {
            popMany(3);
        } else if (c == t.Cof || c == t.Sol) {
            pop();
        } else if (c == t.Send) {
            pop();
            stack.push_back(unknown);
        }
    }
    pop();
    return {underflow, !stack.empty()};
}

void ShowCompileMessage(const QString& message)
{
    ShowMsgBox(message, MsgError, MsgOk);
}

} // namespace

bool CheckArgumentCounts(const TKavirofunction& record, bool showErrors)
{
    const ArgumentBalance balance = BalanceArguments(record);
    if (showErrors && balance.underflow)
        ShowCompileMessage(Msg::TooFewArguments);
    if (showErrors && balance.excess)
        ShowCompileMessage(Msg::TooManyArguments);
    return balance.underflow || balance.excess;
}

TTokenCode FindRelationOperator(QStringView code)
{
    if (code.size() < 3)
        return 0;
    const TTokenCode op = code[code.size() - 3].unicode();
    return CharSetHas(Vocabulary.LogicCompareTokens, op) ? op : TTokenCode(0);
}

QString CodeToText(const TKavirofunction& record)
{
    QStringList parts;
    for (QChar ch : record.Code) {
        const TTokenCode c = ch.unicode();
        if (IsConstantCode(c))
            parts += record.Consts[ConstantSlot(c)];
        else if (c == TokenCodes.Blank)
            parts += QStringLiteral("␣");
        else
            parts += TokensToText(QStringView(&ch, 1));
    }
    return parts.join(u' ');
}

TCompileOutcome CompileFormula(TKavirofunction& record, int mode, bool keepUnbalancedCode)
{
    record.Code.clear();
    if (record.NormText.isEmpty()) {
        record.LastConst = 0;
        return {};
    }
    Compilation c;
    c.mode = mode;
    if (!Compile(c, record))
        return c.outcome;
    record.Code = c.s;
    record.LastConst = c.lastConst;
    record.Consts = c.consts;
    record.ConstValues = c.values;
    const ArgumentBalance balance = BalanceArguments(record);
    if (balance.underflow || balance.excess) {
        c.outcome = {.Kind = Kind::ArgumentCount,
                     .Message = balance.underflow ? Msg::TooFewArguments : Msg::TooManyArguments};
        // Code that does not balance would make a binder or a function read
        // operands that belong to something else, and a loop run on wrong
        // bounds: such a formula gets no code.
        if (!keepUnbalancedCode)
            record.Code.clear();
    }
    return c.outcome;
}

void ShowCompileOutcome(const TCompileOutcome& outcome)
{
    if (!outcome.Valid())
        ShowCompileMessage(outcome.Message);
}

TCompileOutcome CompileShowingMessages(TKavirofunction& record, int mode, bool showErrors)
{
    // With messages an unbalanced formula keeps its code, as it always has.
    const TCompileOutcome outcome = CompileFormula(record, mode, showErrors);
    if (outcome.Valid())
        return outcome;
    if (outcome.Kind == TCompileErrorKind::ArgumentCount) {
        // Both messages may appear, so the check shows its own.
        if (showErrors)
            CheckArgumentCounts(record, true);
    } else if (showErrors || outcome.ShownAlways) {
        ShowCompileOutcome(outcome);
    }
    return outcome;
}

bool CompileExpression(TKavirofunction& record, int mode, bool showErrors)
{
    return CompileShowingMessages(record, mode, showErrors).Valid();
}

bool PrepareExpression(TKavirofunction& record, int mode)
{
    record.Text = record.Text.trimmed();
    record.Text.replace(QStringLiteral("sqrt"), QStringLiteral("Sqrt"));
    record.Text.replace(QStringLiteral("cbrt"), QStringLiteral("Cbrt"));
    TTokenString tokens;
    NormalizeExpression(record, tokens);
    record.NormText = tokens;
    return mode >= -3 && CompileExpression(record, mode, false);
}
