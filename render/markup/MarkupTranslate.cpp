#include "render/markup/MarkupTranslate.h"

#include <QHash>

#include <cctype>

namespace {

struct ColorWord {
    const char16_t* Name;
    const char16_t* Digits;
};

constexpr ColorWord ColorWords[] = {
    {u"RED", u"FF0000"},  {u"Blue", u"0000FF"}, {u"Black", u"000000"}, {u"Green", u"00C000"},
    {u"Purple", u"D000D0"}, {u"Syan", u"00C0C0"}, {u"Gray", u"808080"},
};

QString Control(char16_t c)
{
    return QString(QChar(c));
}

// The tags by their lower-case names (without the angle brackets).
const QHash<QString, QString>& Tags()
{
    using namespace MarkupControl;
    static const QHash<QString, QString> tags = [] {
        QHash<QString, QString> t = {
            {QStringLiteral("normal"), Control(Normal)},   {QStringLiteral("b"), Control(BoldOn)},
            {QStringLiteral("/b"), Control(BoldOff)},      {QStringLiteral("i"), Control(ItalicOn)},
            {QStringLiteral("/i"), Control(ItalicOff)},    {QStringLiteral("u"), Control(UnderlineOn)},
            {QStringLiteral("/u"), Control(UnderlineOff)}, {QStringLiteral("/color"), Control(BaseColor)},
            {QStringLiteral("l"), Control(Large)},         {QStringLiteral("s"), Control(Small)},
            {QStringLiteral("/l"), Control(BaseSize)},     {QStringLiteral("/s"), Control(BaseSize)},
            {QStringLiteral("/sub"), Control(BaseSize)},   {QStringLiteral("/sup"), Control(BaseSize)},
            {QStringLiteral("v"), Control(VectorOn)},      {QStringLiteral("/v"), Control(VectorOff)},
            {QStringLiteral("sub"), Control(Subscript)},   {QStringLiteral("sup"), Control(Superscript)},
            {QStringLiteral("symbol"), Control(SymbolOn)}, {QStringLiteral("/symbol"), Control(SymbolOff)},
            {QStringLiteral("frac"), Control(Fraction)},   {QStringLiteral("/frac"), QStringLiteral("}")},
        };
        for (const ColorWord& w : ColorWords) {
            const QString name = QString::fromUtf16(w.Name).toLower();
            t.insert(u'/' + name, Control(BaseColor));
            t.insert(name, Control(Color) + QString::fromUtf16(w.Digits));
        }
        return t;
    }();
    return tags;
}

// Every "<tag>" of the table, ignoring letter case, in one pass: no
// replacement holds a "<", so the order of the table does not matter.
void ReplaceTags(QString& text)
{
    if (!text.contains(u'<'))
        return;
    constexpr qsizetype LongestTag = 8; // "/Symbol", "/Purple"
    const QHash<QString, QString>& tags = Tags();
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'<', i);
        if (open < 0)
            break;
        out += QStringView(text).mid(i, open - i);
        const qsizetype close = text.indexOf(u'>', open + 1);
        if (close > open && close - open - 1 <= LongestTag) {
            const auto tag = tags.constFind(text.mid(open + 1, close - open - 1).toLower());
            if (tag != tags.cend()) {
                out += *tag;
                i = close + 1;
                continue;
            }
        }
        out += u'<';
        i = open + 1;
    }
    out += QStringView(text).mid(i);
    text = out;
}

bool IsHexColor(const QString& value)
{
    if (value.size() != 6)
        return false;
    for (const QChar c : value) {
        if (!isxdigit(static_cast<unsigned char>(c.toLatin1())) || c.unicode() > 0x7F)
            return false;
    }
    return true;
}

// "<Color=#rrggbb>": one without its ">" ends the replacement and stays.
void ReplaceColorTags(QString& text)
{
    static const QString opener = QStringLiteral("<Color=#");
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(opener, from, Qt::CaseInsensitive);
        if (at < 0)
            return;
        const qsizetype close = text.indexOf(u'>', at);
        if (close < 0)
            return;
        const qsizetype digits = at + opener.size();
        const QString value = text.mid(digits, close - digits);
        // Anything but six hexadecimal digits would take the text after the
        // tag for the colour: such a tag stays as text.
        if (!IsHexColor(value)) {
            from = close + 1;
            continue;
        }
        text.replace(at, close + 1 - at, Control(MarkupControl::Color) + value);
        from = at + 1;
    }
}

// "v{…}": the arrow runs to the first "}" or to the end of the text.
void ReplaceVectorGroups(QString& text)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(QStringLiteral("v{"), from);
        if (at < 0)
            return;
        text.replace(at, 2, Control(MarkupControl::VectorOn));
        const qsizetype close = text.indexOf(u'}', at + 1);
        if (close < 0)
            text += Control(MarkupControl::VectorOff);
        else
            text[close] = QChar(MarkupControl::VectorOff);
        from = at + 1;
    }
}

} // namespace

QString TranslateMarkup(int compileMode, const QString& text)
{
    QString out = text;
    if (out.contains(QStringLiteral("!{")))
        out = ExpandValueFields(compileMode, out);
    if (out.contains(QStringLiteral("?{")))
        out = ExpandPolynomialFields(compileMode, out);
    out.replace(QStringLiteral("~f{"), Control(MarkupControl::Fraction));
    ReplaceTags(out);
    ReplaceColorTags(out);
    ReplaceVectorGroups(out);
    return out;
}
