#include "engine/Calculus.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/Tokenizer.h"
#include "model/DocumentState.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "render/markup/MarkupTranslate.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int DefaultFieldDigits = 5;

// Identifier letters and opening brackets: a coefficient before one of them
// drops a lone 1.
const QString IdentLetters = QStringLiteral("qwertyuiopasdfghjklzxcvbnmQWERTYUIOPASDFGHJKLZXCVBNM@({[");

// One field of the text: where it starts (its sign, for a coefficient),
// where it ends (after its "}", or the end of the text), and what is
// between its braces.
struct Field {
    qsizetype Start = 0;
    qsizetype End = 0;
    QChar Sign;
    QString Body;
};

// The next field opened by `opener` from `from`, or false.
bool FindField(const QString& text, QStringView opener, qsizetype from, bool signs, Field& field)
{
    const qsizetype at = text.indexOf(opener, from);
    if (at < 0)
        return false;
    field.Start = at;
    field.Sign = QChar();
    if (signs && at > from && (text[at - 1] == u'+' || text[at - 1] == u'-')) {
        field.Sign = text[at - 1];
        field.Start = at - 1;
    }
    const qsizetype bodyStart = at + opener.size();
    const qsizetype close = text.indexOf(u'}', bodyStart);
    const qsizetype bodyEnd = close < 0 ? text.size() : close;
    field.Body = text.mid(bodyStart, bodyEnd - bodyStart);
    field.End = close < 0 ? text.size() : close + 1;
    return true;
}

} // namespace

bool CompileFieldFormula(int compileMode, const QString& expression, TKavirofunction& record)
{
    record = BlankFunction;
    record.Text = expression.trimmed();
    record.Text.replace(QStringLiteral("sqrt"), QStringLiteral("Sqrt"));
    record.Text.replace(QStringLiteral("cbrt"), QStringLiteral("Cbrt"));
    TTokenString tokens;
    NormalizeExpression(record, tokens);
    record.NormText = tokens;
    return CompileFormula(record, compileMode, true).Valid() && !record.Code.isEmpty();
}

namespace {

TValue EvaluateField(int compileMode, const QString& expression)
{
    TKavirofunction record;
    if (!CompileFieldFormula(compileMode, expression, record))
        return ValueUndefined(KindReal);
    return EvaluateExpression(record, ValueReal(DocumentTables.Params[-1].Value));
}

QString Number(long double v, int digits)
{
    return FormatGeneral(v, digits, Separators.DecimalChar);
}

QString ValueNumber(const TValue& v, int digits)
{
    if (v.Kind != KindPair)
        return Number(v.X, digits);
    return u'(' + Number(v.X, digits) + Separators.ListSepChar + Number(v.Y, digits) + u')';
}

const QString FieldError = QStringLiteral(" error ");

QString ValueFieldText(const TValue& v, int digits)
{
    if (!v.Defined)
        return FieldError;
    return u'{' + ValueNumber(v, digits) + u'}';
}

// A signed coefficient: "+" or "-" outside the formula group, and a lone 1
// before an identifier written as the sign alone.
QString CoefficientText(TValue v, QChar sign, int digits, bool beforeIdentifier)
{
    if (!v.Defined)
        return FieldError;
    if (sign == u'-') {
        v.X = -v.X;
        v.Y = -v.Y;
    }
    if (v.Kind == KindPair)
        return u'{' + ValueNumber(v, digits) + u'}';
    QString number = Number(v.X, digits);
    QString prefix = QStringLiteral("+");
    if (number.startsWith(u'-')) {
        prefix = QStringLiteral("-");
        number.remove(0, 1);
    }
    if (beforeIdentifier && number == u"1")
        return prefix;
    return prefix + u'{' + number + u'}';
}

QString PolynomialText(const std::array<long double, 7>& c, int digits)
{
    QString out;
    for (int power = 6; power >= 0; --power) {
        if (c[power] == 0.0L)
            continue;
        QString term = Number(c[power], digits);
        if (power >= 1 && term == u"1")
            term.clear();
        else if (power >= 1 && term == u"-1")
            term = QStringLiteral("-");
        if (!term.startsWith(u'-'))
            term.prepend(u'+');
        if (power >= 2)
            term += QStringLiteral("x^") + QString::number(power);
        else if (power == 1)
            term += u'x';
        out += term;
    }
    if (out.startsWith(u'+'))
        out.remove(0, 1);
    if (out.isEmpty())
        out = QStringLiteral("0");
    return u'{' + out + u'}';
}

} // namespace

namespace {

// The digits of a field: the whole number after its last "|", else 5.
int FieldDigits(const QString& field, QString& expression)
{
    const qsizetype bar = field.lastIndexOf(u'|');
    if (bar < 0) {
        expression = field;
        return DefaultFieldDigits;
    }
    expression = field.left(bar);
    long double d = 0.0L;
    if (!ParseExtended(QStringView(field).mid(bar + 1), u'.', d) || d < 0.0L || d != std::trunc(d))
        return DefaultFieldDigits;
    return static_cast<int>(std::min(d, 100.0L)); // the printer takes at most 18 anyway
}

// Every field opened by `opener` replaced by what `expand` makes of it
// (given the field, its digits and its expression).
template <class Expand>
QString ExpandFields(const QString& text, QStringView opener, bool signs, Expand expand)
{
    QString out;
    qsizetype pos = 0;
    Field f;
    while (FindField(text, opener, pos, signs, f)) {
        QString expression;
        const int digits = FieldDigits(f.Body, expression);
        out += QStringView(text).mid(pos, f.Start - pos);
        out += expand(f, digits, expression);
        pos = f.End;
    }
    out += QStringView(text).mid(pos);
    return out;
}

} // namespace

QStringList FieldFormulas(const QString& text)
{
    QStringList formulas;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype value = text.indexOf(QStringLiteral("!{"), at);
        const qsizetype polynomial = text.indexOf(QStringLiteral("?{"), at);
        const qsizetype start = value < 0 ? polynomial : polynomial < 0 ? value : std::min(value, polynomial);
        if (start < 0)
            break;
        Field f;
        FindField(text, QStringView(text).mid(start, 2), start, false, f);
        QString expression;
        FieldDigits(f.Body, expression);
        formulas.append(expression);
        at = f.End;
    }
    return formulas;
}

QString ExpandValueFields(int compileMode, const QString& text)
{
    return ExpandFields(text, u"!{", true, [&](const Field& f, int digits, const QString& expression) {
        const TValue v = EvaluateField(compileMode, expression);
        if (f.Sign.isNull())
            return ValueFieldText(v, digits);
        const bool beforeIdentifier = f.End < text.size() && IdentLetters.contains(text[f.End]);
        return CoefficientText(v, f.Sign, digits, beforeIdentifier);
    });
}

QString ExpandPolynomialFields(int compileMode, const QString& text)
{
    return ExpandFields(text, u"?{", false, [&](const Field&, int digits, const QString& expression) {
        TKavirofunction record;
        std::array<long double, 7> c{};
        if (CompileFieldFormula(compileMode, expression, record) && FitCoefficients(ViewOf(record), c, DocumentEvalEnv))
            return PolynomialText(c, digits);
        return QString();
    });
}
