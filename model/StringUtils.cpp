#include "model/StringUtils.h"

#include "model/Options.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr qsizetype MaxTextAfterLength = 10000;

// -1 when absent; an empty sub is found nowhere.
qsizetype IndexIgnoreCase(const QString& sub, const QString& s)
{
    return sub.isEmpty() ? -1 : s.indexOf(sub, 0, Qt::CaseInsensitive);
}

} // namespace

void DeleteFirstChar(QString& s)
{
    if (!s.isEmpty())
        s.remove(0, 1);
}

void DeleteLastChar(QString& s)
{
    s.chop(1);
}

QString ReplaceAll(const QString& oldText, const QString& newText, const QString& s)
{
    if (oldText.isEmpty())
        return s;
    QString result = s;
    return result.replace(oldText, newText);
}

QString TextBefore(const QString& sep, const QString& s)
{
    const qsizetype i = IndexIgnoreCase(sep, s);
    return i < 0 ? s : s.left(i);
}

QString TextAfter(const QString& sep, const QString& s)
{
    const qsizetype i = IndexIgnoreCase(sep, s);
    return i < 0 ? QString() : s.mid(i + sep.size(), MaxTextAfterLength);
}

int PosIgnoreCase(const QString& sub, const QString& s)
{
    return static_cast<int>(IndexIgnoreCase(sub, s) + 1);
}

void SplitAtListSeparator(const QString& s, QString& left, QString& right)
{
    const QString sep(Separators.ListSepChar);
    left = RemoveSpaces(TextBefore(sep, s));
    right = TextAfter(sep, s);
}

void SplitAtTab(const QString& s, QString& field, QString& rest)
{
    const QString tab(u'\t');
    field = TextBefore(tab, s).trimmed();
    rest = TextAfter(tab, s);
}

int CountChar(QChar c, const QString& s)
{
    return static_cast<int>(s.count(c));
}

bool ContainsAnyChar(const QString& s, QStringView chars)
{
    for (QChar c : s) {
        if (chars.contains(c))
            return true;
    }
    return false;
}

QString FullWidthSpaceToSpace(const QString& s)
{
    QString result = s;
    return result.replace(QChar(0x3000), u' ');
}

QString CommaToListSeparator(const QString& s)
{
    QString result = s;
    return result.replace(u',', Separators.ListSepChar);
}

QString RemoveSpaces(const QString& s)
{
    QString result = s;
    return result.remove(u' ');
}

QString LastCharStr(const QString& s)
{
    return s.right(1);
}

bool StartsWithHash(const QString& s)
{
    return s.startsWith(u'#');
}

QString ExpandLongPath(const QString& path)
{
    const QFileInfo info(path);
    if (!path.isEmpty() && info.exists())
        return QDir::cleanPath(info.absoluteFilePath());
    QString result = path;
    while (result.contains(QStringLiteral("/./")))
        result.replace(QStringLiteral("/./"), QStringLiteral("/"));
    if (result.size() > 1 && result.endsWith(u'/'))
        result.chop(1);
    return result;
}

QString RemoveFileExt(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || dot < name.lastIndexOf(u'/'))
        return name;
    return name.left(dot);
}
