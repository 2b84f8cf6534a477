#include "engine/Tokenizer.h"

#include "engine/Brackets.h"
#include "engine/TokenCode.h"
#include "engine/TokenEdit.h"
#include "engine/TokenTable.h"
#include "model/CharSet.h"
#include "model/ObjectNames.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Normalisation of the typed text
// ---------------------------------------------------------------------------

namespace {

// Text being rewritten, with a caret that follows every edit.
struct CaretText {
    QString& text;
    int& caret;

    // Replaces `count` characters at 0-based `at` by `by`. A caret inside the
    // replaced characters lands after the new ones.
    void replace(int at, int count, const QString& by)
    {
        text.replace(at, count, by);
        const int grown = static_cast<int>(by.size()) - count;
        if (caret >= at + count)
            caret += grown;
        else if (caret > at)
            caret = at + static_cast<int>(by.size());
    }
    void remove(int at, int count = 1) { replace(at, count, QString()); }
    void insert(int at, const QString& what) { replace(at, 0, what); }

    void replaceAll(const QString& from, const QString& to)
    {
        int at = static_cast<int>(text.indexOf(from));
        while (at >= 0) {
            replace(at, static_cast<int>(from.size()), to);
            at = static_cast<int>(text.indexOf(from, at + to.size()));
        }
    }
};

void RemoveSurrogates(CaretText& t)
{
    for (int i = static_cast<int>(t.text.size()) - 1; i >= 0; --i) {
        if (t.text.at(i).isSurrogate())
            t.remove(i);
    }
}

void RemoveLeading(CaretText& t, QChar c)
{
    while (!t.text.isEmpty() && t.text.at(0) == c)
        t.remove(0);
}

void ApplyRewrites(CaretText& t)
{
    static const std::pair<QString, QString> rewrites[] = {
        {QStringLiteral("  "), QStringLiteral(" ")},
        {QStringLiteral("Vcos"), QStringLiteral("Ptan")},
        {QStringLiteral("gcm"), QStringLiteral("gcd")},
        {QStringLiteral("Igr"), QStringLiteral("Intgr")},
        {QStringLiteral("pressed"), QStringLiteral("Pressed")},
        {QStringLiteral("PRESSED"), QStringLiteral("Pressed")},
        {QString(QChar(0xFF97)), QStringLiteral("×")},
        {QString(QChar(0xFF77)), QStringLiteral("·")},
        {QStringLiteral("*"), QStringLiteral("·")},
        {QStringLiteral("&"), QStringLiteral("×")},
        {QStringLiteral("degree"), QStringLiteral("°")},
        {QString(QChar(0xFF70)), QStringLiteral("°")},
        {QStringLiteral("step("), QStringLiteral("Step(")},
        {QStringLiteral("Step("), QStringLiteral("Stepsize(")},
        {QString(QChar(0x30FB)), QStringLiteral("·")},
    };
    for (const auto& [from, to] : rewrites)
        t.replaceAll(from, to);
}

bool TextHasAt(const QString& text, int at, QStringView what)
{
    return at >= 0 && QStringView(text).mid(at).startsWith(what);
}

// «Px» means P.x: a selector letter right after an upper-case object letter,
// unless the letters are part of a vocabulary name.
void InsertComponentDots(CaretText& t)
{
    for (int i = static_cast<int>(t.text.size()) - 1; i >= 1; --i) {
        const QChar c = t.text.at(i);
        const QChar before = t.text.at(i - 1);
        if ((c != u'x' && c != u'y' && c != u'r') || before < u'A' || before > u'Z')
            continue;
        const QString& s = t.text;
        if (TextHasAt(s, i - 2, u"nCr") || TextHasAt(s, i - 1, u"Crad") || TextHasAt(s, i - 1, u"Irad")
            || TextHasAt(s, i - 1, u"Pro") || TextHasAt(s, i - 1, u"Pre"))
            continue;
        t.insert(i, QStringLiteral("."));
    }
}

void ShortenQuoteRuns(CaretText& t)
{
    for (int at = static_cast<int>(t.text.indexOf(u"'''")); at >= 0; at = static_cast<int>(t.text.indexOf(u"'''")))
        t.remove(at);
}

bool IsUserFunctionName(QStringView s)
{
    return UserFunctionIndex(s) != 0;
}

// A prime belongs only after a user-function name.
void RemoveStrayPrimes(CaretText& t)
{
    for (int i = static_cast<int>(t.text.size()) - 1; i >= 1; --i) {
        if (t.text.at(i) != u'\'' || t.text.at(i - 1) == u'\'')
            continue;
        const QStringView s(t.text);
        const bool afterName = IsUserFunctionName(s.mid(i - 1, 1)) || (i >= 2 && IsUserFunctionName(s.mid(i - 2, 2)));
        if (!afterName)
            t.remove(i);
    }
}

// The vocabulary entry that scans at the front of rest, or 0.
TTokenCode MatchToken(QStringView rest)
{
    const QChar third = rest.size() > 2 ? rest[2] : QChar();
    const auto candidates = Vocabulary.EntriesByFirstChar.constFind(rest[0].unicode());
    if (candidates == Vocabulary.EntriesByFirstChar.cend())
        return 0;
    for (const TTokenCode code : *candidates) {
        const TTokenEntry& e = Vocabulary.TokenTable[code];
        if (!rest.startsWith(e.Name))
            continue;
        if (e.Name == u"y1" && third.isDigit())
            continue; // y10 .. y19
        if (e.Name == u"y2" && third == u'0')
            continue; // y20
        const bool afterIsParen = rest.size() > e.Name.size() && rest[e.Name.size()] == u'(';
        if (e.classLetter() == u'F' && e.Name.size() == 1 && !afterIsParen)
            continue; // F, G, H alone are object letters
        if (code == TokenCodes.PointFunc && !afterIsParen)
            continue; // P alone is the object letter, or the start of Pi
        return code;
    }
    return 0;
}

// Cuts the canonical text into tokens; returns the text that was scanned.
QString ScanTokens(const QString& text, TTokenString& tokens)
{
    tokens.clear();
    QString scanned;
    QStringView rest(text);
    while (!rest.isEmpty()) {
        const TTokenCode code = MatchToken(rest);
        if (code == 0) {
            tokens += QChar(TokenCodes.Error);
            tokens += rest;
            break;
        }
        const QString& name = Vocabulary.TokenTable[code].Name;
        scanned += name;
        tokens += QChar(code);
        rest = rest.mid(name.size());
    }
    return scanned;
}

} // namespace

void NormalizeExpressionText(QString& text, QString& normalised, int& caret, TTokenString& tokens)
{
    CaretText t{text, caret};
    RemoveSurrogates(t);
    RemoveLeading(t, u' ');
    ApplyRewrites(t);
    InsertComponentDots(t);
    ShortenQuoteRuns(t);
    RemoveStrayPrimes(t);
    RemoveLeading(t, u'\'');

    normalised = text;
    text = ScanTokens(normalised, tokens);
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
}

void NormalizeExpression(TKavirofunction& record, TTokenString& tokens)
{
    QString normalised;
    int caret = 0;
    NormalizeExpressionText(record.Text, normalised, caret, tokens);
}

// ---------------------------------------------------------------------------
// Tokenizer passes
// ---------------------------------------------------------------------------

namespace {

// The token classes the passes combine, built once per vocabulary.
struct PassSets {
    TWideCharSet functionName;   // function names
    TWideCharSet functionOrBinder;
    TWideCharSet slashPower;     // "/", "^"
    TWideCharSet objects;        // object letters and axes
    TWideCharSet trig;           // sin, cos, tan
    TWideCharSet trigOperand;    // what a trig power's operand may hold
    TWideCharSet groupOperand;   // operand tokens of GroupOperands
    TWideCharSet groupTaking;    // functions whose own group is their operand
    TWideCharSet plainOneArg;    // sin, log, not, ...: always get their own brackets
    TWideCharSet placeholderOk;  // triggers whose operand may run over a factor start
    TWideCharSet postfixOrPower;
    TWideCharSet selectors;      // .x .y .r
    TWideCharSet divisorRun;     // what the left operand of "/" may hold
    TWideCharSet lowerUser;      // f g h f1..f5
};

const PassSets& Sets()
{
    // Token codes never change once the vocabulary exists (only the names of
    // the separators follow the locale), so the sets are built once.
    static PassSets sets;
    if (TokenCodes.Sin != 0 && CharSetHas(sets.trig, TokenCodes.Sin))
        return sets;
    const TTokenVocabulary& v = Vocabulary;
    const TNamedTokens& t = TokenCodes;
    sets = PassSets{};
    sets.functionName = v.FunctionNameTokens;
    sets.functionOrBinder = v.FunctionNameTokens | v.BinderTokens;
    sets.slashPower = SetOf({t.Divide, t.Power});
    sets.objects = v.PointAndAxisTokens;
    sets.trig = v.TrigTokens;
    sets.trigOperand = v.VariableTokens | v.PointAndAxisTokens | v.ConstantTokens | v.GraphTokens
                       | v.FunctionNameTokens | v.PostfixTokens | v.BinderTokens | SetOf({t.Power, t.OpenParen});
    sets.groupOperand = sets.trigOperand | v.PrimeTokens;
    sets.groupTaking = v.PlainFunctionTokens | v.TwoArgumentTokens | v.MultiArgumentTokens | v.BinderTokens
                       | v.UserFunctionTokenClass | SetOf({t.Abs, t.Stepsize});
    sets.plainOneArg = CharSetDifference(CharSetDifference(v.FunctionNameTokens, SetOf({t.Sqrt, t.Cbrt, t.Conj, t.Stepsize})),
                                         sets.groupTaking);
    sets.placeholderOk = SetOf({t.Divide, t.Power, t.Sqrt, t.Cbrt, t.Conj});
    sets.postfixOrPower = v.PostfixTokens | SetOf({t.Power});
    sets.selectors = SetOf({t.DotX, t.DotY, t.DotR});
    sets.divisorRun = v.VariableTokens | v.PointAndAxisTokens | v.ConstantTokens | v.GraphTokens | v.PostfixTokens
                      | v.FunctionNameTokens | v.BinderTokens | SetOf({t.Power, t.Divide});
    sets.lowerUser = CharSetDifference(v.UserFunctionTokenClass, v.UpperUserFunctionTokens);
    return sets;
}

// Pass 1: blanks that separate nothing go; one blank ends the string.
void DropBlanksAroundOperators(TokenEdit& s, const PassSets& k)
{
    const TTokenCode blank = TokenCodes.Blank;
    for (int i = s.len() - 1; i >= 2; --i) {
        if (s.at(i) != blank)
            continue;
        const bool beforeBinds = s.in(k.slashPower, i + 1) || s.in(Vocabulary.PostfixTokens, i + 1);
        const bool afterBinds = s.in(k.slashPower, i - 1) || s.in(k.functionName, i - 1);
        if (beforeBinds || afterBinds)
            s.remove(i);
    }
    s.insert(s.len() + 1, blank);
}

// Pass 2: a bare pair «(a, b)» is the point (a, b).
void InsertPointConstructors(TokenEdit& s)
{
    const TWideCharSet callers = Vocabulary.FunctionNameTokens | Vocabulary.BinderTokens | Vocabulary.PrimeTokens;
    for (int i = s.len() - 4; i >= 1; --i) {
        if (s.at(i) != TokenCodes.OpenParen || s.argsOf(i) != 2)
            continue;
        if (i > 1 && s.in(callers, i - 1))
            continue;
        s.insert(i, TokenCodes.CPS);
    }
}

// Pass 3: «PQ» is the vector from P to Q, «[PQ]» its length.
void InsertVectors(TokenEdit& s, const PassSets& k)
{
    const TNamedTokens& t = TokenCodes;
    for (int i = s.len() - 1; i >= 1; --i) {
        if (!s.in(k.objects, i) || !s.in(k.objects, i + 1))
            continue;
        if (s.at(i - 1) == t.OpenBracket && s.at(i + 2) == t.CloseBracket) {
            s.set(i - 1, t.OpenParen);
            s.set(i + 2, t.CloseParen);
            s.insert(i + 1, t.Comma);
            s.insert(i - 1, t.NORM);
        } else {
            s.insert(i + 2, t.CloseParen);
            s.insert(i + 1, t.Comma);
            s.insert(i, t.OpenParen);
            s.insert(i, t.VEC);
        }
    }
}

// Pass 5: log with two arguments takes a base.
void ResolveLogBase(TokenEdit& s)
{
    for (int i = 1; i <= s.len(); ++i) {
        if (s.at(i) == TokenCodes.Log && s.at(i + 1) == TokenCodes.OpenParen && s.argsOf(i + 1) == 2)
            s.set(i, TokenCodes.LogBase);
    }
}

// End of the run of operand tokens after position j, jumping over groups.
// jumpBlankAfterFunction: a blank right after a function name is part of the run.
int ScanOperandRun(const TokenEdit& s, int j, const TWideCharSet& operand, bool jumpBlankAfterFunction,
                   const PassSets& k)
{
    while (j < s.len()) {
        const TTokenCode next = s.at(j + 1);
        if (next == TokenCodes.OpenParen) {
            const int close = s.closeOf(j + 1);
            if (close > s.len())
                return s.len();
            j = close;
        } else if (CharSetHas(operand, next)) {
            ++j;
        } else if (jumpBlankAfterFunction && next == TokenCodes.Blank && s.in(k.functionName, j)) {
            ++j;
        } else {
            break;
        }
    }
    return j;
}

// Pass 7: «sin^2 x» is (sin x)^2, written sin^(2)(x).
void GroupTrigPowers(TokenEdit& s, const PassSets& k)
{
    for (int i = 1; i <= s.len(); ++i) {
        if (!s.in(k.trig, i) || s.at(i + 1) != TokenCodes.Power || s.at(i + 2) != TokenCodes.OpenParen)
            continue;
        const int expEnd = s.closeOf(i + 2);
        if (expEnd > s.len())
            continue;
        if (expEnd < s.len() && s.at(expEnd + 1) == TokenCodes.Blank)
            s.remove(expEnd + 1);
        const int end = ScanOperandRun(s, expEnd, k.trigOperand, true, k);
        if (end > expEnd) {
            s.insert(end + 1, TokenCodes.CloseParen);
            s.insert(expEnd + 1, TokenCodes.OpenParen);
        }
    }
}

// Pass 8: mark where a new factor starts, as in «sin x cos x».
void MarkFactorStarts(TokenEdit& s, const PassSets& k)
{
    const TWideCharSet noFactorBreak = k.functionName | SetOf({TokenCodes.Divide, TokenCodes.Power, TokenCodes.Blank});
    for (int i = s.len(); i >= 2; --i) {
        if (s.in(k.functionOrBinder, i) && !s.in(noFactorBreak, i - 1))
            s.insert(i, PlaceholderCode);
    }
}

void RemovePlaceholders(TTokenString& tokens)
{
    tokens.remove(QChar(PlaceholderCode));
}

// Pass 11: every application «f(...)» becomes «(f(...))».
void WrapApplications(TokenEdit& s, const PassSets& k)
{
    for (int i = 1; i <= s.len(); ++i) {
        const TTokenCode t = s.at(i);
        if (!CharSetHas(k.functionOrBinder, t))
            continue;
        int e = i + 1;
        if (CharSetHas(k.trig, t) && s.at(i + 1) == TokenCodes.Power) {
            e = s.closeOf(i + 2) + 1;
            if (s.at(e) == TokenCodes.Blank)
                ++e;
        } else if (CharSetHas(k.lowerUser, t) && s.in(Vocabulary.PrimeTokens, i + 1)) {
            e = i + 2;
        }
        if (s.at(e) == TokenCodes.OpenParen)
            e = s.closeOf(e);
        if (e <= s.len())
            s.insert(e + 1, TokenCodes.CloseParen);
        s.insert(i, TokenCodes.OpenParen);
        ++i; // continue after t
    }
}

// Pass 12: «x!» becomes «(x)!», «a^b» becomes «(a)^b», «(PQ).x» keeps its pair.
void WrapPostfixOperands(TokenEdit& s, const PassSets& k)
{
    for (int i = 2; i <= s.len(); ++i) {
        if (!s.in(k.postfixOrPower, i) || s.in(k.functionOrBinder, i - 1))
            continue;
        if (i > 2 && s.in(k.selectors, i) && s.in(k.objects, i - 1) && s.in(k.objects, i - 2)) {
            s.insert(i, TokenCodes.CloseParen);
            s.insert(i - 2, TokenCodes.OpenParen);
            i += 2;
            continue;
        }
        int start = i - 1;
        while (start >= 1 && s.in(k.postfixOrPower, start))
            --start;
        if (s.at(start) == TokenCodes.CloseParen)
            start = s.openOf(start);
        start = std::max(start, 1);
        s.insert(i, TokenCodes.CloseParen);
        s.insert(start, TokenCodes.OpenParen);
        i += 2;
    }
}

// Pass 13: juxtaposed factors left of "/" form its dividend: «2x/3» is (2x)/3.
void GroupDividends(TokenEdit& s, const PassSets& k)
{
    for (int i = 2; i <= s.len(); ++i) {
        if (s.at(i) != TokenCodes.Divide)
            continue;
        int start = i;
        while (start > 1) {
            if (s.at(start - 1) == TokenCodes.CloseParen) {
                const int open = s.openOf(start - 1);
                if (open == NoOpenParen)
                    break;
                start = open;
            } else if (s.in(k.divisorRun, start - 1)) {
                --start;
            } else {
                break;
            }
        }
        s.insert(i, TokenCodes.CloseParen);
        s.insert(start, TokenCodes.OpenParen);
        i += 2;
    }
}

// Pass 14: a blank survives only between two object letters (a list of points).
void DropRemainingBlanks(TokenEdit& s, const PassSets& k)
{
    for (int i = s.len() - 1; i >= 1; --i) {
        if (s.at(i) == TokenCodes.Blank && !(s.in(k.objects, i - 1) && s.in(k.objects, i + 1)))
            s.remove(i);
    }
}

} // namespace

void BracketsToAbs(TTokenString& tokens)
{
    TokenEdit s(tokens);
    for (int i = s.len(); i >= 1; --i) {
        if (s.at(i) == TokenCodes.OpenBracket) {
            s.set(i, TokenCodes.OpenParen);
            s.insert(i, TokenCodes.Abs);
        } else if (s.at(i) == TokenCodes.CloseBracket) {
            s.set(i, TokenCodes.CloseParen);
        }
    }
}

void GroupOperands(TTokenString& tokens, const TWideCharSet& triggers)
{
    const PassSets& k = Sets();
    TokenEdit s(tokens);
    const TWideCharSet binaryOrPostfix = Vocabulary.BinaryOperatorTokens | Vocabulary.PostfixTokens;
    TWideCharSet withPlaceholder = k.groupOperand;
    withPlaceholder.Flags.set(PlaceholderCode);

    for (int i = 1; i < s.len(); ++i) {
        const TTokenCode t = s.at(i);
        if (!CharSetHas(triggers, t) || s.in(binaryOrPostfix, i + 1))
            continue;
        if (CharSetHas(Vocabulary.UserFunctionTokenClass, t) && s.in(Vocabulary.PrimeTokens, i + 1))
            ++i;
        int j = i;
        if (CharSetHas(k.groupTaking, t) && s.at(i + 1) == TokenCodes.OpenParen) {
            j = std::min(s.closeOf(i + 1), s.len());
        } else {
            // A function name's operand ends where the next factor starts;
            // "/", "^" and the roots take the whole run.
            const bool runsOverFactors = CharSetHas(k.placeholderOk, t) || !CharSetHas(k.functionName, t);
            j = ScanOperandRun(s, i, runsOverFactors ? withPlaceholder : k.groupOperand, false, k);
        }
        if (j <= i)
            continue;
        const bool alreadyOneGroup = s.at(i + 1) == TokenCodes.OpenParen && s.closeOf(i + 1) == j;
        if (alreadyOneGroup && !CharSetHas(k.plainOneArg, t) && t != TokenCodes.Divide)
            continue;
        s.insert(j + 1, TokenCodes.CloseParen);
        s.insert(i + 1, TokenCodes.OpenParen);
    }
}

void TokenizeExpression(TTokenString& tokens)
{
    const PassSets& k = Sets();
    TokenEdit s(tokens);
    DropBlanksAroundOperators(s, k);
    InsertPointConstructors(s);
    InsertVectors(s, k);
    BracketsToAbs(tokens);
    ResolveLogBase(s);
    GroupOperands(tokens, SetOf({TokenCodes.Power}));
    GroupTrigPowers(s, k);
    MarkFactorStarts(s, k);
    GroupOperands(tokens, k.functionName | SetOf({TokenCodes.Divide, TokenCodes.Sqrt, TokenCodes.Cbrt, TokenCodes.Conj}));
    RemovePlaceholders(tokens);
    WrapApplications(s, k);
    WrapPostfixOperands(s, k);
    GroupDividends(s, k);
    DropRemainingBlanks(s, k);
}
