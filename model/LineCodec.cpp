#include "model/LineCodec.h"

#include "model/NumberText.h"
#include "model/Options.h"

#include <charconv>
#include <string>

TstringData ProjectData;

namespace {

constexpr int FloatDigits = 15;
const QString SeparatorPrefix = QStringLiteral("--------");

bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString TrimBlanks(QStringView s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && IsBlank(s[first]))
        ++first;
    while (last > first && IsBlank(s[last - 1]))
        --last;
    return s.sliced(first, last - first).toString();
}

// A decimal integer of the int range with an optional sign.
bool ParseInt(const QString& token, int& value)
{
    std::string ascii;
    ascii.reserve(token.size());
    for (QChar c : token) {
        if (c.unicode() > 0x7F)
            return false;
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    int v = 0;
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (first == last || ec != std::errc{} || ptr != last)
        return false;
    value = v;
    return true;
}

// The part of a line before its first tab, as it stands.
QStringView TextBeforeTab(const QString& line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QStringView(line) : QStringView(line).first(tab);
}

} // namespace

void TstringData::Assign(const QStringList& lines)
{
    lines_ = lines;
    current_ = 0;
}

void TstringData::Clear()
{
    lines_.clear();
    current_ = 0;
    Line.clear();
}

void TstringData::AppendField(QChar separator, const QString& s)
{
    if (!Line.isEmpty())
        Line += separator;
    Line += s;
}

void TstringData::AddField(const QString& s)
{
    AppendField(u' ', s);
}

void TstringData::AddTabField(const QString& s)
{
    AppendField(u'\t', s);
}

void TstringData::AddInt(int i)
{
    AddField(QString::number(i));
}

void TstringData::AddFloat(long double x)
{
    AddFloat(x, Separators.DecimalChar);
}

void TstringData::AddFloat(long double x, QChar decimal)
{
    AddField(FormatGeneral(x, FloatDigits, decimal));
}

void TstringData::AddExactFloat(long double x, QChar decimal)
{
    AddField(FormatShortest(x, decimal));
}

void TstringData::AddBool(bool b)
{
    AddField(b ? QStringLiteral("1") : QStringLiteral("0"));
}

void TstringData::EndLine()
{
    lines_.append(Line);
    Line.clear();
}

void TstringData::WriteInt(int i)
{
    AddInt(i);
    EndLine();
}

void TstringData::WriteFloat(long double x)
{
    AddFloat(x);
    EndLine();
}

void TstringData::WriteBool(bool b)
{
    AddBool(b);
    EndLine();
}

void TstringData::WriteStr(const QString& s)
{
    AddField(s);
    EndLine();
}

void TstringData::WriteFunction(const TKavirofunction& f)
{
    WriteStr(EncodeSpecialChars(f.Text));
}

void TstringData::LoadLine()
{
    Line = current_ < lines_.size() ? lines_.at(current_) : QString();
}

void TstringData::NextLine()
{
    if (current_ < lines_.size())
        ++current_;
    LoadLine();
}

QString TstringData::NextToken()
{
    qsizetype start = 0;
    while (start < Line.size() && IsBlank(Line[start]))
        ++start;
    const qsizetype blank = Line.indexOf(u' ', start);
    QString token;
    if (blank < 0) {
        token = Line.sliced(start);
        Line.clear();
    } else {
        token = Line.sliced(start, blank - start);
        Line.remove(0, blank + 1);
    }
    return token;
}

void TstringData::ReadInt(int& i)
{
    ParseInt(NextToken(), i);
}

void TstringData::ReadFloat(long double& x)
{
    ReadFloat(x, Separators.DecimalChar);
}

void TstringData::ReadFloat(long double& x, QChar decimal)
{
    ParseExtended(NextToken(), decimal, x);
}

void TstringData::ReadBool(bool& b)
{
    int value = b ? 1 : 0;
    ReadInt(value);
    b = value == 1;
}

void TstringData::ReadBool(std::uint8_t& b)
{
    bool flag = b != 0;
    ReadBool(flag);
    b = flag ? 1 : 0;
}

void TstringData::ReadByte(std::uint8_t& b)
{
    int value = b;
    ReadInt(value);
    if (value >= 0 && value <= 255)
        b = static_cast<std::uint8_t>(value);
}

void TstringData::ReadTabField(QString& s)
{
    const qsizetype tab = Line.indexOf(u'\t');
    if (tab < 0) {
        s = TrimBlanks(Line);
        Line.clear();
        return;
    }
    s = TrimBlanks(QStringView(Line).first(tab));
    Line.remove(0, tab + 1);
}

void TstringData::ReadChar(char16_t& c)
{
    if (Line.isEmpty())
        return;
    c = Line[0].unicode();
    Line.remove(0, 1);
}

void TstringData::ReadIntLn(int& i)
{
    ReadInt(i);
    NextLine();
}

void TstringData::ReadFloatLn(long double& x)
{
    ReadFloat(x);
    NextLine();
}

void TstringData::ReadBoolLn(bool& b)
{
    ReadBool(b);
    NextLine();
}

void TstringData::ReadBoolLn(std::uint8_t& b)
{
    ReadBool(b);
    NextLine();
}

void TstringData::ReadByteLn(std::uint8_t& b)
{
    ReadByte(b);
    NextLine();
}

void TstringData::ReadTabFieldLn(QString& s)
{
    ReadTabField(s);
    NextLine();
}

void TstringData::ReadCharLn(char16_t& c)
{
    ReadChar(c);
    NextLine();
}

void TstringData::SkipTo(const QString& caption)
{
    // The field is compared as it stands: " Point" is no "Point" caption.
    for (;;) {
        const bool found = TextBeforeTab(Line).startsWith(caption);
        NextLine();
        if (found || IsAtEnd())
            return;
    }
}

bool TstringData::IsSeparatorLine() const
{
    return Line.startsWith(SeparatorPrefix);
}

bool TstringData::IsAtEnd() const
{
    return lines_.size() - current_ < 2;
}

void TstringData::DelocalizeNumbers()
{
    const QChar decimal = Separators.DecimalChar;
    const QChar listSep = Separators.ListSepChar;
    if (decimal == u'.')
        return;
    for (qsizetype i = 1; i < lines_.size(); ++i) {
        QChar* c = lines_[i].data();
        const qsizetype n = lines_[i].size();
        for (qsizetype j = 0; j + 1 < n; ++j) {
            if (c[j] == decimal)
                c[j] = u'.';
            else if (c[j] == listSep)
                c[j] = u',';
        }
    }
}

void TstringData::LocalizeNumbers()
{
    constexpr qsizetype FirstConvertedLine = 4;
    const QChar decimal = Separators.DecimalChar;
    const QChar listSep = Separators.ListSepChar;
    if (decimal == u'.')
        return;
    // The number on line 1 shows whether the file was saved in file form.
    if (lines_.size() > 1 && lines_[1].contains(u','))
        return;
    for (qsizetype i = FirstConvertedLine; i < lines_.size(); ++i) {
        QChar* c = lines_[i].data();
        const qsizetype n = lines_[i].size();
        for (qsizetype j = 0; j + 1 < n; ++j) {
            if (c[j] == u',')
                c[j] = listSep;
            else if (c[j] == u'.' && IsDigit(c[j + 1]))
                c[j] = decimal;
        }
    }
}

QString EncodeSpecialChars(const QString& s)
{
    QString result = s;
    result.replace(QStringLiteral("·"), QStringLiteral("*"));
    result.replace(QStringLiteral("×"), QStringLiteral("&"));
    result.replace(QStringLiteral("°"), QStringLiteral("degree"));
    return result;
}
