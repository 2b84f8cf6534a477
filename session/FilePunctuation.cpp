#include "session/FilePunctuation.h"

#include "model/NumberText.h"
#include "model/Options.h"
#include "model/StringUtils.h"

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Converts text[first .. last) in place.
void ConvertRange(QString& text, qsizetype first, qsizetype last, TPunctuation from, TPunctuation to)
{
    for (qsizetype i = first; i < last; ++i) {
        const QChar c = text[i];
        if (c == from.ListSep)
            text[i] = to.ListSep;
        else if (c == from.Decimal && (from.Decimal != u'.' || (i + 1 < text.size() && IsDigit(text[i + 1]))))
            text[i] = to.Decimal;
    }
}

} // namespace

TPunctuation DocumentPunctuation()
{
    if (Separators.DecimalChar == u'.')
        return FilePunctuation;
    return {Separators.DecimalChar, Separators.ListSepChar};
}

TPunctuation PunctuationOfText(const QString& secondLine)
{
    if (secondLine.contains(u','))
        return {u',', u';'};
    return FilePunctuation;
}

QString ConvertFormulaText(const QString& text, TPunctuation from, TPunctuation to)
{
    if (from == to)
        return text;
    QString result = text;
    ConvertRange(result, 0, result.size(), from, to);
    return result;
}

QString ConvertMarkupText(const QString& text, TPunctuation from, TPunctuation to)
{
    if (from == to || !text.contains(u'{'))
        return text;
    QString result = text;
    int depth = 0;
    qsizetype groupStart = 0;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i] == u'{') {
            if (depth++ == 0)
                groupStart = i + 1;
        } else if (result[i] == u'}' && depth > 0) {
            if (--depth == 0)
                ConvertRange(result, groupStart, i, from, to);
        }
    }
    if (depth > 0) // a group left open runs to the end, as the fields do
        ConvertRange(result, groupStart, result.size(), from, to);
    return result;
}

QString ConvertNoteLine(const QString& line, TPunctuation from, TPunctuation to)
{
    if (StartsWithHash(line))
        return ConvertFormulaText(line, from, to);
    return ConvertMarkupText(line, from, to);
}

QString ConvertCellText(const QString& text, TPunctuation from, TPunctuation to)
{
    long double value = 0.0L;
    if (from == to || !ParseExtended(text, from.Decimal, value))
        return text;
    return ConvertFormulaText(text, from, to);
}
