#include "render/markup/TypesetImage.h"

#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "model/Colors.h"
#include "model/NumberText.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "render/gfx/ImageHelpers.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// The document prints values with 15 significant digits.
constexpr int ValueDigits = 15;

TTypesetOptions ImageOptions(bool calculatorStyle, bool nestedFractions, const TDrawContext& context)
{
    TTypesetOptions o;
    o.Color = ColorScheme.ColorPalette[4];
    o.CalculatorStyle = calculatorStyle;
    o.NestedFractions = nestedFractions;
    o.Context = context;
    return o;
}

} // namespace

TCalculatorResultField& CurrentCalculatorResultField()
{
    return platform::InstalledOr<TCalculatorResultField, NoCalculatorResultField>();
}

int GetImageTextTop(TBitmap& image, int fontSize)
{
    image.Canvas().Font.SetSize(fontSize);
    return NearestInt((image.Height() - 96.0L / 72.0L * fontSize) / 2.0L);
}

int FormulaLeftInFrame(const TTypesetExtent& drawn)
{
    return std::max(FormulaImageLeft, 1 - drawn.Left);
}

TImagePlacement RefitToImage(int imageHeight, const TImagePlacement& first, const TTypesetExtent& drawn)
{
    TImagePlacement p = first;
    const int tall = drawn.Bottom - drawn.Top;
    if (first.Top + drawn.Top >= 1 && first.Top + drawn.Bottom < imageHeight)
        return p;
    if (tall > imageHeight - 1) {
        const long double factor = static_cast<long double>(imageHeight - 1) / tall;
        p.FontSize = NearestInt(first.FontSize * factor);
        p.Top = 1 - NearestInt(drawn.Top * factor);
    } else if (first.Top + drawn.Bottom >= imageHeight) {
        p.Top = first.Top - (first.Top + drawn.Bottom - imageHeight);
    } else {
        p.Top = first.Top - (first.Top + drawn.Top);
    }
    return p;
}

void DrawExpressionInImage(TBitmap& image, int fontSize, const TTokenString& tokens, bool calculatorStyle,
                           bool nestedFractions, const TDrawContext& context)
{
    ClearImageFramed(image);
    const TTypesetOptions options = ImageOptions(calculatorStyle, nestedFractions, context);
    const TImagePlacement first{GetImageTextTop(image, fontSize), NearestInt(fontSize * 1.1L)};
    const TTypesetExtent drawn =
        DrawExpression(image.Canvas(), FormulaImageLeft, first.Top, first.FontSize, tokens, options);
    const TImagePlacement again = RefitToImage(image.Height(), first, drawn);
    const int left = FormulaLeftInFrame(drawn);
    if (again == first && left == FormulaImageLeft) {
        DrawImageBevel(image);
        return;
    }
    ClearImageFramed(image);
    DrawExpression(image.Canvas(), left, again.Top, again.FontSize, tokens, options);
    DrawImageBevel(image);
}

void ExponentToPower(QString& numberText)
{
    const qsizetype e = numberText.indexOf(u'E');
    if (e < 0)
        return;
    numberText.replace(e, 1, QStringLiteral("*10^("));
    numberText += u')';
}

void ExponentsToPowers(QString& formulaText)
{
    if (!formulaText.contains(u'E'))
        return;
    // A number in exponent form that is not the tail of a name or of another number.
    static QChar decimal;
    static QRegularExpression number;
    if (decimal != Separators.DecimalChar || number.pattern().isEmpty()) {
        decimal = Separators.DecimalChar;
        const QString d = QRegularExpression::escape(QString(decimal));
        number.setPattern(QStringLiteral("(?<![\\w%1])\\d+(%1\\d+)?E-?\\d+").arg(d));
    }
    QString out;
    qsizetype pos = 0;
    for (const QRegularExpressionMatch& m : number.globalMatch(formulaText)) {
        QString n = m.captured(0);
        ExponentToPower(n);
        out += QStringView(formulaText).mid(pos, m.capturedStart() - pos);
        out += n;
        pos = m.capturedEnd();
    }
    out += QStringView(formulaText).mid(pos);
    formulaText = out;
}

QString ValueText(const TValue& value)
{
    const QChar decimal = Separators.DecimalChar;
    if (!value.Defined)
        return QStringLiteral("indefinido");
    if (value.Kind != KindPair)
        return FormatGeneral(value.X, ValueDigits, decimal);
    return u'(' + FormatGeneral(value.X, ValueDigits, decimal) + Separators.ListSepChar +
           FormatGeneral(value.Y, ValueDigits, decimal) + u')';
}

void DrawValueInImage(const TValue& value, TBitmap& image, int fontSize, const TDrawContext& context)
{
    const QString text = ValueText(value);
    CurrentCalculatorResultField().ShowResultText(text);

    // The word is shown as it is, not scanned as a product of letters.
    if (!value.Defined) {
        DrawExpressionInImage(image, fontSize, QChar(TokenCodes.Error) + text, false, true, context);
        return;
    }
    QString formula = text;
    ExponentsToPowers(formula);
    QString normalised;
    int caret = 0;
    TTokenString tokens;
    NormalizeExpressionText(formula, normalised, caret, tokens);
    DrawExpressionInImage(image, fontSize, tokens, false, true, context);
}
