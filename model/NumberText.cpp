#include "model/NumberText.h"

#include "model/MessageBox.h"
#include "model/Numeric.h"
#include "model/Options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

bool IsNumberChar(QChar c, QChar decimal)
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'e' || c == u'E' || c == decimal;
}

// Returns true when the exponent of a plain number text is negative, which is
// how an out-of-range reading is told apart as an underflow.
bool HasNegativeExponent(const std::string& s)
{
    const auto e = s.find_first_of("eE");
    return e != std::string::npos && e + 1 < s.size() && s[e + 1] == '-';
}

} // namespace

bool ParseExtended(QStringView text, QChar decimal, long double& value)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    std::string ascii;
    ascii.reserve(trimmed.size());
    for (QChar c : trimmed) {
        if (!IsNumberChar(c, decimal))
            return false;
        ascii.push_back(c == decimal ? '.' : static_cast<char>(c.unicode()));
    }
    // from_chars takes no leading '+'; a sign must be followed by the number itself.
    std::size_t start = 0;
    if (ascii[0] == '+') {
        start = 1;
        if (ascii.size() == 1 || ascii[1] == '-' || ascii[1] == '+')
            return false;
    }
    const char* first = ascii.data() + start;
    const char* last = ascii.data() + ascii.size();
    long double v = 0.0L;
    const auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ptr != last)
        return false;
    if (ec == std::errc::result_out_of_range) {
        if (!HasNegativeExponent(ascii))
            return false;
        v = 0.0L;
    } else if (ec != std::errc{}) {
        return false;
    }
    value = v;
    return true;
}

QString FormatGeneral(long double value, int precision, QChar decimal)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0L)
        return QStringLiteral("0");
    precision = std::clamp(precision, 1, 18);

    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, precision - 1);
    const std::string sci(buf, res.ptr);
    const auto ePos = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    }
    const int exp10 = std::stoi(sci.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // pointPos: digits before the decimal point when written in fixed point.
    const int pointPos = exp10 + 1;
    QString out;
    if (value < 0)
        out += u'-';
    if (pointPos > precision || pointPos < -4) {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += decimal;
            out += QString::fromLatin1(digits.substr(1));
        }
        out += u'E';
        if (exp10 < 0)
            out += u'-';
        out += QString::number(std::abs(exp10));
    } else if (pointPos <= 0) {
        out += u'0';
        out += decimal;
        out += QString(-pointPos, u'0');
        out += QString::fromLatin1(digits);
    } else {
        const int n = static_cast<int>(digits.size());
        out += QString::fromLatin1(digits.substr(0, std::min(n, pointPos)));
        if (n < pointPos)
            out += QString(pointPos - n, u'0');
        if (n > pointPos) {
            out += decimal;
            out += QString::fromLatin1(digits.substr(pointPos));
        }
    }
    return out;
}

QString FormatFixed(long double value, int precision, int digits, QChar decimal)
{
    if (!std::isfinite(value))
        return FormatGeneral(value, precision, decimal);
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    const long double magnitude = std::fabs(value);
    int kept = digits;
    if (magnitude != 0.0L) {
        char buf[64];
        const auto sci = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
        const std::string text(buf, sci.ptr);
        const int before = std::stoi(text.substr(text.find('e') + 1)) + 1; // digits before the point
        if (before > precision)
            return FormatGeneral(value, precision, decimal);
        kept = std::min(digits, precision - before);
    }
    // Rounded at the last significant digit (or decimal) kept; the decimals
    // beyond it are zeros.
    char buf[128];
    const auto fixed = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, kept);
    std::string text(buf, fixed.ptr);
    if (digits > kept)
        text += (kept == 0 ? std::string(".") : std::string()) + std::string(digits - kept, '0');
    QString out;
    if (value < 0.0L && text.find_first_of("123456789") != std::string::npos)
        out += u'-';
    for (char c : text)
        out += c == '.' ? decimal : QChar(QLatin1Char(c));
    return out;
}

long double StrToExtendedChecked(const QString& text, int& errorFlag)
{
    long double v = 0.0L;
    if (!ParseExtended(text, Separators.DecimalChar, v)) {
        errorFlag = 1;
        return 0.0L;
    }
    errorFlag = 0;
    return v;
}

bool StrToIntChecked(QString& text, int& n)
{
    long double v = 0.0L;
    if (ParseExtended(text, Separators.DecimalChar, v)) {
        const long double r = std::nearbyintl(v);
        if (FitsInt(r)) {
            n = static_cast<int>(r);
            return true;
        }
    }
    text = FormatGeneral(n, 6, Separators.DecimalChar);
    ShowInvalidNumberMessage();
    return false;
}

void ShowInvalidNumberMessage()
{
    ShowMsgBox(QStringLiteral("Tipo numérico inválido"), MsgError, MsgOk);
}
