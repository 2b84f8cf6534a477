#include "engine/Brackets.h"
#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "tests/engine/EngineTest.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

class TokenizerTest : public EngineTest {
protected:
    struct Normalised {
        QString text;
        QString full;
        int caret;
        TTokenString tokens;
    };
    static Normalised Normalise(const QString& input, int caret = -1)
    {
        Normalised n{input, QString(), caret < 0 ? static_cast<int>(input.size()) : caret, TTokenString()};
        NormalizeExpressionText(n.text, n.full, n.caret, n.tokens);
        return n;
    }
    static TTokenString Scan(const QString& input) { return Normalise(input).tokens; }
    static TTokenString Tokenize(const QString& input)
    {
        TTokenString t = Scan(input);
        TokenizeExpression(t);
        return t;
    }
};

TEST_F(TokenizerTest, NormalisationWritesCanonicalSpelling)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2*x", "2·x"},
        {"a&b", "a×b"},
        {"30degree", "30°"},
        {"step(a)", "Stepsize(a)"},
        {"Step(a)", "Stepsize(a)"},
        {"Px+Qy", "P.x+Q.y"},
        {"Ar", "A.r"},
        {"nCr(5,2)", "nCr(5,2)"},
        {"Crad(P,Q,R)", "Crad(P,Q,R)"},
        {"Irad(P,Q,R)", "Irad(P,Q,R)"},
        {"Product(k,1,3,k)", "Product(k,1,3,k)"},
        {"Pressed(65)", "Pressed(65)"},
        {"pressed(65)+PRESSED(66)", "Pressed(65)+Pressed(66)"},
        {"Vcos(P,C,r)", "Ptan(P,C,r)"},
        {"gcm(6,9)", "gcd(6,9)"},
        {"Igr(x,0,1,x)", "Intgr(x,0,1,x)"},
        {"f'''(x)", "f''(x)"},
        {"f'(x)+g''(x)+f3'(x)", "f'(x)+g''(x)+f3'(x)"},
        {"x'+1", "x+1"},
        {"'x", "x"},
        {"   x  +  1", "x + 1"},
        {"2\xEF\xBE\x97x", "2×x"},         // half-width katakana RA
        {"2\xEF\xBD\xB7x", "2·x"},         // half-width katakana KI
        {"2\xE3\x83\xBBx", "2·x"},         // katakana middle dot
        {"45\xEF\xBD\xB0", "45°"},         // half-width prolonged sound sign
        {"x\xF0\x9F\x98\x80+1", "x+1"},    // outside the basic plane
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(Normalise(QString::fromUtf8(input)).text, QString::fromUtf8(expected)) << input;
}

TEST_F(TokenizerTest, CaretFollowsEveryEdit)
{
    struct Case {
        const char* input;
        int caret;
        int expected;
    };
    const Case cases[] = {
        {"Px+Qy", 5, 7},        // two dots inserted before the caret
        {"Px+Qy", 2, 3},        // one before, one after
        {"2*x", 1, 1},          // same-length rewrite before the caret
        {"2degree+1", 9, 4},    // "degree" shrinks to one character
        {"2degree+1", 4, 2},    // a caret inside a rewrite lands after it
        {"step(a)", 7, 11},
        {"  x", 3, 1},          // leading blanks
        {"''x", 3, 1},          // leading quotes
        {"f'''(x)", 7, 6},      // a quote run shortened
        {"x'+1", 4, 3},         // a stray prime dropped
        {"x\xF0\x9F\x98\x80+1", 5, 3}, // a surrogate pair dropped
        {"2x$", 3, 2},          // the unscanned rest is cut off
    };
    for (const Case& c : cases)
        EXPECT_EQ(Normalise(QString::fromUtf8(c.input), c.caret).caret, c.expected) << c.input << " at " << c.caret;
}

TEST_F(TokenizerTest, ScanningTakesTheFirstEntryWithItsExceptions)
{
    const TNamedTokens& t = TokenCodes;
    EXPECT_EQ(Scan(QStringLiteral("y12")), MakeTokenString({Vocabulary.FunctionTokens[12]}));
    EXPECT_EQ(Scan(QStringLiteral("y20")), MakeTokenString({Vocabulary.FunctionTokens[20]}));
    EXPECT_EQ(Scan(QStringLiteral("y2")), MakeTokenString({Vocabulary.FunctionTokens[2]}));
    EXPECT_EQ(Scan(QStringLiteral("y1+y")), MakeTokenString({Vocabulary.FunctionTokens[1], t.Plus, t.VarY}));
    EXPECT_EQ(Scan(QStringLiteral("F(x)")), MakeTokenString({FindTokenByName(u"F"), t.OpenParen, t.VarX, t.CloseParen}));
    EXPECT_EQ(Scan(QStringLiteral("F+1")), MakeTokenString({Vocabulary.PointTokens[13], t.Plus, TTokenCode(t.Digit0 + 1)}));
    EXPECT_EQ(Scan(QStringLiteral("Pi")), MakeTokenString({t.Pi}));
    EXPECT_EQ(Scan(QStringLiteral("P(3)")), MakeTokenString({t.PointFunc, t.OpenParen, TTokenCode(t.Digit0 + 3), t.CloseParen}));
    EXPECT_EQ(Scan(QStringLiteral("P+1"))[0], Vocabulary.PointTokens[1]);
    EXPECT_EQ(Scan(QStringLiteral("sinh(x)"))[0], t.Sinh);
    EXPECT_EQ(Scan(QStringLiteral("Pressed(1)"))[0], t.Pressed);
    EXPECT_EQ(Scan(QStringLiteral("log(x)"))[0], t.Log);
}

TEST_F(TokenizerTest, ScanningStopsAtTheFirstUnknownCharacter)
{
    const Normalised n = Normalise(QStringLiteral("2x$+1"));
    EXPECT_EQ(n.text, QStringLiteral("2x"));
    EXPECT_EQ(n.full, QStringLiteral("2x$+1"));
    const TTokenString expected = MakeTokenString({TTokenCode(TokenCodes.Digit0 + 2), TokenCodes.VarX, TokenCodes.Error})
                                  + QStringLiteral("$+1");
    EXPECT_EQ(n.tokens, expected);
}

TEST_F(TokenizerTest, CommaLocaleScansDecimalCommaAndSemicolonLists)
{
    UseCommaLocale();
    EXPECT_EQ(Scan(QStringLiteral("max(1,5;2)")),
              MakeTokenString({TokenCodes.Max, TokenCodes.OpenParen, TTokenCode(TokenCodes.Digit0 + 1), TokenCodes.DecimalPoint,
                               TTokenCode(TokenCodes.Digit0 + 5), TokenCodes.Comma, TTokenCode(TokenCodes.Digit0 + 2),
                               TokenCodes.CloseParen}));
    // The point is no longer a decimal point: scanning stops there.
    EXPECT_EQ(Normalise(QStringLiteral("1.5")).tokens,
              MakeTokenString({TTokenCode(TokenCodes.Digit0 + 1), TokenCodes.Error}) + QStringLiteral(".5"));
}

TEST_F(TokenizerTest, PassesMakeTheStructureExplicit)
{
    // Digits stand for constants here, as they do after constant extraction.
    const std::pair<const char*, const char*> cases[] = {
        {"2·x", "2·x "},
        {"(1,2)", "(CPS(1,2)) "},
        {"f(1,2)", "(f(1,2)) "},
        {"PQ", "(VEC(P,Q)) "},
        {"[PQ]", "(NORM(P,Q)) "},
        {"[x-1]", "(abs(x-1)) "},
        {"log(2,8)", "(log(2,8)) "},
        {"log 8", "(log(8)) "},
        {"sin x cos x", "(sin(x))(cos(x)) "},
        {"sin(x)cos(x)", "(sin((x)))(cos((x))) "},
        {"sin xcos x", "(sin(x))(cos(x)) "},
        {"Sqrt xsin x", "(Sqrt(x(sin(x)))) "}, // a root's operand runs over factor starts
        {"Sqrt x sin x", "(Sqrt(x))(sin(x)) "}, // but not over a blank
        {"x^2y", "(x)^(2y) "},
        {"2^3^2", "(2)^((3)^(2)) "},
        {"sin^2 x", "(sin^(2)(x)) "},
        {"2x/3", "(2x)/(3) "},
        {"a/b/c", "((a)/(b))/(c) "},
        {"x!", "(x)! "},
        {"x!!", "((x)!)! "},
        {"f'(x)", "(f'(x)) "},
        {"P Q R", "P Q R "},
        {"x + 1", "x+1 "},
        {"Sum(k,1,3,k)", "(Sum(k,1,3,k)) "},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(TokensToText(Tokenize(QString::fromUtf8(input))), QString::fromUtf8(expected)) << input;
}

TEST_F(TokenizerTest, PassesPickTheRightCodes)
{
    EXPECT_TRUE(Tokenize(QStringLiteral("(1,2)")).contains(QChar(TokenCodes.CPS)));
    EXPECT_FALSE(Tokenize(QStringLiteral("f(1,2)")).contains(QChar(TokenCodes.CPS)));
    EXPECT_FALSE(Tokenize(QStringLiteral("max(1,2)")).contains(QChar(TokenCodes.CPS)));
    EXPECT_TRUE(Tokenize(QStringLiteral("PQ")).contains(QChar(TokenCodes.VEC)));
    EXPECT_TRUE(Tokenize(QStringLiteral("[PQ]")).contains(QChar(TokenCodes.NORM)));
    EXPECT_TRUE(Tokenize(QStringLiteral("[x-1]")).contains(QChar(TokenCodes.Abs)));
    EXPECT_TRUE(Tokenize(QStringLiteral("log(2,8)")).contains(QChar(TokenCodes.LogBase)));
    EXPECT_FALSE(Tokenize(QStringLiteral("log(2,8)")).contains(QChar(TokenCodes.Log)));
    EXPECT_TRUE(Tokenize(QStringLiteral("log 8")).contains(QChar(TokenCodes.Log)));
    EXPECT_TRUE(Tokenize(QStringLiteral("log(8)")).contains(QChar(TokenCodes.Log)));
    EXPECT_FALSE(Tokenize(QStringLiteral("sin x cos x")).contains(QChar(PlaceholderCode)));
}

TEST_F(TokenizerTest, OddFormulasNeverBreakThePasses)
{
    // Unbalanced or truncated input must come through without a crash; the
    // compiler's checks reject it later.
    for (const char* input : {"(", ")", "((", "))", "sin", "sin^", "sin^(", "x/", "/x", "!", "^2", "[P", "P]",
                              "log(", "f'", "(,)", "Sum(", "2^", "sin^2", "(((((x", "x)))))", ""}) {
        TTokenString t = Scan(QString::fromUtf8(input));
        TokenizeExpression(t);
        EXPECT_FALSE(t.isEmpty()) << input; // at least the closing blank
    }
}

TEST_F(TokenizerTest, BracketSearchesAnswerNoneSafely)
{
    const TTokenString s = Scan(QStringLiteral("(a(b))c"));
    EXPECT_EQ(FindCloseParen(s, 1), 6);
    EXPECT_EQ(FindCloseParen(s, 3), 5);
    EXPECT_EQ(FindCloseParen(Scan(QStringLiteral("(ab")), 1), NoCloseParen);
    EXPECT_EQ(FindCloseParen(Scan(QStringLiteral("()")), 1), NoCloseParen); // too near the end
    EXPECT_EQ(FindOpenParen(s, 6), 1);
    EXPECT_EQ(FindOpenParen(s, 5), 3);
    EXPECT_EQ(FindOpenParen(s, 4), 3); // the group enclosing b
    EXPECT_EQ(FindOpenParen(s, 1), NoOpenParen);
    EXPECT_EQ(FindOpenParen(Scan(QStringLiteral("ab)")), 3), NoOpenParen);
    EXPECT_EQ(FindOpenParen(s, 500), NoOpenParen);

    const TTokenString args = Scan(QStringLiteral("(a,(b,c),d)"));
    EXPECT_EQ(CountArgs(args, 1, false), 3);
    EXPECT_EQ(CountArgs(args, 11, true), 3);
    EXPECT_EQ(CountArgs(args, 4, false), 2);
    EXPECT_EQ(BracketDelta(TokenCodes.OpenParen), 1);
    EXPECT_EQ(BracketDelta(TokenCodes.CloseParen), -1);
    EXPECT_EQ(BracketDelta(TokenCodes.OpenBracket), 0);
}

TEST_F(TokenizerTest, StripOuterParensRemovesOnlyMatchingPairs)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"((a)(b))", "(a)(b)", true},
        {"((a))", "(a)", true},
        {"(a)+(b)", "(a)+(b)", false},
        {"(((a)+(b)))", "(a)+(b)", true},
        {"((a)<(b))and((c)<(d))", "((a)<(b))and((c)<(d))", false},
        {"(a)", "(a)", false},
    };
    for (const auto& [input, expected, changed] : cases) {
        TTokenString t = Scan(QString::fromUtf8(input));
        EXPECT_EQ(StripOuterParens(t), changed) << input;
        EXPECT_EQ(TokensToText(t), QString::fromUtf8(expected)) << input;
    }
}

TEST_F(TokenizerTest, InsideOpenBinderSeesUnfinishedGroups)
{
    EXPECT_TRUE(InsideOpenBinder(TokenCodes.Cof, Scan(QStringLiteral("1+cof(1,x"))));
    EXPECT_FALSE(InsideOpenBinder(TokenCodes.Cof, Scan(QStringLiteral("cof(1,x)+x"))));
    EXPECT_FALSE(InsideOpenBinder(TokenCodes.Sol, Scan(QStringLiteral("x+1"))));
    // Only the last occurrence counts.
    EXPECT_TRUE(InsideOpenBinder(TokenCodes.Intgr, Scan(QStringLiteral("Intgr(x,0,1,x)+Intgr(x,0,x"))));
}

} // namespace
