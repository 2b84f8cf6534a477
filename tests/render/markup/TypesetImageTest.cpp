#include "model/Colors.h"
#include "model/Options.h"
#include "render/gfx/ImageHelpers.h"
#include "render/markup/TypesetImage.h"
#include "tests/QtPrinters.h"
#include "tests/render/GoldenFiles.h"
#include "tests/render/markup/MarkupTest.h"

namespace {

using TypesetImageTest = MarkupTest;

class CountingResultField final : public TCalculatorResultField {
public:
    QStringList Texts;
    void ShowResultText(const QString& text) override { Texts << text; }
};

TEST_F(TypesetImageTest, ImageTextTopCentresOneLine)
{
    const std::pair<int, int> cases[] = {{30, 7}, {31, 8}, {29, 6}, {16, 0}};
    for (const auto& [height, top] : cases) {
        TBitmap image(100, height);
        EXPECT_EQ(GetImageTextTop(image, 12), top) << height;
        EXPECT_EQ(image.Canvas().Font.Size(), 12);
    }
}

TEST_F(TypesetImageTest, RefitScalesShiftsOrLeavesTheDrawing)
{
    struct Case {
        int height;
        TImagePlacement first;
        TTypesetExtent drawn;
        TImagePlacement expected;
    } cases[] = {
        {31, {1, 22}, {50, -5, 45, 0}, {4, 13}},  // too tall: scaled by 30 / 50
        {31, {7, 22}, {50, 2, 20, 0}, {7, 22}},   // fits: unchanged
        {31, {7, 22}, {50, 2, 28, 0}, {3, 22}},   // bottom overflows: lifted onto the height
        {31, {7, 22}, {50, -10, 20, 0}, {10, 22}}, // top overflows: down to row 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(RefitToImage(c.height, c.first, c.drawn), c.expected) << c.height << ' ' << c.drawn.Top;
}

TEST_F(TypesetImageTest, ExponentToPowerOnlyTouchesExponentForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.5E-7", "1.5*10^(-7)"}, {"12", "12"}, {"1E20", "1*10^(20)"}, {"", ""},
    };
    for (const auto& [in, out] : cases) {
        QString text = QString::fromLatin1(in);
        ExponentToPower(text);
        EXPECT_EQ(text, QString::fromLatin1(out));
    }
    QString pair = QStringLiteral("(2,1.5E-7)+E");
    ExponentsToPowers(pair);
    EXPECT_EQ(pair, QStringLiteral("(2,1.5*10^(-7))+E"));
}

TEST_F(TypesetImageTest, ValuesGoToTheResultFieldAndShowAsPowersOfTen)
{
    CountingResultField field;
    ScopedCalculatorResultField install(field);
    TBitmap image(200, 30);
    DrawValueInImage(ValueReal(1.5E-7L), image, 12);
    DrawValueInImage(ValuePoint(1.0L, -2.5L), image, 12);
    DrawValueInImage(ValueUndefined(KindReal), image, 12);
    EXPECT_EQ(field.Texts, (QStringList{QStringLiteral("1.5E-7"), QStringLiteral("(1,-2.5)"), QStringLiteral("indefinido")}));
}

TEST_F(TypesetImageTest, ValueImageDisplayList)
{
    // The same drawing recorded: 1.5·10 with a raised −7, no letter E.
    TMetafile picture;
    picture.Width = 200;
    picture.Height = 40;
    TCanvas canvas = MakeMetafileCanvas(picture);
    QString formula = QStringLiteral("1.5E-7");
    ExponentsToPowers(formula);
    TTypesetOptions o;
    o.NestedFractions = true;
    DrawExpression(canvas, 3, 5, 13, Scan(formula), o);
    const QString dump = DumpMetafile(picture);
    EXPECT_TRUE(dump.contains(QStringLiteral("\"1.5\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("\"10\"")));
    EXPECT_TRUE(dump.contains(QStringLiteral("\"7\"")));
    EXPECT_FALSE(dump.contains(QStringLiteral("\"E\"")));
}

// Real fonts: a few formulas as the data panel rows and the calculator show
// them, within the tolerance of the platform's rasteriser.
class TypesetPictureTest : public EngineDocumentTest {};

TEST_F(TypesetPictureTest, FormulasInImagesMatchTheGoldens)
{
    ColorScheme.Reset();
    const std::pair<const char*, const char*> cases[] = {
        {"(x^2+1)/Sqrt(x-1)", "markup/fraction-radical.png"},
        {"sin^2 x+Sum(k,1,n,k^2)/(2a)", "markup/trig-sum.png"},
        {"PQ+Cbrt(a/b)-[x-1]", "markup/vector-cbrt-abs.png"},
    };
    for (const auto& [formula, golden] : cases) {
        TBitmap image(260, 44);
        QString text = QString::fromUtf8(formula);
        QString normalised;
        int caret = 0;
        TTokenString tokens;
        NormalizeExpressionText(text, normalised, caret, tokens);
        DrawExpressionInImage(image, 14, tokens, false, false);
        EXPECT_TRUE(MatchesImageGolden(image.Image(), QString::fromLatin1(golden), {48, 0.02})) << formula;
    }
}

// The leftmost and rightmost columns with ink inside the image's frame.
std::pair<int, int> InkColumns(const QImage& image)
{
    int left = image.width(), right = -1;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TTokenString Tokens(const char* formula)
{
    QString text = QString::fromUtf8(formula);
    QString normalised;
    int caret = 0;
    TTokenString tokens;
    NormalizeExpressionText(text, normalised, caret, tokens);
    return tokens;
}

// A formula that starts with a radical sign moves right just enough for the
// sign's hook to stay inside the frame, at every size; it is drawn whole, as
// it is where nothing cuts it. Any other formula starts at x = 3.
TEST_F(TypesetPictureTest, ARadicalSignAtTheStartIsNotCutByTheFrame)
{
    ColorScheme.Reset();
    for (const int fontSize : {10, 12, 18, 24, 36}) {
        const TTokenString radical = Tokens("Sqrt(2)");
        TBitmap image(200, 3 * fontSize);
        DrawExpressionInImage(image, fontSize, radical, false, false);
        TBitmap uncut(200, 3 * fontSize);
        ClearImageFramed(uncut);
        TTypesetOptions o;
        o.Color = ColorScheme.ColorPalette[4];
        const int shift = 40;
        DrawExpression(uncut.Canvas(), FormulaImageLeft + shift, GetImageTextTop(uncut, fontSize),
                       NearestInt(fontSize * 1.1L), radical, o);
        const auto [left, right] = InkColumns(image.Image());
        const auto [uncutLeft, uncutRight] = InkColumns(uncut.Image());
        EXPECT_GE(left, 1) << fontSize;
        EXPECT_EQ(right - left, uncutRight - uncutLeft) << fontSize << ": the hook was cut";
        EXPECT_LE(left, 2) << fontSize << ": moved further than the frame needs";
    }
    for (const char* formula : {"x+Sqrt(2)", "2", "(Sqrt(2))"}) {
        const TTokenString tokens = Tokens(formula);
        TBitmap image(200, 72), at3(200, 72);
        DrawExpressionInImage(image, 24, tokens, false, false);
        ClearImageFramed(at3);
        TTypesetOptions o;
        o.Color = ColorScheme.ColorPalette[4];
        DrawExpression(at3.Canvas(), 3, GetImageTextTop(at3, 24), NearestInt(24 * 1.1L), tokens, o);
        DrawImageBevel(at3);
        EXPECT_EQ(image.Image(), at3.Image()) << formula;
    }
}

} // namespace
