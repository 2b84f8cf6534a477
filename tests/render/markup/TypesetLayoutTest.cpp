#include "model/Settings.h"
#include "render/markup/TypesetLayout.h"
#include "tests/QtPrinters.h"
#include "tests/render/GoldenFiles.h"
#include "tests/render/markup/MarkupTest.h"

#include <QRegularExpression>

namespace {

using namespace DisplayCode;

class TypesetLayoutTest : public MarkupTest {
protected:
    TTypesetExtent Lay(Recording& r, const QString& formula, int size, const TTypesetOptions& o = {}, int x = 0,
                       int y = 0)
    {
        return DrawMarkup(r.Canvas, x, y, size, ExpressionToMarkup(Scan(formula)), o);
    }
    // The dump's lines that draw text, as "x,y height text".
    static QStringList Texts(const QString& dump)
    {
        static const QRegularExpression text(QStringLiteral("^text (-?\\d+,-?\\d+) font\\(\"[^\"]*\" (-?\\d+)[^)]*\\) \"(.*)\"$"));
        QStringList out;
        for (const QString& line : dump.split(u'\n')) {
            const QRegularExpressionMatch m = text.match(line);
            if (m.hasMatch())
                out << m.captured(1) + u' ' + m.captured(2) + u' ' + m.captured(3);
        }
        return out;
    }
    static QStringList Lines(const QString& dump)
    {
        QStringList out;
        for (const QString& line : dump.split(u'\n')) {
            if (line.startsWith(QStringLiteral("polyline")))
                out << line.section(u')', 1).trimmed();
        }
        return out;
    }
};

TEST_F(TypesetLayoutTest, EmptyStringMeasuresHalfSizeBySizeAndDrawsNothing)
{
    Recording r(100, 100);
    r.Canvas.Pen.Width = 7;
    EXPECT_EQ(DrawMarkup(r.Canvas, 5, 5, 20, QStringView(), {}), (TTypesetExtent{10, 0, 20, 20}));
    EXPECT_TRUE(r.Picture.IsEmpty());
    EXPECT_EQ(r.Canvas.Pen.Width, 7); // the canvas is not touched
}

TEST_F(TypesetLayoutTest, DrawExpressionTypesetsAtFourThirdsOfTheFontSize)
{
    Recording a(200, 100), b(200, 100);
    const TTypesetExtent viaFont = DrawExpression(a.Canvas, 0, 0, 12, Scan(QStringLiteral("x+1")), {});
    TTypesetExtent direct = DrawMarkup(b.Canvas, 0, 0, 16, ExpressionToMarkup(Scan(QStringLiteral("x+1"))), {});
    direct.FullBottom = 0;
    EXPECT_EQ(viaFont, direct);
    EXPECT_EQ(a.Dump(), b.Dump());
    EXPECT_TRUE(Texts(a.Dump()).first().contains(QStringLiteral(" -16 x")));
}

TEST_F(TypesetLayoutTest, FractionBarAndCentredNarrowerPart)
{
    // Fake metrics: a bold italic letter at 30 px advances 16.
    Recording r(200, 200);
    const TTypesetExtent e = Lay(r, QStringLiteral("a/b"), 30, {}, 10, 50);
    EXPECT_EQ(Lines(r.Dump()), QStringList{QStringLiteral("13,66 35,66")}); // (x0+3, y0+16) to (x0+9+16, y0+16)
    EXPECT_EQ(e.Width, 3 + 6 + 16 + 15); // the fraction, then the trailing blank

    Recording wide(200, 200);
    Lay(wide, QStringLiteral("ab/c"), 30, {}, 0, 0);
    // ab is 16 + 2 (italic gap) + 16 = 34 wide; c (16) is centred under it.
    const QStringList texts = Texts(wide.Dump());
    ASSERT_EQ(texts.size(), 3); // a, b, c: the trailing blank leaves no ink
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("6,"))) << qPrintable(texts[0]);
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("24,"))) << qPrintable(texts[1]);
    EXPECT_TRUE(texts[2].startsWith(QStringLiteral("15,"))) << qPrintable(texts[2]);
}

TEST_F(TypesetLayoutTest, ExponentIsSmallerRaisedAndShifted)
{
    Recording r(200, 200);
    Lay(r, QStringLiteral("x^2"), 30, {}, 10, 50);
    const QStringList texts = Texts(r.Dump());
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("10,50 -30 x"));
    EXPECT_EQ(texts[1], QStringLiteral("28,48 -20 2")); // 16 + pw right, pw above, round(0.65 × 30)
}

// Relation signs and the minus stand on the line of the letters around them,
// as "≤" and "+" do: none is raised.
TEST_F(TypesetLayoutTest, RelationSignsSitOnTheLineOfTheirOperands)
{
    for (const char* f : {"y<x", "y>x", "y=x", "y<=x", "y-x", "y+x"}) {
        Recording r(200, 100);
        Lay(r, QString::fromUtf8(f), 30, {}, 10, 50);
        const QStringList texts = Texts(r.Dump());
        ASSERT_EQ(texts.size(), 3) << f;
        for (const QString& text : texts)
            EXPECT_EQ(text.section(u' ', 0, 0).section(u',', 1), QStringLiteral("50")) << f << ' ' << qPrintable(text);
    }
}

TEST_F(TypesetLayoutTest, StrayClosersAreDroppedAndTheRestIsDrawn)
{
    for (const TTokenCode stray : {GroupEnd, RadicandEnd, ExponentEnd, NumeratorEnd, DenominatorStart, DenominatorEnd}) {
        Recording r(200, 100);
        const TTokenString tokens = MakeTokenString({TokenCodes.VarX, stray, TokenCodes.Plus, TokenCodes.VarY});
        DrawMarkup(r.Canvas, 0, 0, 20, tokens, {});
        const QStringList texts = Texts(r.Dump());
        ASSERT_EQ(texts.size(), 3) << int(stray);
        EXPECT_TRUE(texts[2].endsWith(u" y"));
    }
}

TEST_F(TypesetLayoutTest, MeasuringDrawsNothingAndMeasuresTheSame)
{
    for (const char* f : {"Sqrt(x+1)/(2a)", "sin^2 x+cos(x)", "Sum(k,1,10,k^2)", "PQ", "[x-1]"}) {
        Recording drawn(300, 200), measured(300, 200);
        TTypesetOptions quiet;
        quiet.Draw = false;
        EXPECT_EQ(Lay(drawn, QString::fromUtf8(f), 24), Lay(measured, QString::fromUtf8(f), 24, quiet)) << f;
        EXPECT_TRUE(measured.Picture.IsEmpty()) << f;
        EXPECT_FALSE(drawn.Picture.IsEmpty()) << f;
    }
}

// A radical sign's cell starts size div 5 left of the radical; only one at
// the start of what is laid out (or at the start of a nested part that
// starts there) reaches left of the layout's start.
TEST_F(TypesetLayoutTest, LeftTellsHowFarARadicalSignHangsBeforeTheStart)
{
    const std::pair<const char*, int> cases[] = {
        {"Sqrt(x)", -7},       {"Cbrt(x)", -7}, {"conj(z)", 0}, {"x+Sqrt(y)", 0}, {"(Sqrt(x))", 0},
        {"Sqrt(x)/2", -7 + 6}, // the numerator starts 2 sp in
        {"Sqrt(Sqrt(x))", -7}, {"x^2", 0},
    };
    for (const auto& [formula, left] : cases) {
        Recording r(300, 200);
        EXPECT_EQ(Lay(r, QString::fromUtf8(formula), 35, {}, 40, 40).Left, left) << formula;
    }
}

TEST_F(TypesetLayoutTest, FontIsRestoredPenIsLeftAsTheLayoutSetIt)
{
    Recording r(300, 200);
    r.Canvas.Font.Name = QStringLiteral("Arial");
    r.Canvas.Font.Height = -11;
    r.Canvas.Font.Color = 0x123456;
    TTypesetOptions calculator;
    calculator.CalculatorStyle = true;
    calculator.Color = 0x00FF00;
    Lay(r, QStringLiteral("Sqrt(x)"), 30, calculator);
    EXPECT_EQ(r.Canvas.Font.Name, QStringLiteral("Arial"));
    EXPECT_EQ(r.Canvas.Font.Height, -11);
    EXPECT_EQ(r.Canvas.Font.Color, 0x123456u);
    EXPECT_EQ(r.Canvas.Pen.Mode, TPenMode::Mask);
    EXPECT_EQ(r.Canvas.Brush.Style, TBrushStyle::Clear);
}

TEST_F(TypesetLayoutTest, UnscannedRestAndOpenBracket)
{
    Recording plain(300, 100), calculator(300, 100);
    TTypesetOptions calc;
    calc.CalculatorStyle = true;
    Lay(plain, QStringLiteral("2x$"), 20);
    Lay(calculator, QStringLiteral("2x$"), 20, calc);
    EXPECT_TRUE(plain.Dump().contains(QStringLiteral("000000) \"$\"")));
    EXPECT_TRUE(calculator.Dump().contains(QStringLiteral("0000FF) \"$\""))); // red: the dump shows the colour number

    // A "(" group without its ")" draws only the opening bracket.
    Recording open(300, 100);
    DrawMarkup(open.Canvas, 0, 0, 20, MakeTokenString({TokenCodes.OpenParen, TokenCodes.VarX}), {});
    const QStringList texts = Texts(open.Dump());
    EXPECT_EQ(texts.filter(QRegularExpression(QStringLiteral(" \\($"))).size(), 1);
    EXPECT_EQ(texts.filter(QRegularExpression(QStringLiteral(" \\)$"))).size(), 0);
}

TEST_F(TypesetLayoutTest, CalculatorFramesGroupsWhileFunctionAreaIsOn)
{
    ProgramSettings.FunctionArea = 1;
    Recording r(300, 100);
    TTypesetOptions calc;
    calc.CalculatorStyle = true;
    Lay(r, QStringLiteral("sin(x)"), 30, calc);
    ProgramSettings.FunctionArea = 0;
    EXPECT_TRUE(r.Dump().contains(QStringLiteral("rectangle pen(A0FFA0 2 solid mask)")));
}

// The display lists of typical formulas, exact with the fake metrics.
TEST_F(TypesetLayoutTest, DisplayListsMatchTheGolden)
{
    const char* formulas[] = {
        "a/b", "(a/b)/c", "a/", "x^2+y^2<=r^2", "sin^2 x+cos^2 x=1", "Sqrt(x+1)", "Cbrt(x)-conj(z)",
        "Sum(k,1,10,k^2)", "Intgr(x,0,1,x^2)", "PQ+[PQ]", "abs(x-1)", "f(x)-f'(x)", "e^(-x^2/2)", "Pi·@", "2x$",
    };
    QString all;
    for (const char* f : formulas) {
        for (const bool nested : {false, true}) {
            Recording r(400, 200);
            TTypesetOptions o;
            o.Color = 0x800000;
            o.NestedFractions = nested;
            const TTypesetExtent e = Lay(r, QString::fromUtf8(f), 24, o, 10, 60);
            all += QStringLiteral("== %1%2: width %3 top %4 bottom %5 full %6\n")
                       .arg(QString::fromUtf8(f), nested ? QStringLiteral(" (nested)") : QString())
                       .arg(e.Width).arg(e.Top).arg(e.Bottom).arg(e.FullBottom);
            all += r.Dump();
            if (!QString::fromUtf8(f).contains(u'/'))
                break;
        }
    }
    EXPECT_TRUE(MatchesTextGolden(all, QStringLiteral("markup/typeset.txt")));
}

} // namespace
