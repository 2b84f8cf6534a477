#pragma once

// Qt strings in tests: readable failure messages, and line lists written
// as literals.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <initializer_list>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(QChar c, std::ostream* os)
{
    *os << "U+" << std::hex << static_cast<unsigned>(c.unicode()) << std::dec;
}

inline void PrintTo(const QStringList& lines, std::ostream* os)
{
    *os << '[';
    for (const QString& line : lines)
        *os << '"' << line.toStdString() << "\" ";
    *os << ']';
}

// A list of lines from UTF-16 literals.
inline QStringList Lines(std::initializer_list<const char16_t*> lines)
{
    QStringList list;
    for (const char16_t* line : lines)
        list.append(QString::fromUtf16(line));
    return list;
}
