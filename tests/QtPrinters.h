#pragma once

// Lets GoogleTest print Qt strings readably in failure messages.
#include <QString>
#include <QStringView>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(QChar c, std::ostream* os)
{
    *os << "U+" << std::hex << static_cast<unsigned>(c.unicode()) << std::dec;
}
