#include "model/NumberText.h"

#include "model/MessageBox.h"
#include "model/Numeric.h"
#include "model/Options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

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

// Natural numbers of any size as little-endian 32-bit limbs: just enough to
// compare a decimal text with a binary value exactly.
using BigNatural = std::vector<std::uint32_t>;

void MultiplyAdd(BigNatural& n, std::uint32_t factor, std::uint32_t addend)
{
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : n) {
        const std::uint64_t t = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    if (carry)
        n.push_back(static_cast<std::uint32_t>(carry));
}

void MultiplyByPowerOfTen(BigNatural& n, int exponent)
{
    for (; exponent >= 9; exponent -= 9)
        MultiplyAdd(n, 1000000000u, 0);
    for (; exponent > 0; --exponent)
        MultiplyAdd(n, 10u, 0);
}

void MultiplyByPowerOfTwo(BigNatural& n, int exponent)
{
    n.insert(n.begin(), static_cast<std::size_t>(exponent / 32), 0u);
    for (int bits = exponent % 32; bits > 0; bits -= std::min(bits, 16))
        MultiplyAdd(n, 1u << std::min(bits, 16), 0);
}

BigNatural BigOf(std::uint64_t v)
{
    return {static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
}

int Compare(BigNatural a, BigNatural b)
{
    while (!a.empty() && a.back() == 0)
        a.pop_back();
    while (!b.empty() && b.back() == 0)
        b.pop_back();
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

// The shortest texts are laid out as the documents' general format is.
constexpr int ShortestFixedDigits = 15;

// Subnormal extended values are k · 2^-16445 for a whole k below 2^63.
constexpr int SubnormalShift = 16445;

// A plain decimal text ("d.ddde-n") whose value lies below the normal range,
// rounded to the nearest subnormal value (halves to even): from_chars
// refuses these as out of range. The estimate from a rescaled reading is
// corrected against the exact text, compared in big integers.
long double ReadSubnormal(const std::string& text)
{
    const auto e = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, e);
    long long exp10 = 0;
    const auto [end, ec] = std::from_chars(text.data() + e + 1, text.data() + text.size(), exp10);
    const bool negative = !mantissa.empty() && mantissa[0] == '-';
    if (ec != std::errc{} || exp10 < -100000) // far below any subnormal value
        return negative ? -0.0L : 0.0L;
    // value = digits · 10^-scale
    std::string digits;
    long long scale = -exp10;
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            digits.push_back(c);
            scale += afterPoint ? 1 : 0;
        }
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    // Below 1E-4951, under half the smallest subnormal value (3.6E-4951): zero.
    if (static_cast<long long>(digits.size()) - scale <= -4951)
        return negative ? -0.0L : 0.0L;
    // Estimate: the text 100 decades larger, scaled back down.
    long double estimate = 0.0L;
    const std::string shifted = mantissa + "e" + std::to_string(exp10 + 100);
    std::from_chars(shifted.data(), shifted.data() + shifted.size(), estimate);
    estimate = std::fabs(estimate) * 1E-100L;
    std::uint64_t k = static_cast<std::uint64_t>(std::ldexp(estimate, SubnormalShift));
    // The text against the midpoints (2k ± 1) / 2 · 2^-16445, all times 2^16446 · 10^scale.
    BigNatural value;
    for (char c : digits)
        MultiplyAdd(value, 10u, static_cast<std::uint32_t>(c - '0'));
    MultiplyByPowerOfTwo(value, SubnormalShift + 1);
    const auto midpoint = [scale](std::uint64_t odd) {
        BigNatural m = BigOf(odd);
        MultiplyByPowerOfTen(m, static_cast<int>(scale));
        return m;
    };
    constexpr std::uint64_t Limit = std::uint64_t{1} << 63;
    for (int step = 0; step < 4; ++step) {
        const int above = Compare(value, midpoint(2 * k + 1));
        if (above > 0 || (above == 0 && k % 2 == 1)) {
            if (k == Limit)
                break;
            ++k;
            continue;
        }
        if (k > 0) {
            const int below = Compare(value, midpoint(2 * k - 1));
            if (below < 0 || (below == 0 && k % 2 == 1)) {
                --k;
                continue;
            }
        }
        break;
    }
    const long double v = std::ldexp(static_cast<long double>(k), -SubnormalShift);
    return negative ? -v : v;
}

// True when the text, rounded up from a value near the largest extended
// value, lies beyond it and would read as no number.
bool PassesLargestValue(const std::string& sci)
{
    long double v = 0.0L;
    return std::from_chars(sci.data(), sci.data() + sci.size(), v).ec == std::errc::result_out_of_range;
}

// The value in scientific notation with `precision` digits cut, not rounded:
// never above the value, so it reads back.
std::string CutScientific(long double magnitude, int precision)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 24);
    const std::string wide(buf, res.ptr);
    const auto e = wide.find('e');
    // "d." and then precision - 1 decimals
    return wide.substr(0, std::min<std::size_t>(e, precision == 1 ? 1 : precision + 1)) + wide.substr(e);
}

// Significant digits and a decimal exponent, laid out in the general format:
// fixed-point while at most `fixedDigits` digits stand before the point and
// the number is at least 1E-5 in size, else scientific.
QString LayOutGeneral(bool negative, std::string digits, int exp10, int fixedDigits, QChar decimal)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    // pointPos: digits before the decimal point when written in fixed point.
    const int pointPos = exp10 + 1;
    QString out;
    if (negative)
        out += u'-';
    if (pointPos > fixedDigits || pointPos < -4) {
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

// "d.ddde±x" split into its digits and exponent, then laid out.
QString LayOutScientific(bool negative, const std::string& sci, int fixedDigits, QChar decimal)
{
    const auto ePos = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    }
    int exp10 = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exp10);
    return LayOutGeneral(negative, digits, exp10, fixedDigits, decimal);
}

QString NonFiniteText(long double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
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
        v = ReadSubnormal(std::string(first, last));
    } else if (ec != std::errc{}) {
        return false;
    }
    value = v;
    return true;
}

QString FormatGeneral(long double value, int precision, QChar decimal)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (value == 0.0L)
        return QStringLiteral("0");
    precision = std::clamp(precision, 1, 18);

    const long double magnitude = std::fabs(value);
    // Whole numbers that fit the precision print as they are (the common
    // case of counts and table headers, without the general layout).
    if (magnitude < 1E15L && value == std::trunc(value)) {
        const auto n = static_cast<std::int64_t>(value);
        const QString digits = QString::number(n);
        if (digits.size() - (n < 0 ? 1 : 0) <= precision)
            return digits;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    std::string sci(buf, res.ptr);
    // Rounding up may pass the largest value; a tiny value rounds to a text
    // that reads back as it is (below the normal range too).
    if (magnitude > 1.0L && PassesLargestValue(sci))
        sci = CutScientific(magnitude, precision);
    return LayOutScientific(value < 0, sci, precision, decimal);
}

QString FormatShortest(long double value, QChar decimal)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (value == 0.0L)
        return QStringLiteral("0");
    char buf[64];
    // Without a precision to_chars gives the fewest digits that read back.
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    return LayOutScientific(value < 0, std::string(buf, res.ptr), ShortestFixedDigits, decimal);
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
