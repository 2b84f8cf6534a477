#include "render/markup/TypesetDisplay.h"
#include "tests/QtPrinters.h"
#include "tests/render/markup/MarkupTest.h"

namespace {

using namespace DisplayCode;
using TypesetDisplayTest = MarkupTest;

TEST_F(TypesetDisplayTest, FormulasBecomeDisplayStrings)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a/b", "ι a θ / η b ζ _"},
        {"x^2", "δ x ^ 2 λ _"},
        {"sin^2 x", "δ δ sin ^ 2 λ x ε _"}, // the exponent sits on the name
        {"Sqrt(x+1)", "δ Sqrt x + 1 κ _"},
        {"Cbrt(x)", "δ Cbrt x κ _"},
        {"conj(z)", "δ conj z κ _"},
        {"(a/b)/c", "ι ( ι a θ / η b ζ ) θ / η c ζ _"},
        {"a/", "ι a θ / _"},
        {"2x/3", "ι 2 x θ / η 3 ζ _"},
        {"2x$", "2 x _ error $"}, // the unscanned rest is kept raw
        {"PQ", "δ γ P Q β ε _"},
        {"[PQ]", "δ δ P Q ε ε _"},
        {"abs(x-1)", "δ [ x - 1 ] ε _"},
        {"(1,2)", "δ ( 1 , 2 ) ε _"}, // the point constructor is gone
        {"x!", "δ x ! ε _"},
        {"P.x", "δ P .x ε _"},
        {"Sum(k,1,10,k^2)", "δ Sum ( k , 1 , 1 0 , δ k ^ 2 λ ) ε _"},
        {"f(x)+f'(x)", "δ f ( x ) ε + δ f ' ( x ) ε _"},
        {"sin x cos x", "δ sin x ε δ cos x ε _"},
        {"(x+1)^2", "δ ( x + 1 ) ^ 2 λ _"},
        {"1.5+x", "1 . 5 + x _"}, // constants spelt with digits again
        {"", "_"},
    };
    for (const auto& [formula, expected] : cases)
        EXPECT_EQ(Display(QString::fromUtf8(formula)), QString::fromUtf8(expected)) << formula;
}

// While an argument is being typed its bracket is not closed yet: the
// preview shows it closed once, never a doubled opening bracket.
TEST_F(TypesetDisplayTest, UnfinishedArgumentsShowOneBracketPair)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a*sin(x", "a · δ sin ( x )"},
        {"sin(x+1", "δ sin ( x + 1 )"},
        {"sin(", "δ sin ( )"},
        {"max(1,x", "δ max ( 1 , x )"},
        {"sin(cos(x", "δ sin ( δ cos ( x ) ε"}, // the inner call closed, the outer as typed
        {"sin(x^2", "δ sin ( δ x ^ 2 λ )"},
        {"2*(x", "2 · ( x _"}, // a bracket of the formula's own stays as typed
        {"a*sin(x)", "a · δ sin ( x ) ε _"},
        {"max(1,x)", "δ max ( 1 , x ) ε _"},
    };
    for (const auto& [formula, expected] : cases)
        EXPECT_EQ(Display(QString::fromUtf8(formula)), QString::fromUtf8(expected)) << formula;
}

TEST_F(TypesetDisplayTest, NumbersFollowTheLocaleSeparator)
{
    UseCommaLocale();
    EXPECT_EQ(Display(QStringLiteral("1,5+x")), QStringLiteral("1 , 5 + x _"));
    const TTokenString display = ExpressionToMarkup(Scan(QStringLiteral("1,5")));
    EXPECT_EQ(display[1].unicode(), TokenCodes.DecimalPoint);
}

TEST_F(TypesetDisplayTest, ExtractGroupTakesTheBalancedGroup)
{
    const TWideCharSet open = SetOf({TokenCodes.OpenParen});
    const TWideCharSet close = SetOf({TokenCodes.CloseParen});
    TTokenString tokens = Scan(QStringLiteral("(a(b)c)d"));
    TExtractedGroup g = ExtractGroup(open, close, tokens);
    EXPECT_FALSE(g.Unclosed);
    EXPECT_EQ(Readable(g.Group), QStringLiteral("a ( b ) c"));
    EXPECT_EQ(Readable(tokens), QStringLiteral("d"));

    tokens = Scan(QStringLiteral("(ab"));
    g = ExtractGroup(open, close, tokens);
    EXPECT_TRUE(g.Unclosed);
    EXPECT_EQ(Readable(g.Group), QStringLiteral("a b"));
    EXPECT_TRUE(tokens.isEmpty());

    // A δ group ends at whichever closer comes first at its level.
    tokens = MakeTokenString({GroupStart, TokenCodes.VarX, TokenCodes.Power, TokenCodes.Digit0, ExponentEnd,
                              TokenCodes.Plus});
    g = ExtractGroup(SetOf({GroupStart}), SetOf({GroupEnd, RadicandEnd, ExponentEnd}), tokens);
    EXPECT_EQ(Readable(g.Group), QStringLiteral("x ^ 0"));
    EXPECT_EQ(Readable(tokens), QStringLiteral("+"));
}

TEST_F(TypesetDisplayTest, SplitFractionFlattensInnerFractionsUnlessNested)
{
    const TTokenString display = ExpressionToMarkup(Scan(QStringLiteral("(a/b)/c")));
    TTokenString numerator, denominator;

    TTokenString tokens = display;
    SplitFraction(tokens, numerator, denominator, false);
    EXPECT_EQ(Readable(numerator), QStringLiteral("δ δ a ε / δ b ε ε"));
    EXPECT_EQ(Readable(denominator), QStringLiteral("c"));
    EXPECT_EQ(Readable(tokens), QStringLiteral("_"));

    tokens = display;
    SplitFraction(tokens, numerator, denominator, true);
    EXPECT_EQ(Readable(numerator), QStringLiteral("ι a θ / η b ζ"));

    // «a/»: nothing below the line, and what follows stays in the formula.
    tokens = ExpressionToMarkup(Scan(QStringLiteral("a/")));
    SplitFraction(tokens, numerator, denominator, false);
    EXPECT_EQ(Readable(numerator), QStringLiteral("a"));
    EXPECT_TRUE(denominator.isEmpty());
    EXPECT_EQ(Readable(tokens), QStringLiteral("_"));
}

TEST_F(TypesetDisplayTest, FlattenFractionsRewritesEveryFractionCode)
{
    TTokenString part = MakeTokenString({NumeratorStart, TokenCodes.VarX, NumeratorEnd, TokenCodes.Divide,
                                         DenominatorStart, TokenCodes.VarY, DenominatorEnd});
    FlattenFractions(part);
    EXPECT_EQ(Readable(part), QStringLiteral("δ δ x ε / δ y ε ε"));
}

} // namespace
