#include "model/Windows1252.h"

#include <algorithm>
#include <array>

namespace {

// The characters of Windows-1252 at 0x80..0x9F; the rest is Latin-1.
constexpr std::array<char16_t, 32> Windows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t MinusSign = 0x2212;

char EncodedUnit(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    if (u == MinusSign)
        return '-';
    const auto at = std::find(Windows1252High.begin(), Windows1252High.end(), u);
    // The C1 controls there stand for nothing in text.
    if (at != Windows1252High.end() && u > 0x9F)
        return static_cast<char>(0x80 + (at - Windows1252High.begin()));
    return '?';
}

} // namespace

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? Windows1252High[u - 0x80] : char16_t(u));
    }
    return text;
}

QByteArray EncodeWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar c : text)
        *out++ = EncodedUnit(c.unicode());
    return bytes;
}
