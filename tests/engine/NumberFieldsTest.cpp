#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/QtPrinters.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

namespace {

class PointTextsTest : public EngineTest {
protected:
    static TPointFunction Joined(const char* x, const char* y)
    {
        TPointFunction p;
        p.X.Text = QString::fromUtf8(x);
        p.Y.Text = QString::fromUtf8(y);
        JoinPointTexts(p, PointTextDirection::Join);
        return p;
    }
    static TPointFunction Split(const char* pos)
    {
        TPointFunction p;
        p.Pos.Text = QString::fromUtf8(pos);
        JoinPointTexts(p, PointTextDirection::Split);
        return p;
    }
};

TEST_F(PointTextsTest, JoiningCoordinates)
{
    EXPECT_EQ(Joined("(P+Q).x", "(P+Q).y").Pos.Text, QStringLiteral("P+Q"));
    EXPECT_EQ(Joined(" (P+Q).x ", "(P+Q).y").Pos.Text, QStringLiteral("P+Q"));
    EXPECT_EQ(Joined("1", "2").Pos.Text, QStringLiteral("(1,2)"));
    EXPECT_EQ(Joined("(P+Q).x", "(P-Q).y").Pos.Text, QStringLiteral("((P+Q).x,(P-Q).y)"));
    EXPECT_EQ(Joined("(P).x+(Q).x", "(P).y").Pos.Text, QStringLiteral("((P).x+(Q).x,(P).y)"));
    EXPECT_EQ(Joined("", "").Pos.Text, QString());
    // Both coordinates read from one base, but not as its x and y.
    EXPECT_EQ(Joined("(P).x", "(P).x").Pos.Text, QStringLiteral("((P).x,(P).x)"));
    EXPECT_EQ(Joined("(P).y", "(P).x").Pos.Text, QStringLiteral("((P).y,(P).x)"));
    UseCommaLocale();
    EXPECT_EQ(Joined("1", "2").Pos.Text, QStringLiteral("(1;2)"));
}

TEST_F(PointTextsTest, SplittingPositions)
{
    TPointFunction p = Split("(a, (b, c))");
    EXPECT_EQ(p.X.Text, QStringLiteral("a"));
    EXPECT_EQ(p.Y.Text, QStringLiteral("(b, c)"));
    p = Split("P+Q");
    EXPECT_EQ(p.X.Text, QStringLiteral("(P+Q).x"));
    EXPECT_EQ(p.Y.Text, QStringLiteral("(P+Q).y"));
    p = Split("(1,2)+(3,4)"); // the first "(" closes early: no pair
    EXPECT_EQ(p.X.Text, QStringLiteral("((1,2)+(3,4)).x"));
    p = Split("  ");
    EXPECT_TRUE(p.X.Text.isEmpty());
    EXPECT_TRUE(p.Y.Text.isEmpty());
}

TEST_F(PointTextsTest, PairCommaAndSelectorBase)
{
    EXPECT_EQ(FindPairComma(QStringLiteral("(a,b)")), 3);
    EXPECT_EQ(FindPairComma(QStringLiteral("(a,(b,c))")), 3);
    EXPECT_EQ(FindPairComma(QStringLiteral("(a)+(b,c)")), 0);
    EXPECT_EQ(FindPairComma(QStringLiteral("a,b")), 0);
    EXPECT_EQ(FindPairComma(QStringLiteral("(ab)")), 0);
    QString t = QStringLiteral(" (P+Q).y ");
    EXPECT_EQ(SelectorBase(t), 5);
    EXPECT_EQ(t, QStringLiteral("(P+Q).y"));
    t = QStringLiteral("(P).x+(Q).x");
    EXPECT_EQ(SelectorBase(t), 0);
    t = QStringLiteral("P.x");
    EXPECT_EQ(SelectorBase(t), 0);
}

TEST_F(PointTextsTest, LegacyFormulasAreRewrittenByVersion)
{
    struct Case {
        const char* header;
        const char* text;
        const char* converted;
    };
    const Case cases[] = {
        {"Kaviro/win 1.6", "Q+Qx", "@+Q.x"},
        {"Kaviro/win 1.6", "2Q", "2@"},
        {"Kaviro/win 1.7", "Q+Qx", "Q+Q.x"},
        {"Kaviro/win 2.3", "Max(pas(P,Q),1)", "max(path(P,Q),1)"},
        {"Kaviro/win 2.3", "Min(1,2)+Qx", "min(1,2)+Q.x"},
        {"Kaviro/win 2.4", "max(path(P,Q),1)", "max(path(P,Q),1)"},
        {"Kaviro/win 1.6", "Max(Q,1)", "max(@,1)"},
    };
    for (const Case& c : cases) {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(c.text);
        ConvertLegacyExpression(f, ModePlain, QString::fromUtf8(c.header));
        EXPECT_EQ(f.Text, QString::fromUtf8(c.converted)) << c.header << " " << c.text;
    }
}

// A number field takes one value: a formula that leaves more is refused
// like any other text that is no number.
TEST_F(PointTextsTest, NumberFieldRefusesAFormulaWithSeveralValues)
{
    platform::RecordingMessageSink sink;
    platform::ScopedMessageSink scope(sink);
    struct Case {
        const char* text;
        bool comma; // the decimal point is ","
        bool accepted;
        long double value;
    };
    const Case cases[] = {
        {"2,5", false, false, 7.0L}, // two values where the decimal point is "."
        {"1,2,3", false, false, 7.0L},
        {"x 2", false, false, 7.0L},
        {"max(1,5)", false, true, 5.0L},
        {"(1+1)·2", false, true, 4.0L},
        // The comma locale, once switched, stays for the rest.
        {"2;5", true, false, 7.0L},
        {"2,5", true, true, 2.5L},
    };
    for (const Case& c : cases) {
        if (c.comma)
            UseCommaLocale();
        sink.clear();
        QString text = QString::fromUtf8(c.text);
        long double x = 7.0L;
        EXPECT_EQ(ParseNumberText(text, x, true), c.accepted) << c.text;
        EXPECT_EQ(x, c.value) << c.text;
        if (!c.accepted) {
            EXPECT_EQ(text, QStringLiteral("7")) << c.text;
            ASSERT_EQ(sink.messages().size(), 1u) << c.text;
            EXPECT_EQ(sink.last().text, QStringLiteral("Tipo numérico inválido"));
        }
        EXPECT_EQ(sink.empty(), c.accepted) << c.text;
    }
}

} // namespace
