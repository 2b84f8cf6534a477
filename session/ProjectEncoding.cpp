#include "session/ProjectEncoding.h"

#include "model/Windows1252.h"

#include <QStringDecoder>

namespace {

const QString FormatName = QStringLiteral("Kaviro/win");

TDecodedText SplitLines(const QString& text, TFileKind kind)
{
    TDecodedText decoded;
    decoded.Kind = kind;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        decoded.Lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    decoded.LastLineEnded = start == n;
    if (start < n)
        decoded.Lines.append(text.sliced(start));
    return decoded;
}


} // namespace

TDecodedText DecodeProjectBytes(const QByteArray& bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE"))
        view = view.sliced(2);
    // A last odd byte is half a character of a cut file.
    QString utf16(view.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < utf16.size(); ++i)
        utf16[i] = QChar(char16_t(static_cast<unsigned char>(view[2 * i]) | static_cast<unsigned char>(view[2 * i + 1]) << 8));
    if (utf16.startsWith(FormatName))
        return SplitLines(utf16, TFileKind::Utf16LE);

    QByteArrayView eight(bytes);
    if (eight.startsWith("\xEF\xBB\xBF"))
        eight = eight.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(eight);
    if (!utf8.hasError())
        return SplitLines(text, TFileKind::Utf8);
    return SplitLines(DecodeWindows1252(eight), TFileKind::Windows1252);
}

QByteArray EncodeProjectLines(const QStringList& lines)
{
    QString text;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + 2 * text.size());
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

bool IsPlainText(const QStringList& lines)
{
    for (const QString& line : lines)
        if (line.contains(QChar(u'\0')))
            return false;
    return true;
}

bool IsTextBytes(const QByteArray& bytes)
{
    return !bytes.isEmpty() && (bytes.startsWith("\xFF\xFE") || !bytes.contains('\0'));
}
