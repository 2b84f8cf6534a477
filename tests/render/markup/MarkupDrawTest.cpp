#include "model/DocumentState.h"
#include "model/ProgramState.h"
#include "render/markup/MarkupDraw.h"
#include "render/markup/MarkupTranslate.h"
#include "render/markup/ObjectLabel.h"
#include "tests/QtPrinters.h"
#include "tests/render/GoldenFiles.h"
#include "tests/render/markup/MarkupTest.h"

namespace {

class MarkupDrawTest : public MarkupTest {
protected:
    // The base font: 16 px Arial, so the fake's cell is 20 high with ascent 16.
    static void UseBaseFont(TCanvas& canvas)
    {
        canvas.Font = TFont{};
        canvas.Font.Name = QStringLiteral("Arial");
        canvas.Font.Height = -16;
    }
    QString Draw(const char* text, TMarkupExtent* extent = nullptr, TMarkupOptions o = {})
    {
        Recording r(300, 100);
        UseBaseFont(r.Canvas);
        const TMarkupExtent e = DrawMarkupLine(r.Canvas, QString::fromUtf8(text), 10, 20, o);
        if (extent)
            *extent = e;
        EXPECT_EQ(r.Canvas.Font.Height, -16); // the base font is back
        return r.Dump();
    }
};

TEST_F(MarkupDrawTest, RunsTakeStyleAndColour)
{
    const QString dump = Draw("<b>x</B>y<RED>a</RED>b");
    EXPECT_TRUE(dump.contains(QStringLiteral("text 10,20 font(\"Arial\" -16 bold 000000) \"x\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("text 19,20 font(\"Arial\" -16 000000) \"y\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial\" -16 0000FF) \"a\""))); // red as a colour number
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial\" -16 000000) \"b\"")));
}

TEST_F(MarkupDrawTest, CommentLinesDrawNothing)
{
    TMarkupExtent e;
    const QString dump = Draw("// a note to myself <b>x", &e);
    EXPECT_EQ(dump.count(u'\n'), 1); // just the size line
    EXPECT_EQ(e.Height(), 0);
}

TEST_F(MarkupDrawTest, ColourControlsWithoutSixHexDigitsKeepTheColour)
{
    for (const char* text : {"\x11" "12G456x", "\x11" "12", "\x11"}) {
        Recording r(300, 100);
        UseBaseFont(r.Canvas);
        TMarkupOptions o;
        o.BaseColor = 0x445566;
        DrawTranslatedMarkup(r.Canvas, QString::fromLatin1(text) + QStringLiteral("z"), 0, 20, o);
        const QString dump = r.Dump();
        EXPECT_FALSE(dump.contains(QStringLiteral("12G"))) << text;
        EXPECT_TRUE(dump.isEmpty() || !dump.contains(QStringLiteral(" 123456)"))) << text;
        for (const QString& line : dump.split(u'\n', Qt::SkipEmptyParts).mid(1))
            EXPECT_TRUE(line.contains(QStringLiteral("445566"))) << qPrintable(line);
    }
}

TEST_F(MarkupDrawTest, SizesRaiseAndSymbolRuns)
{
    const QString dump = Draw("H<SUB>2</SUB>O x<SUP>2</SUP> <L>L</L><S>s</S> <Symbol>p</Symbol> ∞");
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial\" -10 000000) \"2\""))); // 0.6 of 16
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial\" -21 000000) \"L\""))); // 1.3 of 16
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial\" -11 000000) \"s\""))); // 0.7 of 16
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Times New Roman\" -18 000000) \"p\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial Unicode MS\" -16 000000) \"∞\"")));
}

TEST_F(MarkupDrawTest, ValueFieldsInExponentFormShowAsPowersOfTen)
{
    // The translated text keeps the general format; the formula group shows
    // 1.5·10 with a raised −7 instead of reading E as an object letter.
    EXPECT_EQ(TranslateMarkup(ModePlain, QStringLiteral("!{1.5/10^7}")), QStringLiteral("{1.5E-7}"));
    const QString dump = Draw("!{1.5/10^7}");
    for (const char* part : {"\"1.5\"", "\"·\"", "\"10\"", "\"7\""})
        EXPECT_TRUE(dump.contains(QString::fromUtf8(part))) << part;
    EXPECT_FALSE(dump.contains(QStringLiteral("\"E\"")));
}

TEST_F(MarkupDrawTest, FractionsSplitOutsideTheirFormulaGroups)
{
    const QString dump = Draw("<frac>{a/b}/2</frac>");
    // Numerator: the typeset a/b (one more bar); denominator: the text 2.
    EXPECT_EQ(dump.count(QStringLiteral("polyline")), 2);
    EXPECT_TRUE(dump.contains(QStringLiteral("font(\"Arial\" -16 000000) \"2\"")));
}

// Labels with fields, formula groups, fractions and arrows, exact with the
// fake metrics.
TEST_F(MarkupDrawTest, LabelDisplayListsMatchTheGolden)
{
    DocumentTables.Params[1].Value = 0.5L; // a
    const char* texts[] = {
        "a = !{a|3} and a/3 = {a/3}",
        "y = 2x+!{a}x-!{-1}",
        "p(x) = ?{(x-1)^2}",
        "v{AB} has length !{1.5/10^7}",
        "~f{1|2} of <frac>x+1/2</frac>",
        "<Color=#00C000>green {Sqrt(x)}</Color> back",
        "<i>f</i><SUB>n</SUB>(x) = x<SUP>n</SUP>",
    };
    QString all;
    for (const char* text : texts) {
        TMarkupExtent e;
        TMarkupOptions o;
        o.BaseColor = 0x202020;
        const QString dump = Draw(text, &e, o);
        all += QStringLiteral("== %1: right %2 top %3 bottom %4\n").arg(QString::fromUtf8(text)).arg(e.Right).arg(e.Top).arg(e.Bottom);
        all += dump;
    }
    EXPECT_TRUE(MatchesTextGolden(all, QStringLiteral("markup/labels.txt")));
}

TEST_F(MarkupDrawTest, ObjectLabelPositions)
{
    const TRect view{0, 0, 400, 300};
    const QSize label(20, 10);
    const QPoint anchor(100, 100);
    const std::pair<int, QPoint> cases[] = {
        {1, {78, 88}}, {2, {78, 102}}, {3, {102, 88}}, {4, {102, 102}}, {5, {90, 95}},
        {6, {90, 86}}, {7, {90, 104}}, {8, {76, 95}}, {9, {104, 95}}, {0, {100, 100}},
    };
    for (const auto& [position, at] : cases)
        EXPECT_EQ(ObjectLabelTopLeft(position, anchor, label, 12, 1, view), at) << position;
    // Lines keep their labels on the view's edges.
    EXPECT_EQ(ObjectLabelTopLeft(1, anchor, label, 12, HorizontalLineObject, view), QPoint(2, 88));
    EXPECT_EQ(ObjectLabelTopLeft(9, anchor, label, 12, HorizontalLineObject, view), QPoint(380, 95));
    EXPECT_EQ(ObjectLabelTopLeft(6, anchor, label, 12, HorizontalLineObject, view), QPoint(190, 86));
    EXPECT_EQ(ObjectLabelTopLeft(3, anchor, label, 12, VerticalLineObject, view), QPoint(102, 2));
    EXPECT_EQ(ObjectLabelTopLeft(7, anchor, label, 12, VerticalLineObject, view), QPoint(90, 288));
    EXPECT_EQ(ObjectLabelTopLeft(8, anchor, label, 12, VerticalLineObject, view), QPoint(76, 145));
}

TEST_F(MarkupDrawTest, ObjectLabelIsCentredAtPositionFiveAndMagnified)
{
    ProgramState.FontSize = 12;
    for (const int magnification : {1, 4}) {
        Recording r(2000, 2000);
        r.Canvas.Font.Color = 0x0000FF;
        const TDrawContext context{magnification};
        DrawObjectLabel(r.Canvas, 5, QStringLiteral("P"), 1, QPoint(500, 500), {0, 0, 2000, 2000}, 1, context);
        // 13 points magnified. The advance is measured at the screen size and
        // multiplied back; the fake's cell is e + e/4 high.
        const int em = (13 * magnification * 96 + 36) / 72;
        const int w = ((em / magnification + 1) / 2) * magnification;
        const int h = em + em / 4;
        const QString expected = QStringLiteral("text %1,%2 font(\"Arial\" -%3 000000) \"P\"")
                                     .arg(500 - w / 2).arg(500 - h / 2).arg(em);
        EXPECT_TRUE(r.Dump().contains(expected)) << qPrintable(r.Dump()) << qPrintable(expected);
        EXPECT_EQ(r.Canvas.Font.Color, 0x0000FFu);
    }
}

} // namespace
