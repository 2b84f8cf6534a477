#include "render/markup/TypesetDisplay.h"

#include "engine/Brackets.h"
#include "engine/Compiler.h"
#include "engine/TokenCode.h"
#include "engine/TokenEdit.h"
#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "model/Formula.h"
#include "model/Options.h"

namespace {

using namespace DisplayCode;

// The token classes the display passes combine.
struct DisplaySets {
    TWideCharSet radicals;    // Sqrt, Cbrt, conj
    TWideCharSet applied;     // every function name and binder
    TWideCharSet groupTaking; // applications that keep their own brackets
    TWideCharSet postfix;
};

const DisplaySets& Sets()
{
    // The codes never change once the vocabulary exists, so the sets are
    // built once.
    static DisplaySets sets;
    if (TokenCodes.Sqrt != 0 && sets.radicals.has(TokenCodes.Sqrt))
        return sets;
    const TTokenVocabulary& v = Vocabulary;
    const TNamedTokens& t = TokenCodes;
    sets.radicals = SetOf({t.Sqrt, t.Cbrt, t.Conj});
    sets.applied = v.FunctionNameTokens | v.BinderTokens;
    sets.groupTaking = v.PlainFunctionTokens | v.TwoArgumentTokens | v.MultiArgumentTokens | v.BinderTokens
                       | v.UserFunctionTokenClass | SetOf({t.Stepsize});
    sets.postfix = v.PostfixTokens;
    return sets;
}

// Removes the brackets of the group that opens at position open, if any,
// or only the opening one when the group is not closed (see below).
void RemoveBracketPair(TokenEdit& s, int open)
{
    if (s.at(open) != TokenCodes.OpenParen)
        return;
    const int close = s.closeOf(open);
    if (close <= s.len())
        s.remove(close);
    s.remove(open);
}

// An argument still being typed («sin(x», «max(1, x») has no closing
// bracket. Its opening one goes, and the pair the tokenizer put round the
// argument shows it closed once («sin(x)», not «sin((x)»).
void RemoveUnclosedBracket(TokenEdit& s, int open)
{
    if (s.at(open) == TokenCodes.OpenParen && s.closeOf(open) > s.len())
        s.remove(open);
}

// Where the argument of the application at i begins: after the exponent of
// «sin^2 x».
int ArgumentStart(const TokenEdit& s, int i)
{
    if (CharSetHas(Vocabulary.TrigTokens, s.at(i)) && s.at(i + 1) == TokenCodes.Power &&
        s.at(i + 2) == TokenCodes.OpenParen)
        return s.closeOf(i + 2) + 1;
    return i + 1;
}

// Pass 1: applications become δ … ε (δ … κ under a radical or bar),
// exponents end in λ, fractions are ι … θ "/" η … ζ.
void MarkApplicationsPowersFractions(TokenEdit& s, const DisplaySets& k)
{
    const TNamedTokens& tc = TokenCodes;
    for (int i = 1; i <= s.len(); ++i) {
        const TTokenCode t = s.at(i);
        if (CharSetHas(k.applied, t)) {
            const bool radical = CharSetHas(k.radicals, t);
            if (s.at(i - 1) == tc.OpenParen) {
                const int close = s.closeOf(i - 1);
                s.set(i - 1, GroupStart);
                if (close <= s.len())
                    s.set(close, radical ? RadicandEnd : GroupEnd);
            }
            if (radical || !CharSetHas(k.groupTaking, t))
                RemoveBracketPair(s, ArgumentStart(s, i));
            else
                RemoveUnclosedBracket(s, ArgumentStart(s, i));
        } else if (t == tc.Power) {
            if (s.at(i + 1) == tc.OpenParen) {
                const int close = s.closeOf(i + 1);
                if (close <= s.len()) {
                    s.set(close, ExponentEnd);
                    s.remove(i + 1);
                }
            }
        } else if (t == tc.Divide) {
            if (s.at(i + 1) == tc.OpenParen) {
                const int close = s.closeOf(i + 1);
                if (close <= s.len()) {
                    s.set(i + 1, DenominatorStart);
                    s.set(close, DenominatorEnd);
                }
            }
            if (s.at(i - 1) == tc.CloseParen) {
                const int open = s.openOf(i - 1);
                if (open != NoOpenParen) {
                    s.set(open, NumeratorStart);
                    s.set(i - 1, NumeratorEnd);
                }
            }
        }
    }
}

// Pass 2: the bracketed operand of "^" or of a postfix operator becomes a
// δ group (closed by the exponent's λ, or by an ε after the operator);
// «sin^2 x» puts the δ before the function name.
void MarkExponentBases(TokenEdit& s, const DisplaySets& k)
{
    const TNamedTokens& tc = TokenCodes;
    for (int i = 2; i <= s.len(); ++i) {
        const TTokenCode t = s.at(i);
        const bool postfix = CharSetHas(k.postfix, t);
        if (t != tc.Power && !postfix)
            continue;
        if (s.at(i - 1) == tc.CloseParen) {
            const int open = s.openOf(i - 1);
            if (open == NoOpenParen)
                continue;
            s.remove(i - 1);
            s.remove(open);
            s.insert(open, GroupStart);
            // The operator now stands at i - 1.
            if (postfix)
                s.insert(i, GroupEnd);
        } else if (t == tc.Power && CharSetHas(Vocabulary.TrigTokens, s.at(i - 1))) {
            s.insert(i - 1, GroupStart);
            ++i;
        }
    }
}

// Pass 3: «VEC(P, Q)» becomes γ P Q β; «NORM(P, Q)» δ P Q ε.
void MarkVectors(TokenEdit& s)
{
    const TNamedTokens& tc = TokenCodes;
    for (int i = 1; i + 5 <= s.len(); ++i) {
        const TTokenCode t = s.at(i);
        if ((t != tc.VEC && t != tc.NORM) || s.at(i + 1) != tc.OpenParen || s.at(i + 3) != tc.Comma ||
            s.at(i + 5) != tc.CloseParen)
            continue;
        const bool vector = t == tc.VEC;
        const TTokenCode p = s.at(i + 2);
        const TTokenCode q = s.at(i + 4);
        s.remove(i, 6);
        s.insert(i, QStringView(MakeTokenString({vector ? VectorStart : GroupStart, p, q,
                                                  vector ? VectorEnd : GroupEnd})));
        i += 3;
    }
}

// Pass 4: an absolute value shows with square brackets.
void ShowAbsAsBrackets(TokenEdit& s)
{
    const TNamedTokens& tc = TokenCodes;
    for (int i = 1; i + 2 <= s.len(); ++i) {
        if (s.at(i) != GroupStart || s.at(i + 1) != tc.Abs || s.at(i + 2) != tc.OpenParen)
            continue;
        const int close = s.closeOf(i + 2);
        if (close > s.len())
            continue;
        s.set(i + 2, tc.OpenBracket);
        s.set(close, tc.CloseBracket);
        s.remove(i + 1);
    }
}

// Pass 6: blanks go, except the one that ends the string (drawn as a space).
void RemoveInnerBlanks(TTokenString& tokens)
{
    for (qsizetype i = tokens.size() - 2; i >= 0; --i) {
        if (tokens[i].unicode() == TokenCodes.Blank)
            tokens.remove(i, 1);
    }
}

// Constants written back as digit tokens, the decimal separator as the
// decimal-point token.
TTokenString SpellConstants(QStringView tokens, const TConstList& consts)
{
    TTokenString out;
    out.reserve(tokens.size() + 8);
    for (const QChar c : tokens) {
        const TTokenCode t = c.unicode();
        if (!IsConstantCode(t) || ConstantSlot(t) < 0) {
            out += c;
            continue;
        }
        for (const QChar ch : consts[ConstantSlot(t)]) {
            if (ch.isDigit())
                out += QChar(static_cast<TTokenCode>(TokenCodes.Digit0 + ch.digitValue()));
            else if (ch == Separators.DecimalChar || ch == u'.')
                out += QChar(TokenCodes.DecimalPoint);
        }
    }
    return out;
}

} // namespace

TTokenString ExpressionToMarkup(const TTokenString& scanned)
{
    const qsizetype errorAt = scanned.indexOf(QChar(TokenCodes.Error));
    const QStringView rest = errorAt < 0 ? QStringView() : QStringView(scanned).mid(errorAt);
    TTokenString tokens = errorAt < 0 ? scanned : scanned.left(errorAt);

    TConstList consts;
    TConstValues values;
    QString message;
    std::uint8_t lastConst = 0;
    // With too many literals the numbers stay digit tokens; the structure
    // around them is still found.
    if (ExtractConstants(tokens, consts, values, message, lastConst))
        tokens = errorAt < 0 ? scanned : scanned.left(errorAt);
    TokenizeExpression(tokens);

    const DisplaySets& k = Sets();
    TokenEdit s(tokens);
    MarkApplicationsPowersFractions(s, k);
    MarkExponentBases(s, k);
    MarkVectors(s);
    ShowAbsAsBrackets(s);
    tokens.remove(QChar(TokenCodes.CPS));
    RemoveInnerBlanks(tokens);
    return SpellConstants(tokens, consts) + rest.toString();
}

QStringView ExtractGroupView(const TWideCharSet& openers, const TWideCharSet& closers, QStringView& tokens,
                             bool& unclosed)
{
    const QStringView body = tokens.mid(1);
    int depth = 1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const TTokenCode t = body[i].unicode();
        if (openers.has(t))
            ++depth;
        else if (closers.has(t) && --depth == 0) {
            unclosed = false;
            tokens = body.mid(i + 1);
            return body.left(i);
        }
    }
    unclosed = true;
    tokens = QStringView();
    return body;
}

TExtractedGroup ExtractGroup(const TWideCharSet& openers, const TWideCharSet& closers, TTokenString& tokens)
{
    QStringView view(tokens);
    TExtractedGroup g;
    g.Group = ExtractGroupView(openers, closers, view, g.Unclosed).toString();
    tokens = view.toString();
    return g;
}

namespace {

// What precedes the code that closes a run opened before it (the opener
// adds 1, the closer takes 1 away); the view moves past the closer.
QStringView TakeBalanced(QStringView& tokens, TTokenCode opener, TTokenCode closer)
{
    int depth = 1;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const TTokenCode t = tokens[i].unicode();
        if (t == opener)
            ++depth;
        else if (t == closer && --depth == 0) {
            const QStringView part = tokens.left(i);
            tokens = tokens.mid(i + 1);
            return part;
        }
    }
    const QStringView part = tokens;
    tokens = QStringView();
    return part;
}

void PreparePart(TTokenString& part, bool nestedFractions)
{
    if (!nestedFractions)
        FlattenFractions(part);
    StripOuterParens(part);
}

} // namespace

void SplitFractionView(QStringView& tokens, TTokenString& numerator, TTokenString& denominator,
                       bool nestedFractions)
{
    tokens = tokens.mid(1); // ι
    numerator = TakeBalanced(tokens, NumeratorStart, NumeratorEnd).toString();
    if (!tokens.isEmpty() && tokens[0].unicode() == TokenCodes.Divide)
        tokens = tokens.mid(1);
    // Without a denominator group the fraction ends here and what follows
    // stays in the formula.
    if (!tokens.isEmpty() && tokens[0].unicode() == DenominatorStart) {
        tokens = tokens.mid(1);
        denominator = TakeBalanced(tokens, DenominatorStart, DenominatorEnd).toString();
    } else {
        denominator.clear();
    }
    PreparePart(numerator, nestedFractions);
    PreparePart(denominator, nestedFractions);
}

void SplitFraction(TTokenString& tokens, TTokenString& numerator, TTokenString& denominator, bool nestedFractions)
{
    QStringView view(tokens);
    SplitFractionView(view, numerator, denominator, nestedFractions);
    tokens = view.toString();
}

void FlattenFractions(TTokenString& part)
{
    for (qsizetype i = part.size() - 1; i >= 0; --i) {
        switch (part[i].unicode()) {
        case NumeratorStart:
            part.replace(i, 1, MakeTokenString({GroupStart, GroupStart}));
            break;
        case NumeratorEnd:
            part[i] = QChar(GroupEnd);
            break;
        case DenominatorStart:
            part[i] = QChar(GroupStart);
            break;
        case DenominatorEnd:
            part.replace(i, 1, MakeTokenString({GroupEnd, GroupEnd}));
            break;
        default:
            break;
        }
    }
}
